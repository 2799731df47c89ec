// The transient of a circular loop over layered earths against an
// independent computation in double precision: the Laplace-domain response
// by Gauss-Legendre quadrature over the wavenumber (no digital filters),
// inverted to time along Talbot's contour. The layered response is
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
#include "tem_laplace_quadrature.h"
#include "tem_test_support.h"

namespace zeva::forward {
namespace {

using test::centralLoopHalfSpace;
using test::Complex;
using test::Earth;
using test::reflection;
using test::talbot;

// The Laplace transform of the change of -dBz/dt at the centre of a loop of
// radius a from the half-space of layer 1 to the layered earth:
//   mu0 (a/2) int (r - r1) lambda J1(lambda a) dlambda,
// by eight-point Gauss-Legendre panels out to where exp(-2 u h1) falls below 1.0E-26.
Complex layeringChange(const Earth& earth, double a, Complex s) {
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
      const double lambda = from + width / 2.0 * (test::kGaussNodes8[k] + 1.0);
      const Complex change = reflection(earth, lambda, s) - reflection(top, lambda, s);
      sum += test::kGaussWeights8[k] * width / 2.0 * change * lambda *
             std::cyl_bessel_j(1.0, lambda * a);
    }
  }
  return kMu0 * a / 2.0 * sum;
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
