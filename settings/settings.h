#pragma once
// The program-wide user settings that persist from one run to the next in
// ZEVA.INI: the working directory, window and dialog placement, the column
// choices of the flat ASCII imports, display and print switches, axis
// captions, text sizes and the plot font. Every value has its built-in
// default here, so the program runs without a settings file.

#include <array>
#include <string>

#include "files/import_columns.h"

namespace zeva::settings {

// Window and dialog placement, in the toolkit's units.
struct WindowPlacement {
  int dialogX = 0, dialogY = 0;
  int windowX = 0, windowY = 0, windowW = 0, windowH = 0;
  int windowState = 1;
  int wellLogX = -1, wellLogY = -1;  // -1: not yet placed
  int wellLogW = 0, wellLogH = 0;
  int wellLogState = 1;
};

// The column choices of the flat ASCII imports (kept with the settings).
using ImportColumns = files::ImportColumns;

// Display, grid and print switches.
struct DisplayFlags {
  bool zoom = false, equivalence = false, layered = false, smooth = false;
  bool modelOnData = false;
  bool gridMajorData = false, gridMinorData = false, gridMajorModel = false, gridMinorModel = false;
  bool printGraph = true, printData = true, printModel = true, printBounds = true;
  bool printResolution = true, printSmoothModel = true;
  bool printSmoothBounds = false, printSmoothResolution = false, printWorksheet = false;
  bool bostick = false, niblett = false, redLine = false;
  bool gridMajorLog = false, gridMinorLog = false, gridMajorConductance = false;
  bool gridMinorConductance = false;
};

// Axis captions (40 characters), text heights and caption offsets of the plots.
struct GraphTexts {
  std::string resistivity = "Apparent Resistivity (ohm-m)";
  std::string spacing = "Spacing (m)";
  std::string modelResistivity = "Resistivity (ohm-m)";
  std::string depth = "Depth (m)";
  std::string time = "Time (ms)";
  std::string period = "Period (sec)";
  std::string frequency = "Frequency (Hz)";
  std::string voltage = "Received Voltage (nv/A-m**2)";
  std::string phase = "Phase (deg)";
  std::string inPhaseQuadrature = "In-Phase & Quadrature (%)";
  std::string height = "Height (m)";
  std::string ipEffect = "IP Effect";
  std::string ipEffectModel = "IP Effect";
  std::string nSpacing = "n-Spacing";
  float nameHeight = 0.27f;
  float dataVerticalHeight = 0.15f, dataHorizontalHeight = 0.15f;
  float modelVerticalHeight = 0.18f, modelHorizontalHeight = 0.18f;
  float dataVerticalOffset = 0.0f, dataHorizontalOffset = 0.0f;
  float modelVerticalOffset = 0.0f, modelHorizontalOffset = 0.0f;
  float dataPlotOffset = 0.0f;  // "OFFDATP=": read, never written
  int lineWidth = 2;
};

struct PlotFont {
  int font = 103;
  int style = 1;
  float width = 0.022f;
  float height = 0.04f;
};

// Files of the File menu's recent list, newest first.
inline constexpr std::size_t kRecentFileCount = 8;

struct Settings {
  std::string lastDir;  // working directory; empty: the current one
  WindowPlacement windows;
  ImportColumns columns;
  std::string lastFile;  // name of the last sounding file (24 characters)
  DisplayFlags flags;
  GraphTexts graphs;
  PlotFont font;
  std::array<std::string, kRecentFileCount> recentFiles;  // empty entries: none
};

}  // namespace zeva::settings
