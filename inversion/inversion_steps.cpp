// Residuals, derivatives and the forward-run wrapper of the layered inversion.

#include "inversion/inversion_steps.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

#include "core/record/data_type.h"
#include "forward/mt_forward.h"
#include "forward/tem_fit.h"
#include "inversion/fit_weights.h"
#include "inversion/layered_inversion.h"
#include "inversion/worker_pool.h"
#include "ui/toolkit/message_collector.h"

namespace zeva::inversion {

namespace {

using core::isSet;
using core::Sounding;

constexpr float kPerturbUp = 1.1f;
constexpr float kPerturbDown = 0.9f;
constexpr float kFactorUp = 24.158857f;     // 1 / log10(1.1)
constexpr float kFactorDown = -21.854300f;  // 1 / log10(0.9)

std::size_t idx(int value) { return static_cast<std::size_t>(value); }

}  // namespace

ResidualForm residualForm(const Sounding& S, int c) {
  const auto& type = S.header.dataType;
  if (core::isMaxMin(type)) return ResidualForm::Absolute;
  if (core::isTem(type)) return ResidualForm::Transient;
  if (core::isMagnetotelluric(type) && c == 1) return ResidualForm::OffsetPhase;
  return isSet(S.data().LOGDAT[idx(c)]) ? ResidualForm::Log10 : ResidualForm::Relative;
}

bool residualOf(const Sounding& S, int i, int c, float& d) {
  const float o = S.data().VOLTS(idx(i), idx(c));
  const float s = S.SVOLT(idx(i), idx(c));
  if (S.masked(i, c) || o >= forward::kMissingReading || o == 0.0f || s == 0.0f) return false;
  switch (residualForm(S, c)) {
    case ResidualForm::Log10:
      d = std::log10(std::fabs(o / s));
      break;
    case ResidualForm::Transient:
      d = -forward::transientMisfit(s, o);
      break;
    case ResidualForm::Relative:
      d = (o - s) / std::fabs(o);
      break;
    case ResidualForm::Absolute:
      d = o - s;
      break;
    case ResidualForm::OffsetPhase:
      d = std::log10((std::fabs(o) + forward::kMtPhaseOffset) /
                     (std::fabs(s) + forward::kMtPhaseOffset));
      break;
  }
  return !std::isnan(d);
}

float residualDerivative(const Sounding& S, int i, int c, float s0, float s1, float F) {
  float value = 0.0f;
  switch (residualForm(S, c)) {
    case ResidualForm::Log10:
    case ResidualForm::Transient: {
      const float ratio = s1 / s0;
      value = ratio == 0.0f ? 0.0f : F * std::log10(std::fabs(ratio));
      break;
    }
    case ResidualForm::Relative: {
      // The residual divides by the observed value; without a usable one the
      // row takes no part in the fit, and the mean synthetic scales it.
      const float o = S.data().VOLTS(idx(i), idx(c));
      const bool usable = o != 0.0f && std::fabs(o) < forward::kMissingReading;
      value = usable ? F * (s1 - s0) / std::fabs(o)
                     : 2.0f * F * (s1 - s0) / (std::fabs(s0) + 1.0e-20f + std::fabs(s1));
      break;
    }
    case ResidualForm::Absolute:
      value = F * (s1 - s0);
      break;
    case ResidualForm::OffsetPhase:
      value = F * std::log10((std::fabs(s1) + forward::kMtPhaseOffset) /
                             (std::fabs(s0) + forward::kMtPhaseOffset));
      break;
  }
  // A synthetic of zero or infinity at the start gives no usable slope.
  return std::isfinite(value) ? value : 0.0f;
}

float fitMeasure(const Sounding& S) {
  return weightedFitInUse(S) ? S.layer.weightedFit : S.layer.RMS;
}

namespace {

template <typename Run>
void runWithWeightedFit(Sounding& S, const Run& run) {
  run();
  if (!weightedFitInUse(S)) return;
  S.layer.weightedFit = S.layer.RMS >= forward::kRefusedFit || std::isnan(S.layer.RMS)
                            ? forward::kRefusedFit
                            : weightedFit(S);
}

}  // namespace

void runForward(Sounding& S, const forward::ForwardRoutine& forward) {
  runWithWeightedFit(S, [&] { forward(S); });
}

void runForward(Sounding& S, const forward::ForwardRoutine& forward, ui::Toolkit& messages) {
  runWithWeightedFit(S, [&] { forward(S, messages); });
}

bool arraysMatchCounts(const Sounding& S) {
  const auto ndata = idx(S.NDATA()), ncomp = idx(S.NCOMP());
  const core::SoundingData& d = S.data();
  if (S.NDATA() < 0 || S.NCOMP() < 0 || S.NLAYER() < 0 || S.NPK() < 1) return false;
  if (d.VOLTS.rows() != ndata || d.VOLTS.cols() < ncomp) return false;
  for (std::size_t rows : {S.SVOLT.rows(), d.UVOLTS.rows(), d.LMASK.rows()})
    if (rows != ndata) return false;
  for (std::size_t cols : {S.SVOLT.cols(), d.UVOLTS.cols(), d.LMASK.cols()})
    if (cols < ncomp) return false;
  if (d.LOGDAT.size() < ncomp) return false;
  const int npar = S.NPAR();
  if (npar < S.NPK() * S.NLAYER()) return false;
  const core::LayeredModel& m = S.M;
  for (std::size_t size :
       {m.PAR.size(), m.PARU.size(), m.PARD.size(), m.LFIX.size(), m.LMTP.size()})
    if (size < idx(npar)) return false;
  return true;
}

void computeResiduals(const Sounding& S, std::span<float> r) {
  const std::vector<float> weights = residualWeights(S);
  std::size_t k = 0;
  for (int c = 0; c < S.NCOMP(); ++c) {
    for (int i = 0; i < S.NDATA(); ++i, ++k) {
      float d = 0.0f;
      r[k] = residualOf(S, i, c, d) ? d * weights[k] : 0.0f;
    }
  }
}

Perturbation derivativePerturbation(const Sounding& S, int j) {
  const std::vector<float>& par = S.M.PAR;
  const float p = par[idx(j)];
  const int firstDepth = S.NPK() * S.NLAYER();
  const bool innerDepth = isSet(S.model.depths) && j >= firstDepth && j < S.NPAR() - 1;
  if (!innerDepth || kPerturbUp * p < par[idx(j + 1)]) return {kPerturbUp * p, kFactorUp};

  // The next depth lies within 10 % below: perturbing up would make the
  // depths cross, so go down, or towards a neighbour when both are close.
  if (j == firstDepth || par[idx(j - 1)] < kPerturbDown * p) return {kPerturbDown * p, kFactorDown};
  const float above = par[idx(j - 1)], below = par[idx(j + 1)];
  const float value = above / p <= p / below ? std::sqrt(below * p) : std::sqrt(above * p);
  return {value, 1.0f / std::log10(std::fabs(value / p) + 1.0e-30f)};
}

void applyLogStep(Sounding& S, std::span<const float> start, std::span<const float> step) {
  const int layerParameters = S.NPK() * S.NLAYER();
  const core::LayeredModel& m = S.M;
  for (int j = 0; j < S.NPAR(); ++j) {
    const auto jj = idx(j);
    float d = step[jj];
    if (std::isnan(d)) d = kMaxStep;
    d = std::clamp(d, -kMaxStep, kMaxStep);
    if (j >= layerParameters) d = std::clamp(d, -kMaxGeometryStep, kMaxGeometryStep);
    if (isSet(m.LFIX[jj])) d = 0.0f;
    float value = start[jj] * std::pow(10.0f, d);
    if (isSet(m.LMTP[jj])) value = std::max(m.PARD[jj], std::min(m.PARU[jj], value));
    S.M.PAR[jj] = value;
  }
}

IterationProgress::~IterationProgress() {
  if (shown_) monitor_.toolkit().hideProgress();
}

void IterationProgress::derivativeRun(int done, int total) {
  if (total < 1) return;
  if (done == 1 && !shown_ && total * monitor_.secondsSinceMark() > 2.0) {
    monitor_.toolkit().showProgress(kDerivativeLabel);
    shown_ = true;
  }
  if (shown_) monitor_.toolkit().setProgress(static_cast<double>(done) / total, kDerivativeLabel);
}

void IterationProgress::searchStart() {
  if (shown_) monitor_.toolkit().setProgress(0.0, kSearchLabel);
}

void IterationProgress::searchTrial(int done) {
  if (shown_ && done <= 3) monitor_.toolkit().setProgress(done / 4.0, kSearchLabel);
}

namespace {

// Column j of J from the synthetics of the perturbed model in `perturbed`.
void fillDerivativeColumn(const Sounding& perturbed, std::span<const float> startSynthetics,
                          std::span<const float> weights, int j, float p,
                          const Perturbation& perturbation, core::Matrix<float>& J) {
  const int ndata = perturbed.NDATA(), ncomp = perturbed.NCOMP();
  const core::LayeredModel& m = perturbed.M;
  const auto jj = idx(j);
  // A perturbation that did not move the parameter (a zero value, or a
  // depth equal to its neighbour) has no derivative to show.
  const float F = std::isfinite(perturbation.factor) ? perturbation.factor : 0.0f;
  float limitFactor = 1.0f;
  if (isSet(m.LMTP[jj])) {
    limitFactor = std::min(std::max(0.1f, (p - m.PARD[jj]) / p),
                           std::min(0.5f, std::max(0.1f, (m.PARU[jj] - p) / p)));
  }
  std::size_t k = 0;
  for (int c = 0; c < ncomp; ++c) {
    for (int i = 0; i < ndata; ++i, ++k) {
      const float s1 = perturbed.SVOLT(idx(i), idx(c));
      J(k, jj) =
          residualDerivative(perturbed, i, c, startSynthetics[k], s1, F) * limitFactor * weights[k];
    }
  }
}

}  // namespace

bool computeDerivatives(Sounding& S, const forward::ForwardRoutine& forward,
                        std::span<const float> startSynthetics, core::Matrix<float>& J,
                        RunMonitor& monitor, IterationProgress& progress) {
  const int npar = S.NPAR(), ndata = S.NDATA(), ncomp = S.NCOMP();
  const std::vector<float> weights = residualWeights(S);
  core::LayeredModel& m = S.M;
  J.resize(idx(ndata) * idx(ncomp), idx(npar));

  // The free parameters, their limits checked and their perturbations
  // chosen on the start model, in order.
  std::vector<int> free;
  std::vector<Perturbation> perturbations;
  for (int j = 0; j < npar; ++j) {
    const auto jj = idx(j);
    if (isSet(m.LFIX[jj])) continue;
    const float p = m.PAR[jj];
    if (isSet(m.LMTP[jj]) && (p < m.PARD[jj] || p > m.PARU[jj])) {
      m.PARD[jj] = m.PARU[jj] = 0.0f;
      m.LMTP[jj] = core::kFalse;
    }
    free.push_back(j);
    perturbations.push_back(derivativePerturbation(S, j));
  }
  const int count = static_cast<int>(free.size());

  WorkerPool& pool = WorkerPool::shared();
  const bool onWorkers = pool.parallel() && forward.runsOnWorkers() && count > 1;
  // Worker copies of S with their own data arrays (a routine may write into
  // its data) and their own message lists.
  std::vector<Sounding> copies;
  std::vector<ui::MessageCollector> messages;
  if (onWorkers) {
    copies.assign(idx(pool.threads()), S);
    for (Sounding& copy : copies) copy.detachData();
    messages.resize(idx(count));
  }
  const auto perturbedRun = [&](int index, int worker) {
    const int j = free[idx(index)];
    const auto jj = idx(j);
    Sounding& work = onWorkers ? copies[idx(worker)] : S;
    const float p = work.M.PAR[jj];
    work.M.PAR[jj] = perturbations[idx(index)].value;
    if (onWorkers)
      runForward(work, forward, messages[idx(index)]);
    else
      runForward(work, forward);
    work.M.PAR[jj] = p;
    fillDerivativeColumn(work, startSynthetics, weights, j, p, perturbations[idx(index)], J);
  };
  bool interrupted = false;
  const auto collect = [&](int index) {
    if (onWorkers) messages[idx(index)].replay(monitor.toolkit());
    progress.derivativeRun(index + 1, count);
    interrupted = monitor.PollInterrupt();
    return !interrupted;
  };
  if (onWorkers)
    pool.run(count, perturbedRun, collect);
  else
    WorkerPool::runOnCaller(count, perturbedRun, collect);
  if (interrupted) return false;
  monitor.markTime();
  return true;
}

}  // namespace zeva::inversion
