#include "forward/ip_forward.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "forward/dc_resistivity_forward.h"
#include "forward_test_support.h"
#include "layered_earth_oracle.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::forward {
namespace {

using core::Sounding;
using test::logSpaced;
using test::makeSounding;
using test::setModel;

// An IP sounding of the array with observed resistivities 100 and IP 10.
void makeIpSounding(Sounding& s, const char* type, const std::vector<float>& spacings,
                    const char* unit = "(pfe)") {
  makeSounding(s, type, spacings, 2);
  s.header.ipUnit.assign(unit);
  s.header.dipoleLength = 10.0f;
  for (std::size_t i = 0; i < spacings.size(); ++i) {
    s.data().VOLTS(i, 0) = 100.0f;
    s.data().VOLTS(i, 1) = 10.0f;
  }
}

class EveryArray : public ::testing::TestWithParam<const char*> {
 protected:
  std::vector<float> spacings() const {
    const std::string type = GetParam();
    if (type == "Dipole-Dipole Array" || type == "Pole-Dipole Array") return {1, 2, 4, 8};
    return logSpaced(1.0f, 1000.0f, 7);
  }
};

// The forward routine with a toolkit nobody reads.
void forwardQuietly(core::Sounding& s) {
  zeva::test::ScriptedToolkit toolkit;
  ipForward(s, toolkit);
}

TEST_P(EveryArray, NoPolarisationGivesNoIpEffect) {
  Sounding s;
  makeIpSounding(s, GetParam(), spacings());
  setModel(s, {30.0f, 300.0f, 10.0f}, {5.0f, 20.0f}, {0.0f, 0.0f, 0.0f});
  forwardQuietly(s);
  for (int i = 0; i < s.NDATA(); ++i) EXPECT_EQ(s.SVOLT(i, 1), 0.0f) << i;
  EXPECT_TRUE(core::isSet(s.layer.syntheticValid));
}

// Raising every resistivity by the same factor raises every apparent
// resistivity by it, so a uniformly polarisable earth shows its own m at
// every spacing, however it is layered.
TEST_P(EveryArray, UniformPolarisationShowsAtEverySpacing) {
  for (const bool layered : {false, true}) {
    Sounding s;
    makeIpSounding(s, GetParam(), spacings());
    if (layered)
      setModel(s, {30.0f, 300.0f, 10.0f}, {5.0f, 20.0f}, {10.0f, 10.0f, 10.0f});
    else
      setModel(s, {50.0f}, {}, {10.0f});
    forwardQuietly(s);
    for (int i = 0; i < s.NDATA(); ++i) EXPECT_NEAR(s.SVOLT(i, 1), 10.0f, 0.01f) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(IpForward, EveryArray,
                         ::testing::Values("Schlumberger Array", "Wenner Array",
                                           "Dipole-Dipole Array", "Pole-Dipole Array",
                                           "Pole-Pole Array", "Polar Dipole Array",
                                           "Perpendicular Array"));

TEST(IpUnits, TwentyMillisecondsRaiseTheLayerResistivityByTwoPercent) {
  for (const char* unit : {"(mSec)", "(mRad)"}) {
    Sounding s;
    makeIpSounding(s, "Schlumberger Array", {1, 10, 100}, unit);
    setModel(s, {100.0f}, {}, {20.0f});
    forwardQuietly(s);
    // rho_p = 1.02 rho_a, and the effect is given per thousand.
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(s.SVOLT(i, 1), 20.0f, 0.02f) << unit;
    EXPECT_NEAR(s.SVOLT(0, 0), 100.0f, 0.1f);
  }
}

// A polarisable basement under an inert cover: the apparent IP effect is
// the relative change of the apparent resistivity when the basement
// resistivity rises by m percent, here against the image series.
TEST(TwoLayerIp, BasementPolarisationMatchesTheImageSeriesPerturbation) {
  Sounding s;
  makeIpSounding(s, "Schlumberger Array", logSpaced(1.0f, 1000.0f, 10));
  setModel(s, {100.0f, 20.0f}, {10.0f}, {0.0f, 8.0f});
  forwardQuietly(s);
  const oracle::Potential plain = oracle::imageSeries({100.0, 20.0, 10.0});
  const oracle::Potential raised = oracle::imageSeries({100.0, 20.0 * 1.08, 10.0});
  for (int i = 0; i < s.NDATA(); ++i) {
    const double L = s.data().TIME(i, 0);
    const double rhoA = oracle::schlumberger(plain, L, 0.1 * L);
    const double expected = (oracle::schlumberger(raised, L, 0.1 * L) - rhoA) * 100.0 / rhoA;
    EXPECT_NEAR(s.SVOLT(i, 1), expected, 0.05) << "AB/2 " << L;
  }
  EXPECT_LT(s.SVOLT(0, 1), 0.1f);
  EXPECT_GT(s.SVOLT(s.NDATA() - 1, 1), 7.5f);
}

TEST(IpForward, LeavesTheLayerResistivitiesAsTheyWere) {
  zeva::test::ScriptedToolkit toolkit;
  Sounding s;
  makeIpSounding(s, "Wenner Array", {1, 10});
  setModel(s, {30.0f, 300.0f}, {5.0f}, {4.0f, 9.0f});
  const std::vector<float> before = s.M.PAR;
  ipForward(s, toolkit);
  EXPECT_EQ(s.M.PAR, before);

  Sounding dc;
  makeIpSounding(dc, "Wenner Array", {1, 10});
  setModel(dc, {30.0f, 300.0f}, {5.0f});
  dcResistivityForward(dc, toolkit);
  EXPECT_EQ(s.SVOLT(0, 0), dc.SVOLT(0, 0));
  EXPECT_EQ(s.SVOLT(1, 0), dc.SVOLT(1, 0));
}

// Half-space 100 ohm-m with m = 10: synthetic resistivity 100 and IP 10 at
// every point; the fit follows by hand from the observed values.
class IpFit : public ::testing::Test {
 protected:
  void SetUp() override {
    makeIpSounding(s, "Wenner Array", {1, 10, 100, 1000});
    setModel(s, {100.0f}, {}, {10.0f});
  }
  void setIp(const std::vector<float>& ip) {
    for (std::size_t i = 0; i < ip.size(); ++i) s.data().VOLTS(i, 1) = ip[i];
  }
  Sounding s;
  zeva::test::ScriptedToolkit toolkit;
};

TEST_F(IpFit, OneZeroReadingMakesTheIpFitLinearAndInPercent) {
  setIp({0.0f, 12.0f, 8.0f, 20.0f});
  ipForward(s, toolkit);
  // R = 8; differences over 8, 12, 8 and 20; four resistivities fit exactly.
  const double sum = 1.25 * 1.25 + (2.0 / 12) * (2.0 / 12) + 0.25 * 0.25 + 0.5 * 0.5;
  const double expected = 100.0 * std::sqrt(sum / 8.0);
  EXPECT_NEAR(s.layer.RMS, expected, 0.05);
  EXPECT_EQ(s.layer.PCTERR, s.layer.RMS);
}

TEST_F(IpFit, SmallReadingsAreDividedByTheReferenceWithTheirSign) {
  setIp({-0.5f, 12.0f, 0.25f, 20.0f});
  ipForward(s, toolkit);
  // R = 0.25 is raised to the pfe floor 0.5; -0.5 and 0.25 are divided by -0.5 and 0.5.
  const double sum = (10.5 / 0.5) * (10.5 / 0.5) + (2.0 / 12) * (2.0 / 12) +
                     (9.75 / 0.5) * (9.75 / 0.5) + 0.5 * 0.5;
  EXPECT_NEAR(s.layer.RMS, 100.0 * std::sqrt(sum / 8.0), 0.5);
}

TEST_F(IpFit, PositiveReadingsAreFittedInLog10) {
  setIp({10.0f, 20.0f, 5.0f, 10.0f});
  ipForward(s, toolkit);
  const double expected = std::sqrt(2.0 * std::pow(std::log10(2.0), 2) / 8.0);
  EXPECT_NEAR(s.layer.RMS, expected, 1.0e-4);
  EXPECT_NEAR(s.layer.PCTERR, (std::pow(10.0, expected) - 1.0) * 100.0, 0.02);
}

TEST_F(IpFit, MaskedValuesAndMissingReadingsTakeNoPart) {
  setIp({10.0f, 1000.0f, 1.0e10f, 10.0f});
  s.data().LMASK(1, 1) = core::kTrue;
  s.data().VOLTS(3, 0) = 1.0e10f;
  ipForward(s, toolkit);
  EXPECT_NEAR(s.layer.RMS, 0.0f, 1.0e-4f);
}

TEST_F(IpFit, AllValuesMaskedGivesZeroFit) {
  for (int i = 0; i < 4; ++i) s.data().LMASK(i, 0) = s.data().LMASK(i, 1) = core::kTrue;
  s.layer.RMS = 3.0f;
  ipForward(s, toolkit);
  EXPECT_EQ(s.layer.RMS, 0.0f);
  EXPECT_EQ(s.layer.PCTERR, 0.0f);
  EXPECT_TRUE(core::isSet(s.layer.syntheticValid));
}

TEST(IpForward, RefusedModelKeepsTheRefusedFit) {
  Sounding s;
  makeIpSounding(s, "Schlumberger Array", {1, 10});
  setModel(s, {10.0f, 20.0f, 30.0f}, {10.0f, 10.0f}, {1.0f, 1.0f, 1.0f});
  s.model.depths = core::kTrue;
  forwardQuietly(s);
  EXPECT_EQ(s.layer.RMS, 1.0e10f);
  EXPECT_EQ(s.layer.PCTERR, 1.0e10f);
  EXPECT_EQ(s.SVOLT(0, 0), 1.0e20f);
  EXPECT_FALSE(core::isSet(s.layer.syntheticValid));
}

}  // namespace
}  // namespace zeva::forward
