#pragma once
// ZEVA.INI: the settings file of key=value lines in bracketed sections, read
// once at start-up and rewritten at exit through a temporary ZEVA.INW that
// then replaces it. On Linux it lives in $XDG_CONFIG_HOME/Kelvorin/ (by
// default ~/.config/Kelvorin/).

#include <filesystem>
#include <iosfwd>
#include <string_view>

#include "files/result.h"
#include "settings/settings.h"

namespace zeva::settings {

inline constexpr std::string_view kSettingsFileName = "ZEVA.INI";

// The settings file in the per-user folder named by the two environment values
// (either may be null or empty): $XDG_CONFIG_HOME/Kelvorin/ZEVA.INI, else
// $HOME/.config/Kelvorin/ZEVA.INI, else ZEVA.INI in the current directory.
std::filesystem::path settingsPathFor(const char* xdgConfigHome, const char* home);
// The same for this process's environment; creates the Kelvorin folder when missing.
std::filesystem::path settingsPath();

// Why reading ended.
enum class ReadOutcome { Complete, CannotOpen, ReadError, DamagedValue };

// Applies every recognised line of `in` to `settings` in turn. A number or
// logical that cannot be read loses that line's setting only (the outcome is
// then DamagedValue); every other line is applied.
ReadOutcome readSettings(std::istream& in, Settings& settings);
// What reading the settings file gave; ok when it was read completely.
struct [[nodiscard]] SettingsRead : files::Result {
  ReadOutcome outcome = ReadOutcome::Complete;
};
// Reads the settings file; when it cannot be opened warns "ERROR OPENING "
// with the path and status and keeps the defaults. A folder, a device or a
// FIFO is not read: "CANNOT OPEN FILE: " and the path.
SettingsRead readSettingsFile(const std::filesystem::path& file, Settings& settings);

// Writes every section and key in order, with `lastFile` as "Last File=".
void writeSettings(std::ostream& out, const Settings& settings, std::string_view lastFile);
// Writes through the .INW file beside `file` (appending to a stale one), then
// replaces `file` with it. Fails, leaving `file` as it was, when the
// temporary file cannot be written; a write error comes with a warning.
files::Result writeSettingsFile(const std::filesystem::path& file, const Settings& settings,
                                std::string_view lastFile);

}  // namespace zeva::settings
