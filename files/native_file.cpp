#include "files/native_file.h"

#include <algorithm>
#include <cassert>
#include <cctype>
#include <cstdio>
#include <system_error>

#include "files/native_file_reader.h"
#include "files/native_file_writer.h"
#include "files/save_file.h"

namespace zeva::files {

namespace fs = std::filesystem;

namespace {

enum class Action { Reload, Open, Save, SaveAs, Unknown };

std::string upper(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return result;
}

Action parseAction(std::string_view text) {
  const auto end = text.find_last_not_of(' ');
  const std::string name = upper(text.substr(0, end == std::string_view::npos ? 0 : end + 1));
  if (name == "RELOAD") return Action::Reload;
  if (name == "OPEN") return Action::Open;
  if (name == "SAVE") return Action::Save;
  if (name == "SAVEAS") return Action::SaveAs;
  return Action::Unknown;
}

void setSoundingName(core::CurrentSounding& current, const fs::path& file) {
  current.S.header.name.assign(soundingNameFromFile(file.string()));
  current.SM.header.name = current.S.header.name;  // SM carries a copy of the data header
}

FileActionResult finished(const core::CurrentSounding& current, bool success) {
  FileActionResult result;
  result.success = success;
  result.lastSoundingName = current.S.header.name;
  return result;
}

bool openAndRead(const fs::path& requested, core::CurrentSounding& current, ui::Toolkit& toolkit) {
  const std::optional<fs::path> found = findFileIgnoringCase(requested);
  if (!found) {
    toolkit.information("CANNOT FIND FILE: " + requested.string());
    return false;
  }
  const fs::path& file = *found;
  const std::string name = file.string();
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) {
    toolkit.information("CANNOT OPEN FILE: " + name);
    return false;
  }
  FileHandle handle(std::fopen(name.c_str(), "r+b"));
  if (!handle) {
    const bool readable = FileHandle(std::fopen(name.c_str(), "rb")) != nullptr;
    toolkit.information("CANNOT OPEN FILE: " + name + (readable ? "\nFILE IS READ-ONLY!" : ""));
    return false;
  }
  FileSource source(handle.get());
  const ReadResult read = readNativeFile(source, current, name, toolkit);
  handle.reset();
  if (!read.complete) {
    if (read.recordChanged) current.S.layer.saved = core::kFalse;
    return false;
  }
  setSoundingName(current, file);
  current.S.layer.saved = core::kTrue;
  return true;
}

// Writes the sounding through a temporary file that takes the place of
// `target` only when all of it reached the disk.
bool writeReplacing(const fs::path& target, core::CurrentSounding& current, ui::Toolkit& toolkit,
                    const NativeFileOptions& options) {
  std::error_code ec;
  if (fs::exists(target, ec) && !fs::is_regular_file(target, ec)) {
    toolkit.information("CANNOT OPEN FILE: " + target.string());
    return false;
  }
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
    complete = writeNativeFile(wrapped ? *wrapped : file, current, toolkit).complete;
    wrapped.reset();
    length = file.position();
    return file.finish() && complete;
  });
  if (saved.saved()) return true;
  if (saved.status == SaveStatus::CannotCreate || !opened) {
    toolkit.information("CANNOT OPEN FILE: " + target.string());
  } else if (complete) {
    // Nothing of the new file is known to be on the disk.
    current.S.layer.saved = savedBefore;
    toolkit.information(writeErrorMessage(0, length));
  }
  return false;
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

FileActionResult nativeFileAction(std::string_view action, core::CurrentSounding& current,
                                  const fs::path& folder, ui::Toolkit& toolkit,
                                  const NativeFileOptions& options) {
  const ui::FileFilter filter{kNativeFileTitle, kNativeFileFilter};
  const fs::path defaultFile = defaultNativeFile(current, folder);
  switch (parseAction(action)) {
    case Action::Reload:
      return finished(current, openAndRead(defaultFile, current, toolkit));
    case Action::Open: {
      const std::optional<std::string> chosen =
          toolkit.chooseFileToOpen(filter, defaultFile.string());
      if (!chosen) {
        FileActionResult result = finished(current, false);
        result.cancelled = true;
        return result;
      }
      return finished(current, openAndRead(folder / *chosen, current, toolkit));
    }
    case Action::Save: {
      const fs::path target = findFileIgnoringCase(defaultFile).value_or(defaultFile);
      const bool saved = writeReplacing(target, current, toolkit, options);
      if (saved) setSoundingName(current, target);
      return finished(current, saved);
    }
    case Action::SaveAs: {
      const std::optional<std::string> chosen =
          toolkit.chooseFileToSave(filter, defaultFile.string());
      if (!chosen) {
        FileActionResult result = finished(current, false);
        result.cancelled = true;
        return result;
      }
      fs::path target = folder / *chosen;
      if (!target.has_extension()) target += kNativeFileExtension;
      return finished(current, saveNativeFileAs(target, current, toolkit, options));
    }
    case Action::Unknown:
      break;
  }
  assert(!"unknown native file action");
  return finished(current, false);
}

bool openNativeFile(const fs::path& file, core::CurrentSounding& current, ui::Toolkit& toolkit) {
  return openAndRead(file, current, toolkit);
}

bool saveNativeFileAs(const fs::path& file, core::CurrentSounding& current, ui::Toolkit& toolkit,
                      const NativeFileOptions& options) {
  setSoundingName(current, file);  // so that the stored data header carries the new name
  return writeReplacing(file, current, toolkit, options);
}

}  // namespace zeva::files
