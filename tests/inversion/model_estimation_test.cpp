#include "inversion/model_estimation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/record/data_type.h"
#include "core/record/sounding.h"
#include "inversion/cubic_spline.h"
#include "tests/inversion/synthetic_soundings.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::inversion {
namespace {

using core::Sounding;

// Schlumberger apparent resistivity of two layers by the image series
// rho_a = rho1 (1 + 2 sum k^n s^3 / (s^2 + (2nh)^2)^(3/2)),
// k = (rho2 - rho1) / (rho2 + rho1), for a vanishing MN.
float twoLayerSchlumberger(float s, float rho1, float rho2, float h) {
  const double k = (rho2 - rho1) / (rho2 + rho1);
  double sum = 0.0;
  for (int n = 1; n < 4000; ++n) {
    const double term =
        std::pow(k, n) * std::pow(s, 3) / std::pow(s * s + 4.0 * n * n * h * h, 1.5);
    sum += term;
    if (std::fabs(term) < 1e-12) break;
  }
  return static_cast<float>(rho1 * (1.0 + 2.0 * sum));
}

// The resistivity transform of two layers.
float twoLayerTransform(float lambda, float rho1, float rho2, float h) {
  const double k = (rho2 - rho1) / (rho2 + rho1);
  const double e = k * std::exp(-2.0 * lambda * h);
  return static_cast<float>(rho1 * (1.0 + e) / (1.0 - e));
}

std::vector<float> spacings(float from, float to, int perDecade) {
  std::vector<float> x;
  const int count = static_cast<int>(std::lround(std::log10(to / from) * perDecade));
  for (int i = 0; i <= count; ++i)
    x.push_back(from * std::pow(10.0f, static_cast<float>(i) / perDecade));
  return x;
}

void fillSounding(Sounding& S, const char* type, const std::vector<float>& x,
                  const std::vector<float>& y, int ncomp = 1) {
  S.header.dataType.assign(type);
  S.header.NDATA = static_cast<int>(x.size());
  S.header.NCOMP = ncomp;
  S.header.NGEOM = 2;
  S.header.NSETS = 1;
  ASSERT_TRUE(S.allocateData());
  for (std::size_t i = 0; i < x.size(); ++i) {
    S.data().TIME(i, 0) = x[i];
    S.data().TIME(i, 1) = x[i] / 10.0f;
    S.data().VOLTS(i, 0) = y[i];
  }
  S.model.NLAYER = 3;
  S.model.NPK = 1;
  ASSERT_TRUE(S.allocateModel());
}

struct TwoLayers {
  float rho1, rho2, h;
};

class TwoLayerCurve : public ::testing::TestWithParam<TwoLayers> {
 protected:
  std::vector<float> x = spacings(1.0f, 1000.0f, 10);
  std::vector<float> y;
  void SetUp() override {
    for (float s : x)
      y.push_back(twoLayerSchlumberger(s, GetParam().rho1, GetParam().rho2, GetParam().h));
  }
};

TEST_P(TwoLayerCurve, FilteredTransformMatchesTheAnalyticTransform) {
  const SampledCurve curve = extendEnds(resampleLogLog(x, y));
  const std::vector<float> T = resistivityTransform(curve.y);
  const std::vector<float> lambda = transformAbscissae(curve.x.front(), T.size());
  ASSERT_EQ(T.size(), curve.y.size() - 10);
  // Inside the data range the filter reproduces the transform closely.
  for (std::size_t k = kEndExtension; k + 3 < T.size(); ++k) {
    const float exact =
        twoLayerTransform(lambda[k], GetParam().rho1, GetParam().rho2, GetParam().h);
    EXPECT_NEAR(T[k], exact, 0.01f * exact) << "sample " << k;
  }
}

TEST_P(TwoLayerCurve, StrippingRecoversBothLayersAndTheThickness) {
  const std::vector<EstimatedLayer> layers = estimateLayers(x, y);
  ASSERT_EQ(layers.size(), 2u);
  EXPECT_NEAR(layers[0].resistivity, GetParam().rho1, 0.03f * GetParam().rho1);
  EXPECT_NEAR(layers[1].resistivity, GetParam().rho2, 0.05f * GetParam().rho2);
  EXPECT_NEAR(layers[0].thickness, GetParam().h, 0.05f * GetParam().h);
  EXPECT_EQ(layers[1].thickness, 0.0f);
}

INSTANTIATE_TEST_SUITE_P(ConductiveAndResistiveBasements, TwoLayerCurve,
                         ::testing::Values(TwoLayers{100, 10, 10}, TwoLayers{10, 100, 10},
                                           TwoLayers{100, 1000, 5}, TwoLayers{100, 1, 20},
                                           TwoLayers{30, 300, 40}));

TEST(CubicSpline, PassesThroughItsPointsReproducesStraightLinesAndIsZeroOutside) {
  const std::vector<float> x = {0.0f, 0.5f, 2.0f, 3.0f, 4.5f};
  const std::vector<float> y = {1.0f, -2.0f, 0.5f, 4.0f, 3.0f};
  const CubicSpline spline(x, y);
  for (std::size_t i = 0; i < x.size(); ++i) EXPECT_FLOAT_EQ(spline(x[i]), y[i]);
  EXPECT_EQ(spline(-0.1f), 0.0f);
  EXPECT_EQ(spline(4.6f), 0.0f);

  std::vector<float> onLine;
  for (float xi : x) onLine.push_back(2.0f * xi - 1.0f);
  const CubicSpline exact(x, onLine);
  for (float at : {0.25f, 1.0f, 2.7f, 4.0f}) EXPECT_NEAR(exact(at), 2.0f * at - 1.0f, 1e-5f);

  const std::vector<float> unordered = {0.0f, 2.0f, 1.0f};
  EXPECT_TRUE(CubicSpline(unordered, std::vector<float>{1, 2, 3}).empty());
}

TEST(ResampleLogLog, SixPerDecadeEndingOnTheLargestSpacingAndNotBelowTheSmallest) {
  const std::vector<float> x = {1.5f, 4.0f, 20.0f, 130.0f};
  const std::vector<float> y = {10.0f, 12.0f, 30.0f, 80.0f};
  const SampledCurve curve = resampleLogLog(x, y);
  ASSERT_FALSE(curve.x.empty());
  EXPECT_FLOAT_EQ(curve.x.back(), 130.0f);
  EXPECT_FLOAT_EQ(curve.y.back(), 80.0f);
  EXPECT_GE(curve.x.front(), 1.5f * 0.9999f);
  EXPECT_LT(curve.x.front(), 1.5f * std::pow(10.0f, 1.0f / 6.0f));
  for (std::size_t i = 1; i < curve.x.size(); ++i)
    EXPECT_NEAR(std::log10(curve.x[i] / curve.x[i - 1]), 1.0f / 6.0f, 1e-4f);
}

TEST(ExtendEnds, HalfSpaceStaysFlatAndTheEndsFollowTheEndSlopes) {
  SampledCurve flat{{1, 2, 3}, {50, 50, 50}};
  const SampledCurve extended = extendEnds(flat);
  ASSERT_EQ(extended.y.size(), 3u + 2 * kEndExtension);
  for (float v : extended.y) EXPECT_FLOAT_EQ(v, 50.0f);

  // A rising end keeps rising, a falling start keeps falling towards smaller spacings.
  SampledCurve rising{spacings(1.0f, 10.0f, 6), {}};
  for (float s : rising.x) rising.y.push_back(10.0f * std::sqrt(s));
  const SampledCurve more = extendEnds(rising);
  for (std::size_t i = 1; i < more.y.size(); ++i) EXPECT_GT(more.y[i], more.y[i - 1]);
}

TEST(StripLayers, AHomogeneousEarthIsAHalfSpace) {
  const std::vector<float> x = spacings(1.0f, 1000.0f, 8);
  const std::vector<float> y(x.size(), 42.0f);
  const std::vector<EstimatedLayer> layers = estimateLayers(x, y);
  ASSERT_EQ(layers.size(), 1u);
  EXPECT_FLOAT_EQ(layers[0].resistivity, 42.0f);
}

TEST(EstimateModel, TwoPointsAreRefusedAndThreeAreEnough) {
  zeva::test::ScriptedToolkit toolkit;
  Sounding two;
  fillSounding(two, "Schlumberger Array", {1.0f, 10.0f}, {100.0f, 50.0f});
  const std::vector<float> before = two.M.PAR;
  EXPECT_FALSE(EstimateModel(two, toolkit));
  EXPECT_EQ(toolkit.lastText(), "NEED AT LEAST 3 POINTS TO ESTIMATE MODEL");
  EXPECT_EQ(toolkit.messages.back().title, "Kelvorin Library Message");
  EXPECT_EQ(two.M.PAR, before);
  EXPECT_EQ(two.NLAYER(), 3);

  zeva::test::ScriptedToolkit quiet;
  Sounding three;
  fillSounding(three, "Schlumberger Array", {1.0f, 10.0f, 100.0f}, {100.0f, 60.0f, 20.0f});
  EXPECT_TRUE(EstimateModel(three, quiet));
  EXPECT_TRUE(quiet.messages.empty());
  EXPECT_GE(three.NLAYER(), 1);
  EXPECT_EQ(three.NPAR(), core::parameterCount(three.NLAYER(), 1));
}

TEST(EstimateModel, MissingAndNonPositiveReadingsDoNotCount) {
  zeva::test::ScriptedToolkit toolkit;
  Sounding S;
  fillSounding(S, "Wenner Array", {1.0f, 3.0f, 10.0f, 30.0f}, {100.0f, 1.0e10f, -5.0f, 20.0f});
  EXPECT_FALSE(EstimateModel(S, toolkit));
  EXPECT_EQ(toolkit.lastText(), "NEED AT LEAST 3 POINTS TO ESTIMATE MODEL");
}

TEST(EstimateModel, OtherDataFamiliesAreRefusedWithTheirPaddedType) {
  zeva::test::ScriptedToolkit toolkit;
  Sounding S;
  fillSounding(S, "Magnetotelluric Data", {1.0f, 10.0f, 100.0f}, {100.0f, 60.0f, 20.0f});
  EXPECT_FALSE(EstimateModel(S, toolkit));
  EXPECT_EQ(toolkit.lastText(), "CANNOT ESTIMATE MODEL FOR Magnetotelluric Data");
  EXPECT_EQ(toolkit.lastText().size(), 26u + 20u);
}

struct ArrayCase {
  const char* type;
  float factor;
};
class ArrayFactor : public ::testing::TestWithParam<ArrayCase> {};

TEST_P(ArrayFactor, ThicknessesScaleByTheArrayFactorOfTheSameCurve) {
  std::vector<float> x = spacings(1.0f, 1000.0f, 10), y;
  for (float s : x) y.push_back(twoLayerSchlumberger(s, 100.0f, 10.0f, 10.0f));
  zeva::test::ScriptedToolkit toolkit;
  Sounding schlumberger, other;
  fillSounding(schlumberger, "Schlumberger Array", x, y);
  fillSounding(other, GetParam().type, x, y);
  ASSERT_TRUE(EstimateModel(schlumberger, toolkit));
  ASSERT_TRUE(EstimateModel(other, toolkit));
  ASSERT_EQ(other.NLAYER(), schlumberger.NLAYER());
  for (int j = 0; j + 1 < other.NLAYER(); ++j)
    EXPECT_NEAR(other.M.PAR[other.geometryIndex(j)],
                GetParam().factor * schlumberger.M.PAR[schlumberger.geometryIndex(j)], 1e-3f);
}

INSTANTIATE_TEST_SUITE_P(EveryArrayWithoutDipoles, ArrayFactor,
                         ::testing::Values(ArrayCase{"Wenner Array", 1.3f},
                                           ArrayCase{"Pole-Pole Array", 2.0f},
                                           ArrayCase{"Polar Dipole Array", 0.6667f},
                                           ArrayCase{"Perpendicular Array", 0.667f}));

TEST(EstimateModel, NewModelIsFreeUnlimitedWithIpBlocksAtFiveAndDepthsWhenAsked) {
  std::vector<float> x = spacings(1.0f, 1000.0f, 10), y;
  for (float s : x) y.push_back(twoLayerSchlumberger(s, 100.0f, 10.0f, 10.0f));
  zeva::test::ScriptedToolkit toolkit;
  Sounding S;
  fillSounding(S, "Schlumberger Array", x, y, 2);
  S.model.NPK = 2;
  ASSERT_TRUE(S.allocateModel());
  S.M.LFIX.assign(S.M.LFIX.size(), core::kTrue);
  S.model.depths = core::kTrue;
  S.layer.equivalenceValid = S.layer.resolutionValid = core::kTrue;
  ASSERT_TRUE(EstimateModel(S, toolkit));
  ASSERT_EQ(S.NLAYER(), 2);
  EXPECT_EQ(S.NPAR(), 5);
  for (int i = 0; i < S.NPAR(); ++i) {
    EXPECT_FALSE(core::isSet(S.M.LFIX[i]));
    EXPECT_FALSE(core::isSet(S.M.LMTP[i]));
  }
  EXPECT_FLOAT_EQ(S.M.PAR[2], kDefaultIpParameter);
  EXPECT_FLOAT_EQ(S.M.PAR[3], kDefaultIpParameter);
  EXPECT_NEAR(S.M.PAR[4], 10.0f, 0.5f);  // the bottom depth of the first layer
  EXPECT_FALSE(core::isSet(S.layer.equivalenceValid));
  EXPECT_FALSE(core::isSet(S.layer.resolutionValid));
}

TEST(EstimateModel, GroundingImpedanceCarriesTheCeilingAsAnExtraParameter) {
  const std::vector<float> x = {2.0f, 5.0f, 10.0f, 20.0f, 50.0f, 100.0f};
  const std::vector<float> y = {40.0f, 30.0f, 22.0f, 15.0f, 9.0f, 6.0f};
  zeva::test::ScriptedToolkit toolkit;
  Sounding S;
  fillSounding(S, "Grounding Impedance", x, y);
  ASSERT_TRUE(EstimateModel(S, toolkit));
  EXPECT_EQ(S.NPAR(), core::parameterCount(S.NLAYER(), 1) + 1);
  ASSERT_EQ(S.M.PAR.size(), static_cast<std::size_t>(S.NPAR()));
  EXPECT_FLOAT_EQ(S.M.PAR.back(), 1.05f * 40.0f);
}

TEST(EstimateModel, SegmentsAreJoinedBeforeTheCurveIsResampled) {
  // The same two-layer curve read in two segments; the second reads 20 % low
  // and repeats the last two spacings of the first. Unjoined, the step would
  // be taken for a conductive layer.
  std::vector<float> x, y;
  const std::vector<float> all = spacings(1.0f, 1000.0f, 6);
  const std::vector<float> first(all.begin(), all.begin() + 10);
  const std::vector<float> second(all.begin() + 8, all.end());
  for (float s : first) x.push_back(s), y.push_back(twoLayerSchlumberger(s, 100.0f, 10.0f, 10.0f));
  for (float s : second)
    x.push_back(s), y.push_back(0.8f * twoLayerSchlumberger(s, 100.0f, 10.0f, 10.0f));
  zeva::test::ScriptedToolkit toolkit;
  Sounding S;
  fillSounding(S, "Schlumberger Array", x, y);
  S.header.shiftMode = 2;  // keep the level of the short spacings
  ASSERT_TRUE(EstimateModel(S, toolkit));
  ASSERT_EQ(S.NLAYER(), 2);
  EXPECT_NEAR(S.M.PAR[0], 100.0f, 3.0f);
  EXPECT_NEAR(S.M.PAR[1], 10.0f, 0.5f);
  EXPECT_NEAR(S.M.PAR[2], 10.0f, 0.5f);
}

TEST(EstimateIpParameters, RecoversTheIpOfBothLayersFromThePerturbedCurve) {
  // Seigel's perturbation: rho_j (1 + m_j / F) gives the apparent IP effect
  // (rho_a' / rho_a - 1) F; the data carry it in the second column.
  const float m1 = 2.0f, m2 = 20.0f, F = 1000.0f;
  std::vector<float> x = spacings(1.0f, 1000.0f, 10), y, ip;
  for (float s : x) {
    const float plain = twoLayerSchlumberger(s, 100.0f, 10.0f, 10.0f);
    const float charged =
        twoLayerSchlumberger(s, 100.0f * (1 + m1 / F), 10.0f * (1 + m2 / F), 10.0f);
    y.push_back(plain);
    ip.push_back((charged / plain - 1.0f) * F);
  }
  zeva::test::ScriptedToolkit toolkit;
  Sounding S;
  fillSounding(S, "Schlumberger Array", x, y, 2);
  for (std::size_t i = 0; i < x.size(); ++i) S.data().VOLTS(i, 1) = ip[i];
  S.header.ipUnit.assign("(mSec)");
  S.model.NPK = 2;
  ASSERT_TRUE(S.allocateModel());
  ASSERT_TRUE(EstimateModel(S, toolkit));
  ASSERT_EQ(S.NLAYER(), 2);
  const std::vector<float> resistivities(S.M.PAR.begin(), S.M.PAR.begin() + 2);
  ASSERT_TRUE(EstimateIpParameters(S, toolkit));
  EXPECT_EQ(resistivities[0], S.M.PAR[0]);
  EXPECT_EQ(resistivities[1], S.M.PAR[1]);
  EXPECT_NEAR(S.M.PAR[2], m1, 1.0f);
  EXPECT_NEAR(S.M.PAR[3], m2, 4.0f);
  EXPECT_TRUE(toolkit.messages.empty());
}

struct ThreeLayerCase {
  const char* type;
  test::LayeredEarth earth;
};
class ThreeLayerEstimate : public ::testing::TestWithParam<ThreeLayerCase> {};

TEST_P(ThreeLayerEstimate, FindsTheLayersTheCoverAndAModelThatFitsWithinFifteenPercent) {
  zeva::test::ScriptedToolkit toolkit;
  Sounding S;
  test::makeSynthetic(S, GetParam().type, test::logSpacings(1.0f, 1000.0f, 10), GetParam().earth,
                      toolkit);
  test::setModel(S, test::LayeredEarth{{15.0f}, {}});
  ASSERT_TRUE(EstimateModel(S, toolkit));
  EXPECT_GE(S.NLAYER(), 2);
  const float cover = GetParam().earth.resistivity[0];
  EXPECT_NEAR(S.M.PAR[0], cover, 0.1f * cover);
  test::dcRoutine(toolkit)(S);
  EXPECT_LT(S.layer.PCTERR, 15.0f);
  EXPECT_TRUE(toolkit.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    SchlumbergerAndWenner, ThreeLayerEstimate,
    ::testing::Values(
        ThreeLayerCase{"Schlumberger Array", {{100.0f, 10.0f, 1000.0f}, {5.0f, 20.0f}}},
        ThreeLayerCase{"Wenner Array", {{100.0f, 10.0f, 1000.0f}, {5.0f, 20.0f}}},
        ThreeLayerCase{"Schlumberger Array", {{20.0f, 200.0f, 5.0f}, {3.0f, 15.0f}}}));

class DipoleArrayScaling : public ::testing::TestWithParam<const char*> {};

// Resistivity soundings are scale-free: doubling the dipole length and every
// thickness leaves the apparent resistivities as they were, so the estimated
// thicknesses must double too (not grow fourfold).
TEST_P(DipoleArrayScaling, DoublingDipoleLengthAndEarthDoublesTheThicknesses) {
  const std::vector<float> n = {1, 1.5f, 2, 3, 4, 5, 6, 8, 10, 12, 15, 20, 25, 30, 40, 50, 60, 80};
  zeva::test::ScriptedToolkit toolkit;
  Sounding small, large;
  small.header.dipoleLength = 5.0f;
  large.header.dipoleLength = 10.0f;
  test::makeSynthetic(small, GetParam(), n, {{100.0f, 10.0f, 1000.0f}, {5.0f, 20.0f}}, toolkit);
  test::makeSynthetic(large, GetParam(), n, {{100.0f, 10.0f, 1000.0f}, {10.0f, 40.0f}}, toolkit);
  ASSERT_TRUE(EstimateModel(small, toolkit));
  ASSERT_TRUE(EstimateModel(large, toolkit));
  ASSERT_EQ(small.NLAYER(), large.NLAYER());
  ASSERT_GE(small.NLAYER(), 2);
  for (int j = 0; j + 1 < small.NLAYER(); ++j)
    EXPECT_NEAR(large.M.PAR[large.geometryIndex(j)], 2.0f * small.M.PAR[small.geometryIndex(j)],
                0.02f * large.M.PAR[large.geometryIndex(j)]);
}

INSTANTIATE_TEST_SUITE_P(DipoleArrays, DipoleArrayScaling,
                         ::testing::Values("Dipole-Dipole Array", "Pole-Dipole Array"));

}  // namespace
}  // namespace zeva::inversion
