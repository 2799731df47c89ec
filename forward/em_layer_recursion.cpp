#include "forward/em_layer_recursion.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "forward/model_layers.h"

namespace zeva::forward {

namespace {

constexpr float kMinimumRelativeConductivity = 1.0e-5f;
constexpr float kHiddenBelow = 21.0f;  // e^-21: what lies below no longer counts
// Below this |gamma| the closed forms are replaced by their series; the
// omitted ninth-order terms are then below 1.0E-14.
constexpr double kSeriesBelow = 0.03;
// No layered model comes near this; a count beyond it is a damaged record.
constexpr int kMaxLayers = 1 << 20;

// sqrt(a + ib) for a >= 0, b >= 0, the vertical wavenumbers' argument: with
// no cancellation to guard against, the root is formed directly; double
// precision keeps a = g^2 of the far filter points from overflowing.
ComplexF wavenumberRoot(double a, double b) {
  const double re = std::sqrt((std::sqrt(a * a + b * b) + a) / 2.0);
  return {static_cast<float>(re), re > 0.0 ? static_cast<float>(b / (2.0 * re)) : 0.0f};
}

}  // namespace

bool EmLayerRecursion::allocate(int nlayer) {
  if (nlayer < 1 || nlayer > kMaxLayers) return false;
  try {
    const auto n = static_cast<std::size_t>(nlayer);
    const std::size_t boundaries = n > 0 ? n - 1 : 0;
    relativeConductivity.assign(n, 1.0f);
    thickness.assign(boundaries, 0.0f);
    scaled_.assign(boundaries, 0.0f);
    u_.assign(n, ComplexF{});
    ut_.assign(boundaries, ComplexF{});
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool EmLayerRecursion::setModel(core::Sounding& S, LayerValues values) {
  const int nlayer = S.NLAYER();
  if (!allocate(nlayer)) return false;
  const float top = layerValue(S, 0);
  for (int j = 0; j < nlayer; ++j) {
    const float value = layerValue(S, j);
    relativeConductivity[static_cast<std::size_t>(j)] =
        std::max(kMinimumRelativeConductivity,
                 values == LayerValues::Conductivity ? value / top : top / value);
  }
  for (int j = 0; j + 1 < nlayer; ++j)
    thickness[static_cast<std::size_t>(j)] = layerThickness(S, j);
  return true;
}

void EmLayerRecursion::scaleThicknesses(float twoOverSkinDepth) {
  for (std::size_t j = 0; j < thickness.size(); ++j) scaled_[j] = thickness[j] * twoOverSkinDepth;
}

void EmLayerRecursion::topAdmittance(float g, ComplexF& u1, ComplexF& Y) {
  const std::size_t n = u_.size();
  const double g2 = double(g) * double(g);
  for (std::size_t j = 0; j < n; ++j)
    u_[j] = wavenumberRoot(g2, 2.0 * double(relativeConductivity[j]));
  std::size_t start = n - 1;
  for (std::size_t j = n - 1; j-- > 0;) {
    ut_[j] = u_[j] * scaled_[j];
    if (std::fabs(ut_[j].real()) >= kHiddenBelow && start == n - 1) start = j;
  }
  Y = 1.0f;
  for (std::size_t j = start; j-- > 0;) {
    const float decay = std::exp(-ut_[j].real());
    const ComplexF e(decay * std::cos(ut_[j].imag()), -decay * std::sin(ut_[j].imag()));
    const ComplexF t = (1.0f - e) / (1.0f + e);
    Y = (u_[j + 1] * Y + u_[j] * t) / (u_[j] + u_[j + 1] * Y * t);
  }
  u1 = u_[0];
}

ComplexF EmLayerRecursion::reflectionChange(float g) {
  ComplexF u1, Y;
  topAdmittance(g, u1, Y);
  return 2.0f * u1 * (Y - 1.0f) / ((g + u1) * (g + Y * u1));
}

ComplexF EmLayerRecursion::reflection(float g) {
  ComplexF u1, Y;
  topAdmittance(g, u1, Y);
  return (Y * u1 - g) / (g + Y * u1);
}

std::complex<double> horizontalCoplanarHalfSpace(double x) {
  using C = std::complex<double>;
  const C gamma = std::sqrt(C(0.0, x));
  if (std::abs(gamma) < kSeriesBelow) {
    const C g = gamma;
    return 1.0 +
           g * g *
               (1.0 / 4 +
                g * (-4.0 / 15 +
                     g * (1.0 / 8 + g * (-4.0 / 105 +
                                         g * (5.0 / 576 + g * (-1.0 / 630 + g * (7.0 / 28800)))))));
  }
  const C g2 = gamma * gamma;
  return (2.0 / g2) * (9.0 - (9.0 + 9.0 * gamma + 4.0 * g2 + g2 * gamma) * std::exp(-gamma));
}

std::complex<double> verticalCoplanarHalfSpace(double x) {
  using C = std::complex<double>;
  const C gamma = std::sqrt(C(0.0, x));
  if (std::abs(gamma) < kSeriesBelow) {
    const C g = gamma;
    return 1.0 + g * g *
                     (1.0 / 4 +
                      g * (-2.0 / 15 +
                           g * (1.0 / 24 +
                                g * (-1.0 / 105 +
                                     g * (1.0 / 576 + g * (-1.0 / 3780 + g * (1.0 / 28800)))))));
  }
  const C g2 = gamma * gamma;
  return 2.0 * (1.0 - 3.0 / g2 + (3.0 + 3.0 * gamma + g2) * std::exp(-gamma) / g2);
}

}  // namespace zeva::forward
