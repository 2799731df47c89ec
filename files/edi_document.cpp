#include "files/edi_document.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "files/text_fields.h"

namespace zeva::files {

namespace {

// Blocks, keywords and list words of one file together: each costs a little
// memory of its own, so a flood of tiny lines is refused like a flood of values.
constexpr std::size_t kEdiMaxEntries = 200000;

std::string upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

enum class LineRead { Line, TooLong, End };

// The next line, whole: a line longer than the limit is reported, not cut.
LineRead readWholeLine(std::streambuf& buffer, std::string& line) {
  line.clear();
  bool any = false;
  for (;;) {
    const int c = buffer.sbumpc();
    if (c == std::char_traits<char>::eof()) break;
    any = true;
    if (c == '\n') break;
    if (line.size() >= kEdiMaxLineLength) {
      if (c != '\r') return LineRead::TooLong;
      // a CR may still end the line
    }
    line.push_back(static_cast<char>(c));
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() > kEdiMaxLineLength) return LineRead::TooLong;
  return any ? LineRead::Line : LineRead::End;
}

// One word of a line: a "KEY=VALUE" pair, a "//n" count marker or a bare word.
struct Token {
  enum class Kind { Pair, Count, Word } kind;
  std::string_view key, value;
};

std::vector<Token> tokens(std::string_view text) {
  std::vector<Token> out;
  std::size_t at = 0;
  const auto skipBlanks = [&] {
    while (at < text.size() && text[at] == ' ') ++at;
  };
  const auto word = [&] {
    const std::size_t start = at;
    while (at < text.size() && text[at] != ' ' && text[at] != '=') ++at;
    return text.substr(start, at - start);
  };
  for (;;) {
    skipBlanks();
    if (at >= text.size()) break;
    if (text.substr(at, 2) == "//") {
      at += 2;
      skipBlanks();
      out.push_back({Token::Kind::Count, {}, word()});
      continue;
    }
    const std::string_view key = word();
    const std::size_t afterKey = at;
    skipBlanks();
    if (at < text.size() && text[at] == '=') {
      ++at;
      skipBlanks();
      std::string_view value;
      if (at < text.size() && text[at] == '"') {
        const std::size_t close = text.find('"', at + 1);
        const std::size_t end = close == std::string_view::npos ? text.size() : close;
        value = text.substr(at + 1, end - at - 1);
        at = close == std::string_view::npos ? text.size() : close + 1;
      } else {
        const std::size_t start = at;
        while (at < text.size() && text[at] != ' ') ++at;
        value = text.substr(start, at - start);
      }
      out.push_back({Token::Kind::Pair, key, trimmed(value)});
      continue;
    }
    at = afterKey;
    if (key.empty()) {  // a lone "=": nothing to name
      ++at;
      continue;
    }
    out.push_back({Token::Kind::Word, {}, key});
  }
  return out;
}

// A keyword line with a single "=" takes the rest of the line as its value,
// so that unquoted texts with blanks ("ACQBY=Survey Crew 2") stay whole.
std::optional<std::pair<std::string, std::string>> singleKeyword(std::string_view text) {
  const auto equals = text.find('=');
  if (equals == std::string_view::npos || text.find('=', equals + 1) != std::string_view::npos)
    return std::nullopt;
  std::string_view value = trimmed(text.substr(equals + 1));
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
    value = trimmed(value.substr(1, value.size() - 2));
  return std::make_pair(upper(trimmed(text.substr(0, equals))), std::string(value));
}

// A value word: a number, or NaN for the words that writers use for a value
// that is not one (NaN, INF, Infinity, any case and sign) and for numbers
// beyond the double range.
std::optional<double> valueWord(std::string_view word) {
  if (const auto value = parseDouble(word)) return value;
  std::string_view body = word;
  if (!body.empty() && (body.front() == '+' || body.front() == '-')) body.remove_prefix(1);
  const std::string lower = upper(body);
  if (lower.starts_with("NAN") || lower == "INF" || lower == "INFINITY")
    return std::numeric_limits<double>::quiet_NaN();
  // Number-shaped but out of range: strtod takes the whole word and overflows.
  if (word.size() <= 64) {
    const std::string text(word);
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() + text.size() && errno == ERANGE && std::isinf(value) &&
        text.find_first_of("xXpP") == std::string::npos)
      return std::numeric_limits<double>::quiet_NaN();
  }
  return std::nullopt;
}

class Parser {
 public:
  Parser(const std::string& fileName, EdiDocument& document)
      : fileName_(fileName), document_(document) {}

