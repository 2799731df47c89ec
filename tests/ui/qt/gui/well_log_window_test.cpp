// The well-log window: importing a log through the dialogs, its toggles,
// replacing the layered model by the log's step fit, and its place kept for
// the settings file.

#include "ui/qt/gui/well_log_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QSpinBox>

#include "present/recording_canvas.h"
#include "tests/support/test_support.h"
#include "tests/ui/qt/gui/modal_driver.h"
#include "ui/qt/gui/column_dialog.h"
#include "ui/qt/gui/main_window.h"
#include "ui/qt/gui/qt_toolkit.h"
#include "ui/qt/gui/sounding_plot_widget.h"

namespace zeva::ui::qt {
namespace {

// A log every 2 m through 20 ohm-m to 14 m, 400 ohm-m to 50 m, then 8 ohm-m.
std::string blockyLogText() {
  std::string text = "DEPTH  GAMMA  RES\n";
  for (int i = 1; i <= 50; ++i) {
    const int depth = 2 * i;
    const int rho = depth <= 14 ? 20 : depth <= 50 ? 400 : 8;
    text += std::to_string(depth) + " 55 " + std::to_string(rho) + "\n";
  }
  return text;
}

class WellLogWindowTest : public ::testing::Test {
 protected:
  WellLogWindowTest() : program(toolkit, folder.path()), window(program, toolkit, QString()) {
    window.resize(900, 700);
    window.show();
  }

  // Reads the log through the file dialog and the column questions.
  void importLog() {
    const auto file = folder / "BORE.LOG";
    test::writeFile(file, blockyLogText());
    driver.chooseFile(QString::fromStdString(file.string()));
    driver.then([](QWidget* dialog) {
      auto* columns = static_cast<ColumnDialog*>(dialog);
      columns->field("wellDepth")->setValue(1);
      columns->field("wellResist")->setValue(3);
      columns->findChild<QCheckBox*>("depthTimes1000")->setChecked(false);  // metres
      columns->findChild<QCheckBox*>("firstRowUsed")->setChecked(false);
      columns->findChild<QCheckBox*>("lastRowUsed")->setChecked(false);
      columns->accept();
    });
    window.action(core::CommandId::ImportWellLog)->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(driver.done());
  }

  test::TemporaryFolder folder;
  QtToolkit toolkit;
  core::Program program;
  MainWindow window;
  test::ModalDriver driver;
};

TEST_F(WellLogWindowTest, ImportOpensTheWindowWithTheLogAndItsSegments) {
  importLog();
  WellLogWindow* log = window.wellLogWindow();
  ASSERT_NE(log, nullptr);
  EXPECT_TRUE(log->isVisible());
  EXPECT_EQ(log->windowTitle(), "Kelvorin Limited Well Log Processing");
  EXPECT_EQ(program.wells().wellLog().depth.size(), 50u);
  EXPECT_EQ(program.wells().wellLogName(), "BORE");
  log->setLayerCount(3);
  ASSERT_EQ(log->segments().resistivity.size(), 3u);
  EXPECT_NEAR(log->segments().resistivity[1], 400.0f, 0.5f);
  EXPECT_EQ(log->segments().bottomDepth, (std::vector<float>{15.0f, 51.0f}));
}

TEST_F(WellLogWindowTest, SetLayeredModelReplacesTheModelAndRedrawsTheMainWindow) {
  importLog();
  WellLogWindow* log = window.wellLogWindow();
  ASSERT_NE(log, nullptr);
  log->setLayerCount(3);
  const int paints = window.plotWidget()->paintCount();
  log->action(WellLogCommand::SetLayeredModel)->trigger();
  QApplication::processEvents();
  const core::Sounding& S = program.S();
  // The window's segments become the model (how they fit the log is the
  // step fit's business).
  ASSERT_EQ(S.NLAYER(), 3);
  EXPECT_EQ(S.M.PAR[1], log->segments().resistivity[1]);
  EXPECT_EQ(S.M.PAR[3], log->segments().bottomDepth[0]);
  EXPECT_TRUE(core::isSet(S.layer.syntheticValid));
  EXPECT_GT(window.plotWidget()->paintCount(), paints);
}

TEST_F(WellLogWindowTest, TogglesAndClearSegmentsChangeWhatIsDrawn) {
  importLog();
  WellLogWindow* log = window.wellLogWindow();
  ASSERT_NE(log, nullptr);
  auto lines = [&] {
    present::RecordingCanvas canvas;
    present::Plotter plotter(canvas);
    DrawWellLogPage(plotter, program.S(), program.wells().wellLog(), log->segments(), log->view(),
                    "BORE");
    plotter.close();
    return canvas.segmentsIn(present::palette()[present::colour::kDarkBlue]);
  };
  const auto all = lines();
  log->runCommand(WellLogCommand::Log);
  EXPECT_FALSE(log->view().log);
  EXPECT_FALSE(log->action(WellLogCommand::Log)->isChecked());
  EXPECT_LT(lines(), all);
  log->runCommand(WellLogCommand::ClearSegments);
  EXPECT_TRUE(log->segments().empty());
  EXPECT_FALSE(log->action(WellLogCommand::ClearSegments)->isEnabled());
  // The minor grid brings the major grid with it.
  log->runCommand(WellLogCommand::MinorGridLog);
  EXPECT_TRUE(log->view().majorGridLog);
  log->runCommand(WellLogCommand::MajorGridLog);
  EXPECT_FALSE(log->view().minorGridLog);
}

TEST_F(WellLogWindowTest, PictureIsWrittenInTheFormatOfItsExtension) {
  importLog();
  WellLogWindow* log = window.wellLogWindow();
  ASSERT_NE(log, nullptr);
  ASSERT_TRUE(log->exportPictureTo(folder / "BORE.SVG"));
  EXPECT_NE(test::readFile(folder / "BORE.SVG").find("<svg"), std::string::npos);
  ASSERT_TRUE(log->exportPictureTo(folder / "BORE.DXF"));
  const std::string dxf = test::readFile(folder / "BORE.DXF");
  EXPECT_NE(dxf.find("Conductance (S)"), std::string::npos);
  EXPECT_NE(dxf.find("EOF"), std::string::npos);
  ASSERT_TRUE(log->exportPictureTo(folder / "BORE.PNG"));
  EXPECT_EQ(test::readFile(folder / "BORE.PNG").substr(1, 3), "PNG");
}

TEST_F(WellLogWindowTest, ClosingRemembersThePlaceForTheSettingsFile) {
  importLog();
  WellLogWindow* log = window.wellLogWindow();
  ASSERT_NE(log, nullptr);
  log->setGeometry(120, 90, 640, 480);
  log->runCommand(WellLogCommand::Close);
  EXPECT_FALSE(log->isVisible());
  const settings::WindowPlacement& w = program.settings().windows;
  EXPECT_EQ(w.wellLogW, log->geometry().width());
  EXPECT_EQ(w.wellLogH, log->geometry().height());
  EXPECT_GT(w.wellLogW, 0);
}

}  // namespace
}  // namespace zeva::ui::qt
