#include "core/program/em_example_soundings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string_view>

#include "core/program/example_soundings.h"
#include "core/program/program.h"
#include "core/record/data_type.h"
#include "forward/em_conductivity_forward.h"
#include "forward/maxmin_forward.h"
#include "forward/mt_forward.h"
#include "forward/tem_late_time.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::core {
namespace {

constexpr std::string_view kForwardTypes[] = {
    "Magnetotelluric Data", "MT Data xy, yx, inv.", "Controlled Source MT",
    "Sea Floor MT data TE", "Sea Floor MT data TM", "Horizontal Coplanar",
    "Vertical Coplanar",    "Vertical Coaxial",     "EM Conductivity Data"};
constexpr std::string_view kTemTypes[] = {
    "Central Loop TEM",    "Coincident Loop TEM", "Fixed Loop TEM",      "Fixed Loop Radial H",
    "Fixed Loop Horiz. H", "Cicular Loop Rad. H", "Marine TEM Inline E", "Marine TEM B-Side E"};

class EmExample : public ::testing::TestWithParam<std::string_view> {};

TEST_P(EmExample, IsAValidUnsavedSoundingOfItsType) {
  CurrentSounding current;
  ASSERT_TRUE(makeExampleSounding(DataTypeText(GetParam()), current));
  const Sounding& S = current.S;
  EXPECT_TRUE(S.header.dataType == GetParam());
  EXPECT_EQ(S.header.name.trimmed().back(), '*');
  EXPECT_FALSE(isSet(S.layer.saved));
  EXPECT_TRUE(S.sharesDataWith(current.SM));
  EXPECT_EQ(S.data().TIME.rows(), static_cast<std::size_t>(S.NDATA()));
  EXPECT_EQ(S.M.PAR.size(), static_cast<std::size_t>(parameterCount(S.NLAYER(), 1)));
  for (float v : S.data().VOLTS.elements()) EXPECT_TRUE(std::isfinite(v));
  for (float t : S.data().TIME.column(0)) EXPECT_GT(t, 0.0f);
}

INSTANTIATE_TEST_SUITE_P(MtMaxMinAndConductivity, EmExample, ::testing::ValuesIn(kForwardTypes));
INSTANTIATE_TEST_SUITE_P(Tem, EmExample, ::testing::ValuesIn(kTemTypes));

class ForwardExample : public ::testing::TestWithParam<std::string_view> {};

// The starting model of the examples is a poor but finite fit of the data.
TEST_P(ForwardExample, StartingModelGivesAFiniteFit) {
  CurrentSounding current;
  ASSERT_TRUE(makeExampleSounding(DataTypeText(GetParam()), current));
  Sounding& S = current.S;
  zeva::test::ScriptedToolkit toolkit;
  switch (familyOf(S.header.dataType)) {
    case Family::Magnetotelluric:
      forward::mtForward(S);
      break;
    case Family::MaxMin:
      forward::CalcMaxMin(S, toolkit);
      break;
    default:
      forward::emConductivityForward(S, toolkit);
      break;
  }
  EXPECT_TRUE(isSet(S.layer.syntheticValid));
  EXPECT_GT(S.layer.PCTERR, 0.5f);
  EXPECT_LT(S.layer.PCTERR, 1000.0f);
  EXPECT_TRUE(toolkit.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(MtMaxMinAndConductivity, ForwardExample,
                         ::testing::ValuesIn(kForwardTypes));

class TemExample : public ::testing::TestWithParam<std::string_view> {};

// The gates read 100 ohm-m early and 20 ohm-m late, and the sweep passes.
TEST_P(TemExample, LateTimeResistivityDescendsToTheBasement) {
  CurrentSounding current;
  ASSERT_TRUE(makeElectromagneticExample(DataTypeText(GetParam()), current));
  const auto rho = forward::lateTimeApparentResistivity(current.S);
  ASSERT_EQ(rho.size(), 20u);
  EXPECT_NEAR(rho.front(), 99.0f, 2.0f);
  EXPECT_NEAR(rho.back(), 22.0f, 1.0f);
  for (std::size_t i = 1; i < rho.size(); ++i) EXPECT_LT(rho[i], rho[i - 1]);
  EXPECT_FALSE(forward::sweepFrequencyProblem(current.S).has_value());
}

INSTANTIATE_TEST_SUITE_P(TypesWithoutATransientModel, TemExample,
                         ::testing::Values("Marine TEM Inline E", "Marine TEM B-Side E"));

class ModelledTemExample : public ::testing::TestWithParam<std::string_view> {};

// The loop types' examples are the transient of a layered earth: Multiple
// Iterations from the uniform start finds a model that fits them to the
// three figures they are rounded to.
TEST_P(ModelledTemExample, InvertsFromItsUniformStartToACloseFit) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  ASSERT_TRUE(makeExampleSounding(DataTypeText(GetParam()), program.current()));
  ASSERT_TRUE(program.model().forwardModel());
  EXPECT_GT(program.S().layer.PCTERR, 20.0f);
  ASSERT_TRUE(program.inversions().multipleIterations());
  EXPECT_LT(program.S().layer.PCTERR, 1.0f);
  EXPECT_FALSE(forward::sweepFrequencyProblem(program.S()).has_value());
}

INSTANTIATE_TEST_SUITE_P(LoopTypes, ModelledTemExample,
                         ::testing::Values("Central Loop TEM", "Coincident Loop TEM",
                                           "Fixed Loop TEM", "Fixed Loop Radial H",
                                           "Fixed Loop Horiz. H", "Cicular Loop Rad. H"));

TEST(EmExample, OtherTypesAreLeftToTheirOwnExamples) {
  CurrentSounding current;
  current.S.header.name.assign("kept");
  EXPECT_FALSE(makeElectromagneticExample(DataTypeText("Wenner Array"), current));
  EXPECT_FALSE(makeElectromagneticExample(DataTypeText("No Such Type"), current));
  EXPECT_EQ(current.S.header.name.trimmed(), "kept");
}

}  // namespace
}  // namespace zeva::core
