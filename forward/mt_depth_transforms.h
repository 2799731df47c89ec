#pragma once
// Depth transforms of MT data: apparent resistivity and phase against
// frequency turned into resistivity against depth. The Bostick transform
// (slope form; Bostick, 1977) uses the slope of the apparent-resistivity
// curve, the Niblett transform (phase form; Niblett and Sayn-Wittgenstein,
// 1960, with Goldberg and Rotstein's phase approximation) the phase. The plots
// draw both; the estimation of a layered MT model blocks the Niblett curve.

#include <vector>

#include "core/record/sounding.h"

namespace zeva::forward {

// Pairs (resistivity, depth) at increasing depths.
struct DepthCurve {
  std::vector<float> resistivity, depth;
};

// From TIME(:,1) frequencies, VOLTS(:,1) apparent resistivities and (Niblett)
// VOLTS(:,2) phases in degrees; readings masked in column 1 are skipped
// unless `includeMasked`.
DepthCurve BostickModel(const core::Sounding& S, bool includeMasked);
DepthCurve NiblettModel(const core::Sounding& S, bool includeMasked);

}  // namespace zeva::forward
