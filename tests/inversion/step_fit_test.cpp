#include "inversion/step_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "inversion/layered_estimates.h"

namespace zeva::inversion {
namespace {

// 10 ohm-m to 100 m, 1 ohm-m to 300 m, then 50 ohm-m, sampled every 10 m,
// with a gentle ripple of +-2 % on top.
void blockyCurve(std::vector<float>& z, std::vector<float>& rho) {
  for (int i = 1; i <= 60; ++i) {
    const float depth = 10.0f * static_cast<float>(i);
    const float value = depth <= 100.0f ? 10.0f : depth <= 300.0f ? 1.0f : 50.0f;
    z.push_back(depth);
    rho.push_back(value * (i % 2 == 0 ? 1.02f : 0.98f));
  }
}

TEST(StepFitWithin, MakesTheFewestLayersThatFollowTheCurveWithinTheBand) {
  std::vector<float> z, rho;
  blockyCurve(z, rho);
  // The ripple lies within a 5 % band: three steps; a 1 % band asks for as
  // many as allowed.
  const StepFit fit = fitStepsWithin(z, rho, 5.0f, 8);
  ASSERT_EQ(fit.resistivity.size(), 3u);
  EXPECT_NEAR(fit.bottomDepth[0], 105.0f, 1e-3f);
  EXPECT_NEAR(fit.bottomDepth[1], 305.0f, 1e-3f);
  EXPECT_NEAR(fit.resistivity[1], 1.0f, 0.01f);
  EXPECT_EQ(fitStepsWithin(z, rho, 1.0f, 8).resistivity.size(), 8u);
  EXPECT_EQ(fitStepsWithin(z, rho, 1.0e4f, 8).resistivity.size(), 1u);
}

TEST(BlockCurve, ResamplesByDecadeSoDeepSamplesDoNotOutweighShallowOnes) {
  // A conductor at 1-10 m in a curve sampled 50 times more densely below
  // 10 m: resampled by decade, the conductor still makes a layer.
  std::vector<float> z, rho;
  for (int i = 0; i <= 10; ++i) {
    z.push_back(std::pow(10.0f, static_cast<float>(i) / 10.0f));
    rho.push_back(i < 10 ? 2.0f : 100.0f);
  }
  for (int i = 1; i <= 500; ++i) {
    z.push_back(10.0f + 2.0f * static_cast<float>(i));
    rho.push_back(100.0f);
  }
  const StepFit fit = blockCurve(z, rho);
  ASSERT_GE(fit.resistivity.size(), 2u);
  EXPECT_LT(fit.resistivity.front(), 3.0f);
  EXPECT_NEAR(fit.resistivity.back(), 100.0f, 5.0f);
}

}  // namespace
}  // namespace zeva::inversion
