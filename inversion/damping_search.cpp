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

    auto& lambda = t.lambda;
    auto& fit = t.fit;
    if (k == 3) {
      if (!rough && fit[2] / fit[3] < 2.0f && fit[1] / fit[3] < 2.0f) break;
      // Move the table towards smaller dampings.
      const float next = rough ? lambda[3] / 10.0f : lambda[3] * q;
      for (int i = 0; i < 3; ++i) {
        lambda[i] = lambda[i + 1];
        fit[i] = fit[i + 1];
      }
      lambda[3] = next;
      pending = 3;
    } else if (k == 0) {
      if (fit[1] / fit[0] < 2.0f && fit[2] / fit[0] < 2.0f && fit[0] < startFit) break;
      // Move the table towards larger dampings.
      const float next = lambda[0] / q;
      for (int i = 3; i > 0; --i) {
        lambda[i] = lambda[i - 1];
        fit[i] = fit[i - 1];
      }
      lambda[0] = next;
      pending = 0;
    } else {
      if (fit[k + 1] / fit[k] < 2.0f && fit[k - 1] / fit[k] < 2.0f) break;
      // Refine next to the chosen damping; the table keeps falling dampings
      // and drops one entry from its far end.
      const bool above = 0.9f * lambda[k] / lambda[k - 1] > lambda[k + 1] / lambda[k];
      const float inserted =
          above ? std::sqrt(lambda[k] * lambda[k - 1]) : std::sqrt(lambda[k] * lambda[k + 1]);
      if (k == 2 && !above) {
        // Between the third and fourth entries: the first entry goes.
        lambda[0] = lambda[1];
        fit[0] = fit[1];
        lambda[1] = lambda[2];
        fit[1] = fit[2];
        pending = 2;
      } else {
        // Above the second or third entry, or below the second: the fourth goes.
        pending = above ? k : k + 1;
        for (int i = 3; i > pending; --i) {
          lambda[i] = lambda[i - 1];
          fit[i] = fit[i - 1];
        }
      }
      lambda[pending] = inserted;
    }
  }
  return result;
}

}  // namespace zeva::inversion
