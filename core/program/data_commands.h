#pragma once
// The Edit commands on the data: readings typed into the data editor (File,
// New and Edit, "&Data") and "&Shift Data Segments".

#include "core/program/command_result.h"
#include "core/program/new_sounding.h"
#include "core/program/program_state.h"

namespace zeva::core {

class DataCommands {
 public:
  explicit DataCommands(ProgramState& state) : state_(state) {}

  // File, New: `entered` (a header from newSoundingHeader with its readings)
  // replaces the data of the current sounding; the model stays and is
  // prepared for the new data. Edit, "&Data": the edited readings replace
  // the data and the sounding keeps its name. Both detect segments, ask for
  // the plot set-up and mark the sounding unsaved; Refused, with a message
  // and nothing changed, when `entered` holds no readings or its arrays do
  // not match its counts. The caller asks to save before a new sounding.
  CommandResult newSounding(Sounding& entered);
  CommandResult replaceData(Sounding& edited);

  // "&Shift Data Segments", with the choices of the "Shift Data Options"
  // dialog: mode 1 match long spacing, 2 match short spacing, 3 do not
  // shift; target 1 shift the data and reduce the number of points, 2 shift
  // the synthetics. Refused, after the message, for data types other than
  // Schlumberger or choices out of range.
  CommandResult shiftDataSegments(int mode, int target);

 private:
  ProgramState& state_;
};

}  // namespace zeva::core
