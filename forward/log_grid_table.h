#pragma once
// A function tabulated at abscissae spaced evenly in their logarithm, read
// back by Lagrange interpolation in the logarithm on a stencil of the
// nearest `points` values (an even number, 4 by default). The transient
// model keeps its frequency response and its step response this way: both
// are analytic in the logarithm of frequency or time well beyond the
// spacings used, so the interpolation error falls geometrically with the
// stencil. Double precision throughout.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace zeva::forward {

class LogGridTable {
 public:
  LogGridTable() = default;
  // Values at first * exp(k step), k = 0 .. values.size() - 1 (at least
  // `points`).
  LogGridTable(double first, double step, std::vector<double> values, std::size_t points = 4)
      : lnFirst_(std::log(first)), step_(step), values_(std::move(values)), points_(points) {
    // 1 / prod_{m != k} (k - m) for stencil point k.
    for (std::size_t k = 0; k < points_; ++k) {
      double product = 1.0;
      for (std::size_t m = 0; m < points_; ++m)
        if (m != k) product *= double(k) - double(m);
      inverseProducts_.push_back(1.0 / product);
    }
  }

  double lnFirst() const { return lnFirst_; }
  double step() const { return step_; }
  std::size_t size() const { return values_.size(); }
  double abscissa(std::size_t k) const { return std::exp(lnFirst_ + step_ * double(k)); }
  double lnLast() const { return lnFirst_ + step_ * double(values_.size() - 1); }

  // The interpolated value at ln x = lnX; the end stencils are used (and
  // extended) outside the inner intervals.
  double atLn(double lnX) const {
    const double position = (lnX - lnFirst_) / step_;
    const double below = double(points_ / 2 - 1);
    const double start =
        std::clamp(std::floor(position) - below, 0.0, double(values_.size() - points_));
    const auto first = static_cast<std::size_t>(start);
    const double s = position - start;  // stencil points at s = 0 .. points - 1
    // Lagrange's weights prod_{m != k} (s - m) / (k - m), all from the one
    // product prod_m (s - m).
    double product = 1.0;
    for (std::size_t m = 0; m < points_; ++m) product *= s - double(m);
    double sum = 0.0;
    for (std::size_t k = 0; k < points_; ++k) {
      if (s == double(k)) return values_[first + k];
      sum += product / (s - double(k)) * inverseProducts_[k] * values_[first + k];
    }
    return sum;
  }

 private:
  double lnFirst_ = 0.0, step_ = 1.0;
  std::vector<double> values_;
  std::size_t points_ = 4;
  std::vector<double> inverseProducts_;
};

}  // namespace zeva::forward
