#include "present/data_plot.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "present/plot_parts.h"
#include "present/plot_primitives.h"
#include "present/plot_series.h"

namespace zeva::present {

namespace {

using core::isSet;
using core::Sounding;

constexpr int kMaskedSymbol = 3;  // diagonal cross

int symbolFor(int set, bool masked, int frameSymbol) {
  if (masked) return kMaskedSymbol;
  const int base = std::clamp(frameSymbol, 1, 11);
  if (set == 0) return base;
  if (set == 1) return base == 4 ? 1 : 4;
  return std::min(11, 8 + set);
}

int setColour(const PlotSettings& settings, int set) {
  return settings.dataSetColours[static_cast<std::size_t>(set) % settings.dataSetColours.size()];
}

// Half-size of the symbols in a graph: a fraction of the side of a square of
// the frame's area, at most 0.03.
float symbolHalfSize(const GraphFrame& g, const PlotSettings& settings) {
  const float area = frameWidth(g) * frameHeight(g);
  return std::min(
      0.03f,
      std::sqrt(area) * (settings.symbolSizeFactor > 0.0f ? settings.symbolSizeFactor : 0.01f));
}

// The frame of a data graph at its origin, and its value-to-page mapping.
void drawDataFrame(Plotter& plotter, GraphFrame& g, const PlotSettings& settings) {
  clearExtents(g);
  moveOriginTo(plotter, g.originX, g.originY);
  plotter.NewPen(settings.frameColour);
  DrawGraphFrame(plotter, g, settings.labelHeight);
  SetAxisMapping(g);
}

// The sounding's name over the first graph and the axis titles of graph k.
void writeDataTitles(Plotter& plotter, const Sounding& S, const GraphFrame& g, int k,
                     const PlotSettings& settings) {
  const PageRect frame = frameRect(g);
  if (k == 0) {
    const std::string title = S.header.name.trimmed();
    plotter.SymbolCentred((frame.xMin + frame.xMax) / 2.0f,
                          frame.yMax + 0.75f * settings.titleHeight, settings.titleHeight, title,
                          0.0f, static_cast<int>(title.size()));
  }
  const DataPlotTitles titles = dataPlotTitles(
      S.header.dataType, k + 1,
      settings.view.voltageView || (plottedAsTem(S) && !settings.lateTime), S.header.mode);
  writeAxisTitles(plotter, g, settings, &settings.axisTitles[titles.bottom],
                  &settings.axisTitles[titles.left], &settings.axisTitles[titles.left]);
}

// The error bar of a reading at page point (px, py), clipped to the frame.
// Errors are stored in the units of the value; on a logarithmic ordinate the
// bar spans the relative error. Bars shorter than the symbol are left out.
void drawErrorBar(Plotter& plotter, const GraphFrame& g, const PageRect& frame, float px, float py,
                  float value, float error) {
  if (!(error > 0.0f)) return;
  const float half = logOrdinate(g)
                         ? std::log10(1.0f + error / std::max(std::fabs(value), 1e-30f)) *
                               std::fabs(g.yCycleLength)
                         : error * std::fabs(g.ySlope);
  if (half > 0.025f) {
    plotter.Plot(px, std::min(py + half, frame.yMax), kPenUp);
    plotter.Plot(px, std::max(py - half, frame.yMin), kPenDown);
  }
}

// The readings of one observed series as symbols with their error bars, in
// the set's colour (alternating by segment when asked), inside the frame.
void drawObservedSeries(Plotter& plotter, const DataSeries& series, const GraphFrame& g,
                        float halfSize, const PlotSettings& settings) {
  const PageRect frame = frameRect(g);
  const int colour = setColour(settings, series.set);
  const std::vector<bool> starts = segmentStarts(series.x, series.y);
  int segmentIndex = 0;
  for (std::size_t i = 0; i < series.x.size(); ++i) {
    if (starts[i]) ++segmentIndex;
    plotter.NewPen(settings.segmentColouring && segmentIndex % 2 ? alternateColour(colour)
                                                                 : colour);
    const float value = series.y[i];
    if (isMissing(series.x[i]) || isMissing(value)) continue;
    const float px = PageX(series.x[i], g);
    const float py =
        PageY(value, g) + static_cast<float>(segmentIndex) * settings.segmentSeparation;
    if (!frame.contains(px, py)) continue;
    int code = symbolFor(series.set, series.masked[i], g.symbolCode);
    if ((logOrdinate(g) && value < 0.0f) || isSet(g.alternateSymbol)) code = alternateSymbol(code);
    DrawSymbol(plotter, px, py, halfSize, code);
    drawErrorBar(plotter, g, frame, px, py, value, series.error[i]);
  }
}

// The synthetic curves of graph k: the layered model's in the colours of
// the data sets, the smooth model's in its own colour.
void drawSyntheticCurves(Plotter& plotter, std::span<const DataSeries> layered,
                         std::span<const DataSeries> smooth, int k, const GraphFrame& g,
                         const PlotSettings& settings) {
  CurveStyle line;
  line.segmentColouring = settings.segmentColouring;
  line.segmentSeparation = settings.segmentSeparation;
  for (const DataSeries& series : layered) {
    if (series.graph != k) continue;
    plotter.NewPen(setColour(settings, series.set));
    DrawCurve(plotter, series.x, series.y, false, g, line);
  }
  line.segmentColouring = false;
  for (const DataSeries& series : smooth) {
    if (series.graph != k) continue;
    plotter.NewPen(settings.secondModelColour);
    DrawCurve(plotter, series.x, series.y, false, g, line);
  }
}

}  // namespace

void DrawDataPlot(Plotter& plotter, const Sounding& S, const Sounding& SM,
                  std::span<GraphFrame> graphs, const PlotSettings& settings) {
  if (S.NDATA() <= 0) return;
  const int count = std::min<int>(dataGraphCount(S), static_cast<int>(graphs.size()));
  const std::vector<DataSeries> observed = observedSeries(S, settings);
  std::vector<DataSeries> synthetic;
  if (settings.view.showLayered) synthetic = syntheticSeries(S, settings);
  std::vector<DataSeries> smooth;
  if (settings.view.showSmooth && SM.hasModel()) smooth = syntheticSeries(SM, settings);

  for (int k = 0; k < count; ++k) {
    GraphFrame& g = graphs[static_cast<std::size_t>(k)];
    drawDataFrame(plotter, g, settings);
    if (!frameRect(g).valid()) continue;
    writeDataTitles(plotter, S, g, k, settings);
    const float halfSize = symbolHalfSize(g, settings);
    for (const DataSeries& series : observed)
      if (series.graph == k) drawObservedSeries(plotter, series, g, halfSize, settings);
    drawSyntheticCurves(plotter, synthetic, smooth, k, g, settings);
  }
  moveOriginTo(plotter, 0.0f, 0.0f);
}

}  // namespace zeva::present
