// The voltage of a square loop of side L induced by its own current, against
// an independent computation: the flux of the loop's own secondary field
// through it as an area integral. A vertical dipole of moment dA at r' gives
// the vertical field (1/4pi) int r_TE lambda^2 J0(lambda |r - r'|) dlambda at
// r, so with two points spread over the square,
//   Phi / mu0 = (1/4pi) int r_TE(lambda) lambda^2 S(lambda) dlambda,
//   S(lambda) = int_A int_A J0(lambda |r - r'|) dA dA'
//             = (L^4 / 2pi) int_0^2pi sinc^2(lambda L cos(phi) / 2) sinc^2(lambda L sin(phi) / 2)
//             dphi,
// the mean of the square's Fourier transform squared over the circle of
// radius lambda. Both integrals by Gauss-Legendre panels, in double precision,
// the result turned to time along Talbot's contour: no digital filter and no
// wire.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <string_view>
#include <vector>

#include "forward/tem_forward.h"
#include "forward_test_support.h"
#include "tem_laplace_quadrature.h"
#include "tem_test_support.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::forward {
namespace {

using test::Complex;
using test::Earth;
using test::kGaussNodes8;
using test::kGaussWeights8;

double sinc(double x) { return std::fabs(x) < 1.0e-8 ? 1.0 - x * x / 6.0 : std::sin(x) / x; }

// S(lambda) by the four-fold symmetry of the square: (2/pi) int_0^(pi/2),
// on panels of a tenth of the oscillation of the integrand.
double pairIntegral(double L, double lambda) {
  const int panels = 8 + static_cast<int>(lambda * L / 4.0);
  const double width = std::numbers::pi / 2.0 / panels;
  double sum = 0.0;
  for (int p = 0; p < panels; ++p)
    for (int k = 0; k < 8; ++k) {
      const double phi = width * (p + (kGaussNodes8[k] + 1.0) / 2.0);
      const double a = sinc(lambda * L * std::cos(phi) / 2.0);
      const double b = sinc(lambda * L * std::sin(phi) / 2.0);
      sum += kGaussWeights8[k] * width / 2.0 * a * a * b * b;
    }
  return 2.0 / std::numbers::pi * std::pow(L, 4) * sum;
}

// V1(t), the voltage per ampere after a step switch-off, for gates `times`.
// The wavenumber integral stops at 12 times the largest vertical wavenumber
// |u| of the Laplace variables of a time (|s| up to about 152 / t): beyond
// it r_TE is a power series in s / lambda^2, whose terms are polynomials in
// s and so vanish after t = 0.
std::vector<double> quadratureVoltage(const Earth& earth, double L,
                                      const std::vector<double>& times) {
  double sigmaMax = 0.0;
  for (const double r : earth.rho) sigmaMax = std::max(sigmaMax, 1.0 / r);
  const double farthest = 12.0 * std::sqrt(160.0 / times.front() * kMu0 * sigmaMax) + 60.0 / L;
  // Panels growing geometrically from 1.0E-6 / L up to a width of 0.4 / L:
  // the late-time response comes from wavenumbers near 0.
  std::vector<double> lambdas, weights;
  for (double from = 0.0, width = 1.0e-6 / L; from < farthest;
       from += width, width = std::min(0.4 / L, 1.5 * width))
    for (int k = 0; k < 8; ++k) {
      const double lambda = from + width / 2.0 * (kGaussNodes8[k] + 1.0);
      lambdas.push_back(lambda);
      weights.push_back(kGaussWeights8[k] * width / 2.0 * lambda * lambda *
                        pairIntegral(L, lambda) / (4.0 * std::numbers::pi));
    }
  std::vector<double> voltages;
  for (const double t : times) {
    // One reach for all the Laplace variables of a time, so that the sum
    // stays an analytic function of s.
    const double reach = 12.0 * std::sqrt(160.0 / t * kMu0 * sigmaMax) + 60.0 / L;
    voltages.push_back(test::talbot(
        [&](Complex s) {
          Complex sum = 0.0;
          for (std::size_t g = 0; g < lambdas.size() && lambdas[g] < reach; ++g)
            sum += weights[g] * test::reflection(earth, lambdas[g], s);
          return kMu0 * sum;
        },
        t));
  }
  return voltages;
}

// From 10 us to 10 ms over a half-space and over a buried conductor, the
// routine's "V/Amp" (V1 of a one-turn loop) against the area integral.
TEST(TemCoincidentLoop, VoltageIsTheFluxOfTheLoopsOwnFieldThroughIt) {
  const double L = 40.0;
  const std::vector<Earth> earths{{{100.0}, {}}, {{100.0, 10.0, 1000.0}, {20.0, 30.0}}};
  const std::vector<float> gatesMs = test::logSpaced(0.01f, 10.0f, 10);
  std::vector<double> times;
  for (const float g : gatesMs) times.push_back(double(g) * 1.0e-3);
  for (const Earth& earth : earths) {
    zeva::test::ScriptedToolkit toolkit;
    core::Sounding s;
    test::makeTemSounding(s, "Coincident Loop TEM", gatesMs, float(L), 0.0f, 0.0f, 0.0f, "V/Amp");
    const std::vector<float> rho(earth.rho.begin(), earth.rho.end());
    const std::vector<float> h(earth.h.begin(), earth.h.end());
    test::setModel(s, rho, h);
    temForward(s, toolkit);
    EXPECT_TRUE(toolkit.messages.empty());
    const std::vector<double> expected = quadratureVoltage(earth, L, times);
    double worst = 0.0;
    for (std::size_t i = 0; i < times.size(); ++i) {
      const double ratio = double(s.SVOLT(i, 0)) / expected[i];
      worst = std::max(worst, std::fabs(ratio - 1.0));
      EXPECT_NEAR(ratio, 1.0, 0.01) << earth.rho.size() << " layers, t = " << times[i];
    }
    RecordProperty("deviation_" + std::to_string(earth.rho.size()), std::to_string(worst));
  }
}

// The loop is its own receiver: the units take the square of its turns and,
// per square metre, its area; a field unit has no meaning for it.
TEST(TemCoincidentLoop, UnitsScaleByTheTurnsSquaredAndFieldUnitsAreRefused) {
  zeva::test::ScriptedToolkit toolkit;
  const auto valueIn = [&](std::string_view unit) {
    return test::unitValue("Coincident Loop TEM", unit, toolkit);
  };
  const double volts = valueIn("V/Amp");  // N^2 V1
  EXPECT_NEAR(valueIn("(uV/Amp)") / volts, 1.0e6, 1.0);
  EXPECT_NEAR(valueIn("(nV/A-m^2)") / volts, 1.0e9 / (40.0 * 40.0), 1.0);
  EXPECT_TRUE(toolkit.messages.empty());
  valueIn("(nT/sec)");
  EXPECT_EQ(toolkit.texts(), std::vector<std::string>{"The TEM voltage unit \"(nT/sec)\" cannot "
                                                      "be modelled; the sounding is unchanged"});
}

}  // namespace
}  // namespace zeva::forward
