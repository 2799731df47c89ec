// The profile-wide system, its damping search and the iteration driver.

#include "inversion/lateral_constrained_inversion.h"

#include <Eigen/SparseCholesky>
#include <Eigen/SparseCore>
#include <algorithm>
#include <cmath>
#include <functional>
#include <new>

#include "core/record/data_type.h"
#include "inversion/damping_search.h"
#include "inversion/fit_weights.h"
#include "inversion/inversion_steps.h"
#include "inversion/layered_inversion.h"
#include "inversion/worker_pool.h"
#include "ui/toolkit/message_collector.h"

namespace zeva::inversion {

namespace {

using core::isSet;
using core::Sounding;
using forward::ForwardRoutine;
using SparseMatrix = Eigen::SparseMatrix<double>;

std::size_t idx(int value) { return static_cast<std::size_t>(value); }

std::string nameOf(const Sounding& S, std::size_t k) {
  const std::string name = S.header.name.trimmed();
  return "sounding " + std::to_string(k + 1) + (name.empty() ? "" : " (" + name + ")");
}

// The soundings' forward runs and derivatives, one task per sounding: on the
// worker pool when every routine runs on workers, each task then with its
// own routine, monitor and message list, whose messages are shown on the
// caller's thread in station order; otherwise one after the other on the
// caller's thread.
class ProfileRunner {
 public:
  using Task = std::function<bool(std::size_t k, const ForwardRoutine& forward, RunMonitor& m)>;

  ProfileRunner(std::span<const ForwardRoutine> forwards, RunMonitor& monitor)
      : forwards_(forwards), monitor_(monitor) {}

  // Runs task(k) for every sounding, `done(count)` after each. A task that
  // returns false, or with `interruptible` the user's interrupt, stops the
  // run; then false.
  bool each(const Task& task, const std::function<void(int)>& done, bool interruptible) {
    const int count = static_cast<int>(forwards_.size());
    WorkerPool& pool = WorkerPool::shared();
    const bool onWorkers =
        pool.parallel() && count > 1 &&
        std::ranges::all_of(forwards_, [](const ForwardRoutine& f) { return f.runsOnWorkers(); });
    bool stopped = false;
    if (!onWorkers) {
      for (int k = 0; k < count && !stopped; ++k) {
        stopped = !task(idx(k), forwards_[idx(k)], monitor_);
        done(k + 1);
        if (interruptible && monitor_.PollInterrupt()) stopped = true;
      }
      return !stopped;
    }
    std::vector<ui::MessageCollector> messages(idx(count), ui::MessageCollector(&pool.stopping()));
    std::vector<char> ok(idx(count), 0);
    pool.run(
        count,
        [&](int k, int) {
          const ForwardRoutine& routine = forwards_[idx(k)];
          ui::MessageCollector& heard = messages[idx(k)];
          const ForwardRoutine local(
              [&routine](Sounding& S, ui::Toolkit& toolkit) { routine(S, toolkit); }, heard);
          RunMonitor own(heard);
          ok[idx(k)] = task(idx(k), local, own) ? 1 : 0;
        },
        [&](int k) {
          messages[idx(k)].replay(monitor_.toolkit());
          done(k + 1);
          if (!ok[idx(k)] || (interruptible && monitor_.PollInterrupt())) stopped = true;
          return !stopped;
        });
    return !stopped;
  }

  bool forwardAll(std::span<Sounding> soundings, bool interruptible) {
    return each(
        [&](std::size_t k, const ForwardRoutine& forward, RunMonitor&) {
          runForward(soundings[k], forward);
          return true;
        },
        [](int) {}, interruptible);
  }

