#include "core/program/model_editing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/program/program.h"
#include "present/graph_frame_drawing.h"
#include "present/plot_setup.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::core {
namespace {

using present::PageX;
using present::PageY;
using present::ValueX;
using present::ValueY;

// A logarithmic frame whose values map exactly: `cycles` decades from
// 10^exponent over `length` page units (negative: running down or left).
GraphFrame logFrame(float originX, float originY, int xCycles, float xLength, int xExponent,
                    int yCycles, float yLength, int yExponent) {
  GraphFrame g;
  g.originX = originX;
  g.originY = originY;
  g.xCycles = xCycles;
  g.xCycleLength = xLength / static_cast<float>(xCycles);
  g.xExponentOrDivisions = xExponent;
  g.yCycles = yCycles;
  g.yCycleLength = yLength / static_cast<float>(yCycles);
  g.yExponentOrDivisions = yExponent;
  present::SetAxisMapping(g);
  return g;
}

class ModelEditing : public ::testing::Test {
 protected:
  ModelEditing() : program(toolkit) {
    // The model panel as the plot set-up lays it out: 1 to 10^4 ohm-m over
    // 2.5 units, 1 to 1000 m downwards from the top over 6 units.
    current().modelFrames[0] = logFrame(7.25f, 7.25f, 4, 2.5f, 0, 3, -6.0f, 0);
    current().modelFrames[1] = {};
  }
  CurrentSounding& current() { return program.current(); }
  Sounding& S() { return program.S(); }
  const GraphFrame& panel(int k) { return current().modelFrames[static_cast<std::size_t>(k)]; }

  // Page position of a value and depth on a model panel.
  float pageXOf(float value, int k = 0) { return panel(k).originX + PageX(value, panel(k)); }
  float pageYOf(float depth, int k = 0) { return panel(k).originY + PageY(depth, panel(k)); }

  void setModel(std::vector<float> rho, std::vector<float> geometry, bool depths = false,
                std::vector<float> ip = {}) {
    ASSERT_TRUE(program.model().setLayeredModel(
        {.resistivity = rho, .geometry = geometry, .depths = depths, .ip = ip}));
  }

