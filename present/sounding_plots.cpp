#include "present/sounding_plots.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/record/data_type.h"
#include "forward/em_conductivity_forward.h"
#include "forward/tem_late_time.h"

namespace zeva::present {

namespace {

using core::isSet;
using core::Sounding;

constexpr int kMaskedSymbol = 3;  // diagonal cross

float capHeight(float nominal) { return kEmPerNominalHeight * kCapHeightPerEm * nominal; }

void moveOriginTo(Plotter& plotter, float x, float y) {
  plotter.Plot(x - plotter.originX(), y - plotter.originY(), -kPenUp);
}

struct Rect {
  float xMin, xMax, yMin, yMax;
  bool valid() const { return xMax > xMin && yMax > yMin; }
  bool contains(float x, float y) const { return x >= xMin && x <= xMax && y >= yMin && y <= yMax; }
};

Rect clipOf(const GraphFrame& g) { return {g.clipXMin, g.clipXMax, g.clipYMin, g.clipYMax}; }
Rect frameRect(const GraphFrame& g) {
  const float l = frameLeft(g), b = frameBottom(g);
  return {l, l + frameWidth(g), b, b + frameHeight(g)};
}

// Liang-Barsky: clips the segment a-b to the rectangle; false when nothing
// of it is inside.
bool clipSegment(PagePoint& a, PagePoint& b, const Rect& r) {
  const float dx = b.x - a.x, dy = b.y - a.y;
  float t0 = 0.0f, t1 = 1.0f;
  const float p[4] = {-dx, dx, -dy, dy};
  const float q[4] = {a.x - r.xMin, r.xMax - a.x, a.y - r.yMin, r.yMax - a.y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0f) {
      if (q[i] < 0.0f) return false;
      continue;
    }
    const float t = q[i] / p[i];
    if (p[i] < 0.0f)
      t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
    if (t0 > t1) return false;
  }
  const PagePoint start{a.x + t0 * dx, a.y + t0 * dy};
  b = {a.x + t1 * dx, a.y + t1 * dy};
  a = start;
  return true;
}

// Draws the part of a-b inside the clip rectangle. `pen` remembers where the
// pen was left down, so that joined pieces reach the canvas as one line.
void segment(Plotter& plotter, PagePoint a, PagePoint b, const Rect& clip,
             std::optional<PagePoint>& pen) {
  if (!clipSegment(a, b, clip)) {
    pen.reset();
    return;
  }
  if (!pen || std::fabs(pen->x - a.x) > 1e-6f || std::fabs(pen->y - a.y) > 1e-6f)
    plotter.Plot(a.x, a.y, kPenUp);
  plotter.Plot(b.x, b.y, kPenDown);
  pen = b;
}

// The second colour of a segment-coloured series.
int alternateColour(int colour) { return colour >= 11 ? colour - 1 : colour + 1; }

// Segment starts of a point series: a point after a turning point of the
// abscissae (in the series' overall direction), or with the same abscissa as
// the point before, starts a new segment.
std::vector<bool> segmentStarts(std::span<const float> x, std::span<const float> y) {
  std::vector<bool> starts(x.size(), false);
  std::vector<std::size_t> valid;
  for (std::size_t i = 0; i < x.size(); ++i)
    if (!isMissing(x[i]) && !isMissing(y[i])) valid.push_back(i);
  if (valid.size() < 2) return starts;
  const bool ascending = x[valid.back()] >= x[valid.front()];
  for (std::size_t k = 1; k < valid.size(); ++k) {
    const float previous = x[valid[k - 1]], here = x[valid[k]];
    if (here == previous) starts[valid[k]] = true;
    if (k + 1 < valid.size() && k >= 1) {
      const float next = x[valid[k + 1]];
      const bool turning =
          ascending ? (here > previous && here > next) : (here < previous && here < next);
      if (turning) starts[valid[k + 1]] = true;
    }
  }
  return starts;
}

bool logOrdinate(const GraphFrame& g) { return g.yStep == 0.0f; }

// Column of TIME that a curve is plotted against: the n-spacing of the dipole
// arrays, the varying quantity of a MaxMin sounding (1 frequency, 2 coil
// spacing, 3 height), otherwise the first.
int abscissaColumn(const Sounding& S) {
  switch (core::traitsOf(S.header.dataType).abscissa) {
    case core::Abscissa::SeparationFactor:
      return S.header.NGEOM >= 2 ? 1 : 0;
    case core::Abscissa::MaxMinVariable:
      if (S.header.mode == 2 || S.header.mode == 3)
        return S.header.NGEOM >= S.header.mode ? S.header.mode - 1 : 0;
      return 0;
    default:
      return 0;
  }
}

// Which column goes to which graph, by the values the data type holds: the
// in-phase and quadrature parts share one graph, as do the two dipole modes
// of a conductivity meter (as many as its mode word asks for); a transient
// sounding has its voltage; resistivities have their IP or phase beneath.
struct ColumnUse {
  int column, graph;
};
std::vector<ColumnUse> columnUses(const Sounding& S) {
  const int ncomp = std::max(0, S.NCOMP());
  std::vector<ColumnUse> uses;
  switch (core::traitsOf(S.header.dataType).values) {
    case core::DataValues::GateVoltage:
      if (ncomp >= 1) uses.push_back({0, 0});
      break;
    case core::DataValues::InPhaseQuadrature:
      for (int c = 0; c < std::min(ncomp, 2); ++c) uses.push_back({c, 0});
      break;
    case core::DataValues::ApparentConductivity: {
      const int mode = S.header.mode;
      for (int c = 0; c < std::min(ncomp, 2); ++c)
        if (mode <= 1 || mode > 3 || mode - 2 == c) uses.push_back({c, 0});
      break;
    }
    case core::DataValues::ApparentResistivity:
    case core::DataValues::Impedance:
    case core::DataValues::ResistivityAndPhase:
      if (ncomp >= 1) uses.push_back({0, 0});
      if (ncomp >= 2) uses.push_back({1, 1});
      break;
  }
  return uses;
}

std::vector<float> columnOf(const core::Matrix<float>& m, int column, int rows) {
  std::vector<float> values(static_cast<std::size_t>(rows), 1.0e10f);
  if (column < static_cast<int>(m.cols()) && rows <= static_cast<int>(m.rows()))
    for (int i = 0; i < rows; ++i) values[static_cast<std::size_t>(i)] = m(i, column);
  return values;
}

// Abscissae of the curve of data column `column`. A ground conductivity meter
// reading is plotted at the effective penetration depth of its dipole mode
// (the first value horizontal dipoles, the second vertical), worked out from
// the coil spacing and height; TIME(:,1) of these soundings is the frequency.
std::vector<float> abscissaeOf(const Sounding& S, int column, int rows) {
  const auto& d = S.data();
  const bool penetration =
      core::traitsOf(S.header.dataType).abscissa == core::Abscissa::PenetrationDepth;
  if (penetration && d.TIME.cols() >= 3) {
    std::vector<float> depths(static_cast<std::size_t>(rows), 1.0e10f);
    if (rows <= static_cast<int>(d.TIME.rows()))
      for (int i = 0; i < rows; ++i)
        depths[static_cast<std::size_t>(i)] =
            forward::effectivePenetrationDepth(column == 0 ? 'H' : 'V', d.TIME(i, 1), d.TIME(i, 2));
    return depths;
  }
  return columnOf(d.TIME, abscissaColumn(S), rows);
}

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
  const Rect r = frameRect(g);
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

void writeAxisTitles(Plotter& plotter, const GraphFrame& g, const PlotSettings& s,
                     const std::string* bottom, const std::string* left, const std::string* right) {
  const Rect r = frameRect(g);
  const float th = s.axisTitleHeight;
  if (bottom && isSet(g.labelsBelowX)) {
    const float y = g.extentBottom - 0.5f * th - capHeight(th) - s.axisTitleOffsetY;
    plotter.SymbolCentred((r.xMin + r.xMax) / 2.0f, y, th, *bottom, 0.0f,
                          static_cast<int>(bottom->size()));
  }
  if (left && isSet(g.labelsLeftOfY)) {
    const float x = g.extentLeft - 0.55f * th - s.axisTitleOffsetX;
    plotter.SymbolCentred(x, (r.yMin + r.yMax) / 2.0f, th, *left, 90.0f,
                          static_cast<int>(left->size()));
  }
  if (right && isSet(g.labelsRightOfY)) {
    const float x = g.extentRight + 0.55f * th + capHeight(th) + s.axisTitleOffsetX;
    plotter.SymbolCentred(x, (r.yMin + r.yMax) / 2.0f, th, *right, 90.0f,
                          static_cast<int>(right->size()));
  }
}

int symbolFor(int set, bool masked, int frameSymbol) {
  if (masked) return kMaskedSymbol;
  const int base = std::clamp(frameSymbol, 1, 11);
  if (set == 0) return base;
  if (set == 1) return base == 4 ? 1 : 4;
  return std::min(11, 8 + set);
}

int alternateOf(int code) {
  switch (code) {
    case 1:
      return 2;
    case 4:
      return 5;
    case 2:
      return 1;
    default:
      return 2;
  }
}

// One series per plotted column of `values` (the readings or the
// synthetics): its graph, its data set in column order, the abscissae as
// plotted and the first n values of the column.
std::vector<DataSeries> plottedColumns(const Sounding& instance, std::span<const ColumnUse> uses,
                                       const core::Matrix<float>& values, int n) {
  std::vector<DataSeries> series;
  int set = 0;
  for (const ColumnUse& use : uses) {
    DataSeries s;
    s.graph = use.graph;
    s.set = set++;
    s.column = use.column;
    s.x = abscissaeOf(instance, use.column, n);
    s.y = columnOf(values, use.column, n);
    series.push_back(std::move(s));
  }
  return series;
}

void clearExtents(GraphFrame& g) {
  const Rect r = frameRect(g);
  g.extentLeft = r.xMin;
  g.extentRight = r.xMax;
  g.extentBottom = r.yMin;
}

}  // namespace

