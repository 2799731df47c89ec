#pragma once
// Reading the layered model of a sounding the way the electromagnetic and MT
// forward routines need it: the depth-order check that refuses a model, the
// refused-model sentinels, the thickness of each layer from thicknesses or
// bottom depths, and the guard against a record whose arrays do not hold
// what its counts promise.

#include "core/record/sounding.h"
#include "forward/forward_routine.h"

namespace zeva::forward {

inline constexpr float kReplacementValue = 10.0f;  // for non-physical model values

// True when the model and data arrays hold at least what NLAYER, NPK, NDATA
// and NCOMP promise, with `geometryColumns` abscissa columns and
// `dataColumns` columns of observed and synthetic values.
bool arraysHoldCounts(const core::Sounding& S, int geometryColumns, int dataColumns);

// With the depths flag set and NLAYER >= 3 the bottom depths must increase
// strictly, and each must be at least `minimumDepth`. Models in thickness
// form always pass.
bool depthsIncrease(const core::Sounding& S, float minimumDepth);

// A refused model: RMS and PCTERR 1.0E10, SVOLT(i,1) = 1.0E20 for every
// reading; the synthetic-valid flag is left as it was.
void markModelRefused(core::Sounding& S);

// Thickness of layer j (zero-based, j < NLAYER - 1): the thickness parameter,
// or in depth mode the difference of bottom depths (the first depth itself).
// A parameter that is zero or negative is replaced by 10.0 in PAR.
float layerThickness(core::Sounding& S, int j);

// Resistivity (or conductivity) of layer j; zero or negative becomes 10.0 in PAR.
float layerValue(core::Sounding& S, int j);

}  // namespace zeva::forward
