#include "present/sounding_plots.h"

#include <algorithm>

#include "core/record/data_type.h"

namespace zeva::present {

using core::isSet;
using core::Sounding;

void DrawSoundingPlots(Plotter& plotter, const Sounding& S, const Sounding& SM,
                       std::span<GraphFrame> dataGraphs, std::span<GraphFrame> modelGraphs,
                       bool modelOnData, const PlotSettings& settings) {
  plotter.setFont(TextFont::Proportional);
  const int dataGrid = settings.view.minorGridData ? colour::kGrey : 0;
  const int modelGrid = settings.view.minorGridModel ? colour::kGrey : 0;
  DrawDataPlot(plotter, S, SM, dataGraphs, settings);
  if (S.NDATA() > 0)
    DrawGridLines(plotter, dataGraphs, dataGraphCount(S), settings.view.majorGridData, dataGrid,
                  settings.view.redLine &&
                      core::traitsOf(S.header.dataType).id == core::DataTypeId::Magnetotelluric,
                  settings.frameColour);
  if (modelOnData) {
    if (S.NDATA() > 0) DrawModelPlot(plotter, S, SM, dataGraphs, true, settings);
    return;
  }
  DrawModelPlot(plotter, S, SM, modelGraphs, false, settings);
  if (S.hasModel() || SM.hasModel())
    DrawGridLines(plotter, modelGraphs,
                  std::max(modelGraphCount(S), SM.hasModel() ? modelGraphCount(SM) : 1),
                  settings.view.majorGridModel, modelGrid, false, settings.frameColour);
}

void DrawSoundingPlots(Plotter& plotter, core::CurrentSounding& current,
                       const PlotSettings& settings) {
  DrawSoundingPlots(plotter, current.S, current.SM, current.dataFrames, current.modelFrames,
                    isSet(current.modelOnData), settings);
}

void DrawSoundingPage(Plotter& plotter, core::CurrentSounding& current,
                      const PlotSettings& settings) {
  plotter.Plot(1.0f, 0.0f, kNewPage);
  DrawSoundingPlots(plotter, current, settings);
}

}  // namespace zeva::present
