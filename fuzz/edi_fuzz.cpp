// Fuzz target of the EDI reader. The input is read as an EDI file once for
// every curve of the impedance tensor. A file that is accepted gives a
// magnetotelluric sounding with points, counts that match its arrays, finite
// and meaningful values, and the record saves as a native file.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "files/edi_reader.h"
#include "fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zeva;
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (const files::EdiMode mode : {files::EdiMode::Auto, files::EdiMode::Xy, files::EdiMode::Yx,
                                    files::EdiMode::Determinant, files::EdiMode::SumOfSquares}) {
    std::istringstream in(text);
    core::Sounding s;
    const files::Result read = files::readEdi(in, "FUZZ", s, mode);
    if (!read.ok) {
      fuzz::require(!read.messages.empty(), "a refused file says why");
      continue;
    }
    fuzz::requireConsistent(s);
    fuzz::requireFiniteData(s);
    fuzz::requireMeaningfulReadings(s);
    fuzz::require(s.header.NDATA > 0, "an accepted sounding has points");
    for (float f : s.data().TIME.column(0)) fuzz::require(f > 0.0f, "frequencies positive");
    fuzz::requireNativeRoundTrip(s);
  }
  return 0;
}
