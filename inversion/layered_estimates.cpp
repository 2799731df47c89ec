#include "inversion/layered_estimates.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "forward/mt_depth_transforms.h"
#include "forward/tem_forward.h"
#include "forward/tem_frequency_response.h"
#include "forward/tem_units.h"
#include "inversion/model_estimation.h"
#include "inversion/smooth_model.h"

namespace zeva::inversion {

namespace {

using core::Sounding;

constexpr float kStepPerSample = 1.0f / kSamplesPerDecade;

std::vector<EstimatedLayer> layersOf(const StepFit& fit) {
  std::vector<EstimatedLayer> layers;
  float top = 0.0f;
  for (std::size_t j = 0; j < fit.resistivity.size(); ++j) {
    const bool last = j >= fit.bottomDepth.size();
    layers.push_back({fit.resistivity[j], last ? 0.0f : fit.bottomDepth[j] - top});
    if (!last) top = fit.bottomDepth[j];
  }
  return layers;
}

}  // namespace

StepFit blockCurve(const std::vector<float>& depth, const std::vector<float>& resistivity) {
  const std::size_t n = std::min(depth.size(), resistivity.size());
  if (n < 2) return fitSteps(depth, resistivity, 1);
  std::vector<float> z, rho;
  const float first = std::log10(depth.front()), last = std::log10(depth[n - 1]);
  std::size_t i = 0;
  for (float u = first; u <= last + 1e-4f; u += kStepPerSample) {
    while (i + 2 < n && std::log10(depth[i + 1]) < u) ++i;
    const float u0 = std::log10(depth[i]), u1 = std::log10(depth[i + 1]);
    const float v0 = std::log10(resistivity[i]), v1 = std::log10(resistivity[i + 1]);
    const float t = u1 > u0 ? std::clamp((u - u0) / (u1 - u0), 0.0f, 1.0f) : 0.0f;
    z.push_back(std::pow(10.0f, u));
    rho.push_back(std::pow(10.0f, v0 + t * (v1 - v0)));
  }
  return fitStepsWithin(z, rho, kBlockyTolerancePercent, kMaxEstimatedLayers);
}

bool EstimateMtModel(Sounding& S, ui::Toolkit& toolkit) {
  if (S.NDATA() < 3) {
    toolkit.information(kEstimateTooFewPoints);
    return false;
  }
  forward::DepthCurve curve;
  if (S.NCOMP() >= 2) curve = forward::NiblettModel(S, false);
  if (curve.depth.size() < 2) curve = forward::BostickModel(S, false);
  if (curve.depth.empty()) {
    toolkit.information(std::string(kEstimateUnknownType) +
                        std::string(S.header.dataType.padded()));
    return false;
  }
  return setEstimatedModel(S, layersOf(blockCurve(curve.depth, curve.resistivity)), 1.0f, toolkit);
}

bool EstimateTemModel(Sounding& S, ui::Toolkit& toolkit) {
  if (S.NDATA() < 3) {
    toolkit.information(kEstimateTooFewPoints);
    return false;
  }
  // Gates in time order; the curve keeps a gate only when its depth lies
  // below the last one kept (rho_a falling fast can pull the depth back).
  const std::vector<float> rhoA = forward::lateTimeResistivityOfStoredUnit(S);
  if (rhoA.empty()) {
    toolkit.information(forward::unitRefusal(S.header.temVoltageUnit));
    return false;
  }
  const auto& d = S.data();
  std::vector<float> depth, rho;
  for (int i = 0; i < S.NDATA(); ++i) {
    const float t = d.TIME(static_cast<std::size_t>(i), 0) * 1.0e-3f;
    const float r = rhoA[static_cast<std::size_t>(i)];
    if (S.masked(i, 0) || !(t > 0.0f) || !(r > 0.0f) || !std::isfinite(r)) continue;
    const auto z = static_cast<float>(
        0.5 * std::sqrt(2.0 * static_cast<double>(t) * static_cast<double>(r) / forward::kMu0));
    if (!depth.empty() && z <= depth.back()) continue;
    depth.push_back(z);
    rho.push_back(r);
  }
  if (depth.size() < 3) {
    toolkit.information(kEstimateTooFewPoints);
    return false;
  }
  return setEstimatedModel(S, layersOf(blockCurve(depth, rho)), 1.0f, toolkit);
}

bool EstimateFromSmoothModel(Sounding& S, const core::InversionSettings& settings,
                             const forward::ForwardRoutine& forward, RunMonitor& monitor,
                             int fitPane) {
  Sounding SM;
  S.shareDataWith(SM);
  SM.model.NPK = 1;
  SM.model.LROUGH = core::kTrue;
  SM.layer.errorWeighting = S.layer.errorWeighting;
  SM.robust = S.robust;
  const SmoothResult smooth = EstimateSmoothModel(SM, settings, forward, monitor, fitPane);
  if (smooth.status != 0 || smooth.interrupted || !core::isSet(SM.layer.syntheticValid))
    return false;

  // Each smooth layer stands for the geometric middle of its depth range.
  const int n = SM.NLAYER();
  std::vector<float> middle, rho;
  for (int j = 0; j < n; ++j) {
    const float bottom = j + 1 < n ? SM.M.PAR[SM.geometryIndex(j)] : 0.0f;
    const float previous = j > 0 ? SM.M.PAR[SM.geometryIndex(j - 1)] : 0.0f;
    const float next = j + 2 < n ? SM.M.PAR[SM.geometryIndex(j + 1)] : 0.0f;
    float z = 0.0f;
    if (j == 0)
      z = bottom * std::sqrt(bottom / next);  // half a step above the first boundary
    else if (j + 1 == n)
      z = previous * std::sqrt(previous / SM.M.PAR[SM.geometryIndex(j - 2)]);
    else
      z = std::sqrt(previous * bottom);
    middle.push_back(z);
    rho.push_back(SM.M.PAR[static_cast<std::size_t>(j)]);
  }
  return setEstimatedModel(S, layersOf(blockCurve(middle, rho)), 1.0f, monitor.toolkit());
}

}  // namespace zeva::inversion
