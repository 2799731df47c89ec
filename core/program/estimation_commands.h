#pragma once
// The Calculate commands that make models other than by layered inversion
// and judge them: the estimates of the layered and the smooth model, the
// smooth model's depth range and Occam switch, the weighting by error bars,
// and the equivalence of the layered and the smooth model.

#include <string_view>

#include "core/program/command_result.h"
#include "core/program/program_state.h"
#include "core/program/program_types.h"

namespace zeva::core {

inline constexpr std::string_view kInvertBeforeEquivalenceMessage =
    "Please do inversion before analyzing equivalence";
inline constexpr std::string_view kSmoothBeforeEquivalenceMessage =
    "Please estimate smooth model before analyzing smooth equivalence";
inline constexpr std::string_view kSmoothZminPrompt =
    "Depth of the first smooth-model boundary (m), 0 from the data";
inline constexpr std::string_view kSmoothZmaxPrompt =
    "Depth the smooth-model grid reaches (m), 0 from the data";

class EstimationCommands {
 public:
  explicit EstimationCommands(ProgramState& state) : state_(state) {}

  // "Estimate &Layered Model": the starting model from DC data (with the IP
  // estimate for resistivity/IP models), from the Niblett transform of MT
  // data, or from the blocked Occam smooth model of MaxMin, EM conductivity
  // and sea-floor MT data; then segment detection and a forward run. Refused
  // for TEM data without a forward model and unknown types.
  CommandResult estimateLayeredModel();
  // "Estimate &Smooth Model": SM takes the data of S and gets a smooth model
  // by ridge regression or, in Occam mode, Occam's inversion, over the depth
  // range the data give or `range`. Failed when an inversion run failed or,
  // after a message, when the fit did not improve on its start (the smooth
  // model is then marked as not computed).
  CommandResult estimateSmoothModel(const SmoothDepthRange& range = {});
  // "Smooth Model &Depth Range...": asks for the depth of the first boundary
  // and the depth the grid reaches (0: from the data), kept for the smooth
  // models of the session; Refused unless 0 <= zmin < zmax.
  CommandResult chooseSmoothDepthRange();
  const SmoothDepthRange& smoothDepthRange() const { return smoothDepthRange_; }
  // "&Weight by Error Bars": the error-weighting switch of the sounding
  // (kept in its file); the fits of the inversions then count each value in
  // its error bars.
  void toggleErrorWeighting();
  bool errorWeighting() const;
  // "&Occam's Inversion": switches the smooth fit between Occam's inversion
  // and ridge regression (LROUGH of SM); the smooth synthetics go stale.
  void toggleOccam();
  bool occamMode() const;
  // "&Analyze Equivalence" on S, and the same on SM; each needs the
  // resolution matrix of its model and is refused with a message otherwise.
  CommandResult analyzeEquivalence();
  CommandResult analyzeSmoothEquivalence();

 private:
  ProgramState& state_;
  SmoothDepthRange smoothDepthRange_;
};

}  // namespace zeva::core
