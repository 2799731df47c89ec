#pragma once
// The display switches of the main window: which models and curves the plots
// show, grids, the MT reference line and the TEM views. The program keeps one
// set and toggles it from the View menu; the plots read it. The native file
// stores only the model-on-data switch, which lives in CurrentSounding.

namespace zeva::core {

struct ViewSwitches {
  bool zoom = false;
  bool showLayered = true;
  bool showSmooth = false;
  bool showEquivalence = true;
  bool showBostick = false;
  bool showNiblett = false;
  bool redLine = false;
  bool voltageView = false;  // TEM data as received voltage
  bool linearTime = false;   // TEM time axis linear
  bool majorGridData = false, minorGridData = false;
  bool majorGridModel = false, minorGridModel = false;
};

}  // namespace zeva::core
