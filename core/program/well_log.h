#pragma once
// Well logs beside the sounding: the log cleaned for plotting, its cumulative
// conductance, and its blocky segmentation into layers. The segmentation is
// the least-squares step fit of log10 resistivity with a given number of
// steps, found exactly by dynamic programming over the boundaries (Bellman's
// optimal segmentation, as used for piecewise-constant regression); a
// layer's resistivity is the geometric mean of its readings.

#include <vector>

#include "files/flat_ascii_import.h"

namespace zeva::core {

// The readings of a log that can be plotted and segmented (positive, finite
// resistivity at a finite depth of 0 or more), in order of depth.
files::WellLog cleanWellLog(const files::WellLog& log);

// Cumulative conductance (siemens) from the surface at each reading of a
// clean log: the first reading's resistivity is taken to reach up to the
// surface, and between readings the conductivity is integrated by the
// trapezoidal rule.
std::vector<float> cumulativeConductance(const files::WellLog& clean);

// Cumulative conductance of a layered earth (resistivities top down, bottom
// depths of all but the last layer) at a depth.
float layeredConductance(const std::vector<float>& resistivity,
                         const std::vector<float>& bottomDepth, float depth);

// A blocky model of a log.
struct LogSegmentation {
  std::vector<float> resistivity;  // one per layer, top down
  std::vector<float> bottomDepth;  // layers - 1 boundaries
  float rmsLog10 = 0.0f;           // RMS misfit of log10 resistivity
  bool empty() const { return resistivity.empty(); }
};

// Longest log segmented reading by reading; longer logs are first merged
// into this many blocks of neighbouring readings, so the time stays bounded.
inline constexpr int kSegmentationBlocks = 800;

// The least-squares step fit of log10 resistivity of a clean log with at most
// `layers` steps (fewer when the log has fewer readings). A boundary lies
// halfway between the last reading of one layer and the first of the next.
LogSegmentation segmentWellLog(const files::WellLog& clean, int layers);

}  // namespace zeva::core
