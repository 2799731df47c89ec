// The Calculate commands that make models other than by layered inversion and
// judge them: "Estimate &Layered Model", "Estimate &Smooth Model" with the
// "&Occam's Inversion" switch, "&Analyze Equivalence" of the layered model and
// the equivalence of the smooth model (a command without a menu entry).

#include "core/program/program.h"
#include "forward/forward_choice.h"
#include "inversion/equivalence.h"
#include "inversion/inversion_steps.h"
#include "inversion/model_estimation.h"
#include "inversion/run_monitor.h"
#include "inversion/smooth_model.h"

namespace zeva::core {

namespace {

bool resolutionAvailable(const Sounding& s) {
  const auto npar = static_cast<std::size_t>(std::max(0, s.NPAR()));
  return s.hasModel() && isSet(s.layer.resolutionValid) && s.RESOLV.size() >= npar * (npar + 1) / 2;
}

}  // namespace

bool Program::estimateLayeredModel() {
  Sounding& S = current_.S;
  if (inversion::EstimateModel(S, toolkit_)) return false;
  if (S.NPK() >= 2) inversion::EstimateIpParameters(S, toolkit_);
  detectSegments();
  inversion::runForward(S, forward::chooseForwardRoutine(S, toolkit_));
  S.layer.saved = kFalse;
  view_.showLayered = true;
  autoscalePending = true;
  toolkit_.requestRedraw();
  return true;
}

bool Program::estimateSmoothModel() {
  Sounding& S = current_.S;
  Sounding& SM = current_.SM;
  S.shareDataWith(SM);
  SM.model.NPK = S.NPK();
  SM.layer.errorWeighting = S.layer.errorWeighting;
  inversion::RunMonitor monitor(toolkit_);
  const forward::ForwardRoutine forward = forward::chooseForwardRoutine(SM, toolkit_);
  const inversion::SmoothResult result =
      inversion::EstimateSmoothModel(SM, current_.settings, forward, monitor, kFitStatusPane);
  if (result.status == inversion::kSmoothTooFewLayers) return false;
  if (result.status != 0) logError(result.status);
  S.layer.saved = kFalse;
  view_.showSmooth = true;
  autoscalePending = true;
  toolkit_.requestRedraw();
  return result.status == 0;
}

void Program::toggleOccam() {
  Sounding& SM = current_.SM;
  SM.model.LROUGH = logical(!isSet(SM.model.LROUGH));
  SM.layer.syntheticValid = kFalse;
  toolkit_.requestRedraw();
}

bool Program::analyzeEquivalence() {
  Sounding& S = current_.S;
  if (!resolutionAvailable(S)) {
    toolkit_.information(kInvertBeforeEquivalenceMessage);
    return false;
  }
  inversion::RunMonitor monitor(toolkit_);
  inversion::AnalyzeEquivalence(S, forward::chooseForwardRoutine(S, toolkit_), monitor);
  view_.showEquivalence = true;
  autoscalePending = true;
  toolkit_.requestRedraw();
  return true;
}

bool Program::analyzeSmoothEquivalence() {
  Sounding& SM = current_.SM;
  if (!resolutionAvailable(SM)) {
    toolkit_.information(kSmoothBeforeEquivalenceMessage);
    return false;
  }
  inversion::RunMonitor monitor(toolkit_);
  inversion::AnalyzeEquivalence(SM, forward::chooseForwardRoutine(SM, toolkit_), monitor);
  S().layer.saved = kFalse;
  view_.showEquivalence = true;
  autoscalePending = true;
  toolkit_.requestRedraw();
  return true;
}

}  // namespace zeva::core
