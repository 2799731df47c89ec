#pragma once
// The frequency-domain response of a loop functional (a field component or
// the loop's own flux, per ampere of a one-turn loop) over a layered earth,
// tabulated in log frequency for the transform to time. Quasi-static fields,
// time dependence exp(i omega t).
//
// Precision: the reflection kernel r_TE comes from the layer recursion in
// single precision (a smooth function, good to about 1.0E-6, which is all
// the model needs); the sum over the kernel grid, the table and its
// interpolation are double: the transform to time cancels the constant
// high-frequency limit of Re B (minus the primary field, which gives nothing
// after the switch-off) against itself, and at early time what is left can
// be a small part of it.

#include <cmath>
#include <complex>

#include "forward/em_layer_recursion.h"
#include "forward/log_grid_table.h"
#include "forward/tem_kernel_grid.h"

namespace zeva::forward {

inline constexpr double kMu0 = 4.0e-7 * 3.14159265358979323846;

// For step responses from tFirst to tLast the table reaches from
// kLowestFrequencyTimes / tLast to kHighestFrequencyTimes / tFirst; beyond
// it the asymptotic forms of the response carry the cosine filter's outer
// points (a decade further either way changes no transient by 1.0E-4).
inline constexpr double kLowestFrequencyTimes = 1.0e-2;
inline constexpr double kHighestFrequencyTimes = 1.0e4;

// Re B(omega) split for the transform to time. Re B tends to a constant A
// at high frequency (r_TE = -1: the secondary field cancels the primary),
// and a constant is what the cosine filter cancels worst against the small
// late-time response. So A is taken off as the spectrum of a causal function
// whose transform is known in closed form,
//   F0 = i omega / (i omega + wc),  Re F0 = omega^2 / (omega^2 + wc^2),
//   (2/pi) int Re F0 cos(omega t) domega = -wc exp(-wc t)  (t > 0),
// and the table holds the remainder g = Re B - A Re F0, which decays at both
// ends. wc is the frequency at which the skin depth of layer 1 equals the
// loop's size. The filter then holds the transient to 1.0E-3 or better up to
// some 2.0E4 diffusion times mu0 sigma1 size^2 after the switch-off; beyond
// that the filter's highest points, which still see the transition of the
// response, limit it (1 % at 1.0E5).
class FrequencyResponse {
 public:
  // Tabulates g(omega) from omegaLow to omegaHigh (rad/s).
  FrequencyResponse(EmLayerRecursion& layers, float topResistivity, const KernelGrid& grid,
                    double omegaLow, double omegaHigh);

  // g(omega). The table holds g / n, n = omega^(3/2) / (1 + (omega / wc)^2),
  // which is flat at both ends: below the table it follows a + b sqrt(omega)
  // through the two lowest values (a layered earth on a half-space has no
  // term linear in omega in Re B), above it A' + C / sqrt(omega) through the
  // two highest (Re B - A falls as 1 / sqrt(omega) or faster).
  double remainder(double omega) const;

  // A (2/pi) int Re F0 cos(omega t) domega, the transient of what was taken off.
  double removedTransient(double t) const {
    return -limit_ * crossover_ * std::exp(-crossover_ * t);
  }

 private:
  double normaliser(double omega) const {
    const double x = omega / crossover_;
    return omega * std::sqrt(omega) / (1.0 + x * x);
  }

  LogGridTable table_;
  double limit_ = 0.0, crossover_ = 1.0;
  double lowA_ = 0.0, lowB_ = 0.0, highA_ = 0.0, highC_ = 0.0;
};

}  // namespace zeva::forward
