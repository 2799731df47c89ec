#pragma once
// How rough a profile of layered models is from station to station: each
// model is sampled on a common grid of depths, and the measure is the RMS
// difference of log10 resistivity between neighbouring stations over the
// grid. Interfaces that wander from station to station and layer
// resistivities that jump both raise it; a profile of identical models has
// none. The laterally constrained inversion lowers it, the section pictures
// and the profile summaries report it.

#include <span>
#include <vector>

#include "core/record/sounding.h"

namespace zeva::forward {

// A layered model as resistivities from the top down (the last the
// half-space) and the bottom depths of all layers but the half-space.
struct LayeredColumn {
  std::vector<float> resistivity;
  std::vector<float> bottomDepth;
};

// The layered model of S, from thicknesses or bottom depths alike.
LayeredColumn layeredColumnOf(const core::Sounding& S);

// Log10 of the resistivity of the column at depth z (the layer whose top is
// at or above z and whose bottom is below it).
float log10ResistivityAt(const LayeredColumn& column, float z);

// `count` depths spaced evenly in log from `top` to `bottom` (both > 0).
std::vector<float> logDepthGrid(float top, float bottom, int count);

// A grid that covers the interfaces of every column given: from half the
// shallowest interface to twice the deepest, 50 depths. Empty when no column
// has an interface.
std::vector<float> roughnessDepthGrid(std::span<const LayeredColumn> columns);

// sqrt(mean over neighbouring pairs (k, k+1) and depths z of
// (log10 rho_k(z) - log10 rho_k+1(z))^2); 0 with fewer than two columns or
// no depths.
float lateralRoughness(std::span<const LayeredColumn> columns, std::span<const float> depths);

}  // namespace zeva::forward
