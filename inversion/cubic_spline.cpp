// Natural cubic spline: the second derivatives at the knots solve a
// tridiagonal system (Thomas algorithm), as in the classical construction of
// de Boor, "A Practical Guide to Splines" (1978), chapter IV.
#include "inversion/cubic_spline.h"

#include <algorithm>
#include <cstddef>

namespace zeva::inversion {

CubicSpline::CubicSpline(std::span<const float> x, std::span<const float> y) {
  const std::size_t n = std::min(x.size(), y.size());
  if (n < 2) return;
  for (std::size_t i = 1; i < n; ++i)
    if (!(x[i] > x[i - 1])) return;
  x_.assign(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(n));
  y_.assign(y.begin(), y.begin() + static_cast<std::ptrdiff_t>(n));
  secondDerivative_.assign(n, 0.0f);

  // Forward sweep of the tridiagonal system for the inner knots; the natural
  // end conditions fix the second derivative at both ends to zero.
  std::vector<float> diagonal(n, 1.0f), rhs(n, 0.0f);
  for (std::size_t i = 1; i + 1 < n; ++i) {
    const float hLeft = x_[i] - x_[i - 1];
    const float hRight = x_[i + 1] - x_[i];
    const float slopeChange = (y_[i + 1] - y_[i]) / hRight - (y_[i] - y_[i - 1]) / hLeft;
    const float sub = (i > 1) ? hLeft / diagonal[i - 1] : 0.0f;
    diagonal[i] = 2.0f * (hLeft + hRight) - sub * hLeft;
    rhs[i] = 6.0f * slopeChange - sub * rhs[i - 1];
  }
  for (std::size_t i = n - 1; i-- > 1;) {
    const float hRight = x_[i + 1] - x_[i];
    secondDerivative_[i] = (rhs[i] - hRight * secondDerivative_[i + 1]) / diagonal[i];
  }
}

float CubicSpline::operator()(float at) const {
  if (empty() || !(at >= x_.front() && at <= x_.back())) return 0.0f;
  const auto upper = std::upper_bound(x_.begin(), x_.end(), at);
  std::size_t k = static_cast<std::size_t>(upper - x_.begin());
  k = std::clamp<std::size_t>(k, 1, x_.size() - 1);
  const float h = x_[k] - x_[k - 1];
  const float a = (x_[k] - at) / h;
  const float b = (at - x_[k - 1]) / h;
  return a * y_[k - 1] + b * y_[k] +
         ((a * a * a - a) * secondDerivative_[k - 1] + (b * b * b - b) * secondDerivative_[k]) *
             (h * h) / 6.0f;
}

}  // namespace zeva::inversion
