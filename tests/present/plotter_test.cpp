// The pen plotter: palette, number formats, pens, origins and text rules.

#include "present/plotter.h"

#include <gtest/gtest.h>

#include "present/recording_canvas.h"

namespace zeva::present {
namespace {

struct PaletteCase {
  int index;
  Rgb expected;
};
class PaletteColour : public ::testing::TestWithParam<PaletteCase> {};

// Hue is measured from blue: 0 blue, 60 magenta, 120 red, 180 yellow, 240
// green, 300 cyan; 25 % lightness gives the half-bright colours.
TEST_P(PaletteColour, MatchesTheNamedColour) {
  EXPECT_EQ(palette()[static_cast<std::size_t>(GetParam().index)], GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(
    SixteenPens, PaletteColour,
    ::testing::Values(PaletteCase{0, {0, 0, 0}}, PaletteCase{1, {0, 255, 255}},
                      PaletteCase{2, {128, 0, 128}}, PaletteCase{3, {255, 0, 255}},
                      PaletteCase{4, {0, 0, 255}}, PaletteCase{5, {0, 128, 128}},
                      PaletteCase{6, {0, 0, 128}}, PaletteCase{7, {0, 128, 0}},
                      PaletteCase{8, {0, 255, 0}}, PaletteCase{9, {255, 255, 0}},
                      PaletteCase{10, {128, 128, 0}}, PaletteCase{11, {255, 0, 0}},
                      PaletteCase{12, {128, 0, 0}}, PaletteCase{13, {84, 84, 84}},
                      PaletteCase{15, {255, 255, 255}}));

struct FormatCase {
  float value;
  int decimals;
  const char* text;
};
class FormatNumberCase : public ::testing::TestWithParam<FormatCase> {};
TEST_P(FormatNumberCase, WritesFixedDecimalsWithoutLeadingBlanks) {
  EXPECT_EQ(FormatNumber(GetParam().value, GetParam().decimals), GetParam().text);
}
INSTANTIATE_TEST_SUITE_P(Values, FormatNumberCase,
                         ::testing::Values(FormatCase{12.0f, -1, "12"}, FormatCase{1.5f, 2, "1.50"},
                                           FormatCase{0.001f, 3, "0.001"},
                                           FormatCase{-2.25f, 1, "-2.2"},
                                           FormatCase{3.0f, 12, "3.000000000"},
                                           FormatCase{-0.0001f, 2, "0.00"},
                                           FormatCase{1000.0f, -1, "1000"}));

struct DecimalsCase {
  float value;
  int decimals;
};
class LabelDecimalsCase : public ::testing::TestWithParam<DecimalsCase> {};
TEST_P(LabelDecimalsCase, FollowsTheMagnitude) {
  EXPECT_EQ(LabelDecimals(GetParam().value), GetParam().decimals);
}
INSTANTIATE_TEST_SUITE_P(Values, LabelDecimalsCase,
                         ::testing::Values(DecimalsCase{0.0f, -1}, DecimalsCase{5.0f, -1},
                                           DecimalsCase{-300.0f, -1}, DecimalsCase{150.5f, 0},
                                           DecimalsCase{12.5f, 1}, DecimalsCase{-1.5f, 2},
                                           DecimalsCase{0.25f, 3}));

TEST(TextWidth, IsFortyThreeHundredthsOfTheHeightPerCharacter) {
  EXPECT_FLOAT_EQ(TextWidth(0.2f, "12345"), 0.43f * 0.2f * 5.0f);
  EXPECT_FLOAT_EQ(TextWidth(0.2f, "12345", 2), 0.43f * 0.2f * 2.0f);
  EXPECT_FLOAT_EQ(TextWidth(0.2f, "12345", -1), 0.0f);
}

TEST(Plot, NegativePenMakesTheReachedPointTheOrigin) {
  RecordingCanvas canvas;
  Plotter p(canvas);
  p.Plot(1.0f, 0.0f, kNewPage);
  p.Plot(2.0f, 1.0f, -kPenUp);
  p.Plot(0.0f, 0.0f, kPenUp);
  p.Plot(1.0f, 1.0f, kPenDown);
  p.close();
  ASSERT_EQ(canvas.segments.size(), 1u);
  EXPECT_FLOAT_EQ(canvas.segments[0].from.x, 2.0f);
  EXPECT_FLOAT_EQ(canvas.segments[0].from.y, 1.0f);
  EXPECT_FLOAT_EQ(canvas.segments[0].to.x, 3.0f);
  EXPECT_FLOAT_EQ(canvas.segments[0].to.y, 2.0f);
}

TEST(Plot, NewPageClearsToWhiteOnlyWithPositiveX) {
  RecordingCanvas canvas;
  Plotter p(canvas);
  p.Plot(0.0f, 0.0f, kNewPage);
  EXPECT_TRUE(canvas.clears.empty());
  p.Plot(1.0f, 0.0f, kNewPage);
  ASSERT_EQ(canvas.clears.size(), 1u);
  EXPECT_EQ(canvas.clears[0], (Rgb{255, 255, 255}));
  EXPECT_EQ(canvas.pages.size(), 2u);
  EXPECT_FLOAT_EQ(canvas.pages[0].width, 10.0f);
  EXPECT_FLOAT_EQ(canvas.pages[0].height, 8.0f);
}

TEST(Plot, DrawingAfterCloseIsRefusedAndDrawsNothing) {
  RecordingCanvas canvas;
  Plotter p(canvas);
  p.Plot(1.0f, 0.0f, kNewPage);
  p.close();
  EXPECT_FALSE(p.Plot(1.0f, 1.0f, kPenDown));
  EXPECT_FALSE(p.Plot(1.0f, 1.0f, kPenUp));
  EXPECT_EQ(p.refusedCalls(), 2);
  EXPECT_TRUE(canvas.segments.empty());
}

TEST(Plot, StraightRunsReachTheCanvasAsOneLine) {
  RecordingCanvas canvas;
  Plotter p(canvas);
  p.Plot(1.0f, 0.0f, kNewPage);
  p.Plot(0.0f, 0.0f, kPenUp);
  for (int i = 1; i <= 10; ++i) p.Plot(0.1f * static_cast<float>(i), 0.0f, kPenDown);
  p.Plot(1.0f, 1.0f, kPenDown);
  p.close();
  ASSERT_EQ(canvas.segments.size(), 2u);
  EXPECT_NEAR(canvas.segments[0].to.x, 1.0f, 1e-6f);
}

TEST(NewPen, IgnoresIndicesOutsideThePalette) {
  RecordingCanvas canvas;
  Plotter p(canvas);
  p.Plot(1.0f, 0.0f, kNewPage);
  p.NewPen(11);
  p.NewPen(16);
  p.NewPen(-1);
  EXPECT_EQ(p.pen(), 11);
}

TEST(Symbols, CountLimitsTheCharactersAndSuppressionDrawsNothing) {
  RecordingCanvas canvas;
  Plotter p(canvas);
  p.Plot(1.0f, 0.0f, kNewPage);
  p.SymbolCentred(1.0f, 1.0f, 0.2f, "Resistivity", 0.0f, 4);
  p.SymbolRight(1.0f, 1.0f, 0.2f, "nothing", 0.0f, 0);
  p.setSuppressed(true);
  p.SymbolLeft(1.0f, 1.0f, 0.2f, "hidden", 0.0f, 6);
  p.setSuppressed(false);
  p.NumberLeft(2.0f, 3.0f, 0.2f, 42.0f, 90.0f, -1);
  ASSERT_EQ(canvas.texts.size(), 2u);
  EXPECT_EQ(canvas.texts[0].text, "Resi");
  EXPECT_EQ(canvas.texts[0].align, TextAlign::Centre);
  EXPECT_EQ(canvas.texts[1].text, "42");
  EXPECT_FLOAT_EQ(canvas.texts[1].angle, 90.0f);
}

TEST(TextScaling, ScalesPositionsAndSizesAndSwitchesOffOnNonPositiveFactors) {
  RecordingCanvas canvas;
  Plotter p(canvas);
  p.Plot(1.0f, 0.0f, kNewPage);
  p.setTextScaling(true, 0.5f, 2.0f);
  p.SymbolLeft(2.0f, 2.0f, 0.3f, "A", 0.0f, 1);
  p.setTextScaling(true, 0.0f, 2.0f);
  EXPECT_FALSE(p.textScaling());
  ASSERT_EQ(canvas.texts.size(), 1u);
  EXPECT_FLOAT_EQ(canvas.texts[0].x, 1.0f);
  EXPECT_FLOAT_EQ(canvas.texts[0].y, 4.0f);
  EXPECT_FLOAT_EQ(canvas.texts[0].height, 0.3f);  // sqrt(0.5 x 2) = 1
}

}  // namespace
}  // namespace zeva::present
