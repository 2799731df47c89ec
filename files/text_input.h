#pragma once
// Reading text files within the limits of core/reader_limits.h: only regular
// files are read (a directory, a device such as /dev/zero or a FIFO would
// hang a reader or fail it half-way), and lines are read with bounded memory.

#include <cstddef>
#include <filesystem>
#include <istream>
#include <string>
#include <string_view>

#include "core/record/reader_limits.h"
#include "files/result.h"

namespace zeva::files {

inline constexpr std::string_view kCannotOpenFile = "CANNOT OPEN FILE: ";

// Whether `file` names a regular file (after following links).
bool isRegularFile(const std::filesystem::path& file);
// Succeeds for a regular file; else fails with "FILE NOT FOUND: " for a
// missing file and "CANNOT OPEN FILE: " for anything else, with the name.
Result checkRegularFile(const std::filesystem::path& file);

enum class LineRead { Line, End, TooLong };

// Reads the next line into `line`, keeping its first `keep` characters and
// skipping the rest; a carriage return before the line feed is dropped.
// End: the input ended before any character. TooLong: the line ran past
// `longest` characters; reading stopped there.
LineRead readLine(std::istream& in, std::string& line, std::size_t keep,
                  std::size_t longest = core::limits::kMaxLineBytes);

}  // namespace zeva::files
