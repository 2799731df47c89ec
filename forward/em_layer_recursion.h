#pragma once
// The layered-earth reflection shared by the two-coil EM routines (MaxMin and
// EM conductivity), in the wavenumber g normalised by the skin depth delta of
// the top layer: u_j = sqrt(g^2 + 2i c_j) with c_j the conductivity of layer
// j relative to layer 1, thicknesses scaled by 2/delta, and the admittance
// ratio Y carried from the bottom layer up (Ward and Hohmann, 1988, the TE
// recursion written for the ratio of layer admittances, carried as its change
// Y - 1 so that a faint layering keeps its digits). Also the closed
// forms of the homogeneous half-space (Wait, 1982).

#include <complex>
#include <span>
#include <vector>

#include "core/record/sounding.h"

namespace zeva::forward {

using ComplexF = std::complex<float>;

// Work arrays of one call, sized by NLAYER.
class EmLayerRecursion {
 public:
  // Sizes the arrays for nlayer layers; false when the memory cannot be had.
  bool allocate(int nlayer);

  // What the layer values of a model are.
  enum class LayerValues { Resistivity, Conductivity };
  // Sizes the arrays for the layered model of S and fills the relative
  // conductivities (never below 1.0E-5) and thicknesses; false when the
  // memory cannot be had.
  bool setModel(core::Sounding& S, LayerValues values);

  // Relative conductivities c_j (j = 0..NLAYER-1) and thicknesses t_j in
  // metres (j = 0..NLAYER-2), filled by the routine.
  std::vector<float> relativeConductivity;
  std::vector<float> thickness;

  // Scales the thicknesses by 2/delta for a reading and takes up the
  // relative conductivities: call it before the kernels of each reading.
  void scaleThicknesses(float twoOverSkinDepth);

  // The change of the TE reflection coefficient from the half-space of layer
  // 1 to the layered earth, over -g: D(g) = 2 u1 (Y - 1) / ((g + u1)(g + Y u1)).
  ComplexF reflectionChange(float g);

  // The whole TE reflection, with the sign of the elevated kernels:
  // (Y u1 - g) / (g + Y u1).
  ComplexF reflection(float g);

  // reflection(g[k]) into out[k] for every k (out as long as g), the
  // wavenumbers side by side in the lanes of the vector unit.
  void reflections(std::span<const float> g, std::span<ComplexF> out);

 private:
  // u_1 and the change V = Y - 1 of the admittance ratio at the top for
  // normalised wavenumber g. A layer above the bottom whose |Re(u_j t'_j)|
  // reaches 21 hides what lies below it; the recursion starts at the deepest
  // such layer as a half-space (V = 0).
  void topChange(float g, ComplexF& u1, ComplexF& V);
  // Fills u_j, u_{j+1} + u_j and u_{j+1} - u_j for wavenumber g.
  void wavenumbers(float g);

  static constexpr int kQuad = 4;  // layers whose roots are formed side by side
  std::vector<float> scaled_;      // t'_j, padded as those below
  // By layer, padded to whole quads: b_j = 2 c_j, and the real and imaginary
  // parts of u_j, u_{j+1} + u_j, u_{j+1} - u_j and e_j = exp(-u_j t'_j).
  std::vector<float> twoC_, uRe_, uIm_, sumRe_, sumIm_, differenceRe_, differenceIm_, eRe_, eIm_;
};

// Coplanar and perpendicular responses of a homogeneous half-space for the
// induction number x = omega mu0 sigma s^2 (total field over free-space
// field), in double precision, with their series for small x where the
// closed forms lose every digit to cancellation.
std::complex<double> horizontalCoplanarHalfSpace(double x);  // HCP0
std::complex<double> verticalCoplanarHalfSpace(double x);    // VCP0

}  // namespace zeva::forward
