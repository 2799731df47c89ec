#pragma once
// The model plot: the layered and smooth models as staircases of resistivity
// (and IP effect) against depth, the equivalent models and the ranges of each
// parameter, and for MT data the Bostick and Niblett depth transforms. Drawn
// in the model graphs, or over the first data graph with depth along x.

#include <span>

#include "core/record/sounding.h"
#include "present/graph_frame_drawing.h"
#include "present/plot_settings.h"
#include "present/plotter.h"

namespace zeva::present {

// `graphs` are the drawing's working frames: it fills in their label extents,
// value mapping and clip, so callers pass copies of the stored frames.
void DrawModelPlot(Plotter& plotter, const core::Sounding& S, const core::Sounding& SM,
                   std::span<GraphFrame> graphs, bool onData, const PlotSettings& settings);

}  // namespace zeva::present
