#pragma once
// Example soundings of the electromagnetic, MT and TEM data types: a few
// readings of the kind a field crew brings back, their values computed from a
// reference earth, with a starting model for the user to fit.

#include "core/record/current_sounding.h"

namespace zeva::core {

// Fills `current` with the example of an MT, MaxMin, EM conductivity or TEM
// type (unsaved, name ending in "*"). False, with `current` unchanged, for any
// other type.
bool makeElectromagneticExample(const DataTypeText& type, CurrentSounding& current);

}  // namespace zeva::core