 private:
  std::span<const ForwardRoutine> forwards_;
  RunMonitor& monitor_;
};

// Sum of the squared weighted residuals of a sounding; a refused model or
// one whose fit is not a number counts as a very bad fit.
double dataSquares(const Sounding& S) {
  if (!(S.layer.RMS < forward::kRefusedFit)) return static_cast<double>(forward::kRefusedFit);
  std::vector<float> r(idx(S.NDATA()) * idx(S.NCOMP()));
  computeResiduals(S, r);
  double sum = 0.0;
  for (float value : r) sum += static_cast<double>(value) * static_cast<double>(value);
  return sum;
}

double log10Ratio(float a, float b) {
  return std::log10(static_cast<double>(a) / static_cast<double>(b));
}

double lateralSquares(std::span<const Sounding> soundings, std::span<const float> ties) {
  double sum = 0.0;
  for (std::size_t k = 0; k + 1 < soundings.size(); ++k) {
    const double w = static_cast<double>(ties[k]);
    for (int j = 0; j < soundings[k].NPAR(); ++j) {
      const double d = w * log10Ratio(soundings[k].M.PAR[idx(j)], soundings[k + 1].M.PAR[idx(j)]);
      if (std::isfinite(d)) sum += d * d;
    }
  }
  return sum;
}

std::size_t dataCount(std::span<const Sounding> soundings) {
  std::size_t n = 0;
  for (const Sounding& S : soundings) n += idx(S.NDATA()) * idx(S.NCOMP());
  return std::max<std::size_t>(n, 1);
}

float totalFit(std::span<const Sounding> soundings, std::span<const float> ties) {
  double sum = lateralSquares(soundings, ties);
  for (const Sounding& S : soundings) sum += dataSquares(S);
  return static_cast<float>(std::sqrt(sum / static_cast<double>(dataCount(soundings))));
}

float meanPercent(std::span<const Sounding> soundings) {
  float sum = 0.0f;
  for (const Sounding& S : soundings) sum += S.layer.PCTERR;
  return sum / static_cast<float>(std::max<std::size_t>(soundings.size(), 1));
}

// What one iteration keeps of the starting models: their parameters,
// synthetics, residuals and derivatives, and where each free parameter sits
// among the unknowns of the profile (-1 for a fixed one).
struct ProfileIteration {
  std::vector<std::vector<float>> start, best, synthetics, residuals;
  std::vector<core::Matrix<float>> J;
  std::vector<std::vector<int>> unknown;
  int unknowns = 0;

