// The inversion against a stand-in forward routine whose response and
// derivatives are known exactly (blended_layers.h): convergence, the edge
// cases of the iteration and of the driver, interrupts and progress.

#include "inversion/layered_inversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "inversion/inversion_steps.h"
#include "tests/inversion/blended_layers.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::inversion {
namespace {

using core::isSet;
using core::Sounding;
using test::BlendedLayers;

const std::vector<float> kTrueLayers = {100.0f, 10.0f, 300.0f};
const std::vector<float> kTrueThicknesses = {5.0f, 20.0f};

// Data of the true three-layer model, with the model set to `layers` and
// `thicknesses` for the inversion to start from.
void threeLayerCase(Sounding& S, const std::vector<float>& layers,
                    const std::vector<float>& thicknesses) {
  test::makeSounding(S, test::logSpacings(1.0f, 1000.0f, 24), 1, 3, 1, kTrueLayers,
                     kTrueThicknesses);
  test::observeModel(S, BlendedLayers{});
  for (std::size_t j = 0; j < 3; ++j) S.M.PAR[j] = layers[j];
  for (std::size_t j = 0; j < 2; ++j) S.M.PAR[3 + j] = thicknesses[j];
}

float maxLogError(const Sounding& S, const std::vector<float>& truth) {
  float worst = 0.0f;
  for (std::size_t j = 0; j < truth.size(); ++j)
    worst = std::max(worst, std::fabs(std::log10(S.M.PAR[j] / truth[j])));
  return worst;
}

TEST(InvertMany, RecoversTheModelOfExactDataFromAFlatStart) {
  Sounding S;
  threeLayerCase(S, {50.0f, 50.0f, 50.0f}, {3.0f, 30.0f});
  zeva::test::ScriptedToolkit toolkit;
  RunMonitor monitor(toolkit);
  core::InversionSettings settings;
  settings.fitFloorPercent = 0.01f;
  settings.iterationLimit = 30;
  const InvertManyResult result = InvertMany(S, BlendedLayers{}, settings, monitor, 1);
  EXPECT_EQ(result.status, 0);
  EXPECT_FALSE(result.interrupted);
  EXPECT_LT(S.layer.PCTERR, 0.01f);
  EXPECT_LT(maxLogError(S, {100.0f, 10.0f, 300.0f, 5.0f, 20.0f}), std::log10(1.02f));
  EXPECT_TRUE(isSet(S.layer.resolutionValid));
  EXPECT_FALSE(isSet(S.layer.saved));
}

TEST(InvertOnce, AllParametersFixedLeavesTheModelAndMakesNoTrial) {
  Sounding S;
  threeLayerCase(S, {50.0f, 50.0f, 50.0f}, {3.0f, 30.0f});
  for (auto& fixed : S.M.LFIX) fixed = core::kTrue;
  const std::vector<float> start = S.M.PAR;
  int calls = 0;
  zeva::test::ScriptedToolkit toolkit;
  RunMonitor monitor(toolkit);
  const IterationResult result = InvertOnce(S, BlendedLayers{&calls}, monitor);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.trials, 0);
  EXPECT_EQ(result.damping, 0.0f);
  EXPECT_EQ(S.M.PAR, start);
  // The starting run; the last one is of the same model and is not made again.
  EXPECT_EQ(calls, 1);
}

