#include "forward/tem_frequency_response.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zeva::forward {

namespace {

// Frequencies per decade of the table, and the points of its interpolation
// stencil. The response is analytic in log omega within about pi/4 of the
// real axis (the branch points of the vertical wavenumbers), so the error
// of interpolation falls geometrically with the stencil; the transform to
// time amplifies it at late time, where it cancels most. Ten points at eight
// per decade hold the transient as well as cubic interpolation at sixteen.
constexpr double kPerDecade = 8.0;
constexpr std::size_t kStencil = 10;

// Re B(omega) = mu0 sum_g F_g Re r_TE(lambda_g, omega), the recursion's
// thicknesses scaled for omega here; `g` and `r` are work arrays of the
// grid's size.
double realResponse(EmLayerRecursion& layers, float topResistivity, const KernelGrid& grid,
                    double omega, std::vector<float>& g, std::vector<ComplexF>& r) {
  // The recursion works in g = lambda delta, delta the skin depth of layer 1.
  const double delta = std::sqrt(2.0 * double(topResistivity) / (omega * kMu0));
  layers.scaleThicknesses(static_cast<float>(2.0 / delta));
  const auto& lambdas = grid.lambdas();
  for (std::size_t k = 0; k < lambdas.size(); ++k) g[k] = static_cast<float>(lambdas[k] * delta);
  layers.reflections(g, r);
  // reflection() is -r_TE.
  const auto& weights = grid.weights();
  double sum = 0.0;
  for (std::size_t k = 0; k < weights.size(); ++k) sum -= weights[k] * double(r[k].real());
  return kMu0 * sum;
}

}  // namespace

FrequencyResponse::FrequencyResponse(EmLayerRecursion& layers, float topResistivity,
                                     const KernelGrid& grid, double omegaLow, double omegaHigh) {
  double sum = 0.0;
  for (const double w : grid.weights()) sum += w;
  limit_ = -kMu0 * sum;
  const double size = std::max(grid.largestDistance(), 1.0e-3);
  crossover_ = 2.0 * double(topResistivity) / (kMu0 * size * size);

  const double step = std::log(10.0) / kPerDecade;
  const auto count = static_cast<std::size_t>(
      std::max(double(kStencil), std::ceil(std::log(omegaHigh / omegaLow) / step) + 1));
  std::vector<double> omegas(count), values(count);
  std::vector<float> g(grid.lambdas().size());
  std::vector<ComplexF> r(g.size());
  for (std::size_t k = 0; k < count; ++k) {
    omegas[k] = omegaLow * std::exp(step * double(k));
    const double x = omegas[k] / crossover_;
    const double real = realResponse(layers, topResistivity, grid, omegas[k], g, r);
    values[k] = (real - limit_ * x * x / (1.0 + x * x)) / normaliser(omegas[k]);
  }
  lowB_ = (values[1] - values[0]) / (std::sqrt(omegas[1]) - std::sqrt(omegas[0]));
  lowA_ = values[0] - lowB_ * std::sqrt(omegas[0]);
  const double last = values[count - 1], before = values[count - 2];
  highC_ =
      (last - before) / (1.0 / std::sqrt(omegas[count - 1]) - 1.0 / std::sqrt(omegas[count - 2]));
  highA_ = last - highC_ / std::sqrt(omegas[count - 1]);
  table_ = LogGridTable(omegaLow, step, std::move(values), kStencil);
}

double FrequencyResponse::remainder(double omega) const {
  const double lnOmega = std::log(omega);
  double scaled;
  if (lnOmega < table_.lnFirst())
    scaled = lowA_ + lowB_ * std::sqrt(omega);
  else if (lnOmega > table_.lnLast())
    scaled = highA_ + highC_ / std::sqrt(omega);
  else
    scaled = table_.atLn(lnOmega);
  return scaled * normaliser(omega);
}

}  // namespace zeva::forward
