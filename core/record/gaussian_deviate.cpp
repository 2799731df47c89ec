#include "core/record/gaussian_deviate.h"

#include <cassert>
#include <cmath>

namespace zeva::core {

namespace {

constexpr std::int32_t kM1 = 259200, kA1 = 7141, kC1 = 54773;
constexpr std::int32_t kM2 = 134456, kA2 = 8121, kC2 = 28411;
constexpr std::int32_t kM3 = 243000, kA3 = 4561, kC3 = 51349;
constexpr float kRM1 = 1.0f / kM1;
constexpr float kRM2 = 1.0f / kM2;

// One step of a congruential generator; the products stay below 2^31.
constexpr std::int32_t step(std::int32_t x, std::int32_t a, std::int32_t c, std::int32_t m) {
  return (a * x + c) % m;
}

}  // namespace

void GaussianDeviate::initialise() {
  // A negative remainder would leave the generators outside their ranges.
  ix1_ = ((kC1 - seed_) % kM1 + kM1) % kM1;
  ix1_ = step(ix1_, kA1, kC1, kM1);
  ix2_ = ix1_ % kM2;
  ix1_ = step(ix1_, kA1, kC1, kM1);
  ix3_ = ix1_ % kM3;
  for (float& entry : table_) {
    ix1_ = step(ix1_, kA1, kC1, kM1);
    ix2_ = step(ix2_, kA2, kC2, kM2);
    entry = (static_cast<float>(ix1_) + static_cast<float>(ix2_) * kRM2) * kRM1;
  }
  seed_ = 1;
  initialised_ = true;
}

float GaussianDeviate::uniform() {
  if (!initialised_) initialise();
  ix1_ = step(ix1_, kA1, kC1, kM1);
  ix2_ = step(ix2_, kA2, kC2, kM2);
  ix3_ = step(ix3_, kA3, kC3, kM3);
  const std::int32_t j = (97 * ix3_) / kM3;  // zero-based; ix3 < M3 keeps it below 97
  assert(j >= 0 && j < 97);
  const float value = table_[static_cast<std::size_t>(j)];
  table_[static_cast<std::size_t>(j)] =
      (static_cast<float>(ix1_) + static_cast<float>(ix2_) * kRM2) * kRM1;
  return value;
}

float GaussianDeviate::next() {
  if (haveSpare_) {
    haveSpare_ = false;
    return spare_;
  }
  float a = 0.0f, b = 0.0f, r = 0.0f;
  do {
    a = 2.0f * uniform() - 1.0f;
    b = 2.0f * uniform() - 1.0f;
    r = a * a + b * b;
  } while (r >= 1.0f || r == 0.0f);  // r = 0 would take the logarithm of zero
  const float factor = std::sqrt(-2.0f * std::log(r) / r);
  spare_ = a * factor;
  haveSpare_ = true;
  return b * factor;
}

}  // namespace zeva::core
