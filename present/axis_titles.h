#pragma once
// The axis titles of the sounding plots (one table of 40-character titles that
// the settings file may replace) and the rules that choose the titles of the
// data plot from the data type.

#include <array>
#include <string>
#include <string_view>

#include "core/record/record_headers.h"

namespace zeva::present {

// Positions in the title table, in its stored order.
enum class AxisTitle {
  ApparentConductivity,
  Conductivity,
  EffectivePenetration,
  NSpacing,
  CumulativeResistance,
  CumulativeConductance,
  IpEffect,
  IpEffectSecond,
  Height,
  InPhaseAndQuadrature,
  Spacing,
  Phase,
  Resistivity,
  Depth,
  ReceivedVoltage,
  Frequency,
  Period,
  Time,
  ApparentResistivity,
};
inline constexpr std::size_t kAxisTitleCount = 19;
inline constexpr std::size_t kAxisTitleWidth = 40;

// The default titles, without their trailing blanks.
const std::array<std::string_view, kAxisTitleCount>& defaultAxisTitles();

// The table the plots read; the settings file may replace entries.
struct AxisTitleTable {
  std::array<std::string, kAxisTitleCount> titles;

  AxisTitleTable();
  const std::string& operator[](AxisTitle which) const {
    return titles[static_cast<std::size_t>(which)];
  }
};

// The varying quantity of a MaxMin sounding (data header word `mode`).
enum class MaxMinVariable { Frequency = 1, Spacing = 2, Height = 3 };

struct DataPlotTitles {
  AxisTitle bottom;
  AxisTitle left;
};

// Titles of data graph `graph` (1 the main curve, 2 the second curve).
DataPlotTitles dataPlotTitles(const core::DataTypeText& dataType, int graph, bool voltageView,
                              int maxMinMode);

}  // namespace zeva::present
