#include "forward/tem_step_response.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "forward/key_filters.h"

namespace zeva::forward {

StepResponse::StepResponse(const FrequencyResponse& response, double tFirst, double tLast) {
  const double step = std::log(kKeyFourierBase[1] / kKeyFourierBase[0]);
  // One time below tFirst and two above tLast, for the interpolation stencils.
  const double first = tFirst * std::exp(-step);
  const auto times = static_cast<std::size_t>(std::ceil(std::log(tLast / first) / step)) + 3;
  // omega = b_k / t_j = (b_0 / t_0) exp((k - j) step): index k - j + times - 1.
  const std::size_t n = kKeyFilterPoints + times - 1;
  std::vector<double> real(n);
  const double lowest = kKeyFourierBase[0] / first * std::exp(-step * double(times - 1));
  for (std::size_t m = 0; m < n; ++m)
    real[m] = response.remainder(lowest * std::exp(step * double(m)));

  std::vector<double> scaled(times);
  for (std::size_t j = 0; j < times; ++j) {
    const double t = first * std::exp(step * double(j));
    const std::size_t offset = times - 1 - j;
    double sum = 0.0;
    for (std::size_t k = 0; k < kKeyFilterPoints; ++k)
      sum += kKeyCosineWeights[k] * real[k + offset];
    const double e = 2.0 / std::numbers::pi * sum / t + response.removedTransient(t);
    scaled[j] = e * t * t * std::sqrt(t);
  }
  scaled_ = LogGridTable(first, step, std::move(scaled));
}

}  // namespace zeva::forward
