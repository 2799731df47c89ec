// Edit, "&Shift Data Segments": joins the segments of a Schlumberger sounding
// into one curve, or sets the synthetics to carry the segment steps instead.

#include "core/program/data_commands.h"
#include "core/record/data_type.h"
#include "inversion/segment_shifting.h"

namespace zeva::core {

namespace {

void clearResults(Sounding& s) {
  s.layer.syntheticValid = kFalse;
  s.layer.resolutionValid = kFalse;
  s.layer.equivalenceValid = kFalse;
}

}  // namespace

CommandResult DataCommands::shiftDataSegments(int mode, int target) {
  Sounding& S = state_.S();
  if (!traitsOf(S.header.dataType).potentialSpacing) {
    state_.toolkit().information("Segment shifting only available for Schlumberger array");
    return CommandStatus::Refused;
  }
  if (mode < 1 || mode > 3 || target < 1 || target > 2) {
    state_.toolkit().information("Shift mode must be 1 to 3 and shift target 1 or 2");
    return CommandStatus::Refused;
  }
  const bool changed = mode != S.header.shiftMode || target != S.header.shiftTarget;
  S.header.shiftMode = mode;
  S.header.shiftTarget = target;
  state_.SM().header.shiftMode = mode;
  state_.SM().header.shiftTarget = target;

  // The synthetics will take (or lose) the segment steps at the next forward run.
  if (changed && (mode == 3 || target == 2)) {
    clearResults(S);
    S.layer.saved = kFalse;
  }
  if (mode != 3 && target == 1) {
    inversion::ApplySegmentShifts(S, /*observed=*/true, /*cumulative=*/mode == 2);
    clearResults(S);
    clearResults(state_.SM());
    // The data changed: the sounding no longer equals its file.
    S.layer.saved = kFalse;
    S.shareDataWith(state_.SM());
    state_.requestAutoscale();
  }
  state_.toolkit().requestRedraw();
  return CommandStatus::Done;
}

}  // namespace zeva::core
