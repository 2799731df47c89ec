// Estimate Layered Model for the electromagnetic families, and the smooth
// model's refusal to pass off a fit that went nowhere as a result.

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "core/program/example_soundings.h"
#include "core/program/program.h"
#include "core/record/data_type.h"
#include "inversion/smooth_model.h"
#include "tests/inversion/mt_soundings.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::core {
namespace {

struct FamilyCase {
  std::string name;
  std::function<void(Program&)> make;  // data made by the program, model the true earth
};

void PrintTo(const FamilyCase& c, std::ostream* out) { *out << c.name; }

void exampleOf(Program& program, std::string_view type) {
  ASSERT_TRUE(makeExampleSounding(DataTypeText(type), program.current()));
}

// The example's geometry over the layered earth its observed data come from
// (`par`: resistivities, then thicknesses); the test makes that earth's
// response the data, so the estimate has to find boundaries, not the
// example's uniform starting model.
void earthOf(Program& program, std::string_view type, std::vector<float> par) {
  exampleOf(program, type);
  Sounding& S = program.S();
  ASSERT_EQ(static_cast<std::size_t>(2 * S.NLAYER() - 1), par.size());
  S.M.PAR = std::move(par);
}

class EstimateThenInvert : public ::testing::TestWithParam<FamilyCase> {};

// From the data alone: the estimate, then Multiple Iterations, with 2 %
// noise transferred onto the data.
TEST_P(EstimateThenInvert, EndsBelowThreePercent) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  GetParam().make(program);
  ASSERT_TRUE(program.model().forwardModel());
  toolkit.numbers.push_back(2.0);
  ASSERT_TRUE(program.inversions().transferSyntheticToData());

  ASSERT_TRUE(program.estimation().estimateLayeredModel()) << toolkit.lastText();
  const Sounding& S = program.S();
  EXPECT_GE(S.NLAYER(), 2);
  EXPECT_TRUE(isSet(S.layer.syntheticValid));
  const float estimated = S.layer.PCTERR;
  ASSERT_TRUE(program.inversions().multipleIterations());
  EXPECT_LT(S.layer.PCTERR, 3.0f) << "estimate " << estimated << " %, " << S.NLAYER() << " layers";
  RecordProperty("estimate_pcterr", std::to_string(estimated));
  RecordProperty("inverted_pcterr", std::to_string(S.layer.PCTERR));
}

INSTANTIATE_TEST_SUITE_P(
    EveryFamilyWithAForwardModel, EstimateThenInvert,
    ::testing::Values(
        FamilyCase{"WideBandMt",
                   [](Program& program) {
                     inversion::test::makeWideBandMt(program.S(), inversion::test::kConductorEarth,
                                                     0.0f);
                   }},
        FamilyCase{"MaxMin",
                   [](Program& p) {
                     earthOf(p, type::kHorizontalCoplanar, {300.0f, 30.0f, 40.0f});
                   }},
        FamilyCase{"EmConductivity",
                   [](Program& p) {
                     earthOf(p, type::kEmConductivity, {20.0f, 80.0f, 10.0f, 3.0f, 10.0f});
                   }},
        FamilyCase{"CentralLoopTem",
                   [](Program& p) {
                     earthOf(p, type::kCentralLoopTem, {100.0f, 10.0f, 1000.0f, 40.0f, 60.0f});
                   }}),
    [](const ::testing::TestParamInfo<FamilyCase>& info) { return info.param.name; });

TEST(EstimateLayeredModel, MtEstimateFollowsTheConductor) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  inversion::test::makeWideBandMt(program.S(), inversion::test::kConductorEarth, 0.0f);
  ASSERT_TRUE(program.estimation().estimateLayeredModel());
  const Sounding& S = program.S();
  // Some layer of the estimate lies between 300 and 800 m and is the most
  // conductive one.
  float least = 1e30f, depthOfLeast = 0.0f, top = 0.0f;
  for (int j = 0; j < S.NLAYER(); ++j) {
    const float bottom = j + 1 < S.NLAYER() ? top + S.M.PAR[S.geometryIndex(j)] : 2.0f * top;
    if (S.M.PAR[static_cast<std::size_t>(j)] < least)
      least = S.M.PAR[static_cast<std::size_t>(j)], depthOfLeast = 0.5f * (top + bottom);
    top = bottom;
  }
  EXPECT_LT(least, 10.0f);
  EXPECT_GT(depthOfLeast, 150.0f);
  EXPECT_LT(depthOfLeast, 1600.0f);
}

TEST(EstimateLayeredModel, TemDataWithoutAForwardModelAreRefused) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  exampleOf(program, type::kMarineTemInline);
  const std::vector<float> model = program.S().M.PAR;
  EXPECT_FALSE(program.estimation().estimateLayeredModel());
  EXPECT_EQ(toolkit.lastText().rfind("CANNOT ESTIMATE MODEL FOR Marine TEM Inline E", 0), 0u);
  EXPECT_EQ(program.S().M.PAR, model);
}

TEST(EstimateSmoothModel, AFitThatGoesNowhereIsSaidAndNotShown) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  inversion::test::makeWideBandMt(program.S());
  // Nothing left to fit, and no floor to call that a fit.
  for (Logical& flag : program.S().data().LMASK.elements()) flag = kTrue;
  program.current().settings.fitFloorPercent = 0.0f;
  program.view().showSmooth = false;
  EXPECT_FALSE(program.estimation().estimateSmoothModel());
  EXPECT_EQ(toolkit.lastText(), inversion::kSmoothNotImproved);
  EXPECT_TRUE(program.SM().hasModel());
  EXPECT_FALSE(isSet(program.SM().layer.syntheticValid));
  EXPECT_FALSE(program.view().showSmooth);
}

}  // namespace
}  // namespace zeva::core
