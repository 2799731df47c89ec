#pragma once
// The search over the damping factor of a ridge-regression step (Marquardt's
// compromise between the Gauss-Newton step and steepest descent). A table of
// four dampings, spaced evenly in log between the largest and the smallest,
// is tried from the small end; the search then moves or refines the table
// around the best damping until the fits around it no longer fall steeply.
// Each trial is a full forward run, so the search makes two to seven.

#include <functional>
#include <optional>

namespace zeva::inversion {

// Runs one trial step with the given damping and returns its fit (smaller is
// better), or nothing when the user interrupted during the trial.
using TrialFit = std::function<std::optional<float>(float damping)>;

struct DampingSearchResult {
  float damping = 0.0f;  // the chosen damping
  int trials = 0;        // trial steps made
  bool interrupted = false;
};

// `lambdaMax` and `lambdaMin` bound the first table; `startFit` is the fit of
// the model before the step. With `rough` (a roughness penalty instead of
// plain damping) the search never stops at the smallest damping but keeps
// lowering it by factors of ten. When lambdaMin >= lambdaMax no trial is made
// and lambdaMax is chosen.
DampingSearchResult searchDamping(float lambdaMax, float lambdaMin, float startFit, bool rough,
                                  const TrialFit& trial);

}  // namespace zeva::inversion
