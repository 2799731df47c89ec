#include "ui/qt/gui/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <filesystem>

#include "core/program/example_soundings.h"
#include "core/record/data_type.h"
#include "present/graph_frame_drawing.h"
#include "present/sounding_plots.h"
#include "tests/support/test_support.h"
#include "tests/ui/qt/gui/modal_driver.h"
#include "tests/ui/qt/gui/window_fixture.h"
#include "ui/qt/gui/qt_toolkit.h"
#include "ui/qt/gui/sounding_plot_widget.h"

namespace zeva::qt {
namespace {

using core::kFalse;
using core::kTrue;

using MainWindowTest = WindowFixture;

TEST_F(MainWindowTest, TitleNamesTheSoundingInItsWholeField) {
  EXPECT_EQ(window.windowTitle(), "Kelvorin 1-D Sounding Inversion [Default Data            ]");
}

TEST_F(MainWindowTest, SaveOfAStarredNameAsksForAFileAndOpenReadsItBack) {
  S().header.name.assign("New DC Data *");
  S().layer.saved = kFalse;
  const QString file = QString::fromStdString((folder / "first.ZVR").string());
  driver.chooseFile(file);
  trigger(command::kSave);
  ASSERT_TRUE(std::filesystem::exists(folder / "first.ZVR"));
  EXPECT_EQ(S().header.name.trimmed(), "first");
  EXPECT_EQ(window.windowTitle(), "Kelvorin 1-D Sounding Inversion [first                   ]");

  // Change the data, decline to save, and open the file again.
  const float saved = S().data().VOLTS(0, 0);
  S().data().VOLTS(0, 0) = 2.0f * saved;
  S().layer.saved = kFalse;
  driver.answerMessage("No");
  driver.chooseFile(file);
  trigger(command::kOpen);
  EXPECT_EQ(driver.messages, QStringList{"Save first?"});
  EXPECT_EQ(driver.titles, QStringList{"Kelvorin Library Message"});
  EXPECT_EQ(S().data().VOLTS(0, 0), saved);
  EXPECT_TRUE(core::isSet(S().layer.saved));
}

TEST_F(MainWindowTest, ModelOnDataIsRefusedForMtWithTheTypeNamed) {
  S().header.dataType.assign(core::type::kMagnetotelluric);
  window.refresh();
  driver.answerMessage("OK");
  trigger(command::kModelOnData);
  EXPECT_EQ(driver.messages,
            QStringList{"Model cannot be displayed on data display for Magnetotelluric Data"});
  EXPECT_FALSE(window.action(command::kModelOnData)->isChecked());
  EXPECT_FALSE(core::isSet(program.current().modelOnData));
}

TEST_F(MainWindowTest, TemGatesThatCannotBeConvertedAreLeftOutOnScreenAsInExports) {
  ASSERT_TRUE(core::makeExampleSounding(core::DataTypeText(core::type::kCentralLoopTem),
                                        program.current()));
  S().data().TIME(2, 0) = 0.0f;  // no late time at time zero
  const auto screen = present::observedSeries(S(), window.plotSettings());
  const auto exported = present::observedSeries(S(), present::PlotSettings{});
  ASSERT_EQ(screen.size(), 1u);
  ASSERT_EQ(exported.size(), 1u);
  EXPECT_TRUE(present::isMissing(screen[0].y[2]));
  EXPECT_GT(screen[0].y[1], 0.0f);
  EXPECT_EQ(screen[0].y, exported[0].y);
}

TEST_F(MainWindowTest, EachViewEntryTogglesItsSwitchAndItsCheckMark) {
  const std::pair<int, core::ViewToggle> entries[] = {
      {command::kZoom, core::ViewToggle::Zoom},
      {command::kLayered, core::ViewToggle::Layered},
      {command::kSmooth, core::ViewToggle::Smooth},
      {command::kEquivalence, core::ViewToggle::Equivalence},
      {command::kModelOnData, core::ViewToggle::ModelOnData},
      {command::kMajorGridData, core::ViewToggle::MajorGridData},
      {command::kMajorGridModel, core::ViewToggle::MajorGridModel}};
  for (auto [number, toggle] : entries) {
    const bool before = program.viewChecked(toggle);
    trigger(number);
    EXPECT_EQ(program.viewChecked(toggle), !before) << number;
    EXPECT_EQ(window.action(number)->isChecked(), !before) << number;
  }
  // The MT entries appear for MT data, the TEM entries for TEM data.
  EXPECT_FALSE(window.action(command::kBostick)->isVisible());
  S().header.dataType.assign(core::type::kMagnetotelluric);
  window.refresh();
  for (int number : {command::kBostick, command::kNiblett, command::kRedLine}) {
    ASSERT_TRUE(window.action(number)->isVisible());
    trigger(number);
    EXPECT_TRUE(window.action(number)->isChecked()) << number;
  }
  EXPECT_FALSE(window.action(command::kVoltage)->isVisible());
  S().header.dataType.assign(core::type::kCentralLoopTem);
  window.refresh();
  trigger(command::kLinearTime);
  EXPECT_TRUE(window.action(command::kLinearTime)->isChecked());
  EXPECT_TRUE(window.action(command::kVoltage)->isChecked());
  trigger(command::kVoltage);
  EXPECT_FALSE(window.action(command::kVoltage)->isChecked());
  EXPECT_FALSE(window.action(command::kLinearTime)->isChecked());
}

TEST_F(MainWindowTest, GridEntriesFollowTheMajorMinorRule) {
  trigger(command::kMinorGridData);
  EXPECT_TRUE(window.action(command::kMajorGridData)->isChecked());
  EXPECT_TRUE(window.action(command::kMinorGridData)->isChecked());
  trigger(command::kMajorGridData);
  EXPECT_FALSE(window.action(command::kMajorGridData)->isChecked());
  EXPECT_FALSE(window.action(command::kMinorGridData)->isChecked());
  trigger(command::kMinorGridModel);
  EXPECT_TRUE(window.action(command::kMajorGridModel)->isChecked());
  EXPECT_FALSE(window.action(command::kMajorGridData)->isChecked());
}

TEST_F(MainWindowTest, IterationsImproveTheFitAndShowItInTheStatusBar) {
  trigger(command::kSingle);
  EXPECT_TRUE(core::isSet(S().layer.syntheticValid));
  EXPECT_TRUE(core::isSet(S().layer.resolutionValid));
  EXPECT_TRUE(window.statusText(core::kFitStatusPane).endsWith("% RMS"));
  const float afterOne = S().layer.PCTERR;
  trigger(command::kMultiple);
  EXPECT_LT(S().layer.PCTERR, afterOne);
  EXPECT_EQ(window.statusText(core::kFitStatusPane),
            QString::fromStdString(inversion::fitStatusText(S().layer.PCTERR)));
}

TEST_F(MainWindowTest, IpOnlyInversionsAppearOnlyForModelsWithIpParameters) {
  for (int number : {command::kSingleIp, command::kMultipleIp, command::kSingleResistivity,
                     command::kMultipleResistivity})
    EXPECT_FALSE(window.action(number)->isVisible()) << number;
}

TEST_F(MainWindowTest, CancelOfAMultipleIterationRunLeavesTheResolutionInvalid) {
  // The progress dialog comes up at the first poll; its Cancel button is
  // pressed as soon as it shows.
  toolkit.setBusyDelay(0);
  QTimer cancel;
  cancel.setInterval(5);
  bool pressed = false;
  QObject::connect(&cancel, &QTimer::timeout, [&] {
    if (toolkit.progressDialog() && toolkit.progressDialog()->isVisible() && !pressed) {
      pressed = true;
      toolkit.progressDialog()->cancel();
    }
  });
  cancel.start();
  trigger(command::kMultiple);
  EXPECT_TRUE(pressed);
  EXPECT_FALSE(core::isSet(S().layer.resolutionValid));
  EXPECT_FALSE(toolkit.progressVisible());
}

TEST_F(MainWindowTest, TransferBeforeAForwardRunIsRefused) {
  S().layer.syntheticValid = kFalse;
  const float before = S().data().VOLTS(3, 0);
  driver.answerMessage("OK");
  trigger(command::kTransfer);
  EXPECT_EQ(driver.messages, QStringList{"Sythetic data not valid. Please do forward model"});
  EXPECT_EQ(S().data().VOLTS(3, 0), before);
}

TEST_F(MainWindowTest, TransferCopiesTheSyntheticsAndMarksTheNameForSaveAs) {
  trigger(command::kSingle);
  driver.enterValue("0");
  trigger(command::kTransfer);
  EXPECT_EQ(S().data().VOLTS(5, 0), S().SVOLT(5, 0));
  EXPECT_EQ(S().header.name.trimmed(), "Default Data*");
  EXPECT_TRUE(window.windowTitle().contains("[Default Data*"));
}

TEST_F(MainWindowTest, ContentsWithoutAHelpFileSaysWhereItLooked) {
  driver.answerMessage("OK");
  trigger(command::kContents);
  EXPECT_EQ(driver.messages, QStringList{"HELP FILE NOT FOUND:" + helpFile()});
}

TEST_F(MainWindowTest, ThePlotsArePaintedAfterACommand) {
  QApplication::processEvents();
  const int before = window.plotWidget()->paintCount();
  trigger(command::kLayered);
  QApplication::processEvents();
  EXPECT_GT(window.plotWidget()->paintCount(), before);
}

}  // namespace
}  // namespace zeva::qt

