// One damped least-squares iteration and the multiple-iteration driver.

#include "inversion/layered_inversion.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>
#include <optional>
#include <stdexcept>
#include <vector>

#include "inversion/damping_search.h"
#include "inversion/fit_weights.h"
#include "inversion/forward_memory.h"
#include "inversion/gauss_jordan.h"
#include "inversion/inversion_steps.h"

namespace zeva::inversion {

namespace {

using core::isSet;
using core::Sounding;

// Work arrays beyond this many values (512 MB) are refused rather than
// attempted: no real sounding comes near, and a damaged file must not make
// the program try.
constexpr double kMaxWorkValues = 134217728.0;

std::size_t idx(int value) { return static_cast<std::size_t>(value); }

// The work arrays of one iteration, all allocated before the model is touched.
struct WorkArrays {
  std::vector<float> residuals;   // n
  std::vector<float> synthetics;  // n, of the starting model
  core::Matrix<float> J;          // n x P
  std::vector<float> gradient;    // P
  std::vector<float> normal;      // P x P, column-major
  std::vector<float> system;      // P x (P + 1), and P x 2P for the resolution
  std::vector<float> startPar;    // P
  std::vector<float> bestPar;     // P
  std::vector<float> resolution;  // P (P + 1) / 2

  WorkArrays(std::size_t n, std::size_t P)
      : residuals(n),
        synthetics(n),
        J(n, P),
        gradient(P),
        normal(P * P),
        system(P * 2 * P),
        startPar(P),
        bestPar(P),
        resolution(P * (P + 1) / 2) {}
};

// The trial step of one damping, tried with a forward run (the core of the
// damping search). Keeps the best trial seen so far, and its results in the
// memory.
class TrialStep {
 public:
  TrialStep(Sounding& S, const ForwardRoutine& forward, RunMonitor& monitor, WorkArrays& work,
            ForwardMemory& memory, float startFit)
      : S_(S),
        forward_(forward),
        monitor_(monitor),
        w_(work),
        memory_(memory),
        bestFit_(startFit) {}

  std::optional<float> operator()(float damping) {
    const int P = S_.NPAR();
    const auto n = idx(P);
    const float lambda = std::fabs(damping);
    std::vector<float>& a = w_.system;
    auto at = [&](int i, int j) -> float& { return a[idx(j) * n + idx(i)]; };
    std::copy(w_.normal.begin(), w_.normal.end(), a.begin());
    float* rhs = a.data() + n * n;
    std::copy(w_.gradient.begin(), w_.gradient.end(), rhs);

    const int nl = S_.NLAYER();
    const int layerParameters = S_.NPK() * nl;
    const bool rough = isSet(S_.model.LROUGH) && nl >= 2;
    const std::vector<float>& p = w_.startPar;
    auto ell = [&](int j, int q) { return std::log10(p[idx(j)] / p[idx(q)]); };
    for (int j = 0; j < P; ++j) {
      if (!rough || j >= layerParameters) {
        at(j, j) += lambda;
        continue;
      }
      // Roughness between neighbouring layers of the same parameter kind:
      // the penalty h (log p(j) - log p(q))^2 for each neighbour q.
      const float h = lambda / 2.0f;
      const int position = (j + 1) % nl;
      if (position == 1) {
        at(j, j) += h;
        at(j + 1, j) -= h;
        rhs[j] -= h * ell(j, j + 1);
      } else if (position == 0) {
        at(j, j) += h;
        at(j - 1, j) -= h;
        rhs[j] -= h * ell(j, j - 1);
      } else {
        at(j, j) += lambda;
        at(j - 1, j) -= h;
        at(j + 1, j) -= h;
        rhs[j] -= h * (ell(j, j - 1) + ell(j, j + 1));
      }
    }
    SolveGaussJordan(std::span<float>(a.data(), n * (n + 1)), P, 1);
    applyLogStep(S_, p, std::span<const float>(rhs, n));
    std::vector<float>& par = S_.M.PAR;
    memory_.run(S_, forward_);
    const float fit = fitMeasure(S_);
    if (fit <= bestFit_) {
      bestFit_ = fit;
      std::copy(par.begin(), par.begin() + P, w_.bestPar.begin());
      memory_.keepLast();
    }
    // An interrupt keeps the trial under way as the model.
    if (monitor_.PollInterrupt()) return std::nullopt;
    std::copy(p.begin(), p.end(), par.begin());
    return fit;
  }

