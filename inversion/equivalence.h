#pragma once
// Equivalence analysis: after a layered model has been fitted, how far can
// each free parameter be moved, up and down, while the others compensate,
// before the fit becomes 20 % worse than the best fit? The resolution matrix
// of the last inversion iteration sets the size of the first trial step and
// the direction in which the other parameters compensate (the column of the
// parameter in R, as in the linearised equivalence analysis of Inman, 1975,
// Geophysics 40, 798-817). Each search brackets the threshold with three
// samples and interpolates it with a Lagrange polynomial.

#include <span>
#include <string_view>

#include "core/record/sounding.h"
#include "forward/forward_routine.h"
#include "inversion/run_monitor.h"

namespace zeva::inversion {

inline constexpr std::string_view kEquivalenceProgressLabel = "Analyzing Equivalence...";

// The equivalent models fit at most this much worse than the best fit.
inline constexpr float kEquivalenceThresholdRatio = 1.2f;

// The value at x0 of the Lagrange polynomial through the points (x[i], y[i]);
// a node's own y exactly when x0 is a node.
float LagrangeValue(std::span<const float> x, std::span<const float> y, float x0);

// Element (i, j) (zero-based) of the packed resolution matrix: the upper
// triangle column by column, used as symmetric.
float resolutionElement(const core::Sounding& S, int i, int j);

// The initial ratio of the upward search of a parameter with resolution r:
// 1.44 when well resolved (r >= 0.98), 10 when hardly resolved (r < 0.1),
// 1.2 / sqrt(r) between.
float initialSearchRatio(float r);

// Boundary depths of the model in PAR (NLAYER - 1 values): the depth slots
// themselves in depths mode, otherwise running sums of the thicknesses.
std::vector<float> boundaryDepths(const core::Sounding& S, std::span<const float> PAR);

// One search along the compensation line of parameter j (zero-based) from
// the best-fit model in PAR, with initial ratio F (changed by the search), to
// the fit `threshold` within `tolerance`. Leaves the equivalent model in PAR
// and its fit in PCTERR (in the weighted fit under error weighting). False
// when the user interrupted; PAR is then the model of the move under way.
bool EquivalenceLimit(int j, float& F, float threshold, float tolerance, core::Sounding& S,
                      const forward::ForwardRoutine& forward, RunMonitor& monitor);

struct EquivalenceResult {
  bool completed = false;  // the searches of all free parameters were made
  bool interrupted = false;
  int searches = 0;
  int forwardRuns = 0;
};

// The whole analysis on S (the working or the smooth instance): two searches
// per free parameter, the equivalent models and their fits in EQUIVA and
// ERER, the parameter ranges in PARMIN and PARMAX, the boundary ranges in
// ZNMIN and ZNMAX and the deepest equivalent depth in layer-header word 4.
// Needs a resolution matrix of the current model; without one nothing is
// done. The best-fit model and its synthetics are restored at the end.
EquivalenceResult AnalyzeEquivalence(core::Sounding& S, const forward::ForwardRoutine& forward,
                                     RunMonitor& monitor);

}  // namespace zeva::inversion
