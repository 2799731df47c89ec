#include "forward/em_layer_recursion.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>

#include "forward/em_reflection_lanes.h"
#include "forward/lane_math.h"
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
// Up to this wavenumber g^4 stays within single precision.
constexpr float kSingleRootsBelow = 1.0e9f;
// Up to this wavenumber |(g + u1)(g + Y u1)|^2 does.
constexpr float kSingleDenominatorBelow = 1.0e8f;

// Four floats for GCC's and clang's vector extensions, one layer in each,
// and four integers of the same width.
using Quad = float __attribute__((vector_size(16)));
using QuadBits = std::int32_t __attribute__((vector_size(16)));
using lanes::decayOf;
using lanes::kExponentLimit;
using lanes::select;
using lanes::sineCosineOf;

// sqrt(a + ib) for a >= 0, b >= 0, the vertical wavenumbers' argument: with
// no cancellation to guard against, the root is formed directly; double
// precision keeps a = g^2 of the far filter points from overflowing.
std::complex<double> wavenumberRoot(double a, double b) {
  const double re = std::sqrt((std::sqrt(a * a + b * b) + a) / 2.0);
  return {re, re > 0.0 ? b / (2.0 * re) : 0.0};
}

// sqrt(a + ib) - sqrt(a + ic) for the roots ra and rc of those arguments:
// i (b - c) / (ra + rc), free of the cancellation of the difference.
ComplexF rootDifference(double b, double c, std::complex<double> ra, std::complex<double> rc) {
  const double sumRe = ra.real() + rc.real(), sumIm = ra.imag() + rc.imag();
  const double scale = (b - c) / (sumRe * sumRe + sumIm * sumIm);
  return {static_cast<float>(sumIm * scale), static_cast<float>(sumRe * scale)};
}

}  // namespace

