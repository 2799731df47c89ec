#include "core/program/model_commands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/program/program.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::core {
namespace {

TEST(SetLayeredModel, IpParametersAndFixedFlagsTakeTheirPlacesInPar) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  program.S().layer.resolutionValid = kTrue;
  ASSERT_TRUE(program.model().setLayeredModel({.resistivity = {10.0f, 20.0f, 30.0f},
                                               .geometry = {5.0f, 15.0f},
                                               .depths = true,
                                               .ip = {1.0f, 2.0f, 3.0f},
                                               .fixed = {2, 8}}));
  const Sounding& S = program.S();
  EXPECT_EQ(S.NLAYER(), 3);
  EXPECT_EQ(S.NPK(), 2);
  EXPECT_EQ(S.NPAR(), 8);
  EXPECT_TRUE(isSet(S.model.depths));
  EXPECT_EQ(S.M.PAR, (std::vector<float>{10, 20, 30, 1, 2, 3, 5, 15}));
  EXPECT_EQ(S.M.LFIX, (std::vector<Logical>{0, kTrue, 0, 0, 0, 0, 0, kTrue}));
  EXPECT_EQ(S.M.LMTP, std::vector<Logical>(8, kFalse));
  EXPECT_FALSE(isSet(S.layer.resolutionValid));
  EXPECT_FALSE(isSet(S.layer.saved));
  EXPECT_TRUE(S.sharesDataWith(program.SM()));
}

struct Refusal {
  LayeredModelRequest request;
  std::string_view message;
};

class BadModel : public ::testing::TestWithParam<Refusal> {};

TEST_P(BadModel, IsRefusedWithItsMessageAndChangesNothing) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  const std::vector<float> before = program.S().M.PAR;
  EXPECT_FALSE(program.model().setLayeredModel(GetParam().request));
  EXPECT_EQ(toolkit.texts(), std::vector<std::string>{std::string(GetParam().message)});
  EXPECT_EQ(program.S().M.PAR, before);
  EXPECT_TRUE(isSet(program.S().layer.saved));
}

INSTANTIATE_TEST_SUITE_P(
    Lists, BadModel,
    ::testing::Values(
        Refusal{{}, kNoLayersMessage},
        Refusal{{.resistivity = {10, 20}, .geometry = {}}, kGeometryCountMessage},
        Refusal{{.resistivity = {10}, .geometry = {5}}, kGeometryCountMessage},
        Refusal{{.resistivity = {10, 20}, .geometry = {5}, .ip = {1}}, kIpCountMessage},
        Refusal{{.resistivity = {10, -20}, .geometry = {5}}, kNonPositiveMessage},
        Refusal{{.resistivity = {10, 20}, .geometry = {0}}, kNonPositiveMessage},
        Refusal{{.resistivity = {10, NAN}, .geometry = {5}}, kNonPositiveMessage},
        Refusal{{.resistivity = {10, 20}, .geometry = {5}, .ip = {1, INFINITY}}, kIpValueMessage},
        Refusal{{.resistivity = {1, 2, 3}, .geometry = {5, 5}, .depths = true}, kDepthOrderMessage},
        Refusal{{.resistivity = {1, 2}, .geometry = {5}, .fixed = {4}}, kFixedIndexMessage},
        Refusal{{.resistivity = {1, 2}, .geometry = {5}, .fixed = {0}}, kFixedIndexMessage}));

// What the synthetics are is the forward routines' business; the command
// computes them for the current model, marks the sounding changed and redraws.
TEST(ForwardModel, ComputesTheSyntheticsMarksTheSoundingChangedAndRedraws) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  ASSERT_TRUE(program.model().forwardModel());
  EXPECT_TRUE(isSet(program.S().layer.syntheticValid));
  EXPECT_NEAR(program.S().SVOLT(21, 0), 15.0f, 0.015f);  // the last segment keeps the level
  EXPECT_FALSE(isSet(program.S().layer.saved));
  EXPECT_GE(toolkit.redraws, 1);
}

}  // namespace
}  // namespace zeva::core
