#pragma once
// The file front end of the native sounding file: Open (and Reload, which
// opens the default file), Save and Save As with the file-name rules. The
// program's commands choose the file.
//
// Saving never loses the file it replaces: the sounding is written to a
// temporary file in the same folder, which is renamed over the old file only
// once "ENDFILE" was written and the file was flushed to the disk and closed.
//
// File names on Linux are case-sensitive while stored sounding names and the
// files written under other systems need not agree in case: when "NAME.ZVR"
// does not exist, a file of the same name in another case in that folder is
// used for Reload, Open and Save.

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/record/current_sounding.h"
#include "files/byte_stream.h"
#include "files/result.h"

namespace zeva::files {

inline constexpr std::string_view kNativeFileTitle = "ZEVA Binary File";
inline constexpr std::string_view kNativeFileFilter = "ZEVA Binary File|*.ZVR|";
inline constexpr std::string_view kNativeFileExtension = ".ZVR";

// Lets a caller put its own sink between the writer and the temporary file
// (tests use it to fail a write half-way).
using SinkWrapper = std::function<std::unique_ptr<ByteSink>(ByteSink& file)>;

struct NativeFileOptions {
  SinkWrapper wrapSink;
};

// Open: reads `file` into `current`. After a complete read the sounding takes
// the file's name and the saved flag is set; after a read that stopped
// part-way and changed the sounding the flag is cleared, as the sounding no
// longer equals any file.
Result openNativeFile(const std::filesystem::path& file, core::CurrentSounding& current);

// Save: writes the sounding to its default file in `folder` (the sounding
// name followed by ".ZVR") and takes that file's name.
Result saveNativeFile(const std::filesystem::path& folder, core::CurrentSounding& current,
                      const NativeFileOptions& options = {});

// Save As: the sounding takes the file's base name, then it is written to
// the given file.
Result saveNativeFileAs(const std::filesystem::path& file, core::CurrentSounding& current,
                        const NativeFileOptions& options = {});

// The sounding name with trailing blanks removed, followed by ".ZVR", in `folder`.
std::filesystem::path defaultNativeFile(const core::CurrentSounding& current,
                                        const std::filesystem::path& folder);

// The sounding name a file gives: the text after the last '/' or '\' up to the
// first '.', cut to 24 characters.
std::string soundingNameFromFile(std::string_view fileName);

// The file itself when it exists, else a file of the same name in another
// case in the same folder (the first in name order), else nothing.
std::optional<std::filesystem::path> findFileIgnoringCase(const std::filesystem::path& file);

}  // namespace zeva::files
