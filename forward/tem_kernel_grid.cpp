#include "forward/tem_kernel_grid.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "forward/key_filters.h"

namespace zeva::forward {

namespace {

// Eight-point Lagrange interpolation in log(lambda): a closed loop's
// functional differences transforms of nearly equal size, so the
// interpolation is kept far finer than the response itself needs; at the
// filter's spacing eight points hold the smooth kernel to about 1.0E-9.
constexpr std::size_t kStencil = 8;
constexpr std::size_t kBelow = 3;  // stencil points below the interpolated one

// The weights of stencil points 0 .. kStencil - 1 for the value at s.
std::array<double, kStencil> lagrangeWeights(double s) {
  std::array<double, kStencil> weights{};
  for (std::size_t k = 0; k < kStencil; ++k) {
    double w = 1.0;
    for (std::size_t m = 0; m < kStencil; ++m)
      if (m != k) w *= (s - double(m)) / (double(k) - double(m));
    weights[k] = w;
  }
  return weights;
}

// Distances this close (relative) are the same to the filter.
constexpr double kSameDistance = 1.0e-12;

// The points with rho > 0, those of equal order and distance (the symmetric
// points of a loop about its receiver) merged into one: the spreading below
// costs a filter's length per point.
std::vector<WirePoint> distinctPoints(std::span<const WirePoint> input) {
  std::vector<WirePoint> points;
  for (const WirePoint& p : input)
    if (p.rho > 0.0 && std::isfinite(p.rho)) points.push_back(p);
  std::sort(points.begin(), points.end(), [](const WirePoint& a, const WirePoint& b) {
    return a.order != b.order ? a.order < b.order : a.rho < b.rho;
  });
  std::vector<WirePoint> distinct;
  for (const WirePoint& p : points) {
    if (!distinct.empty() && distinct.back().order == p.order &&
        p.rho - distinct.back().rho <= kSameDistance * p.rho)
      distinct.back().weight += p.weight;
    else
      distinct.push_back(p);
  }
  return distinct;
}

}  // namespace

KernelGrid::KernelGrid(std::span<const WirePoint> wire) {
  const std::vector<WirePoint> points = distinctPoints(wire);
  if (points.empty()) return;
  double rhoMin = points.front().rho, rhoMax = rhoMin;
  for (const WirePoint& p : points) {
    rhoMin = std::min(rhoMin, p.rho);
    rhoMax = std::max(rhoMax, p.rho);
  }
  largestDistance_ = rhoMax;

  const double step = std::log(kKeyHankelBase[1] / kKeyHankelBase[0]);
  const double lnBase = std::log(kKeyHankelBase[0]);
  // kBelow grid points below the lowest abscissa and the rest of a stencil
  // above the highest.
  const double lnFirst = lnBase - std::log(rhoMax) - step * kBelow;
  const auto count = static_cast<std::size_t>(
      std::ceil((std::log(rhoMax) - std::log(rhoMin)) / step) + kKeyFilterPoints + kStencil + 1);
  lambdas_.resize(count);
  for (std::size_t g = 0; g < count; ++g) lambdas_[g] = std::exp(lnFirst + step * double(g));
  weights_.assign(count, 0.0);

  for (const WirePoint& p : points) {
    const auto& filter = p.order == 0 ? kKeyJ0Weights : kKeyJ1Weights;
    // Filter point i sits at grid position `offset + i`, one fraction for all i.
    const double offset = (lnBase - std::log(p.rho) - lnFirst) / step;
    // The stencil starts kBelow grid points below the filter point (kept
    // inside the grid against rounding); s is the filter point's place in it.
    const double start =
        std::clamp(std::floor(offset) - double(kBelow), 0.0,
                   double(count) - double(kStencil) - double(kKeyFilterPoints - 1));
    const std::array<double, kStencil> stencil = lagrangeWeights(offset - start);
    const auto first = static_cast<std::size_t>(start);
    const double scale = p.weight / p.rho;
    for (int i = 0; i < kKeyFilterPoints; ++i) {
      const double w = scale * filter[static_cast<std::size_t>(i)];
      const std::size_t g = first + static_cast<std::size_t>(i);
      for (std::size_t k = 0; k < kStencil; ++k) weights_[g + k] += w * stencil[k];
    }
  }
  // The kernel of every point is r_TE lambda^power; the powers are folded in.
  const int power = points.front().lambdaPower;
  if (power != 0)
    for (std::size_t g = 0; g < count; ++g) weights_[g] *= std::pow(lambdas_[g], power);
}

}  // namespace zeva::forward
