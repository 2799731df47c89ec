// The screenshots of the documentation: a tool, not a test. Each scene builds
// its sounding, drives the real window and saves a picture into the folder
// ZEVA_SCREENSHOT_DIR names; scripts/screenshots/take.sh runs every scene
// under a virtual X server. GoogleTest only runs the scenes in order.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QProgressDialog>
#include <QScreen>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <sstream>

#include "core/program/example_soundings.h"
#include "core/record/data_type.h"
#include "core/record/floating_point.h"
#include "files/ascii_export.h"
#include "files/sounding_import.h"
#include "present/graph_frame_drawing.h"
#include "tests/support/test_support.h"
#include "ui/qt/gui/column_dialog.h"
#include "ui/qt/gui/data_editor.h"
#include "ui/qt/gui/main_window.h"
#include "ui/qt/gui/model_editor.h"
#include "ui/qt/gui/new_sounding_dialog.h"
#include "ui/qt/gui/qt_toolkit.h"
#include "ui/qt/gui/sounding_plot_widget.h"
#include "ui/qt/gui/well_log_window.h"

namespace zeva::ui::qt {
namespace {

class Screenshots : public ::testing::Test {
 protected:
  Screenshots() : program(toolkit, data.path()), window(program, toolkit, QString()) {}

  void SetUp() override {
    folder = qEnvironmentVariable("ZEVA_SCREENSHOT_DIR");
    if (folder.isEmpty()) GTEST_SKIP() << "ZEVA_SCREENSHOT_DIR not set";
    window.move(0, 0);
    window.resize(1200, 800);
    window.autoscale();
    window.refresh();
    window.show();
    settle();
  }

  static void settle() {
    for (int i = 0; i < 10; ++i) QApplication::processEvents();
  }

  void save(QWidget& widget, const char* name) {
    settle();
    EXPECT_TRUE(widget.grab().save(QDir(folder).filePath(name)));
  }

  // The main window after a command, scaled to the sounding.
  void show() {
    window.autoscale();
    window.refresh();
  }

  // A Schlumberger sounding with IP (chargeability in ms) over a conductive,
  // chargeable layer between a resistive cover and basement: the response
  // of that earth with a few percent of scatter, inverted from the
  // estimated starting model.
  void invertedIpSounding() {
    core::NewSoundingChoices choices;
    choices.dataType = "Schlumberger Array";
    choices.ipUnit = "(mSec)";
    core::DataHeader header = core::newSoundingHeader(core::NewSoundingKind::DcIp, choices);
    header.NDATA = 19;
    core::Sounding entered;
    ASSERT_TRUE(files::beginImportedData(entered, header));
    for (int i = 0; i < header.NDATA; ++i) {
      entered.data().TIME(i, 0) = 2.0f * std::pow(10.0f, 0.15f * static_cast<float>(i));
      entered.data().TIME(i, 1) = 1.0f;
    }
    ASSERT_TRUE(program.data().newSounding(entered));
    core::LayeredModelRequest earth;
    earth.resistivity = {250, 20, 600};
    earth.geometry = {6, 30};
    earth.ip = {3, 35, 6};
    ASSERT_TRUE(program.model().setLayeredModel(earth));
    ASSERT_TRUE(program.model().forwardModel());
    core::Sounding& S = program.S();
    for (int i = 0; i < S.NDATA(); ++i) {
      const float scatter = 0.03f * std::sin(2.3f * static_cast<float>(i) + 0.7f);
      S.data().VOLTS(i, 0) = S.SVOLT(i, 0) * (1.0f + scatter);
      S.data().VOLTS(i, 1) = S.SVOLT(i, 1) * (1.0f - scatter);
      S.data().UVOLTS(i, 0) = 0.03f * S.data().VOLTS(i, 0);
      S.data().UVOLTS(i, 1) = 0.05f * S.data().VOLTS(i, 1);
    }
    S.header.name.assign("Line 4 station 120 IP");
    program.state().detectSegments();
    ASSERT_TRUE(program.estimation().estimateLayeredModel());
    ASSERT_TRUE(program.inversions().multipleIterations());
  }

