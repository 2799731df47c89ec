#include "present/axis_titles.h"

#include "core/record/data_type.h"

namespace zeva::present {

const std::array<std::string_view, kAxisTitleCount>& defaultAxisTitles() {
  static constexpr std::array<std::string_view, kAxisTitleCount> titles{
      "Apparent Conductivity (mS/m)",
      "Conductivity (mS/m)",
      "Effective Penetration (m)",
      "n-Spacing",
      "Cumulative Resistance (ohm-m^2)",
      "Cumulative Conductance (Siemens)",
      "IP Effect",
      "IP Effect",
      "Height (m)",
      "In-Phase & Quadrature (%)",
      "Spacing (m)",
      "Phase (deg)",
      "Resistivity (ohm-m)",
      "Depth (m)",
      "Received Voltage (nv/A-m**2)",
      "Frequency (Hz)",
      "Period (sec)",
      "Time (ms)",
      "Apparent Resistivity (ohm-m)",
  };
  return titles;
}

AxisTitleTable::AxisTitleTable() {
  for (std::size_t i = 0; i < kAxisTitleCount; ++i) titles[i] = std::string(defaultAxisTitles()[i]);
}

DataPlotTitles dataPlotTitles(const core::DataTypeText& dataType, int graph, bool voltageView,
                              int maxMinMode) {
  namespace t = core::type;
  // Every MT type is plotted against frequency with its phase in graph 2, and
  // every TEM type against gate time.
  const bool mt = core::isMagnetotelluric(dataType);
  const bool maxMin = core::isMaxMin(dataType);
  const bool emConductivity = dataType == t::kEmConductivity;

  AxisTitle bottom = AxisTitle::Spacing;
  if (mt) {
    bottom = AxisTitle::Frequency;
  } else if (maxMin) {
    bottom = maxMinMode == static_cast<int>(MaxMinVariable::Height)    ? AxisTitle::Height
             : maxMinMode == static_cast<int>(MaxMinVariable::Spacing) ? AxisTitle::Spacing
                                                                       : AxisTitle::Frequency;
  } else if (emConductivity) {
    bottom = AxisTitle::EffectivePenetration;
  } else if (core::isTem(dataType)) {
    bottom = AxisTitle::Time;
  } else if (dataType == t::kDipoleDipole || dataType == t::kPoleDipole) {
    bottom = AxisTitle::NSpacing;
  }

  AxisTitle left = AxisTitle::ApparentResistivity;
  if (voltageView)
    left = AxisTitle::ReceivedVoltage;
  else if (maxMin)
    left = AxisTitle::InPhaseAndQuadrature;
  else if (emConductivity)
    left = AxisTitle::ApparentConductivity;
  else if (graph == 2)
    left = mt ? AxisTitle::Phase : AxisTitle::IpEffect;
  return {bottom, left};
}

}  // namespace zeva::present