  std::optional<std::string> run(std::istream& in) {
    std::streambuf* buffer = in.rdbuf();
    if (buffer == nullptr) return notEdi();
    std::string line;
    for (int number = 1;; ++number) {
      const LineRead read = readWholeLine(*buffer, line);
      if (read == LineRead::End) break;
      if (read == LineRead::TooLong)
        return "EDI LINE " + std::to_string(number) + " IS LONGER THAN " +
               std::to_string(kEdiMaxLineLength) + " CHARACTERS: " + fileName_;
      blankUnprintable(line);
      const std::string_view text = trimmed(line);
      if (text.empty()) continue;
      std::optional<std::string> problem;
      if (text.front() == '>') {
        if (blockLine(text.substr(1), number, problem)) break;  // >END
      } else {
        if (!sawHead_) return notEdi();
        problem = contentLine(text, number);
      }
      if (problem) return problem;
    }
    if (!sawHead_) return notEdi();
    return std::nullopt;
  }

 private:
  enum class Context { None, Head, Info, Section, Block };

  std::string notEdi() const { return "FILE IS NOT AN EDI FILE: " + fileName_; }

  std::optional<std::string> counted(std::size_t more = 1) {
    entries_ += more;
    if (entries_ > kEdiMaxEntries) return "EDI FILE HAS TOO MANY ENTRIES: " + fileName_;
    return std::nullopt;
  }

  // Handles a line that starts with ">"; true at ">END".
  bool blockLine(std::string_view text, int number, std::optional<std::string>& problem) {
    if (!text.empty() && text.front() == '!') return false;  // ">!comment!"
    if (!text.empty() && text.front() == '=') {
      text = trimmed(text.substr(1));
      const std::string_view first = firstWordOf(text);
      EdiSection section;
      section.name = upper(first);
      section.line = number;
      document_.sections.push_back(std::move(section));
      context_ = Context::Section;
      listMode_ = false;
      problem = counted();
      if (!problem) problem = sectionWords(text.substr(first.size()));
      return false;
    }
    const std::string_view first = firstWordOf(text);
    const std::string name = upper(first);
    const std::string_view rest = trimmed(text).substr(first.size());
    if (name == "END") return true;
    if (name == "HEAD") {
      sawHead_ = true;
      context_ = Context::Head;
      problem = keywords(rest, document_.head);
      return false;
    }
    if (name == "INFO") {
      context_ = Context::Info;
      return false;
    }
    if ((problem = counted())) return false;
    EdiBlock block;
    block.name = name;
    block.section = document_.sections.empty() ? std::string() : document_.sections.back().name;
    block.line = number;
    document_.blocks.push_back(std::move(block));
    context_ = Context::Block;
    problem = blockWords(rest, number);
    return false;
  }

  std::optional<std::string> contentLine(std::string_view text, int number) {
    switch (context_) {
      case Context::Head:
        return keywords(text, document_.head);
      case Context::Section:
        return sectionWords(text);
      case Context::Block:
        return blockWords(text, number);
      case Context::None:
      case Context::Info:
        break;
    }
    return std::nullopt;
  }

  std::optional<std::string> keywords(std::string_view text, EdiKeywords& into) {
    text = trimmed(text);
    if (text.empty()) return std::nullopt;
    if (const auto single = singleKeyword(text)) {
      into[single->first] = single->second;
      return counted();
    }
    for (const Token& token : tokens(text))
      if (token.kind == Token::Kind::Pair) {
        into[upper(token.key)] = std::string(token.value);
        if (auto problem = counted()) return problem;
      }
    return std::nullopt;
  }

