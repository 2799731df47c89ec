#include "core/program/dc_example_soundings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>

#include "core/program/example_soundings.h"
#include "core/record/data_type.h"
#include "forward/forward_choice.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::core {
namespace {

constexpr std::string_view kArrays[] = {"Wenner Array",       "Dipole-Dipole Array",
                                        "Pole-Dipole Array",  "Pole-Pole Array",
                                        "Polar Dipole Array", "Perpendicular Array"};

class DcExample : public ::testing::TestWithParam<std::string_view> {};

TEST_P(DcExample, IsAnUnsavedSoundingWhoseStartingModelFitsPoorly) {
  CurrentSounding current;
  ASSERT_TRUE(makeExampleSounding(DataTypeText(GetParam()), current));
  Sounding& S = current.S;
  EXPECT_TRUE(S.header.dataType == GetParam());
  EXPECT_EQ(S.header.name.trimmed().back(), '*');
  EXPECT_FALSE(isSet(S.layer.saved));
  EXPECT_FALSE(isSet(S.layer.syntheticValid));
  EXPECT_TRUE(S.sharesDataWith(current.SM));
  EXPECT_EQ(S.M.PAR.size(), 5u);

  zeva::test::ScriptedToolkit toolkit;
  forward::chooseForwardRoutine(S, toolkit)(S);
  EXPECT_GT(S.layer.PCTERR, 5.0f);
  EXPECT_TRUE(toolkit.messages.empty());
}

// The data show the conductive middle layer under the 200 ohm-m cover: the
// curve falls from its first reading to well below the cover resistivity.
TEST_P(DcExample, DataDipBelowTheCoverResistivity) {
  CurrentSounding current;
  ASSERT_TRUE(makeExampleSounding(DataTypeText(GetParam()), current));
  const auto rho = current.S.data().VOLTS.column(0);
  const float lowest = *std::min_element(rho.begin(), rho.end());
  EXPECT_LT(lowest, 100.0f);
  EXPECT_GT(rho.front(), 1.2f * lowest);
}

INSTANTIATE_TEST_SUITE_P(EveryArrayButSchlumberger, DcExample, ::testing::ValuesIn(kArrays));

TEST(DcExample, OtherTypesAreLeftToTheirOwnExamples) {
  CurrentSounding current;
  EXPECT_FALSE(makeDcResistivityExample(DataTypeText("Schlumberger Array"), current));
  EXPECT_FALSE(makeDcResistivityExample(DataTypeText("Magnetotelluric Data"), current));
}

}  // namespace
}  // namespace zeva::core
