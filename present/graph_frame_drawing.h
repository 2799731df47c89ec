#pragma once
// Log-cycle graph frames: a rectangle divided into whole decades (or linear
// steps) along each axis, with decade ticks, minor ticks, heavy lines on large
// frames and the axis labels, and the mapping of data values to page units.
// The frame descriptor itself is core::GraphFrame, stored in the native file.

#include <cstdint>
#include <string>

#include "core/record/graph_frame.h"
#include "present/plotter.h"

namespace zeva::present {

using core::GraphFrame;

// Observed values of 1.0E10 or more (and values that are not numbers) are
// missing readings.
inline bool isMissing(float value) { return !(value < 1.0e10f); }

// The scale fields of one axis of a frame, by reference, so that code that
// sets up an axis serves x and y alike.
struct AxisFields {
  std::int32_t& cycles;
  float& cycleLength;
  float& start;
  float& step;  // 0: logarithmic
  std::int32_t& exponentOrDivisions;
};
inline AxisFields xAxisOf(GraphFrame& frame) {
  return {frame.xCycles, frame.xCycleLength, frame.xStart, frame.xStep, frame.xExponentOrDivisions};
}
inline AxisFields yAxisOf(GraphFrame& frame) {
  return {frame.yCycles, frame.yCycleLength, frame.yStart, frame.yStep, frame.yExponentOrDivisions};
}

// Size of the frame in page units (0 when either count or length is 0).
float frameWidth(const GraphFrame& frame);
float frameHeight(const GraphFrame& frame);
// Lower-left corner of the frame relative to the graph origin: a negative
// cycle length runs the axis left or down from the origin.
float frameLeft(const GraphFrame& frame);
float frameBottom(const GraphFrame& frame);

// Draws the frame at the current origin of the plotter (the caller moves it to
// the graph origin first) with labels of nominal height `labelHeight` on the
// flagged sides, and writes the label extents back into the frame. A frame of
// zero area draws nothing and leaves the extents unchanged.
// A label below the frame that would begin left of `bottomLabelsFrom` (frame
// units) is left out: a graph that abuts another one on its left so keeps its
// first label off the neighbour's last.
void DrawGraphFrame(Plotter& plotter, GraphFrame& frame, float labelHeight,
                    float bottomLabelsFrom = -1.0e10f);

// Sets the value-to-page slopes and offsets and the clip rectangle.
void SetAxisMapping(GraphFrame& frame);

// Page position of a value relative to the graph origin; a missing value maps
// to 0.
float PageX(float value, const GraphFrame& frame);
float PageY(float value, const GraphFrame& frame);
// The inverse mappings (page position to value), used by autoscale tests and
// mouse editing.
float ValueX(float page, const GraphFrame& frame);
float ValueY(float page, const GraphFrame& frame);

// The text of a linear-axis label: `decimals` decimals, small values in
// thousandths with the suffix "m", trailing zeros and point removed.
std::string LinearLabel(float value, int decimals);

}  // namespace zeva::present