  explicit ProfileIteration(std::span<Sounding> soundings) {
    const std::size_t count = soundings.size();
    start.resize(count);
    synthetics.resize(count);
    residuals.resize(count);
    J.resize(count);
    unknown.resize(count);
    for (std::size_t k = 0; k < count; ++k) {
      Sounding& S = soundings[k];
      const int P = S.NPAR();
      start[k].assign(S.M.PAR.begin(), S.M.PAR.begin() + P);
      for (int c = 0; c < S.NCOMP(); ++c)
        for (int i = 0; i < S.NDATA(); ++i) synthetics[k].push_back(S.SVOLT(idx(i), idx(c)));
      residuals[k].resize(idx(S.NDATA()) * idx(S.NCOMP()));
      computeResiduals(S, residuals[k]);
      for (int j = 0; j < P; ++j) unknown[k].push_back(isSet(S.M.LFIX[idx(j)]) ? -1 : unknowns++);
    }
    best = start;
  }
};

// The profile's normal equations without damping, J^T J + L^T L, and the
// right-hand side J^T r - L^T L log m; `trace` gets the trace of J^T J.
void formProfileSystem(std::span<const Sounding> soundings, std::span<const float> ties,
                       const ProfileIteration& it, SparseMatrix& A, Eigen::VectorXd& g,
                       double& trace) {
  std::vector<Eigen::Triplet<double>> entries;
  g = Eigen::VectorXd::Zero(it.unknowns);
  trace = 0.0;
  for (std::size_t k = 0; k < soundings.size(); ++k) {
    const core::Matrix<float>& J = it.J[k];
    const std::vector<int>& u = it.unknown[k];
    for (std::size_t a = 0; a < u.size(); ++a) {
      if (u[a] < 0) continue;
      std::span<const float> ca = J.column(a);
      double gradient = 0.0;
      for (std::size_t i = 0; i < ca.size(); ++i)
        gradient += static_cast<double>(ca[i]) * static_cast<double>(it.residuals[k][i]);
      g[u[a]] += gradient;
      for (std::size_t b = 0; b < u.size(); ++b) {
        if (u[b] < 0) continue;
        std::span<const float> cb = J.column(b);
        double sum = 0.0;
        for (std::size_t i = 0; i < ca.size(); ++i)
          sum += static_cast<double>(ca[i]) * static_cast<double>(cb[i]);
        entries.emplace_back(u[a], u[b], sum);
        if (a == b) trace += sum;
      }
    }
  }
  // The tie (w (log m_k - log m_k+1))^2 of each parameter of neighbours.
  for (std::size_t k = 0; k + 1 < soundings.size(); ++k) {
    const double w2 = static_cast<double>(ties[k]) * static_cast<double>(ties[k]);
    for (std::size_t j = 0; j < it.unknown[k].size(); ++j) {
      const int a = it.unknown[k][j], b = it.unknown[k + 1][j];
      const double difference = log10Ratio(it.start[k][j], it.start[k + 1][j]);
      if (!std::isfinite(difference)) continue;
      if (a >= 0) {
        entries.emplace_back(a, a, w2);
        g[a] -= w2 * difference;
      }
      if (b >= 0) {
        entries.emplace_back(b, b, w2);
        g[b] += w2 * difference;
      }
      if (a >= 0 && b >= 0) {
        entries.emplace_back(a, b, -w2);
        entries.emplace_back(b, a, -w2);
      }
    }
  }
  A.resize(it.unknowns, it.unknowns);
  A.setFromTriplets(entries.begin(), entries.end());
}

struct IterationOutcome {
  int status = 0;
  float startFit = 0.0f;
};

// One iteration over the profile; the soundings keep the best models of the
// damping search (the starting ones when no trial improved the total fit).
IterationOutcome iterateProfile(std::span<Sounding> soundings, std::span<const float> ties,
                                ProfileRunner& runner, RunMonitor& monitor) {
  IterationOutcome outcome;
  for (Sounding& S : soundings) {
    if (S.robust) {
      refreshHuberWeights(S);
      S.layer.weightedFit = weightedFit(S);
    }
    S.layer.resolutionValid = core::kFalse;
    S.layer.equivalenceValid = core::kFalse;
    S.layer.saved = core::kFalse;
  }
  const float startFit = totalFit(soundings, ties);
  outcome.startFit = startFit;
  ProfileIteration it(soundings);
  IterationProgress progress(monitor);
  const int count = static_cast<int>(soundings.size());
  const bool derived = runner.each(
      [&](std::size_t k, const ForwardRoutine& forward, RunMonitor& own) {
        IterationProgress quiet(own);
        return computeDerivatives(soundings[k], forward, it.synthetics[k], it.J[k], own, quiet);
      },
      [&](int done) { progress.derivativeRun(done, count); }, true);
  if (!derived) return outcome;
  monitor.markTime();

  SparseMatrix normal;
  Eigen::VectorXd g;
  double trace = 0.0;
  formProfileSystem(soundings, ties, it, normal, g, trace);
  SparseMatrix identity(it.unknowns, it.unknowns);
  identity.setIdentity();
  Eigen::SimplicialLDLT<SparseMatrix> solver;
  solver.analyzePattern(normal + identity);

  float bestFit = startFit;
  const auto trial = [&](float damping) -> std::optional<float> {
    solver.factorize(normal + static_cast<double>(std::fabs(damping)) * identity);
    Eigen::VectorXd step = Eigen::VectorXd::Zero(it.unknowns);
    if (solver.info() == Eigen::Success) step = solver.solve(g);
    for (std::size_t k = 0; k < soundings.size(); ++k) {
      std::vector<float> d(it.start[k].size(), 0.0f);
      for (std::size_t j = 0; j < d.size(); ++j)
        if (it.unknown[k][j] >= 0) d[j] = static_cast<float>(step[it.unknown[k][j]]);
      applyLogStep(soundings[k], it.start[k], d);
    }
    const bool ran = runner.forwardAll(soundings, true);
    const float fit = ran ? totalFit(soundings, ties) : forward::kRefusedFit;
    if (ran && fit <= bestFit) {
      bestFit = fit;
      for (std::size_t k = 0; k < soundings.size(); ++k)
        std::copy_n(soundings[k].M.PAR.begin(), it.best[k].size(), it.best[k].begin());
    }
    for (std::size_t k = 0; k < soundings.size(); ++k)
      std::ranges::copy(it.start[k], soundings[k].M.PAR.begin());
    if (!ran) return std::nullopt;
    return fit;
  };
  // The damping is scaled as for one sounding: the mean trace of a
  // sounding's normal matrix bounds the first table.
  const float lambdaMax = static_cast<float>(trace / count);
  int trials = 0;
  progress.searchStart();
  searchDamping(lambdaMax, lambdaMax / 1000.0f, startFit, false, [&](float damping) {
    const std::optional<float> fit = trial(damping);
    progress.searchTrial(++trials);
    return fit;
  });
  for (std::size_t k = 0; k < soundings.size(); ++k)
    std::ranges::copy(it.best[k], soundings[k].M.PAR.begin());
  return outcome;
}

}  // namespace

std::optional<std::string> lateralProfileProblem(std::span<const Sounding> soundings) {
  if (soundings.size() < 2) return "a profile needs at least two soundings";
  const Sounding& first = soundings.front();
  for (std::size_t k = 0; k < soundings.size(); ++k) {
    const Sounding& S = soundings[k];
    if (S.NDATA() < 1) return nameOf(S, k) + " has no data";
    if (S.NLAYER() < 1) return nameOf(S, k) + " has no layered model";
    if (!arraysMatchCounts(S)) return nameOf(S, k) + " has arrays that disagree with its counts";
    if (core::familyOf(S.header.dataType) != core::familyOf(first.header.dataType))
      return "the soundings are not all of one family: " + nameOf(first, 0) + " is " +
             first.header.dataType.trimmed() + ", " + nameOf(S, k) + " is " +
             S.header.dataType.trimmed();
    if (S.NLAYER() != first.NLAYER())
      return "the layered models have different layer counts: " + nameOf(first, 0) + " has " +
             std::to_string(first.NLAYER()) + ", " + nameOf(S, k) + " has " +
             std::to_string(S.NLAYER());
    if (S.NPK() != first.NPK() || S.NPAR() != first.NPAR())
      return "the layered models have different parameters: " + nameOf(first, 0) + " and " +
             nameOf(S, k) + " differ in their IP parameters";
    if (isSet(S.model.depths) != isSet(first.model.depths))
      return "the layered models differ in form: " + nameOf(first, 0) + " and " + nameOf(S, k) +
             " do not both give thicknesses or both give depths";
  }
  return std::nullopt;
}

std::vector<float> lateralTieWeights(std::span<const float> distances, float weight) {
  std::vector<float> ties;
  if (distances.size() < 2) return ties;
  const auto [low, high] = std::ranges::minmax(distances);
  float mean = (high - low) / static_cast<float>(distances.size() - 1);
  if (!(mean > 0.0f)) mean = 1.0f;
  for (std::size_t k = 0; k + 1 < distances.size(); ++k) {
    const float spacing = std::max(std::fabs(distances[k + 1] - distances[k]), mean / 10.0f);
    ties.push_back(weight * mean / spacing);
  }
  return ties;
}

LateralResult InvertLaterally(std::span<Sounding> soundings, std::span<const float> distances,
                              std::span<const ForwardRoutine> forwards,
                              const LateralSettings& settings, RunMonitor& monitor, int pane) {
  LateralResult result;
  if (lateralProfileProblem(soundings) || distances.size() != soundings.size() ||
      forwards.size() != soundings.size()) {
    result.status = kInconsistentProfile;
    return result;
  }
  monitor.markTime();
  const std::vector<float> ties = lateralTieWeights(distances, settings.lateralWeight);
  ProfileRunner runner(forwards, monitor);
  runner.forwardAll(soundings, false);
  result.startFit = totalFit(soundings, ties);

  ui::Toolkit& toolkit = monitor.toolkit();
  toolkit.setStatus(pane, fitStatusText(meanPercent(soundings)));
  monitor.PollInterrupt(true);
  const core::InversionSettings& control = settings.control;
  try {
    for (int iteration = 1; iteration <= control.iterationLimit; ++iteration) {
      const IterationOutcome once = iterateProfile(soundings, ties, runner, monitor);
      ++result.iterations;
      if (monitor.interrupted() || once.status != 0) {
        result.status = once.status;
        break;
      }
      runner.forwardAll(soundings, false);
      toolkit.setStatus(pane, fitStatusText(meanPercent(soundings)));
      toolkit.requestRedraw();
      const float worst = std::ranges::max(soundings, {}, [](const Sounding& S) {
                            return S.layer.PCTERR;
                          }).layer.PCTERR;
      if (totalFit(soundings, ties) > control.improvementRatio * once.startFit ||
          worst < control.fitFloorPercent || iteration == control.iterationLimit)
        break;
    }
  } catch (const std::bad_alloc&) {
    result.status = kWorkArrayAllocationFailed;
  }
  result.interrupted = monitor.interrupted();
  monitor.PollInterrupt(true);
  runner.forwardAll(soundings, false);
  result.fit = totalFit(soundings, ties);
  return result;
}

}  // namespace zeva::inversion
