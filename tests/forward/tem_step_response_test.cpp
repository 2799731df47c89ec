#include "forward/tem_step_response.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "forward/tem_loop_wire.h"
#include "forward_test_support.h"
#include "tem_laplace_quadrature.h"
#include "tem_test_support.h"

namespace zeva::forward {
namespace {

using test::centralLoopHalfSpace;

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
