#include "forward/key_filters.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zeva::forward {
namespace {

// (1/r) sum_i w(i) K(b_i / r) for a kernel K.
template <typename Kernel>
double hankelSum(const std::array<double, kKeyFilterPoints>& weights, double r, Kernel kernel) {
  double sum = 0.0;
  for (int i = 0; i < kKeyFilterPoints; ++i)
    sum += weights[static_cast<std::size_t>(i)] *
           kernel(kKeyHankelBase[static_cast<std::size_t>(i)] / r);
  return sum / r;
}

template <typename Function>
double fourierSum(const std::array<double, kKeyFilterPoints>& weights, double t, Function f) {
  double sum = 0.0;
  for (int i = 0; i < kKeyFilterPoints; ++i)
    sum +=
        weights[static_cast<std::size_t>(i)] * f(kKeyFourierBase[static_cast<std::size_t>(i)] / t);
  return sum / t;
}

// Lipschitz's integrals of a source at height z:
//   int lambda exp(-lambda z) J0(lambda r) = z / R^3,
//   int lambda exp(-lambda z) J1(lambda r) = r / R^3,  R^2 = r^2 + z^2.
TEST(KeyFilters, HankelFiltersGiveTheFieldOfAPointSource) {
  for (const double r : {0.1, 1.0, 30.0, 1000.0}) {
    for (const double z : {0.05, 1.0, 10.0}) {
      const double R3 = std::pow(r * r + z * z, 1.5);
      const auto kernel = [z](double lambda) { return lambda * std::exp(-lambda * z); };
      EXPECT_NEAR(hankelSum(kKeyJ0Weights, r, kernel) * R3 / z, 1.0, 1.0e-6) << r << " " << z;
      EXPECT_NEAR(hankelSum(kKeyJ1Weights, r, kernel) * R3 / r, 1.0, 1.0e-6) << r << " " << z;
    }
  }
}

// int exp(-a omega) sin(omega t) = t / (a^2 + t^2), and a / (a^2 + t^2) for cos.
TEST(KeyFilters, FourierFiltersTransformADecayingExponential) {
  for (const double t : {1.0e-5, 1.0e-3, 0.1, 10.0}) {
    for (const double ratio : {0.1, 1.0, 10.0}) {
      const double a = ratio * t;
      const auto f = [a](double omega) { return std::exp(-a * omega); };
      const double denominator = a * a + t * t;
      EXPECT_NEAR(fourierSum(kKeySineWeights, t, f) * denominator / t, 1.0, 1.0e-6)
          << t << " " << a;
      EXPECT_NEAR(fourierSum(kKeyCosineWeights, t, f) * denominator / a, 1.0, 1.0e-6)
          << t << " " << a;
    }
  }
}

TEST(KeyFilters, AbscissaeGrowByOneFactor) {
  for (const auto* base : {&kKeyHankelBase, &kKeyFourierBase}) {
    const double step = (*base)[1] / (*base)[0];
    for (std::size_t i = 1; i < base->size(); ++i)
      EXPECT_NEAR((*base)[i] / (*base)[i - 1], step, 1.0e-12 * step);
  }
}

}  // namespace
}  // namespace zeva::forward
