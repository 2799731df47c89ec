#pragma once
// The resistivity transform of a horizontally layered earth (Pekeris; in the
// form used for digital-filter sounding curves by Koefoed, 1979, "Geosounding
// Principles 1"). T(lambda) is the kernel of the surface potential of a point
// current source,
//   V(r) = I / (2 pi) * integral_0^inf T(lambda) J0(lambda r) dlambda,
// built from the half-space upward by the recurrence
//   T <- rho_j (1 - k e) / (1 + k e),  k = (rho_j - T) / (rho_j + T),
//   e = exp(-2 lambda h_j).
// It is evaluated here in its reflection form: with the interface reflection
// r_j = (rho_j - rho_(j+1)) / (rho_j + rho_(j+1)) of the model, the k of the
// layer above follows from the k below as
//   k_(j-1) = (r_(j-1) + k_j e_j) / (1 + r_(j-1) k_j e_j),
// one division per layer, and T = rho_1 (1 - k_1 e_1) / (1 + k_1 e_1) at the
// top. The transforms of a batch of abscissae are formed side by side, so
// that the exponentials and divisions of a layer go through the vector unit
// together. Single precision, as every forward model of the program.

#include <cstddef>
#include <vector>

#include "core/record/sounding.h"

namespace zeva::forward {

// Abscissae transformed side by side by resistivityTransforms.
inline constexpr std::size_t kTransformLanes = 16;

// The work copy of a layered model that the kernels read: resistivities in
// ohm-m from the top down (the last is the half-space) and the thicknesses of
// the layers above it in the sounding's length unit, with the interface
// reflections and the exponent factors -2 h_j derived from them.
struct LayeredEarth {
  std::vector<float> resistivity;
  std::vector<float> thickness;
  std::vector<float> reflection;     // r_j, j = 0..NLAYER-2
  std::vector<float> exponentScale;  // -2 h_j

  // Derives the reflections and exponent factors from the resistivities
  // and thicknesses.
  void deriveReflections();
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

// T(lambda[k]) into T[k] for k < count (at most kTransformLanes), lambda in
// 1/length. The exponential is skipped (e = 0) where 2 lambda h >= 21,
// beyond which it no longer changes a float result.
void resistivityTransforms(const LayeredEarth& earth, const float* lambda, float* T,
                           std::size_t count);

}  // namespace zeva::forward
