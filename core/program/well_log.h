#pragma once
// Well logs beside the sounding: the log cleaned for plotting, its cumulative
// conductance, and its blocky segmentation into layers by the least-squares
// step fit of log10 resistivity (inversion/step_fit.h).

#include <vector>

#include "core/program/program_types.h"
#include "inversion/step_fit.h"

namespace zeva::core {

// The readings of a log that can be plotted and segmented (positive, finite
// resistivity at a finite depth of 0 or more), in order of depth.
WellLog cleanWellLog(const WellLog& log);

// Cumulative conductance (siemens) from the surface at each reading of a
// clean log: the first reading's resistivity is taken to reach up to the
// surface, and between readings the conductivity is integrated by the
// trapezoidal rule.
std::vector<float> cumulativeConductance(const WellLog& clean);

// Cumulative conductance of a layered earth (resistivities top down, bottom
// depths of all but the last layer) at a depth.
float layeredConductance(const std::vector<float>& resistivity,
                         const std::vector<float>& bottomDepth, float depth);

// A blocky model of a log.
using LogSegmentation = inversion::StepFit;

// The least-squares step fit of log10 resistivity of a clean log with at most
// `layers` steps (fewer when the log has fewer readings); logs longer than
// inversion::kStepFitBlocks readings are fitted at block resolution.
LogSegmentation segmentWellLog(const WellLog& clean, int layers);

}  // namespace zeva::core
