// Mouse editing on the main window's plots with synthesized mouse events:
// dragging resistivities, IP parameters and boundaries, the live synthetic
// curve, the zoom box and the popup menus.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QTest>
#include <cmath>
#include <optional>

#include "core/program/model_editing.h"
#include "inversion/layered_inversion.h"
#include "present/graph_frame_drawing.h"
#include "tests/support/test_support.h"
#include "tests/ui/qt/gui/modal_driver.h"
#include "ui/qt/gui/main_window.h"
#include "ui/qt/gui/model_drag_controller.h"
#include "ui/qt/gui/qt_toolkit.h"
#include "ui/qt/gui/sounding_plot_widget.h"

namespace zeva::ui::qt {
namespace {

using core::isSet;
using core::kFalse;
using core::kTrue;

class ModelDragTest : public ::testing::Test {
 protected:
  ModelDragTest() : program(toolkit, folder.path()), window(program, toolkit, QString()) {
    window.resize(1000, 760);
    window.show();
    QApplication::processEvents();
  }

  core::Sounding& S() { return program.S(); }
  SoundingPlotWidget* plots() { return window.plotWidget(); }
  core::CurrentSounding& current() { return program.current(); }

  // A layered model with its synthetics, and the plots set up for it.
  void setModel(std::vector<float> rho, std::vector<float> geometry, bool depths = false,
                std::vector<float> ip = {}) {
    ASSERT_TRUE(program.model().setLayeredModel(
        {.resistivity = rho, .geometry = geometry, .depths = depths, .ip = ip}));
    ASSERT_TRUE(program.model().forwardModel());
    window.autoscale();
    window.refresh();
    QApplication::processEvents();
  }

  // The widget pixel of a value and depth on model panel k (or, on the data
  // plot, of a depth along the abscissa and a value up the ordinate).
  QPoint modelPoint(float value, float depth, int k = 0) {
    const core::GraphFrame& g = current().modelFrames[static_cast<std::size_t>(k)];
    return plots()
        ->toDevice(g.originX + present::PageX(value, g), g.originY + present::PageY(depth, g))
        .toPoint();
  }
  QPoint dataPoint(float abscissa, float ordinate) {
    const core::GraphFrame& g = current().dataFrames[0];
    return plots()
        ->toDevice(g.originX + present::PageX(abscissa, g), g.originY + present::PageY(ordinate, g))
        .toPoint();
  }
  // Value and depth under a pixel of model panel k.
  std::pair<float, float> valueDepthAt(QPoint pixel, int k = 0) {
    float x = 0.0f, y = 0.0f;
    plots()->toPage(QPointF(pixel), x, y);
    const core::GraphFrame& g = current().modelFrames[static_cast<std::size_t>(k)];
    return {present::ValueX(x - g.originX, g), present::ValueY(y - g.originY, g)};
  }

  // A drag through the midway point, or straight to the end.
  void drag(QPoint from, QPoint to, bool direct = false) {
    QTest::mousePress(plots(), Qt::LeftButton, Qt::NoModifier, from);
    if (!direct)
      QTest::mouseMove(plots(), QPoint((from.x() + to.x()) / 2, (from.y() + to.y()) / 2));
    QTest::mouseMove(plots(), to);
    QTest::mouseRelease(plots(), Qt::LeftButton, Qt::NoModifier, to);
  }

  // Right-clicks a pixel and picks the popup entry of this command.
  void popup(QPoint at, core::CommandId command, PopupMenu expectedMenu) {
    std::optional<PopupMenu> shown;
    window.dragController()->showPopup = [&](QMenu& menu, PopupMenu menuShown, QPoint) {
      shown = menuShown;
      for (QAction* entry : menu.actions())
        if (entry->data().toInt() == static_cast<int>(command)) entry->trigger();
    };
    QTest::mouseClick(plots(), Qt::RightButton, Qt::NoModifier, at);
    QApplication::processEvents();
    EXPECT_TRUE(shown == expectedMenu);
  }

  std::vector<float> synthetics() {
    std::vector<float> v;
    for (int i = 0; i < S().NDATA(); ++i) v.push_back(S().SVOLT(i, 0));
    return v;
  }

