// The model commands on core::Program: layered-model estimation, smooth
// models with the Occam switch, and the equivalence of both models.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/program/program.h"
#include "forward/forward_choice.h"
#include "forward/ip_forward.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::core {
namespace {

using Texts = std::vector<std::string>;

TEST(EstimateLayeredModel, DefaultSoundingGetsAModelWithItsSyntheticsAndShowsIt) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  program.view().showLayered = false;
  ASSERT_TRUE(program.estimation().estimateLayeredModel());
  const Sounding& S = program.S();
  EXPECT_TRUE(toolkit.messages.empty());
  EXPECT_GE(S.NLAYER(), 2);
  EXPECT_TRUE(isSet(S.layer.syntheticValid));
  EXPECT_LT(S.layer.PCTERR, 30.0f);
  EXPECT_FALSE(isSet(S.layer.saved));
  EXPECT_TRUE(program.view().showLayered);
  EXPECT_TRUE(S.sharesDataWith(program.SM()));
}

TEST(EstimateLayeredModel, TwoReadingsAreRefusedAndTheModelStays) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  Sounding& S = program.S();
  S.header.NDATA = 2;
  const std::vector<float> model = S.M.PAR;
  EXPECT_FALSE(program.estimation().estimateLayeredModel());
  EXPECT_EQ(toolkit.texts(), Texts{"NEED AT LEAST 3 POINTS TO ESTIMATE MODEL"});
  EXPECT_EQ(S.M.PAR, model);
  EXPECT_TRUE(isSet(S.layer.saved));
}

TEST(EstimateSmoothModel, OccamModelOfTheDefaultSoundingHasALayerPerReading) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  const std::vector<float> layered = program.S().M.PAR;
  ASSERT_TRUE(program.estimation().occamMode());
  ASSERT_TRUE(program.estimation().estimateSmoothModel());
  const Sounding& SM = program.SM();
  EXPECT_EQ(SM.NLAYER(), program.S().NDATA());
  EXPECT_TRUE(isSet(SM.layer.syntheticValid));
  EXPECT_TRUE(isSet(SM.layer.resolutionValid));
  EXPECT_LT(SM.layer.PCTERR, 15.0f);
  EXPECT_EQ(program.S().M.PAR, layered);
  EXPECT_TRUE(program.view().showSmooth);
  EXPECT_FALSE(isSet(program.S().layer.saved));
  EXPECT_NE(std::find(toolkit.statusTexts.begin(), toolkit.statusTexts.end(), " 22 Smooth Layers"),
            toolkit.statusTexts.end());
}

TEST(EstimateSmoothModel, ThreeReadingsAreTooFew) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  program.S().header.NDATA = 3;
  EXPECT_FALSE(program.estimation().estimateSmoothModel());
  EXPECT_EQ(toolkit.texts(), Texts{"Insufficient data to make smooth model"});
  EXPECT_FALSE(program.SM().hasModel());
  EXPECT_FALSE(program.view().showSmooth);
}

TEST(ToggleOccam, SwitchesLroughOfTheSmoothModelAndMakesItsSyntheticsStale) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  program.SM().layer.syntheticValid = kTrue;
  program.estimation().toggleOccam();
  EXPECT_FALSE(program.estimation().occamMode());
  EXPECT_FALSE(isSet(program.SM().model.LROUGH));
  EXPECT_FALSE(isSet(program.SM().layer.syntheticValid));
  EXPECT_FALSE(isSet(program.S().model.LROUGH));
  program.estimation().toggleOccam();
  EXPECT_TRUE(program.estimation().occamMode());
}

TEST(AnalyzeEquivalence, IsRefusedBeforeAnyInversion) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  EXPECT_FALSE(program.estimation().analyzeEquivalence());
  EXPECT_FALSE(program.estimation().analyzeSmoothEquivalence());
  EXPECT_EQ(toolkit.texts(),
            (Texts{"Please do inversion before analyzing equivalence",
                   "Please estimate smooth model before analyzing smooth equivalence"}));
  EXPECT_FALSE(isSet(program.S().layer.equivalenceValid));
}

