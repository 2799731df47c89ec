#pragma once
// Schlumberger segments: the readings of a sounding are taken in segments, the
// potential electrodes being moved apart from time to time, and a new segment
// repeats one or more current-electrode spacings AB/2 of the one before at a
// different level. SHIFTP finds the breaks and the factor between consecutive
// segments from the repeated spacings; ApplySegmentShifts applies the factors
// to the observed data (joining the curve) or to the synthetics (so that the
// model curve shows the steps of the raw data).

#include <string_view>

#include "core/record/sounding.h"

namespace zeva::inversion {

inline constexpr int kMaxSegmentBreaks = 10;
inline constexpr std::string_view kShiftAllocationMessage = "CANNOT ALLOCATE ARRAYS IN SHIFTP";

// False if either is not a number; equal within one part in a million
// (magnitude below 1.0E-6 when the other is 0).
bool NearlyEqual(float a, float b);

// Recomputes NSHIFT and the SHIFTS arrays from the data (Schlumberger only).
// Returns false when the arrays cannot be allocated; the caller shows
// kShiftAllocationMessage.
bool SHIFTP(core::Sounding& S);

// observed: divide the observed data by the factors and join the segments,
// dropping the overlapping earlier readings, then NSHIFT = 0; otherwise
// multiply the synthetics by the factors. cumulative: bring the result to the
// level of the first segment instead of the last.
void ApplySegmentShifts(core::Sounding& S, bool observed, bool cumulative);

}  // namespace zeva::inversion
