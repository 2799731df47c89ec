#pragma once
// The MT impedance tensor of one frequency and the single curve a 1-D
// interpretation takes from it: the xy or yx element, the determinant
// invariant sqrt(Zxx Zyy - Zxy Zyx) (Ranganayaki 1984) or the sum-of-squares
// invariant sqrt((Zxx^2 + Zxy^2 + Zyx^2 + Zyy^2) / 2) (Szarka and Menvielle
// 1997). Both invariants are unchanged by a rotation of the axes and equal
// Zxy of a 1-D earth. Impedances are in field units, mV/km/nT, so that
// rho_a = 0.2 |Z|^2 / f ohm-m (Cagniard).

#include <array>
#include <complex>
#include <optional>

namespace zeva::files {

using Complex = std::complex<double>;

// Which curve of the tensor a sounding takes.
enum class MtMode { Xy, Yx, Determinant, SumOfSquares };

struct ImpedanceTensor {
  // xx, xy, yx, yy
  std::array<Complex, 4> Z{};
  // Variances E|dZ|^2 of the four elements; empty when unknown.
  std::array<std::optional<double>, 4> variance{};
};

// The tensor in axes turned clockwise (x towards y) by `degrees`:
// Z' = R Z R^T with R = [[cos, sin], [-sin, cos]]; variances follow for
// independent element errors.
ImpedanceTensor rotated(const ImpedanceTensor& tensor, double degrees);

// The chosen curve's impedance with its variance (when every element it
// depends on has one).
struct ModeImpedance {
  Complex Z;
  std::optional<double> variance;
};
ModeImpedance modeImpedance(const ImpedanceTensor& tensor, MtMode mode);

// Apparent resistivity (ohm-m) and phase (degrees) with their errors (0 when
// unknown) of a mode impedance at frequency `hertz`. The yx element lies in
// the third quadrant and is shown in the first, as the xy curve.
struct ApparentResistivity {
  double rho = 0.0, phase = 0.0, rhoError = 0.0, phaseError = 0.0;
};
ApparentResistivity apparentResistivity(const ModeImpedance& z, double hertz, MtMode mode);

}  // namespace zeva::files
