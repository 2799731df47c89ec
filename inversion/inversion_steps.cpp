// Residuals, derivatives and the forward-run wrapper of the layered inversion.

#include "inversion/inversion_steps.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

#include "inversion/layered_inversion.h"
#include "inversion/worker_pool.h"
#include "ui/message_collector.h"

namespace zeva::inversion {

namespace {

using core::isSet;
using core::Sounding;

constexpr float kPerturbUp = 1.1f;
constexpr float kPerturbDown = 0.9f;
constexpr float kFactorUp = 24.158857f;     // 1 / log10(1.1)
constexpr float kFactorDown = -21.854300f;  // 1 / log10(0.9)

std::size_t idx(int value) { return static_cast<std::size_t>(value); }

// The misfit of one data value before weighting, or nothing when the value
// takes no part in the fit.
bool misfit(const Sounding& S, int i, int c, float& d) {
  const float o = S.data().VOLTS(idx(i), idx(c));
  const float s = S.SVOLT(idx(i), idx(c));
  if (S.masked(i, c) || o >= forward::kMissingReading || o == 0.0f || s == 0.0f) return false;
  d = isSet(S.data().LOGDAT[idx(c)]) ? std::log10(std::fabs(o / s)) : (o - s) / std::fabs(o);
  return !std::isnan(d);
}

// The error weight 1 / UVOLTS of a value, 1 when its error is not positive.
float errorWeight(const Sounding& S, int i, int c) {
  const float w = S.data().UVOLTS(idx(i), idx(c));
  return w > 0.0f ? 1.0f / w : 1.0f;
}

float errorWeightedFit(const Sounding& S) {
  float sum = 0.0f, weights = 0.0f;
  for (int c = 0; c < S.NCOMP(); ++c) {
    for (int i = 0; i < S.NDATA(); ++i) {
      float d = 0.0f;
      if (!misfit(S, i, c, d)) continue;
      const float w = errorWeight(S, i, c);
      sum += w * d * d;
      weights += w;
    }
  }
  return weights > 0.0f ? std::sqrt(sum / weights) : 0.0f;
}

}  // namespace

float fitMeasure(const Sounding& S) {
  return isSet(S.layer.errorWeighting) ? S.layer.weightedFit : S.layer.RMS;
}

namespace {

template <typename Run>
void runWithWeightedFit(Sounding& S, const Run& run) {
  const bool weighting = isSet(S.layer.errorWeighting);
  if (weighting) S.layer.weightedFit = std::numeric_limits<float>::quiet_NaN();
  run();
  if (weighting && std::isnan(S.layer.weightedFit)) {
    S.layer.weightedFit = S.layer.RMS >= forward::kRefusedFit || std::isnan(S.layer.RMS)
                              ? forward::kRefusedFit
                              : errorWeightedFit(S);
  }
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
  const bool weighting = isSet(S.layer.errorWeighting);
  std::size_t k = 0;
  for (int c = 0; c < S.NCOMP(); ++c) {
    for (int i = 0; i < S.NDATA(); ++i, ++k) {
      float d = 0.0f;
      if (!misfit(S, i, c, d)) {
        r[k] = 0.0f;
        continue;
      }
      const float w = S.data().UVOLTS(idx(i), idx(c));
      r[k] = weighting && w > 0.0f ? d / std::sqrt(w) : d;
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
                          int j, float p, const Perturbation& perturbation, core::Matrix<float>& J) {
  const int ndata = perturbed.NDATA(), ncomp = perturbed.NCOMP();
  const bool weighting = isSet(perturbed.layer.errorWeighting);
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
    const bool logColumn = isSet(perturbed.data().LOGDAT[idx(c)]);
    for (int i = 0; i < ndata; ++i, ++k) {
      const float s0 = startSynthetics[k];
      const float s1 = perturbed.SVOLT(idx(i), idx(c));
      float value = 0.0f;
      if (logColumn) {
        const float ratio = s1 / s0;
        value = ratio == 0.0f ? 0.0f : F * std::log10(std::fabs(ratio));
      } else {
        value = 2.0f * F * (s1 - s0) / (std::fabs(s0) + 1.0e-20f + std::fabs(s1));
      }
      // A synthetic of zero or infinity at the start gives no usable slope.
      if (!std::isfinite(value)) value = 0.0f;
      value *= limitFactor;
      const float w = perturbed.data().UVOLTS(idx(i), idx(c));
      if (weighting && w > 0.0f) value /= std::sqrt(w);
      J(k, jj) = value;
    }
  }
}

}  // namespace

bool computeDerivatives(Sounding& S, const forward::ForwardRoutine& forward,
                        std::span<const float> startSynthetics, core::Matrix<float>& J,
                        RunMonitor& monitor, IterationProgress& progress) {
  const int npar = S.NPAR(), ndata = S.NDATA(), ncomp = S.NCOMP();
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
    fillDerivativeColumn(work, startSynthetics, j, p, perturbations[idx(index)], J);
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