void lateTimeApparentResistivity(const Sounding& S, std::span<const float> timesMs,
                                 std::span<const float> volts, std::span<float> resistivity) {
  // Gates the conversion cannot handle keep a missing value and are not drawn.
  std::ranges::fill(resistivity, 1.0e10f);
  forward::lateTimeApparentResistivity(S, timesMs, volts, resistivity);
}

// --- Series -----------------------------------------------------------------

bool plottedAsTem(const Sounding& S) { return core::isTem(S.header.dataType); }

int dataGraphCount(const Sounding& S) {
  for (const ColumnUse& use : columnUses(S))
    if (use.graph == 1) return 2;
  return 1;
}

int modelGraphCount(const Sounding& S) { return S.NPK() > 1 && S.hasModel() ? 2 : 1; }

std::vector<DataSeries> observedSeries(const Sounding& S, const PlotSettings& settings) {
  const int n = S.NDATA();
  const auto& d = S.data();
  if (n <= 0 || d.TIME.rows() < static_cast<std::size_t>(n) || d.TIME.cols() == 0) return {};
  const std::vector<ColumnUse> uses = columnUses(S);
  std::vector<DataSeries> series = plottedColumns(S, uses, d.VOLTS, n);
  for (std::size_t k = 0; k < uses.size(); ++k) {
    const ColumnUse& use = uses[k];
    DataSeries& s = series[k];
    s.error = columnOf(d.UVOLTS, use.column, n);
    for (float& e : s.error)
      if (isMissing(e)) e = 0.0f;
    s.masked.assign(static_cast<std::size_t>(n), false);
    for (int i = 0; i < n; ++i)
      s.masked[static_cast<std::size_t>(i)] = use.column < static_cast<int>(d.LMASK.cols()) &&
                                              static_cast<std::size_t>(i) < d.LMASK.rows() &&
                                              isSet(d.LMASK(i, use.column));
    if (plottedAsTem(S) && !settings.view.voltageView && settings.lateTime) {
      std::vector<float> rho(s.y.size(), 0.0f);
      settings.lateTime(S, s.x, s.y, rho);
      // The late-time resistivity varies as the voltage to the power -2/3,
      // so a voltage error of r per cent is one of 2r/3 per cent in it.
      for (std::size_t i = 0; i < rho.size(); ++i) {
        if (isMissing(s.y[i])) continue;
        const float relative = s.y[i] != 0.0f ? s.error[i] / std::fabs(s.y[i]) : 0.0f;
        s.error[i] = isMissing(rho[i]) ? 0.0f : 2.0f / 3.0f * relative * std::fabs(rho[i]);
        s.y[i] = rho[i];
      }
    }
  }
  return series;
}

