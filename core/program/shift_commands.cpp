// Edit, "&Shift Data Segments": joins the segments of a Schlumberger sounding
// into one curve, or sets the synthetics to carry the segment steps instead.

#include "core/program/program.h"
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

bool Program::shiftDataSegments(int mode, int target) {
  Sounding& S = current_.S;
  if (!traitsOf(S.header.dataType).potentialSpacing) {
    toolkit_.information("Segment shifting only available for Schlumberger array");
    return false;
  }
  if (mode < 1 || mode > 3 || target < 1 || target > 2) {
    toolkit_.information("Shift mode must be 1 to 3 and shift target 1 or 2");
    return false;
  }
  const bool changed = mode != S.header.shiftMode || target != S.header.shiftTarget;
  S.header.shiftMode = mode;
  S.header.shiftTarget = target;
  current_.SM.header.shiftMode = mode;
  current_.SM.header.shiftTarget = target;

  // The synthetics will take (or lose) the segment steps at the next forward run.
  if (changed && (mode == 3 || target == 2)) {
    clearResults(S);
    S.layer.saved = kFalse;
  }
  if (mode != 3 && target == 1) {
    inversion::ApplySegmentShifts(S, /*observed=*/true, /*cumulative=*/mode == 2);
    clearResults(S);
    clearResults(current_.SM);
    // The data changed: the sounding no longer equals its file.
    S.layer.saved = kFalse;
    S.shareDataWith(current_.SM);
    autoscalePending_ = true;
  }
  toolkit_.requestRedraw();
  return true;
}

}  // namespace zeva::core