TEST(AnalyzeEquivalence, AfterInversionFillsTheRangesAndShowsThem) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  ASSERT_TRUE(program.inversions().multipleIterations());
  program.view().showEquivalence = false;
  const std::vector<float> best = program.S().M.PAR;
  ASSERT_TRUE(program.estimation().analyzeEquivalence());
  const Sounding& S = program.S();
  EXPECT_TRUE(isSet(S.layer.equivalenceValid));
  EXPECT_TRUE(program.view().showEquivalence);
  EXPECT_EQ(S.M.PAR, best);
  for (int j = 0; j < S.NPAR(); ++j) {
    EXPECT_LE(S.PARMIN[j], best[j]);
    EXPECT_GE(S.PARMAX[j], best[j]);
  }
  EXPECT_GT(S.layer.deepestEquivalentDepth, 0.0f);
}

TEST(AnalyzeSmoothEquivalence, RunsOnTheSmoothModelAndLeavesTheLayeredModelAlone) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  ASSERT_TRUE(program.estimation().estimateSmoothModel());
  const std::vector<float> layered = program.S().M.PAR;
  ASSERT_TRUE(program.estimation().analyzeSmoothEquivalence());
  EXPECT_TRUE(isSet(program.SM().layer.equivalenceValid));
  EXPECT_FALSE(isSet(program.S().layer.equivalenceValid));
  EXPECT_EQ(program.S().M.PAR, layered);
  const Sounding& SM = program.SM();
  // The boundaries of a smooth model are fixed: their ranges are points.
  for (int k = 0; k + 1 < SM.NLAYER(); ++k) EXPECT_EQ(SM.ZNMIN[k], SM.ZNMAX[k]);
}

// A resistivity/IP sounding made by the IP forward routine from a
// three-layer model with a chargeable middle layer.
void makeIpSounding(Program& program) {
  Sounding& S = program.S();
  S.header.NCOMP = 2;
  S.header.voltageAndCurrent = kFalse;
  S.header.ipUnit.assign("(mSec)");
  const Matrix<float> time = S.data().TIME;
  S.allocateData();
  S.data().TIME = time;
  S.data().LOGDAT[0] = kTrue;
  S.data().NSET[0] = S.NDATA();
  S.model.NLAYER = 3;
  S.model.NPK = 2;
  S.allocateModel();
  S.M.PAR = {100.0f, 10.0f, 300.0f, 5.0f, 60.0f, 5.0f, 5.0f, 30.0f};
  forward::ipForward(S, program.toolkit());
  for (std::size_t c = 0; c < 2; ++c)
    for (std::size_t i = 0; i < time.rows(); ++i) S.data().VOLTS(i, c) = S.SVOLT(i, c);
  program.state().detectSegments();
}

TEST(EstimateSmoothModel, ResistivityIpDataAreFittedInThreeStagesKeepingTheUsersMasks) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  makeIpSounding(program);
  Sounding& S = program.S();
  S.header.maskingOn = kFalse;
  S.data().LMASK(3, 1) = kTrue;  // a mask the user set, not honoured while masking is off
  ASSERT_TRUE(program.estimation().estimateSmoothModel());
  const Sounding& SM = program.SM();
  ASSERT_EQ(SM.NPK(), 2);
  EXPECT_FALSE(isSet(S.header.maskingOn));
  for (std::size_t i = 0; i < static_cast<std::size_t>(S.NDATA()); ++i) {
    EXPECT_EQ(isSet(S.data().LMASK(i, 1)), i == 3) << "reading " << i;
    EXPECT_FALSE(isSet(S.data().LMASK(i, 0)));
  }
  for (int j = 0; j < 2 * SM.NLAYER(); ++j) EXPECT_FALSE(isSet(SM.M.LFIX[j]));
  // The IP stages moved the chargeabilities from their common start towards
  // the chargeable layer: the largest sits between 5 and 15 m.
  int strongest = SM.NLAYER();
  for (int j = SM.NLAYER(); j < 2 * SM.NLAYER(); ++j)
    if (SM.M.PAR[j] > SM.M.PAR[strongest]) strongest = j;
  const int layer = strongest - SM.NLAYER();
  const float top = layer == 0 ? 0.0f : SM.M.PAR[SM.geometryIndex(layer - 1)];
  EXPECT_GT(top, 2.0f);
  EXPECT_LT(top, 20.0f);
  EXPECT_LT(SM.layer.PCTERR, 10.0f);
}

}  // namespace
}  // namespace zeva::core
