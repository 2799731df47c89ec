// Well-log processing: cleaning, cumulative conductance and the step fit.

#include "core/program/well_log.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace zeva::core {

WellLog cleanWellLog(const WellLog& log) {
  std::vector<std::size_t> order;
  const std::size_t n = std::min(log.depth.size(), log.resistivity.size());
  for (std::size_t i = 0; i < n; ++i)
    if (std::isfinite(log.depth[i]) && log.depth[i] >= 0.0f && std::isfinite(log.resistivity[i]) &&
        log.resistivity[i] > 0.0f)
      order.push_back(i);
  std::ranges::stable_sort(
      order, [&](std::size_t a, std::size_t b) { return log.depth[a] < log.depth[b]; });
  WellLog clean;
  for (std::size_t i : order) {
    clean.depth.push_back(log.depth[i]);
    clean.resistivity.push_back(log.resistivity[i]);
  }
  return clean;
}

std::vector<float> cumulativeConductance(const WellLog& clean) {
  std::vector<float> conductance;
  double sum = 0.0;
  for (std::size_t i = 0; i < clean.depth.size(); ++i) {
    if (i == 0) {
      sum = static_cast<double>(clean.depth[0]) / static_cast<double>(clean.resistivity[0]);
    } else {
      const double h = clean.depth[i] - clean.depth[i - 1];
      sum += h * 0.5 *
             (1.0 / static_cast<double>(clean.resistivity[i - 1]) +
              1.0 / static_cast<double>(clean.resistivity[i]));
    }
    conductance.push_back(static_cast<float>(sum));
  }
  return conductance;
}

float layeredConductance(const std::vector<float>& resistivity,
                         const std::vector<float>& bottomDepth, float depth) {
  double sum = 0.0, top = 0.0;
  for (std::size_t i = 0; i < resistivity.size(); ++i) {
    const double bottom = i < bottomDepth.size() ? static_cast<double>(bottomDepth[i])
                                                 : std::numeric_limits<double>::max();
    const double reached = std::min<double>(bottom, depth);
    if (reached > top && resistivity[i] > 0.0f)
      sum += (reached - top) / static_cast<double>(resistivity[i]);
    if (static_cast<double>(depth) <= bottom) break;
    top = bottom;
  }
  return static_cast<float>(sum);
}

LogSegmentation segmentWellLog(const WellLog& clean, int layers) {
  return inversion::fitSteps(clean.depth, clean.resistivity, layers);
}

}  // namespace zeva::core
