#include "forward/forward_choice.h"

#include <gtest/gtest.h>

#include "forward_test_support.h"
#include "ui/scripted_toolkit.h"

namespace zeva::forward {
namespace {

using core::Sounding;

TEST(ForwardChoice, LayersWithIpParametersGetTheIpRoutine) {
  ui::ScriptedToolkit toolkit;
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
  ui::ScriptedToolkit toolkit;
  Sounding s;
  test::makeSounding(s, "Pole-Pole Array", {1, 10, 100}, 2);
  test::setModel(s, {100.0f}, {});
  s.SVOLT(0, 1) = 7.0f;
  chooseForwardRoutine(s, toolkit)(s);
  EXPECT_NEAR(s.SVOLT(0, 0), 100.0f, 0.1f);
  EXPECT_EQ(s.SVOLT(0, 1), 7.0f);  // the DC routine writes the resistivities only
}

}  // namespace
}  // namespace zeva::forward