std::vector<DataSeries> syntheticSeries(const Sounding& instance, const PlotSettings&) {
  if (!isSet(instance.layer.syntheticValid) || plottedAsTem(instance)) return {};
  const int n = instance.NDATA();
  const auto& d = instance.data();
  if (n <= 0 || d.TIME.rows() < static_cast<std::size_t>(n) ||
      instance.SVOLT.rows() < static_cast<std::size_t>(n))
    return {};
  return plottedColumns(instance, columnUses(instance), instance.SVOLT, n);
}

ModelColumns modelColumnsOf(const Sounding& instance, std::span<const float> parameters) {
  ModelColumns m;
  const int nlayer = instance.NLAYER(), npk = std::max(1, instance.NPK());
  if (nlayer <= 0 || parameters.size() < static_cast<std::size_t>(nlayer * npk + nlayer - 1))
    return m;
  m.resistivity.assign(parameters.begin(), parameters.begin() + nlayer);
  if (npk > 1) m.ip.assign(parameters.begin() + nlayer, parameters.begin() + 2 * nlayer);
  float depth = 0.0f;
  for (int j = 0; j < nlayer - 1; ++j) {
    const float g = parameters[static_cast<std::size_t>(nlayer * npk + j)];
    depth = isSet(instance.model.depths) ? g : depth + g;
    m.bottomDepth.push_back(depth);
  }
  return m;
}

