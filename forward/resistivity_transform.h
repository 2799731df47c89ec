#pragma once
// The resistivity transform of a horizontally layered earth (Pekeris; in the
// form used for digital-filter sounding curves by Koefoed, 1979, "Geosounding
// Principles 1"). T(lambda) is the kernel of the surface potential of a point
// current source,
//   V(r) = I / (2 pi) * integral_0^inf T(lambda) J0(lambda r) dlambda,
// built from the half-space upward by the recurrence
//   T <- rho_j (1 - k e) / (1 + k e),  k = (rho_j - T) / (rho_j + T),
//   e = exp(-2 lambda h_j).
// Single precision, as every forward model of the program.

#include <vector>

#include "core/sounding.h"

namespace zeva::forward {

// The work copy of a layered model that the kernels read: resistivities in
// ohm-m from the top down (the last is the half-space) and the thicknesses of
// the layers above it in the sounding's length unit.
struct LayeredEarth {
  std::vector<float> resistivity;
  std::vector<float> thickness;
};

// What the forward routines make of the model in a sounding.
enum class EarthStatus {
  Ready,         // the work copy is filled
  NoModel,       // fewer than one layer, or PAR shorter than the model header says
  DepthsRefused  // depths flag set and the depths do not increase strictly
};

// Fills `earth` from the model of S. Zero or negative resistivities and
// thicknesses (or depths) are replaced by 10.0 both in the work copy and in
// PAR itself. With the depths flag set and three or more layers, the depths
// must increase strictly (checked before and after that replacement);
// otherwise the model is refused and `earth` is left empty.
EarthStatus prepareLayeredEarth(core::Sounding& S, LayeredEarth& earth);

// T(lambda) for lambda in 1/length. The exponential is skipped where
// |2 lambda h| >= 21, beyond which it no longer changes a float result.
float resistivityTransform(const LayeredEarth& earth, float lambda);

}  // namespace zeva::forward