bool EmLayerRecursion::allocate(int nlayer) {
  if (nlayer < 1 || nlayer > kMaxLayers) return false;
  try {
    const auto n = static_cast<std::size_t>(nlayer);
    const std::size_t boundaries = n > 0 ? n - 1 : 0;
    relativeConductivity.assign(n, 1.0f);
    thickness.assign(boundaries, 0.0f);
    // Room for whole quads of layers, and for reading one layer beyond.
    const std::size_t padded = (n + kQuad - 1) / kQuad * kQuad + kQuad;
    twoC_.assign(padded, 2.0f);
    for (auto* values :
         {&scaled_, &uRe_, &uIm_, &sumRe_, &sumIm_, &differenceRe_, &differenceIm_, &eRe_, &eIm_})
      values->assign(padded, 0.0f);
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
  for (std::size_t j = 0; j < relativeConductivity.size(); ++j)
    twoC_[j] = 2.0f * relativeConductivity[j];
}

void EmLayerRecursion::wavenumbers(float g) {
  const std::size_t n = relativeConductivity.size();
  const float a = g * g;
  if (g < kSingleRootsBelow) {
    // Four layers at a time: sqrt(a + ib) = re + i b / (2 re) with
    // re = sqrt((|a + ib| + a) / 2), no cancellation for a, b >= 0.
    for (std::size_t j = 0; j < n; j += kQuad) {
      Quad b;
      std::memcpy(&b, &twoC_[j], sizeof b);
      Quad modulus = a * a + b * b, re;
      for (int k = 0; k < kQuad; ++k) modulus[k] = std::sqrt(modulus[k]);
      re = (modulus + a) * 0.5f;
      for (int k = 0; k < kQuad; ++k) re[k] = std::sqrt(re[k]);
      const Quad im = b / (re + re);
      std::memcpy(&uRe_[j], &re, sizeof re);
      std::memcpy(&uIm_[j], &im, sizeof im);
    }
    // u_{j+1} + u_j, and u_{j+1} - u_j = i (b_{j+1} - b_j) / (u_{j+1} + u_j).
    for (std::size_t j = 0; j + 1 < n; j += kQuad) {
      Quad reLow, imLow, reHigh, imHigh, bLow, bHigh;
      std::memcpy(&reLow, &uRe_[j], sizeof reLow);
      std::memcpy(&imLow, &uIm_[j], sizeof imLow);
      std::memcpy(&reHigh, &uRe_[j + 1], sizeof reHigh);
      std::memcpy(&imHigh, &uIm_[j + 1], sizeof imHigh);
      std::memcpy(&bLow, &twoC_[j], sizeof bLow);
      std::memcpy(&bHigh, &twoC_[j + 1], sizeof bHigh);
      const Quad sumRe = reHigh + reLow, sumIm = imHigh + imLow;
      const Quad scale = (bHigh - bLow) / (sumRe * sumRe + sumIm * sumIm);
      const Quad differenceRe = sumIm * scale, differenceIm = sumRe * scale;
      std::memcpy(&sumRe_[j], &sumRe, sizeof sumRe);
      std::memcpy(&sumIm_[j], &sumIm, sizeof sumIm);
      std::memcpy(&differenceRe_[j], &differenceRe, sizeof differenceRe);
      std::memcpy(&differenceIm_[j], &differenceIm, sizeof differenceIm);
    }
    return;
  }
  // Far out on the filter a^2 would overflow single precision.
  const double a2 = double(g) * double(g);
  std::complex<double> below = wavenumberRoot(a2, double(twoC_[n - 1]));
  uRe_[n - 1] = static_cast<float>(below.real());
  uIm_[n - 1] = static_cast<float>(below.imag());
  for (std::size_t j = n - 1; j-- > 0;) {
    const std::complex<double> root = wavenumberRoot(a2, double(twoC_[j]));
    uRe_[j] = static_cast<float>(root.real());
    uIm_[j] = static_cast<float>(root.imag());
    sumRe_[j] = static_cast<float>(root.real() + below.real());
    sumIm_[j] = static_cast<float>(root.imag() + below.imag());
    const ComplexF difference = rootDifference(double(twoC_[j + 1]), double(twoC_[j]), below, root);
    differenceRe_[j] = difference.real();
    differenceIm_[j] = difference.imag();
    below = root;
  }
}

void EmLayerRecursion::topChange(float g, ComplexF& u1, ComplexF& V) {
  const std::size_t n = relativeConductivity.size();
  wavenumbers(g);
  std::size_t start = n - 1;
  for (std::size_t j = n - 1; j-- > 0;)
    if (std::fabs(uRe_[j] * scaled_[j]) >= kHiddenBelow && start == n - 1) start = j;
  // e_j = exp(-u_j t'_j), four layers at a time.
  for (std::size_t j = 0; j < start; j += kQuad) {
    Quad re, im, t;
    std::memcpy(&re, &uRe_[j], sizeof re);
    std::memcpy(&im, &uIm_[j], sizeof im);
    std::memcpy(&t, &scaled_[j], sizeof t);
    // Im <= Re: where Re passes the limit nothing is left to rotate.
    const Quad x = re * t, y = im * t;
    Quad sine, cosine;
    sineCosineOf(select(y < kExponentLimit, y, Quad{} + kExponentLimit), sine, cosine);
    const Quad decay = decayOf(x);
    const Quad eRe = decay * cosine, eIm = -decay * sine;
    std::memcpy(&eRe_[j], &eRe, sizeof eRe);
    std::memcpy(&eIm_[j], &eIm, sizeof eIm);
  }

  // With t = (1 - e) / (1 + e), e = exp(-u_j t'_j), the step
  //   Y <- (u_{j+1} Y + u_j t) / (u_j + u_{j+1} Y t)
  // is, over (1 + e), (A + B) / (A - B) with A = u_{j+1} Y + u_j and
  // B = e (u_{j+1} Y - u_j). Carried as V = Y - 1 it is V <- 2B / (A - B),
  // A = u_{j+1} V + (u_{j+1} + u_j), B = e (u_{j+1} V + (u_{j+1} - u_j)): no
  // difference of nearly equal numbers, and one real reciprocal per layer.
  float vRe = 0.0f, vIm = 0.0f;
  for (std::size_t j = start; j-- > 0;) {
    const float eRe = eRe_[j], eIm = eIm_[j];
    const float belowRe = uRe_[j + 1], belowIm = uIm_[j + 1];
    const float pRe = belowRe * vRe - belowIm * vIm, pIm = belowRe * vIm + belowIm * vRe;
    const float aRe = pRe + sumRe_[j], aIm = pIm + sumIm_[j];
    const float dRe = pRe + differenceRe_[j], dIm = pIm + differenceIm_[j];
    const float bRe = eRe * dRe - eIm * dIm, bIm = eRe * dIm + eIm * dRe;
    const float denRe = aRe - bRe, denIm = aIm - bIm;
    const float scale = 2.0f / (denRe * denRe + denIm * denIm);
    vRe = (bRe * denRe + bIm * denIm) * scale;
    vIm = (bIm * denRe - bRe * denIm) * scale;
  }
  V = {vRe, vIm};
  u1 = {uRe_[0], uIm_[0]};
}

ComplexF EmLayerRecursion::reflectionChange(float g) {
  ComplexF u1, V;
  topChange(g, u1, V);
  // 2 u1 (Y - 1) / ((g + u1)(g + Y u1)). The squared modulus of the
  // denominator is of order g^4: beyond single precision far out on the
  // filter, where it is formed in double precision.
  const float numRe = 2.0f * (u1.real() * V.real() - u1.imag() * V.imag());
  const float numIm = 2.0f * (u1.real() * V.imag() + u1.imag() * V.real());
  const float aRe = g + u1.real(), aIm = u1.imag();
  const float bRe = aRe + 0.5f * numRe, bIm = aIm + 0.5f * numIm;  // g + u1 + u1 V
  if (g < kSingleDenominatorBelow) {
    const float denRe = aRe * bRe - aIm * bIm, denIm = aRe * bIm + aIm * bRe;
    const float scale = 1.0f / (denRe * denRe + denIm * denIm);
    return {(numRe * denRe + numIm * denIm) * scale, (numIm * denRe - numRe * denIm) * scale};
  }
  const double denRe = double(aRe) * double(bRe) - double(aIm) * double(bIm);
  const double denIm = double(aRe) * double(bIm) + double(aIm) * double(bRe);
  const double scale = 1.0 / (denRe * denRe + denIm * denIm);
  return {static_cast<float>((double(numRe) * denRe + double(numIm) * denIm) * scale),
          static_cast<float>((double(numIm) * denRe - double(numRe) * denIm) * scale)};
}

ComplexF EmLayerRecursion::reflection(float g) {
  ComplexF u1, V;
  topChange(g, u1, V);
  // (Y u1 - g) / (g + Y u1) with Y u1 - g = (u1 - g) + u1 V and
  // u1 - g = i b_1 / (u1 + g).
  const ComplexF u1MinusG =
      rootDifference(double(twoC_[0]), 0.0, {u1.real(), u1.imag()}, double(g));
  const float wRe = u1.real() * V.real() - u1.imag() * V.imag();
  const float wIm = u1.real() * V.imag() + u1.imag() * V.real();
  const float numRe = u1MinusG.real() + wRe, numIm = u1MinusG.imag() + wIm;
  const float denRe = g + u1.real() + wRe, denIm = u1.imag() + wIm;
  const float scale = 1.0f / (denRe * denRe + denIm * denIm);
  return {(numRe * denRe + numIm * denIm) * scale, (numIm * denRe - numRe * denIm) * scale};
}

void EmLayerRecursion::reflections(std::span<const float> g, std::span<ComplexF> out) {
  const ScaledLayers scaled{twoC_.data(), scaled_.data(), relativeConductivity.size()};
  float block[kReflectionLanes], re[kReflectionLanes], im[kReflectionLanes];
  for (std::size_t k = 0; k < g.size(); k += kReflectionLanes) {
    const std::size_t count = std::min(kReflectionLanes, g.size() - k);
    // A short last block repeats its first wavenumber; far ones are left to
    // the limit below and take a harmless place in the block.
    for (std::size_t m = 0; m < kReflectionLanes; ++m) {
      const float value = g[k + (m < count ? m : 0)];
      block[m] = value < kSingleRootsBelow ? value : 1.0f;
    }
    reflectionLanes(scaled, block, re, im);
    for (std::size_t m = 0; m < count; ++m) {
      const float value = g[k + m];
      // Beyond kSingleRootsBelow, where g^4 would overflow, the reflection
      // is i b_1 / (4 g^2) to single precision: its real part, of order
      // b_1^2 / g^4, and what lies below the top layer, damped by
      // exp(-2 g t'_1), are below the smallest normal float.
      out[k + m] = value < kSingleRootsBelow ? ComplexF{re[m], im[m]}
                                             : ComplexF{0.0f, twoC_[0] / (4.0f * value * value)};
    }
  }
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
