#include "files/text_input.h"

#include <system_error>

namespace zeva::files {

bool isRegularFile(const std::filesystem::path& file) {
  std::error_code error;
  return std::filesystem::is_regular_file(file, error);
}

Result checkRegularFile(const std::filesystem::path& file) {
  if (isRegularFile(file)) return succeeded();
  std::error_code error;
  const bool exists = std::filesystem::exists(file, error);
  return failedWith((exists ? std::string(kCannotOpenFile) : std::string("FILE NOT FOUND: ")) +
                    file.string());
}

LineRead readLine(std::istream& in, std::string& line, std::size_t keep, std::size_t longest) {
  line.clear();
  std::streambuf* buffer = in.rdbuf();
  if (buffer == nullptr) return LineRead::End;
  bool any = false;
  std::size_t length = 0;
  for (;;) {
    const int c = buffer->sbumpc();
    if (c == std::char_traits<char>::eof()) {
      in.setstate(std::ios::eofbit);
      break;
    }
    any = true;
    if (c == '\n') break;
    if (++length > longest) return LineRead::TooLong;
    if (line.size() < keep) line.push_back(static_cast<char>(c));
  }
  // The carriage return of a CR LF line end, when the whole line was kept.
  if (length == line.size() && !line.empty() && line.back() == '\r') line.pop_back();
  return any ? LineRead::Line : LineRead::End;
}

}  // namespace zeva::files
