// Log-cycle graph frames drawn on a recording canvas: labels, ticks, heavy
// lines, extents and the value-to-page mapping.

#include "present/graph_frame_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <utility>
#include <vector>

#include "present/recording_canvas.h"

namespace zeva::present {
namespace {

using core::kTrue;

GraphFrame logFrame(int xCycles, int xExponent, float width, int yCycles, float height) {
  GraphFrame f;
  f.xCycles = xCycles;
  f.xCycleLength = width / static_cast<float>(xCycles);
  f.xExponentOrDivisions = xExponent;
  f.yCycles = yCycles;
  f.yCycleLength = height / static_cast<float>(yCycles);
  f.yExponentOrDivisions = 0;
  f.labelsBelowX = kTrue;
  return f;
}

// A frame whose x axis is linear (or geometric with no divisions) over
// `cycles` cycles from `start` by `step`, on one decade of 4 units height.
GraphFrame linearFrame(int cycles, float width, float start, float step, int divisions) {
  GraphFrame f = logFrame(cycles, 0, width, 1, 4.0f);
  f.xStart = start;
  f.xStep = step;
  f.xExponentOrDivisions = divisions;
  return f;
}

// Texts of the labels drawn below the x axis (those under the frame).
std::vector<std::string> textsBelow(const RecordingCanvas& canvas, float y) {
  std::vector<std::string> texts;
  for (const auto& t : canvas.texts)
    if (t.y < y) texts.push_back(t.text);
  return texts;
}

RecordingCanvas draw(GraphFrame& frame, float labelHeight = 0.15f) {
  RecordingCanvas canvas;
  Plotter p(canvas);
  p.Plot(1.0f, 0.0f, kNewPage);
  p.Plot(1.0f, 1.0f, -kPenUp);
  DrawGraphFrame(p, frame, labelHeight);
  p.close();
  return canvas;
}

// The labels below the x axis of a frame, in the order they are drawn (a
// raised exponent follows its "10").
struct LabelCase {
  const char* name;
  GraphFrame frame;
  std::vector<std::string> labels;
};
void PrintTo(const LabelCase& c, std::ostream* os) { *os << c.name; }

class XLabels : public ::testing::TestWithParam<LabelCase> {};

TEST_P(XLabels, AreTheBoundaryValuesWrittenForTheirAxis) {
  GraphFrame f = GetParam().frame;
  EXPECT_EQ(textsBelow(draw(f), 1.0f), GetParam().labels);
}

INSTANTIATE_TEST_SUITE_P(
    Axes, XLabels,
    ::testing::Values(LabelCase{"ThreeDecadesFromMinusOne",
                                logFrame(3, -1, 6.0f, 1, 4.0f),
                                {"0.1", "1", "10", "100"}},
                      LabelCase{"PositivePowersAboveThree",
                                logFrame(2, 3, 4.0f, 1, 4.0f),
                                {"1000", "10", "4", "10", "5"}},
                      LabelCase{"LinearThousandthsWithM",
                                linearFrame(3, 6.0f, 0.002f, 0.002f, 2),
                                {"2m", "4m", "6m", "8m"}},
                      LabelCase{"LinearStartAndStep",
                                linearFrame(4, 8.0f, 1.0f, 0.5f, 5),
                                {"1", "1.5", "2", "2.5", "3"}},
                      // More than nine geometric cycles label every second boundary.
                      LabelCase{"GeometricBeyondNineCycles",
                                linearFrame(10, 10.0f, 1.0f, 2.0f, 0),
                                {"1", "4", "16", "64", "256", "1024"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LogLabels, DecadesBeyondTheThirdPowerAreTenWithASuperscript) {
  GraphFrame f = logFrame(3, -5, 6.0f, 1, 4.0f);
  const RecordingCanvas canvas = draw(f);
  EXPECT_EQ(textsBelow(canvas, 1.0f),
            (std::vector<std::string>{"10", "-5", "10", "-4", "0.001", "0.01"}));
  // The exponent is smaller than the "10" and raised beside it.
  const auto& ten = canvas.texts[0];
  const auto& exponent = canvas.texts[1];
  EXPECT_FLOAT_EQ(exponent.height, 0.75f * ten.height);
  EXPECT_GT(exponent.y, ten.y);
  EXPECT_GT(exponent.x, ten.x);
}

TEST(LinearLabels, TrailingZerosAndPointAreStripped) {
  EXPECT_EQ(LinearLabel(1.5f, 2), "1.5");
  EXPECT_EQ(LinearLabel(2.0f, 2), "2");
  EXPECT_EQ(LinearLabel(0.002f, 3), "2m");
  EXPECT_EQ(LinearLabel(10.0f, -1), "10");
  EXPECT_EQ(LinearLabel(0.0f, 2), "0");
}

TEST(LinearLabels, CrowdedLabelsAreThinnedToEveryKthBoundary) {
  // Ten cycles of 0.2 units with labels "1000.5" ... wider than a cycle.
  GraphFrame f = linearFrame(10, 2.0f, 1000.5f, 1.0f, 1);
  const RecordingCanvas canvas = draw(f);
  const auto labels = textsBelow(canvas, 1.0f);
  const float widest = TextWidth(1.3f * 0.15f, "1000.5");
  const int every = static_cast<int>(widest / 0.2f) + 1;
  EXPECT_EQ(static_cast<int>(labels.size()), (10 + every) / every);
  EXPECT_EQ(labels.front(), "1000.5");
}

// One axis of a crowding case: the labelled axis runs along x (labels below)
// or along y (labels on the left); the other axis is one plain decade.
struct CrowdingCase {
  const char* name;
  bool alongX;
  int cycles;
  float length;  // whole axis, page units
  float start, step;
  int exponentOrDivisions;
};

void PrintTo(const CrowdingCase& c, std::ostream* os) { *os << c.name; }

GraphFrame crowdingFrame(const CrowdingCase& c) {
  GraphFrame f = logFrame(1, 0, 4.0f, 1, 4.0f);
  const AxisFields axis = c.alongX ? xAxisOf(f) : yAxisOf(f);
  axis.cycles = c.cycles;
  axis.cycleLength = c.length / static_cast<float>(c.cycles);
  axis.start = c.start;
  axis.step = c.step;
  axis.exponentOrDivisions = c.exponentOrDivisions;
  f.labelsBelowX = core::logical(c.alongX);
  f.labelsLeftOfY = core::logical(!c.alongX);
  return f;
}

// The stretch of the axis each drawn label covers: its estimated width along
// x, from its baseline to the top of its digits along y. A raised exponent
// starts where its "10" ends and joins that label.
std::vector<std::pair<float, float>> labelSpans(const RecordingCanvas& canvas, bool alongX) {
  std::vector<std::pair<float, float>> spans;
  float previousEnd = -1.0e10f, previousY = 0.0f;
  for (const auto& t : canvas.texts) {
    const float width = TextWidth(t.height, t.text);
    const float capHeight = kEmPerNominalHeight * kCapHeightPerEm * t.height;
    const std::pair<float, float> span =
        alongX ? std::pair{t.x, t.x + width} : std::pair{t.y, t.y + capHeight};
    const bool exponent = std::fabs(t.x - previousEnd) < 1e-4f && t.y > previousY;
    previousEnd = t.x + width;
    previousY = t.y;
    if (exponent) {
      spans.back().second = std::max(spans.back().second, span.second);
      continue;
    }
    spans.push_back(span);
  }
  std::ranges::sort(spans);
  return spans;
}

class NarrowAxis : public ::testing::TestWithParam<CrowdingCase> {};

TEST_P(NarrowAxis, NoLabelComesWithinAFifthOfTheLabelHeightOfItsNeighbour) {
  GraphFrame f = crowdingFrame(GetParam());
  const auto spans = labelSpans(draw(f), GetParam().alongX);
  ASSERT_GE(spans.size(), 2u);
  for (std::size_t i = 1; i < spans.size(); ++i)
    EXPECT_GE(spans[i].first - spans[i - 1].second, 0.2f * 0.15f)
        << "labels " << i << " and " << i + 1;
}

INSTANTIATE_TEST_SUITE_P(Crowded, NarrowAxis,
                         ::testing::Values(
                             // The IP effect of a model plot: 0 to 35 in steps of 5 on 1.25 units.
                             CrowdingCase{"LinearStepsOfFive", true, 7, 1.25f, 0.0f, 5.0f, 5},
                             CrowdingCase{"FiveDecades", true, 5, 1.25f, 0.0f, 0.0f, 0},
                             CrowdingCase{"PowersOfTen", true, 6, 1.2f, 0.0f, 0.0f, -9},
                             CrowdingCase{"LinearDepths", false, 12, 1.2f, 0.0f, 1.0f, 2},
                             CrowdingCase{"EightDecadesUpwards", false, 8, 1.0f, 0.0f, 0.0f, -3}),
                         [](const auto& info) { return std::string(info.param.name); });

class WideAxis : public ::testing::TestWithParam<CrowdingCase> {};

TEST_P(WideAxis, EveryBoundaryKeepsItsLabel) {
  GraphFrame f = crowdingFrame(GetParam());
  const auto spans = labelSpans(draw(f), GetParam().alongX);
  EXPECT_EQ(spans.size(), static_cast<std::size_t>(GetParam().cycles + 1));
}

INSTANTIATE_TEST_SUITE_P(
    Roomy, WideAxis,
    ::testing::Values(CrowdingCase{"LinearStepsOfFive", true, 7, 7.0f, 0.0f, 5.0f, 5},
                      CrowdingCase{"FiveDecades", true, 5, 10.0f, 0.0f, 0.0f, 0},
                      CrowdingCase{"PowersOfTen", true, 6, 6.0f, 0.0f, 0.0f, -9},
                      CrowdingCase{"LinearDepths", false, 6, 6.0f, 0.0f, 20.0f, 2},
                      CrowdingCase{"EightDecadesUpwards", false, 8, 6.0f, 0.0f, 0.0f, -3}),
    [](const auto& info) { return std::string(info.param.name); });

// The tick inward from the top edge at an interior x boundary.
float interiorTopTick(const RecordingCanvas& canvas, float x, float top) {
  for (const auto& s : canvas.segments)
    if (std::fabs(s.from.x - x) < 1e-4f && std::fabs(s.to.x - x) < 1e-4f &&
        std::fabs(s.from.y - top) < 1e-4f)
      return s.from.y - s.to.y;
  return -1.0f;
}

TEST(Ticks, ATickBelowOneTenthBecomesTwelveHundredths) {
  // 0.035 x sqrt(2 x 1) = 0.049 < 0.1.
  GraphFrame f = logFrame(2, 0, 2.0f, 1, 1.0f);
  f.labelsBelowX = core::kFalse;
  const RecordingCanvas canvas = draw(f);
  EXPECT_NEAR(interiorTopTick(canvas, 1.0f + 1.0f, 1.0f + 1.0f), 0.12f, 1e-5f);
}

TEST(Ticks, CapTicksLimitsTheTickLength) {
  // 0.035 x sqrt(8 x 6) = 0.242; capped at 0.16.
  GraphFrame f = logFrame(2, 0, 8.0f, 2, 6.0f);
  f.capTicks = kTrue;
  f.tickCap = 0.16f;
  const RecordingCanvas canvas = draw(f);
  EXPECT_NEAR(interiorTopTick(canvas, 1.0f + 4.0f, 1.0f + 6.0f), 0.16f, 1e-5f);
  GraphFrame uncapped = logFrame(2, 0, 8.0f, 2, 6.0f);
  const RecordingCanvas free = draw(uncapped);
  EXPECT_NEAR(interiorTopTick(free, 1.0f + 4.0f, 1.0f + 6.0f), 0.035f * std::sqrt(48.0f), 1e-4f);
}

TEST(Frame, ZeroAreaDrawsNothingAndKeepsTheExtents) {
  GraphFrame f = logFrame(3, 0, 6.0f, 1, 4.0f);
  f.yCycleLength = 0.0f;
  f.extentLeft = -7.0f;
  f.extentRight = 8.0f;
  f.extentBottom = -9.0f;
  const RecordingCanvas canvas = draw(f);
  EXPECT_TRUE(canvas.segments.empty());
  EXPECT_TRUE(canvas.texts.empty());
  EXPECT_FLOAT_EQ(f.extentLeft, -7.0f);
  EXPECT_FLOAT_EQ(f.extentRight, 8.0f);
  EXPECT_FLOAT_EQ(f.extentBottom, -9.0f);
}

TEST(Frame, LabelsPushTheExtentsOutsideTheFrame) {
  GraphFrame f = logFrame(3, 0, 6.0f, 2, 4.0f);
  f.labelsLeftOfY = kTrue;
  const RecordingCanvas canvas = draw(f);
  EXPECT_LT(f.extentBottom, -0.12f);
  EXPECT_LT(f.extentLeft, -0.12f);
  for (const auto& t : canvas.texts) EXPECT_GE(t.y - 1.0f, f.extentBottom - 1e-4f);
}

// Frame strokes that run the full width or height of the frame.
std::size_t fullLengthStrokes(const RecordingCanvas& canvas, float width, float height) {
  return static_cast<std::size_t>(std::ranges::count_if(canvas.segments, [&](const auto& s) {
    const float dx = std::fabs(s.to.x - s.from.x), dy = std::fabs(s.to.y - s.from.y);
    return std::fabs(dx - width) < 1e-3f || std::fabs(dy - height) < 1e-3f;
  }));
}

TEST(Frame, FramesBeyondTwelveBySevenAreDrawnWithDoubledLines) {
  GraphFrame small = logFrame(2, 0, 12.0f, 2, 7.0f);
  small.labelsBelowX = core::kFalse;
  GraphFrame large = logFrame(2, 0, 13.0f, 2, 7.0f);
  large.labelsBelowX = core::kFalse;
  GraphFrame thin = large;
  thin.thinLines = kTrue;
  EXPECT_EQ(fullLengthStrokes(draw(small), 12.0f, 7.0f), 4u);
  EXPECT_EQ(fullLengthStrokes(draw(large), 13.0f, 7.0f), 8u);
  EXPECT_EQ(fullLengthStrokes(draw(thin), 13.0f, 7.0f), 4u);
}

TEST(Frame, NegativeYCountDrawsOnlyBottomAndTopHorizontals) {
  GraphFrame f = logFrame(1, 0, 2.0f, 3, 3.0f);
  f.labelsBelowX = core::kFalse;
  f.yCycles = -3;
  const RecordingCanvas canvas = draw(f);
  const auto horizontals = std::ranges::count_if(
      canvas.segments, [](const auto& s) { return std::fabs(s.from.y - s.to.y) < 1e-5f; });
  EXPECT_EQ(horizontals, 2);
}

TEST(AxisMapping, DecadeBoundariesMapToCycleBoundaries) {
  GraphFrame f = logFrame(3, -1, 6.0f, 2, 4.0f);
  f.yExponentOrDivisions = 1;
  SetAxisMapping(f);
  EXPECT_NEAR(PageX(0.1f, f), 0.0f, 1e-5f);
  EXPECT_NEAR(PageX(1.0f, f), 2.0f, 1e-5f);
  EXPECT_NEAR(PageX(100.0f, f), 6.0f, 1e-5f);
  EXPECT_NEAR(PageY(10.0f, f), 0.0f, 1e-5f);
  EXPECT_NEAR(PageY(1000.0f, f), 4.0f, 1e-5f);
  EXPECT_NEAR(PageX(-1.0f, f), 2.0f, 1e-5f);  // magnitudes on a log axis
  EXPECT_FLOAT_EQ(PageX(2.0e10f, f), 0.0f);   // missing value
  EXPECT_NEAR(ValueX(PageX(37.0f, f), f), 37.0f, 1e-3f);
  EXPECT_FLOAT_EQ(f.clipXMin, -0.001f);
  EXPECT_FLOAT_EQ(f.clipXMax, 6.001f);
}

TEST(AxisMapping, LinearAxisMapsStartToZeroAndStepToACycle) {
  GraphFrame f = logFrame(6, 0, 6.0f, 1, 3.0f);
  f.xStart = -30.0f;
  f.xStep = 15.0f;
  SetAxisMapping(f);
  EXPECT_NEAR(PageX(-30.0f, f), 0.0f, 1e-5f);
  EXPECT_NEAR(PageX(60.0f, f), 6.0f, 1e-5f);
  EXPECT_NEAR(ValueX(PageX(12.5f, f), f), 12.5f, 1e-4f);
}

TEST(AxisMapping, LeftwardAxisClipsBetweenItsEndAndItsOrigin) {
  GraphFrame f = logFrame(2, 0, 4.0f, 1, 3.0f);
  f.xCycleLength = -2.0f;
  SetAxisMapping(f);
  EXPECT_FLOAT_EQ(f.clipXMin, -4.0f + 0.001f - 0.102f);
  EXPECT_FLOAT_EQ(f.clipXMax, -0.051f);
  EXPECT_NEAR(PageX(10.0f, f), -2.0f, 1e-5f);
}

}  // namespace
}  // namespace zeva::present
