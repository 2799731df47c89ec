#include "files/mt_impedance.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zeva::files {

namespace {

constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;
enum { XX, XY, YX, YY };

// Variance of sum_k c_k Z_k for independent element errors; empty when an
// element with a non-zero weight has none.
std::optional<double> combinedVariance(const ImpedanceTensor& t, const std::array<double, 4>& w) {
  double sum = 0.0;
  for (int k = 0; k < 4; ++k) {
    if (w[k] == 0.0) continue;
    if (!t.variance[k]) return std::nullopt;
    sum += w[k] * *t.variance[k];
  }
  return sum;
}

}  // namespace

ImpedanceTensor rotated(const ImpedanceTensor& t, double degrees) {
  const double a = degrees / kDegreesPerRadian;
  const double c = std::cos(a), s = std::sin(a);
  const Complex xx = t.Z[XX], xy = t.Z[XY], yx = t.Z[YX], yy = t.Z[YY];
  ImpedanceTensor r;
  r.Z[XX] = c * c * xx + c * s * (xy + yx) + s * s * yy;
  r.Z[XY] = c * c * xy - s * s * yx + c * s * (yy - xx);
  r.Z[YX] = c * c * yx - s * s * xy + c * s * (yy - xx);
  r.Z[YY] = s * s * xx - c * s * (xy + yx) + c * c * yy;
  // Each new element is a real combination of the old ones; squared weights
  // carry the variances.
  const double cc = c * c, ss = s * s, cs = c * s;
  const std::array<std::array<double, 4>, 4> weights{
      {{cc, cs, cs, ss}, {-cs, cc, -ss, cs}, {-cs, -ss, cc, cs}, {ss, -cs, -cs, cc}}};
  for (int k = 0; k < 4; ++k) {
    std::array<double, 4> w{};
    for (int m = 0; m < 4; ++m) w[m] = weights[k][m] * weights[k][m];
    r.variance[k] = combinedVariance(t, w);
  }
  return r;
}

ModeImpedance modeImpedance(const ImpedanceTensor& t, MtMode mode) {
  switch (mode) {
    case MtMode::Xy:
      return {t.Z[XY], t.variance[XY]};
    case MtMode::Yx:
      return {t.Z[YX], t.variance[YX]};
    case MtMode::Determinant: {
      // d(sqrt(D)) = dD / (2 sqrt(D)), D = Zxx Zyy - Zxy Zyx.
      const Complex z = std::sqrt(t.Z[XX] * t.Z[YY] - t.Z[XY] * t.Z[YX]);
      const double scale = 4.0 * std::norm(z);
      if (scale == 0.0) return {z, std::nullopt};
      const std::array<double, 4> w{std::norm(t.Z[YY]) / scale, std::norm(t.Z[YX]) / scale,
                                    std::norm(t.Z[XY]) / scale, std::norm(t.Z[XX]) / scale};
      return {z, combinedVariance(t, w)};
    }
    case MtMode::SumOfSquares: {
      // d(sqrt(Q / 2)) = sum Z_k dZ_k / (2 sqrt(Q / 2)), Q = sum Z_k^2.
      Complex q = 0.0;
      for (const Complex& e : t.Z) q += e * e;
      const Complex z = std::sqrt(q / 2.0);
      const double scale = 4.0 * std::norm(z);
      if (scale == 0.0) return {z, std::nullopt};
      std::array<double, 4> w{};
      for (int k = 0; k < 4; ++k) w[k] = std::norm(t.Z[k]) / scale;
      return {z, combinedVariance(t, w)};
    }
  }
  return {};
}

ApparentResistivity apparentResistivity(const ModeImpedance& z, double hertz, MtMode mode) {
  ApparentResistivity out;
  const double z2 = std::norm(z.Z);
  out.rho = 0.2 * z2 / hertz;
  const Complex shown = mode == MtMode::Yx ? -z.Z : z.Z;
  out.phase = std::atan2(shown.imag(), shown.real()) * kDegreesPerRadian;
  if (z.variance && *z.variance > 0.0 && z2 > 0.0) {
    const double relative = std::sqrt(*z.variance / z2);  // |dZ| / |Z|
    out.rhoError = 2.0 * relative * out.rho;
    out.phaseError = std::min(relative, 1.0) * kDegreesPerRadian;
  }
  return out;
}

}  // namespace zeva::files
