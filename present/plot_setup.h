#pragma once
// The plot set-up (autoscale): chooses the frames of the data plot and of the
// model plot so that whole decades (or round linear steps) enclose everything
// that will be drawn - the data, the synthetic curves, the model, the
// equivalence range and the MT transforms - and lays the graphs out on the
// 10 x 8 page.

#include <span>

#include "core/record/current_sounding.h"
#include "present/sounding_plots.h"

namespace zeva::present {

// Page layout of the plots.
inline constexpr float kDataPlotLeft = 1.1f;
inline constexpr float kDataPlotWidth = 5.15f;
inline constexpr float kPlotBottom = 1.25f;
inline constexpr float kPlotTop = 7.25f;
inline constexpr float kModelPlotLeft = 7.25f;
inline constexpr float kModelPlotWidth = 2.5f;

// A logarithmic axis: first decade exponent and number of decades.
struct DecadeRange {
  int firstExponent = 0;
  int decades = 1;
};
// The whole decades, at least two, that enclose the positive magnitudes in
// [low, high].
DecadeRange decadesAround(float low, float high);

// A linear axis: value at the first boundary, step per cycle, number of cycles
// and minor divisions per cycle.
struct LinearRange {
  float start = 0.0f;
  float step = 1.0f;
  int cycles = 1;
  int divisions = 5;
};
// Round steps (1, 2, 2.5 or 5 times a power of ten) that enclose [low, high]
// in at most `maxCycles` cycles.
LinearRange linearAround(float low, float high, int maxCycles = 8);

// Sets the data frames and the model frames of the current sounding.
void SetUpPlots(core::CurrentSounding& current, const PlotSettings& settings);
void SetUpDataPlot(const core::Sounding& S, const core::Sounding& SM,
                   std::span<core::GraphFrame> graphs, bool modelOnData,
                   const PlotSettings& settings);
void SetUpModelPlot(const core::Sounding& S, const core::Sounding& SM,
                    std::span<core::GraphFrame> graphs, const PlotSettings& settings);

}  // namespace zeva::present
