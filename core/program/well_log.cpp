// Well-log processing: cleaning, cumulative conductance and the optimal step
// fit. The fit's sums are kept in double precision: they are differences of
// large running sums over thousands of readings.

#include "core/program/well_log.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace zeva::core {

files::WellLog cleanWellLog(const files::WellLog& log) {
  std::vector<std::size_t> order;
  const std::size_t n = std::min(log.depth.size(), log.resistivity.size());
  for (std::size_t i = 0; i < n; ++i)
    if (std::isfinite(log.depth[i]) && log.depth[i] >= 0.0f && std::isfinite(log.resistivity[i]) &&
        log.resistivity[i] > 0.0f)
      order.push_back(i);
  std::ranges::stable_sort(
      order, [&](std::size_t a, std::size_t b) { return log.depth[a] < log.depth[b]; });
  files::WellLog clean;
  for (std::size_t i : order) {
    clean.depth.push_back(log.depth[i]);
    clean.resistivity.push_back(log.resistivity[i]);
  }
  return clean;
}

std::vector<float> cumulativeConductance(const files::WellLog& clean) {
  std::vector<float> conductance;
  double sum = 0.0;
  for (std::size_t i = 0; i < clean.depth.size(); ++i) {
    if (i == 0) {
      sum = clean.depth[0] / static_cast<double>(clean.resistivity[0]);
    } else {
      const double h = clean.depth[i] - clean.depth[i - 1];
      sum += h * 0.5 * (1.0 / clean.resistivity[i - 1] + 1.0 / clean.resistivity[i]);
    }
    conductance.push_back(static_cast<float>(sum));
  }
  return conductance;
}

float layeredConductance(const std::vector<float>& resistivity,
                         const std::vector<float>& bottomDepth, float depth) {
  double sum = 0.0, top = 0.0;
  for (std::size_t i = 0; i < resistivity.size(); ++i) {
    const double bottom =
        i < bottomDepth.size() ? bottomDepth[i] : std::numeric_limits<double>::max();
    const double reached = std::min<double>(bottom, depth);
    if (reached > top && resistivity[i] > 0.0f) sum += (reached - top) / resistivity[i];
    if (depth <= bottom) break;
    top = bottom;
  }
  return static_cast<float>(sum);
}

LogSegmentation segmentWellLog(const files::WellLog& clean, int layers) {
  LogSegmentation result;
  const std::size_t n = std::min(clean.depth.size(), clean.resistivity.size());
  if (n == 0 || layers < 1) return result;

  // Blocks of neighbouring readings with the sums the fit needs; a boundary
  // can fall only between blocks.
  const std::size_t m = std::min<std::size_t>(n, kSegmentationBlocks);
  std::vector<double> count(m + 1, 0.0), sum(m + 1, 0.0), squares(m + 1, 0.0);
  std::vector<std::size_t> firstReading(m + 1, n);
  for (std::size_t b = 0; b < m; ++b) firstReading[b] = b * n / m;
  for (std::size_t b = 0; b < m; ++b) {
    double c = 0.0, s = 0.0, q = 0.0;
    for (std::size_t i = firstReading[b]; i < firstReading[b + 1]; ++i) {
      const double v = std::log10(static_cast<double>(clean.resistivity[i]));
      c += 1.0;
      s += v;
      q += v * v;
    }
    count[b + 1] = count[b] + c;
    sum[b + 1] = sum[b] + s;
    squares[b + 1] = squares[b] + q;
  }
  // Squared misfit of one step over blocks [a, b).
  auto cost = [&](std::size_t a, std::size_t b) {
    const double c = count[b] - count[a], s = sum[b] - sum[a];
    return std::max(0.0, squares[b] - squares[a] - s * s / c);
  };

  const std::size_t steps = std::min<std::size_t>(static_cast<std::size_t>(layers), m);
  constexpr double kNone = std::numeric_limits<double>::infinity();
  // best[k][b]: least misfit of blocks [0, b) in k + 1 steps; from[k][b] the
  // start of the last step.
  std::vector<std::vector<double>> best(steps, std::vector<double>(m + 1, kNone));
  std::vector<std::vector<std::size_t>> from(steps, std::vector<std::size_t>(m + 1, 0));
  for (std::size_t b = 1; b <= m; ++b) best[0][b] = cost(0, b);
  for (std::size_t k = 1; k < steps; ++k)
    for (std::size_t b = k + 1; b <= m; ++b)
      for (std::size_t a = k; a < b; ++a) {
        const double trial = best[k - 1][a] + cost(a, b);
        if (trial < best[k][b]) {
          best[k][b] = trial;
          from[k][b] = a;
        }
      }
  // The fewest steps whose misfit no further step improves noticeably: a log
  // made of fewer blocks than asked for is not split into identical layers.
  std::size_t used = steps;
  while (used > 1 && best[used - 2][m] <= best[used - 1][m] + 1e-9 * count[m]) --used;

  std::vector<std::size_t> starts(used, 0);
  std::size_t end = m;
  for (std::size_t k = used; k-- > 0;) {
    starts[k] = k == 0 ? 0 : from[k][end];
    end = starts[k];
  }
  for (std::size_t k = 0; k < used; ++k) {
    const std::size_t a = starts[k], b = k + 1 < used ? starts[k + 1] : m;
    const double mean = (sum[b] - sum[a]) / (count[b] - count[a]);
    result.resistivity.push_back(static_cast<float>(std::pow(10.0, mean)));
    if (k + 1 < used) {
      const float above = clean.depth[firstReading[b] - 1], below = clean.depth[firstReading[b]];
      result.bottomDepth.push_back(0.5f * (above + below));
    }
  }
  result.rmsLog10 = static_cast<float>(std::sqrt(best[used - 1][m] / count[m]));
  return result;
}

}  // namespace zeva::core
