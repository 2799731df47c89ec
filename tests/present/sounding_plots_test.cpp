// The sounding plots on a recording canvas: curves and their breaks, grids, the
// MT reference line, model on data, the layered model and the MT transforms
// drawn in it.

#include "present/sounding_plots.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "forward/tem_late_time.h"
#include "present/plot_setup.h"
#include "present/recording_canvas.h"
#include "tests/present/plot_test_soundings.h"

namespace zeva::present {
namespace {

using core::kTrue;

Rgb pen(int index) { return palette()[static_cast<std::size_t>(index)]; }

GraphFrame unitFrame() {
  GraphFrame g;
  g.xCycles = 3;
  g.xCycleLength = 2.0f;
  g.yCycles = 2;
  g.yCycleLength = 2.0f;
  SetAxisMapping(g);
  return g;
}

struct Recorded {
  RecordingCanvas canvas;
  Plotter plotter{canvas};
  Recorded() { plotter.Plot(1.0f, 0.0f, kNewPage); }
};

TEST(DrawCurve, AMissingValueBreaksTheLineIntoTwoParts) {
  Recorded r;
  const GraphFrame g = unitFrame();
  const std::vector<float> x{1, 2, 5, 10, 20, 50};
  const std::vector<float> y{1, 2, 3, 1.0e10f, 4, 5};
  DrawCurve(r.plotter, x, y, false, g, CurveStyle{});
  r.plotter.close();
  EXPECT_EQ(r.canvas.polylines, 2);
  // Nothing is drawn between the readings on either side of the gap.
  for (const auto& s : r.canvas.segments)
    EXPECT_FALSE(s.from.x < PageX(5, g) + 1e-4f && s.to.x > PageX(20, g) - 1e-4f);
}

TEST(DrawCurve, RepeatedAbscissaAndTurningPointStartNewSegments) {
  Recorded r;
  const GraphFrame g = unitFrame();
  // 1 2 5 | 5 10 20 | 10 30: equal abscissae, then a turning point at 20.
  const std::vector<float> x{1, 2, 5, 5, 10, 20, 10, 30};
  const std::vector<float> y{1, 1, 1, 2, 2, 2, 3, 3};
  CurveStyle style;
  style.segmentColouring = true;
  r.plotter.NewPen(6);
  DrawCurve(r.plotter, x, y, false, g, style);
  r.plotter.close();
  EXPECT_EQ(r.canvas.polylines, 3);
  // Segments alternate between the pen and the next colour; each segment is
  // straight here and reaches the canvas as one stroke.
  EXPECT_EQ(r.canvas.segmentsIn(pen(6)), 2u);
  EXPECT_EQ(r.canvas.segmentsIn(pen(7)), 1u);
}

TEST(DrawCurve, NoSegmentsDrawsOneLine) {
  Recorded r;
  const GraphFrame g = unitFrame();
  const std::vector<float> x{1, 2, 5, 5, 10};
  const std::vector<float> y{1, 1, 1, 2, 2};
  CurveStyle style;
  style.noSegments = true;
  DrawCurve(r.plotter, x, y, false, g, style);
  r.plotter.close();
  EXPECT_EQ(r.canvas.polylines, 1);
}

TEST(DrawCurve, NegativeValuesOnALogOrdinateUseTheAlternateSymbol) {
  const GraphFrame g = unitFrame();
  Recorded positive, negative;
  const std::vector<float> x{10};
  DrawCurve(positive.plotter, x, std::vector<float>{30}, true, g, CurveStyle{});
  DrawCurve(negative.plotter, x, std::vector<float>{-30}, true, g, CurveStyle{});
  positive.plotter.close();
  negative.plotter.close();
  EXPECT_EQ(positive.canvas.segments.size(), 4u);  // square
  EXPECT_EQ(negative.canvas.segments.size(), 6u);  // square with a cross
  EXPECT_NEAR(negative.canvas.segments[0].from.y, PageY(30, g) - 0.03f, 1e-4f);
}

TEST(DrawCurve, ZeroAreaClipDrawsNothing) {
  Recorded r;
  GraphFrame g = unitFrame();
  g.clipYMax = g.clipYMin;
  DrawCurve(r.plotter, std::vector<float>{1, 2}, std::vector<float>{1, 2}, false, g, CurveStyle{});
  r.plotter.close();
  EXPECT_TRUE(r.canvas.segments.empty());
}

TEST(DrawDashedLine, DashesAndGapsAlternateAlongTheLine) {
  Recorded r;
  GraphFrame g;
  g.xCycles = 1;
  g.xCycleLength = 1.0f;
  g.xStep = 1.0f;
  g.xExponentOrDivisions = 1;
  g.yCycles = 1;
  g.yCycleLength = 1.0f;
  g.yStep = 1.0f;
  g.yExponentOrDivisions = 1;
  SetAxisMapping(g);
  DrawDashedLine(r.plotter, std::vector<float>{0.0f, 1.0f}, std::vector<float>{0.5f, 0.5f}, 0.03f,
                 0.07f, g);
  r.plotter.close();
  EXPECT_EQ(r.canvas.segments.size(), 10u);  // ten periods of 0.1 on a unit line
  float inked = 0.0f;
  for (const auto& s : r.canvas.segments) inked += s.to.x - s.from.x;
  EXPECT_NEAR(inked, 0.3f, 1e-4f);
}

// Picture of a current sounding after autoscale.
struct Picture {
  RecordingCanvas canvas;
  void draw(core::CurrentSounding& c, const PlotSettings& settings) {
    canvas.reset();
    Plotter p(canvas);
    SetUpPlots(c, settings);
    DrawSoundingPage(p, c, settings);
    p.close();
  }
};

TEST(Grid, MinorLinesAreDrawnOnlyWithTheMajorGrid) {
  core::CurrentSounding c;
  core::resetToDefault(c);
  PlotSettings settings;
  Picture picture;
  settings.view.minorGridData = true;
  settings.view.majorGridData = false;
  picture.draw(c, settings);
  EXPECT_EQ(picture.canvas.segmentsIn(pen(colour::kGrey)), 0u);
  settings.view.majorGridData = true;
  picture.draw(c, settings);
  // Two decades of spacing (x) and two of resistivity (y), 8 minor lines each.
  const GraphFrame& g = c.dataFrames[0];
  const auto minor = static_cast<std::size_t>(8 * (g.xCycles + g.yCycles));
  EXPECT_EQ(picture.canvas.segmentsIn(pen(colour::kGrey)), minor);
}

TEST(RedLine, IsDrawnForMtOnlyAndHorizontalOnlyOnALogOrdinate) {
  PlotSettings settings;
  settings.view.redLine = true;
  settings.view.showLayered = false;
  Picture picture;

  core::CurrentSounding dc;
  core::resetToDefault(dc);
  picture.draw(dc, settings);
  EXPECT_EQ(picture.canvas.segmentsIn(pen(colour::kRed)), 0u);

  core::CurrentSounding mt;
  test::halfSpaceMt(mt, 100.0f);
  picture.draw(mt, settings);
  // Graph 1 (log ordinate): the 1 Hz line and the 10 ohm-m line; graph 2
  // (linear phase): the 1 Hz line only.
  std::vector<RecordingCanvas::Segment> red;
  for (const auto& s : picture.canvas.segments)
    if (s.colour == pen(colour::kRed)) red.push_back(s);
  ASSERT_EQ(red.size(), 3u);
  const GraphFrame& g1 = mt.dataFrames[0];
  const float x1Hz = g1.originX + PageX(1.0f, g1);
  EXPECT_NEAR(red[0].from.x, x1Hz, 1e-4f);
  EXPECT_NEAR(red[1].from.y, g1.originY + PageY(10.0f, g1), 1e-4f);
  EXPECT_NEAR(red[2].from.x, x1Hz, 1e-4f);

  settings.view.redLine = false;
  picture.draw(mt, settings);
  EXPECT_EQ(picture.canvas.segmentsIn(pen(colour::kRed)), 0u);
}

TEST(ModelOnData, DrawsNoModelFrameAndPutsTheModelInTheDataGraph) {
  core::CurrentSounding c;
  core::resetToDefault(c);
  test::fillModel(c.S, {100.0f, 10.0f}, {20.0f});
  PlotSettings settings;
  Picture picture;
  picture.draw(c, settings);
  EXPECT_TRUE(picture.canvas.hasText("Depth (m)"));

  c.modelOnData = kTrue;
  picture.draw(c, settings);
  EXPECT_FALSE(picture.canvas.hasText("Depth (m)"));
  EXPECT_FALSE(picture.canvas.hasText("Resistivity (ohm-m)"));
  const GraphFrame& g = c.dataFrames[0];
  const float right = g.originX + frameWidth(g);
  for (const auto& s : picture.canvas.segments) EXPECT_LE(s.from.x, right + 0.02f);
  // The boundary at 20 m is a vertical red step at abscissa 20 from 100 down to 10.
  const float x20 = g.originX + PageX(20.0f, g);
  const bool step = std::ranges::any_of(picture.canvas.segments, [&](const auto& s) {
    return s.colour == pen(colour::kRed) && std::fabs(s.from.x - x20) < 1e-3f &&
           std::fabs(s.to.x - x20) < 1e-3f;
  });
  EXPECT_TRUE(step);
}

TEST(Plots, WithoutDataOrModelTheirFramesAreNotDrawn) {
  core::CurrentSounding c;
  core::resetToDefault(c);
  c.S.header.NDATA = 0;
  c.S.allocateData();
  c.S.model.NLAYER = 0;
  c.S.model.NPAR = 0;
  c.S.allocateModelForStoredCounts();
  PlotSettings settings;
  Picture picture;
  picture.draw(c, settings);
  EXPECT_TRUE(picture.canvas.segments.empty());
  EXPECT_TRUE(picture.canvas.texts.empty());
}

TEST(ModelPlot, LayeredModelStepsAtItsBoundaries) {
  core::CurrentSounding c;
  core::resetToDefault(c);
  test::fillModel(c.S, {100.0f, 10.0f}, {20.0f});
  PlotSettings settings;
  Picture picture;
  picture.draw(c, settings);
  const GraphFrame& g = c.modelFrames[0];
  const float y20 = g.originY + PageY(20.0f, g);
  const float x100 = g.originX + PageX(100.0f, g), x10 = g.originX + PageX(10.0f, g);
  const auto red = std::ranges::count_if(
      picture.canvas.segments, [&](const auto& s) { return s.colour == pen(colour::kRed); });
  EXPECT_EQ(red, 3);
  const bool horizontalAt20m = std::ranges::any_of(picture.canvas.segments, [&](const auto& s) {
    return s.colour == pen(colour::kRed) && std::fabs(s.from.y - y20) < 1e-3f &&
           std::fabs(s.to.y - y20) < 1e-3f && std::fabs(s.from.x - x100) < 1e-3f &&
           std::fabs(s.to.x - x10) < 1e-3f;
  });
  EXPECT_TRUE(horizontalAt20m);
}

TEST(DataPlot, ErrorBarsSpanTheRelativeErrorOnALogOrdinate) {
  core::CurrentSounding c;
  test::fillData(c.S, core::type::kWenner, {10, 100}, {{50, 50}});
  c.S.data().UVOLTS(0, 0) = 10.0f;  // ohm-m, 20 % of the value
  c.S.data().UVOLTS(1, 0) = 0.25f;  // 0.5 %, too short to show
  test::fillModel(c.S, {50.0f}, {});
  c.S.shareDataWith(c.SM);
  PlotSettings settings;
  Picture picture;
  picture.draw(c, settings);
  const GraphFrame& g = c.dataFrames[0];
  const float half = std::log10(1.2f) * std::fabs(g.yCycleLength);
  const float x = g.originX + PageX(10.0f, g);
  std::vector<RecordingCanvas::Segment> bars;
  for (const auto& s : picture.canvas.segments)
    if (std::fabs(s.from.x - s.to.x) < 1e-6f && std::fabs(s.from.y - s.to.y) > 0.2f &&
        s.colour == pen(settings.dataSetColours[0]))
      bars.push_back(s);
  ASSERT_EQ(bars.size(), 1u);
  EXPECT_NEAR(bars[0].from.x, x, 1e-4f);
  EXPECT_NEAR(bars[0].from.y - bars[0].to.y, 2.0f * half, 1e-3f);
}

// Vertical bars of a data set's colour longer than a symbol.
std::vector<RecordingCanvas::Segment> errorBars(const RecordingCanvas& canvas, Rgb colour) {
  std::vector<RecordingCanvas::Segment> bars;
  for (const auto& s : canvas.segments)
    if (std::fabs(s.from.x - s.to.x) < 1e-6f && std::fabs(s.from.y - s.to.y) > 0.1f &&
        s.colour == colour)
      bars.push_back(s);
  return bars;
}

TEST(DataPlot, TemErrorBarIsTwoThirdsOfTheVoltageErrorInLateTimeResistivity) {
  core::CurrentSounding c;
  test::fillData(c.S, core::type::kCentralLoopTem, {1.0f, 3.0f, 10.0f}, {{1000.0f, 100.0f, 10.0f}});
  c.S.data().UVOLTS(1, 0) = 30.0f;  // 30 % of the voltage
  c.S.shareDataWith(c.SM);
  PlotSettings settings;
  // Late time: the apparent resistivity goes as the voltage to the power -2/3.
  settings.lateTime = [](const core::Sounding&, std::span<const float>,
                         std::span<const float> volts, std::span<float> rho) {
    for (std::size_t i = 0; i < volts.size(); ++i)
      rho[i] = 1.0e4f * std::pow(volts[i], -2.0f / 3.0f);
  };
  Picture picture;
  picture.draw(c, settings);
  const GraphFrame& g = c.dataFrames[0];
  const auto bars = errorBars(picture.canvas, pen(settings.dataSetColours[0]));
  ASSERT_EQ(bars.size(), 1u);
  EXPECT_NEAR(std::fabs(bars[0].from.y - bars[0].to.y),
              2.0f * std::log10(1.2f) * std::fabs(g.yCycleLength), 1e-3f);
}

TEST(DataPlot, ConductivityMeterReadingsSitAtTheirEffectivePenetrationDepths) {
  core::CurrentSounding c;
  test::fillData(c.S, core::type::kEmConductivity, {9800, 6400}, {{20, 30}, {25, 35}});
  c.S.header.NGEOM = 3;  // frequency, coil spacing, height
  c.S.allocateData();
  auto& d = c.S.data();
  const float geometry[2][3] = {{9800, 3.66f, 1}, {6400, 10, 0}};
  for (int i = 0; i < 2; ++i)
    for (int k = 0; k < 3; ++k) d.TIME(i, k) = geometry[i][k];
  d.VOLTS(0, 0) = 20, d.VOLTS(1, 0) = 30, d.VOLTS(0, 1) = 25, d.VOLTS(1, 1) = 35;
  d.NSET[0] = 2;
  const auto series = observedSeries(c.S, PlotSettings{});
  ASSERT_EQ(series.size(), 2u);
  // Horizontal dipoles see about 0.75 spacing deep, vertical ones 1.5, less
  // the height of the coils.
  EXPECT_NEAR(series[0].x[0], 0.75f * 3.66f - 1.0f, 1e-4f);
  EXPECT_NEAR(series[0].x[1], 7.5f, 1e-4f);
  EXPECT_NEAR(series[1].x[0], 1.5f * 3.66f - 1.0f, 1e-4f);
  EXPECT_NEAR(series[1].x[1], 15.0f, 1e-4f);
}

TEST(DataPlot, MaxMinSpacingSoundingIsPlottedAgainstTheSpacing) {
  core::CurrentSounding c;
  test::fillData(c.S, core::type::kHorizontalCoplanar, {1760, 1760, 1760}, {{5, 8, 12}, {9, 7, 4}});
  c.S.header.NGEOM = 3;
  c.S.header.mode = 2;  // the coil spacing varies
  c.S.allocateData();
  auto& d = c.S.data();
  for (int i = 0; i < 3; ++i) {
    d.TIME(i, 0) = 1760.0f;
    d.TIME(i, 1) = 50.0f * static_cast<float>(i + 1);
    d.VOLTS(i, 0) = 1.0f, d.VOLTS(i, 1) = 2.0f;
  }
  d.NSET[0] = 3;
  const auto series = observedSeries(c.S, PlotSettings{});
  ASSERT_EQ(series.size(), 2u);
  EXPECT_EQ(series[0].x, (std::vector<float>{50, 100, 150}));
  EXPECT_EQ(series[1].x, (std::vector<float>{50, 100, 150}));
}

TEST(ModelPlot, IpGraphLabelsKeepClearOfTheResistivityLabels) {
  core::CurrentSounding c;
  core::resetToDefault(c);
  test::fillModel(c.S, {150.0f, 20.0f, 900.0f}, {4.0f, 15.0f}, {2.0f, 20.0f, 5.0f});
  PlotSettings settings;
  Picture picture;
  picture.draw(c, settings);
  const GraphFrame& rho = c.modelFrames[0];
  const GraphFrame& ip = c.modelFrames[1];
  ASSERT_FLOAT_EQ(ip.originX, rho.originX + frameWidth(rho));
  // Labels below the model frames, by their left and right ends.
  float rhoRight = -1.0f, ipLeft = 100.0f;
  const float below = rho.originY - frameHeight(rho);
  for (const auto& t : picture.canvas.texts) {
    if (t.angle != 0.0f || t.y > below || t.y < below - 0.45f) continue;
    const float width = TextWidth(t.height, t.text);
    const float left = t.align == TextAlign::Left ? t.x : t.x - width / 2.0f;
    if (left >= rho.originX - 0.2f && left < ip.originX - 0.05f)
      rhoRight = std::max(rhoRight, left + width);
    else if (left >= ip.originX - 0.05f)
      ipLeft = std::min(ipLeft, left);
  }
  ASSERT_GT(rhoRight, 0.0f);
  EXPECT_GT(ipLeft, rhoRight);
}

// The frames are saved with the sounding, so a redraw must not change what
// Save writes: drawing leaves them byte for byte as the set-up left them.
TEST(Plots, DrawingLeavesTheStoredFramesAsTheSetUpLeftThem) {
  core::CurrentSounding c;
  core::resetToDefault(c);
  test::fillModel(c.S, {150.0f, 20.0f, 900.0f}, {4.0f, 15.0f}, {2.0f, 20.0f, 5.0f});
  PlotSettings settings;
  for (const core::Logical onData : {core::kFalse, kTrue}) {
    c.modelOnData = onData;
    SetUpPlots(c, settings);
    const std::array<GraphFrame, 2> dataBefore = c.dataFrames, modelBefore = c.modelFrames;
    for (int pass = 0; pass < 2; ++pass) {
      RecordingCanvas canvas;
      Plotter plotter(canvas);
      DrawSoundingPage(plotter, c, settings);
      plotter.close();
      ASSERT_FALSE(canvas.segments.empty());
    }
    for (std::size_t k = 0; k < 2; ++k) {
      EXPECT_EQ(std::memcmp(&c.dataFrames[k], &dataBefore[k], sizeof(GraphFrame)), 0)
          << "data frame " << k << (core::isSet(onData) ? " with the model on the data" : "");
      EXPECT_EQ(std::memcmp(&c.modelFrames[k], &modelBefore[k], sizeof(GraphFrame)), 0)
          << "model frame " << k;
    }
  }
}

TEST(DataPlot, TitlesFollowTheDataType) {
  core::CurrentSounding c;
  test::halfSpaceMt(c, 100.0f);
  PlotSettings settings;
  Picture picture;
  picture.draw(c, settings);
  EXPECT_TRUE(picture.canvas.hasText("Test Station"));
  EXPECT_TRUE(picture.canvas.hasText("Frequency (Hz)"));
  EXPECT_TRUE(picture.canvas.hasText("Apparent Resistivity (ohm-m)"));
  EXPECT_TRUE(picture.canvas.hasText("Phase (deg)"));
  const auto* title = picture.canvas.findText("Apparent Resistivity (ohm-m)");
  EXPECT_FLOAT_EQ(title->angle, 90.0f);
}

TEST(ModelPlot, DrawsEachMtTransformOnlyWhenAskedAtTheHalfSpaceResistivity) {
  core::CurrentSounding c;
  test::halfSpaceMt(c, 100.0f);
  PlotSettings settings;
  settings.bostickColour = 13;
  settings.niblettColour = 14;
  Picture picture;
  picture.draw(c, settings);
  EXPECT_EQ(picture.canvas.segmentsIn(pen(13)), 0u);
  EXPECT_EQ(picture.canvas.segmentsIn(pen(14)), 0u);
  settings.view.showBostick = true;
  picture.draw(c, settings);
  EXPECT_GT(picture.canvas.segmentsIn(pen(13)), 0u);
  EXPECT_EQ(picture.canvas.segmentsIn(pen(14)), 0u);
  // Over a half-space both transforms are a vertical line at its resistivity.
  settings.view.showNiblett = true;
  picture.draw(c, settings);
  const GraphFrame& g = c.modelFrames[0];
  const float x100 = g.originX + PageX(100.0f, g);
  for (int colour : {13, 14}) {
    EXPECT_GT(picture.canvas.segmentsIn(pen(colour)), 0u);
    for (const auto& s : picture.canvas.segments)
      if (s.colour == pen(colour)) {
        EXPECT_NEAR(s.from.x, x100, 1e-3f);
        EXPECT_NEAR(s.to.x, x100, 1e-3f);
      }
  }
}

TEST(TemPlot, UsesTheLateTimeConversionAndFallsBackToVoltage) {
  core::CurrentSounding c;
  test::fillData(c.S, core::type::kCentralLoopTem, {0.1f, 1.0f, 10.0f}, {{1000, 10, 0.1f}});
  PlotSettings settings;
  settings.lateTime = nullptr;
  auto voltage = observedSeries(c.S, settings);
  ASSERT_EQ(voltage.size(), 1u);
  EXPECT_FLOAT_EQ(voltage[0].y[1], 10.0f);
  settings.lateTime = [](const core::Sounding&, std::span<const float> t, std::span<const float> v,
                         std::span<float> rho) {
    for (std::size_t i = 0; i < rho.size(); ++i) rho[i] = 100.0f * t[i] / (1.0f + v[i]);
  };
  auto resistivity = observedSeries(c.S, settings);
  EXPECT_FLOAT_EQ(resistivity[0].y[1], 100.0f / 11.0f);
  settings.view.voltageView = true;
  EXPECT_FLOAT_EQ(observedSeries(c.S, settings)[0].y[1], 10.0f);
}

// The synthetic transient is drawn as the gates are: voltages in the voltage
// view, the same late-time conversion otherwise; a gate the model did not
// reach (0) is not drawn.
TEST(TemPlot, SyntheticsFollowTheGatesView) {
  core::CurrentSounding c;
  test::fillData(c.S, core::type::kCentralLoopTem, {0.1f, 1.0f, 10.0f}, {{1000, 10, 0.1f}});
  c.S.SVOLT.resize(3, 1);
  c.S.SVOLT(0, 0) = 900.0f;
  c.S.SVOLT(1, 0) = 12.0f;
  c.S.layer.syntheticValid = core::kTrue;
  PlotSettings settings;
  settings.lateTime = [](const core::Sounding&, std::span<const float> t, std::span<const float> v,
                         std::span<float> rho) {
    for (std::size_t i = 0; i < rho.size(); ++i) rho[i] = 100.0f * t[i] / (1.0f + v[i]);
  };
  const auto resistivity = syntheticSeries(c.S, settings);
  ASSERT_EQ(resistivity.size(), 1u);
  EXPECT_FLOAT_EQ(resistivity[0].y[1], 100.0f / 13.0f);
  EXPECT_GE(resistivity[0].y[2], 1.0e10f);
  settings.view.voltageView = true;
  const auto voltage = syntheticSeries(c.S, settings);
  EXPECT_FLOAT_EQ(voltage[0].y[0], 900.0f);
  EXPECT_GE(voltage[0].y[2], 1.0e10f);
}

TEST(TemPlot, PlotsTheProgramsLateTimeResistivityByDefault) {
  core::CurrentSounding c;
  test::fillData(c.S, core::type::kCentralLoopTem, {0.1f, 1.0f, 10.0f}, {{1000, 10, 0.1f}});
  c.S.header.loopSizeX = c.S.header.loopSizeY = 100.0f;
  c.S.data().AMPS[0] = 1.0f;
  c.S.data().NTURNS[0] = 1;
  const std::vector<float> expected = forward::lateTimeApparentResistivity(c.S);
  const auto series = observedSeries(c.S, PlotSettings{});
  ASSERT_EQ(series.size(), 1u);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_GT(expected[i], 0.0f);
    EXPECT_FLOAT_EQ(series[0].y[i], expected[i]);
  }
}

}  // namespace
}  // namespace zeva::present
