#pragma once
// Everything that belongs to the current sounding and is saved with it: the
// working instance S, the smooth-model instance SM, the two frames of the data
// plot and of the model plot, the inversion settings and the model-on-data
// switch. The native file stores exactly these objects.

#include <array>

#include "core/record/graph_frame.h"
#include "core/record/sounding.h"

namespace zeva::core {

struct CurrentSounding {
  Sounding S;
  Sounding SM;
  std::array<GraphFrame, 2> dataFrames{};
  std::array<GraphFrame, 2> modelFrames{};
  InversionSettings settings;
  Logical modelOnData = kFalse;

  CurrentSounding() { S.shareDataWith(SM); }
  // Copies would break the sharing of data between S and SM.
  CurrentSounding(const CurrentSounding&) = delete;
  CurrentSounding& operator=(const CurrentSounding&) = delete;
};

// Gives SM a copy of S's layer header and an empty smooth model (one
// parameter kind, no parameters, Occam's inversion) and has it share S's
// data: the smooth model of a sounding that has none yet.
void resetSmoothModel(CurrentSounding& current);

// Builds the default Schlumberger sounding of start-up in S ("Default Data",
// 22 readings in five segments, a 7-layer model of 15 ohm-m), gives SM a copy
// of its headers with one parameter kind and no parameters, and marks the
// sounding saved. Segment detection is left to the caller.
void resetToDefault(CurrentSounding& current);

}  // namespace zeva::core
