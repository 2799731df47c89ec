#include "forward/maxmin_forward.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string_view>
#include <vector>

#include "tests/forward/forward_test_support.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::forward {
namespace {

using core::Sounding;

constexpr double kPi = 3.14159265358979;
constexpr double kMu0 = 4.0e-7 * kPi;

using Reading = test::CoilReading;

// The forward routine with a toolkit nobody reads.
void calcQuietly(core::Sounding& s) {
  zeva::test::ScriptedToolkit toolkit;
  CalcMaxMin(s, toolkit);
}

Sounding maxMinSounding(std::string_view type, const std::vector<Reading>& readings,
                        const std::vector<float>& resistivities,
                        const std::vector<float>& thicknesses) {
  Sounding s;
  test::makeCoilSounding(s, type, readings, 1.0f);
  test::setModel(s, resistivities, thicknesses);
  return s;
}

// Readings over a range of induction numbers theta = omega mu0 s^2 / (2 rho)
// for rho = 100 ohm-m: 0.02 to 20.
std::vector<Reading> frequencySweep(float height = 0.0f) {
  std::vector<Reading> readings;
  for (float f = 110.0f; f <= 115000.0f; f *= 2.0f) readings.push_back({f, 150.0f, height});
  return readings;
}

// Secondary field over primary of a homogeneous half-space for coils on the
// ground (Wait, 1982), gamma^2 = i omega mu0 sigma s^2.
std::complex<double> halfSpaceSecondary(std::string_view type, double f, double s, double rho) {
  using C = std::complex<double>;
  const C g = std::sqrt(C(0.0, 2.0 * kPi * f * kMu0 * s * s / rho));
  const C hcp = 2.0 / (g * g) * (9.0 - (9.0 + 9.0 * g + 4.0 * g * g + g * g * g) * std::exp(-g));
  const C vcp = 2.0 * (1.0 - 3.0 / (g * g) + (3.0 + 3.0 * g + g * g) * std::exp(-g) / (g * g));
  if (type == "Horizontal Coplanar") return hcp - 1.0;
  if (type == "Vertical Coplanar") return vcp - 1.0;
  return (vcp - hcp) / 2.0;  // coaxial: the traces of the secondary tensor
}

class MaxMinCoils : public ::testing::TestWithParam<std::string_view> {};

TEST_P(MaxMinCoils, OneLayerGivesTheClosedFormHalfSpace) {
  Sounding s = maxMinSounding(GetParam(), frequencySweep(), {100.0f}, {});
  calcQuietly(s);
  for (std::size_t i = 0; i < s.SVOLT.rows(); ++i) {
    const auto expected = 100.0 * halfSpaceSecondary(GetParam(), s.data().TIME(i, 0), 150.0, 100.0);
    EXPECT_NEAR(s.SVOLT(i, 0), expected.real(), 1.0e-3 + 1.0e-4 * std::abs(expected));
    EXPECT_NEAR(s.SVOLT(i, 1), expected.imag(), 1.0e-3 + 1.0e-4 * std::abs(expected));
  }
}

TEST_P(MaxMinCoils, LayersOfOneResistivityGiveTheHalfSpace) {
  Sounding half = maxMinSounding(GetParam(), frequencySweep(), {100.0f}, {});
  Sounding same =
      maxMinSounding(GetParam(), frequencySweep(), {100.0f, 100.0f, 100.0f}, {20.0f, 60.0f});
  zeva::test::ScriptedToolkit toolkit;
  CalcMaxMin(half, toolkit);
  CalcMaxMin(same, toolkit);
  for (std::size_t i = 0; i < half.SVOLT.rows(); ++i)
    for (std::size_t j = 0; j < 2; ++j) EXPECT_NEAR(same.SVOLT(i, j), half.SVOLT(i, j), 0.01f);
  EXPECT_TRUE(toolkit.messages.empty());
}

// A top layer much thinner than the skin depth and the separation is not
// seen: the response is that of the basement. One much thicker than the skin
// depth hides the basement.
TEST_P(MaxMinCoils, ThinTopLayerShowsTheBasementAndThickOneHidesIt) {
  Sounding thin = maxMinSounding(GetParam(), frequencySweep(), {300.0f, 30.0f}, {0.05f});
  calcQuietly(thin);
  for (std::size_t i = 0; i < thin.SVOLT.rows(); ++i) {
    const auto expected =
        100.0 * halfSpaceSecondary(GetParam(), thin.data().TIME(i, 0), 150.0, 30.0);
    EXPECT_NEAR(thin.SVOLT(i, 0), expected.real(), 0.01 * std::abs(expected) + 0.01);
    EXPECT_NEAR(thin.SVOLT(i, 1), expected.imag(), 0.01 * std::abs(expected) + 0.01);
  }
  Sounding thick = maxMinSounding(GetParam(), {{10000.0f, 150.0f, 0.0f}, {40000.0f, 150.0f, 0.0f}},
                                  {30.0f, 3000.0f}, {5000.0f});
  calcQuietly(thick);
  for (std::size_t i = 0; i < thick.SVOLT.rows(); ++i) {
    const auto expected =
        100.0 * halfSpaceSecondary(GetParam(), thick.data().TIME(i, 0), 150.0, 30.0);
    EXPECT_NEAR(thick.SVOLT(i, 0), expected.real(), 0.01 * std::abs(expected) + 0.01);
    EXPECT_NEAR(thick.SVOLT(i, 1), expected.imag(), 0.01 * std::abs(expected) + 0.01);
  }
}

// At low induction the secondary field vanishes; the coplanar quadrature is
// omega mu0 sigma s^2 / 4 of the primary, the coaxial one of higher order.
TEST_P(MaxMinCoils, LowInductionResponseVanishes) {
  Sounding s =
      maxMinSounding(GetParam(), {{10.0f, 10.0f, 0.0f}, {1.0f, 10.0f, 0.0f}}, {1000.0f}, {});
  calcQuietly(s);
  for (std::size_t i = 0; i < 2; ++i) {
    const double quarter = 100.0 * 2.0 * kPi * s.data().TIME(i, 0) * kMu0 * 100.0 / 1000.0 / 4.0;
    EXPECT_NEAR(s.SVOLT(i, 0), 0.0f, 0.01 * quarter);
    EXPECT_NEAR(s.SVOLT(i, 1), GetParam() == "Vertical Coaxial" ? 0.0 : quarter, 0.01 * quarter);
  }
}

INSTANTIATE_TEST_SUITE_P(EveryConfiguration, MaxMinCoils,
                         ::testing::Values("Horizontal Coplanar", "Vertical Coplanar",
                                           "Vertical Coaxial"));

// At low induction each coplanar pair reads the conductivity weighted by the
// cumulative response of its dipole (McNeill, 1980): 1/sqrt(4z^2+1) below
// depth z = d/s for coils horizontal, sqrt(4z^2+1) - 2z for coils vertical.
TEST(MaxMinLayered, LowInductionQuadratureFollowsTheCumulativeResponse) {
  const double sigma1 = 1.0e-3, sigma2 = 2.0e-3, z = 1.0;
  for (auto [type, below] :
       {std::pair{"Horizontal Coplanar", 1.0 / std::sqrt(4.0 * z * z + 1.0)},
        std::pair{"Vertical Coplanar", std::sqrt(4.0 * z * z + 1.0) - 2.0 * z}}) {
    Sounding s = maxMinSounding(type, {{60.0f, 10.0f, 0.0f}}, {1000.0f, 500.0f}, {10.0f});
    calcQuietly(s);
    const double sigmaA = sigma1 * (1.0 - below) + sigma2 * below;
    const double expected = 100.0 * 2.0 * kPi * 60.0 * kMu0 * sigmaA * 100.0 / 4.0;
    EXPECT_NEAR(s.SVOLT(0, 1), expected, 0.02 * expected) << type;
  }
}

// Coils raised by a small height see, through the whole transform, what the
// closed form gives for coils on the ground.
TEST(MaxMinHeight, SlightlyRaisedCoilsAgreeWithTheClosedFormOnTheGround) {
  Sounding raised = maxMinSounding("Horizontal Coplanar", frequencySweep(0.01f), {100.0f}, {});
  calcQuietly(raised);
  for (std::size_t i = 0; i < raised.SVOLT.rows(); ++i) {
    const auto expected =
        100.0 * halfSpaceSecondary("Horizontal Coplanar", raised.data().TIME(i, 0), 150.0, 100.0);
    EXPECT_NEAR(raised.SVOLT(i, 0), expected.real(), 0.01 * std::abs(expected) + 0.01);
    EXPECT_NEAR(raised.SVOLT(i, 1), expected.imag(), 0.01 * std::abs(expected) + 0.01);
  }
}

TEST(MaxMinHeight, RaisingTheCoilsWeakensTheResponse) {
  Sounding s = maxMinSounding("Horizontal Coplanar",
                              {{1760.0f, 100.0f, 0.0f}, {1760.0f, 100.0f, 30.0f}}, {10.0f}, {});
  calcQuietly(s);
  EXPECT_LT(std::abs(std::complex<float>(s.SVOLT(1, 0), s.SVOLT(1, 1))),
            0.5f * std::abs(std::complex<float>(s.SVOLT(0, 0), s.SVOLT(0, 1))));
}

TEST(MaxMinUnits, SoundingInFeetConvertsSeparationAndHeight) {
  Sounding metres = maxMinSounding("Horizontal Coplanar",
                                   {{880.0f, 30.48f, 0.0f}, {880.0f, 30.48f, 3.048f}}, {50.0f}, {});
  Sounding feet = maxMinSounding("Horizontal Coplanar",
                                 {{880.0f, 100.0f, 0.0f}, {880.0f, 100.0f, 10.0f}}, {50.0f}, {});
  feet.header.lengthUnit.assign("(feet)");
  calcQuietly(metres);
  calcQuietly(feet);
  for (std::size_t i = 0; i < 2; ++i)
    for (std::size_t j = 0; j < 2; ++j) EXPECT_NEAR(feet.SVOLT(i, j), metres.SVOLT(i, j), 1.0e-3f);
}

TEST(MaxMinFit, RmsDifferenceInPercentOverUnmaskedValues) {
  Sounding s = maxMinSounding("Vertical Coplanar",
                              {{880.0f, 100.0f, 0.0f}, {3520.0f, 100.0f, 0.0f}}, {50.0f}, {});
  calcQuietly(s);
  for (std::size_t i = 0; i < 2; ++i) {
    s.data().VOLTS(i, 0) = s.SVOLT(i, 0) + 3.0f;
    s.data().VOLTS(i, 1) = s.SVOLT(i, 1) - 3.0f;
  }
  s.header.maskingOn = core::kTrue;
  s.data().LMASK(1, 1) = core::kTrue;
  s.data().VOLTS(1, 1) = 1.0e10f;  // missing as well as masked
  s.data().VOLTS(0, 1) = s.SVOLT(0, 1) + 6.0f;
  calcQuietly(s);
  EXPECT_NEAR(s.layer.RMS, std::sqrt((9.0f + 9.0f + 36.0f) / 3.0f), 1.0e-3f);
  EXPECT_EQ(s.layer.PCTERR, s.layer.RMS);
  EXPECT_TRUE(core::isSet(s.layer.syntheticValid));
}

TEST(MaxMinFit, ZeroObservedValuesBecomeTiny) {
  Sounding s = maxMinSounding("Vertical Coplanar", {{880.0f, 100.0f, 0.0f}}, {50.0f}, {});
  s.data().VOLTS(0, 0) = 0.0f;
  calcQuietly(s);
  EXPECT_EQ(s.data().VOLTS(0, 0), 1.0e-20f);
}

TEST(MaxMinModel, ResistivityBeyondTheClampActsAsTheClamp) {
  Sounding clamp =
      maxMinSounding("Horizontal Coplanar", frequencySweep(), {10.0f, 1.0e6f}, {20.0f});
  Sounding beyond =
      maxMinSounding("Horizontal Coplanar", frequencySweep(), {10.0f, 1.0e9f}, {20.0f});
  calcQuietly(clamp);
  calcQuietly(beyond);
  for (std::size_t i = 0; i < clamp.SVOLT.rows(); ++i) {
    EXPECT_EQ(clamp.SVOLT(i, 0), beyond.SVOLT(i, 0));
    EXPECT_EQ(clamp.SVOLT(i, 1), beyond.SVOLT(i, 1));
  }
}

TEST(MaxMinModel, DepthsThatDoNotIncreaseRefuseTheModel) {
  Sounding s =
      maxMinSounding("Vertical Coaxial", frequencySweep(), {10.0f, 100.0f, 10.0f}, {30.0f, 20.0f});
  s.model.depths = core::kTrue;
  calcQuietly(s);
  EXPECT_EQ(s.layer.RMS, 1.0e10f);
  EXPECT_EQ(s.layer.PCTERR, 1.0e10f);
  EXPECT_EQ(s.SVOLT(0, 0), 1.0e20f);
  EXPECT_FALSE(core::isSet(s.layer.syntheticValid));
}

TEST(MaxMinModel, WorkArraysThatCannotBeHadAreReportedAndNothingChanges) {
  zeva::test::ScriptedToolkit toolkit;
  Sounding s = maxMinSounding("Vertical Coplanar", {{880.0f, 100.0f, 0.0f}}, {50.0f}, {});
  s.model.NLAYER = (1 << 20) + 1;
  s.M.PAR.assign(2u * static_cast<std::size_t>(s.model.NLAYER), 0.0f);
  s.SVOLT(0, 0) = 5.0f;
  CalcMaxMin(s, toolkit);
  ASSERT_EQ(toolkit.messages.size(), 1u);
  EXPECT_EQ(toolkit.messages[0].text, "Allocation error in CalcMaxMin");
  EXPECT_EQ(s.SVOLT(0, 0), 5.0f);
  EXPECT_EQ(s.M.PAR[0], 0.0f);
  EXPECT_FALSE(core::isSet(s.layer.syntheticValid));
}

}  // namespace
}  // namespace zeva::forward
