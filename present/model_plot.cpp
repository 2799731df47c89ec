#include "present/model_plot.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "core/record/data_type.h"
#include "forward/mt_depth_transforms.h"
#include "present/plot_parts.h"
#include "present/plot_primitives.h"
#include "present/plot_series.h"

namespace zeva::present {

namespace {

using core::isSet;
using core::Sounding;

// The layered staircase of values v (one per layer) against depth, from depth
// `top` to depth `bottom`, as value/depth point lists.
void staircase(std::span<const float> values, std::span<const float> depths, float top,
               float bottom, std::vector<float>& value, std::vector<float>& depth) {
  value.clear();
  depth.clear();
  if (values.empty()) return;
  value.push_back(values[0]);
  depth.push_back(top);
  for (std::size_t j = 0; j < depths.size() && j + 1 < values.size(); ++j) {
    value.push_back(values[j]);
    depth.push_back(depths[j]);
    value.push_back(values[j + 1]);
    depth.push_back(depths[j]);
  }
  value.push_back(values.back());
  depth.push_back(bottom);
}

// Depth range shown by a graph along its depth axis (y, or x when the model is
// drawn on the data).
std::pair<float, float> depthRange(const GraphFrame& g, bool alongX) {
  const PageRect r = frameRect(g);
  float a = alongX ? ValueX(r.xMin, g) : ValueY(r.yMin, g);
  float b = alongX ? ValueX(r.xMax, g) : ValueY(r.yMax, g);
  if (a > b) std::swap(a, b);
  return {a, b};
}

void drawStaircase(Plotter& plotter, std::span<const float> values, std::span<const float> depths,
                   const GraphFrame& g, bool onData, float gap) {
  if (values.empty()) return;
  const auto [top, bottom] = depthRange(g, onData);
  std::vector<float> value, depth;
  staircase(values, depths, top, bottom, value, depth);
  if (onData)
    DrawDashedLine(plotter, depth, value, kDash, gap, g);
  else
    DrawDashedLine(plotter, value, depth, kDash, gap, g);
}

// The values of model graph k: resistivities in the first, IP effects in
// the second.
std::span<const float> layerValues(const ModelColumns& m, int k) {
  return k == 0 ? std::span<const float>(m.resistivity) : std::span<const float>(m.ip);
}

// The frame of model graph k with its titles. The graph is clipped to its
// frame when its depth axis is logarithmic.
void drawModelFrame(Plotter& plotter, std::span<GraphFrame> graphs, int k, bool emConductivity,
                    const PlotSettings& settings) {
  GraphFrame& g = graphs[static_cast<std::size_t>(k)];
  clearExtents(g);
  plotter.NewPen(settings.frameColour);
  // The second graph abuts the first: its labels start clear of the
  // first graph's last one (a little more than a label gap beyond it).
  float labelsFrom = -1.0e10f;
  if (k > 0) {
    const GraphFrame& before = graphs[static_cast<std::size_t>(k - 1)];
    labelsFrom = before.originX + before.extentRight - g.originX + 0.3f * settings.labelHeight;
  }
  DrawGraphFrame(plotter, g, settings.labelHeight, labelsFrom);
  SetAxisMapping(g);
  const std::string& depthTitle = settings.axisTitles[AxisTitle::Depth];
  const std::string& bottomTitle = settings.axisTitles[emConductivity ? AxisTitle::Conductivity
                                                       : k == 0       ? AxisTitle::Resistivity
                                                                      : AxisTitle::IpEffect];
  writeAxisTitles(plotter, g, settings, &bottomTitle, &depthTitle, &depthTitle);
  if (g.yStep == 0.0f) {
    const PageRect r = frameRect(g);
    g.clipXMin = r.xMin;
    g.clipXMax = r.xMax;
    g.clipYMin = r.yMin;
    g.clipYMax = r.yMax;
  }
}

// Every equivalent model the search kept (a row of EQUIVA) as a dashed
// staircase.
void drawEquivalentModels(Plotter& plotter, const Sounding& S, const GraphFrame& g, int k,
                          bool onData) {
  const auto& E = S.EQUIVA;
  std::vector<float> row(E.cols());
  for (std::size_t r = 0; r < E.rows(); ++r) {
    for (std::size_t j = 0; j < E.cols(); ++j) row[j] = E(r, j);
    const ModelColumns m = modelColumnsOf(S, row);
    const auto values = layerValues(m, k);
    if (values.empty() || !std::ranges::all_of(m.resistivity, [](float v) { return v > 0.0f; }))
      continue;  // a row that no search wrote
    drawStaircase(plotter, values, m.bottomDepth, g, onData, kDashedGap);
  }
}

// Ranges of each layer's value (PARMIN to PARMAX) at mid-layer and, in the
// first graph, of each boundary's depth (ZNMIN to ZNMAX) at the geometric
// mean of the resistivities on either side.
void drawEquivalenceRanges(Plotter& plotter, const Sounding& S, const ModelColumns& model,
                           const GraphFrame& g, int k) {
  const int nlayer = S.NLAYER();
  if (model.bottomDepth.size() + 1 != static_cast<std::size_t>(nlayer)) return;
  const auto [top, bottom] = depthRange(g, false);
  const std::size_t blockStart = static_cast<std::size_t>(k * nlayer);
  for (int j = 0; j < nlayer; ++j) {
    const std::size_t index = blockStart + static_cast<std::size_t>(j);
    if (index >= S.PARMIN.size() || index >= S.PARMAX.size()) break;
    const float upper = j == 0 ? std::max(top, 1e-6f) : model.bottomDepth[j - 1];
    const float lower = j + 1 < nlayer ? model.bottomDepth[j] : bottom;
    const float mid = g.yStep == 0.0f ? std::sqrt(upper * lower) : (upper + lower) / 2.0f;
    const std::array<float, 2> xs{S.PARMIN[index], S.PARMAX[index]}, ys{mid, mid};
    DrawDashedLine(plotter, xs, ys, kDash, kSolidGap, g);
  }
  if (k != 0) return;
  for (int j = 0; j + 1 < nlayer; ++j) {
    if (static_cast<std::size_t>(j) >= S.ZNMIN.size() ||
        static_cast<std::size_t>(j) >= S.ZNMAX.size())
      break;
    const float at = std::sqrt(std::fabs(model.resistivity[j] * model.resistivity[j + 1]));
    const std::array<float, 2> xs{at, at}, ys{S.ZNMIN[j], S.ZNMAX[j]};
    if (S.ZNMIN[j] > 0.0f && S.ZNMAX[j] > 0.0f)
      DrawDashedLine(plotter, xs, ys, kDash, kSolidGap, g);
  }
}

// The Bostick and Niblett depth transforms of MT data, as asked for.
void drawMtTransforms(Plotter& plotter, const Sounding& S, const GraphFrame& g,
                      const PlotSettings& settings) {
  if (settings.view.showBostick) {
    const forward::DepthCurve c = forward::BostickModel(S, settings.transformsIncludeMasked);
    plotter.NewPen(settings.bostickColour);
    DrawDashedLine(plotter, c.resistivity, c.depth, kDash, kSolidGap, g);
  }
  if (settings.view.showNiblett) {
    const forward::DepthCurve c = forward::NiblettModel(S, settings.transformsIncludeMasked);
    plotter.NewPen(settings.niblettColour);
    DrawDashedLine(plotter, c.resistivity, c.depth, kDash, kSolidGap, g);
  }
}

}  // namespace

void DrawModelPlot(Plotter& plotter, const Sounding& S, const Sounding& SM,
                   std::span<GraphFrame> graphs, bool onData, const PlotSettings& settings) {
  const bool layered = S.hasModel();
  const bool smooth = SM.hasModel();
  if (!layered && !smooth) return;
  const int count =
      onData ? 1
             : std::min<int>(std::max(modelGraphCount(S), smooth ? modelGraphCount(SM) : 1),
                             static_cast<int>(graphs.size()));
  const bool emConductivity = core::traitsOf(S.header.dataType).conductivityModel;
  const ModelColumns model = modelColumns(S);
  const ModelColumns smoothModel = modelColumns(SM);

  for (int k = 0; k < count; ++k) {
    GraphFrame& g = graphs[static_cast<std::size_t>(k)];
    g.tickCap = 0.16f;
    g.capTicks = core::kTrue;
    moveOriginTo(plotter, g.originX, g.originY);
    if (!onData) drawModelFrame(plotter, graphs, k, emConductivity, settings);
    if (!frameRect(g).valid()) continue;

    if (settings.view.showEquivalence && layered && isSet(S.layer.equivalenceValid)) {
      plotter.NewPen(settings.equivalenceColour);
      drawEquivalentModels(plotter, S, g, k, onData);
      if (!onData) drawEquivalenceRanges(plotter, S, model, g, k);
    }
    if (settings.view.showSmooth && smooth) {
      plotter.NewPen(settings.secondModelColour);
      drawStaircase(plotter, layerValues(smoothModel, k), smoothModel.bottomDepth, g, onData,
                    kSolidGap);
    }
    if (settings.view.showLayered && layered) {
      plotter.NewPen(settings.layeredColour);
      drawStaircase(plotter, layerValues(model, k), model.bottomDepth, g, onData, kSolidGap);
    }
    if (k == 0 && !onData && core::isMagnetotelluric(S.header.dataType))
      drawMtTransforms(plotter, S, g, settings);
  }
  moveOriginTo(plotter, 0.0f, 0.0f);
}

}  // namespace zeva::present
