#include "forward/tem_fit.h"

#include <cmath>

#include "forward/forward_routine.h"

namespace zeva::forward {

float transientMisfit(float synthetic, float observed) {
  const float magnitude = std::log10(std::fabs(synthetic / observed) + 1.0e-30f);
  const bool agree = (synthetic > 0.0f && observed > 0.0f) || (synthetic < 0.0f && observed < 0.0f);
  if (agree) return magnitude;
  return magnitude < 0.0f ? magnitude - kSignMisfit : magnitude + kSignMisfit;
}

void fitTransient(core::Sounding& S, const std::vector<bool>& modelled) {
  const auto& d = S.data();
  const bool weighting = core::isSet(S.layer.errorWeighting);
  double sum = 0.0, weightedSum = 0.0, weightSum = 0.0;
  int counted = 0;
  for (std::size_t i = 0; i < modelled.size(); ++i) {
    if (!modelled[i] || S.masked(static_cast<int>(i), 0)) continue;
    const float observed = d.VOLTS(i, 0);
    if (observed == 0.0f || std::fabs(observed) >= kMissingReading || !std::isfinite(observed))
      continue;
    const double misfit = transientMisfit(S.SVOLT(i, 0), observed);
    sum += misfit * misfit;
    ++counted;
    const float error = d.UVOLTS(i, 0);
    if (weighting && error > 0.0f) {
      const double logError = std::log10(1.0 + double(error) / std::fabs(double(observed)));
      const double w2 = 1.0 / (logError * logError);
      weightSum += w2;
      weightedSum += misfit * misfit * w2;
    }
  }
  if (counted < 1) {
    S.layer.RMS = 0.0f;
    S.layer.PCTERR = 0.0f;
  } else {
    S.layer.RMS = static_cast<float>(std::sqrt(sum / counted));
    S.layer.PCTERR = std::fabs(S.layer.RMS) < 30.0f ? (std::pow(10.0f, S.layer.RMS) - 1.0f) * 100.0f
                                                    : kRefusedFit;
  }
  if (weighting && weightSum > 0.0)
    S.layer.weightedFit = static_cast<float>(std::sqrt(weightedSum / weightSum));
  S.layer.syntheticValid = core::kTrue;
  S.layer.saved = core::kFalse;
}

}  // namespace zeva::forward
