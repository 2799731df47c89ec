#pragma once
// Normally distributed random numbers for the noise that the transfer and the
// export of synthetics add to computed data. The uniform source combines three
// linear congruential generators through a 97-entry shuffle table, and the
// normal values come from the polar Box-Muller method (Press et al.,
// Numerical Recipes, routines RAN1 and GASDEV of the first edition). Each user
// owns its generator, so two noise sequences never disturb each other; every
// generator starts from seed 0, so a run of the program always draws the same
// sequence.

#include <array>
#include <cstdint>

namespace zeva::core {

class GaussianDeviate {
 public:
  // `seed` plays the part of the seed variable: the table is filled from it on
  // the first draw.
  explicit GaussianDeviate(std::int32_t seed = 0) : seed_(seed) {}

  // The next value of mean 0 and variance 1.
  float next();
  // The next uniform value in (0, 1) of the shuffled generator.
  float uniform();

 private:
  void initialise();

  std::int32_t seed_;
  bool initialised_ = false;
  std::int32_t ix1_ = 0, ix2_ = 0, ix3_ = 0;
  std::array<float, 97> table_{};
  bool haveSpare_ = false;
  float spare_ = 0.0f;
};

}  // namespace zeva::core
