#pragma once
// A function tabulated at abscissae spaced evenly in their logarithm, read
// back by cubic Lagrange interpolation in the logarithm. The transient
// model keeps its frequency response and its step response this way: both
// are smooth in log frequency and log time, so four neighbouring values give
// them to about 1.0E-5 at the spacings used. Double precision throughout.

#include <cmath>
#include <cstddef>
#include <vector>

namespace zeva::forward {

class LogGridTable {
 public:
  LogGridTable() = default;
  // Values at first * exp(k step), k = 0 .. values.size() - 1 (at least 4).
  LogGridTable(double first, double step, std::vector<double> values)
      : lnFirst_(std::log(first)), step_(step), values_(std::move(values)) {}

  double lnFirst() const { return lnFirst_; }
  double step() const { return step_; }
  std::size_t size() const { return values_.size(); }
  double abscissa(std::size_t k) const { return std::exp(lnFirst_ + step_ * double(k)); }
  double lnLast() const { return lnFirst_ + step_ * double(values_.size() - 1); }

  // The interpolated value at ln x = lnX; the end stencils are used (and
  // extended) outside the inner intervals.
  double atLn(double lnX) const {
    const double position = (lnX - lnFirst_) / step_;
    const auto last = static_cast<double>(values_.size() - 4);
    const double start = std::fmin(std::fmax(std::floor(position) - 1.0, 0.0), last);
    const auto k = static_cast<std::size_t>(start);
    const double s = position - start;  // stencil points at s = 0, 1, 2, 3
    const double a = s - 1.0, b = s - 2.0, c = s - 3.0;
    return (-a * b * c * values_[k] + 3.0 * s * b * c * values_[k + 1] -
            3.0 * s * a * c * values_[k + 2] + s * a * b * values_[k + 3]) /
           6.0;
  }

 private:
  double lnFirst_ = 0.0, step_ = 1.0;
  std::vector<double> values_;
};

}  // namespace zeva::forward
