#include "forward/resistivity_transform.h"

#include <cstdint>
#include <cstring>

#include "forward/lane_math.h"

// The vector helpers below take and return vectors wider than the baseline
// instruction set; they are internal and inlined, so GCC's note that such
// arguments would change a public calling convention does not apply.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wpsabi"
#endif

namespace zeva::forward {

namespace {

constexpr float kReplacementValue = 10.0f;
constexpr float kExponentLimit = -21.0f;

// kTransformLanes floats, and the same width as integers, for GCC's and
// clang's vector extensions: every operation below acts on all lanes.
using Lanes = float __attribute__((vector_size(kTransformLanes * sizeof(float))));
using Bits = std::uint32_t __attribute__((vector_size(kTransformLanes * sizeof(float))));
using Mask = std::int32_t __attribute__((vector_size(kTransformLanes * sizeof(float))));

#define ZEVA_LANES_INLINE [[gnu::always_inline]] inline

ZEVA_LANES_INLINE Lanes broadcast(float value) { return Lanes{} + value; }

ZEVA_LANES_INLINE Lanes select(Mask mask, Lanes yes, Lanes no) {
  const Bits m = reinterpret_cast<Bits>(mask);
  return reinterpret_cast<Lanes>((reinterpret_cast<Bits>(yes) & m) |
                                 (reinterpret_cast<Bits>(no) & ~m));
}

// e_j = exp(-2 lambda h_j), 0 where the exponent is -21 or less.
ZEVA_LANES_INLINE Lanes layerDecay(Lanes lambda, float exponentScale) {
  const Lanes u = lambda * exponentScale;
  const Mask inside = u > kExponentLimit;
  return select(inside, lanes::decayOf(-select(inside, u, broadcast(0.0f))), broadcast(0.0f));
}

bool depthsIncrease(const std::vector<float>& PAR, std::size_t first, int count) {
  for (int j = 0; j + 1 < count; ++j)
    if (PAR[first + j] >= PAR[first + j + 1]) return false;
  return true;
}

}  // namespace

void LayeredEarth::deriveReflections() {
  const std::size_t interfaces = thickness.size();
  reflection.resize(interfaces);
  exponentScale.resize(interfaces);
  for (std::size_t j = 0; j < interfaces; ++j) {
    reflection[j] = (resistivity[j] - resistivity[j + 1]) / (resistivity[j] + resistivity[j + 1]);
    exponentScale[j] = -2.0f * thickness[j];
  }
}

EarthStatus prepareLayeredEarth(core::Sounding& S, LayeredEarth& earth) {
  earth.resistivity.clear();
  earth.thickness.clear();
  earth.reflection.clear();
  earth.exponentScale.clear();
  const int nlayer = S.model.NLAYER;
  const int npk = S.model.NPK;
  if (nlayer < 1 || npk < 1) return EarthStatus::NoModel;
  const auto geometry = static_cast<std::size_t>(nlayer) * static_cast<std::size_t>(npk);
  const auto boundaries = static_cast<std::size_t>(nlayer - 1);
  std::vector<float>& PAR = S.M.PAR;
  if (PAR.size() < geometry + boundaries) return EarthStatus::NoModel;

  const bool depths = core::isSet(S.model.depths);
  if (depths && nlayer >= 3 && !depthsIncrease(PAR, geometry, nlayer - 1))
    return EarthStatus::DepthsRefused;

  for (int j = 0; j < nlayer; ++j)
    if (PAR[j] <= 0.0f) PAR[j] = kReplacementValue;
  for (std::size_t j = 0; j < boundaries; ++j)
    if (PAR[geometry + j] <= 0.0f) PAR[geometry + j] = kReplacementValue;
  // A depth replaced above may now lie below the next one; such a model has
  // no layer sequence either.
  if (depths && nlayer >= 3 && !depthsIncrease(PAR, geometry, nlayer - 1))
    return EarthStatus::DepthsRefused;

  earth.resistivity.assign(PAR.begin(), PAR.begin() + nlayer);
  earth.thickness.resize(boundaries);
  for (std::size_t j = 0; j < boundaries; ++j)
    earth.thickness[j] =
        depths && j > 0 ? PAR[geometry + j] - PAR[geometry + j - 1] : PAR[geometry + j];
  earth.deriveReflections();
  return EarthStatus::Ready;
}

// Made for the widest vector unit the processor has, chosen when the
// program starts; every variant makes the same operations lane by lane.
#if defined(__x86_64__) && !defined(__SANITIZE_ADDRESS__)
[[gnu::target_clones("avx512f", "avx2", "default")]]
#endif
void resistivityTransforms(const LayeredEarth& earth, const float* lambda, float* T,
                           std::size_t count) {
  if (count > kTransformLanes) count = kTransformLanes;
  const std::size_t interfaces = earth.reflection.size();
  if (interfaces == 0) {
    for (std::size_t k = 0; k < count; ++k) T[k] = earth.resistivity[0];
    return;
  }
  // Unused lanes repeat the first abscissa.
  float padded[kTransformLanes];
  for (std::size_t k = 0; k < kTransformLanes; ++k) padded[k] = lambda[k < count ? k : 0];
  Lanes l;
  std::memcpy(&l, padded, sizeof l);

  // k of the deepest layer above the half-space is its interface reflection.
  Lanes k = broadcast(earth.reflection[interfaces - 1]);
  for (std::size_t j = interfaces - 1; j > 0; --j) {
    const Lanes ke = k * layerDecay(l, earth.exponentScale[j]);
    const float r = earth.reflection[j - 1];
    k = (r + ke) / (1.0f + r * ke);
  }
  const Lanes ke = k * layerDecay(l, earth.exponentScale[0]);
  const Lanes top = earth.resistivity[0] * ((1.0f - ke) / (1.0f + ke));
  float values[kTransformLanes];
  std::memcpy(values, &top, sizeof values);
  for (std::size_t lane = 0; lane < count; ++lane) T[lane] = values[lane];
}

}  // namespace zeva::forward
