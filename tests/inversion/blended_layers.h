#pragma once
// A stand-in forward routine for the inversion tests: a smooth analytic
// response of a layered model that follows the forward-routine contract and
// whose derivatives are known exactly. At spacing a the log of the apparent
// value is a blend of the logs of the layer values, each layer weighted by how
// much of the "current" flows in it: the share below a boundary at depth z is
// sigma(a / z) = (a/z)^2 / (1 + (a/z)^2). Column 2 (when present) blends the
// second parameter block linearly, like an apparent chargeability.

#include <cmath>
#include <cstddef>
#include <vector>

#include "core/record/sounding.h"
#include "forward/forward_routine.h"

namespace zeva::inversion::test {

// Layer weights at spacing a for boundary depths z (NLAYER - 1 of them).
inline std::vector<float> blendWeights(float a, const std::vector<float>& z) {
  std::vector<float> below(z.size());
  for (std::size_t j = 0; j < z.size(); ++j) {
    const float t = (a / z[j]) * (a / z[j]);
    below[j] = t / (1.0f + t);
  }
  std::vector<float> w(z.size() + 1);
  for (std::size_t j = 0; j < w.size(); ++j) {
    const float top = j == 0 ? 1.0f : below[j - 1];
    const float bottom = j == z.size() ? 0.0f : below[j];
    w[j] = top - bottom;
  }
  return w;
}

// The boundary depths of S's model, or empty when a depths-flag model does not
// increase (the model is refused).
inline bool boundaryDepths(core::Sounding& S, std::vector<float>& z) {
  const int nl = S.NLAYER(), g0 = S.NPK() * nl;
  std::vector<float>& par = S.M.PAR;
  z.clear();
  float depth = 0.0f;
  for (int j = 0; j < nl - 1; ++j) {
    float& value = par[static_cast<std::size_t>(g0 + j)];
    if (core::isSet(S.model.depths)) {
      if (!z.empty() && value <= z.back()) return false;
      z.push_back(value);
    } else {
      if (value <= 0.0f) value = 10.0f;
      depth += value;
      z.push_back(depth);
    }
  }
  return true;
}

// The routine itself; `calls` counts the runs and `seen` keeps the PAR of
// every run when not null.
struct BlendedLayers {
  int* calls = nullptr;
  std::vector<std::vector<float>>* seen = nullptr;

  void operator()(core::Sounding& S) const {
    if (calls) ++*calls;
    if (seen) seen->push_back(S.M.PAR);
    const int nl = S.NLAYER(), nd = S.NDATA();
    if (nl < 1 || nd < 1) return;
    std::vector<float> z;
    if (!boundaryDepths(S, z)) {
      S.layer.RMS = S.layer.PCTERR = forward::kRefusedFit;
      for (int i = 0; i < nd; ++i)
        S.SVOLT(static_cast<std::size_t>(i), 0) = forward::kRefusedSynthetic;
      return;
    }
    std::vector<float>& par = S.M.PAR;
    for (int j = 0; j < nl; ++j)
      if (par[static_cast<std::size_t>(j)] <= 0.0f) par[static_cast<std::size_t>(j)] = 10.0f;
    for (int i = 0; i < nd; ++i) {
      const auto ii = static_cast<std::size_t>(i);
      const std::vector<float> w = blendWeights(S.data().TIME(ii, 0), z);
      float logValue = 0.0f, second = 0.0f;
      for (int j = 0; j < nl; ++j) {
        const auto jj = static_cast<std::size_t>(j);
        logValue += w[jj] * std::log10(par[jj]);
        if (S.NPK() > 1) second += w[jj] * par[jj + static_cast<std::size_t>(nl)];
      }
      S.SVOLT(ii, 0) = std::pow(10.0f, logValue);
      if (S.NCOMP() > 1) S.SVOLT(ii, 1) = second;
    }
    float sum = 0.0f;
    int counted = 0;
    for (int c = 0; c < S.NCOMP(); ++c) {
      for (int i = 0; i < nd; ++i) {
        const auto ii = static_cast<std::size_t>(i), cc = static_cast<std::size_t>(c);
        const float o = S.data().VOLTS(ii, cc);
        if (S.masked(i, c) || o >= forward::kMissingReading) continue;
        const float d = std::log10(std::fabs(S.SVOLT(ii, cc) / o) + 1.0e-30f);
        sum += d * d;
        ++counted;
      }
    }
    S.layer.RMS = counted > 0 ? std::sqrt(sum / static_cast<float>(counted)) : 0.0f;
    S.layer.PCTERR = (std::pow(10.0f, S.layer.RMS) - 1.0f) * 100.0f;
    S.layer.syntheticValid = core::kTrue;
    S.layer.saved = core::kFalse;
  }
};

// A sounding of `spacings.size()` readings in NCOMP columns (log columns)
// with a model of the given layer values and thicknesses (NPK blocks of
// layer values one after the other in `layerValues`).
inline void makeSounding(core::Sounding& S, const std::vector<float>& spacings, int ncomp,
                         int nlayer, int npk, const std::vector<float>& layerValues,
                         const std::vector<float>& thicknesses) {
  S.header.dataType.assign("Schlumberger Array");
  S.header.NDATA = static_cast<int>(spacings.size());
  S.header.NCOMP = ncomp;
  S.header.NGEOM = 2;
  S.header.NSETS = 1;
  S.header.maskingOn = core::kTrue;
  S.allocateData();
  for (std::size_t i = 0; i < spacings.size(); ++i) {
    S.data().TIME(i, 0) = spacings[i];
    S.data().TIME(i, 1) = spacings[i] / 10.0f;
  }
  for (auto& flag : S.data().LOGDAT) flag = core::kTrue;
  S.model.NLAYER = nlayer;
  S.model.NPK = npk;
  S.allocateModel();
  std::size_t k = 0;
  for (float value : layerValues) S.M.PAR[k++] = value;
  for (float value : thicknesses) S.M.PAR[k++] = value;
}

// Log-spaced spacings from `first` to `last`.
inline std::vector<float> logSpacings(float first, float last, int count) {
  std::vector<float> a(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i)
    a[static_cast<std::size_t>(i)] =
        first * std::pow(last / first, static_cast<float>(i) / static_cast<float>(count - 1));
  return a;
}

// Makes the observed data the synthetics of the current model.
inline void observeModel(core::Sounding& S, const forward::ForwardRoutine& forward) {
  forward(S);
  for (int c = 0; c < S.NCOMP(); ++c)
    for (int i = 0; i < S.NDATA(); ++i)
      S.data().VOLTS(static_cast<std::size_t>(i), static_cast<std::size_t>(c)) =
          S.SVOLT(static_cast<std::size_t>(i), static_cast<std::size_t>(c));
}

}  // namespace zeva::inversion::test
