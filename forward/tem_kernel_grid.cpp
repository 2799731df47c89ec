#include "forward/tem_kernel_grid.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "forward/key_filters.h"

namespace zeva::forward {

KernelGrid::KernelGrid(std::span<const WirePoint> points) {
  double rhoMin = 0.0, rhoMax = 0.0;
  for (const WirePoint& p : points) {
    if (!(p.rho > 0.0) || !std::isfinite(p.rho)) continue;
    rhoMin = rhoMin > 0.0 ? std::min(rhoMin, p.rho) : p.rho;
    rhoMax = std::max(rhoMax, p.rho);
  }
  if (!(rhoMin > 0.0)) return;
  largestDistance_ = rhoMax;

  const double step = std::log(kKeyHankelBase[1] / kKeyHankelBase[0]);
  const double lnBase = std::log(kKeyHankelBase[0]);
  // One grid point below the lowest abscissa and two above the highest, for
  // the four-point stencils.
  const double lnFirst = lnBase - std::log(rhoMax) - step;
  const auto count = static_cast<std::size_t>(
      std::ceil((std::log(rhoMax) - std::log(rhoMin)) / step) + kKeyFilterPoints + 3);
  lambdas_.resize(count);
  for (std::size_t g = 0; g < count; ++g) lambdas_[g] = std::exp(lnFirst + step * double(g));
  weights_.assign(count, 0.0);

  for (const WirePoint& p : points) {
    if (!(p.rho > 0.0) || !std::isfinite(p.rho)) continue;
    const auto& filter = p.order == 0 ? kKeyJ0Weights : kKeyJ1Weights;
    // Filter point i sits at grid position `offset + i`, one fraction for all i.
    const double offset = (lnBase - std::log(p.rho) - lnFirst) / step;
    // The stencil starts one grid point below the filter point (kept inside
    // the grid against rounding); s is the filter point's place in it.
    const double start = std::clamp(std::floor(offset) - 1.0, 0.0,
                                    double(count) - 4.0 - double(kKeyFilterPoints - 1));
    const double s = offset - start;
    const double a = s - 1.0, b = s - 2.0, c = s - 3.0;
    const std::array<double, 4> stencil{-a * b * c / 6.0, s * b * c / 2.0, -s * a * c / 2.0,
                                        s * a * b / 6.0};
    const auto first = static_cast<std::size_t>(start);
    const double scale = p.weight / p.rho;
    for (int i = 0; i < kKeyFilterPoints; ++i) {
      const double w = scale * filter[static_cast<std::size_t>(i)];
      const std::size_t g = first + static_cast<std::size_t>(i);
      for (std::size_t k = 0; k < 4; ++k) weights_[g + k] += w * stencil[k];
    }
  }
  // The kernel of every point is r_TE lambda^power; the powers are folded in.
  const int power = points.front().lambdaPower;
  if (power != 0)
    for (std::size_t g = 0; g < count; ++g) weights_[g] *= std::pow(lambdas_[g], power);
}

}  // namespace zeva::forward
