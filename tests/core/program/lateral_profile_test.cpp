// The laterally constrained inversion of a profile the program makes itself:
// 40 Schlumberger soundings with 3 % noise over a conductor whose bottom
// deepens along the line. Each sounding is first estimated and inverted
// alone, as a batch over the survey does; the profile is then inverted with
// its neighbours tied. The bottom of a conductor under a resistive cover is
// what the data resolve (its conductance, thickness over resistivity, fixes
// the curve's trough, and the top's depth the fall into it), so the bottom
// depth is the measure of recovery.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

#include "core/program/program.h"
#include "forward/forward_choice.h"
#include "forward/lateral_roughness.h"
#include "inversion/lateral_constrained_inversion.h"
#include "tests/support/scripted_toolkit.h"
#include "tests/support/synthetic_profile.h"

namespace zeva::core {
namespace {

using test::ProfileStation;

// A program working on a copy of S.
struct ProgramOn {
  explicit ProgramOn(const Sounding& S) : program(toolkit) {
    program.startUp();
    program.S() = S;
    program.S().detachData();
    program.S().shareDataWith(program.SM());
  }
  void invert() {
    const auto run = program.inversions().multipleIterations();
    EXPECT_TRUE(run && run->status == 0);
  }
  test::ScriptedToolkit toolkit;
  Program program;
};

// Stations whose conductor top, and whose conductance-preserving bottom
// (top + conductance x the true resistivity, the bottom the recovered
// conductance puts under the true conductor), lie within 10 % of the truth.
struct Recovery {
  int top = 0, bottom = 0;
};
Recovery withinTenPercent(const std::vector<Sounding>& models,
                          const std::vector<ProfileStation>& stations, float conductor) {
  Recovery count;
  const auto near = [](float value, float truth) {
    return std::fabs(value - truth) <= 0.1f * truth;
  };
  for (std::size_t k = 0; k < models.size(); ++k) {
    const forward::LayeredColumn column = forward::layeredColumnOf(models[k]);
    if (column.bottomDepth.size() != 2) continue;
    const float top = column.bottomDepth[0];
    const float conductance = (column.bottomDepth[1] - top) / column.resistivity[1];
    if (near(top, stations[k].conductorTop)) ++count.top;
    if (near(top + conductance * conductor, stations[k].conductorBottom)) ++count.bottom;
  }
  return count;
}

std::vector<forward::LayeredColumn> columnsOf(const std::vector<Sounding>& models) {
  std::vector<forward::LayeredColumn> columns;
  for (const Sounding& S : models) columns.push_back(forward::layeredColumnOf(S));
  return columns;
}

TEST(LateralProfile, TiedNeighboursRecoverTheConductorBottomAndSmoothTheSection) {
  const std::vector<ProfileStation> stations = test::makeSyntheticProfile();
  ASSERT_EQ(stations.size(), 40u);

  // Estimated and inverted alone, as the batch runs each sounding: the
  // estimate decides the layer count. Brought down to the three layers of
  // the earth, the models are the common start of the inversions alone and
  // tied.
  std::vector<Sounding> batch, start, alone;
  std::vector<float> distances;
  for (const ProfileStation& station : stations) {
    ProgramOn estimated(station.sounding);
    ASSERT_TRUE(estimated.program.estimation().estimateLayeredModel());
    estimated.invert();
    batch.push_back(estimated.program.S());
    EXPECT_LT(batch.back().layer.PCTERR, 4.0f) << station.name;
    ASSERT_TRUE(estimated.program.layers().reduceLayers(3));
    start.push_back(estimated.program.S());
    ProgramOn reduced(start.back());
    reduced.invert();
    alone.push_back(reduced.program.S());
    distances.push_back(station.east);
  }
  ASSERT_FALSE(inversion::lateralProfileProblem(start));

  std::vector<Sounding> tied = start;
  for (Sounding& S : tied) S.detachData();
  // A parameter fixed at one station stays where it is, tied or not.
  tied[0].M.LFIX[2] = kTrue;
  test::ScriptedToolkit toolkit;
  std::vector<forward::ForwardRoutine> forwards;
  for (const Sounding& S : tied) forwards.push_back(forward::chooseForwardRoutine(S, toolkit));
  inversion::RunMonitor monitor(toolkit);
  const auto began = std::chrono::steady_clock::now();
  const inversion::LateralResult result =
      inversion::InvertLaterally(tied, distances, forwards, {}, monitor, 0);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  ASSERT_EQ(result.status, 0);
  EXPECT_EQ(tied[0].M.PAR[2], start[0].M.PAR[2]);
  EXPECT_LT(result.fit, result.startFit);
  float worst = 0.0f;
  for (const Sounding& S : tied) worst = std::max(worst, S.layer.PCTERR);

  float worstAlone = 0.0f;
  for (const Sounding& S : alone) worstAlone = std::max(worstAlone, S.layer.PCTERR);
  const float conductor = test::ProfileDesign{}.conductor;
  const Recovery aloneWithin = withinTenPercent(alone, stations, conductor);
  const Recovery tiedWithin = withinTenPercent(tied, stations, conductor);
  std::vector<forward::LayeredColumn> all = columnsOf(alone);
  const std::vector<forward::LayeredColumn> tiedColumns = columnsOf(tied);
  all.insert(all.end(), tiedColumns.begin(), tiedColumns.end());
  const std::vector<float> grid = forward::roughnessDepthGrid(all);
  const float aloneRoughness = forward::lateralRoughness(columnsOf(alone), grid);
  const float tiedRoughness = forward::lateralRoughness(tiedColumns, grid);
  const float batchRoughness = forward::lateralRoughness(columnsOf(batch), grid);
  std::printf(
      "within 10 %% of 40 stations: conductor top %d alone, %d tied; conductance-preserving "
      "bottom %d alone, %d tied; lateral roughness "
      "%.4f batch, %.4f alone, %.4f tied; worst fit alone %.2f %%, tied %.2f %%; %d "
      "iterations in %.2f s\n",
      aloneWithin.top, tiedWithin.top, aloneWithin.bottom, tiedWithin.bottom,
      static_cast<double>(batchRoughness), static_cast<double>(aloneRoughness),
      static_cast<double>(tiedRoughness), static_cast<double>(worstAlone),
      static_cast<double>(worst), result.iterations, seconds);
  EXPECT_GE(tiedWithin.bottom, 32);
  EXPECT_LT(tiedRoughness, aloneRoughness);
}

}  // namespace
}  // namespace zeva::core