ModelColumns modelColumns(const Sounding& instance) {
  return modelColumnsOf(instance, instance.M.PAR);
}

// --- Primitives ---------------------------------------------------------------

void DrawSymbol(Plotter& p, float x, float y, float s, int code) {
  auto poly = [&](std::initializer_list<PagePoint> points) {
    bool first = true;
    for (PagePoint q : points) {
      p.Plot(x + q.x * s, y + q.y * s, first ? kPenUp : kPenDown);
      first = false;
    }
  };
  switch (code) {
    case 1:  // square
      poly({{-1, -1}, {1, -1}, {1, 1}, {-1, 1}, {-1, -1}});
      break;
    case 2:  // square with a cross
      poly({{-1, -1}, {1, -1}, {1, 1}, {-1, 1}, {-1, -1}, {1, 1}});
      poly({{-1, 1}, {1, -1}});
      break;
    case 3:  // diagonal cross
      poly({{-1, -1}, {1, 1}});
      poly({{-1, 1}, {1, -1}});
      break;
    case 4:  // triangle, apex up
      poly({{-1, -0.8f}, {1, -0.8f}, {0, 1}, {-1, -0.8f}});
      break;
    case 5:  // triangle, apex down
      poly({{-1, 0.8f}, {1, 0.8f}, {0, -1}, {-1, 0.8f}});
      break;
    case 6:  // triangle, apex left
      poly({{0.8f, -1}, {0.8f, 1}, {-1, 0}, {0.8f, -1}});
      break;
    case 7:  // triangle, apex right
      poly({{-0.8f, -1}, {-0.8f, 1}, {1, 0}, {-0.8f, -1}});
      break;
    case 8:  // diamond
      poly({{0, -1}, {1, 0}, {0, 1}, {-1, 0}, {0, -1}});
      break;
    case 9:  // upright cross
      poly({{-1, 0}, {1, 0}});
      poly({{0, -1}, {0, 1}});
      break;
    case 10:  // octagon
      poly({{-0.41f, -1},
            {0.41f, -1},
            {1, -0.41f},
            {1, 0.41f},
            {0.41f, 1},
            {-0.41f, 1},
            {-1, 0.41f},
            {-1, -0.41f},
            {-0.41f, -1}});
      break;
    default:  // star: both crosses
      poly({{-1, 0}, {1, 0}});
      poly({{0, -1}, {0, 1}});
      poly({{-0.7f, -0.7f}, {0.7f, 0.7f}});
      poly({{-0.7f, 0.7f}, {0.7f, -0.7f}});
      break;
  }
}

