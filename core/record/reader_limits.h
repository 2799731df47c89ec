#pragma once
// What any reader of the program's files takes at most. A file beyond these
// limits is refused with a message naming what is too large; no real sounding
// comes near them, and they keep a damaged or hostile file from making a
// reader hold giant lines, allocate giant arrays or run for ever.
//
// Text lines: a reader keeps only the characters its format counts (USF and
// flat ASCII 256, a settings line 400) and skips the rest of a longer line; a
// line longer than kMaxLineBytes (kMaxEdiLineBytes for EDI) is an error naming
// the line, and in the settings file it loses that line's setting.
// Counts of the binary native file are bounded by the bytes the file holds
// (a count no file of that size could fill is refused) and by the same
// fixed limits.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>

namespace zeva::core::limits {

// The longest line a text reader reads through.
inline constexpr std::size_t kMaxLineBytes = 64 * 1024;
// The most readings (data points) of one sounding or well log.
inline constexpr std::int32_t kMaxPoints = 100000;
// The most layers of a layered model.
inline constexpr std::int32_t kMaxLayers = 1000;
// The most TEM sweeps (acquisition sets) of one sounding.
inline constexpr std::int32_t kMaxSweeps = 1000;

// EDI writers may put a whole block of values on one line, so an EDI line may
// be longer; the most values of one block (or section list) and of the file.
inline constexpr std::size_t kMaxEdiLineBytes = 4u << 20;
inline constexpr std::size_t kMaxEdiBlockValues = kMaxPoints;
inline constexpr std::size_t kMaxEdiFileValues = 4000000;

// Values are stored in single precision: a value computed from a file (in
// double precision, rounded once) is refused when it lies beyond that range.
inline std::optional<float> singlePrecision(double value) {
  if (!std::isfinite(value) ||
      std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max()))
    return std::nullopt;
  return static_cast<float>(value);
}

}  // namespace zeva::core::limits
