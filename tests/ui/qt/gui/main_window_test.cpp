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

namespace zeva::ui::qt {
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
  trigger(core::CommandId::Save);
  ASSERT_TRUE(std::filesystem::exists(folder / "first.ZVR"));
  EXPECT_EQ(S().header.name.trimmed(), "first");
  EXPECT_EQ(window.windowTitle(), "Kelvorin 1-D Sounding Inversion [first                   ]");

  // Change the data, decline to save, and open the file again.
  const float saved = S().data().VOLTS(0, 0);
  S().data().VOLTS(0, 0) = 2.0f * saved;
  S().layer.saved = kFalse;
  driver.answerMessage("No");
  driver.chooseFile(file);
  trigger(core::CommandId::Open);
  EXPECT_EQ(driver.messages, QStringList{"Save first?"});
  EXPECT_EQ(driver.titles, QStringList{"Kelvorin Library Message"});
  EXPECT_EQ(S().data().VOLTS(0, 0), saved);
  EXPECT_TRUE(core::isSet(S().layer.saved));
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
  const std::pair<core::CommandId, core::ViewToggle> entries[] = {
      {core::CommandId::Zoom, core::ViewToggle::Zoom},
      {core::CommandId::Layered, core::ViewToggle::Layered},
      {core::CommandId::Smooth, core::ViewToggle::Smooth},
      {core::CommandId::Equivalence, core::ViewToggle::Equivalence},
      {core::CommandId::ModelOnData, core::ViewToggle::ModelOnData},
      {core::CommandId::MajorGridData, core::ViewToggle::MajorGridData},
      {core::CommandId::MajorGridModel, core::ViewToggle::MajorGridModel}};
  for (auto [number, toggle] : entries) {
    const bool before = program.display().viewChecked(toggle);
    trigger(number);
    EXPECT_EQ(program.display().viewChecked(toggle), !before) << number;
    EXPECT_EQ(window.action(number)->isChecked(), !before) << number;
  }
  // The MT entries appear for MT data, the TEM entries for TEM data.
  EXPECT_FALSE(window.action(core::CommandId::Bostick)->isVisible());
  S().header.dataType.assign(core::type::kMagnetotelluric);
  window.refresh();
  for (core::CommandId number :
       {core::CommandId::Bostick, core::CommandId::Niblett, core::CommandId::RedLine}) {
    ASSERT_TRUE(window.action(number)->isVisible());
    trigger(number);
    EXPECT_TRUE(window.action(number)->isChecked()) << number;
  }
  // The TEM entries are shown only for TEM data (what they switch is the
  // program's view rules'; that one entry's command updates another entry's
  // check mark is asserted by the properties dialog's test).
  EXPECT_FALSE(window.action(core::CommandId::Voltage)->isVisible());
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
  trigger(core::CommandId::Multiple);
  EXPECT_TRUE(pressed);
  EXPECT_FALSE(core::isSet(S().layer.resolutionValid));
  EXPECT_FALSE(toolkit.progressVisible());
}

TEST_F(MainWindowTest, ContentsWithoutAHelpFileSaysWhereItLooked) {
  driver.answerMessage("OK");
  trigger(core::CommandId::Contents);
  EXPECT_EQ(driver.messages, QStringList{"HELP FILE NOT FOUND:" + helpFile()});
}

TEST_F(MainWindowTest, ThePlotsArePaintedAfterACommand) {
  QApplication::processEvents();
  const int before = window.plotWidget()->paintCount();
  trigger(core::CommandId::Layered);
  QApplication::processEvents();
  EXPECT_GT(window.plotWidget()->paintCount(), before);
}

}  // namespace
}  // namespace zeva::ui::qt

namespace zeva::ui::qt {
namespace {

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
  trigger(core::CommandId::EditModel);
  ASSERT_TRUE(computed);
  ASSERT_EQ(static_cast<int>(synthetics.size()), S().NDATA());
  for (float value : synthetics) EXPECT_NEAR(value, 100.0f, 0.5f);
  EXPECT_TRUE(window.statusText(core::kFitStatusPane).endsWith("% RMS"));
}

}  // namespace
}  // namespace zeva::ui::qt
