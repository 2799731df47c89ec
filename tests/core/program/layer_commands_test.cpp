// The popup commands of the plots: delete and split a layer, fix and free
// parameters, mask and unmask readings.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <vector>

#include "core/program/program.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::core {
namespace {

class LayerCommands : public ::testing::Test {
 protected:
  LayerCommands() : program(toolkit) {}
  Sounding& S() { return program.S(); }
  void setModel(std::vector<float> rho, std::vector<float> geometry, bool depths = false) {
    ASSERT_TRUE(program.model().setLayeredModel(
        {.resistivity = rho, .geometry = geometry, .depths = depths}));
    ASSERT_TRUE(program.model().forwardModel());
  }
  std::vector<float> synthetics() {
    std::vector<float> v;
    for (int i = 0; i < S().NDATA(); ++i) v.push_back(S().SVOLT(i, 0));
    return v;
  }
  std::vector<float> par() { return S().M.PAR; }

  zeva::test::ScriptedToolkit toolkit;
  Program program;
};

TEST_F(LayerCommands, ASingleLayerModelKeepsItsLayer) {
  setModel({100.0f}, {});
  EXPECT_FALSE(program.layers().deleteLayer(1));
  EXPECT_EQ(toolkit.lastText(), "Cannot delete layer from single layer model");
  EXPECT_EQ(S().NLAYER(), 1);
}

TEST_F(LayerCommands, DeletedLayerIsTakenOverByTheLayerBelow) {
  setModel({100.0f, 10.0f, 1000.0f}, {10.0f, 20.0f});
  ASSERT_TRUE(program.layers().deleteLayer(2));
  EXPECT_EQ(S().NLAYER(), 2);
  EXPECT_EQ(S().NPAR(), 3);
  EXPECT_EQ(par(), (std::vector<float>{100.0f, 1000.0f, 10.0f}));
  // The synthetics are those of the two-layer model.
  EXPECT_TRUE(isSet(S().layer.syntheticValid));
  const std::vector<float> after = synthetics();
  setModel({100.0f, 1000.0f}, {10.0f});
  const std::vector<float> direct = synthetics();
  for (std::size_t i = 0; i < after.size(); ++i) EXPECT_FLOAT_EQ(after[i], direct[i]) << i;
}

TEST_F(LayerCommands, ReducingLayersGivesTheLeastNoticedLayersToTheirCloserNeighbours) {
  // 110 ohm-m under 100 (a small contrast) goes first, to the layer above;
  // then the 1 m of 12 ohm-m at 35 m (thin for its depth) joins the 10 ohm-m
  // above it, whose bottom moves down to 36 m.
  setModel({100.0f, 110.0f, 10.0f, 12.0f, 300.0f}, {10.0f, 5.0f, 20.0f, 1.0f});
  ASSERT_TRUE(program.layers().reduceLayers(3));
  EXPECT_EQ(par(), (std::vector<float>{100.0f, 10.0f, 300.0f, 15.0f, 21.0f}));
  EXPECT_TRUE(isSet(S().layer.syntheticValid));
  ASSERT_TRUE(program.layers().reduceLayers(5));  // no more layers than asked: unchanged
  EXPECT_EQ(S().NLAYER(), 3);
}

TEST_F(LayerCommands, DeletingTheHalfSpaceMakesTheLayerAboveTheHalfSpace) {
  setModel({100.0f, 10.0f, 1000.0f}, {10.0f, 20.0f});
  ASSERT_TRUE(program.layers().deleteLayer(3));
  EXPECT_EQ(par(), (std::vector<float>{100.0f, 10.0f, 10.0f}));
}

TEST_F(LayerCommands, DeletingInDepthModeKeepsTheOtherDepths) {
  setModel({100.0f, 10.0f, 1000.0f, 30.0f}, {10.0f, 30.0f, 80.0f}, true);
  ASSERT_TRUE(program.layers().deleteLayer(2));
  EXPECT_EQ(par(), (std::vector<float>{100.0f, 1000.0f, 30.0f, 10.0f, 80.0f}));
}

TEST_F(LayerCommands, SplittingALayerLeavesTheResponseUnchanged) {
  setModel({100.0f, 10.0f, 1000.0f}, {10.0f, 20.0f});
  S().M.LFIX[1] = kTrue;
  const std::vector<float> before = synthetics();
  ASSERT_TRUE(program.layers().splitLayer(2, 15.0f));
  EXPECT_EQ(S().NLAYER(), 4);
  EXPECT_EQ(par(), (std::vector<float>{100.0f, 10.0f, 10.0f, 1000.0f, 10.0f, 5.0f, 15.0f}));
  // Both halves keep the fixed flag; the new boundary is free.
  EXPECT_TRUE(isSet(S().M.LFIX[1]));
  EXPECT_TRUE(isSet(S().M.LFIX[2]));
  EXPECT_FALSE(isSet(S().M.LFIX[5]));
  const std::vector<float> after = synthetics();
  for (std::size_t i = 0; i < before.size(); ++i)
    EXPECT_NEAR(after[i], before[i], 1e-4f * before[i]) << i;
}

TEST_F(LayerCommands, SplitWithoutADepthInsideTheLayerCutsItInTheLogarithmicMiddle) {
  setModel({100.0f, 10.0f, 1000.0f}, {10.0f, 30.0f});
  ASSERT_TRUE(program.layers().splitLayer(2, 500.0f));  // 500 m is not in layer 2
  // The boundary at 20 m, the geometric mean of 10 and 40 m.
  EXPECT_EQ(par(), (std::vector<float>{100.0f, 10.0f, 10.0f, 1000.0f, 10.0f, 10.0f, 20.0f}));
  ASSERT_TRUE(program.layers().splitLayer(4));  // the half-space: a boundary at twice its top
  EXPECT_NEAR(S().M.PAR[S().geometryIndex(3)], 40.0f, 1e-3f);
  setModel({100.0f}, {});
  ASSERT_TRUE(program.layers().splitLayer(1));
  EXPECT_EQ(S().NLAYER(), 2);
}

TEST_F(LayerCommands, FixAndFreeActOnlyOnTheirKindOfParameter) {
  setModel({100.0f, 10.0f, 1000.0f}, {10.0f, 20.0f});
  S().layer.resolutionValid = kTrue;
  S().layer.equivalenceValid = kTrue;
  EXPECT_FALSE(program.layers().setParameterFixed(4, true, FixTarget::Resistivity));
  EXPECT_TRUE(isSet(S().layer.resolutionValid));
  EXPECT_FALSE(program.layers().setParameterFixed(2, true, FixTarget::Boundary));
  ASSERT_TRUE(program.layers().setParameterFixed(2, true, FixTarget::Resistivity));
  EXPECT_TRUE(isSet(S().M.LFIX[1]));
  EXPECT_FALSE(isSet(S().layer.resolutionValid));
  EXPECT_FALSE(isSet(S().layer.equivalenceValid));
  ASSERT_TRUE(program.layers().setParameterFixed(5, true, FixTarget::Boundary));
  EXPECT_TRUE(isSet(S().M.LFIX[4]));
  ASSERT_TRUE(program.layers().setParameterFixed(5, false, FixTarget::Boundary));
  EXPECT_FALSE(isSet(S().M.LFIX[4]));
}

TEST_F(LayerCommands, AFixedResistivityIsNotChangedByInversion) {
  setModel({100.0f, 10.0f, 1000.0f}, {10.0f, 20.0f});
  ASSERT_TRUE(program.layers().setParameterFixed(2, true, FixTarget::Resistivity));
  ASSERT_TRUE(program.inversions().singleIteration());
  EXPECT_EQ(S().M.PAR[1], 10.0f);
}

TEST_F(LayerCommands, MaskingAnOutlierImprovesTheFit) {
  setModel({15.0f}, {});
  S().data().VOLTS(6, 0) *= 3.0f;
  ASSERT_TRUE(program.model().forwardModel());
  const float before = S().layer.PCTERR;
  ASSERT_TRUE(program.layers().setPointMasked(7, 1, true));
  EXPECT_TRUE(S().masked(6, 0));
  EXPECT_LT(S().layer.PCTERR, before);
  ASSERT_TRUE(program.layers().setPointMasked(7, 1, false));
  EXPECT_FALSE(S().masked(6, 0));
  EXPECT_FLOAT_EQ(S().layer.PCTERR, before);
  EXPECT_FALSE(program.layers().setPointMasked(0, 1, true));
  EXPECT_FALSE(program.layers().setPointMasked(S().NDATA() + 1, 1, true));
  EXPECT_FALSE(program.layers().setPointMasked(1, 2, true));  // one component only
}

TEST_F(LayerCommands, FinishingADragClearsTheResultsAndComputesTheSynthetics) {
  setModel({15.0f}, {});
  const std::vector<float> halfSpace = synthetics();
  setModel({100.0f, 10.0f}, {10.0f});
  S().layer.resolutionValid = kTrue;
  S().layer.equivalenceValid = kTrue;
  S().M.PAR[0] = 15.0f;
  S().M.PAR[1] = 15.0f;
  program.layers().finishModelDrag();
  EXPECT_FALSE(isSet(S().layer.resolutionValid));
  EXPECT_FALSE(isSet(S().layer.equivalenceValid));
  EXPECT_FALSE(isSet(S().layer.saved));
  // Two layers of 15 ohm-m answer as a half-space of 15 ohm-m.
  const std::vector<float> after = synthetics();
  for (std::size_t i = 0; i < after.size(); ++i)
    EXPECT_NEAR(after[i], halfSpace[i], 1e-4f * halfSpace[i]) << i;
}

TEST(MouseTrace, GoesToTheDebugLogOnlyWhileTracing) {
  zeva::test::ScriptedToolkit toolkit;
  std::ostringstream log;
  Program program(toolkit, {}, &log);
  program.layers().trace("Rubber Box: 1 2 3 4 5");
  EXPECT_EQ(log.str(), "");
  program.layers().setMouseTrace(true);
  program.layers().trace("Rubber Model: 2 30 7.5 4 120");
  EXPECT_EQ(log.str(), "Rubber Model: 2 30 7.5 4 120\n");
}

}  // namespace
}  // namespace zeva::core
