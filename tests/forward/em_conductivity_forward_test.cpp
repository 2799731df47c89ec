#include "forward/em_conductivity_forward.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/forward/forward_test_support.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::forward {
namespace {

using core::Sounding;

using Reading = test::CoilReading;

// The forward routine with a toolkit nobody reads.
void forwardQuietly(core::Sounding& s) {
  zeva::test::ScriptedToolkit toolkit;
  emConductivityForward(s, toolkit);
}

Sounding conductivitySounding(const std::vector<Reading>& readings,
                              const std::vector<float>& conductivities,
                              const std::vector<float>& thicknesses, int mode = kBothDipoles) {
  Sounding s;
  test::makeCoilSounding(s, "EM Conductivity Data", readings, 20.0f);
  s.header.mode = mode;
  test::setModel(s, conductivities, thicknesses);
  return s;
}

// Cumulative responses of McNeill (1980): the share of the reading from below
// depth z (in coil separations).
double verticalDipoleBelow(double z) { return 1.0 / std::sqrt(4.0 * z * z + 1.0); }
double horizontalDipoleBelow(double z) { return std::sqrt(4.0 * z * z + 1.0) - 2.0 * z; }

TEST(EmConductivity, HalfSpaceAtLowInductionReadsItsConductivityInBothModes) {
  // theta = omega mu0 sigma s^2 / 2 = 2.0E-6 and 1.4E-6, below 5.0E-6.
  Sounding s = conductivitySounding({{1.0f, 5.0f, 0.0f}, {2.0f, 3.0f, 0.0f}}, {20.0f}, {});
  forwardQuietly(s);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_FLOAT_EQ(s.SVOLT(i, 0), 20.0f);
    EXPECT_FLOAT_EQ(s.SVOLT(i, 1), 20.0f);
  }
  EXPECT_NEAR(s.layer.RMS, 0.0f, 1.0e-3f);
}

struct TwoLayerCase {
  float sigma1, sigma2, depthInSpacings;
};

class EmConductivityTwoLayer : public ::testing::TestWithParam<TwoLayerCase> {};

