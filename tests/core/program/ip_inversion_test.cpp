// A resistivity/IP Schlumberger sounding of a known 4-layer model (IP effect
// in percent frequency effect), recovered by the restricted runs, which must
// leave the other half of the model alone, and by the combined run.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/program/program.h"
#include "forward/forward_choice.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::core {
namespace {

constexpr int kReadings = 30;
const std::vector<float> kTrueModel = {100.0f, 20.0f, 200.0f, 50.0f,  // ohm-m
                                       1.0f,   10.0f, 2.0f,   5.0f,   // pfe
                                       3.0f,   10.0f, 30.0f};         // m

class IpSounding : public ::testing::Test {
 protected:
  void SetUp() override {
    Sounding& S = program.S();
    S.header.name.assign("IP test");
    S.header.dataType.assign("Schlumberger Array");
    S.header.ipUnit.assign("(pfe)");
    S.header.NDATA = kReadings;
    S.header.NCOMP = 2;
    S.header.NGEOM = 2;
    S.header.NSETS = 1;
    S.header.NSHIFT = 0;
    S.header.voltageAndCurrent = kFalse;
    S.header.maskingOn = kFalse;
    ASSERT_TRUE(S.allocateData());
    for (int i = 0; i < kReadings; ++i) {
      const float ab2 = std::pow(1000.0f, static_cast<float>(i) / (kReadings - 1));
      S.data().TIME(idx(i), 0) = ab2;
      S.data().TIME(idx(i), 1) = ab2 / 5.0f;
    }
    S.data().LOGDAT = {kTrue, kTrue};
    S.data().NSET[0] = kReadings;
    S.model.NLAYER = 4;
    S.model.NPK = 2;
    ASSERT_TRUE(S.allocateModel());
    S.M.PAR = kTrueModel;
    runForward();
    for (int c = 0; c < 2; ++c)
      for (int i = 0; i < kReadings; ++i) S.data().VOLTS(idx(i), idx(c)) = S.SVOLT(idx(i), idx(c));
    S.data().LMASK(5, 1) = kTrue;  // a user's mask, honoured only with masking on
    S.M.LFIX[10] = kTrue;          // a user's fix: the deepest thickness
    S.shareDataWith(program.SM());
  }

  static std::size_t idx(int value) { return static_cast<std::size_t>(value); }

  void runForward() { forward::chooseForwardRoutine(program.S(), toolkit)(program.S()); }

  // The RMS relative misfit of data column c, over all readings.
  float columnMisfit(int c) {
    runForward();
    float sum = 0.0f;
    for (int i = 0; i < kReadings; ++i) {
      const float o = program.S().data().VOLTS(idx(i), idx(c));
      const float d = program.S().SVOLT(idx(i), idx(c)) / o - 1.0f;
      sum += d * d;
    }
    return std::sqrt(sum / kReadings);
  }

  // Every parameter whose resolution diagonal is at least 0.9 is within 5 %
  // of the truth; returns how many there were.
  int expectResolvedParametersRecovered() {
    const Sounding& S = program.S();
    EXPECT_TRUE(isSet(S.layer.resolutionValid));
    int resolved = 0;
    for (int j = 0; j < S.NPAR(); ++j) {
      const float diagonal = S.RESOLV[idx(j * (j + 3) / 2)];
      EXPECT_GE(diagonal, 0.0f);
      EXPECT_LE(diagonal, 1.0f);
      if (diagonal < 0.9f) continue;
      ++resolved;
      EXPECT_NEAR(S.M.PAR[idx(j)] / kTrueModel[idx(j)], 1.0f, 0.05f)
          << "parameter " << j + 1 << " with resolution " << diagonal;
    }
    return resolved;
  }

