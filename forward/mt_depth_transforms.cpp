#include "forward/mt_depth_transforms.h"

#include <cmath>

#include "core/record/logical.h"

namespace zeva::forward {

using core::isSet;

DepthCurve BostickModel(const core::Sounding& S, bool includeMasked) {
  DepthCurve curve;
  const int n = S.NDATA();
  const auto& d = S.data();
  if (n < 2 || d.VOLTS.cols() < 1 || d.TIME.cols() < 1) return curve;
  auto masked = [&](int i) {
    return !includeMasked && d.LMASK.cols() >= 1 && isSet(d.LMASK(i, 0));
  };
  float L = std::log10(d.TIME(0, 0)), R = std::log10(d.VOLTS(0, 0));
  for (int j = 0; j + 1 < n; ++j) {
    const float f0 = d.TIME(j, 0), f1 = d.TIME(j + 1, 0);
    if (masked(j) || std::fabs(2.0f * (f0 - f1) / (f0 + f1)) <= 0.1f) continue;
    const float L1 = std::log10(f1), R1 = std::log10(d.VOLTS(j + 1, 0));
    const float rhoM = std::pow(10.0f, (R + R1) / 2.0f);
    const float fM = std::pow(10.0f, (L + L1) / 2.0f);
    const float m = (R1 - R) / (L1 - L);
    L = L1;
    R = R1;
    if (!std::isfinite(m) || std::fabs(m) > 0.999f) continue;
    curve.resistivity.push_back(rhoM * (1.0f - m) / (1.0f + m));
    curve.depth.push_back(503.0f * std::sqrt(0.5f * rhoM / fM));
  }
  return curve;
}

DepthCurve NiblettModel(const core::Sounding& S, bool includeMasked) {
  DepthCurve all;
  const int n = S.NDATA();
  const auto& d = S.data();
  if (n < 1 || d.VOLTS.cols() < 2 || d.TIME.cols() < 1) return all;
  for (int i = 0; i < n; ++i) {
    if (!includeMasked && d.LMASK.cols() >= 1 && isSet(d.LMASK(i, 0))) continue;
    const float f = d.TIME(i, 0), rho = d.VOLTS(i, 0), phase = d.VOLTS(i, 1);
    if (i > 0) {
      const float previous = d.TIME(i - 1, 0);
      const bool same = previous == 0.0f ? std::fabs(f) < 1e-6f
                                         : std::fabs(f - previous) <= 1e-6f * std::fabs(previous);
      if (same) continue;
    }
    if (phase == 0.0f || f <= 0.0f || rho <= 0.0f) continue;
    all.resistivity.push_back((90.0f / phase - 1.0f) * rho);
    all.depth.push_back(355.88126f * std::sqrt(rho / f));
  }
  // Keep positive resistivities at increasing depths only. The depth grows as
  // the frequency falls, so readings stored by rising frequency are taken from
  // the last; otherwise only the deepest (first) one would survive.
  DepthCurve kept;
  float deepest = -1.0f;
  const std::size_t count = all.depth.size();
  const bool risingFrequency = n >= 2 && d.TIME(n - 1, 0) > d.TIME(0, 0);
  for (std::size_t k = 0; k < count; ++k) {
    const std::size_t i = risingFrequency ? count - 1 - k : k;
    if (!(all.resistivity[i] > 0.0f) || !(all.depth[i] > deepest)) continue;
    kept.resistivity.push_back(all.resistivity[i]);
    kept.depth.push_back(all.depth[i]);
    deepest = all.depth[i];
  }
  return kept;
}

}  // namespace zeva::forward
