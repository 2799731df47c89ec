#pragma once
// The program's state and its commands: the current sounding (S, SM, the plot
// frames and the inversion settings), the view switches and every command of
// the command table, each with its preconditions and messages. The menus of
// the desktop program and the verbs of zeva-cli both call these commands, so
// both behave alike. Everything the user sees goes through the toolkit.

#include <filesystem>
#include <iosfwd>

#include "core/current_sounding.h"
#include "ui/toolkit.h"

namespace zeva::core {

// Display switches of the main window (all plain switches; the file stores
// only the model-on-data switch, which lives in CurrentSounding).
struct ViewSwitches {
  bool zoom = false;
  bool showLayered = true;
  bool showSmooth = false;
  bool showEquivalence = true;
  bool showBostick = false;
  bool showNiblett = false;
  bool redLine = false;
  bool voltageView = false;  // TEM data as received voltage
  bool linearTime = false;   // TEM time axis linear
  bool majorGridData = false, minorGridData = false;
  bool majorGridModel = false, minorGridModel = false;
};

class Program {
 public:
  // `dataFolder` is where native files are found by name (Reload) and where
  // file choosers start; `debugLog` receives the "ERROR:" lines (may be null).
  explicit Program(ui::Toolkit& toolkit, std::filesystem::path dataFolder = {},
                   std::ostream* debugLog = nullptr);

  // Builds the default sounding, detects its segments and shares its data
  // with the smooth instance, as at start-up.
  void startUp();

  CurrentSounding& current() { return current_; }
  const CurrentSounding& current() const { return current_; }
  Sounding& S() { return current_.S; }
  Sounding& SM() { return current_.SM; }
  ViewSwitches& view() { return view_; }
  ui::Toolkit& toolkit() { return toolkit_; }
  const std::filesystem::path& dataFolder() const { return dataFolder_; }

  // Runs segment detection on S and gives SM the changed header and data.
  void detectSegments();

  // Writes "ERROR:" and a calculation's error code to the debug log.
  void logError(int code);

 private:
  ui::Toolkit& toolkit_;
  std::filesystem::path dataFolder_;
  std::ostream* debugLog_;
  CurrentSounding current_;
  ViewSwitches view_;
};

}  // namespace zeva::core
