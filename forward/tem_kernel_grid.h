#pragma once
// All the Hankel transforms of a loop's wire points folded into one linear
// functional of the reflection kernel. Each wire point's transform is Key's
// 201-point filter at abscissae b_i / rho; the abscissae of all points are
// brought onto one grid evenly spaced in log(lambda) with the filter's own
// step, by Lagrange interpolation of the kernel in log(lambda). The
// response at a frequency is then sum_g F_g r_TE(lambda_g): one kernel
// evaluation per grid point, however many wire points the loop needs.

#include <span>
#include <vector>

#include "forward/tem_loop_wire.h"

namespace zeva::forward {

class KernelGrid {
 public:
  // The functional of the wire points, which must all have the same power of
  // lambda; the grid covers every point's filter. No points (or none with
  // rho > 0) give an empty grid.
  explicit KernelGrid(std::span<const WirePoint> points);

  bool empty() const { return weights_.empty(); }
  // The grid abscissae lambda_g (1/m), increasing, and the weights F_g
  // (the lambda power of each point's kernel included).
  const std::vector<double>& lambdas() const { return lambdas_; }
  const std::vector<double>& weights() const { return weights_; }
  // The largest distance of the wire points (m): the loop's length scale.
  double largestDistance() const { return largestDistance_; }

 private:
  std::vector<double> lambdas_, weights_;
  double largestDistance_ = 0.0;
};

}  // namespace zeva::forward