TEST(InvertOnce, CancelsTheLimitsOfAParameterOutsideThemAndKeepsOthersInside) {
  Sounding S;
  threeLayerCase(S, {50.0f, 50.0f, 50.0f}, {3.0f, 30.0f});
  S.M.LMTP[0] = core::kTrue;  // first layer at 50, outside [200, 500]
  S.M.PARD[0] = 200.0f;
  S.M.PARU[0] = 500.0f;
  S.M.LMTP[2] = core::kTrue;  // third layer limited to [40, 120], truth 300
  S.M.PARD[2] = 40.0f;
  S.M.PARU[2] = 120.0f;
  zeva::test::ScriptedToolkit toolkit;
  RunMonitor monitor(toolkit);
  for (int iteration = 0; iteration < 4; ++iteration) InvertOnce(S, BlendedLayers{}, monitor);
  EXPECT_FALSE(isSet(S.M.LMTP[0]));
  EXPECT_EQ(S.M.PARD[0], 0.0f);
  EXPECT_EQ(S.M.PARU[0], 0.0f);
  EXPECT_TRUE(isSet(S.M.LMTP[2]));
  EXPECT_GE(S.M.PAR[2], 40.0f);
  EXPECT_LE(S.M.PAR[2], 120.0f);
  EXPECT_GT(S.M.PAR[2], 60.0f);  // it did move towards the truth
}

TEST(InvertOnce, TrialStepsAreCutToThreeDecadesAndThicknessStepsToThreeTenths) {
  Sounding S;
  threeLayerCase(S, {1.0e8f, 1.0e7f, 1.0e9f}, {500.0f, 2000.0f});
  const std::vector<float> start = S.M.PAR;
  std::vector<std::vector<float>> seen;
  zeva::test::ScriptedToolkit toolkit;
  RunMonitor monitor(toolkit);
  const IterationResult result = InvertOnce(S, BlendedLayers{nullptr, &seen}, monitor);
  ASSERT_GT(result.trials, 0);
  const std::size_t firstTrial = 1 + start.size();
  float largestLayerStep = 0.0f, largestThicknessStep = 0.0f;
  for (std::size_t t = firstTrial; t < firstTrial + static_cast<std::size_t>(result.trials); ++t) {
    for (std::size_t j = 0; j < start.size(); ++j) {
      const float step = std::fabs(std::log10(seen[t][j] / start[j]));
      float& largest = j < 3 ? largestLayerStep : largestThicknessStep;
      largest = std::max(largest, step);
    }
  }
  EXPECT_NEAR(largestLayerStep, 3.0f, 1e-4f);
  EXPECT_NEAR(largestThicknessStep, 0.3f, 1e-5f);
}

// A response that is a power of each boundary depth, so that the derivative
// with respect to log10 of depth j is exactly kExponent[j] however large the
// perturbation; records the depths of every run.
constexpr float kExponent[4] = {0.5f, -1.0f, 2.0f, 0.25f};
struct DepthPowers {
  std::vector<std::vector<float>>* seen;
  void operator()(Sounding& S) const {
    const int g0 = S.NPK() * S.NLAYER();
    std::vector<float> depths(S.M.PAR.begin() + g0, S.M.PAR.end());
    seen->push_back(depths);
    float logValue = 1.0f;
    for (std::size_t j = 0; j < depths.size(); ++j)
      logValue += kExponent[j] * std::log10(depths[j]);
    for (int i = 0; i < S.NDATA(); ++i)
      S.SVOLT(static_cast<std::size_t>(i), 0) = std::pow(10.0f, logValue);
    S.layer.RMS = 0.1f;
    S.layer.syntheticValid = core::kTrue;
  }
};

struct DepthCase {
  std::vector<float> depths;
  const char* what;
};
class DepthDerivatives : public ::testing::TestWithParam<DepthCase> {};

