#include "core/record/gaussian_deviate.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zeva::core {
namespace {

TEST(GaussianDeviate, DrawsUnitNormalValues) {
  GaussianDeviate deviate;
  constexpr int kCount = 40000;
  double sum = 0.0, sumSquares = 0.0, sumFourth = 0.0;
  int beyondTwoSigma = 0;
  for (int i = 0; i < kCount; ++i) {
    const double g = deviate.next();
    sum += g;
    sumSquares += g * g;
    sumFourth += g * g * g * g;
    if (std::fabs(g) > 2.0) ++beyondTwoSigma;
  }
  const double mean = sum / kCount;
  const double variance = sumSquares / kCount - mean * mean;
  EXPECT_NEAR(mean, 0.0, 0.02);
  EXPECT_NEAR(variance, 1.0, 0.03);
  EXPECT_NEAR(sumFourth / kCount, 3.0, 0.2);  // kurtosis of the normal law
  EXPECT_NEAR(static_cast<double>(beyondTwoSigma) / kCount, 0.0455, 0.005);
}

TEST(GaussianDeviate, UniformValuesFillTheOpenUnitIntervalEvenly) {
  GaussianDeviate deviate;
  int bins[10] = {};
  for (int i = 0; i < 50000; ++i) {
    const float u = deviate.uniform();
    ASSERT_GT(u, 0.0f);
    ASSERT_LT(u, 1.0f);
    ++bins[static_cast<int>(u * 10.0f)];
  }
  for (int count : bins) EXPECT_NEAR(count, 5000, 300);
}

TEST(GaussianDeviate, EveryGeneratorFromSeedZeroDrawsTheSameSequence) {
  GaussianDeviate first, second;
  for (int i = 0; i < 5; ++i) first.next();
  GaussianDeviate third;
  for (int i = 0; i < 5; ++i) {
    const float expected = third.next();
    EXPECT_EQ(second.next(), expected);
  }
  EXPECT_NE(first.next(), GaussianDeviate().next());  // the first goes on with its own state
}

TEST(GaussianDeviate, SuccessiveUniformValuesAreUncorrelated) {
  GaussianDeviate deviate;
  double previous = deviate.uniform() - 0.5, sum = 0.0;
  for (int i = 0; i < 20000; ++i) {
    const double u = deviate.uniform() - 0.5;
    sum += u * previous;
    previous = u;
  }
  EXPECT_NEAR(sum / 20000 * 12.0, 0.0, 0.05);  // lag-1 correlation
}

}  // namespace
}  // namespace zeva::core
