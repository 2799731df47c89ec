// The window never loses work: a damaged file leaves the sounding and the
// good file alone, Save writes where the file came from, a failed Save As
// keeps the name, imports reset the TEM views, transfers keep resistivities
// positive, exported data read back with the column dialog's proposal,
// undo restores an inversion exactly, and a crash leaves a recovery file
// that the next start offers.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <algorithm>
#include <csignal>
#include <filesystem>

#include "core/program/example_soundings.h"
#include "core/program/recovery_file.h"
#include "core/record/data_type.h"
#include "tests/ui/qt/gui/window_fixture.h"
#include "ui/qt/gui/column_dialog.h"

namespace zeva::ui::qt {
namespace {

namespace fs = std::filesystem;
using core::isSet;
using NoLostWork = WindowFixture;

QString qpath(const fs::path& p) { return QString::fromStdString(p.string()); }

// Accepts the next dialog as it comes up (an import or column dialog).
void acceptDialog(test::ModalDriver& driver, QString* name = nullptr) {
  driver.then([name](QWidget* dialog) {
    if (name) *name = dialog->objectName();
    static_cast<QDialog*>(dialog)->accept();
  });
}

TEST_F(NoLostWork, ATruncatedFileLeavesTheSoundingAndTheGoodFileAsTheyWere) {
  const fs::path good = folder / "A.ZVR";
  window.autoscale();
  ASSERT_TRUE(program.file().saveFileAs(good));
  window.refresh();
  QApplication::processEvents();
  trigger(core::CommandId::Save);  // with the frames as the window drew them
  const std::string goodBytes = test::readFile(good);
  test::writeFile(folder / "trunc.ZVR", goodBytes.substr(0, 1000));
  const QString title = window.windowTitle();
  const float reading = S().data().VOLTS(3, 0);

  driver.chooseFile(qpath(folder / "trunc.ZVR"));
  driver.answerMessage("OK");
  trigger(core::CommandId::Open);
  ASSERT_EQ(driver.messages.size(), 1);
  EXPECT_TRUE(driver.messages[0].startsWith("READ ERROR")) << driver.messages[0].toStdString();
  EXPECT_EQ(window.windowTitle(), title);
  EXPECT_EQ(S().header.name.trimmed(), "A");
  EXPECT_TRUE(isSet(S().layer.saved));
  EXPECT_EQ(S().data().VOLTS(3, 0), reading);

  // A save now writes the sounding it always was over the good file.
  trigger(core::CommandId::Save);
  EXPECT_EQ(test::readFile(good), goodBytes);
}

TEST_F(NoLostWork, SaveAfterOpenFromAnotherFolderWritesThatFoldersFile) {
  const fs::path other = folder / "other";
  fs::create_directories(other);
  ASSERT_TRUE(program.file().saveFileAs(other / "B.ZVR"));
  program.state().setDataFolder(folder.path());  // as if started elsewhere
  const std::string before = test::readFile(other / "B.ZVR");

  driver.chooseFile(qpath(other / "B.ZVR"));
  trigger(core::CommandId::Open);
  trigger(core::CommandId::Single);
  trigger(core::CommandId::Save);
  EXPECT_NE(test::readFile(other / "B.ZVR"), before);
  EXPECT_FALSE(fs::exists(folder / "B.ZVR"));
  EXPECT_EQ(program.dataFolder(), other);
}

TEST_F(NoLostWork, AFailedSaveAsKeepsTheNameAndTheSavedFlag) {
  S().layer.saved = core::kFalse;
  driver.chooseFile(qpath(folder / "missing" / "X.ZVR"));
  driver.answerMessage("OK");
  trigger(core::CommandId::SaveAs);
  ASSERT_EQ(driver.messages.size(), 1);
  EXPECT_TRUE(driver.messages[0].startsWith("CANNOT OPEN FILE"));
  EXPECT_EQ(S().header.name.trimmed(), "Default Data");
  EXPECT_FALSE(isSet(S().layer.saved));
  EXPECT_TRUE(window.windowTitle().endsWith("] *"));
}

TEST_F(NoLostWork, SaveAsProposesTheNameWithoutTheStar) {
  S().header.name.assign("Default Data*");
  QString proposed;
  driver.then([&](QWidget* dialog) {
    auto* files = qobject_cast<QFileDialog*>(dialog);
    ASSERT_NE(files, nullptr);
    proposed = files->selectedFiles().value(0);
    files->reject();
  });
  trigger(core::CommandId::SaveAs);
  EXPECT_EQ(proposed, qpath(folder / "Default Data.ZVR"));
}

TEST_F(NoLostWork, AnImportSwitchesTheTemVoltageViewOff) {
  S().header.dataType.assign(core::type::kCentralLoopTem);
  program.view().voltageView = true;
  window.refresh();
  const fs::path file = folder / "dc.DAT";
  // Reading number, AB/2, MN and resistivity, as the data export writes them.
  test::writeFile(file, "1 10 2 30\n2 20 4 40\n3 30 8 50\n");
  acceptDialog(driver);  // the DC import's choices
  driver.chooseFile(qpath(file));
  acceptDialog(driver);  // the column dialog
  trigger(core::CommandId::ImportResistivity);
  EXPECT_EQ(S().NDATA(), 3);
  EXPECT_FALSE(program.view().voltageView);
  EXPECT_FALSE(window.action(core::CommandId::Voltage)->isVisible());
}

// Exports the sounding's data and imports it back through the File menu
// with what the column dialog proposes.
void exportAndImport(MainWindow& window, test::ModalDriver& driver, core::CommandId importCommand,
                     bool importDialog, const fs::path& file, QString* shownText) {
  driver.chooseFile(qpath(file));
  window.runCommand(core::CommandId::ExportAsciiData);
  QApplication::processEvents();
  if (importDialog) acceptDialog(driver);
  driver.chooseFile(qpath(file));
  driver.then([shownText](QWidget* dialog) {
    ASSERT_EQ(dialog->objectName(), "columnDialog");
    if (auto* view = dialog->findChild<QPlainTextEdit*>("columnFileView"))
      *shownText = view->toPlainText();
    static_cast<QDialog*>(dialog)->accept();
  });
  window.runCommand(importCommand);
  QApplication::processEvents();
  EXPECT_TRUE(driver.done());
}

TEST_F(NoLostWork, ExportedDcDataImportBackUnchangedWithTheColumnDialogsProposal) {
  core::CurrentSounding original;
  core::resetToDefault(original);
  const fs::path file = folder / "dc.DAT";
  QString shown;
  exportAndImport(window, driver, core::CommandId::ImportResistivity, true, file, &shown);
  EXPECT_EQ(shown.toStdString(), test::readFile(file));
  ASSERT_EQ(S().NDATA(), original.S.NDATA());
  for (int i = 0; i < S().NDATA(); ++i) {
    EXPECT_NEAR(S().data().TIME(i, 0), original.S.data().TIME(i, 0), 5.1e-7) << i;
    EXPECT_NEAR(S().data().TIME(i, 1), original.S.data().TIME(i, 1), 5.1e-7) << i;
    EXPECT_NEAR(S().data().VOLTS(i, 0), original.S.data().VOLTS(i, 0), 2e-5) << i;
  }
}

TEST_F(NoLostWork, ExportedMtDataImportBackUnchangedWithTheColumnDialogsProposal) {
  ASSERT_TRUE(core::makeExampleSounding(core::DataTypeText(core::type::kMagnetotelluric),
                                        program.current()));
  program.state().detectSegments();
  S().layer.saved = core::kTrue;
  window.refresh();
  const core::Matrix<float> time = S().data().TIME, volts = S().data().VOLTS;
  const int readings = S().NDATA();
  QString shown;
  exportAndImport(window, driver, core::CommandId::ImportMt, false, folder / "mt.DAT", &shown);
  ASSERT_EQ(S().NDATA(), readings);
  // The export writes six decimals: the values come back to half of the last.
  const float half = 5.1e-7f;
  for (int i = 0; i < readings; ++i) {
    const auto r = static_cast<std::size_t>(i);
    EXPECT_NEAR(S().data().TIME(r, 0), time(r, 0), std::max(half, 1e-6f * time(r, 0))) << i;
    EXPECT_NEAR(S().data().VOLTS(r, 0), volts(r, 0), std::max(half, 1e-6f * volts(r, 0))) << i;
    EXPECT_NEAR(S().data().VOLTS(r, 1), volts(r, 1), 1e-5f) << i;  // the phase
  }
}

TEST_F(NoLostWork, UndoOfAnInversionRestoresModelAndFitExactlyAndRedoGoesForward) {
  S().M.PAR[0] = 40.0f;
  trigger(core::CommandId::Forward);
  const std::vector<float> par = S().M.PAR;
  const float fit = S().layer.PCTERR;
  const core::Matrix<float> synthetics = S().SVOLT;
  trigger(core::CommandId::Multiple);
  ASSERT_NE(S().M.PAR, par);
  const std::vector<float> inverted = S().M.PAR;

  trigger(core::CommandId::Undo);
  EXPECT_EQ(S().M.PAR, par);
  EXPECT_EQ(S().layer.PCTERR, fit);
  EXPECT_EQ(S().SVOLT, synthetics);
  EXPECT_TRUE(window.action(core::CommandId::Redo)->isEnabled());
  trigger(core::CommandId::Redo);
  EXPECT_EQ(S().M.PAR, inverted);
}

TEST_F(NoLostWork, ARecoveryFileIsOfferedAfterACrash) {
  const fs::path recovery = folder / "recovery.ZVR";
  trigger(core::CommandId::Multiple);  // unsaved work
  const std::vector<float> worked = S().M.PAR;
  ASSERT_FALSE(isSet(S().layer.saved));

  // A child with the window's state dies of a segmentation fault.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    core::installCrashRecovery(recovery);
    std::raise(SIGSEGV);
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGSEGV);
  ASSERT_TRUE(fs::exists(recovery));

