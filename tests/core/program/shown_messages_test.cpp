// What a reader or writer reports reaches the user in its order, with its
// kind and title.

#include "core/program/shown_messages.h"

#include <gtest/gtest.h>

#include "tests/support/scripted_toolkit.h"

namespace zeva::core {
namespace {

TEST(ShownMessages, KindsAndTitlesReachTheToolkitInOrder) {
  files::Result result;
  result.warning("first");
  result.error("USF File Error", "second");
  result.information("third");
  zeva::test::ScriptedToolkit toolkit;
  EXPECT_FALSE(shown(toolkit, result));
  ASSERT_EQ(toolkit.messages.size(), 3u);
  EXPECT_EQ(toolkit.messages[0].kind, ui::MessageKind::Warning);
  EXPECT_EQ(toolkit.messages[0].title, "Kelvorin Library Message");
  EXPECT_EQ(toolkit.messages[1].kind, ui::MessageKind::Warning);
  EXPECT_EQ(toolkit.messages[1].title, "USF File Error");
  EXPECT_EQ(toolkit.messages[2].kind, ui::MessageKind::Information);
  EXPECT_EQ(toolkit.messages[2].title, "Kelvorin Library Message");
  EXPECT_EQ(toolkit.texts(), (std::vector<std::string>{"first", "second", "third"}));
  result.ok = true;
  EXPECT_TRUE(shown(toolkit, result));
}

}  // namespace
}  // namespace zeva::core
