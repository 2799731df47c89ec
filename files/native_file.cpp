#include "files/native_file.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <system_error>

#include "files/native_file_reader.h"
#include "files/native_file_writer.h"
#include "files/save_file.h"

namespace zeva::files {

namespace fs = std::filesystem;

namespace {

std::string upper(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return result;
}

void setSoundingName(core::CurrentSounding& current, const fs::path& file) {
  current.S.header.name.assign(soundingNameFromFile(file.string()));
  current.SM.header.name = current.S.header.name;  // SM carries a copy of the data header
}

Result informing(std::string text) {
  Result result;
  result.information(std::move(text));
  return result;
}

// Writes the sounding through a temporary file that takes the place of
// `target` only when all of it reached the disk.
Result writeReplacing(const fs::path& target, core::CurrentSounding& current,
                      const NativeFileOptions& options) {
  std::error_code ec;
  if (fs::exists(target, ec) && !fs::is_regular_file(target, ec))
    return informing("CANNOT OPEN FILE: " + target.string());
  Result written;
  const core::Logical savedBefore = current.S.layer.saved;
  bool opened = true;
  bool complete = false;  // else the writer has shown where it failed
  std::int64_t length = 0;
  const SaveResult saved = saveFile(target, [&](const fs::path& temporary) {
    FileHandle handle(std::fopen(temporary.string().c_str(), "wb"));
    if (!handle) {
      opened = false;
      return false;
    }
    FileSink file(std::move(handle));
    std::unique_ptr<ByteSink> wrapped = options.wrapSink ? options.wrapSink(file) : nullptr;
    complete = written.take(writeNativeFile(wrapped ? *wrapped : file, current));
    wrapped.reset();
    length = file.position();
    return file.finish() && complete;
  });
  if (saved.saved()) {
    written.ok = true;
    return written;
  }
  if (saved.status == SaveStatus::CannotCreate || !opened) {
    written.information("CANNOT OPEN FILE: " + target.string());
  } else if (complete) {
    // Nothing of the new file is known to be on the disk.
    current.S.layer.saved = savedBefore;
    written.information(writeErrorMessage(0, length));
  }
  return written;
}

}  // namespace

std::string soundingNameFromFile(std::string_view fileName) {
  const auto slash = fileName.find_last_of("/\\");
  std::string_view base = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
  base = base.substr(0, base.find('.'));
  return std::string(base.substr(0, core::NameText{}.chars.size()));
}

fs::path defaultNativeFile(const core::CurrentSounding& current, const fs::path& folder) {
  return folder / (current.S.header.name.trimmed() + std::string(kNativeFileExtension));
}

std::optional<fs::path> findFileIgnoringCase(const fs::path& file) {
  std::error_code ec;
  if (fs::exists(file, ec)) return file;
  const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
  const std::string wanted = upper(file.filename().string());
  std::optional<fs::path> found;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string candidate = it->path().filename().string();
    if (upper(candidate) != wanted) continue;
    if (!found || candidate < found->filename().string()) found = file.parent_path() / candidate;
  }
  return found;
}

Result openNativeFile(const fs::path& requested, core::CurrentSounding& current) {
  const std::optional<fs::path> found = findFileIgnoringCase(requested);
  if (!found) return informing("CANNOT FIND FILE: " + requested.string());
  const fs::path& file = *found;
  const std::string name = file.string();
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) return informing("CANNOT OPEN FILE: " + name);
  FileHandle handle(std::fopen(name.c_str(), "r+b"));
  if (!handle) {
    const bool readable = FileHandle(std::fopen(name.c_str(), "rb")) != nullptr;
    return informing("CANNOT OPEN FILE: " + name + (readable ? "\nFILE IS READ-ONLY!" : ""));
  }
  FileSource source(handle.get());
  ReadResult read = readNativeFile(source, current, name);
  handle.reset();
  Result opened;
  opened.messages = std::move(read.messages);
  if (!read.ok) {
    if (read.recordChanged) current.S.layer.saved = core::kFalse;
    return opened;
  }
  setSoundingName(current, file);
  current.S.layer.saved = core::kTrue;
  opened.ok = true;
  return opened;
}

Result saveNativeFile(const fs::path& folder, core::CurrentSounding& current,
                      const NativeFileOptions& options) {
  const fs::path defaultFile = defaultNativeFile(current, folder);
  const fs::path target = findFileIgnoringCase(defaultFile).value_or(defaultFile);
  Result written = writeReplacing(target, current, options);
  if (written.ok) setSoundingName(current, target);
  return written;
}

Result saveNativeFileAs(const fs::path& file, core::CurrentSounding& current,
                        const NativeFileOptions& options) {
  setSoundingName(current, file);  // so that the stored data header carries the new name
  return writeReplacing(file, current, options);
}

}  // namespace zeva::files
