// The four-entry damping table and its moves.

#include "inversion/damping_search.h"

#include <array>
#include <cmath>

namespace zeva::inversion {

namespace {

// The damping table, largest damping first, with the fit of each entry.
struct Table {
  std::array<float, 4> lambda{};
  std::array<float, 4> fit{};

  // The entry chosen from the current fits: a smaller damping wins whenever
  // its fit is within 1 % of the current choice.
  int select() const {
    int k = 0;
    float threshold = 1.01f * fit[0];
    for (int i = 1; i < 4; ++i) {
      if (fit[i] <= threshold) {
        k = i;
        threshold = 1.01f * fit[i];
      }
    }
    return k;
  }

  // Whether the search ends at the chosen entry k: its neighbours fit less
  // than twice worse (at the large end only when the fit has improved on
  // the start, at the small end never in a rough search, which keeps
  // moving).
  bool flatAround(int k, bool rough, float startFit) const {
    if (k == 3) return !rough && fit[2] / fit[3] < 2.0f && fit[1] / fit[3] < 2.0f;
    if (k == 0) return fit[1] / fit[0] < 2.0f && fit[2] / fit[0] < 2.0f && fit[0] < startFit;
    return fit[k + 1] / fit[k] < 2.0f && fit[k - 1] / fit[k] < 2.0f;
  }

  // The table moved one entry towards smaller dampings, `next` the new last
  // entry; returns the slot to evaluate.
  int moveTowardsSmaller(float next) {
    for (int i = 0; i < 3; ++i) {
      lambda[i] = lambda[i + 1];
      fit[i] = fit[i + 1];
    }
    lambda[3] = next;
    return 3;
  }

  // The table moved one entry towards larger dampings, `next` the new first.
  int moveTowardsLarger(float next) {
    for (int i = 3; i > 0; --i) {
      lambda[i] = lambda[i - 1];
      fit[i] = fit[i - 1];
    }
    lambda[0] = next;
    return 0;
  }

  // A damping inserted next to the chosen inner entry k; the table keeps
  // falling dampings and drops one entry from its far end. Returns the slot
  // of the inserted damping.
  int refineAround(int k) {
    const bool above = 0.9f * lambda[k] / lambda[k - 1] > lambda[k + 1] / lambda[k];
    const float inserted =
        above ? std::sqrt(lambda[k] * lambda[k - 1]) : std::sqrt(lambda[k] * lambda[k + 1]);
    int slot = 0;
    if (k == 2 && !above) {
      // Between the third and fourth entries: the first entry goes.
      lambda[0] = lambda[1];
      fit[0] = fit[1];
      lambda[1] = lambda[2];
      fit[1] = fit[2];
      slot = 2;
    } else {
      // Above the second or third entry, or below the second: the fourth goes.
      slot = above ? k : k + 1;
      for (int i = 3; i > slot; --i) {
        lambda[i] = lambda[i - 1];
        fit[i] = fit[i - 1];
      }
    }
    lambda[slot] = inserted;
    return slot;
  }
};

}  // namespace

DampingSearchResult searchDamping(float lambdaMax, float lambdaMin, float startFit, bool rough,
                                  const TrialFit& trial) {
  DampingSearchResult result;
  result.damping = lambdaMax;
  if (!(lambdaMin < lambdaMax)) return result;

  const float q = std::pow(10.0f, std::log10(lambdaMin / lambdaMax) / 3.0f);
  Table t;
  t.lambda = {lambdaMax, lambdaMax * q, lambdaMax * q * q, lambdaMin};

  auto evaluate = [&](int slot) {
    const std::optional<float> fit = trial(t.lambda[slot]);
    ++result.trials;
    if (!fit) {
      result.interrupted = true;
      return false;
    }
    t.fit[slot] = *fit;
    return true;
  };
  auto choose = [&](int slot) {
    result.damping = t.lambda[slot];
    return result;
  };

  // The small dampings first: a clear minimum at the small end ends the search.
  if (!evaluate(3) || !evaluate(2)) return result;
  if (t.fit[2] > t.fit[3] && startFit > t.fit[3]) return choose(3);
  if (!evaluate(1)) return result;
  if (t.fit[1] > t.fit[2] && startFit > t.fit[2]) return choose(2);
  if (!evaluate(0)) return result;

  int pending = -1;  // the slot whose new damping the next repetition evaluates
  for (int repetition = 1; repetition <= 4; ++repetition) {
    if (pending >= 0 && !evaluate(pending)) return result;
    const int k = t.select();
    result.damping = t.lambda[k];
    if (repetition == 4) break;

    if (t.flatAround(k, rough, startFit)) break;
    if (k == 3)
      pending = t.moveTowardsSmaller(rough ? t.lambda[3] / 10.0f : t.lambda[3] * q);
    else if (k == 0)
      pending = t.moveTowardsLarger(t.lambda[0] / q);
    else
      pending = t.refineAround(k);
  }
  return result;
}

}  // namespace zeva::inversion
