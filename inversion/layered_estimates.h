#pragma once
// Starting layered models for the electromagnetic families, as blocky fits of
// a resistivity-depth curve (inversion/step_fit.h). MT data give the curve
// directly through the Niblett depth transform of apparent resistivity and
// phase (the Bostick transform without phases); TEM data through the
// late-time apparent resistivity of each gate placed at a depth of its time.
// The MaxMin and EM
// conductivity families, and sea-floor MT, whose data have no such
// transform, take the curve of their Occam smooth model. As in the DC
// estimation, the number of layers is an outcome: the fewest steps that
// follow the curve within a tolerance band.

#include <vector>

#include "core/record/record_headers.h"
#include "core/record/sounding.h"
#include "forward/forward_routine.h"
#include "inversion/run_monitor.h"
#include "inversion/step_fit.h"

namespace zeva::inversion {

// Width of the tolerance band (percent) and the most layers an estimate makes.
inline constexpr float kBlockyTolerancePercent = 10.0f;
inline constexpr int kMaxEstimatedLayers = 8;

// The blocky model of a resistivity-depth curve (depths increasing), the
// curve first resampled at six samples per decade of depth so that every
// decade counts alike.
StepFit blockCurve(const std::vector<float>& depth, const std::vector<float>& resistivity);

// The estimate from MT data (apparent resistivity and phase against
// frequency). True when the model was estimated; false when no estimate
// could be made: the message has then been shown and the model is unchanged.
[[nodiscard]] bool EstimateMtModel(core::Sounding& S, ui::Toolkit& toolkit);

// The estimate from TEM data: the late-time apparent resistivity of the
// gates (from voltages in the stored unit), each at half the diffusion depth
// sqrt(2 t rho_a / mu0) of its time (the depth at which the late-time curve
// of a layered earth turns, found on synthetic soundings), read as a
// resistivity-depth curve and blocked. True when the model was estimated;
// false when no estimate could be made: the message has then been shown and
// the model is unchanged.
[[nodiscard]] bool EstimateTemModel(core::Sounding& S, ui::Toolkit& toolkit);

// The estimate from the Occam smooth model of S's data, fitted in a smooth
// instance of its own with `forward` under `settings` (the smooth model of
// the program is left alone). True when the model was estimated.
[[nodiscard]] bool EstimateFromSmoothModel(core::Sounding& S,
                                           const core::InversionSettings& settings,
                                           const forward::ForwardRoutine& forward,
                                           RunMonitor& monitor, int fitPane);

}  // namespace zeva::inversion
