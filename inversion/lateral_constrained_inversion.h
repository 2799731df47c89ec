#pragma once
// Laterally constrained inversion of a profile: the layered models of the
// soundings along a line, all of one family and with the same number of
// layers, are fitted together. Besides each sounding's own data misfit the
// fit penalises the differences of log10 of every model parameter
// (resistivities, IP parameters, thicknesses or depths) between neighbouring
// stations, so that a layer found clearly at one station carries over to
// its neighbours where their data alone leave it poorly resolved.
//
// Each iteration takes the derivatives of every sounding (one forward run per
// free parameter, as the single-sounding inversion takes them), forms one
// sparse system for the whole profile,
//   (J^T J + L^T L + damping I) step = J^T r - L^T L log m,
// with J block-diagonal (each sounding's own Jacobian), L the weighted
// differences of neighbours and log m the log10 parameters, and solves it by
// sparse Cholesky factorisation. The damping is searched as in the
// single-sounding inversion, each trial judged by the total fit: the
// weighted data residuals and the lateral differences of all stations
// together. Fixed parameters stay fixed; a parameter with limits stays
// within them.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/record/record_headers.h"
#include "core/record/sounding.h"
#include "forward/forward_routine.h"
#include "inversion/run_monitor.h"

namespace zeva::inversion {

// Status code of a profile the inversion cannot take together (see
// lateralProfileProblem).
inline constexpr int kInconsistentProfile = 203;

// The lateral weight when the user gives none. With it a difference of one
// decade between neighbours at the mean spacing costs as much as a misfit of
// one decade in one reading; a profile of noisy soundings keeps its real
// lateral changes and loses the scatter of its independent inversions.
inline constexpr float kDefaultLateralWeight = 1.0f;

struct LateralSettings {
  float lateralWeight = kDefaultLateralWeight;
  core::InversionSettings control;  // improvement ratio, fit floor, iteration limit
};

// Why the soundings cannot be inverted together: fewer than two, not all of
// one family, layered models of different layer counts, parameter kinds or
// geometry (thicknesses against depths), or a sounding without data or
// whose arrays disagree with its counts. Empty when they can.
std::optional<std::string> lateralProfileProblem(std::span<const core::Sounding> soundings);

// The weight of the tie between stations k and k+1 at the given distances
// along the profile: weight * (mean spacing / spacing), so that close
// stations are tied more firmly than distant ones. Spacings below a tenth of
// the mean count as a tenth (coincident stations); a profile of zero length
// has unit spacing.
std::vector<float> lateralTieWeights(std::span<const float> distances, float weight);

struct LateralResult {
  int status = 0;  // 0, kInconsistentProfile or a code of layered_inversion.h
  bool interrupted = false;
  int iterations = 0;
  // The total fit, sqrt((sum of squared weighted data residuals + sum of
  // squared weighted lateral differences) / number of data values), of the
  // starting models and of the models kept.
  float startFit = 0.0f;
  float fit = 0.0f;
};

// Inverts the soundings together, in place: soundings[k] at distances[k]
// along the profile, neighbours consecutive in this order, forwards[k] the
// forward routine of soundings[k]. Iterates until the total fit improves by
// less than control.improvementRatio, every sounding fits within
// control.fitFloorPercent, or control.iterationLimit iterations. Shows the
// mean fit in status pane `pane` after each iteration. The derivatives and
// trial runs of the soundings are made on the worker pool when their
// routines run on workers. An interrupt keeps the best models found so far.
// Each sounding ends with its synthetics, fit (PCTERR) and model.
LateralResult InvertLaterally(std::span<core::Sounding> soundings, std::span<const float> distances,
                              std::span<const forward::ForwardRoutine> forwards,
                              const LateralSettings& settings, RunMonitor& monitor, int pane);

}  // namespace zeva::inversion
