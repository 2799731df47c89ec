#include "core/program/recovery_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <csignal>
#include <cstring>
#include <ostream>
#include <system_error>

#include "files/save_file.h"

namespace zeva::core {

namespace fs = std::filesystem;

namespace {

// Two buffers: the handler reads the one published while the other is
// filled with the next record.
std::array<std::string, 2> crashRecords;
std::atomic<int> publishedRecord{-1};
std::array<char, 4096> crashPath{};

constexpr std::array kFatalSignals = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTERM, SIGHUP};

extern "C" void onFatalSignal(int signal) {
  writeCrashRecovery();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

}  // namespace

fs::path stateFolderFor(const char* xdgStateHome, const char* home) {
  if (xdgStateHome && *xdgStateHome) return fs::path(xdgStateHome) / "Kelvorin";
  if (home && *home) return fs::path(home) / ".local" / "state" / "Kelvorin";
  return {};
}

namespace {

fs::path created(fs::path folder) {
  std::error_code ignored;
  if (!folder.empty()) fs::create_directories(folder, ignored);
  return folder;
}

}  // namespace

fs::path stateFolder() {
  return created(stateFolderFor(std::getenv("XDG_STATE_HOME"), std::getenv("HOME")));
}

fs::path userDataFolderFor(const char* xdgDataHome, const char* home) {
  if (xdgDataHome && *xdgDataHome) return fs::path(xdgDataHome) / "Kelvorin";
  if (home && *home) return fs::path(home) / ".local" / "share" / "Kelvorin";
  return {};
}

fs::path userDataFolder() {
  return created(userDataFolderFor(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")));
}

bool writeRecoveryFile(const fs::path& file, std::string_view bytes) {
  return files::saveStream(file,
                           [&](std::ostream& out) {
                             out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
                             return static_cast<bool>(out);
                           })
      .saved();
}

void installCrashRecovery(const fs::path& file) {
  const std::string path = file.string();
  if (path.size() >= crashPath.size()) return;
  std::memcpy(crashPath.data(), path.c_str(), path.size() + 1);
  for (int signal : kFatalSignals) std::signal(signal, onFatalSignal);
}

void keepForCrash(std::string_view bytes) {
  if (bytes.empty()) {
    publishedRecord.store(-1);
    return;
  }
  const int next = publishedRecord.load() == 0 ? 1 : 0;
  crashRecords[static_cast<std::size_t>(next)].assign(bytes);
  publishedRecord.store(next);
}

void writeCrashRecovery() {
  const int published = publishedRecord.load();
  if (published < 0 || crashPath[0] == '\0') return;
  const std::string& record = crashRecords[static_cast<std::size_t>(published)];
  const int fd = ::open(crashPath.data(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0) return;
  const char* next = record.data();
  std::size_t left = record.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, next, left);
    if (written <= 0) break;
    next += written;
    left -= static_cast<std::size_t>(written);
  }
  ::close(fd);
}

}  // namespace zeva::core
