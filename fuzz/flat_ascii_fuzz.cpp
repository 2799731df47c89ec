// Fuzz target of the flat ASCII data importers. The first input byte chooses
// the importer, the data type and whether the file holds voltage and current,
// the second the TEM time unit; the rest is the file, read with the default
// column settings. An accepted import has points within the limit, counts
// that match its arrays and only finite values, and saves as a native file.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "core/record/reader_limits.h"
#include "files/flat_ascii_import.h"
#include "files/sounding_import.h"
#include "fuzz/fuzz_checks.h"

namespace {

struct Choice {
  zeva::files::FlatAsciiKind kind;
  std::string_view type;
};

constexpr std::array kChoices{
    Choice{zeva::files::FlatAsciiKind::Resistivity, "Schlumberger Array"},
    Choice{zeva::files::FlatAsciiKind::Resistivity, "Wenner Array"},
    Choice{zeva::files::FlatAsciiKind::Resistivity, "Dipole-Dipole Array"},
    Choice{zeva::files::FlatAsciiKind::ResistivityIp, "Schlumberger Array"},
    Choice{zeva::files::FlatAsciiKind::MaxMin, "Horizontal Coplanar"},
    Choice{zeva::files::FlatAsciiKind::EmConductivity, "EM Conductivity Data"},
    Choice{zeva::files::FlatAsciiKind::Magnetotelluric, "Magnetotelluric Data"},
    Choice{zeva::files::FlatAsciiKind::Tem, "Central Loop TEM"}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zeva;
  if (size < 2) return 0;
  const Choice& choice = kChoices[data[0] % kChoices.size()];
  files::FlatAsciiRequest request;
  request.kind = choice.kind;
  request.header = files::importedDataHeader(core::DataTypeText(choice.type));
  request.header.voltageAndCurrent = core::logical((data[0] / kChoices.size()) % 2 == 1);
  request.header.dipoleLength = 10.0f;
  request.timeUnit = static_cast<files::TemTimeUnit>(data[1] % 3);
  files::ImportColumns columns;
  const std::string file = fuzz::writeInputFile(std::span(data + 2, size - 2), ".DAT");

  core::Sounding s;
  const files::Result read = files::readFlatAsciiData(file, request, columns, s);
  if (!read.ok) {
    fuzz::require(!read.messages.empty(), "a refused file says why");
    return 0;
  }
  fuzz::requireConsistent(s);
  fuzz::requireFiniteData(s);
  fuzz::requireMeaningfulReadings(s);
  fuzz::require(s.header.NDATA > 0 && s.header.NDATA <= core::limits::kMaxPoints,
                "points within the limit");
  fuzz::requireNativeRoundTrip(s);
  return 0;
}
