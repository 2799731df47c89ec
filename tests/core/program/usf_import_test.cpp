// The USF import's dialogs: the file, then which of its soundings.

#include "core/program/usf_import.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/scripted_toolkit.h"
#include "tests/support/test_support.h"

namespace zeva::core {
namespace {

std::string usf(const std::string& soundingLines, int soundings = 1) {
  return "//USF: Universal Sounding Format\n//SOUNDINGS: " + std::to_string(soundings) +
         "\n//END\n" + soundingLines;
}

TEST(UsfImport, RepeatedImportsStepThroughTheFileAndWrapToANewDialog) {
  test::TemporaryFolder folder;
  const std::string path = (folder / "three.usf").string();
  std::string body;
  for (int k = 1; k <= 3; ++k)
    body += "/ARRAY: Wenner Array\n/POINTS: 1\n/END\nSPACING RESISTIVITY\n" + std::to_string(k) +
            " 50\n/END\n";
  test::writeFile(path, usf(body, 3));
  zeva::test::ScriptedToolkit toolkit;
  UsfImportMemory memory;
  Sounding result;
  toolkit.files = {path};
  toolkit.numbers = {3.0};
  ASSERT_TRUE(importUsfSounding(toolkit, memory, result)) << toolkit.lastText();
  EXPECT_EQ(toolkit.prompts.back(), "Enter sounding number to read (1 to     3): ");
  EXPECT_EQ(toolkit.fileDialogTitles.back(), "Universal Sounding Format File");
  EXPECT_EQ(result.data().TIME(0, 0), 3.0f);
  EXPECT_EQ(memory.proposedSounding, 1);
  EXPECT_EQ(memory.lastFile, "");  // the next import starts with a new file dialog

  toolkit.files = {path};
  toolkit.numbers = {2.0};
  ASSERT_TRUE(importUsfSounding(toolkit, memory, result));
  EXPECT_EQ(result.data().TIME(0, 0), 2.0f);
  EXPECT_EQ(memory.proposedSounding, 3);
  EXPECT_EQ(memory.lastFile, path);
  EXPECT_TRUE(toolkit.messages.empty());
}

TEST(UsfImport, MissingFileAndOutOfRangeNumberAreReportedInTheGeneralBox) {
  test::TemporaryFolder folder;
  zeva::test::ScriptedToolkit toolkit;
  UsfImportMemory memory;
  Sounding result;
  const std::string missing = (folder / "none.usf").string();
  toolkit.files = {missing};
  EXPECT_FALSE(importUsfSounding(toolkit, memory, result));
  EXPECT_EQ(toolkit.lastText(), "CANNOT OPEN FILE " + missing);
  EXPECT_EQ(toolkit.messages.back().title, "Kelvorin Library Message");
  EXPECT_TRUE(toolkit.prompts.empty());

  const std::string path = (folder / "one.usf").string();
  test::writeFile(path,
                  usf("/ARRAY: Wenner Array\n/POINTS: 1\n/END\nSPACING RESISTIVITY\n1 2\n/END\n"));
  toolkit.files = {path};
  toolkit.numbers = {0.0};
  EXPECT_FALSE(importUsfSounding(toolkit, memory, result));
  EXPECT_EQ(toolkit.lastText(), "Sounding out of range.");
  EXPECT_EQ(result.header.NDATA, 0);
}

}  // namespace
}  // namespace zeva::core