TEST_P(DepthDerivatives, AreExactAndNeverMakeTheDepthsCross) {
  const std::vector<float>& depths = GetParam().depths;
  Sounding S;
  const int nl = static_cast<int>(depths.size()) + 1;
  test::makeSounding(S, {10.0f, 100.0f}, 1, nl, 1, std::vector<float>(depths.size() + 1, 100.0f),
                     depths);
  S.model.depths = core::kTrue;
  std::vector<std::vector<float>> seen;
  DepthPowers forward{&seen};
  forward(S);
  const std::vector<float> s0 = {S.SVOLT(0, 0), S.SVOLT(1, 0)};
  for (int j = 0; j < nl; ++j) S.M.LFIX[static_cast<std::size_t>(j)] = core::kTrue;
  core::Matrix<float> J;
  zeva::test::ScriptedToolkit toolkit;
  RunMonitor monitor(toolkit);
  IterationProgress progress(monitor);
  ASSERT_TRUE(computeDerivatives(S, forward, s0, J, monitor, progress));
  for (std::size_t b = 0; b < depths.size(); ++b)
    EXPECT_NEAR(J(0, static_cast<std::size_t>(nl) + b), kExponent[b], 2e-3f) << "depth " << b + 1;
  for (const std::vector<float>& run : seen)
    for (std::size_t b = 1; b < run.size(); ++b) EXPECT_LT(run[b - 1], run[b]);
  EXPECT_EQ(S.M.PAR[static_cast<std::size_t>(nl)], depths[0]);  // restored after the runs
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DepthDerivatives,
    ::testing::Values(DepthCase{{10.0f, 30.0f, 100.0f}, "room above every depth"},
                      DepthCase{{10.0f, 10.5f, 30.0f}, "first depth close below the next"},
                      DepthCase{{10.0f, 19.0f, 20.0f, 50.0f}, "room above the neighbour"},
                      DepthCase{{10.0f, 10.5f, 11.0f, 40.0f}, "close on both sides"},
                      DepthCase{{10.2f, 10.5f, 11.0f, 40.0f}, "closer above than below"}));

TEST(Derivatives, LimitedParametersNearTheirLimitsTakeSmallerDerivatives) {
  Sounding S;
  threeLayerCase(S, {50.0f, 50.0f, 50.0f}, {3.0f, 30.0f});
  BlendedLayers forward;
  forward(S);
  std::vector<float> s0(S.SVOLT.elements().begin(), S.SVOLT.elements().end());
  zeva::test::ScriptedToolkit toolkit;
  RunMonitor monitor(toolkit);
  core::Matrix<float> free, limited;
  {
    IterationProgress progress(monitor);
    ASSERT_TRUE(computeDerivatives(S, forward, s0, free, monitor, progress));
  }
  S.M.LMTP[0] = S.M.LMTP[1] = core::kTrue;
  S.M.PARD[0] = 49.0f, S.M.PARU[0] = 1000.0f;  // 2 % above the lower limit: factor 0.1
  S.M.PARD[1] = 25.0f, S.M.PARU[1] = 150.0f;   // half-way room: factor 0.5
  IterationProgress progress(monitor);
  ASSERT_TRUE(computeDerivatives(S, forward, s0, limited, monitor, progress));
  for (std::size_t k = 0; k < free.rows(); ++k) {
    EXPECT_NEAR(limited(k, 0), 0.1f * free(k, 0), 1e-6f);
    EXPECT_NEAR(limited(k, 1), 0.5f * free(k, 1), 1e-6f);
    EXPECT_EQ(limited(k, 2), free(k, 2));
  }
}

TEST(Residuals, MissingAndMaskedReadingsGiveZeroButKeepTheirDerivativeRows) {
  Sounding S;
  threeLayerCase(S, {50.0f, 50.0f, 50.0f}, {3.0f, 30.0f});
  S.data().VOLTS(3, 0) = 1.0e10f;      // missing
  S.data().LMASK(7, 0) = core::kTrue;  // masked
  BlendedLayers forward;
  forward(S);
  std::vector<float> r(24);
  computeResiduals(S, r);
  EXPECT_EQ(r[3], 0.0f);
  EXPECT_EQ(r[7], 0.0f);
  EXPECT_NEAR(r[8], std::log10(S.data().VOLTS(8, 0) / S.SVOLT(8, 0)), 1e-6f);
  EXPECT_NE(r[8], 0.0f);

  std::vector<float> s0(S.SVOLT.elements().begin(), S.SVOLT.elements().end());
  core::Matrix<float> J;
  zeva::test::ScriptedToolkit toolkit;
  RunMonitor monitor(toolkit);
  IterationProgress progress(monitor);
  ASSERT_TRUE(computeDerivatives(S, forward, s0, J, monitor, progress));
  EXPECT_NE(J(3, 0), 0.0f);
  EXPECT_NE(J(7, 0), 0.0f);

  // With the masking switch off the mask is not honoured.
  S.header.maskingOn = core::kFalse;
  computeResiduals(S, r);
  EXPECT_NE(r[7], 0.0f);
}

