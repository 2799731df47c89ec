#pragma once
// The TE reflection of the layer recursion for many wavenumbers at once:
// the transient model evaluates it over a whole grid of wavenumbers per
// frequency, so the lanes of the vector unit take one wavenumber each and
// the layers are walked once for all of them. The arithmetic is that of
// EmLayerRecursion::reflection, lane by lane.

#include <cstddef>

namespace zeva::forward {

// Wavenumbers per call.
inline constexpr std::size_t kReflectionLanes = 16;

// The layers as EmLayerRecursion holds them for one reading: b_j = 2 c_j of
// `count` layers and the scaled thicknesses t'_j of the upper count - 1.
struct ScaledLayers {
  const float* twoC = nullptr;
  const float* thickness = nullptr;
  std::size_t count = 0;
};

// (Y u1 - g) / (g + Y u1) for the kReflectionLanes normalised wavenumbers g
// (each below 1.0E9, where g^4 stays within single precision), real and
// imaginary parts into re and im.
void reflectionLanes(const ScaledLayers& layers, const float* g, float* re, float* im);

}  // namespace zeva::forward
