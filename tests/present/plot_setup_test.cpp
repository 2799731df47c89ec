// Autoscale: whole decades (or round linear steps) around everything drawn.

#include "present/plot_setup.h"

#include <gtest/gtest.h>

#include <cmath>

#include "present/recording_canvas.h"
#include "tests/present/plot_test_soundings.h"

namespace zeva::present {
namespace {

using core::kTrue;

struct DecadeCase {
  float low, high;
  int first, decades;
};
class Decades : public ::testing::TestWithParam<DecadeCase> {};
TEST_P(Decades, EncloseTheValuesInAtLeastTwoDecades) {
  const DecadeRange r = decadesAround(GetParam().low, GetParam().high);
  EXPECT_EQ(r.firstExponent, GetParam().first);
  EXPECT_EQ(r.decades, GetParam().decades);
}
INSTANTIATE_TEST_SUITE_P(
    Ranges, Decades,
    ::testing::Values(DecadeCase{20.9f, 159.9f, 1, 2}, DecadeCase{4.0f, 909.0f, 0, 3},
                      DecadeCase{100.0f, 100.0f, 1, 2}, DecadeCase{50.0f, 50.0f, 1, 2},
                      DecadeCase{0.002f, 3000.0f, -3, 7}, DecadeCase{-5.0f, 10.0f, 0, 3}));

TEST(LinearAround, RoundStepsEncloseTheRange) {
  for (auto [low, high] : {std::pair{-3.2f, 17.5f},
                           {0.0f, 90.0f},
                           {0.001f, 0.0042f},
                           {-250.0f, -20.0f},
                           {5.0f, 5.0f}}) {
    const LinearRange r = linearAround(low, high);
    EXPECT_LE(r.start, low + 1e-6f) << low << " " << high;
    EXPECT_GE(r.start + static_cast<float>(r.cycles) * r.step, high - 1e-6f) << low << " " << high;
    EXPECT_LE(r.cycles, 8);
    const float mantissa = r.step / std::pow(10.0f, std::floor(std::log10(r.step)));
    EXPECT_TRUE(std::fabs(mantissa - 1) < 1e-3f || std::fabs(mantissa - 2) < 1e-3f ||
                std::fabs(mantissa - 2.5f) < 1e-3f || std::fabs(mantissa - 5) < 1e-3f)
        << r.step;
  }
}

// True when the page position of a value lies within the frame.
bool inside(const GraphFrame& g, float x, float y) {
  const float px = PageX(x, g), py = PageY(y, g);
  const float l = frameLeft(g), b = frameBottom(g);
  return px >= l - 1e-3f && px <= l + frameWidth(g) + 1e-3f && py >= b - 1e-3f &&
         py <= b + frameHeight(g) + 1e-3f;
}

TEST(SetUpPlots, DefaultSoundingDataAndModelFitTheirFrames) {
  core::CurrentSounding c;
  core::resetToDefault(c);
  PlotSettings settings;
  SetUpPlots(c, settings);
  const auto& d = c.S.data();
  for (int i = 0; i < c.S.NDATA(); ++i)
    EXPECT_TRUE(inside(c.dataFrames[0], d.TIME(i, 0), d.VOLTS(i, 0))) << i;
  const GraphFrame& m = c.modelFrames[0];
  EXPECT_TRUE(inside(m, 15.0f, 1.0f));    // first boundary
  EXPECT_TRUE(inside(m, 15.0f, 294.5f));  // last boundary
  EXPECT_FLOAT_EQ(m.originX, 7.25f);
  EXPECT_FLOAT_EQ(m.originY, 7.25f);
  EXPECT_FLOAT_EQ(frameWidth(m), 2.5f);
  EXPECT_FLOAT_EQ(frameHeight(m), 6.0f);
  EXPECT_LT(m.yCycleLength, 0.0f);        // depth runs downwards
  EXPECT_EQ(c.dataFrames[1].xCycles, 0);  // no second data graph
}

TEST(SetUpPlots, EquivalenceRangeAndSyntheticsAreNotClipped) {
  core::CurrentSounding c;
  core::resetToDefault(c);
  test::fillModel(c.S, {300.0f, 3.0f}, {2.0f});
  c.S.layer.equivalenceValid = kTrue;
  c.S.PARMIN = {200.0f, 0.5f, 0.8f};
  c.S.PARMAX = {5000.0f, 6.0f, 9.0f};
  c.S.ZNMIN = {0.8f, 0.0f};
  c.S.ZNMAX = {9000.0f, 0.0f};
  c.S.layer.syntheticValid = kTrue;
  for (int i = 0; i < c.S.NDATA(); ++i) c.S.SVOLT(i, 0) = 0.2f * static_cast<float>(i + 1);
  PlotSettings settings;
  SetUpPlots(c, settings);
  const GraphFrame& m = c.modelFrames[0];
  EXPECT_TRUE(inside(m, 5000.0f, 9000.0f));
  EXPECT_TRUE(inside(m, 0.5f, 0.8f));
  for (int i = 0; i < c.S.NDATA(); ++i)
    EXPECT_TRUE(inside(c.dataFrames[0], c.S.data().TIME(i, 0), c.S.SVOLT(i, 0))) << i;
}

TEST(SetUpPlots, IpModelSplitsTheModelPlotInTwoHalves) {
  core::CurrentSounding c;
  test::fillData(c.S, core::type::kSchlumberger, {1, 10, 100}, {{10, 20, 30}, {1, 5, 12}});
  test::fillModel(c.S, {10.0f, 100.0f}, {5.0f}, {2.0f, 14.0f});
  c.S.shareDataWith(c.SM);
  PlotSettings settings;
  SetUpPlots(c, settings);
  EXPECT_FLOAT_EQ(c.modelFrames[0].originX, 7.25f);
  EXPECT_FLOAT_EQ(frameWidth(c.modelFrames[0]), 1.25f);
  EXPECT_FLOAT_EQ(c.modelFrames[1].originX, 8.5f);
  EXPECT_NE(c.modelFrames[1].xStep, 0.0f);  // IP effect is linear
  EXPECT_TRUE(inside(c.modelFrames[1], 14.0f, 5.0f));
  EXPECT_FALSE(core::isSet(c.modelFrames[1].labelsLeftOfY));
  // Two data graphs: apparent resistivity above, IP effect below with the labels.
  EXPECT_GT(c.dataFrames[0].originY, c.dataFrames[1].originY);
  EXPECT_FALSE(core::isSet(c.dataFrames[0].labelsBelowX));
  EXPECT_TRUE(inside(c.dataFrames[1], 100.0f, 12.0f));
}

TEST(SetUpPlots, MtPhaseRunsFromZeroToNinetyDegrees) {
  core::CurrentSounding c;
  test::halfSpaceMt(c, 30.0f);
  PlotSettings settings;
  SetUpPlots(c, settings);
  const GraphFrame& phase = c.dataFrames[1];
  EXPECT_FLOAT_EQ(phase.yStart, 0.0f);
  EXPECT_FLOAT_EQ(phase.yStart + static_cast<float>(phase.yCycles) * phase.yStep, 90.0f);
}

TEST(SetUpPlots, LinearTimeMakesTheTemTimeAxisLinear) {
  core::CurrentSounding c;
  test::fillData(c.S, core::type::kCentralLoopTem, {0.1f, 1.0f, 7.0f}, {{1000, 10, 0.1f}});
  PlotSettings settings;
  settings.view.voltageView = true;
  SetUpPlots(c, settings);
  EXPECT_EQ(c.dataFrames[0].xStep, 0.0f);
  settings.view.linearTime = true;
  SetUpPlots(c, settings);
  EXPECT_NE(c.dataFrames[0].xStep, 0.0f);
  EXPECT_TRUE(inside(c.dataFrames[0], 7.0f, 0.1f));
}

// Gate voltages are no resistivities: the model plot's resistivity axis
// keeps to the model when the gates are drawn as voltages.
TEST(SetUpPlots, TemVoltagesDoNotWidenTheModelsResistivityAxis) {
  core::CurrentSounding c;
  test::fillData(c.S, core::type::kCentralLoopTem, {0.1f, 1.0f, 7.0f}, {{1.0e5f, 10, 1.0e-3f}});
  test::fillModel(c.S, {100.0f, 10.0f}, {30.0f});
  PlotSettings settings;
  settings.view.voltageView = true;
  SetUpPlots(c, settings);
  // 10 to 100 ohm-m with room around: not the eight decades of the voltages.
  EXPECT_LE(c.modelFrames[0].xCycles, 3);
}

}  // namespace
}  // namespace zeva::present
