#include "inversion/smooth_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/record/sounding.h"
#include "tests/inversion/synthetic_soundings.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::inversion {
namespace {

using core::Sounding;
using test::LayeredEarth;

// The resistivity of the smooth model at a depth.
float smoothResistivityAt(const Sounding& SM, float depth) {
  int j = 0;
  while (j + 1 < SM.NLAYER() && depth > SM.M.PAR[SM.geometryIndex(j)]) ++j;
  return SM.M.PAR[static_cast<std::size_t>(j)];
}

const LayeredEarth kThreeLayers{{100.0f, 10.0f, 1000.0f}, {5.0f, 20.0f}};

class SmoothModelOfThreeLayers : public ::testing::Test {
 protected:
  void SetUp() override {
    test::makeSynthetic(S, "Schlumberger Array", test::logSpacings(1.0f, 1000.0f, 8), kThreeLayers,
                        toolkit);
    S.shareDataWith(SM);
    SM.model.NPK = 1;
  }
  SmoothResult fit(bool occam) {
    SM.model.LROUGH = core::logical(occam);
    RunMonitor monitor(toolkit);
    return EstimateSmoothModel(SM, core::InversionSettings{}, test::dcRoutine(toolkit), monitor, 1);
  }
  zeva::test::ScriptedToolkit toolkit;
  Sounding S, SM;
};

TEST_F(SmoothModelOfThreeLayers, OccamFitsWithinTwoPercentAndFollowsTheLayers) {
  const SmoothResult result = fit(true);
  ASSERT_EQ(result.status, 0);
  EXPECT_LT(SM.layer.PCTERR, 2.0f);
  EXPECT_EQ(SM.NLAYER(), S.NDATA());
  // Mid-depths of the two layers, and the basement at four times its top.
  const float depths[] = {2.5f, 15.0f, 100.0f};
  for (int j = 0; j < 3; ++j) {
    const float rho = smoothResistivityAt(SM, depths[j]);
    EXPECT_GT(rho, 0.5f * kThreeLayers.resistivity[j]) << "at " << depths[j] << " m";
    EXPECT_LT(rho, 2.0f * kThreeLayers.resistivity[j]) << "at " << depths[j] << " m";
  }
  // The boundaries never move.
  for (int b = 0; b + 1 < SM.NLAYER(); ++b)
    EXPECT_TRUE(core::isSet(SM.M.LFIX[SM.geometryIndex(b)]));
}

TEST_F(SmoothModelOfThreeLayers, RidgeRegressionConverges) {
  const SmoothResult result = fit(false);
  ASSERT_EQ(result.status, 0);
  EXPECT_FALSE(result.interrupted);
  EXPECT_TRUE(core::isSet(SM.layer.syntheticValid));
  EXPECT_LT(SM.layer.PCTERR, 5.0f);
  for (int j = 0; j < SM.NLAYER(); ++j)
    EXPECT_TRUE(std::isfinite(SM.M.PAR[static_cast<std::size_t>(j)]));
}

TEST(StartSmooth, ThreePointsAreTooFewAndLeaveNoModel) {
  zeva::test::ScriptedToolkit toolkit;
  Sounding S, SM;
  test::makeSynthetic(S, "Schlumberger Array", {1.0f, 10.0f, 100.0f}, kThreeLayers, toolkit);
  S.shareDataWith(SM);
  SM.model.NLAYER = 5;
  SM.allocateModel();
  RunMonitor monitor(toolkit);
  EXPECT_EQ(StartSmooth(SM, {}, test::dcRoutine(toolkit), monitor, 1), kSmoothTooFewLayers);
  EXPECT_EQ(toolkit.lastText(), "Insufficient data to make smooth model");
  EXPECT_FALSE(SM.hasModel());
  EXPECT_TRUE(SM.M.PAR.empty());
}

TEST(StartSmooth, TenPointsFromOneToHundredSpanAQuarterToFiftyMetresEvenlyInLog) {
  zeva::test::ScriptedToolkit toolkit;
  Sounding S, SM;
  std::vector<float> x;
  for (int i = 0; i < 10; ++i) x.push_back(std::pow(10.0f, 2.0f * static_cast<float>(i) / 9.0f));
  test::makeSynthetic(S, "Schlumberger Array", x, kThreeLayers, toolkit);
  S.data().VOLTS(4, 0) = 1.0e10f;  // a missing reading takes no part in the mean
  S.shareDataWith(SM);
  RunMonitor monitor(toolkit);
  ASSERT_EQ(StartSmooth(SM, {}, test::dcRoutine(toolkit), monitor, 1), 0);
  ASSERT_EQ(SM.NLAYER(), 10);
  EXPECT_EQ(SM.NPAR(), 19);
  EXPECT_TRUE(core::isSet(SM.model.depths));
  const float q = std::pow(200.0f, 1.0f / 9.0f);
  EXPECT_NEAR(SM.M.PAR[SM.geometryIndex(0)], 0.25f, 1e-5f);
  EXPECT_NEAR(SM.M.PAR[SM.geometryIndex(8)], 50.0f / q, 1e-3f);
  for (int b = 1; b < 9; ++b)
    EXPECT_NEAR(SM.M.PAR[SM.geometryIndex(b)] / SM.M.PAR[SM.geometryIndex(b - 1)], q, 1e-4f);
  float sum = 0.0f;
  for (int i = 0; i < 10; ++i)
    if (i != 4) sum += S.data().VOLTS(static_cast<std::size_t>(i), 0);
  for (int j = 0; j < 10; ++j)
    EXPECT_NEAR(SM.M.PAR[static_cast<std::size_t>(j)], sum / 9.0f, 1e-3f);
  for (int j = 0; j < 10; ++j) EXPECT_FALSE(core::isSet(SM.M.LFIX[static_cast<std::size_t>(j)]));
  EXPECT_EQ(toolkit.statusTexts.back(), " 10 Smooth Layers");
}

TEST(StartSmooth, FourPointsGiveFourLayersAndThreeBoundaries) {
  zeva::test::ScriptedToolkit toolkit;
  Sounding S, SM;
  test::makeSynthetic(S, "Wenner Array", {2.0f, 6.0f, 20.0f, 60.0f}, kThreeLayers, toolkit);
  S.shareDataWith(SM);
  RunMonitor monitor(toolkit);
  ASSERT_EQ(StartSmooth(SM, {}, test::dcRoutine(toolkit), monitor, 1), 0);
  EXPECT_EQ(SM.NLAYER(), 4);
  EXPECT_EQ(SM.NPAR(), 7);
  EXPECT_TRUE(toolkit.messages.empty());
}

TEST(MeanOfValid, SkipsMissingReadingsAndIsZeroWithoutAny) {
  EXPECT_FLOAT_EQ(meanOfValid(std::vector<float>{1.0f, 3.0f, 2.0e10f}), 2.0f);
  EXPECT_EQ(meanOfValid(std::vector<float>{5.0e10f}), 0.0f);
}

TEST(WidenRange, SkipsNonNumbersHugeAndTinyValuesButNotZero) {
  float low = 1.0e30f, high = -1.0e30f;
  widenRange(std::vector<float>{NAN, 2.0e15f, 1.0e-31f, 0.0f, 7.0f}, low, high);
  EXPECT_EQ(low, 0.0f);
  EXPECT_EQ(high, 7.0f);
}

}  // namespace
}  // namespace zeva::inversion
