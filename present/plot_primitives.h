#pragma once
// The pen strokes the sounding plots are made of: point series as lines or
// symbols, dashed polylines clipped to a graph, and the plot symbols.

#include <span>

#include "present/graph_frame_drawing.h"
#include "present/plotter.h"

namespace zeva::present {

// Dash and gap of the model lines: solid (a gap too short to see) and dashed.
inline constexpr float kDash = 0.03f;
inline constexpr float kSolidGap = 0.0001f;
inline constexpr float kDashedGap = 0.07f;

// Draws a point series into a graph at the plotter's current origin (which the
// caller has moved to the graph origin): connected in line mode, as symbols
// otherwise. Missing values (1.0E10 and above) lift the pen.
struct CurveStyle {
  int symbol = 1;
  bool alternateSymbol = false;
  bool segmentColouring = false;
  float segmentSeparation = 0.0f;
  float symbolSizeFactor = 0.01f;
  bool noSegments = false;
};
void DrawCurve(Plotter& plotter, std::span<const float> x, std::span<const float> y, bool symbols,
               const GraphFrame& graph, const CurveStyle& style);
// Draws a polyline of values dashed (dash and gap in page units), within the
// graph's clip rectangle. A zero-length or invalid segment ends the line.
void DrawDashedLine(Plotter& plotter, std::span<const float> x, std::span<const float> y,
                    float dash, float gap, const GraphFrame& graph);
// One plot symbol (codes 1 to 11) centred on a page point with half-size s.
void DrawSymbol(Plotter& plotter, float x, float y, float halfSize, int code);

// The second colour of a segment-coloured series.
int alternateColour(int colour);
// The symbol drawn instead of `code` for negative values on a logarithmic
// ordinate and on request.
int alternateSymbol(int code);

}  // namespace zeva::present
