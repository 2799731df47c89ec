#pragma once
// The values the commands take from and hand back to their callers, in the
// program's own terms: a caller of the program needs no header of the file
// or inversion modules, and the commands convert at their side.

#include <optional>
#include <vector>

namespace zeva::core {

// The depth range of the smooth models: the depth of the first boundary
// (zmin) and the depth the grid reaches (zmax); each empty takes the value
// the data give.
struct SmoothDepthRange {
  std::optional<float> zmin, zmax;
};

// How an inversion command ended.
struct InversionRun {
  int status = 0;  // status of the iteration that stopped the run
  bool interrupted = false;
  int iterations = 0;  // iterations made (an interrupted one included)
};

// A well log beside the sounding: depth and resistivity per reading.
struct WellLog {
  std::vector<float> depth, resistivity;
};

}  // namespace zeva::core