TEST(Residuals, LinearColumnsUseTheRelativeDifferenceAndErrorsWeightThem) {
  Sounding S;
  test::makeSounding(S, {1.0f, 2.0f}, 2, 1, 2, {100.0f, 5.0f}, {});
  BlendedLayers forward;
  forward(S);  // synthetics 100 and 5
  S.data().LOGDAT[1] = core::kFalse;
  S.data().VOLTS(0, 0) = 1000.0f;
  S.data().VOLTS(0, 1) = 4.0f;
  S.data().VOLTS(1, 1) = 0.0f;  // zero observed: no residual
  S.data().VOLTS(1, 0) = 100.0f;
  std::vector<float> r(4);
  computeResiduals(S, r);
  EXPECT_FLOAT_EQ(r[0], 1.0f);
  EXPECT_FLOAT_EQ(r[2], (4.0f - 5.0f) / 4.0f);
  EXPECT_EQ(r[3], 0.0f);
  // An error of 10 % of the observed value: the log residual counts in
  // units of log10(1.1); values without an error bar take that one too.
  S.layer.errorWeighting = core::kTrue;
  S.data().UVOLTS(0, 0) = 100.0f;
  computeResiduals(S, r);
  EXPECT_FLOAT_EQ(r[0], 1.0f / std::log10(1.1f));
  EXPECT_FLOAT_EQ(r[2], (4.0f - 5.0f) / 4.0f / std::log10(1.1f));
}

// A routine whose fit never changes: every trial ties with the start.
struct ConstantFit {
  std::vector<std::vector<float>>* seen;
  void operator()(Sounding& S) const {
    BlendedLayers{nullptr, seen}(S);
    S.layer.RMS = 0.5f;
  }
};

TEST(InvertOnce, TiesGoToTheLaterTrial) {
  Sounding S;
  threeLayerCase(S, {50.0f, 50.0f, 50.0f}, {3.0f, 30.0f});
  std::vector<std::vector<float>> seen;
  zeva::test::ScriptedToolkit toolkit;
  RunMonitor monitor(toolkit);
  const std::vector<float> start = S.M.PAR;
  const IterationResult result = InvertOnce(S, ConstantFit{&seen}, monitor);
  ASSERT_EQ(result.trials, 4);
  const std::vector<float>& lastTrial = seen[1 + start.size() + 3];
  EXPECT_EQ(S.M.PAR, lastTrial);
  EXPECT_NE(S.M.PAR, start);
  EXPECT_NE(S.M.PAR, seen[1 + start.size() + 2]);
}

// Polls come one per derivative run, one per trial, and one after the search.
class Interrupted : public ::testing::Test {
 protected:
  void SetUp() override {
    threeLayerCase(reference, {50.0f, 50.0f, 50.0f}, {3.0f, 30.0f});
    zeva::test::ScriptedToolkit toolkit;
    RunMonitor monitor(toolkit);
    uninterrupted = InvertOnce(reference, BlendedLayers{}, monitor);
    ASSERT_GT(uninterrupted.trials, 1);
  }
  // Runs the iteration with an interrupt at `poll` and returns the PAR of
  // every forward run.
  std::vector<std::vector<float>> runWithInterruptAt(int poll) {
    threeLayerCase(S, {50.0f, 50.0f, 50.0f}, {3.0f, 30.0f});
    S.layer.resolutionValid = core::kTrue;
    std::vector<std::vector<float>> seen;
    zeva::test::ScriptedToolkit toolkit;
    toolkit.interruptAtPoll = poll;
    RunMonitor monitor(toolkit);
    InvertOnce(S, BlendedLayers{nullptr, &seen}, monitor);
    EXPECT_TRUE(monitor.interrupted());
    EXPECT_FALSE(isSet(S.layer.resolutionValid));
    // The synthetics belong to the model kept.
    Sounding copy;
    threeLayerCase(copy, {50.0f, 50.0f, 50.0f}, {3.0f, 30.0f});
    copy.M.PAR = S.M.PAR;
    BlendedLayers{}(copy);
    EXPECT_EQ(copy.SVOLT, S.SVOLT);
    EXPECT_EQ(copy.layer.RMS, S.layer.RMS);
    return seen;
  }
  Sounding reference, S;
  IterationResult uninterrupted;
  static constexpr int kFree = 5;
};