  test::TemporaryFolder folder;
  QtToolkit toolkit;
  core::Program program;
  MainWindow window;
  test::ModalDriver driver;
};

TEST_F(ModelDragTest, DraggingAResistivityRunsTheForwardOnRelease) {
  setModel({100.0f, 12.0f, 1000.0f}, {5.0f, 20.0f});
  S().layer.resolutionValid = kTrue;
  S().layer.equivalenceValid = kTrue;
  const QPoint to = modelPoint(30.0f, 12.0f);
  drag(modelPoint(12.0f, 12.0f), to);
  EXPECT_NEAR(S().M.PAR[1], valueDepthAt(to).first, 1e-3f);
  EXPECT_NEAR(S().M.PAR[1], 30.0f, 2.0f);
  EXPECT_EQ(S().M.PAR[0], 100.0f);
  EXPECT_FALSE(isSet(S().layer.resolutionValid));
  EXPECT_FALSE(isSet(S().layer.equivalenceValid));
  EXPECT_TRUE(isSet(S().layer.syntheticValid));
  EXPECT_EQ(window.statusText(core::kFitStatusPane).toStdString(),
            inversion::fitStatusText(S().layer.PCTERR));
  EXPECT_EQ(window.dragController()->selectedParameter(), 0);
}

// A drag is one undo step: Undo puts back the model and its synthetics.
TEST_F(ModelDragTest, UndoTakesBackAWholeDrag) {
  setModel({100.0f, 12.0f, 1000.0f}, {5.0f, 20.0f});
  const std::vector<float> par = S().M.PAR;
  const std::vector<float> before = synthetics();
  drag(modelPoint(12.0f, 12.0f), modelPoint(30.0f, 12.0f));
  ASSERT_NE(S().M.PAR, par);
  window.action(core::CommandId::Undo)->trigger();
  QApplication::processEvents();
  EXPECT_EQ(S().M.PAR, par);
  EXPECT_EQ(synthetics(), before);
}

TEST_F(ModelDragTest, TheSyntheticCurveFollowsTheModelBeforeRelease) {
  setModel({100.0f, 12.0f, 1000.0f}, {5.0f, 20.0f});
  QTest::mousePress(plots(), Qt::LeftButton, Qt::NoModifier, modelPoint(12.0f, 12.0f));
  QTest::mouseMove(plots(), modelPoint(20.0f, 12.0f));
  ASSERT_TRUE(window.dragController()->dragging());
  const std::vector<float> first = synthetics();
  const QString firstFit = window.statusText(core::kFitStatusPane);
  QTest::mouseMove(plots(), modelPoint(60.0f, 12.0f));
  const std::vector<float> second = synthetics();
  // A more resistive second layer raises the intermediate spacings.
  EXPECT_GT(second[10], first[10] * 1.05f);
  EXPECT_NE(window.statusText(core::kFitStatusPane), firstFit);
  EXPECT_EQ(window.statusText(core::kFitStatusPane).toStdString(),
            inversion::fitStatusText(S().layer.PCTERR));
  QTest::mouseRelease(plots(), Qt::LeftButton, Qt::NoModifier, modelPoint(60.0f, 12.0f));
  EXPECT_FALSE(window.dragController()->dragging());
}

TEST_F(ModelDragTest, WithIpTheSecondPanelDragsOnlyIpParameters) {
  setModel({100.0f, 12.0f}, {20.0f}, false, {5.0f, 13.0f});
  ASSERT_EQ(S().NPK(), 2);
  const core::GraphFrame& second = current().modelFrames[1];
  ASSERT_GT(present::frameWidth(second), 0.0f);
  const QPoint to = modelPoint(8.0f, 50.0f, 1);
  drag(modelPoint(13.0f, 50.0f, 1), to);
  EXPECT_NEAR(S().M.PAR[3], valueDepthAt(to, 1).first, 1e-3f);
  EXPECT_EQ(S().M.PAR[1], 12.0f);
  // On the first panel the same press grabs the resistivity of layer 2.
  const QPoint onFirst = modelPoint(12.0f, 50.0f, 0);
  drag(onFirst, onFirst + QPoint(20, 0));
  EXPECT_GT(S().M.PAR[1], 12.0f);
  EXPECT_NEAR(S().M.PAR[3], valueDepthAt(to, 1).first, 1e-3f);
}

TEST_F(ModelDragTest, WithTheModelOnTheDataTheDataPlotIsEdited) {
  setModel({100.0f, 30.0f}, {20.0f});
  window.runCommand(core::CommandId::ModelOnData);
  ASSERT_TRUE(isSet(current().modelOnData));
  // Depth along the abscissa: layer 2's resistivity below 20 m.
  drag(dataPoint(60.0f, 30.0f), dataPoint(60.0f, 60.0f));
  EXPECT_NEAR(S().M.PAR[1], 60.0f, 3.0f);
  EXPECT_EQ(S().M.PAR[0], 100.0f);
}

TEST_F(ModelDragTest, ALongPressWithoutMovingDoesNothing) {
  setModel({100.0f, 12.0f, 1000.0f}, {5.0f, 20.0f});
  S().layer.resolutionValid = kTrue;
  const QPoint at = modelPoint(12.0f, 12.0f) + QPoint(3, 0);
  QTest::mousePress(plots(), Qt::LeftButton, Qt::NoModifier, at);
  QTest::mouseRelease(plots(), Qt::LeftButton, Qt::NoModifier, at, 400);
  EXPECT_EQ(S().M.PAR[1], 12.0f);
  EXPECT_TRUE(isSet(S().layer.resolutionValid));
  // A long right press opens no popup either.
  bool shown = false;
  window.dragController()->showPopup = [&](QMenu&, PopupMenu, QPoint) { shown = true; };
  QTest::mousePress(plots(), Qt::RightButton, Qt::NoModifier, at);
  QTest::mouseRelease(plots(), Qt::RightButton, Qt::NoModifier, at, 400);
  EXPECT_FALSE(shown);
}

TEST_F(ModelDragTest, ZoomBoxSetsTheAxisRangeAndUnzoomAutoscales) {
  setModel({100.0f, 12.0f, 1000.0f}, {5.0f, 20.0f});
  const core::GraphFrame before = current().modelFrames[0];
  window.runCommand(core::CommandId::Zoom);
  ASSERT_TRUE(program.view().zoom);
  // A box from 20 to 80 ohm-m and 2 to 8 m, away from the model's lines.
  drag(modelPoint(20.0f, 2.0f), modelPoint(80.0f, 8.0f));
  const core::GraphFrame& g = current().modelFrames[0];
  const float left = present::ValueX(0.0f, g), right = present::ValueX(present::frameWidth(g), g);
  EXPECT_NEAR(left, 10.0f, 1e-3f);
  EXPECT_NEAR(right, 100.0f, 0.01f);
  EXPECT_NEAR(present::ValueY(0.0f, g), 1.0f, 1e-4f);
  EXPECT_NEAR(present::ValueY(-present::frameHeight(g), g), 10.0f, 1e-3f);
  EXPECT_EQ(S().M.PAR[1], 12.0f);  // zooming leaves the model alone
  window.runCommand(core::CommandId::Unzoom);
  EXPECT_EQ(current().modelFrames[0].xCycles, before.xCycles);
  EXPECT_EQ(current().modelFrames[0].yCycles, before.yCycles);
}

TEST_F(ModelDragTest, RightClickAwayFromModelAndDataInZoomModeOpensTheProperties) {
  setModel({100.0f, 12.0f, 700.0f}, {5.0f, 20.0f});
  QString opened;
  auto record = [&](QWidget* dialog) {
    opened = dialog->objectName();
    static_cast<QDialog*>(dialog)->reject();
  };
  // Outside zoom mode the click does nothing; in zoom mode it opens the dialog.
  QTest::mouseClick(plots(), Qt::RightButton, Qt::NoModifier, modelPoint(30.0f, 2.0f));
  QApplication::processEvents();
  EXPECT_TRUE(opened.isEmpty());
  window.runCommand(core::CommandId::Zoom);
  driver.then(record);
  QTest::mouseClick(plots(), Qt::RightButton, Qt::NoModifier, modelPoint(30.0f, 2.0f));
  QApplication::processEvents();
  EXPECT_TRUE(driver.done());
  EXPECT_EQ(opened, "propertiesDialog");
}

// Each popup opens on what was clicked and runs its entry on that item; what
// the entries do to the model is the program's layer commands' business.
TEST_F(ModelDragTest, PopupEntriesActOnTheLayerBoundaryOrPointClicked) {
  setModel({100.0f, 12.0f, 1000.0f}, {5.0f, 20.0f});
  popup(modelPoint(12.0f, 12.0f), core::CommandId::FixResistivity, PopupMenu::Layer);
  EXPECT_TRUE(isSet(S().M.LFIX[1]));
  popup(modelPoint(100.0f, 25.0f), core::CommandId::FixBoundary, PopupMenu::Boundary);
  EXPECT_TRUE(isSet(S().M.LFIX[4]));
  const auto& d = S().data();
  popup(dataPoint(d.TIME(3, 0), d.VOLTS(3, 0)), core::CommandId::MaskPoint, PopupMenu::Point);
  EXPECT_TRUE(S().masked(3, 0));
  // Split where the user clicked, near 12 m.
  popup(modelPoint(12.0f, 12.0f), core::CommandId::SplitLayer, PopupMenu::Layer);
  ASSERT_EQ(S().NLAYER(), 4);
  EXPECT_NEAR(S().M.PAR[4] + S().M.PAR[5], 12.0f, 0.5f);
}

TEST_F(ModelDragTest, CursorShowsWhatAPressWouldGrab) {
  setModel({100.0f, 12.0f, 1000.0f}, {5.0f, 20.0f});
  QTest::mouseMove(plots(), modelPoint(12.0f, 12.0f));
  EXPECT_EQ(plots()->cursor().shape(), Qt::SizeHorCursor);
  QTest::mouseMove(plots(), modelPoint(300.0f, 25.0f));
  EXPECT_EQ(plots()->cursor().shape(), Qt::SizeVerCursor);
  QTest::mouseMove(plots(), modelPoint(3000.0f, 2.0f));
  EXPECT_EQ(plots()->cursor().shape(), Qt::ArrowCursor);
}

}  // namespace
}  // namespace zeva::ui::qt
