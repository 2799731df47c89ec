#include "forward/tem_frequency_response.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zeva::forward {

namespace {

// Frequencies per decade of the table: the response is smooth in log omega
// on the scale of a decade, and cubic interpolation at this spacing keeps
// the transient within 1.0E-4.
constexpr double kPerDecade = 16.0;

}  // namespace

std::complex<double> loopResponse(EmLayerRecursion& layers, float topResistivity,
                                  const KernelGrid& grid, double omega) {
  // The recursion works in g = lambda delta, delta the skin depth of layer 1.
  const double delta = std::sqrt(2.0 * double(topResistivity) / (omega * kMu0));
  layers.scaleThicknesses(static_cast<float>(2.0 / delta));
  const auto& lambdas = grid.lambdas();
  const auto& weights = grid.weights();
  double re = 0.0, im = 0.0;
  for (std::size_t g = 0; g < lambdas.size(); ++g) {
    // reflection() is -r_TE.
    const ComplexF r = layers.reflection(static_cast<float>(lambdas[g] * delta));
    re -= weights[g] * double(r.real());
    im -= weights[g] * double(r.imag());
  }
  return {kMu0 * re, kMu0 * im};
}

FrequencyResponse::FrequencyResponse(EmLayerRecursion& layers, float topResistivity,
                                     const KernelGrid& grid, double omegaLow, double omegaHigh) {
  double sum = 0.0;
  for (const double w : grid.weights()) sum += w;
  limit_ = -kMu0 * sum;
  const double size = std::max(grid.largestDistance(), 1.0e-3);
  crossover_ = 2.0 * double(topResistivity) / (kMu0 * size * size);

  const double step = std::log(10.0) / kPerDecade;
  const auto count =
      static_cast<std::size_t>(std::max(4.0, std::ceil(std::log(omegaHigh / omegaLow) / step) + 1));
  std::vector<double> omegas(count), values(count);
  for (std::size_t k = 0; k < count; ++k) {
    omegas[k] = omegaLow * std::exp(step * double(k));
    const double x = omegas[k] / crossover_;
    const double real = loopResponse(layers, topResistivity, grid, omegas[k]).real();
    values[k] = (real - limit_ * x * x / (1.0 + x * x)) / normaliser(omegas[k]);
  }
  lowB_ = (values[1] - values[0]) / (std::sqrt(omegas[1]) - std::sqrt(omegas[0]));
  lowA_ = values[0] - lowB_ * std::sqrt(omegas[0]);
  const double last = values[count - 1], before = values[count - 2];
  highC_ =
      (last - before) / (1.0 / std::sqrt(omegas[count - 1]) - 1.0 / std::sqrt(omegas[count - 2]));
  highA_ = last - highC_ / std::sqrt(omegas[count - 1]);
  table_ = LogGridTable(omegaLow, step, std::move(values));
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
