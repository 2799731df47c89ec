#include <gtest/gtest.h>

#include "core/program/program.h"
#include "core/record/data_type.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::core {
namespace {

struct RefusalCase {
  std::string_view type;
  bool refused;
};

class ModelOnData : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(ModelOnData, IsRefusedOnlyWhereTheDataPlotHasNoRoomForAModel) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  program.S().header.dataType.assign(GetParam().type);
  program.current().modelOnData = kFalse;
  program.state().clearAutoscale();

  const CommandResult toggled = program.display().toggleView(ViewToggle::ModelOnData);

  EXPECT_EQ(toggled.status(), GetParam().refused ? CommandStatus::Refused : CommandStatus::Done);
  EXPECT_EQ(program.display().viewChecked(ViewToggle::ModelOnData), !GetParam().refused);
  EXPECT_EQ(program.state().autoscalePending(), !GetParam().refused);
  if (GetParam().refused) {
    ASSERT_EQ(toolkit.texts(),
              std::vector<std::string>{"Model cannot be displayed on data display for " +
                                       std::string(GetParam().type)});
    EXPECT_EQ(toolkit.messages[0].title, "Kelvorin Library Message");
    EXPECT_EQ(toolkit.redraws, 0);
  } else {
    EXPECT_TRUE(toolkit.messages.empty());
    EXPECT_EQ(toolkit.redraws, 1);
  }
}

INSTANTIATE_TEST_SUITE_P(DataTypes, ModelOnData,
                         ::testing::Values(RefusalCase{type::kSchlumberger, false},
                                           RefusalCase{type::kWenner, false},
                                           RefusalCase{type::kEmConductivity, false},
                                           RefusalCase{type::kControlledSourceMt, false},
                                           RefusalCase{type::kMagnetotelluric, true},
                                           RefusalCase{type::kHorizontalCoplanar, true},
                                           RefusalCase{type::kVerticalCoaxial, true},
                                           RefusalCase{type::kCentralLoopTem, true},
                                           RefusalCase{type::kMarineTemBSide, true}));

TEST(ViewGrids, MinorOnBringsMajorAndMajorOffTakesMinor) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  const std::pair<ViewToggle, ViewToggle> plots[] = {
      {ViewToggle::MajorGridData, ViewToggle::MinorGridData},
      {ViewToggle::MajorGridModel, ViewToggle::MinorGridModel}};
  for (auto [major, minor] : plots) {
    ASSERT_FALSE(program.display().viewChecked(major));
    ASSERT_TRUE(program.display().toggleView(minor));
    EXPECT_TRUE(program.display().viewChecked(minor));
    EXPECT_TRUE(program.display().viewChecked(major));
    ASSERT_TRUE(program.display().toggleView(minor));  // minor off leaves major on
    EXPECT_FALSE(program.display().viewChecked(minor));
    EXPECT_TRUE(program.display().viewChecked(major));
    ASSERT_TRUE(program.display().toggleView(minor));
    ASSERT_TRUE(program.display().toggleView(major));  // major off takes minor with it
    EXPECT_FALSE(program.display().viewChecked(major));
    EXPECT_FALSE(program.display().viewChecked(minor));
  }
  // The two plots' grids are independent switches.
  ASSERT_TRUE(program.display().toggleView(ViewToggle::MinorGridData));
  EXPECT_FALSE(program.display().viewChecked(ViewToggle::MajorGridModel));
}

TEST(ViewTem, LinearTimeIsOnlyShownUnderReceivedVoltage) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  program.S().header.dataType.assign(type::kCentralLoopTem);
  ASSERT_TRUE(program.display().toggleView(ViewToggle::LinearTime));
  EXPECT_TRUE(program.display().viewChecked(ViewToggle::LinearTime));
  EXPECT_TRUE(program.display().viewChecked(ViewToggle::Voltage));
  ASSERT_TRUE(program.display().toggleView(ViewToggle::Voltage));  // back to apparent resistivity
  EXPECT_FALSE(program.display().viewChecked(ViewToggle::Voltage));
  EXPECT_FALSE(program.display().viewChecked(ViewToggle::LinearTime));
  EXPECT_TRUE(program.state().autoscalePending());
}

TEST(ViewSwitches, EachPlainToggleFlipsOnlyItsOwnSwitchAndRedraws) {
  const ViewToggle plain[] = {ViewToggle::Zoom,        ViewToggle::Layered, ViewToggle::Smooth,
                              ViewToggle::Equivalence, ViewToggle::Bostick, ViewToggle::Niblett,
                              ViewToggle::RedLine};
  for (ViewToggle toggle : plain) {
    zeva::test::ScriptedToolkit toolkit;
    Program program(toolkit);
    std::vector<bool> before;
    for (ViewToggle other : plain) before.push_back(program.display().viewChecked(other));
    EXPECT_TRUE(program.display().toggleView(toggle));
    for (std::size_t i = 0; i < std::size(plain); ++i)
      EXPECT_EQ(program.display().viewChecked(plain[i]),
                plain[i] == toggle ? !before[i] : before[i]);
    // Zoom mode changes what the mouse does, not what is drawn.
    EXPECT_EQ(toolkit.redraws, toggle == ViewToggle::Zoom ? 0 : 1);
  }
}

}  // namespace
}  // namespace zeva::core
