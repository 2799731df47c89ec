#pragma once
// Independent double-precision pieces for the transient tests, free of the
// digital filters: the central-loop half-space transient in closed form, the
// TE reflection of a layered earth at a Laplace variable, and the inverse
// Laplace transform along Talbot's contour (the fixed-Talbot rule of Abate
// and Valko, 2004).

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "forward/tem_frequency_response.h"

namespace zeva::forward::test {

// -dBz/dt at the centre of a circular loop of radius a and unit current on a
// half-space of conductivity sigma after a step switch-off (Ward and
// Hohmann, 1988): (1/(sigma a^3)) [3 erf(x) - (2/sqrt(pi)) x (3 + 2x^2) exp(-x^2)],
// x = theta a, theta = sqrt(mu0 sigma / 4t).
// For small x the bracket is (2/sqrt(pi)) (4/5 x^5 - 4/7 x^7), which the
// closed form would lose to cancellation.
inline double centralLoopHalfSpace(double sigma, double a, double t) {
  const double x = std::sqrt(kMu0 * sigma / (4.0 * t)) * a;
  if (x < 0.05)
    return 2.0 / std::sqrt(std::numbers::pi) * (0.8 * std::pow(x, 5) - 4.0 / 7.0 * std::pow(x, 7)) /
           (sigma * a * a * a);
  return (3.0 * std::erf(x) -
          2.0 / std::sqrt(std::numbers::pi) * x * (3.0 + 2.0 * x * x) * std::exp(-x * x)) /
         (sigma * a * a * a);
}

using Complex = std::complex<double>;

// Eight-point Gauss-Legendre rule on [-1, 1].
inline constexpr double kGaussNodes8[8] = {
    -0.9602898564975363, -0.7966664774136267, -0.5255324099163290, -0.1834346424956498,
    0.1834346424956498,  0.5255324099163290,  0.7966664774136267,  0.9602898564975363};
inline constexpr double kGaussWeights8[8] = {
    0.1012285362903763, 0.2223810344533745, 0.3137066458778873, 0.3626837833783620,
    0.3626837833783620, 0.3137066458778873, 0.2223810344533745, 0.1012285362903763};

struct Earth {
  std::vector<double> rho, h;
};

// TE reflection coefficient at Laplace variable s: the surface admittance
// carried up from the bottom layer, u_j = sqrt(lambda^2 + s mu0 sigma_j).
inline Complex reflection(const Earth& earth, double lambda, Complex s) {
  const std::size_t n = earth.rho.size();
  Complex Y = std::sqrt(lambda * lambda + s * kMu0 / earth.rho[n - 1]);
  for (std::size_t j = n - 1; j-- > 0;) {
    const Complex u = std::sqrt(lambda * lambda + s * kMu0 / earth.rho[j]);
    const Complex t = std::tanh(u * earth.h[j]);
    Y = u * (Y + u * t) / (u + Y * t);
  }
  return (lambda - Y) / (lambda + Y);
}

// The inverse Laplace transform at t > 0 by the fixed-Talbot rule with M
// nodes: s(theta) = r theta (cot theta + i), r = 2M / (5t).
template <typename F>
double talbot(F&& transform, double t) {
  constexpr int M = 20;
  const double r = 2.0 * M / (5.0 * t);
  double sum = 0.5 * (transform(Complex(r, 0.0)) * std::exp(r * t)).real();
  for (int k = 1; k < M; ++k) {
    const double theta = k * std::numbers::pi / M;
    const double cot = std::cos(theta) / std::sin(theta);
    const Complex s(r * theta * cot, r * theta);
    const double sigma = theta + (theta * cot - 1.0) * cot;
    sum += (std::exp(t * s) * transform(s) * Complex(1.0, sigma)).real();
  }
  return r / M * sum;
}

}  // namespace zeva::forward::test
