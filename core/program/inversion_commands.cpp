// The Calculate commands of the layered inversion ("&Single Iteration",
// "&Multiple Iterations" and their variants for resistivity only and IP only)
// and "&Transfer Synthetic to Data", which turns the synthetics of the model
// into observed data with Gaussian noise, for testing what the data resolve.

#include "core/program/inversion_commands.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/record/data_type.h"
#include "files/geometric_factor.h"
#include "forward/forward_choice.h"
#include "inversion/inversion_steps.h"
#include "inversion/layered_inversion.h"

namespace zeva::core {

namespace {

// The settings of the multiple-iteration runs restricted to resistivity or
// to IP: few iterations, since the other half of the model is held.
constexpr InversionSettings kRestrictedRunSettings{0.98f, 1.0f, 3};

std::size_t idx(int value) { return static_cast<std::size_t>(value); }

// Apparent resistivities and TEM voltages exist only as positive numbers.
// Their noise is applied to the logarithm, exp(p/100 g): to first order the
// same as 1 + (p/100) g, but never zero or negative however large p is.
// Columns that may change sign (IP, phases, MaxMin and conductivity
// readings) take the plain factor.
bool positiveOnly(const DataHeader& header, int component) {
  const Family family = familyOf(header.dataType);
  return component == 0 && (family == Family::DcResistivity || family == Family::Magnetotelluric ||
                            family == Family::TimeDomainEm);
}

float noiseFactor(float percent, float deviate, bool positive) {
  const float spread = (percent / 100.0f) * deviate;
  return positive ? std::exp(spread) : 1.0f + spread;
}

// A DC sounding entered as voltage and current keeps them consistent with
// its new resistivities: the voltage follows from rho = K V / I.
void recomputeVoltages(Sounding& S) {
  SoundingData& d = S.data();
  if (!isSet(S.header.voltageAndCurrent) || d.VOLTS.cols() < 3 ||
      familyOf(S.header.dataType) != Family::DcResistivity)
    return;
  for (std::size_t i = 0; i < d.VOLTS.rows(); ++i) {
    const float mn = d.TIME.cols() >= 2 ? d.TIME(i, 1) : 0.0f;
    const auto k = static_cast<float>(
        files::geometricFactor(S.header.dataType, d.TIME(i, 0), mn, S.header.dipoleLength));
    if (k != 0.0f) d.VOLTS(i, 1) = d.VOLTS(i, 0) * d.VOLTS(i, 2) / k;
  }
}

// Holds the parameters and data columns that a restricted run must leave
// alone fixed and masked for the run, and puts the user's fixes and masks
// back when it goes.
class ScopeRestriction {
 public:
  ScopeRestriction(Sounding& S, InversionScope scope)
      : S_(S), fixed_(S.M.LFIX), mask_(S.data().LMASK), maskingOn_(S.header.maskingOn) {
    if (scope == InversionScope::All) return;
    active_ = true;
    const int nl = S.NLAYER(), layerParameters = S.NPK() * nl;
    const bool ipOnly = scope == InversionScope::IpOnly;
    for (int j = 0; j < S.NPAR() && idx(j) < S.M.LFIX.size(); ++j) {
      const bool ipParameter = j >= nl && j < layerParameters;
      if (ipParameter != ipOnly) S.M.LFIX[idx(j)] = kTrue;
    }
    Matrix<Logical>& mask = S.data().LMASK;
    for (std::size_t c = 0; c < mask.cols(); ++c) {
      const bool ipColumn = c >= 1;
      if (ipColumn == ipOnly) continue;
      for (Logical& flag : mask.column(c)) flag = kTrue;
    }
    S.header.maskingOn = kTrue;
  }
  ~ScopeRestriction() {
    if (!active_) return;
    S_.M.LFIX = fixed_;
    S_.data().LMASK = mask_;
    S_.header.maskingOn = maskingOn_;
  }
  ScopeRestriction(const ScopeRestriction&) = delete;
  ScopeRestriction& operator=(const ScopeRestriction&) = delete;

