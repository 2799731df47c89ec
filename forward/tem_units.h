#pragma once
// The stored voltage units of transient soundings and the factors that turn
// the modelled response into them. The model gives, per ampere of a one-turn
// transmitter, e = -dB/dt (T/s) of the receiver's field component, or for
// the coincident loop V1, the voltage induced in the loop by its own current.

#include <optional>
#include <string>

#include "core/record/record_headers.h"

namespace zeva::forward {

// The acquisition settings of one sweep that the units take.
struct SweepScale {
  double current = 1.0;       // I, A
  double turns = 1.0;         // N of the transmitter
  double receiverArea = 1.0;  // A, m^2
  double loopSide = 0.0;      // L of the coincident loop, m
};

// The factor from e (or V1 when `coincident`) to the stored unit `unit`:
//   "(uV/Amp)"     1.0E6 N A e     coincident: 1.0E6 N^2 V1
//   "(nV/A-m^2)"   1.0E9 N e       coincident: 1.0E9 N^2 V1 / L^2
//   "(uV/m^2)"     1.0E6 I N e
//   "(nT/sec)"     1.0E9 I N e
//   "V/Amp"        coincident only: N^2 V1
// The dialog's "uV/Amp" and "nV/Am**2" and the example soundings' "(uV/A)"
// and "(nV/m^2)" (a voltage per square metre, which is -dB/dt in nT/s) are
// the same units. Nothing for any other text.
std::optional<double> voltageScale(const core::UnitText& unit, bool coincident,
                                   const SweepScale& sweep);

// The message of a unit the model cannot produce, naming it.
std::string unitRefusal(const core::UnitText& unit);

}  // namespace zeva::forward
