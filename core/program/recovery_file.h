#pragma once
// The recovery file: a native file of the unsaved sounding kept in the
// user's data folder, written every few minutes and when the program is
// killed by a fatal signal, removed when the program ends normally, and
// offered at the next start when it is still there. The debug log lives in
// the user's state folder, never in whatever folder the program was started
// in.

#include <filesystem>
#include <string>
#include <string_view>

namespace zeva::core {

inline constexpr std::string_view kRecoveryFileName = "recovery.ZVR";
inline constexpr std::string_view kDebugLogName = "ZEVA.dbg";
inline constexpr std::string_view kRecoveryQuestion =
    "ZEVA did not end normally last time. Open the unsaved sounding it kept?";

// $XDG_STATE_HOME/Kelvorin, else $HOME/.local/state/Kelvorin, else the
// current folder (either value may be null or empty).
std::filesystem::path stateFolderFor(const char* xdgStateHome, const char* home);
// The same for this process's environment; creates the folder when missing.
std::filesystem::path stateFolder();
// Where the recovery file is kept: $XDG_DATA_HOME/Kelvorin, else
// $HOME/.local/share/Kelvorin, else the current folder.
std::filesystem::path userDataFolderFor(const char* xdgDataHome, const char* home);
std::filesystem::path userDataFolder();

// Writes `bytes` to `file` through a temporary file beside it, so that an
// old recovery file is replaced only by a complete new one.
bool writeRecoveryFile(const std::filesystem::path& file, std::string_view bytes);

// Fatal signals (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTERM, SIGHUP)
// write the record last kept to `file` and then end the process as the
// signal would have.
void installCrashRecovery(const std::filesystem::path& file);
// The record a crash writes: copied now, so that the signal handler only
// has to write bytes that nothing changes under it. Empty: nothing to keep.
void keepForCrash(std::string_view bytes);
// What the signal handler does, with system calls only.
void writeCrashRecovery();

}  // namespace zeva::core
