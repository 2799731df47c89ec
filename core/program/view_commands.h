#pragma once
// The View menu's switches: what the plots show, the grids and the TEM axes,
// with the rules that tie switches to each other and the refusal to draw the
// model over data whose plot has no room for it.

#include <string_view>

#include "core/program/command_result.h"
#include "core/program/program_state.h"

namespace zeva::core {

// The switches of the View menu, each toggled by one menu entry.
enum class ViewToggle {
  Zoom,
  Layered,
  Smooth,
  Equivalence,
  Bostick,
  Niblett,
  RedLine,
  ModelOnData,
  Voltage,
  LinearTime,
  MajorGridData,
  MinorGridData,
  MajorGridModel,
  MinorGridModel
};

inline constexpr std::string_view kModelOnDataRefusedMessage =
    "Model cannot be displayed on data display for";

class ViewCommands {
 public:
  explicit ViewCommands(ProgramState& state) : state_(state) {}

  // Flips the switch with the rules that tie switches together (grids: major
  // off takes minor with it, minor on brings major; voltage view and linear
  // time), asks for the plot set-up where the axes change, and redraws.
  // Refused when the model cannot be drawn over MaxMin, MT or TEM data.
  CommandResult toggleView(ViewToggle toggle);
  // The state of a switch, for the check mark of its menu entry.
  bool viewChecked(ViewToggle toggle) const;
  // True, after telling the user, when the plot of the current data type has
  // no room for the model on the data (MaxMin, "Magnetotelluric Data" and the
  // transient types).
  [[nodiscard]] bool modelOnDataRefused();
  // "&Unzoom": the plot set-up of the whole sounding, then a redraw.
  void unzoom();

 private:
  ProgramState& state_;
};

}  // namespace zeva::core
