#include <gtest/gtest.h>

#include "core/program/program.h"
#include "core/record/data_type.h"
#include "tests/support/scripted_toolkit.h"
#include "tests/support/test_support.h"

namespace zeva::core {
namespace {

using ui::Answer;

TEST(ProgramFiles, SaveOfANewSoundingAsksForAFileName) {
  test::TemporaryFolder folder;
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit, folder.path());
  program.S().header.name.assign("New DC Data *");
  program.S().layer.saved = kFalse;
  toolkit.files.push_back((folder / "chosen.ZVR").string());
  ASSERT_TRUE(program.file().save());
  EXPECT_EQ(toolkit.fileDialogTitles, std::vector<std::string>{"ZEVA Binary File"});
  EXPECT_TRUE(std::filesystem::exists(folder / "chosen.ZVR"));
  EXPECT_EQ(program.S().header.name.trimmed(), "chosen");
  EXPECT_TRUE(isSet(program.S().layer.saved));

  // A named sounding is saved under its own name without a dialog.
  program.S().layer.saved = kFalse;
  ASSERT_TRUE(program.file().save());
  EXPECT_EQ(toolkit.fileDialogTitles.size(), 1u);
}

TEST(ProgramFiles, SaveAsAddsTheNativeExtensionToANameWithout) {
  test::TemporaryFolder folder;
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit, folder.path());
  toolkit.files.push_back("Station 12");
  ASSERT_TRUE(program.file().saveAs()) << toolkit.lastText();
  EXPECT_TRUE(std::filesystem::exists(folder / "Station 12.ZVR"));
  EXPECT_EQ(program.S().header.name.trimmed(), "Station 12");
  EXPECT_TRUE(toolkit.messages.empty());
}

TEST(ProgramFiles, SaveWritesTheOpenedFileWhoseNameSaysMoreThanTheSoundingName) {
  test::TemporaryFolder folder;
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit, folder.path());
  ASSERT_TRUE(program.file().saveFileAs(folder / "B.v2.ZVR"));
  ASSERT_TRUE(program.file().saveFileAs(folder / "B.ZVR"));  // another good file beside it
  ASSERT_TRUE(program.file().openFile(folder / "B.v2.ZVR"));
  ASSERT_EQ(program.S().header.name.trimmed(), "B");
  const std::string other = test::readFile(folder / "B.ZVR");

  program.S().data().VOLTS(0, 0) = 77.0f;
  program.S().layer.saved = kFalse;
  ASSERT_TRUE(program.file().save());
  EXPECT_EQ(test::readFile(folder / "B.ZVR"), other);
  ASSERT_TRUE(program.file().openFile(folder / "B.v2.ZVR"));
  EXPECT_EQ(program.S().data().VOLTS(0, 0), 77.0f);
  EXPECT_TRUE(toolkit.fileDialogTitles.empty());
}

TEST(ProgramFiles, CancellingTheSaveQuestionKeepsTheUnsavedSounding) {
  test::TemporaryFolder folder;
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit, folder.path());
  program.S().layer.saved = kFalse;
  program.S().data().VOLTS(0, 0) = 1.0f;
  toolkit.answers.push_back(Answer::Cancel);
  EXPECT_EQ(program.file().open().status(), CommandStatus::Cancelled);
  EXPECT_EQ(toolkit.lastText(), "Save Default Data?");
  EXPECT_TRUE(toolkit.fileDialogTitles.empty());
  EXPECT_EQ(program.S().data().VOLTS(0, 0), 1.0f);

  toolkit.answers.push_back(Answer::No);  // go on without saving, then cancel the dialog
  EXPECT_EQ(program.file().open().status(), CommandStatus::Cancelled);
  EXPECT_EQ(toolkit.fileDialogTitles.size(), 1u);
  EXPECT_EQ(program.S().data().VOLTS(0, 0), 1.0f);
}

TEST(ProgramFiles, AMissingLastSoundingLeavesTheDefaultInPlace) {
  test::TemporaryFolder folder;
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit, folder.path());
  EXPECT_FALSE(program.file().reload("Gone"));
  EXPECT_EQ(toolkit.lastText(), "CANNOT FIND FILE: " + (folder / "Gone.ZVR").string());
  EXPECT_EQ(program.S().header.name.trimmed(), "Default Data");
  EXPECT_EQ(program.S().NDATA(), 22);
  EXPECT_EQ(program.S().data().VOLTS(0, 0), 159.9f);
}

TEST(ProgramFiles, OpeningMtDataSwitchesTheModelOnDataViewOff) {
  test::TemporaryFolder folder;
  zeva::test::ScriptedToolkit toolkit;
  Program writer(toolkit, folder.path());
  writer.S().header.dataType.assign(type::kMagnetotelluric);
  writer.current().modelOnData = kTrue;
  ASSERT_TRUE(writer.file().saveFileAs(folder / "mt.ZVR"));

  Program reader(toolkit, folder.path());
  reader.current().modelOnData = kTrue;
  reader.view().voltageView = true;
  ASSERT_TRUE(reader.file().openFile(folder / "mt.ZVR"));
  EXPECT_FALSE(isSet(reader.current().modelOnData));
  EXPECT_FALSE(reader.view().voltageView);
  EXPECT_TRUE(reader.state().autoscalePending());  // the stored frames carry no scale yet
  EXPECT_TRUE(isSet(reader.S().layer.saved));
  EXPECT_TRUE(reader.SM().sharesDataWith(reader.S()));
}

}  // namespace
}  // namespace zeva::core
