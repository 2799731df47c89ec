#pragma once
// The properties dialog of View, Properties: what the plots show (the view
// switches, with the rule that a minor grid needs its major grid), how they
// look (text heights, symbol size, the colours of the models, segment
// colouring and separation) and the settings of the graph frames that the
// plot set-up leaves to the user (plot symbol, thin lines).

#include <QDialog>
#include <utility>
#include <vector>

#include "core/program/program.h"
#include "core/record/current_sounding.h"
#include "present/sounding_plots.h"
#include "settings/settings.h"

class QCheckBox;
class QDoubleSpinBox;
class QSpinBox;

namespace zeva::ui::qt {

class PlotPropertiesDialog : public QDialog {
 public:
  PlotPropertiesDialog(const core::ViewSwitches& view, const present::PlotSettings& appearance,
                       const core::CurrentSounding& current, QWidget* parent = nullptr);

  // The switches as chosen, a minor grid bringing its major grid with it.
  core::ViewSwitches view() const;
  // `appearance` with the chosen heights, sizes and colours.
  present::PlotSettings appearance(present::PlotSettings appearance) const;
  // Gives the four graph frames the chosen symbol and line weight.
  void applyToFrames(core::CurrentSounding& current) const;

 private:
  core::ViewSwitches view_;
  std::vector<std::pair<bool core::ViewSwitches::*, QCheckBox*>> switches_;
  QDoubleSpinBox *titleHeight_, *labelHeight_, *axisTitleHeight_, *symbolSize_, *separation_;
  QSpinBox *layeredColour_, *smoothColour_, *equivalenceColour_, *frameColour_, *symbol_;
  QCheckBox *segmentColouring_, *thinData_, *thinModel_;
};

// How the plots look by the settings file: its axis captions and title
// height over the built-in colours and sizes.
present::PlotSettings plotAppearanceOf(const settings::GraphTexts& texts);
// The title height goes back to the settings file with the other captions.
void storePlotAppearance(const present::PlotSettings& appearance, settings::GraphTexts& texts);

}  // namespace zeva::ui::qt
