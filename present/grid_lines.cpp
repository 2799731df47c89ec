#include "present/grid_lines.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "present/plot_parts.h"

namespace zeva::present {

namespace {

// A line across the frame at page position `at`: vertical when `alongX`.
void lineAcross(Plotter& plotter, const PageRect& r, float at, bool alongX) {
  if (alongX) {
    plotter.Plot(at, r.yMin, kPenUp);
    plotter.Plot(at, r.yMax, kPenDown);
  } else {
    plotter.Plot(r.xMin, at, kPenUp);
    plotter.Plot(r.xMax, at, kPenDown);
  }
}

// Minor lines inside one cycle starting at page position `from`: at 2 to 9
// on a logarithmic axis, at the divisions of a linear one.
void drawMinorLines(Plotter& plotter, const PageRect& r, float from, float length, bool logarithmic,
                    int divisions, bool alongX, int minorColour) {
  if (minorColour <= 0) return;
  plotter.NewPen(minorColour);
  std::vector<float> at;
  if (logarithmic)
    for (int j = 2; j <= 9; ++j) at.push_back(from + std::log10(static_cast<float>(j)) * length);
  else
    for (int j = 1; j < divisions; ++j)
      at.push_back(from + length * static_cast<float>(j) / static_cast<float>(divisions));
  for (float s : at) lineAcross(plotter, r, s, alongX);
}

// Major lines between the cycles of each axis and the minor lines of every
// cycle; the frame itself carries the last major line.
void drawMajorGrid(Plotter& plotter, const GraphFrame& g, const PageRect& r, int minorColour,
                   int frameColour) {
  const int nx = std::abs(g.xCycles), ny = std::abs(g.yCycles);
  for (int i = 1; i <= nx; ++i) {
    drawMinorLines(plotter, r, static_cast<float>(i - 1) * g.xCycleLength, g.xCycleLength,
                   g.xStep == 0.0f, g.xExponentOrDivisions, true, minorColour);
    if (i == nx) break;
    plotter.NewPen(frameColour);
    lineAcross(plotter, r, static_cast<float>(i) * g.xCycleLength, true);
  }
  for (int i = 1; i <= ny; ++i) {
    drawMinorLines(plotter, r, static_cast<float>(i - 1) * g.yCycleLength, g.yCycleLength,
                   g.yStep == 0.0f, g.yExponentOrDivisions, false, minorColour);
    if (i == ny) break;
    plotter.NewPen(frameColour);
    lineAcross(plotter, r, static_cast<float>(i) * g.yCycleLength, false);
  }
}

// The red reference lines of an MT graph: at an abscissa of 1 and, on a
// logarithmic ordinate, at 10; each only where it falls inside the frame.
void drawReferenceLines(Plotter& plotter, const GraphFrame& g, const PageRect& r) {
  plotter.NewPen(colour::kRed);
  const float x = PageX(1.0f, g);
  if (x >= r.xMin && x <= r.xMax) lineAcross(plotter, r, x, true);
  if (g.yStep == 0.0f) {
    const float y = PageY(10.0f, g);
    if (y >= r.yMin && y <= r.yMax) lineAcross(plotter, r, y, false);
  }
}

}  // namespace

void DrawGridLines(Plotter& plotter, std::span<const GraphFrame> graphs, int count, bool major,
                   int minorColour, bool redLine, int frameColour) {
  const int n = std::min<int>(count, static_cast<int>(graphs.size()));
  for (int k = 0; k < n; ++k) {
    const GraphFrame& g = graphs[static_cast<std::size_t>(k)];
    const PageRect r = frameRect(g);
    if (!r.valid()) continue;
    moveOriginTo(plotter, g.originX, g.originY);
    if (major) drawMajorGrid(plotter, g, r, minorColour, frameColour);
    if (redLine) drawReferenceLines(plotter, g, r);
  }
  plotter.NewPen(frameColour);
  moveOriginTo(plotter, 0.0f, 0.0f);
}

}  // namespace zeva::present