void DrawCurve(Plotter& plotter, std::span<const float> x, std::span<const float> y, bool symbols,
               const GraphFrame& graph, const CurveStyle& style) {
  const Rect clip = clipOf(graph);
  const float area = (clip.xMax - clip.xMin) * (clip.yMax - clip.yMin);
  if (!(clip.valid() && area > 0.0f)) return;
  const float factor = style.symbolSizeFactor > 0.0f ? style.symbolSizeFactor : 0.01f;
  const float s = std::min(0.03f, std::sqrt(area) * factor);
  const float slackX = 0.01f * (clip.xMax - clip.xMin), slackY = 0.01f * (clip.yMax - clip.yMin);
  const Rect loose{clip.xMin - slackX, clip.xMax + slackX, clip.yMin - slackY, clip.yMax + slackY};

  const std::size_t n = std::min(x.size(), y.size());
  const std::vector<bool> starts =
      style.noSegments ? std::vector<bool>(n, false) : segmentStarts(x.first(n), y.first(n));
  const int baseColour = plotter.pen();
  int segmentIndex = 0;
  std::optional<PagePoint> previous;  // last point with the pen down
  std::optional<PagePoint> pen;
  for (std::size_t i = 0; i < n; ++i) {
    if (isMissing(x[i]) || isMissing(y[i])) {
      previous.reset();
      continue;
    }
    if (starts[i]) {
      ++segmentIndex;
      previous.reset();
      if (style.segmentColouring)
        plotter.NewPen(segmentIndex % 2 ? alternateColour(baseColour) : baseColour);
    }
    const PagePoint here{PageX(x[i], graph), PageY(y[i], graph) + static_cast<float>(segmentIndex) *
                                                                      style.segmentSeparation};
    if (symbols) {
      if (loose.contains(here.x, here.y)) {
        const bool alternate = style.alternateSymbol || (logOrdinate(graph) && y[i] < 0.0f);
        DrawSymbol(plotter, here.x, here.y, s,
                   alternate ? alternateOf(style.symbol) : style.symbol);
      }
    } else if (previous) {
      segment(plotter, *previous, here, clip, pen);
    }
    previous = here;
  }
  plotter.NewPen(baseColour);
}

void DrawDashedLine(Plotter& plotter, std::span<const float> x, std::span<const float> y,
                    float dash, float gap, const GraphFrame& graph) {
  const Rect clip = clipOf(graph);
  if (!clip.valid()) return;
  const std::size_t n = std::min(x.size(), y.size());
  // A gap too short to see draws the line solid, clipped exactly at the frame.
  const bool solid = gap < 0.001f || dash <= 0.0f;
  bool drawing = true;  // within a dash (else within a gap)
  float left = dash;    // length left of the current dash or gap
  std::optional<PagePoint> pen;
  for (std::size_t i = 1; i < n; ++i) {
    if (isMissing(x[i - 1]) || isMissing(y[i - 1]) || isMissing(x[i]) || isMissing(y[i])) return;
    const PagePoint a{PageX(x[i - 1], graph), PageY(y[i - 1], graph)};
    const PagePoint b{PageX(x[i], graph), PageY(y[i], graph)};
    const float length = std::hypot(b.x - a.x, b.y - a.y);
    if (!(length > 0.0f) || !std::isfinite(length)) {
      if (length == 0.0f && solid) continue;  // repeated corner of a staircase
      return;
    }
    if (solid) {
      segment(plotter, a, b, clip, pen);
      continue;
    }
    float done = 0.0f;
    while (done < length) {
      const float step = std::min(left, length - done);
      if (drawing && step > 1e-5f) {
        const float t0 = done / length, t1 = (done + step) / length;
        segment(plotter, {a.x + t0 * (b.x - a.x), a.y + t0 * (b.y - a.y)},
                {a.x + t1 * (b.x - a.x), a.y + t1 * (b.y - a.y)}, clip, pen);
      }
      done += step;
      left -= step;
      if (left <= 0.0f) {
        drawing = !drawing;
        left = drawing ? dash : gap;
      }
    }
  }
}

