#include "files/text_fields.h"

#include <array>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zeva::files {

void blankUnprintable(std::string& line) {
  for (char& ch : line) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 32 || c == 127 || (c >= 169 && c <= 223) || c >= 253) ch = ' ';
  }
}

std::vector<std::string_view> splitWords(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t at = 0;
  while (at < text.size()) {
    at = text.find_first_not_of(' ', at);
    if (at == std::string_view::npos) break;
    const auto end = text.find(' ', at);
    const auto stop = end == std::string_view::npos ? text.size() : end;
    words.push_back(text.substr(at, stop - at));
    at = stop;
  }
  return words;
}

std::string_view trimmed(std::string_view text) {
  const auto start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) return {};
  const auto end = text.find_last_not_of(' ');
  return text.substr(start, end - start + 1);
}

std::string_view firstWordOf(std::string_view text) {
  const auto start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) return {};
  const auto end = text.find(' ', start);
  return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

namespace {

// Checks the shape of a Fortran real and returns it with a C exponent letter.
std::optional<std::string> realShape(std::string_view word) {
  if (word.empty() || word.size() > 30) return std::nullopt;
  std::string text(word);
  std::size_t i = 0;
  if (text[i] == '+' || text[i] == '-') ++i;
  bool digits = false;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, digits = true;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, digits = true;
  }
  if (!digits) return std::nullopt;
  if (i < text.size()) {
    char& e = text[i];
    if (e != 'E' && e != 'e' && e != 'D' && e != 'd') return std::nullopt;
    e = 'E';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    bool exponentDigits = false;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
      ++i, exponentDigits = true;
    if (!exponentDigits || i != text.size()) return std::nullopt;
  }
  return text;
}

}  // namespace

std::optional<double> parseDouble(std::string_view word) {
  const auto text = realShape(word);
  if (!text) return std::nullopt;
  const double value = std::strtod(text->c_str(), nullptr);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<float> parseReal(std::string_view word) {
  const auto value = parseDouble(word);
  if (!value || std::fabs(*value) > 3.4e38) return std::nullopt;
  return static_cast<float>(*value);
}

std::optional<int> parseInteger(std::string_view word) {
  if (word.empty() || word.size() > 30) return std::nullopt;
  std::size_t i = (word[0] == '+' || word[0] == '-') ? 1 : 0;
  if (i == word.size()) return std::nullopt;
  for (std::size_t k = i; k < word.size(); ++k)
    if (!std::isdigit(static_cast<unsigned char>(word[k]))) return std::nullopt;
  const std::string text(word);
  errno = 0;
  const long long value = std::strtoll(text.c_str(), nullptr, 10);
  if (errno == ERANGE || value < -2147483648LL || value > 2147483647LL) return std::nullopt;
  return static_cast<int>(value);
}

std::string integerField(long value, int width) {
  std::array<char, 64> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "%*ld", width, value);
  std::string text = buffer.data();
  if (static_cast<int>(text.size()) > width) text.assign(static_cast<std::size_t>(width), '*');
  return text;
}

std::string fixedField(double value, int width, int decimals) {
  std::array<char, 512> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "%*.*f", width, decimals, value);
  std::string text = buffer.data();
  if (static_cast<int>(text.size()) > width || !std::isfinite(value))
    text.assign(static_cast<std::size_t>(width), '*');
  return text;
}

std::string realText(float value) {
  std::array<char, 64> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "%.9G", static_cast<double>(value));
  return buffer.data();
}

}  // namespace zeva::files
