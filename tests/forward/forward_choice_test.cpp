#include "forward/forward_choice.h"

#include <gtest/gtest.h>

#include "forward_test_support.h"
#include "tem_test_support.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::forward {
namespace {

using core::Sounding;

TEST(ForwardChoice, LayersWithIpParametersGetTheIpRoutine) {
  zeva::test::ScriptedToolkit toolkit;
  Sounding s;
  test::makeSounding(s, "Wenner Array", {1, 10, 100}, 2);
  test::setModel(s, {100.0f}, {}, {10.0f});
  chooseForwardRoutine(s, toolkit)(s);
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(s.SVOLT(i, 0), 100.0f, 0.1f);
    EXPECT_NEAR(s.SVOLT(i, 1), 10.0f, 0.01f);
  }
}

TEST(ForwardChoice, ResistivityOnlyLayersGetTheDcRoutine) {
  zeva::test::ScriptedToolkit toolkit;
  Sounding s;
  test::makeSounding(s, "Pole-Pole Array", {1, 10, 100}, 2);
  test::setModel(s, {100.0f}, {});
  s.SVOLT(0, 1) = 7.0f;
  chooseForwardRoutine(s, toolkit)(s);
  EXPECT_NEAR(s.SVOLT(0, 0), 100.0f, 0.1f);
  EXPECT_EQ(s.SVOLT(0, 1), 7.0f);  // the DC routine writes the resistivities only
}

struct RoutedCase {
  const char* type;
  float firstSynthetic;  // of a 100 ohm-m (or 100 mS/m) half-space
};

class RoutedByType : public ::testing::TestWithParam<RoutedCase> {};

// Each family's routine gives its own half-space answer: MT the resistivity,
// EM conductivity the conductivity, MaxMin a non-zero in-phase.
TEST_P(RoutedByType, EveryElectromagneticTypeGetsItsOwnRoutine) {
  zeva::test::ScriptedToolkit toolkit;
  Sounding s;
  test::makeSounding(s, GetParam().type, {1, 10, 100}, 2);
  s.header.NGEOM = 3;
  ASSERT_TRUE(s.allocateData());
  for (std::size_t i = 0; i < 3; ++i) {
    s.data().TIME(i, 0) = i == 0 ? 0.001f : 1000.0f;  // low induction for EM conductivity
    s.data().TIME(i, 1) = 10.0f;
    s.data().VOLTS(i, 0) = s.data().VOLTS(i, 1) = 1.0f;
  }
  test::setModel(s, {100.0f}, {});
  chooseForwardRoutine(s, toolkit)(s);
  EXPECT_TRUE(hasForwardModel(s));
  EXPECT_TRUE(core::isSet(s.layer.syntheticValid));
  if (GetParam().firstSynthetic > 0.0f)
    EXPECT_NEAR(s.SVOLT(0, 0), GetParam().firstSynthetic, 0.001f * GetParam().firstSynthetic);
  else
    EXPECT_NE(s.SVOLT(1, 0), 0.0f);
  EXPECT_TRUE(toolkit.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(ElectromagneticTypes, RoutedByType,
                         ::testing::Values(RoutedCase{"Magnetotelluric Data", 100.0f},
                                           RoutedCase{"Controlled Source MT", 100.0f},
                                           RoutedCase{"MT Data xy, yx, inv.", 100.0f},
                                           RoutedCase{"Sea Floor MT data TE", 100.0f},
                                           RoutedCase{"Sea Floor MT data TM", 100.0f},
                                           RoutedCase{"EM Conductivity Data", 100.0f},
                                           RoutedCase{"Horizontal Coplanar", 0.0f},
                                           RoutedCase{"Vertical Coplanar", 0.0f},
                                           RoutedCase{"Vertical Coaxial", 0.0f}));

TEST(ForwardChoice, LoopTemTypesGetTheTransientRoutine) {
  for (const char* type : {"Central Loop TEM", "Coincident Loop TEM", "Fixed Loop TEM",
                           "Fixed Loop Radial H", "Fixed Loop Horiz. H", "Cicular Loop Rad. H"}) {
    zeva::test::ScriptedToolkit toolkit;
    Sounding s;
    test::makeTemSounding(s, type, {0.1f, 1.0f}, 100.0f, 100.0f, 150.0f, 20.0f, "(uV/Amp)");
    test::setModel(s, {100.0f}, {});
    EXPECT_TRUE(hasForwardModel(s)) << type;
    chooseForwardRoutine(s, toolkit)(s);
    EXPECT_TRUE(core::isSet(s.layer.syntheticValid)) << type;
    EXPECT_NE(s.SVOLT(0, 0), 0.0f) << type;
    EXPECT_TRUE(toolkit.messages.empty()) << type;
  }
}

TEST(ForwardChoice, MarineTemDataHaveNoForwardModelAndAreLeftAlone) {
  zeva::test::ScriptedToolkit toolkit;
  Sounding s;
  test::makeSounding(s, "Marine TEM Inline E", {0.1f, 1.0f, 10.0f}, 1);
  test::setModel(s, {100.0f}, {});
  s.SVOLT(0, 0) = 3.0f;
  s.layer.RMS = 4.0f;
  EXPECT_FALSE(hasForwardModel(s));
  const ForwardRoutine routine = chooseForwardRoutine(s, toolkit);
  routine(s);
  routine(s);
  test::expectLeftAlone(
      s, 3.0f, 4.0f, toolkit.texts(),
      "TEM data have no forward model in this version; the sounding is unchanged");
}

}  // namespace
}  // namespace zeva::forward
