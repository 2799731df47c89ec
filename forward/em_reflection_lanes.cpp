#include "forward/em_reflection_lanes.h"

#include <cmath>
#include <cstring>

#include "forward/lane_math.h"

namespace zeva::forward {

namespace {

using Lanes = float __attribute__((vector_size(kReflectionLanes * sizeof(float))));
using lanes::broadcast;
using lanes::decayOf;
using lanes::kExponentLimit;
using lanes::Mask;
using lanes::select;
using lanes::sineCosineOf;

constexpr float kHiddenBelow = 21.0f;  // e^-21: what lies below no longer counts
// Below this angle y, cos y = 1 and sin y = y in single precision; the
// polynomial's powers of y would fall into slow subnormal numbers.
constexpr float kNoTurn = 1.0e-4f;

// u = sqrt(a + ib) = re + i b / (2 re), re = sqrt((|a + ib| + a) / 2): no
// cancellation for a, b >= 0.
ZEVA_LANE_INLINE void wavenumber(Lanes a, float b, Lanes& re, Lanes& im) {
  Lanes modulus = a * a + b * b;
  for (std::size_t m = 0; m < kReflectionLanes; ++m) modulus[m] = std::sqrt(modulus[m]);
  re = (modulus + a) * 0.5f;
  for (std::size_t m = 0; m < kReflectionLanes; ++m) re[m] = std::sqrt(re[m]);
  im = b / (re + re);
}

}  // namespace

// Made for the widest vector unit the processor has, chosen when the
// program starts; every variant makes the same operations lane by lane.
#if defined(__x86_64__) && !defined(__SANITIZE_ADDRESS__)
[[gnu::target_clones("avx512f", "avx2", "default")]]
#endif
void reflectionLanes(const ScaledLayers& layers, const float* g, float* re, float* im) {
  Lanes lambda;
  std::memcpy(&lambda, g, sizeof lambda);
  const Lanes a = lambda * lambda;
  const std::size_t n = layers.count;
  // The recursion of V = Y - 1 from the bottom layer up (see
  // EmLayerRecursion::topChange); where a layer hides what lies below it,
  // the deepest such layer starts it again as a half-space (V = 0).
  Lanes belowRe, belowIm;
  wavenumber(a, layers.twoC[n - 1], belowRe, belowIm);
  Lanes vRe = broadcast<Lanes>(0.0f), vIm = broadcast<Lanes>(0.0f);
  Mask<Lanes> restarted = Mask<Lanes>{} + 0;
  for (std::size_t j = n - 1; j-- > 0;) {
    Lanes uRe, uIm;
    wavenumber(a, layers.twoC[j], uRe, uIm);
    const Lanes x = uRe * layers.thickness[j], y = uIm * layers.thickness[j];
    const Mask<Lanes> turns = y >= kNoTurn;
    Lanes sine, cosine;
    sineCosineOf(
        select<Lanes>(turns, select<Lanes>(y < kExponentLimit, y, broadcast<Lanes>(kExponentLimit)),
                      broadcast<Lanes>(0.0f)),
        sine, cosine);
    sine = select<Lanes>(turns, sine, y);
    const Lanes decay = decayOf(x);
    const Lanes eRe = decay * cosine, eIm = -decay * sine;
    // u_{j+1} + u_j, and u_{j+1} - u_j = i (b_{j+1} - b_j) / (u_{j+1} + u_j).
    const Lanes sumRe = belowRe + uRe, sumIm = belowIm + uIm;
    const Lanes scale = (layers.twoC[j + 1] - layers.twoC[j]) / (sumRe * sumRe + sumIm * sumIm);
    const Lanes differenceRe = sumIm * scale, differenceIm = sumRe * scale;
    // V <- 2B / (A - B), A = u_{j+1} V + (u_{j+1} + u_j),
    // B = e (u_{j+1} V + (u_{j+1} - u_j)).
    const Lanes pRe = belowRe * vRe - belowIm * vIm, pIm = belowRe * vIm + belowIm * vRe;
    const Lanes aRe = pRe + sumRe, aIm = pIm + sumIm;
    const Lanes dRe = pRe + differenceRe, dIm = pIm + differenceIm;
    const Lanes bRe = eRe * dRe - eIm * dIm, bIm = eRe * dIm + eIm * dRe;
    const Lanes denRe = aRe - bRe, denIm = aIm - bIm;
    const Lanes twice = 2.0f / (denRe * denRe + denIm * denIm);
    const Mask<Lanes> hidden = (x >= kHiddenBelow) & ~restarted;
    restarted |= hidden;
    vRe = select<Lanes>(hidden, broadcast<Lanes>(0.0f), (bRe * denRe + bIm * denIm) * twice);
    vIm = select<Lanes>(hidden, broadcast<Lanes>(0.0f), (bIm * denRe - bRe * denIm) * twice);
    belowRe = uRe;
    belowIm = uIm;
  }
  // (Y u1 - g) / (g + Y u1) with Y u1 - g = (u1 - g) + u1 V and
  // u1 - g = i b_1 / (u1 + g).
  const Lanes sumRe = belowRe + lambda, sumIm = belowIm;
  const Lanes scale = layers.twoC[0] / (sumRe * sumRe + sumIm * sumIm);
  const Lanes wRe = belowRe * vRe - belowIm * vIm, wIm = belowRe * vIm + belowIm * vRe;
  const Lanes numRe = sumIm * scale + wRe, numIm = sumRe * scale + wIm;
  const Lanes denRe = lambda + belowRe + wRe, denIm = belowIm + wIm;
  const Lanes inverse = 1.0f / (denRe * denRe + denIm * denIm);
  const Lanes outRe = (numRe * denRe + numIm * denIm) * inverse;
  const Lanes outIm = (numIm * denRe - numRe * denIm) * inverse;
  std::memcpy(re, &outRe, sizeof outRe);
  std::memcpy(im, &outIm, sizeof outIm);
}

}  // namespace zeva::forward
