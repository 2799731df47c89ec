// The Calculate commands that make models other than by layered inversion and
// judge them: "Estimate &Layered Model", "Estimate &Smooth Model" with the
// "&Occam's Inversion" switch, "&Analyze Equivalence" of the layered model and
// the equivalence of the smooth model (a command without a menu entry).

#include "core/program/program.h"
#include "core/record/data_type.h"
#include "forward/forward_choice.h"
#include "forward/mt_forward.h"
#include "inversion/equivalence.h"
#include "inversion/inversion_steps.h"
#include "inversion/layered_estimates.h"
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
  const Family family = familyOf(S.header.dataType);
  const bool seaFloor = forward::isSeaFloorMt(S.header.dataType);
  if (family == Family::Magnetotelluric && !seaFloor) {
    if (inversion::EstimateMtModel(S, toolkit_)) return false;
  } else if (family == Family::TimeDomainEm && forward::hasForwardModel(S)) {
    if (inversion::EstimateTemModel(S, toolkit_)) return false;
  } else if ((family == Family::MaxMin || family == Family::EmConductivity || seaFloor) &&
             forward::hasForwardModel(S)) {
    inversion::RunMonitor monitor(toolkit_);
    if (inversion::EstimateFromSmoothModel(S, current_.settings,
                                           forward::chooseForwardRoutine(S, toolkit_), monitor,
                                           kFitStatusPane))
      return false;
  } else {
    // DC data; for the rest (TEM without a forward model, unknown types) this
    // refuses with its message.
    if (inversion::EstimateModel(S, toolkit_)) return false;
    if (S.NPK() >= 2) inversion::EstimateIpParameters(S, toolkit_);
  }
  detectSegments();
  inversion::runForward(S, forward::chooseForwardRoutine(S, toolkit_));
  S.layer.saved = kFalse;
  view_.showLayered = true;
  autoscalePending_ = true;
  toolkit_.requestRedraw();
  return true;
}

bool Program::estimateSmoothModel(const inversion::SmoothDepthRange& range) {
  Sounding& S = current_.S;
  Sounding& SM = current_.SM;
  S.shareDataWith(SM);
  SM.model.NPK = S.NPK();
  SM.layer.errorWeighting = S.layer.errorWeighting;
  SM.robust = S.robust;
  inversion::RunMonitor monitor(toolkit_);
  const forward::ForwardRoutine forward = forward::chooseForwardRoutine(SM, toolkit_);
  const inversion::SmoothResult result = inversion::EstimateSmoothModel(
      SM, current_.settings, forward, monitor, kFitStatusPane, range);
  if (result.status == inversion::kSmoothTooFewLayers ||
      result.status == inversion::kSmoothBadDepthRange)
    return false;
  if (result.status != 0) logError(result.status);
  S.layer.saved = kFalse;
  autoscalePending_ = true;
  if (!result.improved && !result.interrupted && result.status == 0) {
    // A fit that went nowhere is no smooth model: said so, and not shown.
    toolkit_.requestRedraw();
    toolkit_.warning(inversion::kSmoothNotImproved);
    return false;
  }
  view_.showSmooth = true;
  toolkit_.requestRedraw();
  return result.status == 0 && result.improved;
}

bool Program::chooseSmoothDepthRange() {
  const std::optional<double> zmin =
      toolkit_.askNumber(kSmoothZminPrompt, smoothDepthRange_.zmin.value_or(0.0f));
  if (!zmin) return false;
  const std::optional<double> zmax =
      toolkit_.askNumber(kSmoothZmaxPrompt, smoothDepthRange_.zmax.value_or(0.0f));
  if (!zmax) return false;
  const bool fromData = *zmin == 0.0 && *zmax == 0.0;
  if (*zmin < 0.0 || *zmax < 0.0 || (!fromData && *zmax > 0.0 && *zmax <= *zmin)) {
    toolkit_.information(inversion::kSmoothBadRangeMessage);
    return false;
  }
  smoothDepthRange_ = {};
  if (*zmin > 0.0) smoothDepthRange_.zmin = static_cast<float>(*zmin);
  if (*zmax > 0.0) smoothDepthRange_.zmax = static_cast<float>(*zmax);
  return true;
}

void Program::toggleErrorWeighting() {
  Sounding& S = current_.S;
  S.layer.errorWeighting = logical(!isSet(S.layer.errorWeighting));
  S.layer.saved = kFalse;
  // The weighted fit of the model as it stands.
  if (isSet(S.layer.syntheticValid) && forward::hasForwardModel(S))
    inversion::runForward(S, forward::chooseForwardRoutine(S, toolkit_));
  toolkit_.requestRedraw();
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
  autoscalePending_ = true;
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
  autoscalePending_ = true;
  toolkit_.requestRedraw();
  return true;
}

}  // namespace zeva::core
