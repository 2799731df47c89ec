// The View menu's switches: what the plots show, the grids and the TEM axes,
// with the rules that tie switches to each other and the refusal to draw the
// model over data whose plot has no room for it.

#include "core/program/view_commands.h"

#include "core/record/data_type.h"

namespace zeva::core {

bool ViewCommands::modelOnDataRefused() {
  // The data plot of these types shows quantities (in-phase and quadrature,
  // phase, voltages) on which a resistivity-depth model has no place.
  const DataTypeText& text = state_.current().S.header.dataType;
  const DataTypeTraits& type = traitsOf(text);
  if (type.family != Family::MaxMin && type.id != DataTypeId::Magnetotelluric &&
      type.family != Family::TimeDomainEm)
    return false;
  state_.toolkit().information(std::string(kModelOnDataRefusedMessage) + " " + text.trimmed());
  return true;
}

CommandResult ViewCommands::toggleView(ViewToggle toggle) {
  ViewSwitches& v = state_.view();
  switch (toggle) {
    case ViewToggle::Zoom:
      v.zoom = !v.zoom;
      return CommandStatus::Done;  // nothing drawn changes
    case ViewToggle::Layered:
      v.showLayered = !v.showLayered;
      break;
    case ViewToggle::Smooth:
      v.showSmooth = !v.showSmooth;
      break;
    case ViewToggle::Equivalence:
      v.showEquivalence = !v.showEquivalence;
      break;
    case ViewToggle::Bostick:
      v.showBostick = !v.showBostick;
      break;
    case ViewToggle::Niblett:
      v.showNiblett = !v.showNiblett;
      break;
    case ViewToggle::RedLine:
      v.redLine = !v.redLine;
      break;
    case ViewToggle::ModelOnData: {
      if (modelOnDataRefused()) return CommandStatus::Refused;
      state_.current().modelOnData = isSet(state_.current().modelOnData) ? kFalse : kTrue;
      state_.requestAutoscale();
      break;
    }
    case ViewToggle::Voltage:
      v.voltageView = !v.voltageView;
      v.linearTime = false;
      state_.requestAutoscale();
      break;
    case ViewToggle::LinearTime:
      // A linear time axis is drawn only under received voltages.
      v.linearTime = !v.linearTime;
      v.voltageView = true;
      state_.requestAutoscale();
      break;
    case ViewToggle::MajorGridData:
      v.majorGridData = !v.majorGridData;
      if (!v.majorGridData) v.minorGridData = false;
      break;
    case ViewToggle::MinorGridData:
      v.minorGridData = !v.minorGridData;
      if (v.minorGridData) v.majorGridData = true;
      break;
    case ViewToggle::MajorGridModel:
      v.majorGridModel = !v.majorGridModel;
      if (!v.majorGridModel) v.minorGridModel = false;
      break;
    case ViewToggle::MinorGridModel:
      v.minorGridModel = !v.minorGridModel;
      if (v.minorGridModel) v.majorGridModel = true;
      break;
  }
  state_.toolkit().requestRedraw();
  return CommandStatus::Done;
}

bool ViewCommands::viewChecked(ViewToggle toggle) const {
  const ViewSwitches& v = state_.view();
  switch (toggle) {
    case ViewToggle::Zoom:
      return v.zoom;
    case ViewToggle::Layered:
      return v.showLayered;
    case ViewToggle::Smooth:
      return v.showSmooth;
    case ViewToggle::Equivalence:
      return v.showEquivalence;
    case ViewToggle::Bostick:
      return v.showBostick;
    case ViewToggle::Niblett:
      return v.showNiblett;
    case ViewToggle::RedLine:
      return v.redLine;
    case ViewToggle::ModelOnData:
      return isSet(state_.current().modelOnData);
    case ViewToggle::Voltage:
      return v.voltageView;
    case ViewToggle::LinearTime:
      return v.linearTime;
    case ViewToggle::MajorGridData:
      return v.majorGridData;
    case ViewToggle::MinorGridData:
      return v.minorGridData;
    case ViewToggle::MajorGridModel:
      return v.majorGridModel;
    case ViewToggle::MinorGridModel:
      return v.minorGridModel;
  }
  return false;
}

void ViewCommands::unzoom() {
  state_.requestAutoscale();
  state_.toolkit().requestRedraw();
}

}  // namespace zeva::core
