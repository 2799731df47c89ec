#pragma once
// The step-off response e(t) = -dB/dt (T/s per ampere of a one-turn loop
// switched off at t = 0 after a long on-time): the impulse response of the
// field, from the frequency response by the cosine transform
//   e(t) = (2/pi) int_0^inf Re B(omega) cos(omega t) domega
// on Key's 201-point cosine filter, applied to the decaying remainder g of
// the frequency response and the closed-form transform of the rest. The
// cosine transform of Re B, rather than the sine transform of Im B, because
// Re B has no term linear in omega at low frequency, which the sine filter
// would not cancel well enough against the late-time response. The
// times of the table are spaced by the filter's own step, so all of them
// share one set of frequencies (a lagged convolution). Double precision: the
// filter sum cancels most of its terms.

#include "forward/log_grid_table.h"
#include "forward/tem_frequency_response.h"

namespace zeva::forward {

class StepResponse {
 public:
  // The response tabulated from tFirst to tLast (s, 0 < tFirst < tLast).
  StepResponse(const FrequencyResponse& response, double tFirst, double tLast);

  // e(t) for t within the table, by interpolation of e t^(5/2) (flat at late
  // time) in log t.
  double operator()(double t) const { return scaled_.atLn(std::log(t)) / (t * t * std::sqrt(t)); }

 private:
  LogGridTable scaled_;
};

}  // namespace zeva::forward
