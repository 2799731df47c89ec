#pragma once
// What every harness checks of a record a reader accepted: the counts of the
// headers equal the sizes of the arrays, every stored value is finite, and
// the record saved as a native file opens again to the same bytes. A failed
// check prints what failed and aborts, which libFuzzer and the replay test
// both report as a finding.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/record/sounding.h"

namespace zeva::fuzz {

// Aborts with `what` unless `holds`.
void require(bool holds, std::string_view what);

// Counts and array sizes of the data and the model agree.
void requireConsistent(const core::Sounding& sounding);
// Every value of the data arrays (and of the model, with `model`) is finite.
void requireFiniteData(const core::Sounding& sounding);
void requireFinite(std::span<const float> values, std::string_view what);

// Every reading means something: the spacing, time or frequency of DC
// resistivity, TEM and MT readings is positive, so is a DC or MT apparent
// resistivity, and the phase of MT data in degrees lies within half a turn.
void requireMeaningfulReadings(const core::Sounding& sounding);

// The sounding as the current sounding, saved as a native file: the file
// reads back completely, without a message, and saves again to the same bytes.
void requireNativeRoundTrip(const core::Sounding& sounding);

// The input written to a file of this process's own (for the readers that
// take a path); the same path on every call.
std::string writeInputFile(std::span<const std::uint8_t> input, std::string_view extension);

}  // namespace zeva::fuzz