  // The next start.
  QtToolkit nextToolkit;
  core::Program next(nextToolkit, folder.path());
  MainWindow nextWindow(next, nextToolkit, QString());
  nextWindow.setRecoveryFile(recovery);
  driver.answerMessage("Yes");
  EXPECT_TRUE(nextWindow.offerRecovery());
  EXPECT_EQ(driver.messages, QStringList{QString::fromLatin1(core::kRecoveryQuestion.data())});
  EXPECT_EQ(next.S().M.PAR, worked);
  EXPECT_EQ(next.S().header.name.trimmed(), "Default Data*");
  EXPECT_FALSE(isSet(next.S().layer.saved));
  EXPECT_FALSE(fs::exists(recovery));
}

TEST_F(NoLostWork, AutosaveKeepsOnlyUnsavedWork) {
  const fs::path recovery = folder / "kept.ZVR";
  window.setRecoveryFile(recovery);
  window.autosave();
  EXPECT_FALSE(fs::exists(recovery));
  trigger(core::CommandId::Single);
  window.autosave();
  EXPECT_TRUE(fs::exists(recovery));
  EXPECT_EQ(test::readFile(recovery), program.history().recordState());
}

TEST_F(NoLostWork, ARecentFileReopensFromTheFileMenu) {
  const fs::path file = folder / "recent.ZVR";
  ASSERT_TRUE(program.file().saveFileAs(file));
  window.refresh();
  EXPECT_EQ(program.settings().recentFiles[0], file.string());
  QAction* first = window.action(core::CommandId::RecentFirst);
  ASSERT_TRUE(first->isVisible());
  S().data().VOLTS(0, 0) = 1.0f;
  S().layer.saved = core::kFalse;
  driver.answerMessage("No");
  trigger(core::CommandId::RecentFirst);
  EXPECT_EQ(S().data().VOLTS(0, 0), 159.9f);
}

TEST_F(NoLostWork, ADroppedSoundingFileIsOpened) {
  const fs::path file = folder / "dropped.ZVR";
  ASSERT_TRUE(program.file().saveFileAs(file));
  S().data().VOLTS(0, 0) = 2.0f;
  S().layer.saved = core::kTrue;
  window.openDroppedFile(qpath(file));
  QApplication::processEvents();
  EXPECT_EQ(S().data().VOLTS(0, 0), 159.9f);
  EXPECT_EQ(S().header.name.trimmed(), "dropped");
}

}  // namespace
}  // namespace zeva::ui::qt
