#pragma once
// The data plot: in each data graph its frame and titles, the observed
// readings as symbols with error bars (masked readings crossed), and the
// synthetic curves of the layered and the smooth model.

#include <span>

#include "core/record/sounding.h"
#include "present/graph_frame_drawing.h"
#include "present/plot_settings.h"
#include "present/plotter.h"

namespace zeva::present {

// `dataGraphs` are the drawing's working frames: it fills in their label
// extents and value mapping, so callers pass copies of the stored frames.
void DrawDataPlot(Plotter& plotter, const core::Sounding& S, const core::Sounding& SM,
                  std::span<GraphFrame> dataGraphs, const PlotSettings& settings);

}  // namespace zeva::present
