// Inversion of Schlumberger soundings made with the DC resistivity forward
// routine from known layered models: exact data must be fitted and every
// well-resolved parameter recovered; data with 3 % Gaussian noise must be
// fitted to about their noise level.

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <vector>

#include "core/record/gaussian_deviate.h"
#include "forward/dc_resistivity_forward.h"
#include "inversion/layered_inversion.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::inversion {
namespace {

using core::Sounding;

struct LayeredCase {
  const char* name;
  std::vector<float> resistivities;
  std::vector<float> thicknesses;
};

void PrintTo(const LayeredCase& c, std::ostream* os) { *os << c.name; }

// A Schlumberger sounding of `count` readings, AB/2 log-spaced from 1 to
// 1000 m, MN a fifth of AB/2, with the data of the true model (and noise of
// `noisePercent` from a generator started at seed 0).
void syntheticSounding(Sounding& S, const LayeredCase& truth, int count, float noisePercent,
                       ui::Toolkit& toolkit) {
  S.header.dataType.assign("Schlumberger Array");
  S.header.NDATA = count;
  S.header.NCOMP = 1;
  S.header.NGEOM = 2;
  S.header.NSETS = 1;
  S.header.maskingOn = core::kTrue;
  ASSERT_TRUE(S.allocateData());
  for (int i = 0; i < count; ++i) {
    const float ab2 = std::pow(1000.0f, static_cast<float>(i) / static_cast<float>(count - 1));
    S.data().TIME(static_cast<std::size_t>(i), 0) = ab2;
    S.data().TIME(static_cast<std::size_t>(i), 1) = ab2 / 5.0f;
  }
  S.data().LOGDAT[0] = core::kTrue;
  S.data().NSET[0] = count;
  S.model.NLAYER = static_cast<int>(truth.resistivities.size());
  S.model.NPK = 1;
  ASSERT_TRUE(S.allocateModel());
  std::size_t k = 0;
  for (float value : truth.resistivities) S.M.PAR[k++] = value;
  for (float value : truth.thicknesses) S.M.PAR[k++] = value;
  forward::dcResistivityForward(S, toolkit);
  core::GaussianDeviate noise;
  for (int i = 0; i < count; ++i) {
    const auto ii = static_cast<std::size_t>(i);
    S.data().VOLTS(ii, 0) = S.SVOLT(ii, 0) * (1.0f + noisePercent / 100.0f * noise.next());
  }
}

// The flat start: every layer at the geometric mean of the apparent
// resistivities, boundaries spread evenly in log depth over the spacings.
void flatStart(Sounding& S) {
  float logSum = 0.0f;
  for (int i = 0; i < S.NDATA(); ++i)
    logSum += std::log10(S.data().VOLTS(static_cast<std::size_t>(i), 0));
  const float mean = std::pow(10.0f, logSum / static_cast<float>(S.NDATA()));
  const int nl = S.NLAYER();
  float depthAbove = 0.0f;
  for (int j = 0; j < nl; ++j) S.M.PAR[static_cast<std::size_t>(j)] = mean;
  for (int j = 0; j < nl - 1; ++j) {
    const float depth =
        0.5f * std::pow(1000.0f, static_cast<float>(j + 1) / static_cast<float>(nl));
    S.M.PAR[static_cast<std::size_t>(nl + j)] = depth - depthAbove;
    depthAbove = depth;
  }
}

float resolutionDiagonal(const Sounding& S, int j) {
  return S.RESOLV[static_cast<std::size_t>(j * (j + 3) / 2)];
}

class ExactData : public ::testing::TestWithParam<LayeredCase> {};

TEST_P(ExactData, AreFittedBelowOnePercentAndResolvedParametersRecoveredWithinFivePercent) {
  const LayeredCase& truth = GetParam();
  zeva::test::ScriptedToolkit toolkit;
  Sounding S;
  syntheticSounding(S, truth, 40, 0.0f, toolkit);
  flatStart(S);
  RunMonitor monitor(toolkit);
  const ForwardRoutine forward = [&](Sounding& s) { forward::dcResistivityForward(s, toolkit); };
  const InvertManyResult result = InvertMany(S, forward, core::InversionSettings{}, monitor, 1);
  ASSERT_EQ(result.status, 0);
  EXPECT_LT(S.layer.PCTERR, 1.0f);
  ASSERT_TRUE(core::isSet(S.layer.resolutionValid));

  std::vector<float> truePar = truth.resistivities;
  truePar.insert(truePar.end(), truth.thicknesses.begin(), truth.thicknesses.end());
  int resolved = 0;
  for (int j = 0; j < S.NPAR(); ++j) {
    const float diagonal = resolutionDiagonal(S, j);
    EXPECT_GE(diagonal, 0.0f) << "parameter " << j + 1;
    EXPECT_LE(diagonal, 1.0f) << "parameter " << j + 1;
    if (diagonal < 0.9f) continue;
    ++resolved;
    const auto jj = static_cast<std::size_t>(j);
    EXPECT_NEAR(S.M.PAR[jj] / truePar[jj], 1.0f, 0.05f)
        << "parameter " << j + 1 << " with resolution " << diagonal;
  }
  EXPECT_GE(resolved, 2);
}

TEST_P(ExactData, WithThreePercentNoiseAreFittedToTheNoiseLevel) {
  const LayeredCase& truth = GetParam();
  zeva::test::ScriptedToolkit toolkit;
  Sounding S;
  syntheticSounding(S, truth, 40, 3.0f, toolkit);
  flatStart(S);
  RunMonitor monitor(toolkit);
  const ForwardRoutine forward = [&](Sounding& s) { forward::dcResistivityForward(s, toolkit); };
  ASSERT_EQ(InvertMany(S, forward, core::InversionSettings{}, monitor, 1).status, 0);
  EXPECT_GT(S.layer.PCTERR, 2.0f);
  EXPECT_LT(S.layer.PCTERR, 3.6f);
  ASSERT_TRUE(core::isSet(S.layer.resolutionValid));
  for (int j = 0; j < S.NPAR(); ++j) {
    EXPECT_GE(resolutionDiagonal(S, j), 0.0f) << "parameter " << j + 1;
    EXPECT_LE(resolutionDiagonal(S, j), 1.0f) << "parameter " << j + 1;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Models, ExactData,
    ::testing::Values(LayeredCase{"ThreeLayers", {100.0f, 10.0f, 1000.0f}, {5.0f, 20.0f}},
                      LayeredCase{"FiveLayers",
                                  {50.0f, 200.0f, 20.0f, 100.0f, 500.0f},
                                  {2.0f, 5.0f, 10.0f, 30.0f}}),
    [](const ::testing::TestParamInfo<LayeredCase>& info) { return info.param.name; });

}  // namespace
}  // namespace zeva::inversion
