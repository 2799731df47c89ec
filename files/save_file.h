#pragma once
// Saving that never loses the file it replaces. The new contents go to a
// temporary file beside the target; only when all of it was written and
// forced to the disk is the temporary file renamed over the target, which
// replaces it in one step. On any failure, an exception from the writer
// included, the temporary file is removed and the target stays as it was.
//
// A device or pipe as target (a command-line tool's "/dev/stdout") holds no
// file to lose and is written directly; a link keeps leading to the file,
// which is the one replaced.
//
// Every file the program writes for the user goes through here: the native
// sounding file, the exports, the graphics files and the settings file.

#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <system_error>

namespace zeva::files {

enum class SaveStatus {
  Saved,
  CannotCreate,  // the target is a folder, or no temporary file fits beside it
  WriteFailed,   // the writer reported a failure
  NotReplaced,   // the bytes could not be forced to the disk, or the rename failed
};

struct SaveResult {
  SaveStatus status = SaveStatus::Saved;
  std::error_code error;  // the system's reason, where one is known
  [[nodiscard]] bool saved() const { return status == SaveStatus::Saved; }
};

struct SaveOptions {
  // A fixed name for the temporary file instead of a fresh hidden one. The
  // writer opens it itself and so may continue what an earlier run left.
  std::optional<std::filesystem::path> temporary;
};

// Fills the temporary file at the given path; false when the write failed.
using PathWriter = std::function<bool(const std::filesystem::path& temporary)>;
// Writes the contents to the stream; false when the write failed.
using StreamWriter = std::function<bool(std::ostream& out)>;

// Writes `target` through a temporary file that `write` fills by its path
// (for writers that open files themselves, such as image writers).
[[nodiscard]] SaveResult saveFile(const std::filesystem::path& target, const PathWriter& write,
                                  const SaveOptions& options = {});

// Writes `target` through a temporary file opened as a binary stream; a
// stream that fails on writing or closing counts as a failed write.
[[nodiscard]] SaveResult saveStream(const std::filesystem::path& target, const StreamWriter& write);

}  // namespace zeva::files