namespace zeva::qt {
namespace {

TEST_F(MainWindowTest, ShiftingIsRefusedForArraysOtherThanSchlumberger) {
  S().header.dataType.assign(core::type::kWenner);
  driver.answerMessage("OK");
  trigger(command::kShiftSegments);
  EXPECT_EQ(driver.messages, QStringList{"Segment shifting only available for Schlumberger array"});
}

TEST_F(MainWindowTest, TheModelEditorsForwardButtonComputesTheGridsModel) {
  // A Wenner sounding has no segment shifts in its synthetics.
  S().header.dataType.assign(core::type::kWenner);
  bool computed = false;
  std::vector<float> synthetics;
  driver.then([&](QWidget* dialog) {
    auto* grid = dialog->findChild<QTableWidget*>("modelGrid");
    ASSERT_NE(grid, nullptr);
    // A half-space of 100 ohm-m everywhere: the synthetics are 100 ohm-m.
    for (int row = 0; row < grid->rowCount(); ++row) grid->item(row, 0)->setText("100");
    dialog->findChild<QPushButton*>("forwardButton")->click();
    computed = core::isSet(S().layer.syntheticValid);
    for (int i = 0; i < S().NDATA(); ++i) synthetics.push_back(S().SVOLT(i, 0));
    static_cast<QDialog*>(dialog)->reject();
  });
  trigger(command::kEditModel);
  ASSERT_TRUE(computed);
  ASSERT_EQ(static_cast<int>(synthetics.size()), S().NDATA());
  for (float value : synthetics) EXPECT_NEAR(value, 100.0f, 0.5f);
  EXPECT_TRUE(window.statusText(core::kFitStatusPane).endsWith("% RMS"));
}

}  // namespace
}  // namespace zeva::qt
