#include "inversion/equivalence.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <new>
#include <vector>

#include "inversion/fit_weights.h"
#include "inversion/forward_memory.h"
#include "inversion/inversion_steps.h"
#include "inversion/worker_pool.h"
#include "ui/toolkit/message_collector.h"

namespace zeva::inversion {

using core::Sounding;

namespace {

std::size_t idx(int value) { return static_cast<std::size_t>(value); }

// Below this a ratio does not move the model.
constexpr float kSmallestRatio = 1.0e-10f;
// |1 - R(j,j)| above this normalises the compensation vector.
constexpr float kNormalisationFloor = 1.0e-5f;
constexpr int kSecondStagePasses = 5;
constexpr int kBisections = 11;
// Shown when the analysis is estimated to take longer than this (seconds).
constexpr double kProgressThreshold = 0.5;

// The fit the analysis measures models by: PCTERR, or the weighted fit when
// the inversion minimised that.
float& equivalenceFit(Sounding& S) {
  return weightedFitInUse(S) ? S.layer.weightedFit : S.layer.PCTERR;
}

// The state of one search along the compensation line of a parameter.
class LimitSearch {
 public:
  LimitSearch(int j, float threshold, float tolerance, Sounding& S,
              const forward::ForwardRoutine& forward, RunMonitor& monitor)
      : j_(j),
        T_(threshold),
        delta_(tolerance),
        S_(S),
        forward_(forward),
        monitor_(monitor),
        best_(S.M.PAR),
        x0_(S.M.PAR[idx(j)]),
        f0_(equivalenceFit(S)) {
    // The compensation vector from column j of R.
    const int npar = S.NPAR();
    v_.resize(idx(npar));
    const float rjj = resolutionElement(S, j, j);
    for (int i = 0; i < npar; ++i) v_[idx(i)] = i == j ? 1.0f - rjj : -resolutionElement(S, i, j);
    if (std::fabs(1.0f - rjj) > kNormalisationFloor)
      for (float& value : v_) value /= 1.0f - rjj;
    // A fixed parameter has no derivative and so a zero row in R; one fixed
    // after the inversion that made R must not move either.
    for (int i = 0; i < npar; ++i)
      if (i != j && core::isSet(S.M.LFIX[idx(i)])) v_[idx(i)] = 0.0f;
    x_ = {x0_, x0_, x0_};
    f_ = {f0_, f0_, f0_};
    closestX_ = x0_;
    closestF_ = f0_;
  }

  // Runs the search; false when interrupted.
  bool run(float& F) {
    // First stage: widen the step until the fit passes the threshold or the
    // step gets large.
    float target = 0.0f;
    int slot = 0;
    while (true) {
      if (!move(F)) return false;
      x_[1] = x(), f_[1] = f();
      if (near(f_[1])) return true;
      noteClosest(x_[1], f_[1]);
      if (f_[1] > T_) {
        x_[2] = x_[1], f_[2] = f_[1];
        target = std::sqrt(F) * x_[0];
        slot = 1;
        break;
      }
      if ((T_ - f_[1]) / T_ >= 0.5f) {
        target = x_[1] * F;
        slot = 2;
        break;
      }
      F = F * F;
      target = x_[1] * F;
      slot = 2;
      if (!(F > 0.01f && F < 100.0f)) break;
    }

    // Second stage: evaluate the target, then bracket and interpolate.
    const bool increasing = F > 1.0f;
    for (int pass = 1; pass <= kSecondStagePasses; ++pass) {
      if (!move(target / x0_)) return false;
      const float xs = x(), fs = f();
      x_[idx(slot)] = xs, f_[idx(slot)] = fs;
      if (near(fs)) return true;
      const float reference = pass == 1 ? x0_ : target;
      if (fs < T_ && (reference / xs > 100.0f || reference / xs < 0.01f)) return true;
      noteClosest(xs, fs);
      S_.M.PAR = best_;

      if (f_[2] >= T_) {
        const bool lowerInterval = f_[1] >= T_;
        float lo = lowerInterval ? x_[0] : x_[1];
        float hi = lowerInterval ? x_[1] : x_[2];
        const float shrink = 0.1f * (hi - lo);
        lo += shrink, hi -= shrink;
        float candidate = lo;
        for (int attempt = 0; attempt < kBisections; ++attempt) {
          candidate = std::sqrt(lo * hi);
          const float estimate = LagrangeValue(x_, f_, candidate);
          if (std::fabs(T_ - estimate) < delta_) break;
          (estimate <= T_ ? lo : hi) = candidate;
        }
        target = candidate;
      } else {
        target = x_[2] * F;
        if (target > 1000.0f * x0_ || target < 0.001f * x0_) break;
      }
      place(target, increasing, slot);
    }

    // No sample met the tolerance: the closest one stands, without a new
    // forward run.
    equivalenceFit(S_) = closestF_;
    moveModel(closestX_ / x0_);
    return true;
  }

