#include "inversion/smooth_model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>
#include <vector>

#include "core/record/data_type.h"
#include "forward/em_conductivity_forward.h"
#include "forward/tem_forward.h"
#include "forward/tem_frequency_response.h"
#include "inversion/inversion_steps.h"

namespace zeva::inversion {

using core::Sounding;

namespace {

constexpr float kMissing = 1.0e10f;
// The MaxMin half-space search ends at the first fit below this (percent).
constexpr float kHalfSpaceGoodFit = 1.0f;
// Starting values when the data give none (all readings missing).
constexpr float kFallbackResistivity = 100.0f;
constexpr float kFallbackIp = 5.0f;

std::size_t idx(int value) { return static_cast<std::size_t>(value); }

std::span<const float> dataColumn(const Sounding& S, int c) {
  const auto column = S.data().VOLTS.column(idx(c));
  return column.first(std::min(column.size(), idx(std::max(0, S.NDATA()))));
}

int smoothLayerCount(const Sounding& SM) {
  const core::Family family = core::familyOf(SM.header.dataType);
  const bool perValue = family == core::Family::MaxMin || (family == core::Family::EmConductivity &&
                                                           SM.header.mode == forward::kBothDipoles);
  return perValue ? SM.NDATA() * SM.NCOMP() : SM.NDATA();
}

// The MaxMin half-space search: InvertMany from 1 to 100 000 ohm-m, a decade
// apart, keeping the best fit and stopping at a fit below 1 %. An interrupt
// ends the search with the best half-space so far.
float maxMinHalfSpace(Sounding& SM, const core::InversionSettings& settings,
                      const forward::ForwardRoutine& forward, RunMonitor& monitor, int fitPane) {
  const core::ModelHeader kept = SM.model;
  SM.model.NLAYER = 1;
  SM.model.NPAR = core::parameterCount(1, SM.NPK());
  for (int j = 0; j < SM.NPAR(); ++j) SM.M.LFIX[idx(j)] = core::kFalse;
  monitor.toolkit().setStatus(kSmoothLayerPane, smoothLayerText(1));
  float best = 1.0e20f;
  float rho0 = 0.0f;
  for (int k = 0; k <= 5; ++k) {
    SM.M.PAR[0] = std::pow(10.0f, static_cast<float>(k));
    SM.layer.syntheticValid = core::kFalse;
    const InvertManyResult run = InvertMany(SM, forward, settings, monitor, fitPane);
    if (run.interrupted) break;
    if (SM.layer.PCTERR < best) {
      best = SM.layer.PCTERR;
      rho0 = SM.M.PAR[0];
      if (best < kHalfSpaceGoodFit) break;
    }
  }
  SM.layer.syntheticValid = core::kFalse;
  SM.model = kept;
  // Interrupted before any fit: a half-space of typical resistivity.
  return rho0 > 0.0f ? rho0 : kFallbackResistivity;
}

}  // namespace

float meanOfValid(std::span<const float> values) {
  float sum = 0.0f;
  int count = 0;
  for (float v : values)
    if (v < kMissing) sum += v, ++count;
  return count > 0 ? sum / static_cast<float>(count) : 0.0f;
}

void widenRange(std::span<const float> values, float& low, float& high) {
  for (float v : values) {
    if (std::isnan(v) || std::fabs(v) > 1.0e15f || (v != 0.0f && std::fabs(v) < 1.0e-30f)) continue;
    low = std::min(low, v);
    high = std::max(high, v);
  }
}

std::string smoothLayerText(int layers) {
  char text[32];
  std::snprintf(text, sizeof text, "%3d Smooth Layers", layers);
  return text;
}

std::string_view smoothModelTitle(const Sounding& SM) {
  return core::isSet(SM.model.LROUGH) ? kOccamTitle : kRidgeRegressionTitle;
}

namespace {

// No smooth model: the arrays freed, the user told why, the status returned.
int refuseSmooth(Sounding& SM, ui::Toolkit& toolkit, std::string_view message, int status) {
  SM.freeModelArrays();
  SM.model.NLAYER = SM.model.NPAR = 0;
  toolkit.information(message);
  return status;
}

// The positive abscissae of the readings (spacings, frequencies, times), or
// for a conductivity meter the effective penetration depth of each dipole
// mode read. Only these can bound a depth range.
std::vector<float> positiveAbscissae(const Sounding& SM) {
  const auto& d = SM.data();
  const int ndata = std::min(SM.NDATA(), static_cast<int>(d.TIME.rows()));
  std::vector<float> abscissae;
  const core::Family family = core::familyOf(SM.header.dataType);
  if (family == core::Family::EmConductivity && d.TIME.cols() >= 3) {
    const int mode = SM.header.mode;
    for (int i = 0; i < ndata; ++i) {
      const float spacing = d.TIME(idx(i), 1), height = d.TIME(idx(i), 2);
      if (mode != forward::kVerticalDipoles)
        abscissae.push_back(forward::effectivePenetrationDepth('H', spacing, height));
      if (mode != forward::kHorizontalDipoles)
        abscissae.push_back(forward::effectivePenetrationDepth('V', spacing, height));
    }
  } else {
    const auto column = d.TIME.column(0);
    abscissae.assign(column.begin(), column.begin() + ndata);
  }
  std::erase_if(abscissae, [](float v) { return !(v > 0.0f); });
  return abscissae;
}

// Starting resistivity and IP value of every smooth layer.
struct SmoothStart {
  float rho0 = 0.0f;
  float m0 = kFallbackIp;
};

// The starting values from the data; for MaxMin, MT and TEM data the depth
// range follows from the starting resistivity and the abscissa range [zmin,
// zmax].
SmoothStart startingValues(Sounding& SM, const core::InversionSettings& settings,
                           const forward::ForwardRoutine& forward, RunMonitor& monitor, int fitPane,
                           float& zmin, float& zmax) {
  SmoothStart start;
  const core::Family family = core::familyOf(SM.header.dataType);
  const int ncomp = SM.NCOMP();
  if (family == core::Family::MaxMin) {
    start.rho0 = maxMinHalfSpace(SM, settings, forward, monitor, fitPane);
    const float deepest = 33.0f * std::sqrt(start.rho0 / zmin);
    const float shallowest = 3.0f * std::sqrt(start.rho0 / zmax);
    zmax = deepest, zmin = shallowest;
  } else if (family == core::Family::Magnetotelluric) {
    start.rho0 = meanOfValid(dataColumn(SM, 0));
    const float deepest = 100.0f * std::sqrt(start.rho0 / zmin);
    const float shallowest = 3.0f * std::sqrt(start.rho0 / zmax);
    zmax = deepest, zmin = shallowest;
  } else if (family == core::Family::TimeDomainEm) {
    // The late-time resistivity's geometric mean, and the depths the first
    // and last gates reach: a quarter of the first one's diffusion depth
    // sqrt(2 t rho / mu0), the whole of the last one's.
    std::vector<float> rho = forward::lateTimeResistivityOfStoredUnit(SM);
    std::erase_if(rho, [](float r) { return !(r > 0.0f) || !std::isfinite(r); });
    double logSum = 0.0;
    for (float r : rho) logSum += std::log(double(r));
    if (!rho.empty()) start.rho0 = static_cast<float>(std::exp(logSum / double(rho.size())));
    float tFirst = 1.0e30f, tLast = -1.0e30f;
    widenRange(positiveAbscissae(SM), tFirst, tLast);
    const auto diffusionDepth = [&](float ms) {
      return static_cast<float>(std::sqrt(2.0e-3 * static_cast<double>(ms) *
                                          static_cast<double>(start.rho0) / forward::kMu0));
    };
    if (start.rho0 > 0.0f) zmin = 0.25f * diffusionDepth(tFirst), zmax = diffusionDepth(tLast);
  } else if (family == core::Family::EmConductivity) {
    const int mode = SM.header.mode;
    if (mode == forward::kVerticalDipoles && ncomp >= 2) {
      start.rho0 = meanOfValid(dataColumn(SM, 1));
    } else if (mode == forward::kHorizontalDipoles || ncomp < 2) {
      start.rho0 = meanOfValid(dataColumn(SM, 0));
    } else {
      std::vector<float> both(dataColumn(SM, 0).begin(), dataColumn(SM, 0).end());
      both.insert(both.end(), dataColumn(SM, 1).begin(), dataColumn(SM, 1).end());
      start.rho0 = meanOfValid(both);
    }
  } else {
    start.rho0 = 0.5f * (meanOfValid(dataColumn(SM, 0)) + meanOfValid(dataColumn(SM, ncomp - 1)));
    if (ncomp >= 2) start.m0 = meanOfValid(dataColumn(SM, 1));
  }
  // The parameters are fitted in log: a start that is not positive could
  // never move.
  if (!(start.rho0 > 0.0f) || !std::isfinite(start.rho0)) start.rho0 = kFallbackResistivity;
  if (!(start.m0 > 0.0f) || !std::isfinite(start.m0)) start.m0 = kFallbackIp;
  return start;
}

// Every layer at the starting values, the boundaries fixed at depths in
// geometric progression from zmin to zmax.
void fillStartingModel(Sounding& SM, int nlayer, int npk, const SmoothStart& start, float zmin,
                       float zmax) {
  auto& M = SM.M;
  for (int j = 0; j < nlayer; ++j) {
    M.PAR[idx(j)] = start.rho0;
    for (int block = 1; block < npk; ++block) M.PAR[idx(block * nlayer + j)] = start.m0;
  }
  const float q = std::exp(std::log(zmax / zmin) / static_cast<float>(nlayer - 1));
  float depth = zmin;
  for (int b = 0; b + 1 < nlayer; ++b, depth *= q) M.PAR[SM.geometryIndex(b)] = depth;
  for (int j = 0; j < SM.NPAR(); ++j) {
    M.LMTP[idx(j)] = core::kFalse;
    M.LFIX[idx(j)] = core::logical(j >= npk * nlayer);
  }
  SM.model.depths = core::kTrue;
  SM.layer.syntheticValid = SM.layer.resolutionValid = SM.layer.equivalenceValid = core::kFalse;
}

}  // namespace

int StartSmooth(Sounding& SM, const core::InversionSettings& settings,
                const forward::ForwardRoutine& forward, RunMonitor& monitor, int fitPane,
                const SmoothDepthRange& range) {
  ui::Toolkit& toolkit = monitor.toolkit();
  if (SM.NDATA() < 1) return kSmoothTooFewLayers;
  const int nlayer = smoothLayerCount(SM);
  const int npk = std::max(1, SM.NPK());

  SM.freeModelArrays();
  SM.model.NLAYER = SM.model.NPAR = 0;
  if (nlayer < kMinimumSmoothLayers) {
    toolkit.information(kSmoothTooFewData);
    return kSmoothTooFewLayers;
  }
  SM.model.NLAYER = nlayer;
  SM.model.NPK = npk;
  if (!SM.allocateModel()) {
    SM.model.NLAYER = SM.model.NPAR = 0;
    toolkit.information(kSmoothAllocationFailed);
    return kSmoothArraysNotAllocated;
  }

  float zmin = 1.0e30f, zmax = -1.0e30f;
  widenRange(positiveAbscissae(SM), zmin, zmax);
  if (zmax <= 0.0f) return refuseSmooth(SM, toolkit, kSmoothTooFewData, kSmoothTooFewLayers);
  if (core::familyOf(SM.header.dataType) == core::Family::EmConductivity)
    zmin *= 1.5f, zmax *= 1.5f;
  zmin *= 0.25f;
  zmax *= 0.5f;

  const SmoothStart start = startingValues(SM, settings, forward, monitor, fitPane, zmin, zmax);
  if (range.zmin) zmin = *range.zmin;
  if (range.zmax) zmax = *range.zmax;
  if (!(zmin > 0.0f) || !(zmax > zmin) || !std::isfinite(zmax))
    return refuseSmooth(SM, toolkit, kSmoothBadRangeMessage, kSmoothBadDepthRange);

  fillStartingModel(SM, nlayer, npk, start, zmin, zmax);
  toolkit.setStatus(kSmoothLayerPane, smoothLayerText(nlayer));
  return 0;
}

namespace {

// The inversion runs of a smooth fit, after StartSmooth.
void fitSmoothModel(Sounding& SM, const core::InversionSettings& settings,
                    const forward::ForwardRoutine& forward, RunMonitor& monitor, int fitPane,
                    SmoothResult& result) {
  const core::Family family = core::familyOf(SM.header.dataType);
  const bool staged = SM.NPK() > 1 && SM.NCOMP() >= 2 && family != core::Family::MaxMin &&
                      family != core::Family::EmConductivity &&
                      family != core::Family::Magnetotelluric;
  const auto run = [&](const core::InversionSettings& control) {
    const InvertManyResult outcome = InvertMany(SM, forward, control, monitor, fitPane);
    result.status = outcome.status;
    result.interrupted = outcome.interrupted;
    return outcome.status == 0 && !outcome.interrupted;
  };
  if (!staged) {
    run(settings);
    return;
  }

  const int nlayer = SM.NLAYER();
  const int ipEnd = SM.NPK() * nlayer;
  auto& LFIX = SM.M.LFIX;
  const std::vector<core::Logical> userFixes = LFIX;

  // Stage 1: resistivities alone, the IP column left out of the fit.
  {
    auto& mask = SM.data().LMASK;
    const std::vector<core::Logical> userIpMask(mask.column(1).begin(), mask.column(1).end());
    const core::Logical userMasking = SM.header.maskingOn;
    for (int j = nlayer; j < ipEnd; ++j) LFIX[idx(j)] = core::kTrue;
    for (core::Logical& flag : mask.column(1)) flag = core::kTrue;
    SM.header.maskingOn = core::kTrue;
    const bool go = run(kSmoothStageSettings);
    std::copy(userIpMask.begin(), userIpMask.end(), mask.column(1).begin());
    SM.header.maskingOn = userMasking;
    LFIX = userFixes;
    if (!go) return;
  }
  // Stage 2: IP parameters alone.
  monitor.toolkit().requestRedraw();
  SM.layer.syntheticValid = core::kFalse;
  for (int j = 0; j < nlayer; ++j) LFIX[idx(j)] = core::kTrue;
  const bool go = run(kSmoothStageSettings);
  LFIX = userFixes;
  if (!go) return;
  // Stage 3: every layer property; the boundaries stay fixed.
  monitor.toolkit().requestRedraw();
  SM.layer.syntheticValid = core::kFalse;
  run(settings);
}

}  // namespace

SmoothResult EstimateSmoothModel(Sounding& SM, const core::InversionSettings& settings,
                                 const forward::ForwardRoutine& forward, RunMonitor& monitor,
                                 int fitPane, const SmoothDepthRange& range) {
  SmoothResult result;
  result.status = StartSmooth(SM, settings, forward, monitor, fitPane, range);
  if (result.status != 0) return result;
  SM.huberWeights.clear();
  runForward(SM, forward);
  result.startFit = fitMeasure(SM);
  const float startPercent = SM.layer.PCTERR;
  fitSmoothModel(SM, settings, forward, monitor, fitPane, result);
  // A robust fit changes its weights as it goes; a lower RMS counts too.
  result.improved = fitMeasure(SM) < result.startFit || SM.layer.PCTERR < startPercent ||
                    (startPercent < settings.fitFloorPercent && result.status == 0);
  if (!result.improved) SM.layer.syntheticValid = core::kFalse;
  return result;
}

}  // namespace zeva::inversion
