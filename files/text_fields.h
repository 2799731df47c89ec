#pragma once
// Small text helpers shared by the text-file readers and writers: a bounded
// line reader (only the first characters of a line are kept, however long the
// line is, so a damaged file cannot make us hold a giant line), number words
// as Fortran reads them, words of a line, and fixed-width number fields.

#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zeva::files {

// Characters that no text line should hold (control codes, DEL and bytes of
// other code pages) become blanks.
void blankUnprintable(std::string& line);

// Blank- (and, after replacing commas, comma-) separated words.
std::vector<std::string_view> splitWords(std::string_view text);
std::string_view trimmed(std::string_view text);
std::string_view firstWordOf(std::string_view text);

// A real as a Fortran list-directed read takes it: an optional sign, digits
// with or without a decimal point, an optional exponent with E, e, D or d.
// At most 30 characters; anything else is not a number.
std::optional<float> parseReal(std::string_view word);
std::optional<double> parseDouble(std::string_view word);
// An integer of optional sign and digits within 32 bits.
std::optional<int> parseInteger(std::string_view word);

// Fixed-width fields: right-justified integer of width w (Iw), fixed point of
// width w with d decimals (Fw.d); too wide a value fills the field with "*",
// as the formatted writes of the program's files always did.
std::string integerField(long value, int width);
std::string fixedField(double value, int width, int decimals);
// A real with enough significant digits to be read back to the same float.
std::string realText(float value);

}  // namespace zeva::files