 private:
  float x() const { return S_.M.PAR[idx(j_)]; }
  float f() const { return equivalenceFit(S_); }
  bool near(float fit) const { return std::fabs(fit - T_) < delta_; }

  void noteClosest(float xs, float fs) {
    if (std::fabs(fs - T_) < std::fabs(closestF_ - T_)) closestX_ = xs, closestF_ = fs;
  }

  // Every parameter of the best-fit model times q^v(i).
  void moveModel(float q) {
    S_.M.PAR = best_;
    if (!(q > kSmallestRatio)) return;
    for (std::size_t i = 0; i < v_.size(); ++i)
      if (v_[i] != 0.0f) S_.M.PAR[i] = best_[i] * std::pow(q, v_[i]);
  }

  // A move with its forward run; false when the user interrupted.
  bool move(float q) {
    moveModel(q);
    forward_(S_);
    return !monitor_.PollInterrupt();
  }

  // Places the next target among the samples, keeping them ordered in the
  // direction of the search, and says which slot it is evaluated in.
  void place(float target, bool increasing, int& slot) {
    const auto before = [increasing](float a, float b) { return increasing ? a < b : a > b; };
    if (!before(x_[1], target)) {  // between x1 and x2: (x1, target, x2)
      x_[2] = x_[1], f_[2] = f_[1];
      slot = 1;
    } else if (!before(x_[2], target)) {  // between x2 and x3: (x2, target, x3)
      x_[0] = x_[1], f_[0] = f_[1];
      slot = 1;
    } else {  // beyond x3: (x2, x3, target)
      x_[0] = x_[1], f_[0] = f_[1];
      x_[1] = x_[2], f_[1] = f_[2];
      slot = 2;
    }
    x_[idx(slot)] = target;
  }

  int j_;
  float T_, delta_;
  Sounding& S_;
  const forward::ForwardRoutine& forward_;
  RunMonitor& monitor_;
  std::vector<float> best_;
  std::vector<float> v_;
  float x0_, f0_;
  std::array<float, 3> x_, f_;
  float closestX_, closestF_;
};

// Widens the equivalence ranges by the model in PAR.
void widenRanges(Sounding& S) {
  const auto& PAR = S.M.PAR;
  for (int i = 0; i < S.NPAR(); ++i) {
    S.PARMIN[idx(i)] = std::min(S.PARMIN[idx(i)], PAR[idx(i)]);
    S.PARMAX[idx(i)] = std::max(S.PARMAX[idx(i)], PAR[idx(i)]);
  }
  const std::vector<float> depths = boundaryDepths(S, PAR);
  for (std::size_t k = 0; k < depths.size(); ++k) {
    S.ZNMIN[k] = std::min(S.ZNMIN[k], depths[k]);
    S.ZNMAX[k] = std::max(S.ZNMAX[k], depths[k]);
  }
  if (!depths.empty())
    S.layer.deepestEquivalentDepth = std::max(S.layer.deepestEquivalentDepth, depths.back());
}

}  // namespace

float LagrangeValue(std::span<const float> x, std::span<const float> y, float x0) {
  const std::size_t n = std::min(x.size(), y.size());
  for (std::size_t i = 0; i < n; ++i)
    if (x[i] == x0) return y[i];
  float sum = 0.0f;
  for (std::size_t i = 0; i < n; ++i) {
    float term = y[i];
    for (std::size_t k = 0; k < n; ++k)
      if (k != i) term *= (x0 - x[k]) / (x[i] - x[k]);
    sum += term;
  }
  return sum;
}

float resolutionElement(const Sounding& S, int i, int j) {
  const int row = std::min(i, j), col = std::max(i, j);
  const std::size_t at = idx(col) * idx(col + 1) / 2 + idx(row);
  return at < S.RESOLV.size() ? S.RESOLV[at] : 0.0f;
}

float initialSearchRatio(float r) {
  if (r >= 0.98f) return 1.44f;
  if (r < 0.1f) return 10.0f;
  return 1.2f / std::sqrt(r);
}

std::vector<float> boundaryDepths(const Sounding& S, std::span<const float> PAR) {
  std::vector<float> depths;
  float depth = 0.0f;
  for (int k = 0; k + 1 < S.NLAYER(); ++k) {
    const std::size_t at = S.geometryIndex(k);
    if (at >= PAR.size()) break;
    depth = core::isSet(S.model.depths) ? PAR[at] : depth + PAR[at];
    depths.push_back(depth);
  }
  return depths;
}

bool EquivalenceLimit(int j, float& F, float threshold, float tolerance, Sounding& S,
                      const forward::ForwardRoutine& forward, RunMonitor& monitor) {
  LimitSearch search(j, threshold, tolerance, S, forward, monitor);
  return search.run(F);
}

namespace {

// One search of the analysis and what it found.
struct SearchOutcome {
  int j = 0;
  int direction = 0;  // 0 upward, 1 downward
  bool finished = false;
  std::vector<float> model;
  float fit = 0.0f;
};

// One analysis of S: the best-fit model and its fit, the searches planned
// and made, and the per-worker copies of S when they run side by side.
class EquivalenceAnalysis {
 public:
  EquivalenceAnalysis(Sounding& S, const forward::ForwardRoutine& routine, RunMonitor& monitor)
      : S_(S), routine_(routine), monitor_(monitor), counted_([this](Sounding& s) {
          ++runs_;
          runForward(s, routine_);
        }) {}

