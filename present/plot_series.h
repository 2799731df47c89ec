#pragma once
// The values the sounding plots draw, as plotted: observed and synthetic point
// series per data graph (TEM gates as late-time apparent resistivity or
// voltage, dipole arrays against n-spacing, conductivity readings at their
// penetration depth) and layered models as resistivity and depth columns.

#include <span>
#include <vector>

#include "core/record/sounding.h"
#include "present/plot_settings.h"

namespace zeva::present {

// Number of data graphs (2 for resistivity/IP and MT soundings) and of model
// graphs (2 when the layers carry IP parameters).
int dataGraphCount(const core::Sounding& S);
int modelGraphCount(const core::Sounding& S);
bool plottedAsTem(const core::Sounding& S);

// One point series of the data plot: abscissae and ordinates as plotted.
struct DataSeries {
  std::vector<float> x, y;
  std::vector<float> error;  // error of each plotted value, in its units
  std::vector<bool> masked;
  int graph = 0;   // zero-based data graph
  int set = 0;     // data set within the sounding (colour, symbol)
  int column = 0;  // zero-based column of VOLTS (or SVOLT) the values come from
};

// The observed series as they are plotted (TEM as apparent resistivity or
// voltage, dipole arrays against n-spacing).
std::vector<DataSeries> observedSeries(const core::Sounding& S, const PlotSettings& settings);
// The synthetic series of an instance (S or SM), empty when not valid; TEM
// synthetics as the observed gates are plotted.
std::vector<DataSeries> syntheticSeries(const core::Sounding& instance,
                                        const PlotSettings& settings);

// Segment starts of a point series: a point after a turning point of the
// abscissae (in the series' overall direction), or with the same abscissa as
// the point before, starts a new segment.
std::vector<bool> segmentStarts(std::span<const float> x, std::span<const float> y);

// A layered model as resistivities and bottom depths of its layers (the last
// depth of the half-space is absent).
struct ModelColumns {
  std::vector<float> resistivity;  // first parameter block
  std::vector<float> ip;           // second block when NPK > 1
  std::vector<float> bottomDepth;  // NLAYER - 1 boundaries
};
ModelColumns modelColumns(const core::Sounding& instance);
ModelColumns modelColumnsOf(const core::Sounding& instance, std::span<const float> parameters);

}  // namespace zeva::present
