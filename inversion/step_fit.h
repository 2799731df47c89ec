#pragma once
// The blocky model of a resistivity curve against depth: the least-squares
// step fit of log10 resistivity with a given number of steps, found exactly
// by dynamic programming over the boundaries (Bellman's optimal
// segmentation, as used for piecewise-constant regression); a step's
// resistivity is the geometric mean of its readings. Well logs, the smooth
// model and the MT depth transforms are blocked by it.

#include <span>
#include <vector>

namespace zeva::inversion {

// A blocky model of a curve.
struct StepFit {
  std::vector<float> resistivity;  // one per layer, top down
  std::vector<float> bottomDepth;  // layers - 1 boundaries
  float rmsLog10 = 0.0f;           // RMS misfit of log10 resistivity
  bool empty() const { return resistivity.empty(); }
};

// Longest curve fitted reading by reading; longer curves are first merged
// into this many blocks of neighbouring readings, so the time stays bounded.
inline constexpr int kStepFitBlocks = 800;

// The step fit with at most `layers` steps (fewer when the curve has fewer
// readings, or when a further step would not lower the misfit) of readings
// at increasing depths with positive resistivities. A boundary lies halfway
// between the last reading of one layer and the first of the next.
StepFit fitSteps(std::span<const float> depth, std::span<const float> resistivity, int layers);

// The fewest steps, at most `maxLayers`, whose fit leaves an RMS misfit of at
// most log10(1 + tolerancePercent / 100): as the stripping of the DC
// estimation, a new layer is made only where the curve leaves the tolerance
// band of the layers found so far.
StepFit fitStepsWithin(std::span<const float> depth, std::span<const float> resistivity,
                       float tolerancePercent, int maxLayers);

}  // namespace zeva::inversion
