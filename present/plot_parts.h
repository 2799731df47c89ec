#pragma once
// Steps the data plot, the model plot and the grid share: the page rectangle
// of a graph, moving the plotter's origin to it, resetting its label extents
// and writing its axis titles. Used inside the plot drawing only.

#include <string>

#include "present/graph_frame_drawing.h"
#include "present/plot_settings.h"
#include "present/plotter.h"

namespace zeva::present {

// A rectangle in page units relative to a graph origin.
struct PageRect {
  float xMin, xMax, yMin, yMax;
  bool valid() const { return xMax > xMin && yMax > yMin; }
  bool contains(float x, float y) const { return x >= xMin && x <= xMax && y >= yMin && y <= yMax; }
};

PageRect clipRect(const GraphFrame& g);
PageRect frameRect(const GraphFrame& g);
inline bool logOrdinate(const GraphFrame& g) { return g.yStep == 0.0f; }

// Moves the plotter's origin to a page point without drawing.
void moveOriginTo(Plotter& plotter, float x, float y);

// Label extents of a frame back to the frame itself, before it is drawn anew.
void clearExtents(GraphFrame& g);

// Axis titles below and beside a graph, on the sides whose labels are shown;
// a null title is not written.
void writeAxisTitles(Plotter& plotter, const GraphFrame& g, const PlotSettings& s,
                     const std::string* bottom, const std::string* left, const std::string* right);

}  // namespace zeva::present
