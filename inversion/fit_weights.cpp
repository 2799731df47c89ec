#include "inversion/fit_weights.h"

#include <algorithm>
#include <cmath>

#include "forward/mt_forward.h"
#include "inversion/inversion_steps.h"

namespace zeva::inversion {

namespace {

using core::isSet;
using core::Sounding;

std::size_t idx(int value) { return static_cast<std::size_t>(value); }

std::size_t residualCount(const Sounding& S) {
  return idx(std::max(0, S.NDATA())) * idx(std::max(0, S.NCOMP()));
}

float median(std::vector<float> values) {
  if (values.empty()) return 0.0f;
  const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

bool huberInUse(const Sounding& S) { return S.robust && S.huberWeights.size() == residualCount(S); }

}  // namespace

bool weightedFitInUse(const Sounding& S) { return isSet(S.layer.errorWeighting) || S.robust; }

std::vector<float> residualErrors(const Sounding& S) {
  std::vector<float> errors(residualCount(S), 1.0f);
  if (!isSet(S.layer.errorWeighting)) return errors;
  const auto& d = S.data();
  const auto ndata = idx(std::max(0, S.NDATA()));
  std::vector<float> all;
  std::vector<float> columnTypical(idx(std::max(0, S.NCOMP())), 0.0f);
  for (int c = 0; c < S.NCOMP(); ++c) {
    const ResidualForm form = residualForm(S, c);
    std::vector<float> known;
    for (int i = 0; i < S.NDATA(); ++i) {
      float& error = errors[idx(c) * ndata + idx(i)];
      error = 0.0f;
      const float o = d.VOLTS(idx(i), idx(c)), u = d.UVOLTS(idx(i), idx(c));
      if (!(u > 0.0f) || !std::isfinite(u) || o == 0.0f || !std::isfinite(o)) continue;
      const float e = u / std::fabs(o);
      switch (form) {
        case ResidualForm::Log10:
        case ResidualForm::Transient:
          error = std::log10(1.0f + e);
          break;
        case ResidualForm::Relative:
          error = e;
          break;
        case ResidualForm::Absolute:
          error = u;
          break;
        case ResidualForm::OffsetPhase:
          error = std::log10(1.0f + u / (std::fabs(o) + forward::kMtPhaseOffset));
          break;
      }
      if (error > 0.0f) known.push_back(error);
    }
    all.insert(all.end(), known.begin(), known.end());
    columnTypical[idx(c)] = median(known);
  }
  // A value without an error bar counts with the typical error of its
  // column, or of all values when its column has none.
  const float overall = all.empty() ? 1.0f : median(all);
  for (int c = 0; c < S.NCOMP(); ++c) {
    const float typical = columnTypical[idx(c)] > 0.0f ? columnTypical[idx(c)] : overall;
    for (int i = 0; i < S.NDATA(); ++i) {
      float& error = errors[idx(c) * ndata + idx(i)];
      if (!(error > 0.0f)) error = typical;
    }
  }
  return errors;
}

std::vector<float> residualWeights(const Sounding& S) {
  std::vector<float> weights = residualErrors(S);
  const bool huber = huberInUse(S);
  for (std::size_t k = 0; k < weights.size(); ++k)
    weights[k] = (huber ? std::sqrt(S.huberWeights[k]) : 1.0f) / weights[k];
  return weights;
}

float weightedFit(const Sounding& S) {
  const std::vector<float> errors = residualErrors(S);
  const bool huber = huberInUse(S);
  double sum = 0.0, weights = 0.0;
  std::size_t k = 0;
  for (int c = 0; c < S.NCOMP(); ++c) {
    for (int i = 0; i < S.NDATA(); ++i, ++k) {
      float d = 0.0f;
      if (!residualOf(S, i, c, d)) continue;
      const double h = huber ? static_cast<double>(S.huberWeights[k]) : 1.0;
      const double r = d / errors[k];
      sum += h * r * r;
      weights += h;
    }
  }
  return weights > 0.0 ? static_cast<float>(std::sqrt(sum / weights)) : 0.0f;
}

int refreshHuberWeights(Sounding& S) {
  const std::size_t n = residualCount(S);
  S.huberWeights.assign(n, 1.0f);
  const std::vector<float> errors = residualErrors(S);
  std::vector<float> normalised(n, 0.0f), magnitudes;
  std::vector<bool> counted(n, false);
  std::size_t k = 0;
  for (int c = 0; c < S.NCOMP(); ++c) {
    for (int i = 0; i < S.NDATA(); ++i, ++k) {
      float d = 0.0f;
      if (!residualOf(S, i, c, d)) continue;
      normalised[k] = d / errors[k];
      counted[k] = true;
      magnitudes.push_back(std::fabs(normalised[k]));
    }
  }
  float scale = 1.4826f * median(magnitudes);
  if (isSet(S.layer.errorWeighting)) scale = std::max(scale, 1.0f);
  if (!(scale > 0.0f)) return 0;  // an exact fit: nothing stands out
  const float limit = kHuberConstant * scale;
  int down = 0;
  for (k = 0; k < n; ++k) {
    const float r = std::fabs(normalised[k]);
    if (counted[k] && r > limit) {
      S.huberWeights[k] = limit / r;
      ++down;
    }
  }
  return down;
}

int downweightedCount(const Sounding& S) {
  if (!huberInUse(S)) return 0;
  return static_cast<int>(std::count_if(S.huberWeights.begin(), S.huberWeights.end(),
                                        [](float h) { return h < 1.0f; }));
}

}  // namespace zeva::inversion
