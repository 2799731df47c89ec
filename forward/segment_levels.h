#pragma once
// The levels of Schlumberger segments as the synthetics show them: the
// factors found between segments (stored in the data record) multiply the
// synthetics, so that the model curve shows the steps of the raw data.

#include "core/record/sounding.h"

namespace zeva::forward {

// Readings that every array involved actually holds; NDATA of a damaged
// record may exceed them.
int segmentReadingCount(const core::Sounding& S);

// Multiplies the synthetics before each break by its factor (Schlumberger
// only). cumulative: bring the result to the level of the first segment
// instead of the last.
void applySegmentLevelsToSynthetics(core::Sounding& S, bool cumulative);

}  // namespace zeva::forward
