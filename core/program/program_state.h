#pragma once
// What every command group of the program works on: the current sounding
// (S, SM, the plot frames and the inversion settings), the view switches,
// the user settings, the working folder and the toolkit, with the few steps
// that several groups take alike (segment detection, the switch rules of a
// newly read sounding, taking over imported data, the quiet forward run,
// the question for the columns of an import).

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string_view>

#include "core/program/command_result.h"
#include "core/record/current_sounding.h"
#include "core/record/view_switches.h"
#include "settings/settings.h"
#include "ui/toolkit/toolkit.h"

// The import request of the flat ASCII importers (files/flat_ascii_import.h).
namespace zeva::files {
struct FlatAsciiRequest;
}  // namespace zeva::files

namespace zeva::core {

// The status-bar pane that shows the fit of the layered model.
inline constexpr int kFitStatusPane = 1;

// The column dialog of the flat ASCII importers: shows `file` and fills in
// the column settings and the request's choices; false when the user
// cancels (the settings then keep their values). Without one, the
// columns are asked one prompt at a time.
using ColumnDialog =
    std::function<bool(const std::filesystem::path& file, files::FlatAsciiRequest& request,
                       settings::ImportColumns& columns)>;

class ProgramState {
 public:
  // `dataFolder` is the working folder at start: where native files are found
  // by name (Reload), where Save writes and where the native file dialogs
  // start; Open and Save As move it to the folder of their file.
  // `debugLog` receives the "ERROR:" lines and the mouse trace (may be null).
  ProgramState(ui::Toolkit& toolkit, std::filesystem::path dataFolder, std::ostream* debugLog);

  CurrentSounding& current() { return current_; }
  const CurrentSounding& current() const { return current_; }
  Sounding& S() { return current_.S; }
  Sounding& SM() { return current_.SM; }
  ViewSwitches& view() { return view_; }
  const ViewSwitches& view() const { return view_; }
  ui::Toolkit& toolkit() { return toolkit_; }
  // The user settings of ZEVA.INI (import columns among them).
  settings::Settings& settings() { return settings_; }
  const std::filesystem::path& dataFolder() const { return dataFolder_; }
  void setDataFolder(std::filesystem::path folder) { dataFolder_ = std::move(folder); }

  // Set when a command changed the axes' needs (a new sounding, a stored
  // frame without scale); the window runs the plot set-up and clears it.
  bool autoscalePending() const { return autoscalePending_; }
  void requestAutoscale() { autoscalePending_ = true; }
  void clearAutoscale() { autoscalePending_ = false; }

  // Runs segment detection on S and gives SM the changed header and data.
  void detectSegments();
  // Writes "ERROR:" and a calculation's error code to the debug log.
  void logError(int code);
  // Writes a line to the debug log, when there is one.
  void writeDebugLine(std::string_view line);

  // The view switches a newly read sounding of its data type starts with.
  void applyFileSwitchRules(bool afterReload);
  // Gives the current sounding the data of an import or of the data editor,
  // and prepares the model for them.
  void adoptData(Sounding& imported);
  // The synthetics of the layered model, when it has a forward routine.
  void runForwardQuietly();

  void setColumnDialog(ColumnDialog dialog) { columnDialog_ = std::move(dialog); }
  // The columns of an import from `file`: the column dialog, or prompts.
  CommandResult askImportColumns(const std::filesystem::path& file,
                                 files::FlatAsciiRequest& request);

 private:
  ui::Toolkit& toolkit_;
  std::filesystem::path dataFolder_;
  std::ostream* debugLog_;
  CurrentSounding current_;
  ViewSwitches view_;
  settings::Settings settings_;
  ColumnDialog columnDialog_;
  bool autoscalePending_ = false;
};

}  // namespace zeva::core
