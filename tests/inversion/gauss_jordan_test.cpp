#include "inversion/gauss_jordan.h"

#include <gtest/gtest.h>

#include <vector>

namespace zeva::inversion {
namespace {

TEST(SolveGaussJordan, SolvesEveryRightHandSideOfASymmetricPositiveSystem) {
  // Column-major [A | B] with A = [[4,1,0],[1,3,1],[0,1,2]] and B = A times
  // the known solutions X1 = (1,2,3), X2 = (-1,0,0.5).
  const float A[3][3] = {{4, 1, 0}, {1, 3, 1}, {0, 1, 2}};
  const float X[2][3] = {{1, 2, 3}, {-1, 0, 0.5f}};
  std::vector<float> m(3 * 5);
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 3; ++i) m[j * 3 + i] = A[i][j];
  for (int r = 0; r < 2; ++r)
    for (int i = 0; i < 3; ++i) {
      float b = 0.0f;
      for (int j = 0; j < 3; ++j) b += A[i][j] * X[r][j];
      m[(3 + r) * 3 + i] = b;
    }
  ASSERT_TRUE(SolveGaussJordan(m, 3, 2));
  for (int r = 0; r < 2; ++r)
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(m[(3 + r) * 3 + i], X[r][i], 1e-5f);
}

TEST(SolveGaussJordan, ReportsAPivotBelowTheThresholdWithoutPivoting) {
  // Regular, but the first pivot is zero and rows are never exchanged.
  std::vector<float> m = {0, 1, 1, 0, 2, 3};
  EXPECT_FALSE(SolveGaussJordan(m, 2, 1));
  std::vector<float> tiny = {5.0e-11f, 0, 0, 1, 1, 1};
  EXPECT_FALSE(SolveGaussJordan(tiny, 2, 1));
}

}  // namespace
}  // namespace zeva::inversion