// --- Plots ------------------------------------------------------------------

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
    clearExtents(g);
    moveOriginTo(plotter, g.originX, g.originY);
    plotter.NewPen(settings.frameColour);
    DrawGraphFrame(plotter, g, settings.labelHeight);
    SetAxisMapping(g);
    const Rect frame = frameRect(g);
    if (!frame.valid()) continue;

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

    const float area = frameWidth(g) * frameHeight(g);
    const float s =
        std::min(0.03f, std::sqrt(area) *
                            (settings.symbolSizeFactor > 0.0f ? settings.symbolSizeFactor : 0.01f));
    for (const DataSeries& series : observed) {
      if (series.graph != k) continue;
      const int colour = settings.dataSetColours[static_cast<std::size_t>(series.set) %
                                                 settings.dataSetColours.size()];
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
        if ((logOrdinate(g) && value < 0.0f) || isSet(g.alternateSymbol)) code = alternateOf(code);
        DrawSymbol(plotter, px, py, s, code);
        const float e = series.error[i];
        if (e > 0.0f) {
          // Errors are stored in the units of the value; on a logarithmic
          // ordinate the bar spans the relative error.
          const float half = logOrdinate(g)
                                 ? std::log10(1.0f + e / std::max(std::fabs(value), 1e-30f)) *
                                       std::fabs(g.yCycleLength)
                                 : e * std::fabs(g.ySlope);
          if (half > 0.025f) {
            plotter.Plot(px, std::min(py + half, frame.yMax), kPenUp);
            plotter.Plot(px, std::max(py - half, frame.yMin), kPenDown);
          }
        }
      }
    }
    CurveStyle line;
    line.segmentColouring = settings.segmentColouring;
    line.segmentSeparation = settings.segmentSeparation;
    for (const DataSeries& series : synthetic) {
      if (series.graph != k) continue;
      plotter.NewPen(settings.dataSetColours[static_cast<std::size_t>(series.set) %
                                             settings.dataSetColours.size()]);
      DrawCurve(plotter, series.x, series.y, false, g, line);
    }
    line.segmentColouring = false;
    for (const DataSeries& series : smooth) {
      if (series.graph != k) continue;
      plotter.NewPen(settings.secondModelColour);
      DrawCurve(plotter, series.x, series.y, false, g, line);
    }
  }
  moveOriginTo(plotter, 0.0f, 0.0f);
}

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
    if (!onData) {
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
        const Rect r = frameRect(g);
        g.clipXMin = r.xMin;
        g.clipXMax = r.xMax;
        g.clipYMin = r.yMin;
        g.clipYMax = r.yMax;
      }
    }
    if (!frameRect(g).valid()) continue;

    auto valuesOf = [&](const ModelColumns& m) -> std::span<const float> {
      return k == 0 ? std::span<const float>(m.resistivity) : std::span<const float>(m.ip);
    };
    if (settings.view.showEquivalence && layered && isSet(S.layer.equivalenceValid)) {
      plotter.NewPen(settings.equivalenceColour);
      const auto& E = S.EQUIVA;
      std::vector<float> row(E.cols());
      for (std::size_t r = 0; r < E.rows(); ++r) {
        for (std::size_t j = 0; j < E.cols(); ++j) row[j] = E(r, j);
        const ModelColumns m = modelColumnsOf(S, row);
        const auto values = valuesOf(m);
        if (values.empty() || !std::ranges::all_of(m.resistivity, [](float v) { return v > 0.0f; }))
          continue;  // a row that no search wrote
        drawStaircase(plotter, values, m.bottomDepth, g, onData, kDashedGap);
      }
      // Ranges of each layer's value at mid-layer and of each boundary's depth.
      const auto [top, bottom] = depthRange(g, onData);
      const int nlayer = S.NLAYER();
      const std::size_t blockStart = static_cast<std::size_t>(k * nlayer);
      const bool haveColumns = model.bottomDepth.size() + 1 == static_cast<std::size_t>(nlayer);
      for (int j = 0; j < nlayer && !onData && haveColumns; ++j) {
        const std::size_t index = blockStart + static_cast<std::size_t>(j);
        if (index >= S.PARMIN.size() || index >= S.PARMAX.size()) break;
        const float upper = j == 0 ? std::max(top, 1e-6f) : model.bottomDepth[j - 1];
        const float lower = j + 1 < nlayer ? model.bottomDepth[j] : bottom;
        const float mid = g.yStep == 0.0f ? std::sqrt(upper * lower) : (upper + lower) / 2.0f;
        const std::array<float, 2> xs{S.PARMIN[index], S.PARMAX[index]}, ys{mid, mid};
        DrawDashedLine(plotter, xs, ys, kDash, kSolidGap, g);
      }
      if (k == 0 && !onData && haveColumns)
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
    if (settings.view.showSmooth && smooth) {
      plotter.NewPen(settings.secondModelColour);
      drawStaircase(plotter, valuesOf(smoothModel), smoothModel.bottomDepth, g, onData, kSolidGap);
    }
    if (settings.view.showLayered && layered) {
      plotter.NewPen(settings.layeredColour);
      drawStaircase(plotter, valuesOf(model), model.bottomDepth, g, onData, kSolidGap);
    }
    if (k == 0 && !onData && core::isMagnetotelluric(S.header.dataType)) {
      if (settings.view.showBostick) {
        const DepthCurve c = BostickModel(S, settings.transformsIncludeMasked);
        plotter.NewPen(settings.bostickColour);
        DrawDashedLine(plotter, c.resistivity, c.depth, kDash, kSolidGap, g);
      }
      if (settings.view.showNiblett) {
        const DepthCurve c = NiblettModel(S, settings.transformsIncludeMasked);
        plotter.NewPen(settings.niblettColour);
        DrawDashedLine(plotter, c.resistivity, c.depth, kDash, kSolidGap, g);
      }
    }
  }
  moveOriginTo(plotter, 0.0f, 0.0f);
}

