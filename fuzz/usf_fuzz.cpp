// Fuzz target of the USF reader: the input is read as a USF file (its first
// sounding). A sounding that is accepted has a known data type, points, counts
// that match its arrays and only finite values; exported again as USF it
// reads back to the same data, and that export is a fixed point, so no
// number drifts over export and import cycles. It saves as a native file too.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "core/record/data_type.h"
#include "files/usf_reader.h"
#include "files/usf_writer.h"
#include "fuzz/fuzz_checks.h"

namespace {

using zeva::fuzz::require;

std::string exported(const zeva::core::Sounding& s) {
  std::ostringstream out;
  require(zeva::files::writeUsf(out, s), "USF written");
  return out.str();
}

zeva::core::Sounding reread(const std::string& text) {
  zeva::core::Sounding s;
  std::istringstream in(text);
  const zeva::files::Result read = zeva::files::readUsfSounding(in, 1, s);
  require(read.ok, "exported USF reads back");
  require(read.messages.empty(), "exported USF reads back without a message");
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zeva;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  core::Sounding s;
  const files::Result read = files::readUsfSounding(in, 1, s);
  if (!read.ok) {
    require(!read.messages.empty(), "a refused file says why");
    return 0;
  }
  fuzz::requireConsistent(s);
  fuzz::requireFiniteData(s);
  fuzz::requireMeaningfulReadings(s);
  require(core::findDataType(s.header.dataType) != nullptr, "data type known");
  require(s.header.NDATA > 0, "an accepted sounding has points");
  fuzz::requireNativeRoundTrip(s);
  if (!files::usfHoldsSounding(s)) return 0;

  const std::string first = exported(s);
  const core::Sounding again = reread(first);
  require(again.header.NDATA == s.header.NDATA, "points survive export and import");
  require(again.data().TIME.column(0).size() == s.data().TIME.column(0).size() &&
              std::equal(again.data().TIME.column(0).begin(), again.data().TIME.column(0).end(),
                         s.data().TIME.column(0).begin()),
          "abscissae survive export and import");
  require(again.data().VOLTS.column(0).size() == s.data().VOLTS.column(0).size() &&
              std::equal(again.data().VOLTS.column(0).begin(), again.data().VOLTS.column(0).end(),
                         s.data().VOLTS.column(0).begin()),
          "values survive export and import");
  require(exported(again) == first, "export is a fixed point of export and import");
  return 0;
}
