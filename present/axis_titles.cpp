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
  const core::DataTypeTraits& type = core::traitsOf(dataType);
  AxisTitle bottom = AxisTitle::Spacing;
  switch (type.abscissa) {
    case core::Abscissa::Spacing:
      break;
    case core::Abscissa::SeparationFactor:
      bottom = AxisTitle::NSpacing;
      break;
    case core::Abscissa::MaxMinVariable:
      bottom = maxMinMode == static_cast<int>(MaxMinVariable::Height)    ? AxisTitle::Height
               : maxMinMode == static_cast<int>(MaxMinVariable::Spacing) ? AxisTitle::Spacing
                                                                         : AxisTitle::Frequency;
      break;
    case core::Abscissa::PenetrationDepth:
      bottom = AxisTitle::EffectivePenetration;
      break;
    case core::Abscissa::Frequency:
      bottom = AxisTitle::Frequency;
      break;
    case core::Abscissa::GateTime:
      bottom = AxisTitle::Time;
      break;
  }

  AxisTitle left = AxisTitle::ApparentResistivity;
  if (voltageView)
    left = AxisTitle::ReceivedVoltage;
  else if (type.values == core::DataValues::InPhaseQuadrature)
    left = AxisTitle::InPhaseAndQuadrature;
  else if (type.values == core::DataValues::ApparentConductivity)
    left = AxisTitle::ApparentConductivity;
  else if (graph == 2)
    // Every MT type has its phase in graph 2.
    left = type.values == core::DataValues::ResistivityAndPhase ? AxisTitle::Phase
                                                                : AxisTitle::IpEffect;
  return {bottom, left};
}

}  // namespace zeva::present
