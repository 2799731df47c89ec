// Fuzz target of the EDI reader. A file that is accepted gives a
// magnetotelluric sounding with points, counts that match its arrays, finite
// values and positive frequencies, and the record saves as a native file.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "files/edi_reader.h"
#include "fuzz/fuzz_checks.h"
#include "ui/scripted_toolkit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zeva;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  core::Sounding s;
  ui::ScriptedToolkit toolkit;
  if (files::readEdi(in, "FUZZ", s, toolkit) != 0) {
    fuzz::require(!toolkit.messages.empty(), "a refused file says why");
    return 0;
  }
  fuzz::requireConsistent(s);
  fuzz::requireFiniteData(s);
  fuzz::require(s.header.NDATA > 0, "an accepted sounding has points");
  for (float f : s.data().TIME.column(0)) fuzz::require(f > 0.0f, "frequencies positive");
  fuzz::requireNativeRoundTrip(s);
  return 0;
}
