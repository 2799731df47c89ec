#include "inversion/segment_shifting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <vector>

#include "core/record/current_sounding.h"
#include "core/record/data_type.h"

namespace zeva::inversion {
namespace {

using core::Sounding;

// A Schlumberger sounding with the given AB/2 spacings and readings.
void fill(Sounding& s, const std::vector<float>& spacings, const std::vector<float>& values,
          const char* type = "Schlumberger Array") {
  s.header.dataType.assign(type);
  s.header.NDATA = static_cast<int>(spacings.size());
  s.header.NCOMP = 1;
  s.header.NGEOM = 2;
  s.header.NSETS = 1;
  ASSERT_TRUE(s.allocateData());
  for (std::size_t i = 0; i < spacings.size(); ++i) {
    s.data().TIME(i, 0) = spacings[i];
    s.data().VOLTS(i, 0) = values[i];
  }
  s.data().NSET[0] = s.header.NDATA;
}

TEST(NearlyEqual, FollowsTheOnePartInAMillionRule) {
  EXPECT_TRUE(NearlyEqual(3.0f, 3.0f));
  EXPECT_TRUE(NearlyEqual(1000.0f, 1000.0004f));
  EXPECT_FALSE(NearlyEqual(1000.0f, 1000.002f));  // two parts in a million
  EXPECT_TRUE(NearlyEqual(0.0f, 5.0e-7f));
  EXPECT_FALSE(NearlyEqual(0.0f, 2.0e-6f));
  EXPECT_FALSE(NearlyEqual(2.0f, -2.0f));
  EXPECT_FALSE(NearlyEqual(NAN, NAN));
  EXPECT_FALSE(NearlyEqual(1.0f, NAN));
}

TEST(SHIFTP, RepeatedSpacingGivesOneBreakAndTheRatioOfItsReadings) {
  Sounding s;
  fill(s, {1, 2, 3, 3, 4, 5}, {10, 20, 30, 15, 20, 25});
  ASSERT_TRUE(SHIFTP(s));
  ASSERT_EQ(s.header.NSHIFT, 1);
  EXPECT_EQ(s.data().shiftBreak[0], 3);
  EXPECT_FLOAT_EQ(s.data().shiftFactor[0], 2.0f);
}

TEST(SHIFTP, NoBreaksForSingleReadingsOtherArraysOrUnrepeatedSpacings) {
  Sounding single;
  fill(single, {10}, {5});
  SHIFTP(single);
  EXPECT_EQ(single.header.NSHIFT, 0);

  Sounding wenner;
  fill(wenner, {1, 2, 2, 3}, {1, 2, 3, 4}, "Wenner Array");
  SHIFTP(wenner);
  EXPECT_EQ(wenner.header.NSHIFT, 0);

  Sounding unrepeated;  // the second segment starts below but repeats nothing
  fill(unrepeated, {1, 2, 3, 2.5f, 4}, {1, 2, 3, 4, 5});
  SHIFTP(unrepeated);
  ASSERT_EQ(unrepeated.header.NSHIFT, 1);
  EXPECT_EQ(unrepeated.data().shiftFactor[0], 1.0f);
}

TEST(SHIFTP, SpacingsWithinOnePartInAMillionCountAsRepeated) {
  Sounding s;
  fill(s, {1, 2, 3, 2.9999986f, 4}, {10, 20, 30, 10, 20});
  SHIFTP(s);
  ASSERT_EQ(s.header.NSHIFT, 1);
  EXPECT_FLOAT_EQ(s.data().shiftFactor[0], 3.0f);
}

TEST(SHIFTP, CollectsAtMostTenBreaks) {
  Sounding s;
  std::vector<float> spacings, values;
  for (int segment = 0; segment < 13; ++segment)
    for (float a : {1.0f, 2.0f}) spacings.push_back(a), values.push_back(1.0f);
  fill(s, spacings, values);
  SHIFTP(s);
  EXPECT_EQ(s.header.NSHIFT, 10);
  EXPECT_EQ(s.data().shiftBreak.back(), 20);
}

TEST(SHIFTP, DefaultSoundingHasFourBreaks) {
  core::CurrentSounding current;
  core::resetToDefault(current);
  ASSERT_TRUE(SHIFTP(current.S));
  EXPECT_EQ(current.S.data().shiftBreak, (std::vector<std::int32_t>{4, 9, 15, 19}));
  EXPECT_FLOAT_EQ(current.S.data().shiftFactor[0], 61.6f / 58.0f);
  EXPECT_FLOAT_EQ(current.S.data().shiftFactor[3], 20.9f / 25.4f);
}

// The factor rule as literally stated: every pair (j before the break, k in
// the segment after it) in order, the last match with a usable reading wins.
std::vector<float> literalFactors(const Sounding& s) {
  const auto& d = s.data();
  std::vector<float> factors;
  for (std::size_t b = 0; b < d.shiftBreak.size(); ++b) {
    const int last = d.shiftBreak[b];
    const int end = b + 1 < d.shiftBreak.size() ? d.shiftBreak[b + 1] : s.header.NDATA;
    float factor = 1.0f;
    for (std::size_t j = 0; j < static_cast<std::size_t>(last); ++j)
      for (auto k = static_cast<std::size_t>(last); k < static_cast<std::size_t>(end); ++k)
        if (NearlyEqual(d.TIME(j, 0), d.TIME(k, 0)) && d.VOLTS(k, 0) != 0.0f)
          factor = d.VOLTS(j, 0) / d.VOLTS(k, 0);
    factors.push_back(factor);
  }
  return factors;
}

TEST(SHIFTP, FactorsAgreeWithThePairByPairRuleOnIrregularSoundings) {
  // Few distinct spacings (many repeats), near-equal ones, zeros, zero
  // readings, NaN and infinite spacings, and more than ten breaks.
  std::uint32_t state = 12345;
  const auto next = [&] { return state = state * 1664525u + 1013904223u; };
  const float choices[] = {0.0f,  5.0e-7f, 1.0f,     2.0f,     2.0000012f, 3.0f,
                           10.0f, -2.0f,   INFINITY, 1.0e-12f, 2.0e-6f,    NAN};
  for (int trial = 0; trial < 400; ++trial) {
    const int n = 2 + static_cast<int>(next() % 60);
    std::vector<float> spacings, values;
    for (int i = 0; i < n; ++i) {
      spacings.push_back(choices[next() % 12] *
                         (next() % 4 == 0 ? 1.0f : static_cast<float>(1 + i / 7)));
      values.push_back(next() % 5 == 0 ? 0.0f : static_cast<float>(1 + next() % 100));
    }
    Sounding s;
    fill(s, spacings, values);
    ASSERT_TRUE(SHIFTP(s));
    EXPECT_EQ(s.data().shiftFactor, literalFactors(s)) << "trial " << trial;
  }
}

// The shortest of three runs of SHIFTP on a long sounding of two segments
// that share no spacing, so that every reading before the break is searched
// for in the segment after it.
double secondsToShift(int readings) {
  std::vector<float> spacings, values(static_cast<std::size_t>(readings), 100.0f);
  for (int i = 0; i < readings; ++i)
    spacings.push_back(i < readings / 2 ? 1.0f + static_cast<float>(i)
                                        : 0.5f + static_cast<float>(i - readings / 2));
  double best = 1.0e9;
  for (int run = 0; run < 3; ++run) {
    Sounding s;
    fill(s, spacings, values);
    const std::clock_t start = std::clock();  // processor time: a busy machine does not count
    EXPECT_TRUE(SHIFTP(s));
    best = std::min(best, static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
    EXPECT_EQ(s.header.NSHIFT, 1);
  }
  return best;
}

// A long Schlumberger import takes time in proportion to its readings.
TEST(SHIFTP, TimeGrowsInProportionToTheReadings) {
  // Eight times the readings: linear work takes about 8x, pairwise work 64x.
  const double few = secondsToShift(10000);
  const double many = secondsToShift(80000);
  EXPECT_LT(many, 20.0 * few + 0.02) << few << " s for 10000 readings, " << many << " s for 80000";
}

// Two segments of one smooth curve, the second read 2x too high, with an
// overlap of two spacings.
Sounding twoSegments() {
  Sounding s;
  fill(s, {1, 2, 4, 8, 4, 8, 16, 32}, {10, 11, 12, 13, 24, 26, 28, 30});
  s.header.voltageAndCurrent = core::kFalse;
  SHIFTP(s);
  return s;
}

TEST(ApplySegmentShifts, JoiningToTheLongSpacingLevelDropsTheOverlap) {
  Sounding s = twoSegments();
  ASSERT_FLOAT_EQ(s.data().shiftFactor[0], 0.5f);
  ApplySegmentShifts(s, /*observed=*/true, /*cumulative=*/false);
  EXPECT_EQ(s.NDATA(), 6);
  EXPECT_EQ(s.data().TIME.rows(), 6u);
  EXPECT_EQ(s.SVOLT.rows(), 6u);
  EXPECT_EQ(s.data().NSET[0], 6);
  EXPECT_EQ(s.header.NSHIFT, 0);
  const std::vector<float> expectedSpacing{1, 2, 4, 8, 16, 32};
  const std::vector<float> expectedValue{20, 22, 24, 26, 28, 30};
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(s.data().TIME(i, 0), expectedSpacing[i]);
    EXPECT_FLOAT_EQ(s.data().VOLTS(i, 0), expectedValue[i]);
  }
  ApplySegmentShifts(s, true, false);  // NSHIFT is 0: nothing changes
  EXPECT_EQ(s.NDATA(), 6);
  EXPECT_FLOAT_EQ(s.data().VOLTS(0, 0), 20.0f);
}

TEST(ApplySegmentShifts, CumulativeJoinKeepsTheShortSpacingLevelToTheLastReading) {
  Sounding s = twoSegments();
  ApplySegmentShifts(s, true, true);
  ASSERT_EQ(s.NDATA(), 6);
  const std::vector<float> expectedValue{10, 11, 12, 13, 14, 15};
  for (std::size_t i = 0; i < 6; ++i) EXPECT_FLOAT_EQ(s.data().VOLTS(i, 0), expectedValue[i]);
}

TEST(ApplySegmentShifts, SyntheticsTakeTheStepsOfTheRawData) {
  Sounding s = twoSegments();
  for (std::size_t i = 0; i < 8; ++i) s.SVOLT(i, 0) = 100.0f;
  ApplySegmentShifts(s, /*observed=*/false, /*cumulative=*/false);
  EXPECT_FLOAT_EQ(s.SVOLT(0, 0), 50.0f);
  EXPECT_FLOAT_EQ(s.SVOLT(3, 0), 50.0f);
  EXPECT_FLOAT_EQ(s.SVOLT(4, 0), 100.0f);
  EXPECT_EQ(s.NDATA(), 8);

  for (std::size_t i = 0; i < 8; ++i) s.SVOLT(i, 0) = 100.0f;
  ApplySegmentShifts(s, false, /*cumulative=*/true);
  EXPECT_FLOAT_EQ(s.SVOLT(0, 0), 100.0f);
  EXPECT_FLOAT_EQ(s.SVOLT(4, 0), 200.0f);
}

}  // namespace
}  // namespace zeva::inversion