  test::TemporaryFolder data;
  QString folder;
  QtToolkit toolkit;
  core::Program program;
  MainWindow window;
};

TEST_F(Screenshots, MainWindowBeforeAndAfterInversion) {
  save(window, "main-window-default.png");
  window.runCommand(core::CommandId::Multiple);
  save(window, "main-window-inverted.png");
}

// The window at the size a first start gives it, 60 % of the screen; under
// QT_SCALE_FACTOR=2 the picture is taken as "main-window-scale-2.png".
TEST_F(Screenshots, MainWindowAtItsFirstStartSize) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  window.resize(static_cast<int>(0.6 * screen.width()), static_cast<int>(0.6 * screen.height()));
  window.runCommand(core::CommandId::Multiple);
  show();
  const bool doubled = qEnvironmentVariable("QT_SCALE_FACTOR") == "2";
  save(window, doubled ? "main-window-scale-2.png" : "main-window-first-start.png");
}

TEST_F(Screenshots, ColumnDialogOfAnExportedMtFile) {
  ASSERT_TRUE(core::makeExampleSounding(core::DataTypeText(core::type::kMagnetotelluric),
                                        program.current()));
  std::ostringstream text;
  files::writeAsciiData(text, program.S(), false);
  files::FlatAsciiRequest request;
  request.kind = files::FlatAsciiKind::Magnetotelluric;
  request.header = program.S().header;
  ColumnDialog dialog("Flat ASCII MT Data File", QString::fromStdString(text.str()), request,
                      program.settings().columns, &window);
  dialog.move(40, 40);
  dialog.show();
  save(dialog, "column-dialog.png");
}

TEST_F(Screenshots, InvertedIpSoundingWithItsEquivalentModels) {
  invertedIpSounding();
  ASSERT_TRUE(program.estimation().analyzeEquivalence());
  show();
  save(window, "window-ip-inverted.png");
}

TEST_F(Screenshots, MagnetotelluricSoundingWithBostickAndNiblett) {
  ASSERT_TRUE(core::makeExampleSounding(core::DataTypeText(core::type::kMagnetotelluric),
                                        program.current()));
  program.state().detectSegments();
  ASSERT_TRUE(program.inversions().multipleIterations());
  program.view().showBostick = program.view().showNiblett = true;
  show();
  save(window, "window-mt-bostick-niblett.png");
}

TEST_F(Screenshots, DataAndModelEditors) {
  DataEditor data(program.S(), toolkit, &window);
  data.move(40, 40);
  data.show();
  data.grid()->setCurrentCell(4, 2);
  save(data, "window-data-editor.png");
  data.hide();

  invertedIpSounding();
  show();
  ModelEditor model(
      program.S(), toolkit, [](const core::LayeredModelRequest&) { return true; }, [] {}, &window);
  model.move(40, 40);
  model.show();
  save(model, "window-model-editor.png");

  NewSoundingDialog fresh(core::NewSoundingKind::MaxMin, &window);
  fresh.show();
  save(fresh, "window-new-maxmin-sounding.png");
}

TEST_F(Screenshots, ProgressDialogOverTheWindowDuringEquivalence) {
  invertedIpSounding();
  show();
  settle();
  // The dialog comes up at the command's first poll; the screen is taken
  // at every pass of the event loop while it shows, until the search has
  // made some progress. The screen shows the dialog over the main window.
  toolkit.setBusyDelay(0);
  QPixmap shot;
  bool advanced = false;
  QTimer timer;
  timer.setInterval(0);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    QProgressDialog* progress = toolkit.progressDialog();
    if (advanced || !progress || !progress->isVisible()) return;
    shot = QGuiApplication::primaryScreen()->grabWindow(0, 0, 0, window.frameGeometry().width(),
                                                        window.frameGeometry().height());
    advanced = progress->value() > 0;
  });
  timer.start();
  window.runCommand(core::CommandId::AnalyzeEquivalence);
  timer.stop();
  ASSERT_FALSE(shot.isNull()) << "the progress dialog did not come up";
  EXPECT_TRUE(shot.save(QDir(folder).filePath("window-progress.png")));
}

TEST_F(Screenshots, ModelDragInProgressAndWellLogWindow) {
  ASSERT_TRUE(program.model().setLayeredModel(
      {.resistivity = {180.0f, 45.0f, 160.0f, 18.0f}, .geometry = {2.5f, 9.0f, 90.0f}}));
  ASSERT_TRUE(program.model().forwardModel());
  show();
  settle();

  // The second layer's resistivity grabbed and pulled to the right: the
  // rubber line, the synthetic curve and the fit follow before release.
  SoundingPlotWidget* plots = window.plotWidget();
  const core::GraphFrame& g = program.current().modelFrames[0];
  auto pixel = [&](float value, float depth) {
    return plots
        ->toDevice(g.originX + present::PageX(value, g), g.originY + present::PageY(depth, g))
        .toPoint();
  };
  QTest::mousePress(plots, Qt::LeftButton, Qt::NoModifier, pixel(45.0f, 6.0f));
  QTest::mouseMove(plots, pixel(60.0f, 6.0f));
  QTest::mouseMove(plots, pixel(90.0f, 6.0f));
  save(window, "model-drag-in-progress.png");
  QTest::mouseRelease(plots, Qt::LeftButton, Qt::NoModifier, pixel(90.0f, 6.0f));

  // A borehole log beside the model, with its three-layer step fit.
  core::WellLog log;
  for (int i = 1; i <= 400; ++i) {
    const float z = 0.25f * static_cast<float>(i);
    const float base = z < 4.0f ? 45.0f : z < 30.0f ? 7.0f : 280.0f;
    log.depth.push_back(z);
    log.resistivity.push_back(base * (1.0f + 0.25f * std::sin(1.7f * z) * std::cos(0.37f * z)));
  }
  program.wells().setWellLog(log, "BH-7");
  WellLogWindow wellLog(program, {}, &window);
  wellLog.resize(1000, 760);
  wellLog.setLayerCount(3);
  wellLog.logChanged();
  wellLog.show();
  save(wellLog, "well-log-window.png");
}

}  // namespace
}  // namespace zeva::ui::qt

int main(int argc, char** argv) {
  zeva::core::flushDenormalsToZero();
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
