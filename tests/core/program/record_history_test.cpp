// Whole copies of the record, the undo history, the transfer's noise rule
// and the readable part of a damaged file.

#include <gtest/gtest.h>

#include "core/program/program.h"
#include "core/program/recovery_file.h"
#include "core/program/sounding_record.h"
#include "core/record/data_type.h"
#include "files/geometric_factor.h"
#include "tests/support/scripted_toolkit.h"
#include "tests/support/test_support.h"

namespace zeva::core {
namespace {

TEST(SoundingRecord, ACopyRestoresEveryObjectAndKeepsTheDataShared) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  ASSERT_TRUE(program.inversions().multipleIterations());
  const std::string bytes = recordBytes(program.current(), toolkit);
  CurrentSounding copy;
  ASSERT_TRUE(restoreRecord(bytes, copy, toolkit));
  EXPECT_EQ(copy.S.M.PAR, program.S().M.PAR);
  EXPECT_EQ(copy.S.SVOLT, program.S().SVOLT);
  EXPECT_EQ(copy.S.layer.PCTERR, program.S().layer.PCTERR);
  EXPECT_TRUE(copy.SM.sharesDataWith(copy.S));
  EXPECT_EQ(recordBytes(copy, toolkit), bytes);
  EXPECT_FALSE(restoreRecord(std::string_view(bytes).substr(0, bytes.size() / 2), copy, toolkit));
  EXPECT_EQ(copy.S.M.PAR, program.S().M.PAR);
}

TEST(UndoHistory, KeepsAtLeastFiftyStepsAndDropsTheOldest) {
  UndoHistory history;
  history.reset("0");
  for (int i = 1; i <= 120; ++i) EXPECT_TRUE(history.record(std::to_string(i)));
  EXPECT_FALSE(history.record("120"));  // no change, no step
  EXPECT_EQ(history.undoSteps(), UndoHistory::kDefaultDepth);
  EXPECT_GE(UndoHistory::kDefaultDepth, 50u);
  for (int i = 119; i >= 20; --i) EXPECT_EQ(history.undo(), std::to_string(i));
  EXPECT_FALSE(history.undo());
  EXPECT_EQ(history.redo(), "21");
  history.record("new");
  EXPECT_FALSE(history.canRedo());
}

TEST(ProgramUndo, UndoOfAnImportedModelPutsTheOldRecordBackUnsaved) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  const std::vector<float> before = program.S().M.PAR;
  ASSERT_TRUE(program.layers().deleteLayer(1));
  program.history().noteChanges();
  ASSERT_TRUE(program.history().undo());
  EXPECT_EQ(program.S().M.PAR, before);
  EXPECT_FALSE(isSet(program.S().layer.saved));
  ASSERT_TRUE(program.history().redo());
  EXPECT_EQ(program.S().NLAYER(), 6);
}

TEST(ProgramTransfer, LargeNoiseKeepsResistivitiesPositiveAndVoltagesConsistent) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  ASSERT_TRUE(program.model().forwardModel());
  toolkit.numbers.push_back(300.0);
  ASSERT_TRUE(program.inversions().transferSyntheticToData());
  const Sounding& S = program.S();
  ASSERT_TRUE(isSet(S.header.voltageAndCurrent));
  for (int i = 0; i < S.NDATA(); ++i) {
    const auto k = static_cast<std::size_t>(i);
    const float rho = S.data().VOLTS(k, 0);
    EXPECT_GT(rho, 0.0f) << i;
    const float factor = files::geometricFactor(S.header.dataType, S.data().TIME(k, 0),
                                                S.data().TIME(k, 1), S.header.dipoleLength);
    EXPECT_NEAR(factor * S.data().VOLTS(k, 1) / S.data().VOLTS(k, 2), rho, 1e-4f * rho) << i;
  }
}

TEST(ProgramFiles, TheReadablePartOfADamagedFileOpensOnlyAsANewUnsavedSounding) {
  test::TemporaryFolder folder;
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit, folder.path());
  ASSERT_TRUE(program.inversions().multipleIterations());
  ASSERT_TRUE(program.file().saveFileAs(folder / "A.ZVR"));
  const std::string bytes = test::readFile(folder / "A.ZVR");
  // Cut inside the last chunk: readings and model are in.
  test::writeFile(folder / "cut.ZVR", bytes.substr(0, bytes.size() - 16));
  const std::vector<float> par = program.S().M.PAR;
  program.S().M.PAR[0] = 1.0f;

  toolkit.answers.push_back(ui::Answer::No);
  EXPECT_FALSE(program.file().openFile(folder / "cut.ZVR"));
  EXPECT_EQ(program.S().M.PAR[0], 1.0f);
  EXPECT_EQ(program.S().header.name.trimmed(), "A");

  toolkit.answers.push_back(ui::Answer::Yes);
  EXPECT_FALSE(program.file().openFile(folder / "cut.ZVR"));
  EXPECT_EQ(program.S().M.PAR, par);
  EXPECT_EQ(program.S().header.name.trimmed(), "cut*");
  EXPECT_FALSE(isSet(program.S().layer.saved));
}

// The recovery file and the debug log go to the user's folders, never to
// the folder the program was started in.
TEST(RecoveryFile, FoldersFollowTheXdgVariablesThenHome) {
  EXPECT_EQ(userDataFolderFor("/x/data", "/home/u"), std::filesystem::path("/x/data/Kelvorin"));
  EXPECT_EQ(userDataFolderFor("", "/home/u"),
            std::filesystem::path("/home/u/.local/share/Kelvorin"));
  EXPECT_EQ(stateFolderFor(nullptr, "/home/u"),
            std::filesystem::path("/home/u/.local/state/Kelvorin"));
  EXPECT_EQ(stateFolderFor("/x/state", "/home/u"), std::filesystem::path("/x/state/Kelvorin"));
}

TEST(ProgramFiles, FileNamesLeaveOutWhatAFileNameCannotHold) {
  EXPECT_EQ(fileNameOfSounding("New DC Data *"), "New DC Data");
  EXPECT_EQ(fileNameOfSounding("a/b:c?"), "abc");
  EXPECT_EQ(fileNameOfSounding("***"), "Sounding");
  EXPECT_FALSE(isFileNameCharacter('*'));
  EXPECT_TRUE(isFileNameCharacter('-'));
}

}  // namespace
}  // namespace zeva::core