TEST_P(EmConductivityTwoLayer, LowInductionAgreesWithTheCumulativeResponse) {
  const auto [sigma1, sigma2, z] = GetParam();
  const float spacing = 10.0f;
  // s/delta of the more conductive layer stays below 0.005 at 1 Hz.
  Sounding s = conductivitySounding({{1.0f, spacing, 0.0f}}, {sigma1, sigma2}, {z * spacing});
  zeva::test::ScriptedToolkit toolkit;
  emConductivityForward(s, toolkit);
  const double horizontal =
      sigma1 * (1.0 - horizontalDipoleBelow(z)) + sigma2 * horizontalDipoleBelow(z);
  const double vertical = sigma1 * (1.0 - verticalDipoleBelow(z)) + sigma2 * verticalDipoleBelow(z);
  EXPECT_NEAR(s.SVOLT(0, 0), horizontal, 0.02 * horizontal);
  EXPECT_NEAR(s.SVOLT(0, 1), vertical, 0.02 * vertical);
  EXPECT_TRUE(toolkit.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(DepthsAndContrasts, EmConductivityTwoLayer,
                         ::testing::Values(TwoLayerCase{10.0f, 50.0f, 0.25f},
                                           TwoLayerCase{10.0f, 50.0f, 1.0f},
                                           TwoLayerCase{50.0f, 5.0f, 0.5f},
                                           TwoLayerCase{50.0f, 5.0f, 2.0f},
                                           TwoLayerCase{2.0f, 40.0f, 0.1f}));

// Over a half-space the coils at height h read what lies below depth h/s.
TEST(EmConductivity, RaisedCoilsReadTheCumulativeResponseBelowTheirHeight) {
  const float spacing = 10.0f;
  for (float z : {0.001f, 0.3f, 1.0f}) {
    Sounding s = conductivitySounding({{1.0f, spacing, z * spacing}}, {30.0f}, {});
    zeva::test::ScriptedToolkit toolkit;
    emConductivityForward(s, toolkit);
    EXPECT_NEAR(s.SVOLT(0, 0), 30.0 * horizontalDipoleBelow(z),
                0.02 * 30.0 * horizontalDipoleBelow(z))
        << z;
    EXPECT_NEAR(s.SVOLT(0, 1), 30.0 * verticalDipoleBelow(z), 0.02 * 30.0 * verticalDipoleBelow(z))
        << z;
  }
}

// At higher induction the meter reads low; the closed forms and the layered
// transform must still agree for layers of one conductivity.
TEST(EmConductivity, LayersOfOneConductivityGiveTheHalfSpaceAtAnyInduction) {
  const std::vector<Reading> readings{
      {10000.0f, 40.0f, 0.0f}, {50000.0f, 40.0f, 0.0f}, {1000.0f, 100.0f, 0.0f}};
  Sounding half = conductivitySounding(readings, {300.0f}, {});
  Sounding same = conductivitySounding(readings, {300.0f, 300.0f, 300.0f}, {5.0f, 30.0f});
  forwardQuietly(half);
  forwardQuietly(same);
  for (std::size_t i = 0; i < readings.size(); ++i) {
    EXPECT_LT(half.SVOLT(i, 1), 300.0f * 0.5f);
    for (std::size_t j = 0; j < 2; ++j)
      EXPECT_NEAR(same.SVOLT(i, j), half.SVOLT(i, j), 1.0e-3f * std::fabs(half.SVOLT(i, j)));
  }
}

TEST(EmConductivity, HorizontalDipoleModeLeavesTheVerticalColumnAndFitsOneValue) {
  Sounding s = conductivitySounding({{1.0f, 5.0f, 0.0f}}, {20.0f}, {}, kHorizontalDipoles);
  s.SVOLT(0, 1) = -7.0f;
  s.data().VOLTS(0, 0) = 20.0f;
  s.data().VOLTS(0, 1) = 2000.0f;  // would count as two decades if fitted
  forwardQuietly(s);
  EXPECT_EQ(s.SVOLT(0, 1), -7.0f);
  EXPECT_NEAR(s.layer.PCTERR, 0.0f, 0.1f);
}

TEST(EmConductivity, VerticalDipoleModeFitsInPercent) {
  Sounding s = conductivitySounding({{1.0f, 5.0f, 0.0f}}, {20.0f}, {}, kVerticalDipoles);
  s.SVOLT(0, 0) = -7.0f;
  s.data().VOLTS(0, 1) = 200.0f;  // one decade off: (10^1 - 1) * 100 percent
  forwardQuietly(s);
  EXPECT_EQ(s.SVOLT(0, 0), -7.0f);
  EXPECT_FLOAT_EQ(s.layer.RMS, 900.0f);
  EXPECT_EQ(s.layer.PCTERR, s.layer.RMS);
}

TEST(EmConductivity, SoundingInFeetConvertsSeparationAndHeight) {
  Sounding metres = conductivitySounding({{9800.0f, 3.048f, 0.3048f}}, {80.0f, 10.0f}, {2.0f});
  Sounding feet = conductivitySounding({{9800.0f, 10.0f, 1.0f}}, {80.0f, 10.0f}, {2.0f});
  feet.header.lengthUnit.assign("(feet)");
  forwardQuietly(metres);
  forwardQuietly(feet);
  EXPECT_NEAR(feet.SVOLT(0, 0), metres.SVOLT(0, 0), 1.0e-3f * metres.SVOLT(0, 0));
  EXPECT_NEAR(feet.SVOLT(0, 1), metres.SVOLT(0, 1), 1.0e-3f * metres.SVOLT(0, 1));
}

TEST(EmConductivity, DepthsMustIncreaseAndBeBelowTheSurface) {
  for (std::vector<float> depths :
       {std::vector<float>{5.0f, 5.0f}, std::vector<float>{0.0f, 5.0f}}) {
    Sounding s = conductivitySounding({{1000.0f, 10.0f, 0.0f}}, {10.0f, 20.0f, 30.0f}, depths);
    s.model.depths = core::kTrue;
    forwardQuietly(s);
    EXPECT_EQ(s.layer.RMS, 1.0e10f);
    EXPECT_EQ(s.SVOLT(0, 0), 1.0e20f);
  }
}

TEST(EmConductivity, NothingCountedKeepsTheFormerFit) {
  Sounding s = conductivitySounding({{1000.0f, 10.0f, 0.0f}}, {20.0f}, {});
  s.header.maskingOn = core::kTrue;
  s.data().LMASK(0, 0) = s.data().LMASK(0, 1) = core::kTrue;
  s.layer.RMS = s.layer.PCTERR = 12.5f;
  forwardQuietly(s);
  EXPECT_EQ(s.layer.RMS, 12.5f);
  EXPECT_TRUE(core::isSet(s.layer.syntheticValid));
}

struct PenetrationCase {
  char mode;
  float spacing, height, depth;
};
class PenetrationDepth : public ::testing::TestWithParam<PenetrationCase> {};

TEST_P(PenetrationDepth, FollowsTheDipoleModeAndNeverFallsBelowATenthOfTheSpacing) {
  const PenetrationCase c = GetParam();
  EXPECT_FLOAT_EQ(effectivePenetrationDepth(c.mode, c.spacing, c.height), c.depth);
}

INSTANTIATE_TEST_SUITE_P(Modes, PenetrationDepth,
                         ::testing::Values(PenetrationCase{'H', 10.0f, 1.0f, 6.5f},
                                           PenetrationCase{'V', 10.0f, 1.0f, 14.0f},
                                           PenetrationCase{'H', 10.0f, 7.0f, 1.0f},
                                           PenetrationCase{'V', 10.0f, 20.0f, 1.0f},
                                           PenetrationCase{'V', 40.0f, 0.0f, 60.0f}));

}  // namespace
}  // namespace zeva::forward