 private:
  Sounding& S_;
  const ForwardRoutine& forward_;
  RunMonitor& monitor_;
  WorkArrays& w_;
  ForwardMemory& memory_;
  float bestFit_;
};

// Normal equations g = J^T r and A = J^T J (the lower triangle computed,
// then mirrored).
void formNormalEquations(WorkArrays& w, int P, std::size_t n) {
  const auto np = idx(P);
  for (std::size_t j = 0; j < np; ++j) {
    std::span<const float> cj = w.J.column(j);
    float g = 0.0f;
    for (std::size_t k = 0; k < n; ++k) g += cj[k] * w.residuals[k];
    w.gradient[j] = g;
    for (std::size_t i = j; i < np; ++i) {
      std::span<const float> ci = w.J.column(i);
      float sum = 0.0f;
      for (std::size_t k = 0; k < n; ++k) sum += ci[k] * cj[k];
      w.normal[j * np + i] = sum;
      w.normal[i * np + j] = sum;
    }
  }
}

// R = (A + damping I)^-1 A, stored column by column as its upper triangle.
void storeResolution(Sounding& S, WorkArrays& w, float damping) {
  const int P = S.NPAR();
  const auto np = idx(P);
  std::vector<float>& a = w.system;
  std::copy(w.normal.begin(), w.normal.end(), a.begin());
  for (std::size_t j = 0; j < np; ++j) a[j * np + j] += damping;
  std::copy(w.normal.begin(), w.normal.end(), a.begin() + static_cast<std::ptrdiff_t>(np * np));
  SolveGaussJordan(std::span<float>(a.data(), np * 2 * np), P, P);
  const float* R = a.data() + np * np;
  std::size_t k = 0;
  for (std::size_t j = 0; j < np; ++j)
    for (std::size_t i = 0; i <= j; ++i) w.resolution[k++] = R[j * np + i];
  S.RESOLV.swap(w.resolution);
  S.layer.resolutionValid = core::kTrue;
}

// The work arrays of n readings and P parameters; none when they would be
// too large or cannot be had.
std::optional<WorkArrays> workArraysFor(std::size_t n, int P) {
  const double values = static_cast<double>(n) * (P + 2) + 3.5 * static_cast<double>(P) * P;
  if (values > kMaxWorkValues) return std::nullopt;
  std::optional<WorkArrays> work;
  try {
    work.emplace(n, idx(P));
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  } catch (const std::length_error&) {
    return std::nullopt;
  }
  return work;
}

// The start of an iteration from the model in S and its synthetics: robust
// weights refreshed, the synthetics, start parameters and residuals in the
// work arrays. Returns the start fit.
float startIteration(Sounding& S, WorkArrays& w) {
  if (S.robust) {
    refreshHuberWeights(S);
    S.layer.weightedFit = weightedFit(S);
  }
  const float startFit = fitMeasure(S);
  std::size_t k = 0;
  for (int c = 0; c < S.NCOMP(); ++c)
    for (int i = 0; i < S.NDATA(); ++i) w.synthetics[k++] = S.SVOLT(idx(i), idx(c));
  std::copy(S.M.PAR.begin(), S.M.PAR.begin() + S.NPAR(), w.startPar.begin());
  w.bestPar = w.startPar;
  computeResiduals(S, w.residuals);
  return startFit;
}

// One iteration, with the forward runs of models already computed in this
// calculation taken from `memory`.
IterationResult iterate(Sounding& S, const ForwardRoutine& forward, RunMonitor& monitor,
                        ForwardMemory& memory) {
  IterationResult result;
  if (S.NDATA() < 1 || S.NLAYER() < 1) return result;
  if (!arraysMatchCounts(S)) {
    result.status = kInconsistentSounding;
    return result;
  }
  const int P = S.NPAR();
  const std::size_t n = idx(S.NDATA()) * idx(S.NCOMP());
  std::optional<WorkArrays> work = workArraysFor(n, P);
  if (!work) {
    result.status = kWorkArrayAllocationFailed;
    return result;
  }
  WorkArrays& w = *work;

  memory.run(S, forward);
  if (!isSet(S.layer.syntheticValid)) return result;
  // The start model is the best so far.
  memory.keepLast();
  S.layer.resolutionValid = core::kFalse;
  S.layer.equivalenceValid = core::kFalse;
  S.layer.saved = core::kFalse;

  IterationProgress progress(monitor);
  // Whatever stops the iteration early, the synthetics and fit must describe
  // the model that is kept.
  auto stopEarly = [&] {
    memory.run(S, forward);
    return result;
  };

  const float startFit = startIteration(S, w);
  result.startFit = startFit;

  if (!computeDerivatives(S, forward, w.synthetics, w.J, monitor, progress)) return stopEarly();

  formNormalEquations(w, P, n);
  float trace = 0.0f;
  for (int j = 0; j < P; ++j) trace += w.normal[idx(j) * idx(P) + idx(j)];

  progress.searchStart();
  TrialStep step(S, forward, monitor, w, memory, startFit);
  int trialsDone = 0;
  const DampingSearchResult search =
      searchDamping(trace, trace / 1000.0f, startFit, isSet(S.model.LROUGH), [&](float damping) {
        std::optional<float> fit = step(damping);
        progress.searchTrial(++trialsDone);
        return fit;
      });
  result.damping = search.damping;
  result.trials = search.trials;
  if (search.interrupted) return stopEarly();

  std::copy(w.bestPar.begin(), w.bestPar.end(), S.M.PAR.begin());
  if (monitor.PollInterrupt()) return stopEarly();

  storeResolution(S, w, search.damping);
  memory.run(S, forward);
  return result;
}

}  // namespace

IterationResult InvertOnce(Sounding& S, const ForwardRoutine& forward, RunMonitor& monitor) {
  ForwardMemory memory;
  return iterate(S, forward, monitor, memory);
}

std::string fitStatusText(float pctErr) {
  char text[64];
  std::snprintf(text, sizeof text, "%8.2f%% RMS", static_cast<double>(pctErr));
  return std::string(text).substr(0, 20);
}

InvertManyResult InvertMany(Sounding& S, const ForwardRoutine& forward,
                            const core::InversionSettings& control, RunMonitor& monitor, int pane) {
  InvertManyResult result;
  if (S.NDATA() < 1 || S.NLAYER() < 1) return result;
  monitor.markTime();
  ForwardMemory memory;
  memory.run(S, forward);
  if (!isSet(S.layer.syntheticValid)) return result;

  ui::Toolkit& toolkit = monitor.toolkit();
  toolkit.setStatus(pane, fitStatusText(S.layer.PCTERR));
  monitor.PollInterrupt(true);

  for (int iteration = 1; iteration <= control.iterationLimit; ++iteration) {
    const IterationResult once = iterate(S, forward, monitor, memory);
    // In a robust fit the iteration reweighs its start, so it is judged
    // against the start's fit under its own weights.
    const float before = once.startFit;
    ++result.iterations;
    if (monitor.interrupted() || once.status != 0) {
      result.status = once.status;
      break;
    }
    toolkit.setStatus(pane, fitStatusText(S.layer.PCTERR));
    toolkit.requestRedraw();
    if (fitMeasure(S) > control.improvementRatio * before ||
        S.layer.PCTERR < control.fitFloorPercent || iteration == control.iterationLimit)
      break;
  }

  result.interrupted = monitor.interrupted();
  monitor.PollInterrupt(true);
  memory.run(S, forward);
  return result;
}

}  // namespace zeva::inversion
