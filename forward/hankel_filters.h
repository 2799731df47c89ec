#pragma once
// The 283-point digital filters for Hankel transforms of order 0 and 1 of
// W. L. Anderson (1979), Geophysics 44(7), 1287-1305, shared by the DC, MaxMin
// and EM conductivity forward models. Point i (1-based) sits at the abscissa
// exp(0.2 i - 26.30668) / r, so that
//   integral_0^inf K(lambda) Jn(lambda r) dlambda ~ (1/r) sum_i w_n(i) K(lambda_i).
// The weights are stored multiplied by 1.0E20 (kWeightScale undoes it), which
// keeps the smallest ones well inside single precision.

#include <array>

namespace zeva::forward {

inline constexpr int kFilterPoints = 283;
inline constexpr float kWeightScale = 1.0e-20f;

// Element i - 1 is the weight of filter point i.
extern const std::array<float, kFilterPoints> kJ0Weights;
extern const std::array<float, kFilterPoints> kJ1Weights;

}  // namespace zeva::forward
