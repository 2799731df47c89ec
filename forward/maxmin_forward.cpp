#include "forward/maxmin_forward.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "core/record/data_type.h"
#include "forward/em_layer_recursion.h"
#include "forward/hankel_transform.h"
#include "forward/model_layers.h"

namespace zeva::forward {

namespace {

using core::Sounding;

constexpr float kTransformTolerance = 0.001f;
constexpr float kFeetToMetres = 0.3048f;
constexpr float kHiddenBelow = 21.0f;
constexpr float kZeroObserved = 1.0e-20f;

enum class Coils { HorizontalCoplanar, VerticalCoplanar, VerticalCoaxial };

// Reflection changes by abscissa, for the two transforms of a coaxial
// reading: both start at the same filter point and step alike, so they meet
// the same abscissae, bit for bit. A slot holds the last abscissa hashed to it.
class ChangeMemo {
 public:
  void clear() { keys_.fill(0u); }
  ComplexF operator()(EmLayerRecursion& layers, float g) {
    std::uint32_t key;
    std::memcpy(&key, &g, sizeof key);
    const std::size_t slot = ((key ^ (key >> 13)) * 0x9E3779B1u) >> (32 - kSlotBits);
    if (keys_[slot] != key) {
      keys_[slot] = key;
      values_[slot] = layers.reflectionChange(g);
    }
    return values_[slot];
  }

 private:
  static constexpr int kSlotBits = 8;
  std::array<std::uint32_t, 1u << kSlotBits> keys_{};  // 0: empty (abscissae are positive)
  std::array<ComplexF, 1u << kSlotBits> values_{};
};

// Corrections of one reading at induction number theta = (s/delta)^2, with
// the thicknesses already scaled for it.
struct Reading {
  float theta = 0.0f;
  float r = 0.0f;  // s / delta, the transform distance
  EmLayerRecursion& layers;
  ui::Toolkit& toolkit;
  ChangeMemo* memo = nullptr;  // set when both coplanar corrections are taken

  ComplexF change(float g) const { return memo ? (*memo)(layers, g) : layers.reflectionChange(g); }

