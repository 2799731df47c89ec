#pragma once
// Single-precision exp(-x), sin and cos on GCC's and clang's vector types,
// lane by lane, for the layer recursions: inlined into each caller, so a
// caller compiled for a wider vector unit gets them in its own instructions.
// Every lane takes the same operations, so every vector width rounds alike.

#include <cstdint>

// The vector helpers take and return vectors wider than the baseline
// instruction set; they are internal and inlined, so GCC's note that such
// arguments would change a public calling convention does not apply.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wpsabi"
#endif

namespace zeva::forward::lanes {

#define ZEVA_LANE_INLINE [[gnu::always_inline]] inline

// The integer vector of the comparisons of V, all bits set where true.
template <typename V>
using Mask = decltype(V{} < V{});

template <typename V>
ZEVA_LANE_INLINE V broadcast(float value) {
  return V{} + value;
}

template <typename V>
ZEVA_LANE_INLINE V select(Mask<V> mask, V yes, V no) {
  return reinterpret_cast<V>((reinterpret_cast<Mask<V>>(yes) & mask) |
                             (reinterpret_cast<Mask<V>>(no) & ~mask));
}

// Beyond this exponent exp(-x) is below the smallest normal float.
inline constexpr float kExponentLimit = 87.0f;

// exp(-x) for x >= 0: -x = n ln2 + r with |r| <= ln2 / 2, exp(r) by the
// single-precision minimax polynomial of the Cephes library (within 2 units
// in the last place), 2^n added into the exponent bits; 0 beyond the limit.
template <typename V>
ZEVA_LANE_INLINE V decayOf(V x) {
  constexpr float kRoundingShift = 12582912.0f;  // 1.5 * 2^23: adding it rounds to an integer
  const Mask<V> inside = x < kExponentLimit;
  const V u = -select<V>(inside, x, broadcast<V>(0.0f));
  const V shifted = u * 1.44269504f + kRoundingShift;
  const V n = shifted - kRoundingShift;
  V r = u - n * 0.693359375f;
  r = r - n * -2.12194440e-4f;
  const V p = (((((1.9875691500e-4f * r + 1.3981999507e-3f) * r + 8.3334519073e-3f) * r +
                 4.1665795894e-2f) *
                    r +
                1.6666665459e-1f) *
                   r +
               5.0000001201e-1f) *
                  (r * r) +
              r + 1.0f;
  const Mask<V> power =
      (reinterpret_cast<Mask<V>>(shifted) - reinterpret_cast<Mask<V>>(broadcast<V>(kRoundingShift)))
      << 23;
  return select<V>(inside, reinterpret_cast<V>(reinterpret_cast<Mask<V>>(p) + power),
                   broadcast<V>(0.0f));
}

// sin y and cos y for 0 <= y <= 87: y = k pi/2 + r with pi/2 in three parts
// (Cody and Waite), |r| <= pi/4, the Cephes polynomials of sinf and cosf, and
// the quadrant k mod 4. The arguments met here, Im(u_j t'_j) <= Re(u_j t'_j),
// are small wherever exp(-Re) leaves anything to rotate.
template <typename V>
ZEVA_LANE_INLINE void sineCosineOf(V y, V& sine, V& cosine) {
  constexpr float kRoundingShift = 12582912.0f;
  const V shifted = y * 0.636619772f + kRoundingShift;
  const V k = shifted - kRoundingShift;
  const V r = ((y - k * 1.5703125f) - k * 4.83751297e-4f) - k * 7.54978995e-8f;
  const V r2 = r * r;
  const V s = r + r * r2 * ((-1.9515295891e-4f * r2 + 8.3321608736e-3f) * r2 - 1.6666654611e-1f);
  const V c =
      1.0f - 0.5f * r2 +
      r2 * r2 * ((2.443315711809948e-5f * r2 - 1.388731625493765e-3f) * r2 + 4.166664568298827e-2f);
  const Mask<V> quadrant = reinterpret_cast<Mask<V>>(shifted) & 3;
  const Mask<V> swap = (quadrant & 1) != 0;
  const V sinePart = select<V>(swap, c, s), cosinePart = select<V>(swap, s, c);
  sine = select<V>((quadrant & 2) != 0, -sinePart, sinePart);
  cosine = select<V>(((quadrant + 1) & 2) != 0, -cosinePart, cosinePart);
}

}  // namespace zeva::forward::lanes
