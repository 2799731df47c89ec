#pragma once
// The unit conversions of USF files, shared by the reader and the writer.
// Each stored value is made from the number in the file in double precision
// and rounded to the stored single precision once; the writer writes the
// shortest number that this conversion turns back into the stored value, so
// values survive any number of export and import cycles unchanged.

#include <array>
#include <string_view>

#include "core/record/reader_limits.h"

namespace zeva::files::usf {

// TEM voltage units: the file text, the stored unit text, and the factor
// that turns a file value into a stored value.
struct VoltageUnit {
  std::string_view fileText;
  std::string_view storedText;
  double factor;
};
inline constexpr std::array kVoltageUnits{
    VoltageUnit{"V/AMP", "(uV/Amp)", 1.0e6}, VoltageUnit{"V/AM2", "(nV/A-m^2)", 1.0e9},
    VoltageUnit{"V/M2", "(uV/m^2)", 1.0e6}, VoltageUnit{"T/SEC", "(nT/sec)", 1.0e9}};

// RAMP_TIME is in seconds in the file and in microseconds in the record.
inline constexpr double kRampFactor = 1.0e6;

// A TEM gate time in the file is in seconds after the sweep's TIME_DELAY
// (seconds); the record holds the time in milliseconds with the delay added.
inline double storedTime(double fileSeconds, float delay) {
  return (fileSeconds + static_cast<double>(delay)) * 1000.0;
}
inline double fileTime(float storedMilliseconds, float delay) {
  return static_cast<double>(storedMilliseconds) / 1000.0 - static_cast<double>(delay);
}

using core::limits::singlePrecision;

}  // namespace zeva::files::usf