void DrawGridLines(Plotter& plotter, std::span<GraphFrame> graphs, int count, bool major,
                   int minorColour, bool redLine, int frameColour) {
  const int n = std::min<int>(count, static_cast<int>(graphs.size()));
  for (int k = 0; k < n; ++k) {
    const GraphFrame& g = graphs[static_cast<std::size_t>(k)];
    const Rect r = frameRect(g);
    if (!r.valid()) continue;
    moveOriginTo(plotter, g.originX, g.originY);
    if (major) {
      // Minor lines inside one cycle starting at page position `from`.
      auto minors = [&](float from, float length, bool logarithmic, int divisions, bool alongX) {
        if (minorColour <= 0) return;
        plotter.NewPen(minorColour);
        std::vector<float> at;
        if (logarithmic)
          for (int j = 2; j <= 9; ++j)
            at.push_back(from + std::log10(static_cast<float>(j)) * length);
        else
          for (int j = 1; j < divisions; ++j)
            at.push_back(from + length * static_cast<float>(j) / static_cast<float>(divisions));
        for (float s : at) {
          if (alongX) {
            plotter.Plot(s, r.yMin, kPenUp);
            plotter.Plot(s, r.yMax, kPenDown);
          } else {
            plotter.Plot(r.xMin, s, kPenUp);
            plotter.Plot(r.xMax, s, kPenDown);
          }
        }
      };
      const int nx = std::abs(g.xCycles), ny = std::abs(g.yCycles);
      for (int i = 1; i <= nx; ++i) {
        minors(static_cast<float>(i - 1) * g.xCycleLength, g.xCycleLength, g.xStep == 0.0f,
               g.xExponentOrDivisions, true);
        if (i == nx) break;  // the last cycle's minor lines, but no major line on the frame
        plotter.NewPen(frameColour);
        const float x = static_cast<float>(i) * g.xCycleLength;
        plotter.Plot(x, r.yMin, kPenUp);
        plotter.Plot(x, r.yMax, kPenDown);
      }
      for (int i = 1; i <= ny; ++i) {
        minors(static_cast<float>(i - 1) * g.yCycleLength, g.yCycleLength, g.yStep == 0.0f,
               g.yExponentOrDivisions, false);
        if (i == ny) break;
        plotter.NewPen(frameColour);
        const float y = static_cast<float>(i) * g.yCycleLength;
        plotter.Plot(r.xMin, y, kPenUp);
        plotter.Plot(r.xMax, y, kPenDown);
      }
    }
    if (redLine) {
      plotter.NewPen(colour::kRed);
      const float x = PageX(1.0f, g);
      if (x >= r.xMin && x <= r.xMax) {
        plotter.Plot(x, r.yMin, kPenUp);
        plotter.Plot(x, r.yMax, kPenDown);
      }
      if (g.yStep == 0.0f) {
        const float y = PageY(10.0f, g);
        if (y >= r.yMin && y <= r.yMax) {
          plotter.Plot(r.xMin, y, kPenUp);
          plotter.Plot(r.xMax, y, kPenDown);
        }
      }
    }
  }
  plotter.NewPen(frameColour);
  moveOriginTo(plotter, 0.0f, 0.0f);
}

