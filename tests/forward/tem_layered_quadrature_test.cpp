// The transient of a circular loop over layered earths against an
// independent computation in double precision: the Laplace-domain response
// by Gauss-Legendre quadrature over the wavenumber (no digital filters),
// inverted to time along Talbot's contour (the fixed-Talbot rule of Abate and
// Valko, 2004). The layered response is
// split into the half-space of layer 1, whose transient is known in closed
// form, and the change the layering makes, whose kernel falls off as
// exp(-2 lambda h1) and so needs only a short quadrature.

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <string>
#include <vector>

#include "forward/tem_frequency_response.h"
#include "forward/tem_loop_wire.h"
#include "forward_test_support.h"
#include "tem_test_support.h"

namespace zeva::forward {
namespace {

double centralLoopHalfSpace(double sigma, double a, double t) {
  const double x = std::sqrt(kMu0 * sigma / (4.0 * t)) * a;
  if (x < 0.05)
    return 2.0 / std::sqrt(std::numbers::pi) * (0.8 * std::pow(x, 5) - 4.0 / 7.0 * std::pow(x, 7)) /
           (sigma * a * a * a);
  return (3.0 * std::erf(x) -
          2.0 / std::sqrt(std::numbers::pi) * x * (3.0 + 2.0 * x * x) * std::exp(-x * x)) /
         (sigma * a * a * a);
}

using Complex = std::complex<double>;

struct Earth {
  std::vector<double> rho, h;
};

// TE reflection coefficient at Laplace variable s: the surface admittance
// carried up from the bottom layer, u_j = sqrt(lambda^2 + s mu0 sigma_j).
Complex reflection(const Earth& earth, double lambda, Complex s) {
  const std::size_t n = earth.rho.size();
  Complex Y = std::sqrt(lambda * lambda + s * kMu0 / earth.rho[n - 1]);
  for (std::size_t j = n - 1; j-- > 0;) {
    const Complex u = std::sqrt(lambda * lambda + s * kMu0 / earth.rho[j]);
    const Complex t = std::tanh(u * earth.h[j]);
    Y = u * (Y + u * t) / (u + Y * t);
  }
  return (lambda - Y) / (lambda + Y);
}

// The Laplace transform of the change of -dBz/dt at the centre of a loop of
// radius a from the half-space of layer 1 to the layered earth:
//   mu0 (a/2) int (r - r1) lambda J1(lambda a) dlambda,
// by eight-point Gauss-Legendre panels out to where exp(-2 u h1) falls below 1.0E-26.
Complex layeringChange(const Earth& earth, double a, Complex s) {
  static constexpr double nodes[8] = {-0.9602898564975363, -0.7966664774136267, -0.5255324099163290,
                                      -0.1834346424956498, 0.1834346424956498,  0.5255324099163290,
                                      0.7966664774136267,  0.9602898564975363};
  static constexpr double weights[8] = {0.1012285362903763, 0.2223810344533745, 0.3137066458778873,
                                        0.3626837833783620, 0.3626837833783620, 0.3137066458778873,
                                        0.2223810344533745, 0.1012285362903763};
  const Earth top{{earth.rho[0]}, {}};
  const double h1 = earth.h[0];
  double sigmaMax = 0.0;
  for (const double r : earth.rho) sigmaMax = std::max(sigmaMax, 1.0 / r);
  const double diffusion = std::sqrt(std::abs(s) * kMu0 * sigmaMax);
  const double end = 30.0 / h1 + 4.0 * diffusion;
  const double width = std::min(0.5 / a, 0.1 / h1);
  Complex sum = 0.0;
  for (double from = 0.0; from < end; from += width) {
    for (int k = 0; k < 8; ++k) {
      const double lambda = from + width / 2.0 * (nodes[k] + 1.0);
      const Complex change = reflection(earth, lambda, s) - reflection(top, lambda, s);
      sum += weights[k] * width / 2.0 * change * lambda * std::cyl_bessel_j(1.0, lambda * a);
    }
  }
  return kMu0 * a / 2.0 * sum;
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

double quadratureTransient(const Earth& earth, double a, double t) {
  return centralLoopHalfSpace(1.0 / earth.rho[0], a, t) +
         talbot([&](Complex s) { return layeringChange(earth, a, s); }, t);
}

// The inversion to time, on the half-space, whose Laplace-domain field at
// the loop centre is closed too: with q = sqrt(s mu0 sigma),
//   Hz = [3 - (3 + 3 q a + q^2 a^2) exp(-q a)] / (q^2 a^3) - 1 / (2a).
TEST(TemLayeredQuadrature, TalbotRuleInvertsTheHalfSpaceTransform) {
  const double a = 20.0, sigma = 0.01;
  const auto transform = [&](Complex s) {
    const Complex q = std::sqrt(s * kMu0 * sigma), qa = q * a;
    return kMu0 * ((3.0 - (3.0 + 3.0 * qa + qa * qa) * std::exp(-qa)) / (q * q * a * a * a) -
                   1.0 / (2.0 * a));
  };
  for (const float t : test::logSpaced(1.0e-5f, 1.0e-2f, 7))
    EXPECT_NEAR(talbot(transform, t) / centralLoopHalfSpace(sigma, a, t), 1.0, 1.0e-3) << t;
}

TEST(TemLayeredQuadrature, LayeredEarthsAgreeWithTheQuadrature) {
  const double a = 20.0;
  const std::vector<Earth> earths{{{100.0, 10.0, 1000.0}, {20.0, 30.0}},
                                  {{20.0, 500.0}, {50.0}},
                                  {{300.0, 30.0, 3.0}, {40.0, 60.0}}};
  for (const Earth& earth : earths) {
    const std::vector<float> rho(earth.rho.begin(), earth.rho.end());
    const std::vector<float> h(earth.h.begin(), earth.h.end());
    const StepResponse e =
        test::stepOffResponse(circleCentreVerticalField(a), rho, h, 1.0e-5, 1.0e-2);
    double worst = 0.0;
    for (const float t : test::logSpaced(1.0e-5f, 1.0e-2f, 10)) {
      const double expected = quadratureTransient(earth, a, t);
      worst = std::max(worst, std::fabs(e(t) / expected - 1.0));
      EXPECT_NEAR(e(t) / expected, 1.0, 0.01) << earth.rho[0] << " ohm-m on top, t = " << t;
    }
    RecordProperty("deviation_" + std::to_string(int(earth.rho[0])), std::to_string(worst));
  }
}

}  // namespace
}  // namespace zeva::forward
