// The lateral roughness of a profile of layered models on a depth grid.

#include "forward/lateral_roughness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace zeva::forward {
namespace {

TEST(LateralRoughness, IsTheRmsLog10StepOfNeighboursOverTheGrid) {
  // 100 ohm-m over 10 ohm-m, the interface at 10 m at one station and at
  // 20 m at the next: the columns differ by one decade between 10 and 20 m.
  // On 201 depths spaced 1/100 decade from 1 m to 100 m those are the 31
  // depths 10^(k/100), k = 100..130.
  const LayeredColumn shallow{{100.0f, 10.0f}, {10.0f}};
  const LayeredColumn deep{{100.0f, 10.0f}, {20.0f}};
  const std::vector<float> grid = logDepthGrid(1.0f, 100.0f, 201);
  ASSERT_EQ(grid.size(), 201u);
  const std::vector<LayeredColumn> pair{shallow, deep};
  EXPECT_NEAR(lateralRoughness(pair, grid), std::sqrt(31.0f / 201.0f), 1e-4f);
  // Three stations: the first pair rough, the second identical.
  const std::vector<LayeredColumn> three{shallow, deep, deep};
  EXPECT_NEAR(lateralRoughness(three, grid), std::sqrt(31.0f / 402.0f), 1e-4f);
  const std::vector<LayeredColumn> same{shallow, shallow};
  EXPECT_EQ(lateralRoughness(same, grid), 0.0f);

  // The grid for a set of columns spans half the shallowest interface to
  // twice the deepest.
  const std::vector<float> cover = roughnessDepthGrid(pair);
  ASSERT_FALSE(cover.empty());
  EXPECT_NEAR(cover.front(), 5.0f, 1e-4f);
  EXPECT_NEAR(cover.back(), 40.0f, 1e-3f);
}

TEST(LateralRoughness, AModelInDepthsGivesTheColumnOfItsThicknesses) {
  core::Sounding thick, deep;
  for (core::Sounding* S : {&thick, &deep}) {
    S->model.NLAYER = 3;
    S->model.NPK = 1;
    ASSERT_TRUE(S->allocateModel());
  }
  deep.model.depths = core::kTrue;
  thick.M.PAR = {100.0f, 10.0f, 300.0f, 20.0f, 15.0f};
  deep.M.PAR = {100.0f, 10.0f, 300.0f, 20.0f, 35.0f};
  for (const core::Sounding* S : {&thick, &deep}) {
    const LayeredColumn column = layeredColumnOf(*S);
    EXPECT_EQ(column.resistivity, (std::vector<float>{100.0f, 10.0f, 300.0f}));
    EXPECT_EQ(column.bottomDepth, (std::vector<float>{20.0f, 35.0f}));
  }
}

}  // namespace
}  // namespace zeva::forward
