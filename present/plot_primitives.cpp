#include "present/plot_primitives.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <vector>

#include "present/plot_parts.h"
#include "present/plot_series.h"

namespace zeva::present {

namespace {

// Liang-Barsky: clips the segment a-b to the rectangle; false when nothing
// of it is inside.
bool clipSegment(PagePoint& a, PagePoint& b, const PageRect& r) {
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
void segment(Plotter& plotter, PagePoint a, PagePoint b, const PageRect& clip,
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

}  // namespace

int alternateColour(int colour) { return colour >= 11 ? colour - 1 : colour + 1; }

int alternateSymbol(int code) {
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
  const PageRect clip = clipRect(graph);
  const float area = (clip.xMax - clip.xMin) * (clip.yMax - clip.yMin);
  if (!(clip.valid() && area > 0.0f)) return;
  const float factor = style.symbolSizeFactor > 0.0f ? style.symbolSizeFactor : 0.01f;
  const float s = std::min(0.03f, std::sqrt(area) * factor);
  const float slackX = 0.01f * (clip.xMax - clip.xMin), slackY = 0.01f * (clip.yMax - clip.yMin);
  const PageRect loose{clip.xMin - slackX, clip.xMax + slackX, clip.yMin - slackY,
                       clip.yMax + slackY};

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
                   alternate ? alternateSymbol(style.symbol) : style.symbol);
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
  const PageRect clip = clipRect(graph);
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

}  // namespace zeva::present
