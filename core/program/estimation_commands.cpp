// The Calculate commands that make models other than by layered inversion and
// judge them: "Estimate &Layered Model", "Estimate &Smooth Model" with the
// "&Occam's Inversion" switch, "&Analyze Equivalence" of the layered model and
// the equivalence of the smooth model (a command without a menu entry).

#include "core/program/estimation_commands.h"

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

CommandResult EstimationCommands::estimateLayeredModel() {
  Sounding& S = state_.S();
  const Family family = familyOf(S.header.dataType);
  const bool seaFloor = forward::isSeaFloorMt(S.header.dataType);
  if (family == Family::Magnetotelluric && !seaFloor) {
    if (!inversion::EstimateMtModel(S, state_.toolkit())) return CommandStatus::Refused;
  } else if (family == Family::TimeDomainEm && forward::hasForwardModel(S)) {
    if (!inversion::EstimateTemModel(S, state_.toolkit())) return CommandStatus::Refused;
  } else if ((family == Family::MaxMin || family == Family::EmConductivity || seaFloor) &&
             forward::hasForwardModel(S)) {
    inversion::RunMonitor monitor(state_.toolkit());
    if (!inversion::EstimateFromSmoothModel(S, state_.current().settings,
                                            forward::chooseForwardRoutine(S, state_.toolkit()),
                                            monitor, kFitStatusPane))
      return CommandStatus::Failed;
  } else {
    // DC data; for the rest (TEM without a forward model, unknown types) this
    // refuses with its message.
    if (!inversion::EstimateModel(S, state_.toolkit())) return CommandStatus::Refused;
    if (S.NPK() >= 2) inversion::EstimateIpParameters(S, state_.toolkit());
  }
  state_.detectSegments();
  inversion::runForward(S, forward::chooseForwardRoutine(S, state_.toolkit()));
  S.layer.saved = kFalse;
  state_.view().showLayered = true;
  state_.requestAutoscale();
  state_.toolkit().requestRedraw();
  return CommandStatus::Done;
}

CommandResult EstimationCommands::estimateSmoothModel(const SmoothDepthRange& range) {
  Sounding& S = state_.S();
  Sounding& SM = state_.SM();
  S.shareDataWith(SM);
  SM.model.NPK = S.NPK();
  SM.layer.errorWeighting = S.layer.errorWeighting;
  SM.robust = S.robust;
  inversion::RunMonitor monitor(state_.toolkit());
  const forward::ForwardRoutine forward = forward::chooseForwardRoutine(SM, state_.toolkit());
  const inversion::SmoothResult result = inversion::EstimateSmoothModel(
      SM, state_.current().settings, forward, monitor, kFitStatusPane, {range.zmin, range.zmax});
  if (result.status == inversion::kSmoothTooFewLayers ||
      result.status == inversion::kSmoothBadDepthRange)
    return CommandStatus::Refused;
  if (result.status != 0) state_.logError(result.status);
  S.layer.saved = kFalse;
  state_.requestAutoscale();
  if (!result.improved && !result.interrupted && result.status == 0) {
    // A fit that went nowhere is no smooth model: said so, and not shown.
    state_.toolkit().requestRedraw();
    state_.toolkit().warning(inversion::kSmoothNotImproved);
    return CommandStatus::Failed;
  }
  state_.view().showSmooth = true;
  state_.toolkit().requestRedraw();
  return doneIf(result.status == 0 && result.improved);
}

CommandResult EstimationCommands::chooseSmoothDepthRange() {
  const std::optional<double> zmin =
      state_.toolkit().askNumber(kSmoothZminPrompt, smoothDepthRange_.zmin.value_or(0.0f));
  if (!zmin) return CommandStatus::Cancelled;
  const std::optional<double> zmax =
      state_.toolkit().askNumber(kSmoothZmaxPrompt, smoothDepthRange_.zmax.value_or(0.0f));
  if (!zmax) return CommandStatus::Cancelled;
  const bool fromData = *zmin == 0.0 && *zmax == 0.0;
  if (*zmin < 0.0 || *zmax < 0.0 || (!fromData && *zmax > 0.0 && *zmax <= *zmin)) {
    state_.toolkit().information(inversion::kSmoothBadRangeMessage);
    return CommandStatus::Refused;
  }
  smoothDepthRange_ = {};
  if (*zmin > 0.0) smoothDepthRange_.zmin = static_cast<float>(*zmin);
  if (*zmax > 0.0) smoothDepthRange_.zmax = static_cast<float>(*zmax);
  return CommandStatus::Done;
}

void EstimationCommands::toggleErrorWeighting() {
  Sounding& S = state_.S();
  S.layer.errorWeighting = logical(!isSet(S.layer.errorWeighting));
  S.layer.saved = kFalse;
  // The weighted fit of the model as it stands.
  if (isSet(S.layer.syntheticValid) && forward::hasForwardModel(S))
    inversion::runForward(S, forward::chooseForwardRoutine(S, state_.toolkit()));
  state_.toolkit().requestRedraw();
}

bool EstimationCommands::errorWeighting() const { return isSet(state_.S().layer.errorWeighting); }

bool EstimationCommands::occamMode() const { return isSet(state_.SM().model.LROUGH); }

void EstimationCommands::toggleOccam() {
  Sounding& SM = state_.SM();
  SM.model.LROUGH = logical(!isSet(SM.model.LROUGH));
  SM.layer.syntheticValid = kFalse;
  state_.toolkit().requestRedraw();
}

CommandResult EstimationCommands::analyzeEquivalence() {
  Sounding& S = state_.S();
  if (!resolutionAvailable(S)) {
    state_.toolkit().information(kInvertBeforeEquivalenceMessage);
    return CommandStatus::Refused;
  }
  inversion::RunMonitor monitor(state_.toolkit());
  inversion::AnalyzeEquivalence(S, forward::chooseForwardRoutine(S, state_.toolkit()), monitor);
  state_.view().showEquivalence = true;
  state_.requestAutoscale();
  state_.toolkit().requestRedraw();
  return CommandStatus::Done;
}

CommandResult EstimationCommands::analyzeSmoothEquivalence() {
  Sounding& SM = state_.SM();
  if (!resolutionAvailable(SM)) {
    state_.toolkit().information(kSmoothBeforeEquivalenceMessage);
    return CommandStatus::Refused;
  }
  inversion::RunMonitor monitor(state_.toolkit());
  inversion::AnalyzeEquivalence(SM, forward::chooseForwardRoutine(SM, state_.toolkit()), monitor);
  state_.S().layer.saved = kFalse;
  state_.view().showEquivalence = true;
  state_.requestAutoscale();
  state_.toolkit().requestRedraw();
  return CommandStatus::Done;
}

}  // namespace zeva::core
