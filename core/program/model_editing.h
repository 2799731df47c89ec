#pragma once
// Graphical model editing on the plots, free of any window system: which
// model parameter or data point a page position hits, how dragging changes a
// resistivity, an IP parameter or a boundary, the rubber line of the model
// during a drag, the zoom box and the click rule. Positions are in plot units
// of the 10 x 8 page, y upwards; the graph frames of the current sounding map
// them to values.

#include <span>
#include <string>
#include <vector>

#include "core/record/current_sounding.h"
#include "present/sounding_plots.h"

namespace zeva::core {

// The graph a model parameter was picked on: the first model panel
// (resistivities and boundaries), the second (IP parameters, NPK > 1), or
// the first data graph when the model is drawn over the data.
enum class EditPlot { None, FirstModelPanel, SecondModelPanel, DataPlot };

// Distance in plot units within which a parameter is hit.
inline constexpr float kHitDistance = 0.1f;
// A press and release closer than this many milliseconds make a click.
inline constexpr long kClickMilliseconds = 300;

struct ParameterHit {
  int parameter = 0;  // 1-based index into PAR; 0 when nothing is hit
  EditPlot plot = EditPlot::None;
  float distance = 0.0f;  // plot units
};

// True for a thickness or depth parameter (k > NLAYER x NPK).
bool isBoundaryParameter(const Sounding& S, int parameter);

// The layered-model parameter nearest to a page position, within kHitDistance.
// On the model plot the first panel offers the resistivities and boundaries
// and, outside it, the second panel the IP parameters; with the model on the
// data plot the first data graph offers resistivities and boundaries with
// depth along its abscissa. Ties keep the first parameter in PAR order.
ParameterHit hitParameter(const CurrentSounding& current, float pageX, float pageY);

// The frame a parameter was picked on (null for EditPlot::None).
const GraphFrame* frameOf(const CurrentSounding& current, EditPlot plot);

// Applies a drag position to parameter k of S picked on `plot`. A
// resistivity or IP parameter takes the value under the cursor. A boundary in
// thickness mode takes the depth under the cursor less the thicknesses above
// it, only when that is positive; in depth mode the depth is taken only
// strictly between the neighbouring boundaries. True when PAR changed.
bool dragParameter(Sounding& S, const GraphFrame& frame, EditPlot plot, int parameter, float pageX,
                   float pageY);

// A point of a line on the page, in plot units.
struct PlotPoint {
  float x = 0.0f, y = 0.0f;
};

// The rubber line of the layered model in the graph it is edited on: for
// each layer a segment at its value from its top to its bottom and a step to
// the next layer, depths clamped to the depth range of the axis. Page
// positions (graph origin added); empty when the model cannot be drawn.
std::vector<PlotPoint> rubberLine(const Sounding& S, const GraphFrame& frame, EditPlot plot);

// A data reading under the cursor: 1-based point and component, 0 for none.
struct DataPointHit {
  int point = 0;
  int component = 0;
};
DataPointHit hitDataPoint(const CurrentSounding& current, const present::PlotSettings& settings,
                          float pageX, float pageY);

// The graph under a page position, for zooming.
struct GraphPick {
  bool dataPlot = false;
  int graph = -1;  // zero-based; -1 outside every graph
};
GraphPick graphAt(const CurrentSounding& current, float pageX, float pageY);

// Zooms the graph under the first corner of a box to the whole decades (or
// round linear steps) that enclose the box. The graphs of one plot share an
// axis (the abscissa of the data graphs, the depth of the model panels),
// which follows too. False, changing nothing, when the box starts outside
// every graph or has no extent.
bool zoomToBox(CurrentSounding& current, float x0, float y0, float x1, float y1);
// Sets the axes of a graph to the whole decades (or round steps) that enclose
// the given value ranges, with the shared axis of the plot's other graph.
// False, changing nothing, for a graph that does not exist or ranges that
// the axes cannot show (no extent; zero or negative on a logarithmic axis).
bool setGraphRange(CurrentSounding& current, GraphPick pick, float xLow, float xHigh, float yLow,
                   float yHigh);

// True when a press and release this far apart (milliseconds) make a click.
constexpr bool isClick(long pressMs, long releaseMs) {
  return releaseMs - pressMs < kClickMilliseconds;
}

// Lines of the mouse trace in the debug log.
std::string rubberModelTrace(int parameter, float value, float pageX, float pageY, long timeMs);
std::string rubberBoxTrace(float x0, float y0, float x1, float y1, long timeMs);

}  // namespace zeva::core
