// Inversion of the MT, MaxMin and EM conductivity examples through the
// program's commands: the forward choice must hand each type its own routine,
// and the starting model must move toward the reference earth the data were
// made from.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "core/program/example_soundings.h"
#include "core/program/program.h"
#include "forward/forward_choice.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::core {
namespace {

class ElectromagneticInversion : public ::testing::TestWithParam<std::string_view> {};

TEST_P(ElectromagneticInversion, MultipleIterationsFitTheExampleData) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  ASSERT_TRUE(makeExampleSounding(DataTypeText(GetParam()), program.current()));
  Sounding& S = program.S();
  forward::chooseForwardRoutine(S, toolkit)(S);
  const float before = S.layer.PCTERR;
  const auto outcome = program.inversions().multipleIterations();
  ASSERT_TRUE(outcome);
  EXPECT_TRUE(isSet(S.layer.syntheticValid));
  EXPECT_LT(S.layer.PCTERR, 0.1f * before) << "from " << before;
  for (const auto& message : toolkit.messages) ADD_FAILURE() << message.text;
}

INSTANTIATE_TEST_SUITE_P(ExampleSoundings, ElectromagneticInversion,
                         ::testing::Values("Magnetotelluric Data", "Controlled Source MT",
                                           "Sea Floor MT data TE", "Horizontal Coplanar",
                                           "Vertical Coplanar", "Vertical Coaxial",
                                           "EM Conductivity Data"));

TEST(ElectromagneticForward, ForwardCommandRefusesMarineTemDataAndChangesNothing) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  ASSERT_TRUE(makeExampleSounding(DataTypeText("Marine TEM B-Side E"), program.current()));
  Sounding& S = program.S();
  S.layer.errorWeighting = kTrue;
  S.layer.weightedFit = 3.0f;
  const Matrix<float> synthetic = S.SVOLT;
  EXPECT_FALSE(program.model().forwardModel());
  EXPECT_EQ(S.SVOLT, synthetic);
  EXPECT_EQ(S.layer.weightedFit, 3.0f);
  EXPECT_FALSE(isSet(S.layer.syntheticValid));
  EXPECT_EQ(toolkit.texts(),
            std::vector<std::string>{
                "TEM data have no forward model in this version; the sounding is unchanged"});
}

TEST(ElectromagneticForward, ForwardCommandModelsTheLoopTemTypes) {
  for (std::string_view type :
       {"Central Loop TEM", "Coincident Loop TEM", "Fixed Loop TEM", "Fixed Loop Radial H",
        "Fixed Loop Horiz. H", "Cicular Loop Rad. H"}) {
    zeva::test::ScriptedToolkit toolkit;
    Program program(toolkit);
    ASSERT_TRUE(makeExampleSounding(DataTypeText(type), program.current()));
    EXPECT_TRUE(program.model().forwardModel()) << type;
    EXPECT_TRUE(isSet(program.S().layer.syntheticValid)) << type;
    EXPECT_NE(program.S().SVOLT(0, 0), 0.0f) << type;
    EXPECT_TRUE(std::isfinite(program.S().layer.RMS)) << type;
    for (const auto& message : toolkit.messages) ADD_FAILURE() << type << ": " << message.text;
  }
}

}  // namespace
}  // namespace zeva::core
