// zeva-cli import-dat FILE --type TYPE [column options] [--first-row R
// --last-row R] -o OUT.ZVR: import a flat ASCII column file of any data family
// with the column settings given as options, and write the sounding as a
// native file. Every default is in --help: the columns a family needs have
// the settings' defaults, the optional ones (MN, current, errors, coil
// geometry) are not in use unless given.

#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <string>

#include "cli/cli_context.h"
#include "cli/flat_ascii_importer.h"
#include "core/record/data_type.h"
#include "files/flat_ascii_import.h"

namespace zeva::cli {

namespace {

// The settings' column defaults with the optional columns not in use.
settings::ImportColumns commandLineColumns() {
  settings::ImportColumns c;
  c.mn = c.current = c.rhoError = c.phaseError = c.space = c.height = 0;
  return c;
}

struct DatOptions {
  std::string input, output, type;
  settings::ImportColumns columns = commandLineColumns();
  std::optional<int> firstRow, lastRow;
  bool voltageAndCurrent = false;
  std::string ipUnit = "(pfe)", timeUnit = "ms", voltageUnit = "(nV/A-m^2)";
  std::optional<float> fixedSpacing, fixedHeight;
  std::optional<int> mode;
  std::optional<int> ipColumn;
};

// The column options, their defaults those of the settings.
void addColumnOptions(CLI::App* command, DatOptions& o) {
  settings::ImportColumns& c = o.columns;
  command->add_option("--spacing-column", c.spacing, "AB/2 or spacing column")
      ->capture_default_str();
  command->add_option("--resistivity-column", c.resistivity, "resistivity (or voltage) column")
      ->capture_default_str();
  command->add_option("--mn-column", c.mn, "MN column of a Schlumberger file (0: none)")
      ->capture_default_str();
  command->add_option("--current-column", c.current, "current column with --voltage-current")
      ->capture_default_str();
  command->add_option("--ip-column", o.ipColumn,
                      "IP value column: imports resistivity and IP (default: none)");
  command->add_option("--frequency-column", c.frequency, "frequency column")->capture_default_str();
  command->add_option("--inphase-column", c.inPhase, "MaxMin in-phase column")
      ->capture_default_str();
  command->add_option("--quadrature-column", c.quadrature, "MaxMin quadrature column")
      ->capture_default_str();
  command->add_option("--space-column", c.space, "coil spacing column (0: fixed spacing)")
      ->capture_default_str();
  command->add_option("--height-column", c.height, "coil height column (0: fixed height)")
      ->capture_default_str();
  command->add_option("--voltage-column", c.voltage, "TEM voltage or EM conductivity column")
      ->capture_default_str();
  command->add_option("--phase-column", c.modelResist, "MT phase column")->capture_default_str();
  command->add_option("--rho-error-column", c.rhoError, "MT resistivity error column (0: none)")
      ->capture_default_str();
  command->add_option("--phase-error-column", c.phaseError, "MT phase error column (0: none)")
      ->capture_default_str();
  command->add_option("--time-column", c.time, "TEM time column")->capture_default_str();
  command->add_option("--first-row", o.firstRow, "first row to read (default: the first)");
  command->add_option("--last-row", o.lastRow, "last row to read (default: the last)");
}

// The options of the importer's own choices: units, fixed coil geometry, mode.
void addChoiceOptions(CLI::App* command, DatOptions& o) {
  command->add_flag("--voltage-current", o.voltageAndCurrent,
                    "the resistivity column holds voltages; resistivities follow from the current");
  command->add_option("--ip-unit", o.ipUnit, "IP unit: (pfe), (mSec) or (mRad)")
      ->capture_default_str();
  command->add_option("--time-unit", o.timeUnit, "TEM time unit: us, ms or s")
      ->check(CLI::IsMember({"us", "ms", "s"}))
      ->capture_default_str();
  command->add_option("--voltage-unit", o.voltageUnit, "TEM voltage unit text, e.g. (uV/Amp)")
      ->capture_default_str();
  command->add_option("--fixed-spacing", o.fixedSpacing,
                      "MaxMin or EM conductivity coil spacing when no column (default: 0)");
  command->add_option("--fixed-height", o.fixedHeight,
                      "MaxMin or EM conductivity coil height when no column (default: 0)");
  command->add_option("--mode", o.mode,
                      "MaxMin varying quantity or EM conductivity dipoles (default: 1 for MaxMin, "
                      "2 for EM conductivity)");
}

core::ImportChoices importChoicesOf(const DatOptions& o) {
  core::ImportChoices choices;
  choices.dataType = o.type;
  choices.voltageAndCurrent = o.voltageAndCurrent;
  choices.ipUnit = o.ipUnit;
  choices.temVoltageUnit = o.voltageUnit;
  choices.timeUnit = o.timeUnit == "us"  ? files::TemTimeUnit::Microseconds
                     : o.timeUnit == "s" ? files::TemTimeUnit::Seconds
                                         : files::TemTimeUnit::Milliseconds;
  choices.fixedSpacing = o.fixedSpacing;
  choices.fixedHeight = o.fixedHeight;
  choices.mode = o.mode;
  return choices;
}

void importDat(CliContext& context, const DatOptions& o) {
  const std::optional<files::FlatAsciiKind> kind =
      importerOf(core::DataTypeText(o.type), o.ipColumn.has_value());
  if (!kind) {
    context.fail("Unknown data type: " + o.type);
    return;
  }
  settings::ImportColumns columns = o.columns;
  if (o.ipColumn) columns.ipData = *o.ipColumn;
  columns.firstRow = o.firstRow.value_or(0);
  columns.lastRow = o.lastRow.value_or(0);
  context.program.settings().columns = columns;
  // The row bounds given (none when not given) are used: the questions
  // whether to use them are answered yes, and an answered question is
  // not shown.
  context.toolkit.confirm = true;
  context.toolkit.fileToOpen = o.input;
  if (!context.program.exchange().importFlatAsciiData(*kind, importChoicesOf(o))) {
    context.exitStatus = kFailed;
    return;
  }
  context.write(o.output);
}

}  // namespace

std::optional<files::FlatAsciiKind> importerOf(const core::DataTypeText& type, bool ip) {
  switch (core::familyOf(type)) {
    case core::Family::MaxMin:
      return files::FlatAsciiKind::MaxMin;
    case core::Family::EmConductivity:
      return files::FlatAsciiKind::EmConductivity;
    case core::Family::Magnetotelluric:
      return files::FlatAsciiKind::Magnetotelluric;
    case core::Family::TimeDomainEm:
      return files::FlatAsciiKind::Tem;
    case core::Family::DcResistivity:
      return ip ? files::FlatAsciiKind::ResistivityIp : files::FlatAsciiKind::Resistivity;
    case core::Family::Unknown:
      break;
  }
  return std::nullopt;
}

void addImportDatCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand("import-dat", "Import a flat ASCII column data file");
  auto o = std::make_shared<DatOptions>();
  command->add_option("input", o->input, "flat ASCII file")->required();
  command->add_option("--type", o->type, "data type, e.g. \"Schlumberger Array\"")->required();
  command->add_option("-o,--output", o->output, "native file to write")->required();
  addColumnOptions(command, *o);
  addChoiceOptions(command, *o);
  command->callback([&context, o] { importDat(context, *o); });
}

}  // namespace zeva::cli
