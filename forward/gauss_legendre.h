#pragma once
// The six-point Gauss-Legendre rule on [-1, 1], exact for polynomials of
// degree 11: the transient model's panels along wires, over distances and
// over gate and ramp windows all use it.

#include <array>

namespace zeva::forward {

inline constexpr std::array<double, 6> kGaussNodes{-0.9324695142031521, -0.6612093864662645,
                                                   -0.2386191860831969, 0.2386191860831969,
                                                   0.6612093864662645,  0.9324695142031521};
inline constexpr std::array<double, 6> kGaussWeights{0.1713244923791704, 0.3607615730481386,
                                                     0.4679139345726910, 0.4679139345726910,
                                                     0.3607615730481386, 0.1713244923791704};

}  // namespace zeva::forward
