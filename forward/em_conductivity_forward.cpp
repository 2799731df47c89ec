#include "forward/em_conductivity_forward.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "forward/em_layer_recursion.h"
#include "forward/hankel_transform.h"
#include "forward/maxmin_forward.h"
#include "forward/model_layers.h"

namespace zeva::forward {

namespace {

using core::Sounding;

constexpr float kTransformTolerance = 0.001f;
constexpr float kFeetToMetres = 0.3048f;
constexpr float kHiddenBelow = 21.0f;
constexpr float kZeroObserved = 1.0e-20f;
constexpr double kLowInduction = 5.0e-6;
constexpr float kMu0 = 1.256637e-6f;

enum class Dipole { Horizontal, Vertical };

// Quadrature of one dipole mode for a reading of induction number theta.
float quadrature(Dipole dipole, float theta, float scaledHeight, bool layered,
                 EmLayerRecursion& layers, ui::Toolkit& toolkit) {
  const bool elevated = scaledHeight > 0.0f;
  float Q = 0.0f;
  if (!elevated) {
    Q = static_cast<float>(dipole == Dipole::Vertical ? verticalDipoleHalfSpaceQuadrature(theta)
                                                      : horizontalDipoleHalfSpaceQuadrature(theta));
    if (!layered) return Q;
  }
  if (theta < 1.0e-10f || theta > 1.0e10f) return Q;

  const float r = std::sqrt(theta);
  float tolerance = kTransformTolerance;
  // The vertical dipole (coplanar horizontal coils) takes J0 and one power of
  // g more than the horizontal dipole, which takes J1.
  const float extraPower = dipole == Dipole::Vertical ? 1.0f : 0.0f;
  const int order = dipole == Dipole::Vertical ? 0 : 1;
  const float scale = dipole == Dipole::Vertical ? theta * r : theta;
  float QL = 0.0f;
  if (elevated) {
    const auto kernel = [&](float g) {
      const float path = g * scaledHeight;
      if (path > kHiddenBelow) return 0.0f;
      const float power = extraPower > 0.0f ? g * g : g;
      return (power * std::exp(-path) * layers.reflection(g)).imag();
    };
    QL = scale * realHankel(kernel, order, r, 1.0f / r, tolerance, toolkit);
  } else {
    const auto kernel = [&](float g) {
      const float power = extraPower > 0.0f ? g * g * g : g * g;
      return (power * layers.reflectionChange(g)).imag();
    };
    QL = scale * realHankel(kernel, order, r, 1.0f / r, tolerance, toolkit);
  }
  return Q + QL;
}

}  // namespace

double verticalDipoleHalfSpaceQuadrature(double theta) {
  if (theta < kLowInduction) return static_cast<float>(theta) / 2.0f;
  const double a = std::sqrt(theta);
  return (std::exp(-a) * ((9.0 + 9.0 * a - 2.0 * a * a * a) * std::cos(a) +
                          (9.0 * a + 8.0 * a * a + 2.0 * a * a * a) * std::sin(a)) -
          9.0) /
         (a * a);
}

double horizontalDipoleHalfSpaceQuadrature(double theta) {
  if (theta < kLowInduction) return static_cast<float>(theta) / 2.0f;
  const double a = std::sqrt(theta);
  return (3.0 -
          std::exp(-a) * ((3.0 + 3.0 * a) * std::cos(a) + (3.0 * a + 2.0 * a * a) * std::sin(a))) /
         (a * a);
}

void emConductivityForward(Sounding& S, ui::Toolkit& toolkit) {
  const int nlayer = S.NLAYER();
  const int ndata = S.NDATA();
  const int mode = S.header.mode;
  if (nlayer < 1 || !arraysHoldCounts(S, 2, 1)) return;
  // A sounding with one data column holds the horizontal dipole only.
  const bool twoColumns = S.NCOMP() >= 2 && S.data().VOLTS.cols() >= 2 && S.SVOLT.cols() >= 2 &&
                          S.data().LMASK.cols() >= 2;
  const bool horizontal = mode != kVerticalDipoles;
  const bool vertical = mode != kHorizontalDipoles && twoColumns;
  if (!depthsIncrease(S, 1.0e-15f)) {
    markModelRefused(S);
    return;
  }
  EmLayerRecursion layers;
  if (!layers.setModel(S, EmLayerRecursion::LayerValues::Conductivity)) {
    toolkit.warning(kMaxMinAllocationMessage);
    return;
  }

  // Conductivities in mS/m; the top layer's sets the induction number.
  const float sigma1 = layerValue(S, 0);

  const float toMetres = S.header.lengthUnit == "(feet)" ? kFeetToMetres : 1.0f;
  auto& d = S.data();
  const bool hasHeight = S.header.NGEOM >= 3 && d.TIME.cols() >= 3;
  const bool layered = nlayer > 1;
  const std::size_t columns = twoColumns ? 2 : 1;

  int counted = 0;
  float sum = 0.0f;
  for (int i = 0; i < ndata; ++i) {
    const auto row = static_cast<std::size_t>(i);
    for (std::size_t j = 0; j < columns; ++j)
      if (d.VOLTS(row, j) == 0.0f) d.VOLTS(row, j) = kZeroObserved;

    const float s = d.TIME(row, 1) * toMetres;
    const float h = hasHeight ? d.TIME(row, 2) * toMetres : 0.0f;
    const float beta = 6.283186f * d.TIME(row, 0) * kMu0 * s * s;
    const float theta = 0.0005f * beta * sigma1;  // omega mu0 sigma1 s^2 / 2, sigma1 in S/m
    const bool usable = beta > 0.0f && std::isfinite(beta) && std::isfinite(theta);
    const float r = usable ? std::sqrt(theta) : 0.0f;
    if (usable) layers.scaleThicknesses(2.0f * r / s);
    const float scaledHeight = usable && h > 0.0f ? 2.0f * h * r / s : 0.0f;

    const auto apparentConductivity = [&](Dipole dipole) {
      if (!usable) return kRefusedSynthetic;
      return 4000.0f * quadrature(dipole, theta, scaledHeight, layered, layers, toolkit) / beta;
    };
    const std::array<bool, 2> wanted{horizontal, vertical};
    for (std::size_t j = 0; j < 2; ++j) {
      if (!wanted[j]) continue;
      const float value = apparentConductivity(j == 0 ? Dipole::Horizontal : Dipole::Vertical);
      S.SVOLT(row, j) = value;
      const float observed = d.VOLTS(row, j);
      if (S.masked(i, static_cast<int>(j)) || observed >= kMissingReading ||
          value >= kRefusedSynthetic)
        continue;
      const float misfit = std::log10(std::fabs(value / observed) + 1.0e-30f);
      sum += misfit * misfit;
      ++counted;
    }
  }

  if (counted > 0) {
    float e = std::sqrt(sum / static_cast<float>(counted));
    if (std::fabs(e) < 30.0f) e = (std::pow(10.0f, e) - 1.0f) * 100.0f;
    S.layer.RMS = e;
    S.layer.PCTERR = e;
  }
  S.layer.syntheticValid = core::kTrue;
  S.layer.saved = core::kFalse;
}

float effectivePenetrationDepth(char dipoleMode, float spacing, float height) {
  const float factor = dipoleMode == 'V' ? 1.5f : 0.75f;
  return std::max(factor * spacing - height, 0.1f * spacing);
}

}  // namespace zeva::forward
