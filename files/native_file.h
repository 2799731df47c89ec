#pragma once
// The file front end of the native sounding file: the actions "Reload",
// "Open", "Save" and "SaveAs" with the file dialog and the file-name rules,
// and simple entry points for the command-line tool and the program.
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
#include "ui/toolkit/toolkit.h"

namespace zeva::files {

inline constexpr std::string_view kNativeFileTitle = "ZEVA Binary File";
inline constexpr std::string_view kNativeFileFilter = "ZEVA Binary File|*.ZVR|";
inline constexpr std::string_view kNativeFileExtension = ".ZVR";

struct FileActionResult {
  bool cancelled = false;           // the user cancelled the file dialog
  bool success = false;             // the sounding was read or written completely
  core::NameText lastSoundingName;  // the sounding name afterwards, for the settings file
};

// Lets a caller put its own sink between the writer and the temporary file
// (tests use it to fail a write half-way).
using SinkWrapper = std::function<std::unique_ptr<ByteSink>(ByteSink& file)>;

struct NativeFileOptions {
  SinkWrapper wrapSink;
};

// Runs one file action ("Reload", "Open", "Save", "SaveAs"; case and trailing
// blanks do not matter). `folder` is where the default file, the sounding
// name followed by ".ZVR", lies; names chosen in the dialog are taken relative
// to it. After a complete read the saved flag is set; after a read that
// stopped part-way and changed the sounding it is cleared, as the sounding no
// longer equals any file.
FileActionResult nativeFileAction(std::string_view action, core::CurrentSounding& current,
                                  const std::filesystem::path& folder, ui::Toolkit& toolkit,
                                  const NativeFileOptions& options = {});

// Open without a dialog: the rules of "Open" for the given file.
bool openNativeFile(const std::filesystem::path& file, core::CurrentSounding& current,
                    ui::Toolkit& toolkit);

// Save As without a dialog: the sounding takes the file's base name, then it
// is written to the given file.
bool saveNativeFileAs(const std::filesystem::path& file, core::CurrentSounding& current,
                      ui::Toolkit& toolkit, const NativeFileOptions& options = {});

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
