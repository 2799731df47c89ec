#include "files/save_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>

namespace zeva::files {

namespace fs = std::filesystem;

namespace {

std::error_code lastError() { return {errno, std::generic_category()}; }

// Creates a new, empty file beside `target` under a hidden name no other
// file has; empty when the folder does not let us.
std::optional<fs::path> createTemporaryBeside(const fs::path& target, std::error_code& error) {
  std::random_device seed;
  const fs::path folder = target.parent_path();
  for (int attempt = 0; attempt < 16; ++attempt) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(seed()));
    const fs::path candidate = folder / ("." + target.filename().string() + "." + suffix + ".tmp");
    const int descriptor = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor >= 0) {
      ::close(descriptor);
      return candidate;
    }
    error = lastError();
    if (errno != EEXIST) break;
  }
  return std::nullopt;
}

// Forces the file's bytes to the disk. Any descriptor of a file reaches the
// same cached pages, so the writer's own need not be at hand.
bool syncToDisk(const fs::path& file, std::error_code& error) {
  const int descriptor = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) {
    error = lastError();
    return false;
  }
  const bool synced = ::fsync(descriptor) == 0;
  if (!synced) error = lastError();
  ::close(descriptor);
  return synced;
}

// Makes the rename itself durable. A folder that refuses this (some network
// file systems do) leaves the rename done all the same, so failures count
// for nothing here.
void syncFolder(const fs::path& folder) {
  const int descriptor =
      ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return;
  ::fsync(descriptor);
  ::close(descriptor);
}

// Removes the temporary file when the save does not complete, however it ends.
class TemporaryFile {
 public:
  explicit TemporaryFile(fs::path path) : path_(std::move(path)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (kept_) return;
    std::error_code ignored;
    if (fs::is_regular_file(fs::symlink_status(path_, ignored))) fs::remove(path_, ignored);
  }
  const fs::path& path() const { return path_; }
  void keep() { kept_ = true; }

 private:
  fs::path path_;
  bool kept_ = false;
};

}  // namespace

SaveResult saveFile(const fs::path& requested, const PathWriter& write,
                    const SaveOptions& options) {
  std::error_code error;
  const fs::file_status status = fs::status(requested, error);
  error.clear();  // a target not there yet is no error
  if (fs::is_directory(status) ||
      (options.temporary && fs::exists(status) && !fs::is_regular_file(status)))
    return {SaveStatus::CannotCreate, std::make_error_code(std::errc::is_a_directory)};
  if (fs::exists(status) && !fs::is_regular_file(status))
    return write(requested) ? SaveResult{} : SaveResult{SaveStatus::WriteFailed, {}};
  const bool exists = fs::exists(status);
  const fs::path target = exists && fs::is_symlink(fs::symlink_status(requested, error))
                              ? fs::canonical(requested, error)
                              : requested;
  if (error) return {SaveStatus::CannotCreate, error};

  std::optional<fs::path> created = options.temporary;
  if (!created) created = createTemporaryBeside(target, error);
  if (!created) return {SaveStatus::CannotCreate, error};
  TemporaryFile temporary(*created);

  if (!write(temporary.path())) return {SaveStatus::WriteFailed, {}};
  // The replacement keeps who may read and write the old file.
  if (exists) fs::permissions(temporary.path(), status.permissions(), error);
  error.clear();
  if (!syncToDisk(temporary.path(), error)) return {SaveStatus::NotReplaced, error};
  fs::rename(temporary.path(), target, error);
  if (error) return {SaveStatus::NotReplaced, error};
  temporary.keep();
  syncFolder(target.parent_path());
  return {};
}

SaveResult saveStream(const fs::path& target, const StreamWriter& write) {
  bool opened = true;
  SaveResult result = saveFile(target, [&](const fs::path& temporary) {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) {
      opened = false;
      return false;
    }
    const bool written = write(out);
    out.close();
    return written && static_cast<bool>(out);
  });
  if (!opened) result.status = SaveStatus::CannotCreate;
  return result;
}

}  // namespace zeva::files
