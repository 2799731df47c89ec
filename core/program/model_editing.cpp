// Hit tests and drag arithmetic of graphical model editing. Every distance is
// measured on the page, so a pick feels the same on logarithmic and linear
// axes and at any zoom.

#include "core/program/model_editing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "present/graph_frame_drawing.h"
#include "present/plot_setup.h"

namespace zeva::core {

namespace {

using present::frameBottom;
using present::frameHeight;
using present::frameLeft;
using present::frameWidth;
using present::PageX;
using present::PageY;
using present::ValueX;
using present::ValueY;

constexpr float kFar = 99.0f;

bool hasArea(const GraphFrame& g) { return frameWidth(g) > 0.0f && frameHeight(g) > 0.0f; }

// A page position relative to the graph origin, and whether it lies in the frame.
bool inside(const GraphFrame& g, float pageX, float pageY) {
  if (!hasArea(g)) return false;
  const float x = pageX - g.originX, y = pageY - g.originY;
  const float left = frameLeft(g), bottom = frameBottom(g);
  return x >= left && x <= left + frameWidth(g) && y >= bottom && y <= bottom + frameHeight(g);
}

bool modelIsUsable(const Sounding& S) {
  const int nlayer = S.NLAYER(), npk = std::max(1, S.NPK());
  return nlayer > 0 && S.M.PAR.size() >= static_cast<std::size_t>(nlayer * npk + nlayer - 1);
}

// Bottom depth of every boundary (NLAYER - 1 values) from the parameters.
std::vector<float> boundaryDepths(const Sounding& S) {
  std::vector<float> depth;
  const int nlayer = S.NLAYER();
  float sum = 0.0f;
  for (int j = 0; j + 1 < nlayer; ++j) {
    const float g = S.M.PAR[S.geometryIndex(j)];
    sum = isSet(S.model.depths) ? g : sum + g;
    depth.push_back(sum);
  }
  return depth;
}

// Value and depth under a page position on the graph a model is edited on:
// on the data plot depth runs along the abscissa.
struct ValueDepth {
  float value, depth;
  float valuePage, depthPage;  // page positions relative to the origin
};
ValueDepth valueDepthAt(const GraphFrame& g, EditPlot plot, float pageX, float pageY) {
  const float x = pageX - g.originX, y = pageY - g.originY;
  if (plot == EditPlot::DataPlot) return {ValueY(y, g), ValueX(x, g), y, x};
  return {ValueX(x, g), ValueY(y, g), x, y};
}
float valuePage(const GraphFrame& g, EditPlot plot, float value) {
  return plot == EditPlot::DataPlot ? PageY(value, g) : PageX(value, g);
}
float depthPage(const GraphFrame& g, EditPlot plot, float depth) {
  return plot == EditPlot::DataPlot ? PageX(depth, g) : PageY(depth, g);
}

// The hit test on one graph: `block` 0 offers the resistivities and the
// boundaries, block 1 the IP parameters.
ParameterHit hitOn(const Sounding& S, const GraphFrame& g, EditPlot plot, int block, float pageX,
                   float pageY) {
  ParameterHit best;
  float bestDistance = kHitDistance;
  const int nlayer = S.NLAYER(), npk = std::max(1, S.NPK());
  const std::vector<float> depth = boundaryDepths(S);
  const ValueDepth at = valueDepthAt(g, plot, pageX, pageY);
  auto consider = [&](int parameter, float distance) {
    if (distance < bestDistance) {
      bestDistance = distance;
      best = {parameter, plot, distance};
    }
  };
  for (int i = 0; i < nlayer; ++i) {
    const float top = i == 0 ? -std::numeric_limits<float>::max() : depth[i - 1];
    const float bottom =
        i + 1 < nlayer ? depth[static_cast<std::size_t>(i)] : std::numeric_limits<float>::max();
    const int k = block * nlayer + i;
    const float value = S.M.PAR[static_cast<std::size_t>(k)];
    const bool within = at.depth >= top && at.depth <= bottom;
    consider(k + 1, within ? std::fabs(at.valuePage - valuePage(g, plot, value)) : kFar);
  }
  if (block == 0) {
    for (int j = 0; j + 1 < nlayer; ++j) {
      const float a = S.M.PAR[static_cast<std::size_t>(j)];
      const float b = S.M.PAR[static_cast<std::size_t>(j + 1)];
      const bool within = at.value >= std::min(a, b) && at.value <= std::max(a, b);
      const float d = depth[static_cast<std::size_t>(j)];
      consider(nlayer * npk + j + 1,
               within ? std::fabs(at.depthPage - depthPage(g, plot, d)) : kFar);
    }
  }
  return best;
}

// The whole decades (or round linear steps) of one axis that enclose
// [low, high], keeping the axis length and the direction it runs.
void fitAxis(float low, float high, float& cycleLength, std::int32_t& cycles, float& start,
             float& step, std::int32_t& exponentOrDivisions) {
  const float length = static_cast<float>(std::abs(cycles)) * std::fabs(cycleLength);
  const float sign = cycleLength < 0.0f ? -1.0f : 1.0f;
  if (low > high) std::swap(low, high);
  if (step == 0.0f) {
    const int first = static_cast<int>(std::floor(std::log10(low) + 1e-4f));
    const int last = std::max(first + 1, static_cast<int>(std::ceil(std::log10(high) - 1e-4f)));
    cycles = last - first;
    cycleLength = sign * length / static_cast<float>(cycles);
    exponentOrDivisions = first;
    return;
  }
  const present::LinearRange r = present::linearAround(low, high);
  cycles = r.cycles;
  cycleLength = sign * length / static_cast<float>(r.cycles);
  exponentOrDivisions = r.divisions;
  if (step < 0.0f) {
    // A reversed axis starts at its high end.
    start = r.start + r.step * static_cast<float>(r.cycles);
    step = -r.step;
  } else {
    start = r.start;
    step = r.step;
  }
}

bool usableRange(float a, float b, bool logarithmic) {
  if (!std::isfinite(a) || !std::isfinite(b) || a == b) return false;
  return !logarithmic || (a > 0.0f && b > 0.0f);
}

}  // namespace

bool isBoundaryParameter(const Sounding& S, int parameter) {
  const int perLayer = S.NLAYER() * std::max(1, S.NPK());
  return parameter > perLayer && parameter <= perLayer + S.NLAYER() - 1;
}

ParameterHit hitParameter(const CurrentSounding& current, float pageX, float pageY) {
  const Sounding& S = current.S;
  if (!modelIsUsable(S)) return {};
  if (isSet(current.modelOnData)) {
    const GraphFrame& g = current.dataFrames[0];
    if (S.NDATA() <= 0 || !inside(g, pageX, pageY)) return {};
    return hitOn(S, g, EditPlot::DataPlot, 0, pageX, pageY);
  }
  if (inside(current.modelFrames[0], pageX, pageY))
    return hitOn(S, current.modelFrames[0], EditPlot::FirstModelPanel, 0, pageX, pageY);
  if (S.NPK() > 1 && inside(current.modelFrames[1], pageX, pageY))
    return hitOn(S, current.modelFrames[1], EditPlot::SecondModelPanel, 1, pageX, pageY);
  return {};
}

const GraphFrame* frameOf(const CurrentSounding& current, EditPlot plot) {
  switch (plot) {
    case EditPlot::FirstModelPanel:
      return &current.modelFrames[0];
    case EditPlot::SecondModelPanel:
      return &current.modelFrames[1];
    case EditPlot::DataPlot:
      return &current.dataFrames[0];
    case EditPlot::None:
      break;
  }
  return nullptr;
}

bool dragParameter(Sounding& S, const GraphFrame& g, EditPlot plot, int parameter, float pageX,
                   float pageY) {
  if (!modelIsUsable(S) || parameter < 1 || parameter > S.NPAR() || plot == EditPlot::None)
    return false;
  const ValueDepth at = valueDepthAt(g, plot, pageX, pageY);
  const int nlayer = S.NLAYER(), perLayer = nlayer * std::max(1, S.NPK());
  std::vector<float>& PAR = S.M.PAR;
  float& p = PAR[static_cast<std::size_t>(parameter - 1)];
  if (parameter <= perLayer) {
    if (!std::isfinite(at.value) || at.value == p) return false;
    p = at.value;
    return true;
  }
  const int j = parameter - perLayer;  // 1-based boundary
  if (!std::isfinite(at.depth) || !(at.depth > 0.0f)) return false;
  if (!isSet(S.model.depths)) {
    float above = 0.0f;
    for (int i = 1; i < j; ++i) above += PAR[S.geometryIndex(i - 1)];
    const float thickness = at.depth - above;
    if (!(thickness > 0.0f) || thickness == p) return false;
    p = thickness;
    return true;
  }
  const bool hasUpper = j > 1, hasLower = j < nlayer - 1;
  if (hasUpper && !(at.depth > PAR[S.geometryIndex(j - 2)])) return false;
  if (hasLower && !(at.depth < PAR[S.geometryIndex(j)])) return false;
  if (at.depth == p) return false;
  p = at.depth;
  return true;
}

std::vector<PlotPoint> rubberLine(const Sounding& S, const GraphFrame& g, EditPlot plot) {
  std::vector<PlotPoint> line;
  if (!modelIsUsable(S) || !hasArea(g) || plot == EditPlot::None) return line;
  const int nlayer = S.NLAYER();
  const int block = plot == EditPlot::SecondModelPanel ? 1 : 0;
  const std::vector<float> depth = boundaryDepths(S);
  // The depth range of the axis: its two ends, whichever way it runs.
  const bool alongX = plot == EditPlot::DataPlot;
  float a = alongX ? ValueX(frameLeft(g), g) : ValueY(frameBottom(g), g);
  float b =
      alongX ? ValueX(frameLeft(g) + frameWidth(g), g) : ValueY(frameBottom(g) + frameHeight(g), g);
  if (a > b) std::swap(a, b);
  auto add = [&](float value, float d) {
    d = std::clamp(d, a, b);
    const float vp = valuePage(g, plot, value), dp = depthPage(g, plot, d);
    line.push_back(alongX ? PlotPoint{g.originX + dp, g.originY + vp}
                          : PlotPoint{g.originX + vp, g.originY + dp});
  };
  for (int i = 0; i < nlayer; ++i) {
    const float value = S.M.PAR[static_cast<std::size_t>(block * nlayer + i)];
    const float top = i == 0 ? a : depth[static_cast<std::size_t>(i - 1)];
    const float bottom = i + 1 < nlayer ? depth[static_cast<std::size_t>(i)] : b;
    add(value, top);
    add(value, bottom);
  }
  return line;
}

DataPointHit hitDataPoint(const CurrentSounding& current, const present::PlotSettings& settings,
                          float pageX, float pageY) {
  DataPointHit best;
  const Sounding& S = current.S;
  if (S.NDATA() <= 0) return best;
  float bestDistance = kHitDistance;
  for (const present::DataSeries& s : present::observedSeries(S, settings)) {
    if (s.graph < 0 || s.graph > 1) continue;
    const GraphFrame& g = current.dataFrames[static_cast<std::size_t>(s.graph)];
    if (!inside(g, pageX, pageY)) continue;
    const float x = pageX - g.originX, y = pageY - g.originY;
    for (std::size_t i = 0; i < s.x.size() && i < s.y.size(); ++i) {
      if (present::isMissing(s.x[i]) || present::isMissing(s.y[i])) continue;
      const float px = PageX(s.x[i], g), py = PageY(s.y[i], g);
      const float d = std::hypot(px - x, py - y);
      if (d < bestDistance) {
        bestDistance = d;
        best = {static_cast<int>(i) + 1, s.column + 1};
      }
    }
  }
  return best;
}

GraphPick graphAt(const CurrentSounding& current, float pageX, float pageY) {
  const Sounding& S = current.S;
  if (S.NDATA() > 0)
    for (int k = 0; k < present::dataGraphCount(S); ++k)
      if (inside(current.dataFrames[static_cast<std::size_t>(k)], pageX, pageY)) return {true, k};
  if (!isSet(current.modelOnData) && (S.hasModel() || current.SM.hasModel()))
    for (int k = 0; k < 2; ++k)
      if (inside(current.modelFrames[static_cast<std::size_t>(k)], pageX, pageY)) return {false, k};
  return {};
}

bool zoomToBox(CurrentSounding& current, float x0, float y0, float x1, float y1) {
  const GraphPick pick = graphAt(current, x0, y0);
  if (pick.graph < 0) return false;
  constexpr float kSmallest = 0.02f;  // plot units: a click is not a box
  if (std::fabs(x1 - x0) < kSmallest || std::fabs(y1 - y0) < kSmallest) return false;
  const auto& frames = pick.dataPlot ? current.dataFrames : current.modelFrames;
  const GraphFrame& g = frames[static_cast<std::size_t>(pick.graph)];
  return setGraphRange(current, pick, ValueX(x0 - g.originX, g), ValueX(x1 - g.originX, g),
                       ValueY(y0 - g.originY, g), ValueY(y1 - g.originY, g));
}

bool setGraphRange(CurrentSounding& current, GraphPick pick, float ax, float bx, float ay,
                   float by) {
  if (pick.graph < 0 || pick.graph > 1) return false;
  auto& frames = pick.dataPlot ? current.dataFrames : current.modelFrames;
  GraphFrame& g = frames[static_cast<std::size_t>(pick.graph)];
  if (!hasArea(g)) return false;
  if (!usableRange(ax, bx, g.xStep == 0.0f) || !usableRange(ay, by, g.yStep == 0.0f)) return false;
  fitAxis(ax, bx, g.xCycleLength, g.xCycles, g.xStart, g.xStep, g.xExponentOrDivisions);
  fitAxis(ay, by, g.yCycleLength, g.yCycles, g.yStart, g.yStep, g.yExponentOrDivisions);
  present::SetAxisMapping(g);
  // The other graph of the plot keeps the shared axis in line.
  GraphFrame& other = frames[static_cast<std::size_t>(1 - pick.graph)];
  if (hasArea(other)) {
    if (pick.dataPlot && other.xStep == 0.0f && g.xStep == 0.0f) {
      fitAxis(ax, bx, other.xCycleLength, other.xCycles, other.xStart, other.xStep,
              other.xExponentOrDivisions);
      present::SetAxisMapping(other);
    } else if (!pick.dataPlot && other.yStep == 0.0f && g.yStep == 0.0f) {
      fitAxis(ay, by, other.yCycleLength, other.yCycles, other.yStart, other.yStep,
              other.yExponentOrDivisions);
      present::SetAxisMapping(other);
    }
  }
  return true;
}

std::string rubberModelTrace(int parameter, float value, float pageX, float pageY, long timeMs) {
  char line[160];
  std::snprintf(line, sizeof line, "Rubber Model: %d %g %.4f %.4f %ld", parameter,
                static_cast<double>(value), static_cast<double>(pageX), static_cast<double>(pageY),
                timeMs);
  return line;
}

std::string rubberBoxTrace(float x0, float y0, float x1, float y1, long timeMs) {
  char line[160];
  std::snprintf(line, sizeof line, "Rubber Box: %.4f %.4f %.4f %.4f %ld", static_cast<double>(x0),
                static_cast<double>(y0), static_cast<double>(x1), static_cast<double>(y1), timeMs);
  return line;
}

}  // namespace zeva::core