  void expectUserFixesAndMasksBack() {
    const Sounding& S = program.S();
    for (int j = 0; j < S.NPAR(); ++j) EXPECT_EQ(isSet(S.M.LFIX[idx(j)]), j == 10) << j;
    for (int c = 0; c < 2; ++c)
      for (int i = 0; i < kReadings; ++i)
        EXPECT_EQ(isSet(S.data().LMASK(idx(i), idx(c))), i == 5 && c == 1);
    EXPECT_FALSE(isSet(S.header.maskingOn));
  }

  zeva::test::ScriptedToolkit toolkit;
  Program program{toolkit};
};

TEST_F(IpSounding, ResistivityOnlyRunRecoversTheResistivitiesAndLeavesTheIpParameters) {
  std::vector<float>& par = program.S().M.PAR;
  par = {120.0f, 17.0f, 170.0f, 60.0f, 1.0f, 10.0f, 2.0f, 5.0f, 3.3f, 9.0f, 30.0f};
  const std::vector<float> start = par;
  const float startMisfit = columnMisfit(0);
  const CommandValue<InversionRun> result =
      program.inversions().multipleIterations(InversionScope::ResistivityOnly);
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 0);
  EXPECT_LE(result->iterations, 3);
  for (int j = 4; j < 8; ++j) EXPECT_EQ(par[idx(j)], start[idx(j)]);
  EXPECT_LT(columnMisfit(0), startMisfit / 10.0f);
  EXPECT_LT(columnMisfit(0), 0.015f);
  // The outer resistivities, and the conductance of the thin conductive
  // second layer (not its resistivity and thickness apart).
  for (int j : {0, 2, 3}) EXPECT_NEAR(par[idx(j)] / kTrueModel[idx(j)], 1.0f, 0.05f) << j + 1;
  EXPECT_NEAR((par[9] / par[1]) / (10.0f / 20.0f), 1.0f, 0.05f);
  expectUserFixesAndMasksBack();
}

TEST_F(IpSounding, IpOnlyRunRecoversTheIpParametersAndLeavesTheResistivityModel) {
  std::vector<float>& par = program.S().M.PAR;
  for (int j = 4; j < 8; ++j) par[idx(j)] = 4.0f;
  const std::vector<float> start = par;
  EXPECT_EQ(program.inversions().multipleIterations(InversionScope::IpOnly)->status, 0);
  for (int j : {0, 1, 2, 3, 8, 9, 10}) EXPECT_EQ(par[idx(j)], start[idx(j)]);
  EXPECT_LT(columnMisfit(1), 0.01f);
  EXPECT_GE(expectResolvedParametersRecovered(), 3);
  expectUserFixesAndMasksBack();
}

TEST_F(IpSounding, CombinedRunRecoversBothHalvesOfTheModel) {
  std::vector<float>& par = program.S().M.PAR;
  par = {130.0f, 15.0f, 150.0f, 65.0f, 2.0f, 6.0f, 3.0f, 4.0f, 3.6f, 8.0f, 30.0f};
  EXPECT_EQ(program.inversions().multipleIterations()->status, 0);
  EXPECT_LT(program.S().layer.PCTERR, 1.0f);  // the fit floor of the default settings
  EXPECT_GE(expectResolvedParametersRecovered(), 6);
  EXPECT_EQ(par[10], 30.0f);  // the user's fix holds
}

TEST_F(IpSounding, SingleIterationForIpOnlyMovesOnlyTheIpParameters) {
  std::vector<float>& par = program.S().M.PAR;
  for (int j = 4; j < 8; ++j) par[idx(j)] = 4.0f;
  par[0] = 150.0f;
  const std::vector<float> start = par;
  ASSERT_TRUE(program.inversions().singleIteration(InversionScope::IpOnly));
  for (int j : {0, 1, 2, 3, 8, 9, 10}) EXPECT_EQ(par[idx(j)], start[idx(j)]);
  EXPECT_NE(par[5], 4.0f);
  expectUserFixesAndMasksBack();
}

}  // namespace
}  // namespace zeva::core
