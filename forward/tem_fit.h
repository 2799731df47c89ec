#pragma once
// The fit of transient synthetics to the gate voltages: the misfit of a gate
// is the difference of the logarithms (log10) of the voltage magnitudes, so
// that early and late gates, decades apart, count alike; the sign is kept
// apart from the logarithm, and a gate whose sign disagrees with the model
// counts as a large misfit instead of having no logarithm at all.

#include <vector>

#include "core/record/sounding.h"

namespace zeva::forward {

// Added (in decades) to the misfit of a gate of the wrong sign.
inline constexpr float kSignMisfit = 2.0f;

// log10 |synthetic / observed|, plus kSignMisfit in magnitude when the signs
// disagree (a zero synthetic disagrees with every non-zero observation).
// The observed value must not be zero.
float transientMisfit(float synthetic, float observed);

// RMS (log10), PCTERR (per cent) and, with error weighting on, the weighted
// fit (each misfit over log10(1 + UVOLTS / |observed|)) of the gates marked
// in `modelled`, column 1; masked gates, missing observations (1.0E10 and
// above) and zero observations do not count. Sets the synthetic-valid flag
// and clears the saved flag.
void fitTransient(core::Sounding& S, const std::vector<bool>& modelled);

}  // namespace zeva::forward
