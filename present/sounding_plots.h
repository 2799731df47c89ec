#pragma once
// The two plots of the main window, composed with the pen plotter: the data
// plot (observed data with error bars, synthetic curves, optionally the model
// drawn over the data) and the model plot (layered model, smooth model,
// equivalent models and, for MT data, the Bostick and Niblett transforms),
// with grids and the MT reference line. The same drawing serves the screen,
// printing and graphics export. This header brings the plot settings, the
// series, the primitives and each plot along for the callers that draw.

#include <span>

#include "core/record/current_sounding.h"
#include "present/data_plot.h"
#include "present/graph_frame_drawing.h"
#include "present/grid_lines.h"
#include "present/model_plot.h"
#include "present/plot_primitives.h"
#include "present/plot_series.h"
#include "present/plot_settings.h"

namespace zeva::present {

// The plots, in order: data plot, data grid (with the red line for MT), then
// the model in the model graphs with their grid, or over the data. Drawing
// reads the stored frames and writes nothing back: the label extents and the
// value mapping it needs are worked out on copies.
void DrawSoundingPlots(Plotter& plotter, const core::Sounding& S, const core::Sounding& SM,
                       std::span<const GraphFrame> dataGraphs,
                       std::span<const GraphFrame> modelGraphs, bool modelOnData,
                       const PlotSettings& settings);
void DrawSoundingPlots(Plotter& plotter, const core::CurrentSounding& current,
                       const PlotSettings& settings);

// A whole 10 x 8 picture: a new white page with both plots; the caller closes
// the plotter (or starts the next page).
void DrawSoundingPage(Plotter& plotter, const core::CurrentSounding& current,
                      const PlotSettings& settings);

}  // namespace zeva::present