TEST_F(Interrupted, DuringTheDerivativesLeavesTheModelUnchanged) {
  runWithInterruptAt(2);
  EXPECT_EQ(S.M.PAR, (std::vector<float>{50.0f, 50.0f, 50.0f, 3.0f, 30.0f}));
}

TEST_F(Interrupted, DuringTheSearchKeepsTheTrialUnderWay) {
  const auto seen = runWithInterruptAt(kFree + 2);
  EXPECT_EQ(S.M.PAR, seen[1 + kFree + 1]);
}

TEST_F(Interrupted, AfterTheSearchKeepsTheAdoptedModelWithoutResolution) {
  runWithInterruptAt(kFree + uninterrupted.trials + 1);
  EXPECT_EQ(S.M.PAR, reference.M.PAR);
}

TEST(InvertOnce, ResolutionMatrixOfAWellDeterminedModelIsNearTheIdentity) {
  Sounding S;
  threeLayerCase(S, {95.0f, 11.0f, 280.0f}, {5.5f, 18.0f});
  zeva::test::ScriptedToolkit toolkit;
  RunMonitor monitor(toolkit);
  InvertOnce(S, BlendedLayers{}, monitor);
  ASSERT_TRUE(isSet(S.layer.resolutionValid));
  ASSERT_EQ(S.RESOLV.size(), 15u);
  // Packed upper triangle column by column: diagonal j at j (j + 3) / 2.
  for (int j = 0; j < 5; ++j) {
    const float diagonal = S.RESOLV[static_cast<std::size_t>(j * (j + 3) / 2)];
    EXPECT_GE(diagonal, 0.0f);
    EXPECT_LE(diagonal, 1.0f);
  }
  EXPECT_GT(S.RESOLV[0], 0.9f);  // the first layer is seen by every short spacing
}

TEST(InvertOnce, AFixedParameterStaysFixedUnderTheRoughnessPenalty) {
  Sounding S;
  threeLayerCase(S, {50.0f, 50.0f, 50.0f}, {3.0f, 30.0f});
  S.model.LROUGH = core::kTrue;
  S.M.LFIX[1] = core::kTrue;
  zeva::test::ScriptedToolkit toolkit;
  RunMonitor monitor(toolkit);
  for (int iteration = 0; iteration < 3; ++iteration) InvertOnce(S, BlendedLayers{}, monitor);
  EXPECT_EQ(S.M.PAR[1], 50.0f);
  EXPECT_NE(S.M.PAR[0], 50.0f);
}

TEST(InvertOnce, ErrorWeightingDiscountsAReadingWithALargeError) {
  auto invert = [](bool weighting) {
    Sounding S;
    threeLayerCase(S, {50.0f, 50.0f, 50.0f}, {3.0f, 30.0f});
    S.data().VOLTS(12, 0) *= 3.0f;  // an outlier
    for (float& error : S.data().UVOLTS.elements()) error = 0.01f;
    S.data().UVOLTS(12, 0) = 100.0f;
    S.layer.errorWeighting = core::logical(weighting);
    zeva::test::ScriptedToolkit toolkit;
    RunMonitor monitor(toolkit);
    core::InversionSettings settings;
    settings.iterationLimit = 15;
    settings.fitFloorPercent = 0.0f;
    InvertMany(S, BlendedLayers{}, settings, monitor, 1);
    return maxLogError(S, {100.0f, 10.0f, 300.0f, 5.0f, 20.0f});
  };
  const float weighted = invert(true);
  EXPECT_LT(weighted, std::log10(1.05f));
  EXPECT_LT(weighted, invert(false));
}

