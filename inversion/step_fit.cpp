// The optimal step fit. Its sums are kept in double precision: they are
// differences of large running sums over thousands of readings.

#include "inversion/step_fit.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zeva::inversion {

namespace {

// The optimal fits of every step count up to `layers` at once: best[k][b] is
// the least misfit of blocks [0, b) in k + 1 steps, from[k][b] the start of
// the last step.
class Segmentation {
 public:
  Segmentation(std::span<const float> depth, std::span<const float> resistivity, int layers)
      : depth_(depth), n_(std::min(depth.size(), resistivity.size())) {
    if (n_ == 0 || layers < 1) return;
    // Blocks of neighbouring readings with the sums the fit needs; a boundary
    // can fall only between blocks.
    m_ = std::min<std::size_t>(n_, kStepFitBlocks);
    count_.assign(m_ + 1, 0.0);
    sum_.assign(m_ + 1, 0.0);
    squares_.assign(m_ + 1, 0.0);
    first_.assign(m_ + 1, n_);
    for (std::size_t b = 0; b < m_; ++b) first_[b] = b * n_ / m_;
    for (std::size_t b = 0; b < m_; ++b) {
      double c = 0.0, s = 0.0, q = 0.0;
      for (std::size_t i = first_[b]; i < first_[b + 1]; ++i) {
        const double v = std::log10(static_cast<double>(resistivity[i]));
        c += 1.0;
        s += v;
        q += v * v;
      }
      count_[b + 1] = count_[b] + c;
      sum_[b + 1] = sum_[b] + s;
      squares_[b + 1] = squares_[b] + q;
    }
    steps_ = std::min<std::size_t>(static_cast<std::size_t>(layers), m_);
    constexpr double kNone = std::numeric_limits<double>::infinity();
    best_.assign(steps_, std::vector<double>(m_ + 1, kNone));
    from_.assign(steps_, std::vector<std::size_t>(m_ + 1, 0));
    for (std::size_t b = 1; b <= m_; ++b) best_[0][b] = cost(0, b);
    for (std::size_t k = 1; k < steps_; ++k)
      for (std::size_t b = k + 1; b <= m_; ++b)
        for (std::size_t a = k; a < b; ++a) {
          const double trial = best_[k - 1][a] + cost(a, b);
          if (trial < best_[k][b]) {
            best_[k][b] = trial;
            from_[k][b] = a;
          }
        }
  }

  std::size_t maxSteps() const { return steps_; }

  // The RMS misfit of log10 resistivity of the fit in `steps` steps.
  double rms(std::size_t steps) const { return std::sqrt(best_[steps - 1][m_] / count_[m_]); }

  // The fewest steps, up to `steps`, whose misfit no further step improves
  // noticeably: a curve made of fewer blocks is not split into equal layers.
  std::size_t useful(std::size_t steps) const {
    while (steps > 1 && best_[steps - 2][m_] <= best_[steps - 1][m_] + 1e-9 * count_[m_]) --steps;
    return steps;
  }

  StepFit fit(std::size_t used) const {
    StepFit result;
    std::vector<std::size_t> starts(used, 0);
    std::size_t end = m_;
    for (std::size_t k = used; k-- > 0;) {
      starts[k] = k == 0 ? 0 : from_[k][end];
      end = starts[k];
    }
    for (std::size_t k = 0; k < used; ++k) {
      const std::size_t a = starts[k], b = k + 1 < used ? starts[k + 1] : m_;
      const double mean = (sum_[b] - sum_[a]) / (count_[b] - count_[a]);
      result.resistivity.push_back(static_cast<float>(std::pow(10.0, mean)));
      if (k + 1 < used) {
        const float above = depth_[first_[b] - 1], below = depth_[first_[b]];
        result.bottomDepth.push_back(0.5f * (above + below));
      }
    }
    result.rmsLog10 = static_cast<float>(rms(used));
    return result;
  }

 private:
  // Squared misfit of one step over blocks [a, b).
  double cost(std::size_t a, std::size_t b) const {
    const double c = count_[b] - count_[a], s = sum_[b] - sum_[a];
    return std::max(0.0, squares_[b] - squares_[a] - s * s / c);
  }

  std::span<const float> depth_;
  std::size_t n_ = 0, m_ = 0, steps_ = 0;
  std::vector<double> count_, sum_, squares_;
  std::vector<std::size_t> first_;
  std::vector<std::vector<double>> best_;
  std::vector<std::vector<std::size_t>> from_;
};

}  // namespace

StepFit fitSteps(std::span<const float> depth, std::span<const float> resistivity, int layers) {
  const Segmentation segmentation(depth, resistivity, layers);
  if (segmentation.maxSteps() == 0) return {};
  return segmentation.fit(segmentation.useful(segmentation.maxSteps()));
}

StepFit fitStepsWithin(std::span<const float> depth, std::span<const float> resistivity,
                       float tolerancePercent, int maxLayers) {
  const Segmentation segmentation(depth, resistivity, maxLayers);
  if (segmentation.maxSteps() == 0) return {};
  const double tolerance = std::log10(1.0 + static_cast<double>(tolerancePercent) / 100.0);
  std::size_t steps = 1;
  while (steps < segmentation.maxSteps() && segmentation.rms(steps) > tolerance) ++steps;
  return segmentation.fit(segmentation.useful(steps));
}

}  // namespace zeva::inversion
