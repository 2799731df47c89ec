#pragma once
// The one calling convention of every forward model. A forward routine takes
// the sounding (the working instance S or the smooth instance SM), reads the
// data geometry and the layered model from it, and writes back:
//   - SVOLT, the synthetic value of every data value, masked ones included;
//   - the fit, RMS (layer-header word 1) and PCTERR (word 2);
//   - the synthetic-valid flag (LSYNTH) set, and the saved flag cleared.
// A model the routine refuses (a depths-flag model whose depths do not
// increase) gets RMS = PCTERR = 1.0E10 and SVOLT(i,1) = 1.0E20, with LSYNTH
// left as it was; callers treat it as a very bad fit and go on. A routine may
// rewrite non-physical model values in place (zero or negative resistivities
// and thicknesses become 10.0), so callers must not assume PAR unchanged.
// Routines keep no state between calls: their work blocks live in the call,
// so a routine may be called any number of times with a changed PAR, and
// independent soundings may be modelled at the same time.

#include <functional>

#include "core/sounding.h"

namespace zeva::forward {

using ForwardRoutine = std::function<void(core::Sounding&)>;

// Fit sentinels of the forward routines.
inline constexpr float kRefusedFit = 1.0e10f;        // RMS and PCTERR of a refused model
inline constexpr float kRefusedSynthetic = 1.0e20f;  // SVOLT(i,1) of a refused model
inline constexpr float kNotANumberFit = 1.0e20f;     // RMS and PCTERR after a NaN synthetic
inline constexpr float kMissingReading = 1.0e10f;    // observed values from here up are missing

}  // namespace zeva::forward
