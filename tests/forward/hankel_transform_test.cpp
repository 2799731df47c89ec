// The Hankel transforms against closed-form Lipschitz-type integrals:
//   int exp(-lambda z) J0(lambda r) dlambda          = 1 / sqrt(r^2 + z^2)
//   int lambda exp(-lambda z) J1(lambda r) dlambda   = r / (r^2 + z^2)^(3/2)
// which also hold for complex z with a positive real part.

#include "forward/hankel_transform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "tests/support/scripted_toolkit.h"

namespace zeva::forward {
namespace {

using Complex = std::complex<float>;

double lipschitzJ0(double r, double z) { return 1.0 / std::sqrt(r * r + z * z); }
double lipschitzJ1(double r, double z) { return r / std::pow(r * r + z * z, 1.5); }

struct Geometry {
  float r;
  float z;
};

class RealTransforms : public ::testing::TestWithParam<Geometry> {};

TEST_P(RealTransforms, AdaptiveJ0MatchesTheLipschitzIntegral) {
  const auto [r, z] = GetParam();
  zeva::test::ScriptedToolkit toolkit;
  HankelKernelCache cache;
  float B = 1.0f / r;
  const float value =
      adaptiveHankelJ0([z](float l) { return std::exp(-l * z); }, r, B, 1.0e-4f, 0, cache, toolkit);
  EXPECT_NEAR(value, lipschitzJ0(r, z), 2.0e-4 * lipschitzJ0(r, z));
  EXPECT_TRUE(toolkit.messages.empty());
}

TEST_P(RealTransforms, RealJ0AndJ1MatchTheLipschitzIntegrals) {
  const auto [r, z] = GetParam();
  zeva::test::ScriptedToolkit toolkit;
  float tol = 1.0e-5f;
  const float j0 =
      realHankel([z](float l) { return std::exp(-l * z); }, 0, r, 1.0f / r, tol, toolkit);
  const float j1 =
      realHankel([z](float l) { return l * std::exp(-l * z); }, 1, r, 1.0f / r, tol, toolkit);
  EXPECT_NEAR(j0, lipschitzJ0(r, z), 1.0e-4 * lipschitzJ0(r, z));
  EXPECT_NEAR(j1, lipschitzJ1(r, z), 1.0e-4 * lipschitzJ1(r, z));
  EXPECT_TRUE(toolkit.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(DistancesAndDepths, RealTransforms,
                         ::testing::Values(Geometry{1.0f, 1.0f}, Geometry{10.0f, 1.0f},
                                           Geometry{1.0f, 10.0f}, Geometry{0.01f, 0.003f},
                                           Geometry{500.0f, 20.0f}, Geometry{3.0f, 0.05f}));

TEST(QHANKL, ComplexKernelsOfBothOrdersMatchTheLipschitzIntegrals) {
  zeva::test::ScriptedToolkit toolkit;
  for (const Complex z : {Complex(1.0f, 1.0f), Complex(2.0f, -2.0f), Complex(5.0f, 0.5f)}) {
    for (const float r : {0.5f, 4.0f, 40.0f}) {
      const Complex j0 =
          QHANKL([z](float l) { return std::exp(-l * z); }, 0, r, 1.0f / r, 1.0e-5f, toolkit);
      const Complex j1 =
          QHANKL([z](float l) { return l * std::exp(-l * z); }, 1, r, 1.0f / r, 1.0e-5f, toolkit);
      const std::complex<double> zd(z);
      const std::complex<double> expected0 = 1.0 / std::sqrt(double(r) * r + zd * zd);
      const std::complex<double> expected1 = double(r) / std::pow(double(r) * r + zd * zd, 1.5);
      EXPECT_LT(std::abs(std::complex<double>(j0) - expected0), 1.0e-4 * std::abs(expected0))
          << "r=" << r << " z=" << z;
      EXPECT_LT(std::abs(std::complex<double>(j1) - expected1), 1.0e-4 * std::abs(expected1))
          << "r=" << r << " z=" << z;
    }
  }
  EXPECT_TRUE(toolkit.messages.empty());
}

TEST(AdaptiveHankelJ0, StopsLongBeforeUsingTheWholeTableOnASmoothKernel) {
  zeva::test::ScriptedToolkit toolkit;
  HankelKernelCache cache;
  int evaluations = 0;
  float B = 1.0f / 30.0f;
  adaptiveHankelJ0([&](float l) { return ++evaluations, std::exp(-l * 5.0f); }, 30.0f, B, 1.0e-4f,
                   0, cache, toolkit);
  EXPECT_LT(evaluations, 150);
}

TEST(AdaptiveHankelJ0, LagShiftReusesCachedKernelValuesAtTheNextDistance) {
  zeva::test::ScriptedToolkit toolkit;
  HankelKernelCache cache;
  int evaluations = 0;
  const auto kernel = [&](float l) { return ++evaluations, std::exp(-l * 2.0f); };
  float B = 1.0f / 10.0f;
  adaptiveHankelJ0(kernel, 10.0f, B, 1.0e-4f, 0, cache, toolkit);
  const int first = evaluations;

  // One filter step further out: point i now sits where point i - 1 was.
  const float r = 10.0f * 1.2214027f;
  B = 1.0f / r;
  const float value = adaptiveHankelJ0(kernel, r, B, 1.0e-4f, 1, cache, toolkit);
  EXPECT_NEAR(value, lipschitzJ0(r, 2.0), 2.0e-4 * lipschitzJ0(r, 2.0));
  EXPECT_LT(evaluations - first, first / 2);
}

TEST(AdaptiveHankelJ0, RefusesALagShiftBeyond200) {
  zeva::test::ScriptedToolkit toolkit;
  HankelKernelCache cache;
  float B = 1.0f;
  EXPECT_EQ(adaptiveHankelJ0([](float) { return 1.0f; }, 1.0f, B, 1.0e-4f, -201, cache, toolkit),
            0.0f);
  EXPECT_EQ(toolkit.texts(), (std::vector<std::string>{"ILLEGAL ISHIFT: -201"}));
}

TEST(AdaptiveHankelJ0, StartOffTheTableIsReportedAndRecoveredByTheStartSearch) {
  zeva::test::ScriptedToolkit toolkit;
  HankelKernelCache cache;
  float B = 1.0e20f;
  const float value = adaptiveHankelJ0([](float l) { return std::exp(-l * 3.0f); }, 4.0f, B,
                                       1.0e-4f, 0, cache, toolkit);
  EXPECT_EQ(toolkit.texts(),
            (std::vector<std::string>{"STARTING VALUE G = 1E+20 IS OFF FILTER EDGE"}));
  EXPECT_NEAR(value, 0.2, 2.0e-4 * 0.2);
  EXPECT_LT(B, 1.0e3f);  // the searched start is written back
  EXPECT_GT(B, 0.0f);
}

TEST(AdaptiveHankelJ0, KernelThatVanishesEverywhereGivesZero) {
  zeva::test::ScriptedToolkit toolkit;
  HankelKernelCache cache;
  float B = 1.0f;
  EXPECT_EQ(adaptiveHankelJ0([](float) { return 0.0f; }, 1.0f, B, 1.0e-4f, 0, cache, toolkit),
            0.0f);
}

TEST(QHANKL, RunningOffTheUpperEndReportsBothEdgesAndReturnsThePartialSum) {
  zeva::test::ScriptedToolkit toolkit;
  // The start is the last filter point: the upward direction leaves at once.
  const float B = std::exp(0.2f * 283 - 26.30668f);
  const Complex value =
      QHANKL([](float) { return Complex(1.0f, 0.0f); }, 0, 1.0f, B, 1.0e-4f, toolkit);
  EXPECT_EQ(toolkit.texts(),
            (std::vector<std::string>{"LOW EDGE OF FILTER (QHANKL)", offFilterEdgeText(B)}));
  EXPECT_EQ(value, Complex(kJ0Weights[282] * kWeightScale, 0.0f));
}

TEST(QHANKL, RunningOffTheLowerEndReportsTheHighEdgeAndGoesOnUpward) {
  zeva::test::ScriptedToolkit toolkit;
  const float B = std::exp(0.2f * 1 - 26.30668f) * 1.01f;  // the first filter point
  const Complex value = QHANKL([](float l) { return Complex(std::exp(-l * 1.0f), 0.0f); }, 0, 1.0f,
                               B, 1.0e-5f, toolkit);
  EXPECT_EQ(toolkit.texts(), (std::vector<std::string>{"HIGH EDGE OF FILTER (QHANKL)"}));
  EXPECT_NEAR(value.real(), lipschitzJ0(1.0, 1.0), 1.0e-4);
}

TEST(HankelOrders, OnlyZeroAndOneAreAvailable) {
  zeva::test::ScriptedToolkit toolkit;
  float tol = 1.0e-5f;
  EXPECT_EQ(QHANKL([](float) { return Complex(1.0f, 0.0f); }, 2, 1.0f, 1.0f, 1.0e-4f, toolkit),
            Complex{});
  EXPECT_EQ(realHankel([](float) { return 1.0f; }, -1, 1.0f, 1.0f, tol, toolkit), 0.0f);
  EXPECT_EQ(toolkit.texts(),
            (std::vector<std::string>{"HANKEL TRANSFORM NOT AVAILABLE- USE 0 OR 1",
                                      "HANKEL TRANSFORM NOT AVAILABLE- USE 0 OR 1"}));
}

TEST(RealHankel, ToleranceAtOrBelowOneInAHundredMillionIsRaisedAndWrittenBack) {
  zeva::test::ScriptedToolkit toolkit;
  float tol = 1.0e-8f;
  const float value =
      realHankel([](float l) { return std::exp(-l * 2.0f); }, 0, 1.0f, 1.0f, tol, toolkit);
  EXPECT_EQ(tol, 1.0e-7f);
  EXPECT_NEAR(value, lipschitzJ0(1.0, 2.0), 1.0e-5);
  float loose = 1.0e-3f;
  realHankel([](float l) { return std::exp(-l); }, 0, 1.0f, 1.0f, loose, toolkit);
  EXPECT_EQ(loose, 1.0e-3f);
}

TEST(RealHankel, StartOffTheTableGivesZeroWithTheMessage) {
  zeva::test::ScriptedToolkit toolkit;
  float tol = 1.0e-5f;
  EXPECT_EQ(realHankel([](float) { return 1.0f; }, 1, 1.0f, 1.0e-30f, tol, toolkit), 0.0f);
  EXPECT_EQ(toolkit.texts(),
            (std::vector<std::string>{"STARTING VALUE G = 1E-30 IS OFF FILTER EDGE"}));
}

}  // namespace
}  // namespace zeva::forward
