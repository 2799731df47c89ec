#pragma once
// The interpolating cubic spline with natural end conditions (zero second
// derivative at both ends): a piecewise cubic through every given point with
// continuous first and second derivatives. The model estimation resamples an
// apparent-resistivity curve with it in log-log coordinates. Outside the
// fitted range the spline gives 0, so callers sample only inside it.

#include <span>
#include <vector>

namespace zeva::inversion {

class CubicSpline {
 public:
  // Fits the spline through (x[i], y[i]); x must increase strictly and hold at
  // least two points. With fewer points, or abscissae that do not increase,
  // the spline is empty and evaluates to 0 everywhere.
  CubicSpline(std::span<const float> x, std::span<const float> y);

  bool empty() const { return x_.size() < 2; }
  float operator()(float at) const;

 private:
  std::vector<float> x_, y_;
  std::vector<float> secondDerivative_;
};

}  // namespace zeva::inversion