TEST(InvertOnce, InconsistentArraysAreRefusedWithoutChange) {
  Sounding S;
  threeLayerCase(S, {50.0f, 50.0f, 50.0f}, {3.0f, 30.0f});
  S.data().LOGDAT.clear();
  const std::vector<float> start = S.M.PAR;
  int calls = 0;
  zeva::test::ScriptedToolkit toolkit;
  RunMonitor monitor(toolkit);
  EXPECT_EQ(InvertOnce(S, BlendedLayers{&calls}, monitor).status, kInconsistentSounding);
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(S.M.PAR, start);
}

TEST(InvertOnce, AModelTooLargeForTheWorkArraysIsRefusedWithoutChange) {
  Sounding S;
  test::makeSounding(S, test::logSpacings(1.0f, 100.0f, 10), 1, 1, 1, {10.0f}, {});
  // 4000 layers, sized by hand: the normal equations alone would need 768 MB.
  S.model.NLAYER = 4000;
  S.model.NPAR = core::parameterCount(4000, 1);
  const auto P = static_cast<std::size_t>(S.model.NPAR);
  S.M.PAR.assign(P, 10.0f);
  S.M.PARU.assign(P, 0.0f);
  S.M.PARD.assign(P, 0.0f);
  S.M.LFIX.assign(P, core::kFalse);
  S.M.LMTP.assign(P, core::kFalse);
  int calls = 0;
  zeva::test::ScriptedToolkit toolkit;
  RunMonitor monitor(toolkit);
  EXPECT_EQ(InvertOnce(S, BlendedLayers{&calls}, monitor).status, kWorkArrayAllocationFailed);
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(S.M.PAR, std::vector<float>(P, 10.0f));

  // The driver stops on the status and says so.
  core::InversionSettings settings;
  const InvertManyResult result = InvertMany(S, BlendedLayers{&calls}, settings, monitor, 1);
  EXPECT_EQ(result.status, kWorkArrayAllocationFailed);
  EXPECT_EQ(result.iterations, 1);
}

TEST(InvertMany, NoDataOrNoLayersReturnAtOnce) {
  Sounding S;
  int calls = 0;
  zeva::test::ScriptedToolkit toolkit;
  RunMonitor monitor(toolkit);
  EXPECT_EQ(InvertMany(S, BlendedLayers{&calls}, {}, monitor, 1).iterations, 0);
  EXPECT_EQ(InvertOnce(S, BlendedLayers{&calls}, monitor).status, 0);
  EXPECT_EQ(calls, 0);
  EXPECT_TRUE(toolkit.statusTexts.empty());
}

TEST(InvertMany, WithALimitOfZeroRunsTheForwardModelOnceAndNoIteration) {
  Sounding S;
  threeLayerCase(S, {50.0f, 50.0f, 50.0f}, {3.0f, 30.0f});
  int calls = 0;
  zeva::test::ScriptedToolkit toolkit;
  RunMonitor monitor(toolkit);
  core::InversionSettings settings;
  settings.iterationLimit = 0;
  const InvertManyResult result = InvertMany(S, BlendedLayers{&calls}, settings, monitor, 3);
  EXPECT_EQ(result.iterations, 0);
  EXPECT_EQ(calls, 1);  // the closing run is of the model just run
  ASSERT_EQ(toolkit.statusTexts.size(), 1u);
  EXPECT_EQ(toolkit.statusTexts[0], fitStatusText(S.layer.PCTERR));
  EXPECT_EQ(toolkit.redraws, 0);
}