void DrawSoundingPlots(Plotter& plotter, const Sounding& S, const Sounding& SM,
                       std::span<GraphFrame> dataGraphs, std::span<GraphFrame> modelGraphs,
                       bool modelOnData, const PlotSettings& settings) {
  plotter.setFont(TextFont::Proportional);
  const int dataGrid = settings.view.minorGridData ? colour::kGrey : 0;
  const int modelGrid = settings.view.minorGridModel ? colour::kGrey : 0;
  DrawDataPlot(plotter, S, SM, dataGraphs, settings);
  if (S.NDATA() > 0)
    DrawGridLines(plotter, dataGraphs, dataGraphCount(S), settings.view.majorGridData, dataGrid,
                  settings.view.redLine &&
                      core::traitsOf(S.header.dataType).id == core::DataTypeId::Magnetotelluric,
                  settings.frameColour);
  if (modelOnData) {
    if (S.NDATA() > 0) DrawModelPlot(plotter, S, SM, dataGraphs, true, settings);
    return;
  }
  DrawModelPlot(plotter, S, SM, modelGraphs, false, settings);
  if (S.hasModel() || SM.hasModel())
    DrawGridLines(plotter, modelGraphs,
                  std::max(modelGraphCount(S), SM.hasModel() ? modelGraphCount(SM) : 1),
                  settings.view.majorGridModel, modelGrid, false, settings.frameColour);
}

void DrawSoundingPlots(Plotter& plotter, core::CurrentSounding& current,
                       const PlotSettings& settings) {
  DrawSoundingPlots(plotter, current.S, current.SM, current.dataFrames, current.modelFrames,
                    isSet(current.modelOnData), settings);
}

void DrawSoundingPage(Plotter& plotter, core::CurrentSounding& current,
                      const PlotSettings& settings) {
  plotter.Plot(1.0f, 0.0f, kNewPage);
  DrawSoundingPlots(plotter, current, settings);
}

}  // namespace zeva::present
