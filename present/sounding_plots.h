#pragma once
// The two plots of the main window, composed with the pen plotter: the data
// plot (observed data with error bars, synthetic curves, optionally the model
// drawn over the data) and the model plot (layered model, smooth model,
// equivalent models and, for MT data, the Bostick and Niblett transforms),
// with grids and the MT reference line. The same drawing serves the screen,
// printing and graphics export.

#include <array>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/record/current_sounding.h"
#include "core/record/view_switches.h"
#include "forward/mt_depth_transforms.h"
#include "present/axis_titles.h"
#include "present/graph_frame_drawing.h"

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

// Dash and gap of the model lines: solid (a gap too short to see) and dashed.
inline constexpr float kDash = 0.03f;
inline constexpr float kSolidGap = 0.0001f;
inline constexpr float kDashedGap = 0.07f;

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
// The synthetic series of an instance (S or SM), empty when not valid.
std::vector<DataSeries> syntheticSeries(const core::Sounding& instance,
                                        const PlotSettings& settings);

// A layered model as resistivities and bottom depths of its layers (the last
// depth of the half-space is absent).
struct ModelColumns {
  std::vector<float> resistivity;  // first parameter block
  std::vector<float> ip;           // second block when NPK > 1
  std::vector<float> bottomDepth;  // NLAYER - 1 boundaries
};
ModelColumns modelColumns(const core::Sounding& instance);
ModelColumns modelColumnsOf(const core::Sounding& instance, std::span<const float> parameters);

// The Bostick (slope) and Niblett (phase) transforms of MT data as
// (resistivity, depth) pairs.
using forward::BostickModel;
using forward::DepthCurve;
using forward::NiblettModel;

// Draws a point series into a graph at the plotter's current origin (which the
// caller has moved to the graph origin): connected in line mode, as symbols
// otherwise. Missing values (1.0E10 and above) lift the pen.
struct CurveStyle {
  int symbol = 1;
  bool alternateSymbol = false;
  bool segmentColouring = false;
  float segmentSeparation = 0.0f;
  float symbolSizeFactor = 0.01f;
  bool noSegments = false;
};
void DrawCurve(Plotter& plotter, std::span<const float> x, std::span<const float> y, bool symbols,
               const GraphFrame& graph, const CurveStyle& style);
// Draws a polyline of values dashed (dash and gap in page units), within the
// graph's clip rectangle. A zero-length or invalid segment ends the line.
void DrawDashedLine(Plotter& plotter, std::span<const float> x, std::span<const float> y,
                    float dash, float gap, const GraphFrame& graph);
// One plot symbol (codes 1 to 11) centred on a page point with half-size s.
void DrawSymbol(Plotter& plotter, float x, float y, float halfSize, int code);

// The plots, in order: data plot, data grid (with the red line for MT), then
// the model in the model graphs with their grid, or over the data. Drawing
// reads the frames and writes nothing back: the label extents and the value
// mapping it needs are worked out on copies.
void DrawSoundingPlots(Plotter& plotter, const core::Sounding& S, const core::Sounding& SM,
                       std::span<const GraphFrame> dataGraphs,
                       std::span<const GraphFrame> modelGraphs, bool modelOnData,
                       const PlotSettings& settings);
void DrawSoundingPlots(Plotter& plotter, const core::CurrentSounding& current,
                       const PlotSettings& settings);
void DrawGridLines(Plotter& plotter, std::span<const GraphFrame> graphs, int count, bool major,
                   int minorColour, bool redLine, int frameColour);

// A whole 10 x 8 picture: a new white page with both plots; the caller closes
// the plotter (or starts the next page).
void DrawSoundingPage(Plotter& plotter, const core::CurrentSounding& current,
                      const PlotSettings& settings);

}  // namespace zeva::present
