#include "present/plot_setup.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/record/data_type.h"
#include "forward/mt_depth_transforms.h"

namespace zeva::present {

namespace {

using core::GraphFrame;
using core::isSet;
using core::Sounding;

constexpr int kLowestExponent = -30;
constexpr int kHighestExponent = 30;

// Collects the values an axis must show: magnitudes for a logarithmic axis,
// signed values for a linear one.
struct Extent {
  float lowMagnitude = std::numeric_limits<float>::max();
  float highMagnitude = 0.0f;
  float low = std::numeric_limits<float>::max();
  float high = std::numeric_limits<float>::lowest();

  void add(float v) {
    if (isMissing(v) || !std::isfinite(v) || v <= -1.0e10f) return;
    low = std::min(low, v);
    high = std::max(high, v);
    const float m = std::fabs(v);
    if (m > 0.0f) {
      lowMagnitude = std::min(lowMagnitude, m);
      highMagnitude = std::max(highMagnitude, m);
    }
  }
  void add(std::span<const float> values) {
    for (float v : values) add(v);
  }
  bool hasMagnitudes() const { return highMagnitude > 0.0f; }
  bool hasValues() const { return high >= low; }
};

// A logarithmic axis of `length` page units over the decades of r (a
// negative length runs it left or down), or a linear one over r's cycles.
void setLog(AxisFields axis, float length, DecadeRange r) {
  axis.cycles = r.decades;
  axis.cycleLength = length / static_cast<float>(r.decades);
  axis.step = 0.0f;
  axis.start = 0.0f;
  axis.exponentOrDivisions = r.firstExponent;
}
void setLinear(AxisFields axis, float length, LinearRange r) {
  axis.cycles = r.cycles;
  axis.cycleLength = length / static_cast<float>(r.cycles);
  axis.step = r.step;
  axis.start = r.start;
  axis.exponentOrDivisions = r.divisions;
}

void commonFrameSettings(GraphFrame& g, int symbol) {
  g.tickCap = 0.16f;
  g.capTicks = core::kTrue;
  g.thinLines = core::kFalse;
  g.noSegments = core::kFalse;
  g.alternateSymbol = core::kFalse;
  g.symbolCode = symbol;
  g.labelsRightOfY = core::kFalse;
}

DecadeRange decadesOf(const Extent& e) {
  return e.hasMagnitudes() ? decadesAround(e.lowMagnitude, e.highMagnitude) : DecadeRange{0, 3};
}

LinearRange linearOf(const Extent& e, bool includeZero) {
  if (!e.hasValues()) return linearAround(0.0f, 1.0f);
  float low = e.low, high = e.high;
  if (includeZero) {
    low = std::min(low, 0.0f);
    high = std::max(high, 0.0f);
  }
  return linearAround(low, high);
}

// Resistivities (first block) and depths of a model into the extents.
void addModel(const ModelColumns& m, Extent& values, Extent& depths, int block) {
  values.add(block == 0 ? std::span<const float>(m.resistivity) : std::span<const float>(m.ip));
  depths.add(m.bottomDepth);
}

// The data plot shows apparent resistivities: not for MaxMin data, nor for
// TEM gates drawn as voltages.
bool resistivityLike(const Sounding& S, const PlotSettings& settings) {
  return !core::isMaxMin(S.header.dataType) && !(plottedAsTem(S) && settings.view.voltageView);
}

}  // namespace

DecadeRange decadesAround(float low, float high) {
  if (!(low > 0.0f) || !(high > 0.0f)) return {0, 3};
  if (high < low) std::swap(low, high);
  // A value within rounding of a decade belongs to that decade boundary.
  int first = static_cast<int>(std::floor(std::log10(low) + 1e-4f));
  int last = static_cast<int>(std::ceil(std::log10(high) - 1e-4f));
  // At least two decades, the extra one on the side where the values lie
  // closer to the frame, so that a constant curve does not run along an edge.
  if (last - first < 2) {
    const float middle = (std::log10(low) + std::log10(high)) / 2.0f;
    if (middle - static_cast<float>(first) <= static_cast<float>(last) - middle)
      --first;
    else
      ++last;
    last = std::max(last, first + 2);
  }
  first = std::clamp(first, kLowestExponent, kHighestExponent - 2);
  last = std::clamp(last, first + 2, kHighestExponent);
  return {first, last - first};
}

LinearRange linearAround(float low, float high, int maxCycles) {
  if (!(high > low)) {
    const float pad = low != 0.0f ? std::fabs(low) * 0.1f : 1.0f;
    low -= pad;
    high += pad;
  }
  maxCycles = std::max(2, maxCycles);
  const float span = high - low;
  int exponent = static_cast<int>(std::floor(std::log10(span / static_cast<float>(maxCycles))));
  constexpr float kMantissas[] = {1.0f, 2.0f, 2.5f, 5.0f};
  constexpr int kDivisions[] = {5, 4, 5, 5};
  for (int attempt = 0; attempt < 4; ++attempt, ++exponent) {
    for (int m = 0; m < 4; ++m) {
      const float step = kMantissas[m] * std::pow(10.0f, static_cast<float>(exponent));
      const float start = std::floor(low / step + 1e-4f) * step;
      const int cycles = static_cast<int>(std::ceil((high - start) / step - 1e-4f));
      if (cycles >= 1 && cycles <= maxCycles) return {start, step, cycles, kDivisions[m]};
    }
  }
  return {low, span, 1, 5};
}

void SetUpDataPlot(const Sounding& S, const Sounding& SM, std::span<GraphFrame> graphs,
                   bool modelOnData, const PlotSettings& settings) {
  if (graphs.empty()) return;
  const int count = std::min<int>(dataGraphCount(S), static_cast<int>(graphs.size()));
  for (std::size_t k = static_cast<std::size_t>(count); k < graphs.size(); ++k) graphs[k] = {};

  const std::vector<DataSeries> observed = observedSeries(S, settings);
  std::vector<DataSeries> curves = observed;
  if (settings.view.showLayered)
    for (DataSeries& s : syntheticSeries(S, settings)) curves.push_back(std::move(s));
  if (settings.view.showSmooth && SM.hasModel())
    for (DataSeries& s : syntheticSeries(SM, settings)) curves.push_back(std::move(s));

  Extent x;
  std::vector<Extent> y(static_cast<std::size_t>(count));
  for (const DataSeries& s : curves) {
    x.add(s.x);
    if (s.graph < count) y[static_cast<std::size_t>(s.graph)].add(s.y);
  }
  if (modelOnData && count > 0) {
    // The model's depth runs along the abscissa and its values along the
    // ordinate; the half-space needs room below the last boundary.
    Extent depths;
    if (S.hasModel()) addModel(modelColumns(S), y[0], depths, 0);
    if (settings.view.showSmooth && SM.hasModel()) addModel(modelColumns(SM), y[0], depths, 0);
    if (depths.hasMagnitudes()) {
      x.add(depths.lowMagnitude / 2.0f);
      x.add(depths.highMagnitude * 2.0f);
    }
  }

  const bool tem = plottedAsTem(S);
  const bool mt = core::isMagnetotelluric(S.header.dataType);
  const bool maxMin = core::isMaxMin(S.header.dataType);
  const float fullHeight = kPlotTop - kPlotBottom;
  for (int k = 0; k < count; ++k) {
    GraphFrame& g = graphs[static_cast<std::size_t>(k)];
    g = {};
    commonFrameSettings(g, k == 0 ? 1 : 4);
    g.originX = kDataPlotLeft;
    float height = fullHeight;
    if (count == 1) {
      g.originY = kPlotBottom;
    } else if (k == 0) {
      g.originY = kPlotBottom + 2.25f;
      height = kPlotTop - g.originY;
    } else {
      g.originY = kPlotBottom;
      height = 1.75f;
    }
    g.labelsBelowX = core::logical(k == count - 1);
    g.labelsLeftOfY = core::kTrue;

    if (tem && settings.view.linearTime && k == 0)
      setLinear(xAxisOf(g), kDataPlotWidth, linearOf(x, true));
    else
      setLog(xAxisOf(g), kDataPlotWidth, decadesOf(x));

    const Extent& e = y[static_cast<std::size_t>(k)];
    if (maxMin) {
      setLinear(yAxisOf(g), height, linearOf(e, true));
    } else if (k == 1 && mt && (!e.hasValues() || (e.low >= 0.0f && e.high <= 90.0f))) {
      setLinear(yAxisOf(g), height, LinearRange{0.0f, 15.0f, 6, 3});
    } else if (k == 1) {
      setLinear(yAxisOf(g), height, linearOf(e, true));
    } else {
      setLog(yAxisOf(g), height, decadesOf(e));
    }
    SetAxisMapping(g);
  }
}

void SetUpModelPlot(const Sounding& S, const Sounding& SM, std::span<GraphFrame> graphs,
                    const PlotSettings& settings) {
  if (graphs.empty()) return;
  const bool layered = S.hasModel(), smooth = SM.hasModel();
  int count = std::max(layered ? modelGraphCount(S) : 1, smooth ? modelGraphCount(SM) : 1);
  count = std::min<int>(count, static_cast<int>(graphs.size()));
  for (std::size_t k = static_cast<std::size_t>(count); k < graphs.size(); ++k) graphs[k] = {};

  std::vector<Extent> values(2);
  Extent depths;
  if (layered) addModel(modelColumns(S), values[0], depths, 0);
  if (layered && S.NPK() > 1) addModel(modelColumns(S), values[1], depths, 1);
  if (smooth && (settings.view.showSmooth || !layered)) {
    addModel(modelColumns(SM), values[0], depths, 0);
    if (SM.NPK() > 1) addModel(modelColumns(SM), values[1], depths, 1);
  }
  if (layered && settings.view.showEquivalence && isSet(S.layer.equivalenceValid)) {
    const int nlayer = S.NLAYER();
    for (std::size_t j = 0; j < S.PARMIN.size() && j < S.PARMAX.size(); ++j) {
      const int block = static_cast<int>(j) / std::max(1, nlayer);
      if (static_cast<int>(j) < nlayer * S.NPK() && block < 2) {
        values[static_cast<std::size_t>(block)].add(S.PARMIN[j]);
        values[static_cast<std::size_t>(block)].add(S.PARMAX[j]);
      }
    }
    for (std::size_t j = 0; j + 1 < static_cast<std::size_t>(nlayer); ++j) {
      if (j < S.ZNMIN.size()) depths.add(S.ZNMIN[j]);
      if (j < S.ZNMAX.size()) depths.add(S.ZNMAX[j]);
    }
    std::vector<float> row(S.EQUIVA.cols());
    for (std::size_t r = 0; r < S.EQUIVA.rows(); ++r) {
      for (std::size_t j = 0; j < row.size(); ++j) row[j] = S.EQUIVA(r, j);
      const ModelColumns m = modelColumnsOf(S, row);
      if (m.resistivity.empty() ||
          !std::ranges::all_of(m.resistivity, [](float v) { return v > 0.0f; }))
        continue;
      addModel(m, values[0], depths, 0);
      if (S.NPK() > 1) values[1].add(m.ip);
    }
  }
  if (core::isMagnetotelluric(S.header.dataType)) {
    if (settings.view.showBostick) {
      const forward::DepthCurve c = forward::BostickModel(S, settings.transformsIncludeMasked);
      values[0].add(c.resistivity);
      depths.add(c.depth);
    }
    if (settings.view.showNiblett) {
      const forward::DepthCurve c = forward::NiblettModel(S, settings.transformsIncludeMasked);
      values[0].add(c.resistivity);
      depths.add(c.depth);
    }
  }
  // Resistivity models share the decades of the apparent resistivities, so
  // that model and data can be read against each other.
  if (resistivityLike(S, settings))
    for (const DataSeries& s : observedSeries(S, settings))
      if (s.graph == 0) values[0].add(s.y);

  DecadeRange depthDecades{0, 3};
  if (depths.hasMagnitudes())
    depthDecades = decadesAround(depths.lowMagnitude / 2.0f, depths.highMagnitude * 2.0f);

  const float width = count == 2 ? kModelPlotWidth / 2.0f : kModelPlotWidth;
  const float height = kPlotTop - kPlotBottom;
  for (int k = 0; k < count; ++k) {
    GraphFrame& g = graphs[static_cast<std::size_t>(k)];
    g = {};
    commonFrameSettings(g, 1);
    g.originX = kModelPlotLeft + static_cast<float>(k) * width;
    g.originY = kPlotTop;  // depth runs down from the top
    g.labelsBelowX = core::kTrue;
    g.labelsLeftOfY = core::logical(k == 0);
    if (k == 0)
      setLog(xAxisOf(g), width, decadesOf(values[0]));
    else
      setLinear(xAxisOf(g), width, linearOf(values[1], true));
    setLog(yAxisOf(g), -height, depthDecades);
    SetAxisMapping(g);
  }
}

void SetUpPlots(core::CurrentSounding& current, const PlotSettings& settings) {
  SetUpDataPlot(current.S, current.SM, current.dataFrames, isSet(current.modelOnData), settings);
  SetUpModelPlot(current.S, current.SM, current.modelFrames, settings);
}

}  // namespace zeva::present
