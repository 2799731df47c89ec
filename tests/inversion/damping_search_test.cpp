#include "inversion/damping_search.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace zeva::inversion {
namespace {

// A trial function from a fit curve, recording the dampings tried.
struct Recorder {
  explicit Recorder(std::function<float(float)> fitCurve) : curve(std::move(fitCurve)) {}
  std::function<float(float)> curve;
  std::vector<float> tried;
  int interruptAt = 0;  // 1-based trial that is interrupted

  TrialFit trial() {
    return [this](float lambda) -> std::optional<float> {
      tried.push_back(lambda);
      if (static_cast<int>(tried.size()) == interruptAt) return std::nullopt;
      return curve(lambda);
    };
  }
};

// A fit with its minimum at damping `best`, parabolic in log damping.
std::function<float(float)> valley(float best, float depth = 1.0f) {
  return [=](float lambda) {
    const float x = std::log10(lambda / best);
    return 0.1f + depth * x * x;
  };
}

TEST(DampingSearch, StopsAtTheSmallestDampingWhenItFitsClearlyBest) {
  Recorder r{valley(1.0e-6f)};
  const DampingSearchResult result = searchDamping(1000.0f, 1.0f, 50.0f, false, r.trial());
  EXPECT_EQ(result.trials, 2);
  EXPECT_FLOAT_EQ(result.damping, 1.0f);
  ASSERT_EQ(r.tried.size(), 2u);
  EXPECT_FLOAT_EQ(r.tried[0], 1.0f);
  EXPECT_NEAR(r.tried[1], 10.0f, 1e-4f);
}

TEST(DampingSearch, StopsAtTheThirdDampingWhenItIsAClearMinimum) {
  // f4 is worse than f3, f2 worse than f3: the third damping after 3 trials.
  Recorder r{[](float lambda) { return lambda > 5.0f && lambda < 20.0f ? 0.1f : 1.0f; }};
  const DampingSearchResult result = searchDamping(1000.0f, 1.0f, 5.0f, false, r.trial());
  EXPECT_EQ(result.trials, 3);
  EXPECT_NEAR(result.damping, 10.0f, 1e-4f);
}

TEST(DampingSearch, NoTrialWhenTheRangeIsEmpty) {
  Recorder r{valley(1.0f)};
  for (float top : {0.0f, -1.0f}) {
    const DampingSearchResult result = searchDamping(top, top / 1000.0f, 1.0f, false, r.trial());
    EXPECT_EQ(result.trials, 0);
    EXPECT_EQ(result.damping, top);
  }
  EXPECT_TRUE(r.tried.empty());
}

// Wherever the best damping lies, the search ends within a factor of ten of
// it, and never makes more than seven trials.
class FindsTheValley : public ::testing::TestWithParam<float> {};

TEST_P(FindsTheValley, WithinADecadeInAtMostSevenTrials) {
  const float best = GetParam();
  Recorder r{valley(best)};
  const DampingSearchResult result = searchDamping(1000.0f, 1.0f, 100.0f, false, r.trial());
  EXPECT_LE(result.trials, 7);
  EXPECT_GE(result.trials, 2);
  if (best >= 1.0f) {
    EXPECT_LT(std::fabs(std::log10(result.damping / best)), 1.0f);
  }
  // Ordered table: every damping tried lies in the span the table can reach.
  for (float lambda : r.tried) {
    EXPECT_GT(lambda, 0.0f);
    EXPECT_LT(lambda, 1.0e7f);
  }
}

INSTANTIATE_TEST_SUITE_P(Dampings, FindsTheValley,
                         ::testing::Values(0.5f, 2.0f, 7.0f, 30.0f, 300.0f, 1000.0f, 2.0e4f,
                                           3.0e5f));

TEST(DampingSearch, MovesTheTableUpWhileTheLargestDampingWins) {
  // The fit keeps improving with more damping: the table moves up a decade
  // per repetition, three times.
  Recorder r{[](float lambda) { return 1.0f / lambda; }};
  const DampingSearchResult result = searchDamping(1000.0f, 1.0f, 100.0f, false, r.trial());
  EXPECT_EQ(result.trials, 7);
  ASSERT_EQ(r.tried.size(), 7u);
  EXPECT_NEAR(r.tried[4] / 1.0e4f, 1.0f, 1e-3f);
  EXPECT_NEAR(r.tried[5] / 1.0e5f, 1.0f, 1e-3f);
  EXPECT_NEAR(r.tried[6] / 1.0e6f, 1.0f, 1e-3f);
  EXPECT_NEAR(result.damping / 1.0e6f, 1.0f, 1e-3f);
}

TEST(DampingSearch, ASmallerDampingWithinOnePercentWins) {
  // The fit improves slightly with damping but stays within 1 % from entry to
  // entry: the smallest damping is chosen, and with flat neighbours the
  // search ends after the four first trials.
  Recorder r{[](float lambda) { return 1.0f - 0.002f * std::log10(lambda); }};
  const DampingSearchResult result = searchDamping(1000.0f, 1.0f, 2.0f, false, r.trial());
  EXPECT_EQ(result.trials, 4);
  EXPECT_FLOAT_EQ(result.damping, 1.0f);
}

TEST(DampingSearch, ASmallerDampingMoreThanOnePercentWorseLoses) {
  // Each decade less damping fits 3 % worse: the largest damping is kept.
  Recorder r{[](float lambda) { return 1.0f + 0.03f * (3.0f - std::log10(lambda)); }};
  const DampingSearchResult result = searchDamping(1000.0f, 1.0f, 2.0f, false, r.trial());
  EXPECT_NEAR(result.damping, 1000.0f, 0.01f);
}

TEST(DampingSearch, WithRoughnessTheSmallEndKeepsFallingByDecades) {
  // Same flat fit with the roughness penalty: the search never stops at the
  // smallest damping but lowers it by a factor of ten each repetition.
  Recorder r{[](float lambda) { return 1.0f - 0.002f * std::log10(lambda); }};
  const DampingSearchResult result = searchDamping(1000.0f, 1.0f, 2.0f, true, r.trial());
  EXPECT_EQ(result.trials, 7);
  ASSERT_EQ(r.tried.size(), 7u);
  EXPECT_NEAR(r.tried[4], 0.1f, 1e-6f);
  EXPECT_NEAR(r.tried[5], 0.01f, 1e-7f);
  EXPECT_NEAR(r.tried[6], 0.001f, 1e-8f);
  EXPECT_NEAR(result.damping, 0.001f, 1e-8f);
}

TEST(DampingSearch, RefinesBetweenEntriesAroundASteepMinimum) {
  // A sharp valley at the second entry: the next damping tried lies between
  // the second and third entries (the geometric mean).
  Recorder r{valley(100.0f, 50.0f)};
  searchDamping(1000.0f, 1.0f, 100.0f, false, r.trial());
  ASSERT_GE(r.tried.size(), 5u);
  EXPECT_NEAR(r.tried[4], std::sqrt(100.0f * 10.0f), 1e-3f);
}

TEST(DampingSearch, AnInterruptStopsTheSearchAtOnce) {
  Recorder r{valley(30.0f)};
  r.interruptAt = 3;
  const DampingSearchResult result = searchDamping(1000.0f, 1.0f, 100.0f, false, r.trial());
  EXPECT_TRUE(result.interrupted);
  EXPECT_EQ(result.trials, 3);
  EXPECT_EQ(r.tried.size(), 3u);
}

}  // namespace
}  // namespace zeva::inversion
