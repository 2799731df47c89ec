#pragma once
// Layered inversion: damped least squares (ridge regression, after Marquardt
// and after Inman's application to resistivity soundings) in the logarithms
// of the model parameters. InvertOnce makes one iteration on a sounding with
// the forward routine of its data type; InvertMany repeats iterations until
// the fit stops improving, reaches a floor or meets an iteration limit.
// Progress, interrupt, status text and redraws go through the toolkit of the
// RunMonitor the caller owns.

#include <string>

#include "core/record/record_headers.h"
#include "core/record/sounding.h"
#include "forward/forward_routine.h"
#include "inversion/run_monitor.h"

namespace zeva::inversion {

using forward::ForwardRoutine;

// Status codes of an iteration.
inline constexpr int kWorkArrayAllocationFailed = 201;  // the work arrays could not be had
inline constexpr int kInconsistentSounding = 202;  // array sizes disagree with the header counts

// Texts of the progress dialog.
inline constexpr std::string_view kDerivativeLabel = "Calculating Partial Derivatives...";
inline constexpr std::string_view kSearchLabel = "Solve and test...";

struct IterationResult {
  int status = 0;        // 0, or one of the codes above; the model is then unchanged
  float damping = 0.0f;  // the damping chosen by the search (0 when no trial was made)
  int trials = 0;        // trial steps of the damping search
  // The fit measure of the starting model (under its own weights in a robust fit).
  float startFit = 0.0f;
};

// One iteration on S: starting forward run, residuals, derivatives (one
// forward run per free parameter), normal equations, the damping search, the
// best trial adopted, the resolution matrix stored, a last forward run.
// An interrupt (monitor.interrupted() afterwards) stops the iteration: during
// the derivatives the model is left as it was, during the search it keeps the
// trial under way, after the search it keeps the adopted model; the
// resolution matrix is then not stored, and the synthetics are recomputed so
// that they belong to the model kept.
IterationResult InvertOnce(core::Sounding& S, const ForwardRoutine& forward, RunMonitor& monitor);

struct InvertManyResult {
  int status = 0;  // status of the iteration that stopped the run
  bool interrupted = false;
  int iterations = 0;  // iterations made (an interrupted one included)
};

// The multiple-iteration driver: takes the time mark, runs the forward model,
// shows the fit in status pane `pane`, iterates under `control` (improvement
// ratio, fit floor in percent, iteration limit) with a status text and a
// redraw request after each iteration, and runs the forward model once more.
InvertManyResult InvertMany(core::Sounding& S, const ForwardRoutine& forward,
                            const core::InversionSettings& control, RunMonitor& monitor, int pane);

// The status-bar text of a fit in percent: 8 characters, 2 decimals, then
// "% RMS" (for example "    3.05% RMS").
std::string fitStatusText(float pctErr);

}  // namespace zeva::inversion
