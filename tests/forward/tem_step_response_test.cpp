#include "forward/tem_step_response.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "forward/tem_loop_wire.h"
#include "forward_test_support.h"
#include "tem_test_support.h"

namespace zeva::forward {
namespace {

// -dBz/dt at the centre of a circular loop of radius a and unit current on a
// half-space of conductivity sigma after a step switch-off (Ward and
// Hohmann, 1988): (1/(sigma a^3)) [3 erf(x) - (2/sqrt(pi)) x (3 + 2x^2) exp(-x^2)],
// x = theta a, theta = sqrt(mu0 sigma / 4t).
// For small x the bracket is (2/sqrt(pi)) (4/5 x^5 - 4/7 x^7), which the
// closed form would lose to cancellation.
double centralLoopHalfSpace(double sigma, double a, double t) {
  const double x = std::sqrt(kMu0 * sigma / (4.0 * t)) * a;
  if (x < 0.05)
    return 2.0 / std::sqrt(std::numbers::pi) * (0.8 * std::pow(x, 5) - 4.0 / 7.0 * std::pow(x, 7)) /
           (sigma * a * a * a);
  return (3.0 * std::erf(x) -
          2.0 / std::sqrt(std::numbers::pi) * x * (3.0 + 2.0 * x * x) * std::exp(-x * x)) /
         (sigma * a * a * a);
}

// From 10 us to 10 ms, for loops and half-spaces from the diffusion time
// mu0 sigma a^2 of 0.6 ms (1 ohm-m, a = 20 m) to 0.5 us (1000 ohm-m, a = 20 m).
TEST(TemStepResponse, CircularLoopOverAHalfSpaceFollowsTheClosedForm) {
  for (const float rho : {1.0f, 10.0f, 100.0f, 1000.0f}) {
    for (const double a : {20.0, 50.0}) {
      const StepResponse e =
          test::stepOffResponse(circleCentreVerticalField(a), {rho}, {}, 1.0e-5, 1.0e-2);
      double worst = 0.0;
      for (const float t : test::logSpaced(1.0e-5f, 1.0e-2f, 31)) {
        const double exact = centralLoopHalfSpace(1.0 / rho, a, t);
        worst = std::max(worst, std::fabs(e(t) / exact - 1.0));
      }
      EXPECT_LT(worst, 0.005) << rho << " ohm-m, a = " << a;
      RecordProperty("deviation_" + std::to_string(int(rho)) + "_" + std::to_string(int(a)),
                     std::to_string(worst));
    }
  }
}

}  // namespace
}  // namespace zeva::forward