  zeva::test::ScriptedToolkit toolkit;
  Program program;
};

TEST_F(ModelEditing, ResistivityIsHitWithinATenthOfAUnitInsideItsLayer) {
  setModel({100.0f, 10.0f, 1000.0f}, {5.0f, 20.0f});
  const float y = pageYOf(12.0f);  // inside layer 2 (5 to 25 m)
  ParameterHit hit = hitParameter(current(), pageXOf(10.0f) + 0.05f, y);
  EXPECT_EQ(hit.parameter, 2);
  EXPECT_EQ(hit.plot, EditPlot::FirstModelPanel);
  EXPECT_NEAR(hit.distance, 0.05f, 1e-4f);
  EXPECT_EQ(hitParameter(current(), pageXOf(10.0f) + 0.12f, y).parameter, 0);
  // The same value at the depth of another layer is not layer 2's line.
  EXPECT_EQ(hitParameter(current(), pageXOf(10.0f), pageYOf(2.0f)).parameter, 0);
}

TEST_F(ModelEditing, BoundaryIsHitOnlyBetweenTheValuesOfItsTwoLayers) {
  setModel({100.0f, 10.0f, 1000.0f}, {5.0f, 20.0f});
  // Boundary 1 at 5 m between 100 and 10 ohm-m is parameter NLAYER + 1.
  EXPECT_EQ(hitParameter(current(), pageXOf(30.0f), pageYOf(5.0f) + 0.04f).parameter, 4);
  // Boundary 2 at 25 m lies between 10 and 1000 ohm-m.
  EXPECT_EQ(hitParameter(current(), pageXOf(300.0f), pageYOf(25.0f) - 0.04f).parameter, 5);
  // At 3000 ohm-m the cursor is beside both layers' values.
  EXPECT_EQ(hitParameter(current(), pageXOf(3000.0f), pageYOf(25.0f)).parameter, 0);
}

TEST_F(ModelEditing, ATieBetweenTwoLayersPicksTheFirstInParOrder) {
  // Two layers of the same value meet at 10 m, which the page maps exactly;
  // the cursor at that depth is as near to both.
  setModel({100.0f, 100.0f, 1000.0f}, {10.0f, 90.0f});
  ASSERT_EQ(ValueY(pageYOf(10.0f) - panel(0).originY, panel(0)), 10.0f);
  const ParameterHit hit = hitParameter(current(), pageXOf(100.0f) + 0.0625f, pageYOf(10.0f));
  EXPECT_EQ(hit.parameter, 1);
}

TEST_F(ModelEditing, OutsideEveryPanelNothingIsHit) {
  setModel({100.0f, 10.0f}, {5.0f});
  EXPECT_EQ(hitParameter(current(), 3.0f, 4.0f).parameter, 0);
}

TEST_F(ModelEditing, WithIpTheSecondPanelOffersOnlyTheIpParameters) {
  setModel({100.0f, 10.0f}, {20.0f}, false, {5.0f, 30.0f});
  // Two panels of 1.25 units; the second has a linear axis of 0 to 50.
  current().modelFrames[0] = logFrame(7.25f, 7.25f, 4, 1.25f, 0, 3, -6.0f, 0);
  GraphFrame ip = logFrame(8.5f, 7.25f, 5, 1.25f, 0, 3, -6.0f, 0);
  ip.xStep = 10.0f;
  ip.xStart = 0.0f;
  present::SetAxisMapping(ip);
  current().modelFrames[1] = ip;
  // IP of layer 2 (parameter NLAYER + 2) on the second panel.
  EXPECT_EQ(hitParameter(current(), pageXOf(30.0f, 1) + 0.03f, pageYOf(50.0f, 1)).parameter, 4);
  // At the boundary depth on the second panel no boundary is offered.
  EXPECT_EQ(hitParameter(current(), pageXOf(20.0f, 1), pageYOf(20.0f, 1)).parameter, 0);
  // The first panel offers the resistivity and the boundary, never the IP.
  EXPECT_EQ(hitParameter(current(), pageXOf(10.0f), pageYOf(50.0f)).parameter, 2);
  EXPECT_EQ(hitParameter(current(), pageXOf(30.0f), pageYOf(20.0f)).parameter, 5);
}

TEST_F(ModelEditing, OnTheDataPlotDepthRunsAlongTheAbscissa) {
  setModel({100.0f, 10.0f}, {20.0f});
  current().modelOnData = kTrue;
  GraphFrame& g = current().dataFrames[0];
  g = logFrame(1.1f, 1.25f, 4, 5.0f, 0, 3, 6.0f, 0);
  // Layer 2's resistivity: vertical distance at a depth below 20 m.
  const float x = g.originX + PageX(100.0f, g);
  EXPECT_EQ(hitParameter(current(), x, g.originY + PageY(10.0f, g) + 0.05f).parameter, 2);
  // The boundary: horizontal distance at a value between the layers'.
  const float y = g.originY + PageY(30.0f, g);
  EXPECT_EQ(hitParameter(current(), g.originX + PageX(20.0f, g) + 0.05f, y).parameter, 3);
  ParameterHit none = hitParameter(current(), pageXOf(10.0f), pageYOf(50.0f));
  EXPECT_EQ(none.parameter, 0);  // the model panel is not edited then
}

TEST_F(ModelEditing, DraggingAResistivityGivesTheValueUnderTheCursor) {
  setModel({100.0f, 10.0f, 1000.0f}, {5.0f, 20.0f});
  EXPECT_TRUE(
      dragParameter(S(), panel(0), EditPlot::FirstModelPanel, 2, pageXOf(50.0f), pageYOf(300.0f)));
  EXPECT_NEAR(S().M.PAR[1], 50.0f, 0.01f);
  EXPECT_EQ(S().M.PAR[0], 100.0f);
  EXPECT_EQ(S().M.PAR[3], 5.0f);
}

TEST_F(ModelEditing, ThicknessModeBoundaryCannotBeDraggedAboveTheBoundaryOverIt) {
  setModel({100.0f, 10.0f, 1000.0f}, {10.0f, 90.0f});
  // Boundary 2 (at 100 m, parameter 5) dragged to 5 m, above boundary 1.
  EXPECT_FALSE(
      dragParameter(S(), panel(0), EditPlot::FirstModelPanel, 5, pageXOf(30.0f), pageYOf(5.0f)));
  EXPECT_EQ(S().M.PAR[4], 90.0f);
  // Dragged to 50 m its thickness becomes 40 m.
  EXPECT_TRUE(
      dragParameter(S(), panel(0), EditPlot::FirstModelPanel, 5, pageXOf(30.0f), pageYOf(50.0f)));
  EXPECT_NEAR(S().M.PAR[4], 40.0f, 0.01f);
  // The first boundary takes the depth itself; the one below moves with it.
  EXPECT_TRUE(
      dragParameter(S(), panel(0), EditPlot::FirstModelPanel, 4, pageXOf(30.0f), pageYOf(20.0f)));
  EXPECT_NEAR(S().M.PAR[3], 20.0f, 0.01f);
  EXPECT_NEAR(S().M.PAR[4], 40.0f, 0.01f);
}

TEST_F(ModelEditing, DepthModeBoundaryStaysBetweenItsNeighbours) {
  setModel({100.0f, 10.0f, 1000.0f, 50.0f}, {10.0f, 100.0f, 300.0f}, true);
  auto drag = [&](int k, float depth) {
    return dragParameter(S(), panel(0), EditPlot::FirstModelPanel, k, pageXOf(30.0f),
                         pageYOf(depth));
  };
  EXPECT_FALSE(drag(6, 400.0f));  // middle boundary past the lower neighbour
  EXPECT_FALSE(drag(6, 8.0f));    // and past the upper one
  EXPECT_EQ(S().M.PAR[5], 100.0f);
  EXPECT_TRUE(drag(6, 200.0f));
  EXPECT_NEAR(S().M.PAR[5], 200.0f, 0.05f);
  EXPECT_FALSE(drag(5, 250.0f));  // the first has only a lower neighbour
  EXPECT_TRUE(drag(5, 2.0f));
  EXPECT_NEAR(S().M.PAR[4], 2.0f, 0.01f);
  EXPECT_FALSE(drag(7, 150.0f));  // the last has only an upper neighbour
  EXPECT_TRUE(drag(7, 900.0f));
  EXPECT_NEAR(S().M.PAR[6], 900.0f, 0.5f);
}

TEST_F(ModelEditing, RubberLineStepsThroughTheLayersWithinTheAxis) {
  setModel({100.0f, 10.0f}, {20.0f});
  const std::vector<PlotPoint> line = rubberLine(S(), panel(0), EditPlot::FirstModelPanel);
  ASSERT_EQ(line.size(), 4u);
  // Top at the axis top (1 m), the step at 20 m, the half-space to 1000 m.
  EXPECT_NEAR(line[0].y, pageYOf(1.0f), 1e-4f);
  EXPECT_NEAR(line[1].y, pageYOf(20.0f), 1e-4f);
  EXPECT_NEAR(line[2].y, pageYOf(20.0f), 1e-4f);
  EXPECT_NEAR(line[3].y, pageYOf(1000.0f), 1e-4f);
  EXPECT_NEAR(line[0].x, pageXOf(100.0f), 1e-4f);
  EXPECT_NEAR(line[2].x, pageXOf(10.0f), 1e-4f);
}

TEST_F(ModelEditing, ZoomBoxBecomesTheEnclosingDecadesOfBothPanelsDepth) {
  setModel({100.0f, 10.0f}, {20.0f}, false, {5.0f, 30.0f});
  current().modelFrames[0] = logFrame(7.25f, 7.25f, 4, 1.25f, 0, 3, -6.0f, 0);
  current().modelFrames[1] = logFrame(8.5f, 7.25f, 4, 1.25f, 0, 3, -6.0f, 0);
  ASSERT_TRUE(zoomToBox(current(), pageXOf(3.0f), pageYOf(2.0f), pageXOf(300.0f), pageYOf(40.0f)));
  const GraphFrame& g = panel(0);
  EXPECT_EQ(g.xCycles, 3);
  EXPECT_EQ(g.xExponentOrDivisions, 0);
  EXPECT_EQ(g.yCycles, 2);
  EXPECT_EQ(g.yExponentOrDivisions, 0);
  // The frame keeps its size and direction and now spans 1 to 1000 ohm-m
  // and 1 to 100 m.
  EXPECT_NEAR(present::frameWidth(g), 1.25f, 1e-5f);
  EXPECT_NEAR(ValueX(1.25f, g), 1000.0f, 0.1f);
  EXPECT_NEAR(ValueY(-6.0f, g), 100.0f, 0.01f);
  // The depth axis of the second panel follows.
  EXPECT_EQ(panel(1).yCycles, 2);
  EXPECT_NEAR(ValueY(-6.0f, panel(1)), 100.0f, 0.01f);
}

TEST_F(ModelEditing, ZoomOnALinearAxisEnclosesTheBoxInRoundSteps) {
  setModel({100.0f}, {});
  GraphFrame& g = current().dataFrames[1];
  g = logFrame(1.1f, 1.25f, 4, 5.0f, 0, 5, 1.75f, 0);
  g.yStep = 20.0f;
  g.yStart = 0.0f;
  present::SetAxisMapping(g);
  S().header.NDATA = 0;  // no data: the data graphs are not offered
  EXPECT_FALSE(zoomToBox(current(), 2.0f, 1.5f, 4.0f, 2.5f));
  S().header.NDATA = 1;
  S().header.NCOMP = 2;  // two data graphs
  const float y0 = g.originY + PageY(31.0f, g), y1 = g.originY + PageY(47.0f, g);
  ASSERT_TRUE(zoomToBox(current(), 2.0f, y0, 4.0f, y1));
  const float low = ValueY(0.0f, g), high = ValueY(present::frameHeight(g), g);
  EXPECT_LE(low, 31.0f);
  EXPECT_GE(high, 47.0f);
  EXPECT_LT(high - low, 40.0f);
  EXPECT_NEAR(present::frameHeight(g), 1.75f, 1e-5f);
}

TEST_F(ModelEditing, AZoomBoxWithoutExtentChangesNothing) {
  setModel({100.0f, 10.0f}, {20.0f});
  const GraphFrame before = panel(0);
  EXPECT_FALSE(
      zoomToBox(current(), pageXOf(30.0f), pageYOf(5.0f), pageXOf(30.0f) + 0.001f, pageYOf(50.0f)));
  EXPECT_EQ(panel(0).xCycles, before.xCycles);
  EXPECT_EQ(panel(0).yCycles, before.yCycles);
}

TEST_F(ModelEditing, GraphRangeRefusesValuesALogarithmicAxisCannotShow) {
  setModel({100.0f, 10.0f}, {20.0f});
  const GraphPick pick{false, 0};
  EXPECT_FALSE(setGraphRange(current(), pick, -1.0f, 100.0f, 1.0f, 10.0f));
  EXPECT_FALSE(setGraphRange(current(), pick, 5.0f, 5.0f, 1.0f, 10.0f));
  EXPECT_FALSE(setGraphRange(current(), {true, 0}, 1.0f, 100.0f, 1.0f, 10.0f));  // no data frame
  EXPECT_EQ(panel(0).xCycles, 4);
  ASSERT_TRUE(setGraphRange(current(), pick, 20.0f, 2000.0f, 100.0f, 5.0f));
  EXPECT_EQ(panel(0).xCycles, 3);
  EXPECT_EQ(panel(0).xExponentOrDivisions, 1);
  EXPECT_EQ(panel(0).yCycles, 2);
  EXPECT_EQ(panel(0).yExponentOrDivisions, 0);
}

TEST_F(ModelEditing, DataPointUnderTheCursorGivesPointAndComponent) {
  present::PlotSettings settings;
  present::SetUpPlots(current(), settings);
  const GraphFrame& g = current().dataFrames[0];
  const auto& d = S().data();
  const float x = g.originX + PageX(d.TIME(4, 0), g), y = g.originY + PageY(d.VOLTS(4, 0), g);
  const DataPointHit hit = hitDataPoint(current(), settings, x + 0.02f, y - 0.02f);
  EXPECT_EQ(hit.point, 5);
  EXPECT_EQ(hit.component, 1);
  EXPECT_EQ(hitDataPoint(current(), settings, x, y + 0.5f).point, 0);
}

TEST(Clicks, ArePressesShorterThan300Milliseconds) {
  EXPECT_TRUE(isClick(1000, 1299));
  EXPECT_FALSE(isClick(1000, 1300));
}

TEST(MouseTrace, NamesTheRubberModelAndTheRubberBox) {
  EXPECT_EQ(rubberModelTrace(3, 12.5f, 7.5f, 4.25f, 120), "Rubber Model: 3 12.5 7.5000 4.2500 120");
  EXPECT_EQ(rubberBoxTrace(1.0f, 2.0f, 3.0f, 4.0f, 9), "Rubber Box: 1.0000 2.0000 3.0000 4.0000 9");
}

}  // namespace
}  // namespace zeva::core
