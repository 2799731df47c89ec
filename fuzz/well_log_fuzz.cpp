// Fuzz target of the well-log import: the first input byte sets the depth
// factor of 1000, the rest is the file, read with the default columns. An
// accepted log has as many depths as resistivities, within the point limit,
// all finite.

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/record/reader_limits.h"
#include "files/flat_ascii_import.h"
#include "fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zeva;
  if (size < 1) return 0;
  files::ImportColumns columns;
  columns.depthTimes1000 = data[0] % 2 == 1;
  const std::string file = fuzz::writeInputFile(std::span(data + 1, size - 1), ".LOG");
  files::WellLog log;
  const files::Result read = files::readWellLog(file, columns, log);
  if (!read.ok) {
    fuzz::require(!read.messages.empty(), "a refused file says why");
    return 0;
  }
  fuzz::require(log.depth.size() == log.resistivity.size(), "a resistivity per depth");
  fuzz::require(
      !log.depth.empty() && log.depth.size() <= static_cast<std::size_t>(core::limits::kMaxPoints),
      "points within the limit");
  fuzz::requireFinite(log.depth, "depths finite");
  fuzz::requireFinite(log.resistivity, "resistivities finite");
  return 0;
}
