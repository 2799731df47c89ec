// Fuzz target of the ASCII model import. The first input byte chooses
// resistivity or resistivity/IP models and the sounding's name (numbers among
// them, as they stand in the heading of an exported model file); the rest is
// the file, read with the default columns. An accepted model has layers
// within the limit, positive finite resistivities and parameters that match
// its counts; the sounding holding it saves as a native file, and a
// resistivity model whose values print exported as an ASCII model file and
// imported again has the same layers.

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <span>
#include <string_view>

#include "core/record/current_sounding.h"
#include "core/record/reader_limits.h"
#include "files/ascii_export.h"
#include "files/flat_ascii_import.h"
#include "fuzz/fuzz_checks.h"

namespace {

constexpr std::array<std::string_view, 4> kNames{"FUZZ", "12", "12 5", "-3.5E2 7"};

// Whether F13.1 prints the value as a number that reads back non-zero.
bool printable(float value) { return std::fabs(value) >= 0.05f && std::fabs(value) < 1.0e10f; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zeva;
  if (size < 1) return 0;
  const int npk = data[0] % 2 == 0 ? 1 : 2;
  files::ImportColumns columns;
  const std::string file = fuzz::writeInputFile(std::span(data + 1, size - 1), ".MDL");
  files::ImportedModel model;
  const files::Result read = files::readFlatAsciiModel(file, columns, npk, model);
  if (!read.ok) {
    fuzz::require(!read.messages.empty(), "a refused file says why");
    return 0;
  }
  const core::ModelHeader& h = model.header;
  fuzz::require(h.NLAYER >= 1 && h.NLAYER <= core::limits::kMaxLayers, "layers within the limit");
  fuzz::require(h.NPK == npk && h.NPAR == core::parameterCount(h.NLAYER, h.NPK) &&
                    model.PAR.size() == static_cast<std::size_t>(h.NPAR),
                "parameters match the counts");
  fuzz::requireFinite(model.PAR, "parameters finite");
  for (int layer = 0; layer < h.NLAYER; ++layer)
    fuzz::require(model.PAR[static_cast<std::size_t>(layer)] > 0.0f, "resistivities positive");

  core::CurrentSounding current;
  core::resetToDefault(current);
  core::Sounding& S = current.S;
  S.header.name.assign(kNames[(data[0] / 2) % kNames.size()]);
  S.model.NLAYER = h.NLAYER;
  S.model.NPK = h.NPK;
  S.model.depths = core::kFalse;
  fuzz::require(S.allocateModel(), "model allocated");
  S.M.PAR = model.PAR;
  fuzz::requireNativeRoundTrip(S);

  if (npk != 1 || !std::ranges::all_of(model.PAR, printable)) return 0;
  std::ofstream out(file, std::ios::trunc);
  fuzz::require(files::writeAsciiModel(out, S), "model exported");
  out.close();
  files::ImportedModel back;
  fuzz::require(files::readFlatAsciiModel(file, columns, npk, back).ok, "exported model imports");
  fuzz::require(back.header.NLAYER == h.NLAYER, "layers survive export and import");
  return 0;
}
