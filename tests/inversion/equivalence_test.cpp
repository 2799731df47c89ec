#include "inversion/equivalence.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/record/sounding.h"
#include "inversion/layered_inversion.h"
#include "tests/inversion/synthetic_soundings.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::inversion {
namespace {

using core::Sounding;
using test::LayeredEarth;

TEST(LagrangeValue, ReproducesAQuadraticAndReturnsNodesExactly) {
  const std::vector<float> x = {1.0f, 2.5f, 4.0f};
  std::vector<float> y;
  for (float xi : x) y.push_back(3.0f * xi * xi - 2.0f * xi + 0.5f);
  for (float at : {0.0f, 1.7f, 3.3f, 6.0f})
    EXPECT_NEAR(LagrangeValue(x, y, at), 3.0f * at * at - 2.0f * at + 0.5f, 1e-3f);
  EXPECT_EQ(LagrangeValue(x, y, 2.5f), y[1]);
}

TEST(InitialSearchRatio, WellResolvedStepsLittleAndPoorlyResolvedStepsADecade) {
  EXPECT_FLOAT_EQ(initialSearchRatio(0.98f), 1.44f);
  EXPECT_FLOAT_EQ(initialSearchRatio(1.0f), 1.44f);
  EXPECT_FLOAT_EQ(initialSearchRatio(0.0999f), 10.0f);
  EXPECT_FLOAT_EQ(initialSearchRatio(0.25f), 2.4f);
  // The downward search starts with 1 / sqrt(F).
  EXPECT_FLOAT_EQ(1.0f / std::sqrt(initialSearchRatio(0.99f)), 1.0f / 1.2f);
  EXPECT_FLOAT_EQ(1.0f / std::sqrt(initialSearchRatio(0.05f)), 1.0f / std::sqrt(10.0f));
}

// A thin conductive layer between a resistive cover and a resistive
// basement: its conductance h / rho is what the data see.
const LayeredEarth kThinConductor{{100.0f, 10.0f, 1000.0f}, {10.0f, 4.0f}};

class EquivalenceOfThinConductor : public ::testing::Test {
 protected:
  void SetUp() override {
    test::makeSynthetic(S, "Schlumberger Array", test::logSpacings(1.0f, 1000.0f, 8),
                        kThinConductor, toolkit);
    test::setModel(S, LayeredEarth{{80.0f, 15.0f, 600.0f}, {12.0f, 6.0f}});
    RunMonitor monitor(toolkit);
    InvertMany(S, forward, core::InversionSettings{0.98f, 0.5f, 15}, monitor, 1);
    best = S.M.PAR;
    bestFit = S.layer.PCTERR;
  }
  zeva::test::ScriptedToolkit toolkit;
  forward::ForwardRoutine forward = test::dcRoutine(toolkit);
  Sounding S;
  std::vector<float> best;
  float bestFit = 0.0f;
};

TEST_F(EquivalenceOfThinConductor, RangesHoldTheBestFitAndEveryEquivalentModelFits) {
  ASSERT_TRUE(core::isSet(S.layer.resolutionValid));
  RunMonitor monitor(toolkit);
  const EquivalenceResult result = AnalyzeEquivalence(S, forward, monitor);
  ASSERT_TRUE(result.completed);
  EXPECT_EQ(result.searches, 2 * S.NPAR());
  EXPECT_TRUE(core::isSet(S.layer.equivalenceValid));
  EXPECT_EQ(S.M.PAR, best);

  const float threshold = 1.2f * bestFit, tolerance = 0.1f * (threshold - bestFit);
  for (int j = 0; j < S.NPAR(); ++j) {
    EXPECT_LE(S.PARMIN[j], best[j]);
    EXPECT_GE(S.PARMAX[j], best[j]);
    EXPECT_LT(S.PARMIN[j], S.PARMAX[j]) << "parameter " << j;
  }
  // Each stored model, run again, fits as stored and within the threshold.
  Sounding check;
  test::makeSynthetic(check, "Schlumberger Array", test::logSpacings(1.0f, 1000.0f, 8),
                      kThinConductor, toolkit);
  for (int row = 0; row < 2 * S.NPAR(); ++row) {
    for (int i = 0; i < S.NPAR(); ++i) check.M.PAR[i] = S.EQUIVA(row, i);
    forward(check);
    EXPECT_LE(check.layer.PCTERR, threshold + tolerance) << "row " << row;
    EXPECT_NEAR(check.layer.PCTERR, S.ERER[row], 0.01f * threshold) << "row " << row;
  }
}

TEST_F(EquivalenceOfThinConductor, ThinLayerTradesThicknessForResistivityAtFixedConductance) {
  RunMonitor monitor(toolkit);
  ASSERT_TRUE(AnalyzeEquivalence(S, forward, monitor).completed);
  const int rho2 = 1, h2 = 4;  // PAR: 3 resistivities, then 2 thicknesses
  // The inversion itself already found one of the equivalent layers.
  const float conductance = best[h2] / best[rho2];
  EXPECT_NEAR(conductance, 0.4f, 0.02f);

  // Over the searches of the thin layer's two parameters the conductance
  // stays within 20 % and varies far less than thickness and resistivity.
  float lowS = conductance, highS = conductance;
  for (int j : {rho2, h2})
    for (int direction = 0; direction < 2; ++direction) {
      const int row = 2 * j + direction;
      const float s = S.EQUIVA(row, h2) / S.EQUIVA(row, rho2);
      EXPECT_NEAR(s, conductance, 0.2f * conductance) << "row " << row;
      lowS = std::min(lowS, s), highS = std::max(highS, s);
    }
  const float conductanceSpread = std::log(highS / lowS);
  EXPECT_GT(std::log(S.PARMAX[h2] / S.PARMIN[h2]), 10.0f * conductanceSpread);
  EXPECT_GT(std::log(S.PARMAX[rho2] / S.PARMIN[rho2]), 10.0f * conductanceSpread);
  // The well-resolved cover is held much tighter than the thin layer.
  EXPECT_LT(std::log(S.PARMAX[0] / S.PARMIN[0]), std::log(S.PARMAX[h2] / S.PARMIN[h2]));
}

TEST_F(EquivalenceOfThinConductor, BoundaryRangesFollowTheEquivalentThicknesses) {
  RunMonitor monitor(toolkit);
  ASSERT_TRUE(AnalyzeEquivalence(S, forward, monitor).completed);
  EXPECT_LE(S.ZNMIN[0], best[3]);
  EXPECT_GE(S.ZNMAX[0], best[3]);
  EXPECT_LE(S.ZNMIN[1], best[3] + best[4]);
  EXPECT_GE(S.ZNMAX[1], best[3] + best[4]);
  EXPECT_FLOAT_EQ(S.layer.deepestEquivalentDepth, S.ZNMAX[1]);
}

TEST_F(EquivalenceOfThinConductor, FixedParametersAreNotSearched) {
  S.M.LFIX[0] = core::kTrue;
  S.M.LFIX[3] = core::kTrue;
  RunMonitor monitor(toolkit);
  const EquivalenceResult result = AnalyzeEquivalence(S, forward, monitor);
  EXPECT_EQ(result.searches, 2 * (S.NPAR() - 2));
  for (int j : {0, 3}) {
    EXPECT_EQ(S.PARMIN[j], best[j]);
    EXPECT_EQ(S.PARMAX[j], best[j]);
    EXPECT_EQ(S.ERER[2 * j], 0.0f);
    EXPECT_EQ(S.EQUIVA(2 * j, 1), 0.0f);
  }
}

TEST_F(EquivalenceOfThinConductor, InterruptEndsTheAnalysisWithTheBestFitRestored) {
  toolkit.interruptAtPoll = toolkit.polls + 3;
  RunMonitor monitor(toolkit);
  const EquivalenceResult result = AnalyzeEquivalence(S, forward, monitor);
  EXPECT_TRUE(result.interrupted);
  EXPECT_FALSE(result.completed);
  EXPECT_FALSE(core::isSet(S.layer.equivalenceValid));
  EXPECT_EQ(S.M.PAR, best);
  EXPECT_NEAR(S.layer.PCTERR, bestFit, 1e-4f);
  EXPECT_FALSE(toolkit.progressVisible);
}

TEST(AnalyzeEquivalence, WithoutResolutionMatrixNothingIsDone) {
  zeva::test::ScriptedToolkit toolkit;
  Sounding S;
  test::makeSynthetic(S, "Schlumberger Array", test::logSpacings(1.0f, 100.0f, 6), kThinConductor,
                      toolkit);
  S.RESOLV.clear();
  RunMonitor monitor(toolkit);
  const EquivalenceResult result = AnalyzeEquivalence(S, test::dcRoutine(toolkit), monitor);
  EXPECT_EQ(result.forwardRuns, 0);
  EXPECT_FALSE(core::isSet(S.layer.equivalenceValid));
}

}  // namespace
}  // namespace zeva::inversion
