#pragma once
// From the step-off response to what a receiver records in a gate: the
// linear turn-off ramp, the bipolar repetition of the transmitter and the
// average over the gate's width. All times in seconds, measured from the end
// of the ramp of the current half cycle.
//
// The current of base frequency f is a bipolar square wave: each half cycle
// switches on instantaneously a quarter period before the end of its turn-off
// ramp and stays off for a quarter period; successive half cycles alternate
// in sign. For f <= 0 there is a single switch-off after a long on-time.
// A ramp of length R turns the step response e into its average over
// [t, t + R]; a switch-on at -tau adds -e(t + tau). Double precision: the
// response of a half cycle is a difference of nearly equal parts at late
// time.

#include <functional>
#include <utility>

namespace zeva::forward {

struct Waveform {
  double ramp = 0.0;           // turn-off ramp, s
  double baseFrequency = 0.0;  // Hz; 0 or less: a single switch-off
};

struct Gate {
  double centre = 0.0;  // s after the end of the ramp
  double width = 0.0;   // s; 0: a sample
};

// The times (first, last) at which the gates of `waveform` need the step
// response; first > 0 when every gate lies after the ramp's end.
std::pair<double, double> stepResponseSpan(const Gate& gate, const Waveform& waveform);

// The recorded response of a gate, in the units of the step response e.
double gateResponse(const std::function<double(double)>& e, const Gate& gate,
                    const Waveform& waveform);

}  // namespace zeva::forward