 private:
  Sounding& S_;
  std::vector<Logical> fixed_;
  Matrix<Logical> mask_;
  Logical maskingOn_;
  bool active_ = false;
};

}  // namespace

CommandResult InversionCommands::inversionPossible(InversionScope scope) {
  Sounding& S = state_.S();
  if (S.NDATA() < 1 || S.NLAYER() < 1) {
    state_.toolkit().information(kNoDataOrModelMessage);
    return CommandStatus::Refused;
  }
  if (!forward::hasForwardModel(S)) {
    state_.toolkit().information(forward::kNoForwardModelMessage);
    return CommandStatus::Refused;
  }
  if (scope == InversionScope::IpOnly && (S.NPK() < 2 || S.NCOMP() < 2)) {
    state_.toolkit().information(kNoIpMessage);
    return CommandStatus::Refused;
  }
  return CommandStatus::Done;
}

CommandValue<InversionRun> InversionCommands::runInversion(InversionScope scope, bool many) {
  InversionRun outcome;
  Sounding& S = state_.S();
  S.layer.equivalenceValid = kFalse;
  if (const CommandResult possible = inversionPossible(scope); !possible) return possible;
  inversion::RunMonitor monitor(state_.toolkit());
  {
    ScopeRestriction restriction(S, scope);
    const forward::ForwardRoutine forward = forward::chooseForwardRoutine(S, state_.toolkit());
    if (many) {
      const InversionSettings& control =
          scope == InversionScope::All ? state_.current().settings : kRestrictedRunSettings;
      const inversion::InvertManyResult run =
          inversion::InvertMany(S, forward, control, monitor, kFitStatusPane);
      outcome = {run.status, run.interrupted, run.iterations};
    } else {
      outcome.status = inversion::InvertOnce(S, forward, monitor).status;
      outcome.iterations = 1;
      outcome.interrupted = monitor.interrupted();
    }
  }
  // The fit of a restricted run covers only the columns it fitted; with the
  // masks back, it is taken again over all the data.
  if (scope != InversionScope::All)
    inversion::runForward(S, forward::chooseForwardRoutine(S, state_.toolkit()));
  if (!many || scope != InversionScope::All)
    state_.toolkit().setStatus(kFitStatusPane, inversion::fitStatusText(S.layer.PCTERR));
  if (outcome.status != 0) state_.logError(outcome.status);
  S.layer.saved = kFalse;
  state_.view().showLayered = true;
  state_.requestAutoscale();
  state_.toolkit().requestRedraw();
  return outcome;
}

CommandValue<InversionRun> InversionCommands::singleIteration(InversionScope scope) {
  return runInversion(scope, false);
}

CommandValue<InversionRun> InversionCommands::multipleIterations(InversionScope scope) {
  return runInversion(scope, true);
}

void InversionCommands::seedTransferNoise(std::int32_t seed) {
  transferNoise_ = GaussianDeviate(seed);
}

CommandResult InversionCommands::transferSyntheticToData() {
  Sounding& S = state_.S();
  const bool synthetics = S.SVOLT.rows() == idx(S.NDATA()) &&
                          S.data().VOLTS.rows() == idx(S.NDATA()) &&
                          S.SVOLT.cols() >= idx(std::min(S.NCOMP(), 2)) &&
                          S.data().VOLTS.cols() >= idx(std::min(S.NCOMP(), 2));
  if (!isSet(S.layer.syntheticValid) || !synthetics) {
    state_.toolkit().information(kSyntheticNotValidMessage);
    return CommandStatus::Refused;
  }
  const std::optional<double> noise = state_.toolkit().askNumber(kNoisePrompt, 0.0);
  if (!noise) return CommandStatus::Cancelled;
  const float p = static_cast<float>(*noise);

  std::string name(S.header.name.padded().substr(0, 22));
  name.erase(name.find_last_not_of(' ') + 1);
  S.header.name.assign(name + "*");

  // Two draws per reading whatever the number of columns, so that the noise
  // of a reading does not depend on the data type. Only the columns the
  // synthetics have are written.
  Matrix<float>& volts = S.data().VOLTS;
  const int columns = std::min(S.NCOMP(), 2);
  for (int i = 0; i < S.NDATA(); ++i) {
    const float f1 = noiseFactor(p, transferNoise_.next(), positiveOnly(S.header, 0));
    const float f2 = noiseFactor(p, transferNoise_.next(), positiveOnly(S.header, 1));
    volts(idx(i), 0) = f1 * S.SVOLT(idx(i), 0);
    if (columns >= 2) volts(idx(i), 1) = f2 * S.SVOLT(idx(i), 1);
  }
  recomputeVoltages(S);
  S.layer.syntheticValid = kFalse;
  S.layer.resolutionValid = kFalse;
  S.layer.equivalenceValid = kFalse;
  S.layer.saved = kFalse;
  state_.toolkit().requestRedraw();
  return CommandStatus::Done;
}

}  // namespace zeva::core
