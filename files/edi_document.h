#pragma once
// The text layer of the EDI reader: an EDI file split into its >HEAD
// keywords, its sections (">=DEFINEMEAS", ">=MTSECT", ">=SPECTRASECT", ...)
// with their keywords and value lists, and its blocks (">FREQ //n",
// ">ZXYR ROT=ZROT //n", ">EMEAS ID=... CHTYPE=EX", ">SPECTRA FREQ=... //n")
// with their options and values. Writers differ in layout: lines of any
// length, option lists continued on the following lines, values on the
// block's own line or one per line, lower-case names, tabs and CR-LF; all
// of these read alike. Numbers are kept as written; what they mean is the
// reader's business.

#include <cstddef>
#include <istream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/record/reader_limits.h"

namespace zeva::files {

// The longest EDI line taken (in characters); a longer line is refused with
// its number, never cut. The most values one block or section list may hold,
// and the whole file. All three are stated with the other readers' limits.
inline constexpr std::size_t kEdiMaxLineLength = core::limits::kMaxEdiLineBytes;
inline constexpr std::size_t kEdiMaxBlockValues = core::limits::kMaxEdiBlockValues;
inline constexpr std::size_t kEdiMaxFileValues = core::limits::kMaxEdiFileValues;

using EdiKeywords = std::map<std::string, std::string>;  // upper-case keyword -> value

struct EdiBlock {
  std::string name;     // upper case, e.g. "ZXYR", "SPECTRA", "EMEAS"
  std::string section;  // the section it stands in, "" before the first
  EdiKeywords options;
  int line = 0;  // line of the block's ">"
  // Values in file order with their line numbers; words NaN and INF (any
  // case, signed) and numbers beyond the double range are NaN here.
  std::vector<double> values;
  std::vector<int> valueLines;
  // The first word that is not a number, with its line; such a block can be
  // used only when nothing of it is needed.
  std::optional<std::pair<int, std::string>> badWord;
};

struct EdiSection {
  std::string name;  // upper case, without "="
  int line = 0;
  EdiKeywords keywords;
  std::vector<std::string> list;  // the words after a "//n" line (channel IDs)
};

struct EdiDocument {
  EdiKeywords head;
  std::vector<EdiSection> sections;
  std::vector<EdiBlock> blocks;

  // The first block of that name inside a section of that name ("" for any).
  const EdiBlock* block(std::string_view name, std::string_view section = {}) const;
  const EdiSection* sectionNamed(std::string_view name) const;
};

// Splits EDI text. Returns the message to show when the text cannot be read
// as EDI (not an EDI file, a line too long, too many values); `fileName` is
// used in the messages.
std::optional<std::string> parseEdi(std::istream& in, const std::string& fileName,
                                    EdiDocument& document);

// Whether a value stands for a missing one: NaN (the words NaN and INF), or
// the file's EMPTY value (and, for a huge EMPTY such as 1.0E32, anything as
// large).
bool ediMissing(double value, double empty);

// A keyword value as a number: decimal ("-33.5") or degrees, minutes and
// seconds ("-33:30:00", "33:30:00S"); empty when it is neither.
std::optional<double> ediCoordinate(std::string_view text);

}  // namespace zeva::files
