#pragma once
// File, Import and Export: USF, flat ASCII data of every family, SEG EDI,
// ASCII models, and the ASCII data, synthetics, model and equivalent-model
// exports. Each import asks to save, reads into a new record and replaces
// the data of the current sounding only when the reading succeeds.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/program/command_result.h"
#include "core/program/file_commands.h"
#include "core/program/program_state.h"
#include "core/program/usf_import.h"
#include "core/record/gaussian_deviate.h"

// The import kinds and the TEM time units of the flat ASCII importers
// (files/flat_ascii_import.h), which callers that name them include.
namespace zeva::files {
enum class FlatAsciiKind;
enum class TemTimeUnit;
}  // namespace zeva::files

namespace zeva::core {

// Choices of the import dialogs (data type, units, geometry) that a caller
// may give instead of having them asked.
struct ImportChoices {
  std::optional<std::string> dataType;
  std::optional<bool> voltageAndCurrent;
  std::optional<std::string> ipUnit;          // "(pfe)", "(mSec)" or "(mRad)"
  std::optional<std::string> temVoltageUnit;  // e.g. "(uV/Amp)"
  std::optional<files::TemTimeUnit> timeUnit;
  std::optional<float> fixedSpacing, fixedHeight;  // MaxMin coil geometry
  std::optional<int> mode;
  std::optional<float> dipoleLength;      // dipole arrays: the dipole length a
  std::optional<std::string> lengthUnit;  // "(meters)" or "(feet)"
};

// The import dialog of a family, shown after the question to save: it fills
// in the choices and returns false when the user cancels.
using ImportDialog = std::function<bool(files::FlatAsciiKind kind, ImportChoices& choices)>;

// Import formats that have no reader: their commands say so.
enum class UnsupportedImport { Emi, GeotoolsTbl, KovatTem };

class ExchangeCommands {
 public:
  ExchangeCommands(ProgramState& state, FileCommands& file) : state_(state), file_(file) {}

  CommandResult importUsfData();
  CommandResult importFlatAsciiData(files::FlatAsciiKind kind, const ImportChoices& choices = {},
                                    const ImportDialog& dialog = {});
  CommandResult importEdiData();
  CommandResult importUnsupported(UnsupportedImport format);  // Refused, after saying so
  CommandResult importAsciiModel();
  CommandResult exportAsciiData();
  CommandResult exportAsciiSynthetics();
  CommandResult exportSmoothSynthetics();
  CommandResult exportAsciiModel();
  CommandResult exportSmoothModel();
  CommandResult exportEquivalentModels();
  CommandResult exportUsfData();

 private:
  std::string exportName(std::string_view extension) const;

  ProgramState& state_;
  FileCommands& file_;
  UsfImportMemory usfMemory_;
  // The noise of the synthetics exports: a sequence of its own.
  GaussianDeviate exportNoise_;
};

}  // namespace zeva::core
