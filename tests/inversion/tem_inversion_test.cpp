// Layered inversion and equivalence of a central-loop TEM sounding: what a
// transient sees of a buried conductor is its conductance.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/record/sounding.h"
#include "inversion/equivalence.h"
#include "inversion/layered_estimates.h"
#include "inversion/layered_inversion.h"
#include "inversion/smooth_model.h"
#include "tests/inversion/tem_soundings.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::inversion {
namespace {

using core::Sounding;

std::size_t idx(int j) { return static_cast<std::size_t>(j); }

constexpr int kRho2 = 1, kH2 = 4;  // PAR: 3 resistivities, then 2 thicknesses
constexpr float kTrueConductance = 3.0f;

class TemConductor : public ::testing::Test {
 protected:
  void SetUp() override {
    test::makeCentralLoopTem(S, toolkit);
    // A uniform start: every layer at 100 ohm-m.
    test::setModel(S, test::LayeredEarth{{100.0f, 100.0f, 100.0f}, {15.0f, 40.0f}});
    RunMonitor monitor(toolkit);
    result = InvertMany(S, forward, core::InversionSettings{0.98f, 0.5f, 20}, monitor, 1);
  }
  float conductance() const { return S.M.PAR[kH2] / S.M.PAR[kRho2]; }

  zeva::test::ScriptedToolkit toolkit;
  forward::ForwardRoutine forward = test::temRoutine(toolkit);
  Sounding S;
  InvertManyResult result;
};

TEST_F(TemConductor, InversionFromAUniformStartFindsTheConductanceAndFitsToTheNoise) {
  ASSERT_EQ(result.status, 0);
  EXPECT_NEAR(conductance(), kTrueConductance, 0.15f * kTrueConductance);
  // 2 % noise: the fit ends at the noise level, not far above or below it.
  EXPECT_GT(S.layer.PCTERR, 1.0f);
  EXPECT_LT(S.layer.PCTERR, 3.0f);
}

TEST_F(TemConductor, EquivalenceTradesTheConductorsThicknessForItsResistivity) {
  ASSERT_TRUE(core::isSet(S.layer.resolutionValid));
  RunMonitor monitor(toolkit);
  ASSERT_TRUE(AnalyzeEquivalence(S, forward, monitor).completed);
  const float best = conductance(), bestH = S.M.PAR[kH2], bestRho = S.M.PAR[kRho2];
  float lowS = best, highS = best;
  for (int j : {kRho2, kH2})
    for (int direction = 0; direction < 2; ++direction) {
      const int row = 2 * j + direction;
      const float h = S.EQUIVA(row, kH2), rho = S.EQUIVA(row, kRho2);
      // Thickness and resistivity move together, holding their ratio.
      EXPECT_GT((h - bestH) * (rho - bestRho), 0.0f) << "row " << row;
      lowS = std::min(lowS, h / rho), highS = std::max(highS, h / rho);
    }
  const float conductanceSpread = std::log(highS / lowS);
  EXPECT_GT(std::log(S.PARMAX[kH2] / S.PARMIN[kH2]), 3.0f * conductanceSpread);
  EXPECT_GT(std::log(S.PARMAX[kRho2] / S.PARMIN[kRho2]), 2.0f * conductanceSpread);
}

// The late-time curve places the cover's resistivity and the top of the
// conductor about right: a start from which the inversion has little to do.
TEST(TemEstimate, FindsTheCoverAndTheConductorBelowIt) {
  zeva::test::ScriptedToolkit toolkit;
  Sounding S;
  test::makeCentralLoopTem(S, toolkit);
  // Stored per ampere: the estimate must bring the voltages to the current.
  ASSERT_TRUE(S.header.temVoltageUnit == "(nV/A-m^2)");
  ASSERT_TRUE(EstimateTemModel(S, toolkit));
  ASSERT_GE(S.NLAYER(), 3);
  EXPECT_NEAR(S.M.PAR[0], 100.0f, 20.0f);
  EXPECT_LT(S.M.PAR[1], 30.0f);
  const float conductorTop = S.M.PAR[S.geometryIndex(0)];
  EXPECT_GT(conductorTop, 10.0f);
  EXPECT_LT(conductorTop, 40.0f);

  S.header.temVoltageUnit.assign("(mV)");
  const std::vector<float> estimate = S.M.PAR;
  EXPECT_FALSE(EstimateTemModel(S, toolkit));
  EXPECT_EQ(toolkit.lastText(),
            "The TEM voltage unit \"(mV)\" cannot be modelled; the sounding is unchanged");
  EXPECT_EQ(S.M.PAR, estimate);
}

// Occam's smooth model over the depths the gates see fits to the noise and
// puts its least resistivity inside the conductor (20 to 50 m).
TEST(TemSmoothModel, OccamFitsToTheNoiseWithItsMinimumInTheConductor) {
  zeva::test::ScriptedToolkit toolkit;
  Sounding S, SM;
  test::makeCentralLoopTem(S, toolkit);
  S.shareDataWith(SM);
  SM.model.NPK = 1;
  SM.model.LROUGH = core::kTrue;
  RunMonitor monitor(toolkit);
  ASSERT_EQ(
      EstimateSmoothModel(SM, core::InversionSettings{}, test::temRoutine(toolkit), monitor, 1)
          .status,
      0);
  EXPECT_LT(SM.layer.PCTERR, 3.0f);
  int least = 0;
  for (int j = 1; j < SM.NLAYER(); ++j)
    if (SM.M.PAR[idx(j)] < SM.M.PAR[idx(least)]) least = j;
  ASSERT_GT(least, 0);
  ASSERT_LT(least + 1, SM.NLAYER());
  const float top = SM.M.PAR[SM.geometryIndex(least - 1)];
  const float bottom = SM.M.PAR[SM.geometryIndex(least)];
  EXPECT_GT(std::sqrt(top * bottom), 20.0f);
  EXPECT_LT(std::sqrt(top * bottom), 50.0f);
}

}  // namespace
}  // namespace zeva::inversion