  // Keywords of a section, then after a "//n" line the section's list.
  std::optional<std::string> sectionWords(std::string_view text) {
    EdiSection& section = document_.sections.back();
    if (!listMode_ && text.find('=') != std::string_view::npos)
      return keywords(text, section.keywords);
    for (const Token& token : tokens(text)) {
      if (token.kind == Token::Kind::Count) {
        listMode_ = true;
      } else if (token.kind == Token::Kind::Pair) {
        section.keywords[upper(token.key)] = std::string(token.value);
      } else if (listMode_) {
        if (section.list.size() >= kEdiMaxBlockValues)
          return "EDI SECTION " + section.name + " HAS TOO MANY VALUES: " + fileName_;
        section.list.emplace_back(token.value);
      }
      if (auto problem = counted()) return problem;
    }
    return std::nullopt;
  }

  // Options (on the block's line or continued on the next lines), the
  // "//n" count and the values.
  std::optional<std::string> blockWords(std::string_view text, int number) {
    EdiBlock& block = document_.blocks.back();
    for (const Token& token : tokens(text)) {
      switch (token.kind) {
        case Token::Kind::Pair:
          block.options[upper(token.key)] = std::string(token.value);
          if (auto problem = counted()) return problem;
          break;
        case Token::Kind::Count:
          break;
        case Token::Kind::Word: {
          if (block.values.size() >= kEdiMaxBlockValues)
            return "EDI BLOCK " + block.name + " HAS TOO MANY VALUES: " + fileName_;
          if (++values_ > kEdiMaxFileValues) return "EDI FILE HAS TOO MANY VALUES: " + fileName_;
          const auto value = valueWord(token.value);
          if (!value && !block.badWord) block.badWord.emplace(number, std::string(token.value));
          block.values.push_back(value.value_or(std::numeric_limits<double>::quiet_NaN()));
          block.valueLines.push_back(number);
          break;
        }
      }
    }
    return std::nullopt;
  }

  const std::string& fileName_;
  EdiDocument& document_;
  Context context_ = Context::None;
  bool sawHead_ = false;
  bool listMode_ = false;
  std::size_t entries_ = 0, values_ = 0;
};

}  // namespace

const EdiBlock* EdiDocument::block(std::string_view name, std::string_view section) const {
  for (const EdiBlock& b : blocks)
    if (b.name == name && (section.empty() || b.section == section)) return &b;
  return nullptr;
}

const EdiSection* EdiDocument::sectionNamed(std::string_view name) const {
  for (const EdiSection& s : sections)
    if (s.name == name) return &s;
  return nullptr;
}

std::optional<std::string> parseEdi(std::istream& in, const std::string& fileName,
                                    EdiDocument& document) {
  document = EdiDocument{};
  return Parser(fileName, document).run(in);
}

bool ediMissing(double value, double empty) {
  if (!std::isfinite(value)) return true;
  if (value == empty) return true;
  if (std::fabs(empty) >= 1.0e30 && std::fabs(value) >= 0.999 * std::fabs(empty)) return true;
  return empty != 0.0 && std::fabs(value - empty) <= 1.0e-6 * std::fabs(empty);
}

std::optional<double> ediCoordinate(std::string_view text) {
  text = trimmed(text);
  if (text.empty()) return std::nullopt;
  double sign = 1.0;
  const char hemisphere = static_cast<char>(std::toupper(static_cast<unsigned char>(text.back())));
  if (hemisphere == 'N' || hemisphere == 'E' || hemisphere == 'S' || hemisphere == 'W') {
    if (hemisphere == 'S' || hemisphere == 'W') sign = -1.0;
    text = trimmed(text.substr(0, text.size() - 1));
  }
  if (!text.empty() && text.front() == '-') {
    sign = -sign;
    text.remove_prefix(1);
  } else if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
  }
  double total = 0.0, scale = 1.0;
  for (int part = 0; part < 3 && !text.empty(); ++part) {
    const auto colon = text.find(':');
    const auto value = parseDouble(text.substr(0, colon));
    if (!value || *value < 0.0) return std::nullopt;
    total += *value * scale;
    scale /= 60.0;
    text = colon == std::string_view::npos ? std::string_view{} : text.substr(colon + 1);
  }
  if (!text.empty()) return std::nullopt;
  return sign * total;
}

}  // namespace zeva::files
