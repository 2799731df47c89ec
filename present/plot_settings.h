#pragma once
// What the sounding plots show and how: the view switches, pen colours, text
// heights, axis titles and the late-time conversion of TEM gates.

#include <array>
#include <functional>
#include <span>
#include <string>

#include "core/record/sounding.h"
#include "core/record/view_switches.h"
#include "present/axis_titles.h"

namespace zeva::present {

// Late-time apparent resistivity of TEM gates: given the sounding (for its
// loop geometry and sets), the gate times (ms) and the first data value of each
// gate, writes one resistivity per gate.
using LateTimeConversion =
    std::function<void(const core::Sounding& S, std::span<const float> timesMs,
                       std::span<const float> volts, std::span<float> resistivity)>;

// The program's late-time conversion of TEM gate voltages.
void lateTimeApparentResistivity(const core::Sounding& S, std::span<const float> timesMs,
                                 std::span<const float> volts, std::span<float> resistivity);

// What the plots show and how: the view switches of the main window (the
// zoom switch plays no part in drawing), pen colours, text heights and axis
// titles.
struct PlotSettings {
  core::ViewSwitches view;
  // The Bostick and Niblett transforms use masked readings too.
  bool transformsIncludeMasked = false;

  int frameColour = 4;
  int layeredColour = 11;
  int secondModelColour = 5;  // smooth model and its synthetics
  int bostickColour = 1;
  int niblettColour = 7;
  int equivalenceColour = 12;
  std::array<int, 4> dataSetColours{6, 12, 7, 2};
  // Successive Schlumberger segments alternate between a data set's colour
  // and the next one, and may be drawn apart by a vertical separation.
  bool segmentColouring = true;
  float segmentSeparation = 0.0f;
  float symbolSizeFactor = 0.01f;

  float titleHeight = 0.27f;
  float labelHeight = 0.15f;
  float axisTitleHeight = 0.15f;
  float axisTitleOffsetX = 0.0f;  // extra distance of vertical titles from the labels
  float axisTitleOffsetY = 0.0f;  // extra distance of bottom titles from the labels
  AxisTitleTable axisTitles;
  // Face of the proportional texts, chosen by the user; empty: the canvas's
  // own face.
  std::string fontFamily;

  // TEM gates are plotted as late-time apparent resistivity through this
  // conversion; without one they are plotted as received voltage.
  LateTimeConversion lateTime = lateTimeApparentResistivity;
};

}  // namespace zeva::present
