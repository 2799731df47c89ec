#pragma once
// Fixed-width, blank-padded texts without terminator, as the record headers and
// the native file hold them (names 24 characters, data types 20, units 10).
// Two texts are equal when they are equal after padding with blanks, so
// "Wenner Array" and "Wenner Array        " are the same data type.

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace zeva::core {

template <std::size_t N>
struct FixedText {
  std::array<char, N> chars;

  constexpr FixedText() { chars.fill(' '); }
  constexpr FixedText(std::string_view text) { assign(text); }  // NOLINT: texts convert freely

  // Copies at most N characters and pads the rest with blanks.
  constexpr void assign(std::string_view text) {
    chars.fill(' ');
    std::copy_n(text.begin(), std::min(text.size(), N), chars.begin());
  }

  // The whole padded text.
  std::string_view padded() const { return {chars.data(), N}; }

  // The text without its trailing blanks (and without anything after a NUL,
  // which some older writers left in place of blanks).
  std::string trimmed() const {
    std::string_view view = padded();
    view = view.substr(0, std::min(view.find('\0'), view.size()));
    const auto end = view.find_last_not_of(' ');
    return std::string(end == std::string_view::npos ? std::string_view{}
                                                     : view.substr(0, end + 1));
  }

  bool isBlank() const { return trimmed().empty(); }

  // Compares as padded texts; a longer text never equals.
  bool operator==(std::string_view other) const {
    if (other.size() > N) return false;
    return std::equal(other.begin(), other.end(), chars.begin()) &&
           std::all_of(chars.begin() + other.size(), chars.end(), [](char c) { return c == ' '; });
  }
  bool operator==(const FixedText& other) const { return chars == other.chars; }
};

}  // namespace zeva::core
