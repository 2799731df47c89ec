#pragma once
// Grid lines over the graphs of a plot: heavy lines at the decades (or
// linear steps), grey minor lines within them, and for MT data the red
// reference lines at 1 Hz and, on a logarithmic ordinate, at 10.

#include <span>

#include "present/graph_frame_drawing.h"
#include "present/plotter.h"

namespace zeva::present {

// Over the first `count` graphs: the major grid when `major` (minor lines too
// when minorColour > 0), the red lines when `redLine`.
void DrawGridLines(Plotter& plotter, std::span<const GraphFrame> graphs, int count, bool major,
                   int minorColour, bool redLine, int frameColour);

}  // namespace zeva::present
