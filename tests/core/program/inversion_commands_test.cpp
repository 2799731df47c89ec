// The inversion commands and Transfer Synthetic to Data on core::Program,
// with the forward routines of the data type.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/program/program.h"
#include "core/record/gaussian_deviate.h"
#include "forward/forward_choice.h"
#include "inversion/layered_inversion.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::core {
namespace {

void runForward(Program& program) {
  forward::chooseForwardRoutine(program.S(), program.toolkit())(program.S());
}

TEST(TransferSyntheticToData, BeforeAnyForwardRunShowsTheMessageAndChangesNothing) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  const Matrix<float> volts = program.S().data().VOLTS;
  EXPECT_FALSE(program.inversions().transferSyntheticToData());
  EXPECT_EQ(toolkit.texts(),
            std::vector<std::string>{"Sythetic data not valid. Please do forward model"});
  EXPECT_EQ(toolkit.messages[0].title, "Kelvorin Library Message");
  EXPECT_TRUE(toolkit.prompts.empty());
  EXPECT_EQ(program.S().data().VOLTS, volts);
  EXPECT_EQ(program.S().header.name, "Default Data");
}

TEST(TransferSyntheticToData, CancellingTheNoisePromptChangesNothing) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  runForward(program);
  const Matrix<float> volts = program.S().data().VOLTS;
  toolkit.numbers.push_back(std::nullopt);
  EXPECT_FALSE(program.inversions().transferSyntheticToData());
  EXPECT_EQ(toolkit.prompts, std::vector<std::string>{"Add random noise to Synthetic (%)"});
  EXPECT_EQ(program.S().data().VOLTS, volts);
  EXPECT_TRUE(isSet(program.S().layer.syntheticValid));
}

TEST(TransferSyntheticToData, WithoutNoiseTheDataBecomeTheSyntheticsAndTheFlagsAreCleared) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  Sounding& S = program.S();
  runForward(program);
  S.layer.resolutionValid = S.layer.equivalenceValid = S.layer.saved = kTrue;
  toolkit.numbers.push_back(0.0);
  ASSERT_TRUE(program.inversions().transferSyntheticToData());
  for (int i = 0; i < S.NDATA(); ++i)
    EXPECT_EQ(S.data().VOLTS(static_cast<std::size_t>(i), 0),
              S.SVOLT(static_cast<std::size_t>(i), 0));
  EXPECT_EQ(S.header.name, "Default Data*");
  EXPECT_FALSE(isSet(S.layer.syntheticValid));
  EXPECT_FALSE(isSet(S.layer.resolutionValid));
  EXPECT_FALSE(isSet(S.layer.equivalenceValid));
  EXPECT_FALSE(isSet(S.layer.saved));
  EXPECT_TRUE(program.SM().sharesDataWith(S));
  // A forward run now fits the transferred data exactly.
  runForward(program);
  EXPECT_LT(S.layer.PCTERR, 1.0e-3f);
}

TEST(TransferSyntheticToData, NoiseFollowsOneGaussianSequenceThroughTheRunTwoDrawsPerReading) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  Sounding& S = program.S();
  GaussianDeviate expected;  // the same sequence, from seed 0
  for (int transfer = 0; transfer < 2; ++transfer) {
    runForward(program);
    toolkit.numbers.push_back(5.0);
    ASSERT_TRUE(program.inversions().transferSyntheticToData());
    for (int i = 0; i < S.NDATA(); ++i) {
      const auto ii = static_cast<std::size_t>(i);
      const float g1 = expected.next();
      expected.next();  // the second column's draw, unused with one column
      // Resistivities take the noise in the logarithm, so they stay positive.
      EXPECT_FLOAT_EQ(S.data().VOLTS(ii, 0), std::exp(0.05f * g1) * S.SVOLT(ii, 0));
    }
  }
  EXPECT_EQ(S.header.name, "Default Data**");
}

TEST(TransferSyntheticToData, TheNameKeepsAtMostTwentyTwoCharactersBeforeTheStar) {
  struct Case {
    const char* name;
    const char* expected;
  };
  for (const Case& c : {Case{"ABCDEFGHIJKLMNOPQRSTUVWX", "ABCDEFGHIJKLMNOPQRSTUV*"},
                        Case{"Line 4 station 12      X", "Line 4 station 12*"}, Case{"", "*"}}) {
    zeva::test::ScriptedToolkit toolkit;
    Program program(toolkit);
    program.S().header.name.assign(c.name);
    runForward(program);
    toolkit.numbers.push_back(1.0);
    ASSERT_TRUE(program.inversions().transferSyntheticToData());
    EXPECT_EQ(program.S().header.name.trimmed(), c.expected);
  }
}

TEST(InversionCommands, MultipleIterationsOnTheDefaultSoundingImproveTheFitAndShowIt) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  runForward(program);
  const float startFit = program.S().layer.PCTERR;
  program.view().showLayered = false;
  const CommandValue<InversionRun> run = program.inversions().multipleIterations();
  ASSERT_TRUE(run);
  const InversionRun& result = *run;
  EXPECT_EQ(result.status, 0);
  EXPECT_GE(result.iterations, 1);
  EXPECT_LT(program.S().layer.PCTERR, startFit / 2.0f);
  ASSERT_EQ(toolkit.statusTexts.size(), static_cast<std::size_t>(result.iterations) + 1);
  EXPECT_EQ(toolkit.statusTexts.back(), inversion::fitStatusText(program.S().layer.PCTERR));
  EXPECT_TRUE(program.view().showLayered);
  EXPECT_FALSE(isSet(program.S().layer.saved));
  EXPECT_TRUE(isSet(program.S().layer.resolutionValid));
}

TEST(InversionCommands, SingleIterationShowsTheFitOnce) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  program.S().layer.equivalenceValid = kTrue;
  EXPECT_EQ(program.inversions().singleIteration()->iterations, 1);
  ASSERT_EQ(toolkit.statusTexts.size(), 1u);
  EXPECT_NE(toolkit.statusTexts[0].find("% RMS"), std::string::npos);
  EXPECT_FALSE(isSet(program.S().layer.equivalenceValid));
}

TEST(InversionCommands, IpOnlyWithoutIpParametersIsRefusedWithAMessage) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  const std::vector<float> start = program.S().M.PAR;
  EXPECT_FALSE(program.inversions().singleIteration(InversionScope::IpOnly));
  EXPECT_EQ(toolkit.lastText(), "IP inversion needs IP data and a model with IP parameters");
  EXPECT_EQ(program.S().M.PAR, start);
}

TEST(InversionCommands, MarineTemDataAreRefusedWithTheNoForwardModelMessage) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  program.S().header.dataType.assign("Marine TEM Inline E");
  const std::vector<float> start = program.S().M.PAR;
  EXPECT_FALSE(program.inversions().multipleIterations());
  EXPECT_FALSE(program.inversions().singleIteration());
  EXPECT_EQ(toolkit.texts(),
            std::vector<std::string>(2, std::string(forward::kNoForwardModelMessage)));
  EXPECT_EQ(program.S().M.PAR, start);
  EXPECT_TRUE(toolkit.statusTexts.empty());
}

}  // namespace
}  // namespace zeva::core