  // Layered correction of the horizontal coplanar response.
  ComplexF HCPL() const {
    if (theta < 1.0e-5f || theta > 1.0e5f) return {};
    const auto kernel = [this](float g) { return g * g * g * change(g); };
    return theta * r * QHANKL(kernel, 0, r, 1.0f / r, kTransformTolerance, toolkit);
  }
  // Layered correction of the vertical coplanar response.
  ComplexF VCPL() const {
    if (theta < 1.0e-10f || theta > 1.0e10f) return {};
    const auto kernel = [this](float g) { return g * g * change(g); };
    return theta * QHANKL(kernel, 1, r, 1.0f / r, kTransformTolerance, toolkit);
  }
  // Whole secondary field of horizontal coplanar coils at scaled height
  // h' = 2h / delta: source and receiver images are 2h apart.
  ComplexF HCPH(float scaledHeight) const {
    if (theta < 1.0e-5f || theta > 1.0e5f) return {};
    const auto kernel = [this, scaledHeight](float g) {
      const float path = g * scaledHeight;
      if (path > kHiddenBelow) return ComplexF{};
      return g * g * std::exp(-path) * layers.reflection(g);
    };
    return theta * r * QHANKL(kernel, 0, r, 1.0f / r, kTransformTolerance, toolkit);
  }
};

Coils coilsOf(const core::DataTypeText& type) {
  switch (core::traitsOf(type).id) {
    case core::DataTypeId::VerticalCoplanar:
      return Coils::VerticalCoplanar;
    case core::DataTypeId::VerticalCoaxial:
      return Coils::VerticalCoaxial;
    default:
      return Coils::HorizontalCoplanar;
  }
}

ComplexF toFloat(std::complex<double> value) {
  return {static_cast<float>(value.real()), static_cast<float>(value.imag())};
}

// Secondary field of one reading as a fraction of the primary: the
// half-space response in closed form plus the layered correction, or for
// raised horizontal coplanar coils the whole field by transform. `height`
// and `spacing` in metres.
ComplexF coilResponse(Coils coils, const Reading& reading, float height, float spacing,
                      bool layered) {
  const double x = 2.0 * double(reading.theta);
  ComplexF response;
  switch (coils) {
    case Coils::HorizontalCoplanar:
      if (height > 0.0f) {
        response = reading.HCPH(2.0f * height * reading.r / spacing);
      } else {
        // The secondary field of the half-space is formed in double
        // precision: at low induction it is a small part of the total.
        response = toFloat(horizontalCoplanarHalfSpace(x) - 1.0);
        if (layered) response += reading.HCPL();
      }
      break;
    case Coils::VerticalCoplanar:
      response = toFloat(verticalCoplanarHalfSpace(x) - 1.0);
      if (layered) response += reading.VCPL();
      break;
    case Coils::VerticalCoaxial:
      response = toFloat((verticalCoplanarHalfSpace(x) - horizontalCoplanarHalfSpace(x)) / 2.0);
      if (layered) response += (reading.VCPL() - reading.HCPL()) / 2.0f;
      break;
  }
  return response;
}

// The squared differences of reading i's two values (in percent) added to
// the fit's sum; masked values and missing readings do not count.
void addMisfit(const Sounding& S, int i, float& sum, int& counted) {
  const auto row = static_cast<std::size_t>(i);
  for (std::size_t j = 0; j < 2; ++j) {
    const float observed = S.data().VOLTS(row, j);
    const float synthetic = S.SVOLT(row, j);
    if (S.masked(i, static_cast<int>(j)) || observed >= kMissingReading ||
        synthetic >= kRefusedSynthetic)
      continue;
    sum += (synthetic - observed) * (synthetic - observed);
    ++counted;
  }
}

}  // namespace

void CalcMaxMin(Sounding& S, ui::Toolkit& toolkit) {
  const int nlayer = S.NLAYER();
  const int ndata = S.NDATA();
  if (nlayer < 1 || !arraysHoldCounts(S, 2, 2)) return;
  if (!depthsIncrease(S, -std::numeric_limits<float>::infinity())) {
    markModelRefused(S);
    return;
  }
  EmLayerRecursion layers;
  if (!layers.setModel(S, EmLayerRecursion::LayerValues::Resistivity)) {
    toolkit.warning(kMaxMinAllocationMessage);
    return;
  }

  const float rho1 = layerValue(S, 0);

  const Coils coils = coilsOf(S.header.dataType);
  const bool layered = nlayer > 1;
  // The coil height is a length of the sounding like the separation, so a
  // sounding in feet has both converted: the elevated kernel needs h/delta.
  const float toMetres = S.header.lengthUnit == "(feet)" ? kFeetToMetres : 1.0f;
  auto& d = S.data();
  const bool hasHeight = S.header.NGEOM >= 3 && d.TIME.cols() >= 3;

  ChangeMemo memo;
  int counted = 0;
  float sum = 0.0f;
  for (int i = 0; i < ndata; ++i) {
    const auto row = static_cast<std::size_t>(i);
    for (std::size_t j = 0; j < 2; ++j)
      if (d.VOLTS(row, j) == 0.0f) d.VOLTS(row, j) = kZeroObserved;

    const float frequency = d.TIME(row, 0);
    const float s = d.TIME(row, 1) * toMetres;
    const float h = hasHeight ? d.TIME(row, 2) * toMetres : 0.0f;
    const float theta = 6.283186f * frequency * 6.283185e-7f * s * s / rho1;

    float inPhase = kRefusedSynthetic, quadrature = kRefusedSynthetic;
    if (theta >= 0.0f && std::isfinite(theta) && s > 0.0f) {
      const float r = std::sqrt(theta);
      layers.scaleThicknesses(2.0f * r / s);
      Reading reading{theta, r, layers, toolkit};
      if (coils == Coils::VerticalCoaxial) {
        memo.clear();
        reading.memo = &memo;
      }
      const ComplexF response = coilResponse(coils, reading, h, s, layered);
      inPhase = response.real() * 100.0f;
      quadrature = response.imag() * 100.0f;
    }
    S.SVOLT(row, 0) = inPhase;
    S.SVOLT(row, 1) = quadrature;

    addMisfit(S, i, sum, counted);
  }

  const float fit = counted > 0 ? std::sqrt(sum / static_cast<float>(counted)) : 0.0f;
  S.layer.RMS = fit;
  S.layer.PCTERR = fit;
  S.layer.syntheticValid = core::kTrue;
  S.layer.saved = core::kFalse;
}

}  // namespace zeva::forward
