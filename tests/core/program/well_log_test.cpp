#include "core/program/well_log.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/program/program.h"
#include "tests/support/scripted_toolkit.h"
#include "tests/support/test_support.h"

namespace zeva::core {
namespace {

// A log sampled every metre from 1 m through a blocky earth.
WellLog blockyLog(const std::vector<float>& rho, const std::vector<float>& bottom, int samples) {
  WellLog log;
  for (int i = 1; i <= samples; ++i) {
    const float z = static_cast<float>(i);
    std::size_t layer = 0;
    while (layer < bottom.size() && z > bottom[layer]) ++layer;
    log.depth.push_back(z);
    log.resistivity.push_back(rho[layer]);
  }
  return log;
}

TEST(WellLog, CleaningDropsUnusableReadingsAndSortsByDepth) {
  const WellLog log{{30.0f, 10.0f, -1.0f, 20.0f, 40.0f}, {3.0f, 1.0f, 5.0f, 0.0f, 4.0f}};
  const WellLog clean = cleanWellLog(log);
  EXPECT_EQ(clean.depth, (std::vector<float>{10.0f, 30.0f, 40.0f}));
  EXPECT_EQ(clean.resistivity, (std::vector<float>{1.0f, 3.0f, 4.0f}));
}

TEST(WellLog, ConductanceOfAUniformLogGrowsAsDepthOverResistivity) {
  const WellLog log = blockyLog({50.0f}, {}, 100);
  const std::vector<float> s = cumulativeConductance(log);
  for (std::size_t i = 0; i < s.size(); ++i) EXPECT_NEAR(s[i], log.depth[i] / 50.0f, 1e-5f);
  EXPECT_NEAR(layeredConductance({50.0f}, {}, 100.0f), 2.0f, 1e-6f);
}

TEST(WellLog, LayeredConductanceSumsThicknessOverResistivity) {
  // 10 m of 10 ohm-m (1 S), 20 m of 100 ohm-m (0.2 S), then 1 ohm-m.
  EXPECT_NEAR(layeredConductance({10.0f, 100.0f, 1.0f}, {10.0f, 30.0f}, 5.0f), 0.5f, 1e-6f);
  EXPECT_NEAR(layeredConductance({10.0f, 100.0f, 1.0f}, {10.0f, 30.0f}, 30.0f), 1.2f, 1e-6f);
  EXPECT_NEAR(layeredConductance({10.0f, 100.0f, 1.0f}, {10.0f, 30.0f}, 35.0f), 6.2f, 1e-5f);
}

TEST(WellLog, StepFitRecoversABlockyLogExactly) {
  const WellLog log = blockyLog({20.0f, 300.0f, 5.0f}, {12.0f, 40.0f}, 100);
  const LogSegmentation fit = segmentWellLog(log, 3);
  ASSERT_EQ(fit.resistivity.size(), 3u);
  EXPECT_NEAR(fit.resistivity[0], 20.0f, 1e-3f);
  EXPECT_NEAR(fit.resistivity[1], 300.0f, 1e-2f);
  EXPECT_NEAR(fit.resistivity[2], 5.0f, 1e-3f);
  // Halfway between the last reading of a layer and the first of the next.
  EXPECT_EQ(fit.bottomDepth, (std::vector<float>{12.5f, 40.5f}));
  EXPECT_NEAR(fit.rmsLog10, 0.0f, 1e-5f);
}

TEST(WellLog, MoreLayersThanTheLogHoldsAreNotMade) {
  const WellLog log = blockyLog({20.0f, 300.0f}, {12.0f}, 50);
  EXPECT_EQ(segmentWellLog(log, 6).resistivity.size(), 2u);
  const WellLog three{{1.0f, 2.0f, 3.0f}, {10.0f, 20.0f, 40.0f}};
  EXPECT_EQ(segmentWellLog(three, 8).resistivity.size(), 3u);
}

TEST(WellLog, OneLayerIsTheGeometricMean) {
  const WellLog log{{1.0f, 2.0f}, {10.0f, 1000.0f}};
  const LogSegmentation fit = segmentWellLog(log, 1);
  ASSERT_EQ(fit.resistivity.size(), 1u);
  EXPECT_NEAR(fit.resistivity[0], 100.0f, 1e-3f);
  EXPECT_NEAR(fit.rmsLog10, 1.0f, 1e-5f);
}

TEST(WellLog, LongLogsAreSegmentedAtBlockResolution) {
  // 8000 readings every 0.1 m: the blocks are 1 m long.
  WellLog log;
  for (int i = 1; i <= 8000; ++i) {
    const float z = 0.1f * static_cast<float>(i);
    log.depth.push_back(z);
    log.resistivity.push_back(z < 250.0f ? 40.0f : z < 600.0f ? 4.0f : 400.0f);
  }
  const LogSegmentation fit = segmentWellLog(log, 3);
  ASSERT_EQ(fit.bottomDepth.size(), 2u);
  EXPECT_NEAR(fit.bottomDepth[0], 250.0f, 1.0f);
  EXPECT_NEAR(fit.bottomDepth[1], 600.0f, 1.0f);
}

TEST(WellLogCommands, SetLayeredModelGivesTheStepFitAndItsSynthetics) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  EXPECT_FALSE(program.wells().setModelFromWellLog(3));
  EXPECT_EQ(toolkit.lastText(), "No well log has been read");
  program.wells().setWellLog(blockyLog({20.0f, 300.0f, 5.0f}, {12.0f, 40.0f}, 100), "W1");
  ASSERT_TRUE(program.wells().setModelFromWellLog(3));
  const Sounding& S = program.S();
  ASSERT_EQ(S.NLAYER(), 3);
  EXPECT_NEAR(S.M.PAR[0], 20.0f, 1e-3f);
  EXPECT_NEAR(S.M.PAR[3], 12.5f, 1e-5f);  // thicknesses
  EXPECT_NEAR(S.M.PAR[4], 28.0f, 1e-5f);
  EXPECT_TRUE(isSet(S.layer.syntheticValid));
  EXPECT_TRUE(program.state().autoscalePending());
}

TEST(WellLogCommands, ImportReadsTheColumnsAndMultipliesDepthsWhenAsked) {
  test::TemporaryFolder folder;
  const auto file = folder / "HOLE.LOG";
  test::writeFile(file, "DEPTH GR RES\n0.010 50 20\n0.020 60 25\nx y z\n0.030 55 30\n");
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  toolkit.files.push_back(file.string());
  toolkit.numbers = {1.0, 3.0};
  toolkit.answers = {ui::Answer::Yes};  // depths in kilometres
  toolkit.numbers.push_back(0.0);
  toolkit.answers.push_back(ui::Answer::No);
  toolkit.numbers.push_back(0.0);
  toolkit.answers.push_back(ui::Answer::No);
  ASSERT_TRUE(program.wells().importWellLog());
  EXPECT_EQ(toolkit.fileDialogTitles.back(), "Flat ASCII Well Log File");
  ASSERT_EQ(program.wells().wellLog().depth.size(), 3u);
  EXPECT_NEAR(program.wells().wellLog().depth[2], 30.0f, 1e-4f);
  EXPECT_EQ(program.wells().wellLog().resistivity[1], 25.0f);
  EXPECT_EQ(program.wells().wellLogName(), "HOLE");
  EXPECT_TRUE(program.settings().columns.depthTimes1000);
}

}  // namespace
}  // namespace zeva::core