TEST(InvertMany, AFitAlreadyBelowTheFloorStopsAfterTheFirstIteration) {
  Sounding S;
  threeLayerCase(S, kTrueLayers, kTrueThicknesses);
  zeva::test::ScriptedToolkit toolkit;
  RunMonitor monitor(toolkit);
  const InvertManyResult result = InvertMany(S, BlendedLayers{}, {}, monitor, 1);
  EXPECT_EQ(result.iterations, 1);
  EXPECT_EQ(toolkit.statusTexts.size(), 2u);
  EXPECT_EQ(toolkit.redraws, 1);
}

TEST(InvertMany, StopsWhenAnIterationImprovesTheFitByLessThanTheRatio) {
  Sounding S;
  threeLayerCase(S, {50.0f, 50.0f, 50.0f}, {3.0f, 30.0f});
  zeva::test::ScriptedToolkit toolkit;
  RunMonitor monitor(toolkit);
  core::InversionSettings settings;
  settings.improvementRatio = 1.0e-6f;  // demands a millionfold improvement
  EXPECT_EQ(InvertMany(S, BlendedLayers{}, settings, monitor, 1).iterations, 1);
}

TEST(InvertMany, ReportsAnInterruptAndRunsTheForwardModelOnceMore) {
  Sounding S;
  threeLayerCase(S, {50.0f, 50.0f, 50.0f}, {3.0f, 30.0f});
  zeva::test::ScriptedToolkit toolkit;
  toolkit.interruptAtPoll = 3;  // in the derivatives of the first iteration
  RunMonitor monitor(toolkit);
  int calls = 0;
  const InvertManyResult result = InvertMany(S, BlendedLayers{&calls}, {}, monitor, 1);
  EXPECT_TRUE(result.interrupted);
  EXPECT_EQ(result.iterations, 1);
  EXPECT_FALSE(monitor.interrupted());  // reset for the next run
  EXPECT_EQ(toolkit.redraws, 0);
  EXPECT_EQ(toolkit.statusTexts.size(), 1u);
  EXPECT_EQ(S.M.PAR, (std::vector<float>{50.0f, 50.0f, 50.0f, 3.0f, 30.0f}));
  // Start of the run and three derivatives; the start of the iteration, its
  // closing run and the driver's are all of the starting model.
  EXPECT_EQ(calls, 4);
}

TEST(FitStatusText, IsEightCharactersWithTwoDecimalsThenPercentRms) {
  EXPECT_EQ(fitStatusText(3.0456f), "    3.05% RMS");
  EXPECT_EQ(fitStatusText(123.4f), "  123.40% RMS");
  EXPECT_EQ(fitStatusText(0.0f), "    0.00% RMS");
}

TEST(Progress, ShowsOnlyWhenTheDerivativesWouldTakeMoreThanTwoSeconds) {
  auto run = [](double secondsPerReading, zeva::test::ScriptedToolkit& toolkit) {
    Sounding S;
    threeLayerCase(S, {50.0f, 50.0f, 50.0f}, {3.0f, 30.0f});
    double now = 0.0;
    RunMonitor monitor(toolkit, [&] { return now += secondsPerReading; });
    InvertOnce(S, BlendedLayers{}, monitor);
  };
  zeva::test::ScriptedToolkit quick;
  run(0.01, quick);
  EXPECT_TRUE(quick.progressTexts.empty());

  zeva::test::ScriptedToolkit slow;
  run(1.0, slow);
  ASSERT_GE(slow.progressTexts.size(), 9u);
  EXPECT_EQ(slow.progressTexts.front(), kDerivativeLabel);
  EXPECT_EQ(slow.progressTexts[1], kDerivativeLabel);
  EXPECT_EQ(slow.progressTexts[6], kSearchLabel);
  EXPECT_EQ(slow.progressTexts.back(), kSearchLabel);
  EXPECT_FALSE(slow.progressVisible);
}

}  // namespace
}  // namespace zeva::inversion
