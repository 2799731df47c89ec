#pragma once
// Example soundings of the DC resistivity arrays: readings of the spacings a
// field crew would take with that array, their apparent resistivities computed
// from a reference three-layer earth (a conductive layer between a resistive
// cover and a resistive basement), with a uniform starting model to fit.

#include "core/record/current_sounding.h"

namespace zeva::core {

// Fills `current` with the example of "Wenner Array", "Dipole-Dipole Array",
// "Pole-Dipole Array", "Pole-Pole Array", "Polar Dipole Array" or
// "Perpendicular Array" (unsaved, name ending in "*"). False, with `current`
// unchanged, for any other type.
bool makeDcResistivityExample(const DataTypeText& type, CurrentSounding& current);

}  // namespace zeva::core
