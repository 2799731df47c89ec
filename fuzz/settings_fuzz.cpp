// Fuzz target of the settings file reader. Whatever is read, the settings
// written afterwards read back to the same values: writing them again gives
// the same text.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz/fuzz_checks.h"
#include "settings/settings_file.h"

namespace {

std::string written(const zeva::settings::Settings& s) {
  std::ostringstream out;
  zeva::settings::writeSettings(out, s, s.lastFile);
  return out.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zeva;
  settings::Settings s;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  settings::readSettings(in, s);
  const std::string first = written(s);

  settings::Settings again;
  std::istringstream back(first);
  fuzz::require(settings::readSettings(back, again) == settings::ReadOutcome::Complete,
                "written settings read completely");
  fuzz::require(written(again) == first, "written settings read back to the same values");
  return 0;
}