  EquivalenceResult run();

 private:
  // The equivalence arrays sized and the ranges started at the best model;
  // false when there is no memory for them.
  bool startRanges();
  // Two searches per free parameter, each from the best-fit model.
  void planSearches();
  // The searches are independent: with a routine that runs on workers they
  // are made at the same time, each worker on a copy of S with its own
  // messages; the results are taken in order on this thread.
  void prepareWorkers();
  void search(int index, int worker);
  // Takes the result of a search into S and shows the progress; false to
  // stop (interrupted).
  bool collect(int index);
  // The flags of a complete analysis, and S back on the best-fit model.
  void finish();

  Sounding& S_;
  const forward::ForwardRoutine& routine_;
  RunMonitor& monitor_;
  EquivalenceResult result_;
  std::atomic<int> runs_{0};
  const forward::ForwardRoutine counted_;
  ForwardMemory memory_;
  std::vector<float> best_;
  float bestFit_ = 0.0f, threshold_ = 0.0f, tolerance_ = 0.0f;
  std::vector<SearchOutcome> searches_;
  int free_ = 0;  // free parameters
  bool onWorkers_ = false;
  bool progressShown_ = false;
  std::vector<Sounding> copies_;
  std::vector<ui::MessageCollector> messages_;
};

bool EquivalenceAnalysis::startRanges() {
  const int npar = S_.NPAR(), nlayer = S_.NLAYER();
  try {
    S_.EQUIVA.resize(idx(2 * npar), idx(npar));
    S_.ERER.assign(idx(2 * npar), 0.0f);
    S_.PARMIN.assign(best_.begin(), best_.begin() + npar);
    S_.PARMAX.assign(best_.begin(), best_.begin() + npar);
    S_.ZNMIN.assign(idx(std::max(nlayer, 0)), 0.0f);
    S_.ZNMAX.assign(idx(std::max(nlayer, 0)), 0.0f);
  } catch (const std::bad_alloc&) {
    return false;
  }
  const std::vector<float> depths = boundaryDepths(S_, best_);
  std::copy(depths.begin(), depths.end(), S_.ZNMIN.begin());
  std::copy(depths.begin(), depths.end(), S_.ZNMAX.begin());
  S_.layer.deepestEquivalentDepth = depths.empty() ? 0.0f : depths.back();
  return true;
}

void EquivalenceAnalysis::planSearches() {
  for (int j = 0; j < S_.NPAR(); ++j) {
    if (core::isSet(S_.M.LFIX[idx(j)])) continue;
    for (int direction = 0; direction < 2; ++direction) {
      SearchOutcome outcome;
      outcome.j = j;
      outcome.direction = direction;
      searches_.push_back(outcome);
    }
  }
  free_ = static_cast<int>(searches_.size()) / 2;
}

void EquivalenceAnalysis::prepareWorkers() {
  WorkerPool& pool = WorkerPool::shared();
  onWorkers_ = pool.parallel() && routine_.runsOnWorkers() && searches_.size() > 1;
  if (!onWorkers_) return;
  copies_.assign(idx(pool.threads()), S_);
  for (Sounding& copy : copies_) copy.detachData();
  messages_.assign(searches_.size(), ui::MessageCollector(&pool.stopping()));
}

void EquivalenceAnalysis::search(int index, int worker) {
  SearchOutcome& outcome = searches_[idx(index)];
  Sounding& work = onWorkers_ ? copies_[idx(worker)] : S_;
  work.M.PAR = best_;
  equivalenceFit(work) = bestFit_;
  const float upward = initialSearchRatio(resolutionElement(work, outcome.j, outcome.j));
  float F = outcome.direction == 0 ? upward : 1.0f / std::sqrt(upward);
  if (onWorkers_) {
    ui::MessageCollector& told = messages_[idx(index)];
    RunMonitor workerMonitor(told);
    const forward::ForwardRoutine toWorker = [&](Sounding& s) {
      ++runs_;
      runForward(s, routine_, told);
    };
    outcome.finished =
        EquivalenceLimit(outcome.j, F, threshold_, tolerance_, work, toWorker, workerMonitor);
  } else {
    outcome.finished =
        EquivalenceLimit(outcome.j, F, threshold_, tolerance_, work, counted_, monitor_);
  }
  outcome.model = work.M.PAR;
  outcome.fit = equivalenceFit(work);
}

bool EquivalenceAnalysis::collect(int index) {
  ui::Toolkit& toolkit = monitor_.toolkit();
  if (onWorkers_) messages_[idx(index)].replay(toolkit);
  const SearchOutcome& outcome = searches_[idx(index)];
  if (!outcome.finished) {
    result_.interrupted = true;
    return false;
  }
  const std::size_t row = idx(2 * outcome.j + outcome.direction);
  for (int i = 0; i < S_.NPAR(); ++i) S_.EQUIVA(row, idx(i)) = outcome.model[idx(i)];
  S_.ERER[row] = outcome.fit;
  S_.M.PAR = outcome.model;
  widenRanges(S_);
  equivalenceFit(S_) = bestFit_;
  S_.M.PAR = best_;
  ++result_.searches;
  if (result_.searches == 1 && monitor_.secondsSinceMark() * 2.0 * free_ > kProgressThreshold) {
    toolkit.showProgress(kEquivalenceProgressLabel);
    progressShown_ = true;
  }
  if (progressShown_)
    toolkit.setProgress(static_cast<double>(result_.searches) / (2.0 * free_),
                        kEquivalenceProgressLabel);
  if (monitor_.PollInterrupt()) {
    result_.interrupted = true;
    return false;
  }
  return true;
}

void EquivalenceAnalysis::finish() {
  if (!result_.interrupted) {
    result_.completed = true;
    S_.layer.resolutionValid = core::kTrue;
    S_.layer.equivalenceValid = core::kTrue;
    if (!(S_.layer.deepestEquivalentDepth > 0.0f)) S_.layer.deepestEquivalentDepth = 20.0f;
  }
  monitor_.PollInterrupt(true);
  S_.M.PAR = best_;
  memory_.run(S_, counted_);
  S_.layer.saved = core::kFalse;
  if (progressShown_) monitor_.toolkit().hideProgress();
  result_.forwardRuns = runs_;
}

EquivalenceResult EquivalenceAnalysis::run() {
  const int npar = S_.NPAR();
  if (npar < 1 || S_.M.PAR.size() < idx(npar) || S_.M.LFIX.size() < idx(npar) ||
      S_.RESOLV.size() < idx(npar) * idx(npar + 1) / 2)
    return result_;
  // The fit of the model as it stands is the best fit; the analysis ends on
  // this model, whose results the memory keeps.
  S_.layer.equivalenceValid = core::kFalse;
  memory_.run(S_, counted_);
  memory_.keepLast();
  best_ = S_.M.PAR;
  bestFit_ = equivalenceFit(S_);
  threshold_ = kEquivalenceThresholdRatio * bestFit_;
  tolerance_ = 0.1f * (threshold_ - bestFit_);
  if (!startRanges()) {
    result_.forwardRuns = runs_;
    return result_;
  }
  planSearches();
  monitor_.markTime();
  monitor_.PollInterrupt(true);
  prepareWorkers();
  const int count = static_cast<int>(searches_.size());
  const auto search = [this](int index, int worker) { this->search(index, worker); };
  const auto collect = [this](int index) { return this->collect(index); };
  if (onWorkers_)
    WorkerPool::shared().run(count, search, collect);
  else
    WorkerPool::runOnCaller(count, search, collect);
  finish();
  return result_;
}

}  // namespace

EquivalenceResult AnalyzeEquivalence(Sounding& S, const forward::ForwardRoutine& routine,
                                     RunMonitor& monitor) {
  EquivalenceAnalysis analysis(S, routine, monitor);
  return analysis.run();
}

}  // namespace zeva::inversion
