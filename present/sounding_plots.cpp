#include "present/sounding_plots.h"

#include <algorithm>
#include <vector>

#include "core/record/data_type.h"

namespace zeva::present {

using core::isSet;
using core::Sounding;

void DrawSoundingPlots(Plotter& plotter, const Sounding& S, const Sounding& SM,
                       std::span<const GraphFrame> dataGraphs,
                       std::span<const GraphFrame> modelGraphs, bool modelOnData,
                       const PlotSettings& settings) {
  std::vector<GraphFrame> data(dataGraphs.begin(), dataGraphs.end());
  std::vector<GraphFrame> models(modelGraphs.begin(), modelGraphs.end());
  plotter.setFont(TextFont::Proportional);
  const int dataGrid = settings.view.minorGridData ? colour::kGrey : 0;
  const int modelGrid = settings.view.minorGridModel ? colour::kGrey : 0;
  DrawDataPlot(plotter, S, SM, data, settings);
  if (S.NDATA() > 0)
    DrawGridLines(plotter, data, dataGraphCount(S), settings.view.majorGridData, dataGrid,
                  settings.view.redLine &&
                      core::traitsOf(S.header.dataType).id == core::DataTypeId::Magnetotelluric,
                  settings.frameColour);
  if (modelOnData) {
    if (S.NDATA() > 0) DrawModelPlot(plotter, S, SM, data, true, settings);
    return;
  }
  DrawModelPlot(plotter, S, SM, models, false, settings);
  if (S.hasModel() || SM.hasModel())
    DrawGridLines(plotter, models,
                  std::max(modelGraphCount(S), SM.hasModel() ? modelGraphCount(SM) : 1),
                  settings.view.majorGridModel, modelGrid, false, settings.frameColour);
}

void DrawSoundingPlots(Plotter& plotter, const core::CurrentSounding& current,
                       const PlotSettings& settings) {
  DrawSoundingPlots(plotter, current.S, current.SM, current.dataFrames, current.modelFrames,
                    isSet(current.modelOnData), settings);
}

void DrawSoundingPage(Plotter& plotter, const core::CurrentSounding& current,
                      const PlotSettings& settings) {
  plotter.Plot(1.0f, 0.0f, kNewPage);
  DrawSoundingPlots(plotter, current, settings);
}

}  // namespace zeva::present
