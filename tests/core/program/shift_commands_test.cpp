#include <gtest/gtest.h>

#include "core/program/program.h"
#include "core/record/data_type.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::core {
namespace {

TEST(ShiftDataSegments, JoinsTheDefaultSoundingAtTheLongSpacingLevel) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  const float lastValue = program.S().data().VOLTS(21, 0);
  const float firstValue = program.S().data().VOLTS(0, 0);
  ASSERT_TRUE(program.data().shiftDataSegments(1, 1));
  const Sounding& S = program.S();
  EXPECT_EQ(S.NDATA(), 18);  // the four repeated spacings of the earlier segments are gone
  EXPECT_EQ(S.header.NSHIFT, 0);
  EXPECT_FALSE(isSet(S.layer.saved));
  EXPECT_EQ(S.data().VOLTS(17, 0), lastValue);
  // The first reading carries the product of all four segment factors.
  const float product = (61.6f / 58.0f) * (100.5f / 81.9f) * (49.6f / 48.7f) * (20.9f / 25.4f);
  EXPECT_NEAR(S.data().VOLTS(0, 0), firstValue / product, 1e-3f);
  for (int i = 1; i < S.NDATA(); ++i) EXPECT_GT(S.data().TIME(i, 0), S.data().TIME(i - 1, 0));
  EXPECT_TRUE(program.SM().sharesDataWith(program.S()));
  EXPECT_EQ(program.SM().header.NDATA, 18);

  // Repeating the command without a data change alters nothing.
  ASSERT_TRUE(program.data().shiftDataSegments(1, 1));
  EXPECT_EQ(program.S().NDATA(), 18);
}

TEST(ShiftDataSegments, ShortSpacingModeKeepsTheFirstSegmentLevel) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  const float firstValue = program.S().data().VOLTS(0, 0);
  ASSERT_TRUE(program.data().shiftDataSegments(2, 1));
  EXPECT_NEAR(program.S().data().VOLTS(0, 0), firstValue, 1e-3f);
}

TEST(ShiftDataSegments, ShiftingTheSyntheticsLeavesTheDataAndInvalidatesResults) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  program.S().layer.syntheticValid = kTrue;
  program.S().layer.resolutionValid = kTrue;
  ASSERT_TRUE(program.data().shiftDataSegments(3, 2));
  EXPECT_EQ(program.S().NDATA(), 22);
  EXPECT_EQ(program.S().header.NSHIFT, 4);
  EXPECT_FALSE(isSet(program.S().layer.syntheticValid));
  EXPECT_FALSE(isSet(program.S().layer.resolutionValid));
  EXPECT_EQ(program.S().header.shiftMode, 3);
}

TEST(ShiftDataSegments, OtherArraysAreRefusedWithTheMessage) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  program.S().header.dataType.assign(type::kWenner);
  EXPECT_FALSE(program.data().shiftDataSegments(1, 1));
  EXPECT_EQ(toolkit.lastText(), "Segment shifting only available for Schlumberger array");
  EXPECT_EQ(program.S().NDATA(), 22);
}

}  // namespace
}  // namespace zeva::core
