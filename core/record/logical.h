#pragma once
// Logical words as the sounding record and its file store them: 32-bit, true
// is -1 and false 0, and a word is tested on its lowest bit only, so that any
// odd value read from an old file counts as true.

#include <cstdint>

namespace zeva::core {

using Logical = std::int32_t;

inline constexpr Logical kTrue = -1;
inline constexpr Logical kFalse = 0;

constexpr bool isSet(Logical word) { return (word & 1) != 0; }
constexpr Logical logical(bool value) { return value ? kTrue : kFalse; }

}  // namespace zeva::core
