#include "inversion/model_estimation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <new>
#include <numeric>
#include <string>

#include "core/record/data_type.h"
#include "inversion/cubic_spline.h"
#include "inversion/segment_shifting.h"

namespace zeva::inversion {

using core::Sounding;

namespace {

using core::DataTypeId;
using core::DataTypeTraits;
using core::traitsOf;

constexpr float kMissing = 1.0e10f;
constexpr float kStepPerSample = 1.0f / kSamplesPerDecade;
// Ratio of successive log-log slopes in the end extension.
constexpr float kSlopeDecay = 0.5f;

// Inverse filter from the Schlumberger apparent resistivity to the
// resistivity transform, six samples per decade; the weights sum to 1, so a
// homogeneous earth has a constant transform.
constexpr std::array<float, 25> kTransformFilter = {
    0.001481f, 0.0006846f, 0.001022f, 0.001483f,  0.002194f, 0.003203f, 0.004718f,
    0.006907f, 0.01015f,   0.01488f,  0.02184f,   0.03198f,  0.04677f,  0.06802f,
    0.09804f,  0.1379f,    0.1853f,   0.2206f,    0.1961f,   0.03287f,  -0.1235f,
    0.04501f,  -0.008794f, 0.001418f, -0.0002766f};
// The filter reads 16 copies of the first value ahead of the curve.
constexpr int kFilterLeadIn = 16;

// Abscissa of the first transform sample: lambda(0) = 1 / (1.89 x(0)).
constexpr float kTransformShift = 1.89f;

// The tolerance growth stops here; by then every sample lies inside the band
// and the stripping yields a half-space.
constexpr int kMaxToleranceSteps = 60;

// A reading of the working copy.
struct Reading {
  int index;  // zero-based reading in the sounding, for the segment factors
  float x, y;
};

bool usable(float value) { return std::isfinite(value) && value > 0.0f && value < kMissing; }

// The weighted straight-line fit of x = ln K - 2 h lambda over the
// informative samples of one layer.
struct LineSums {
  float w = 0, wl = 0, wx = 0, wxl = 0, wll = 0;
  int count = 0;

  void add(float weight, float lambda, float x, float sign) {
    w += sign * weight;
    wl += sign * weight * lambda;
    wx += sign * weight * x;
    wxl += sign * weight * x * lambda;
    wll += sign * weight * lambda * lambda;
    count += sign > 0 ? 1 : -1;
  }
  float thickness() const { return -(w * wxl - wl * wx) / (2.0f * (w * wll - wl * wl)); }
  float lnK(float h) const { return (wx + 2.0f * h * wl) / w; }
};

// Closes the current layer of resistivity `rho` on the line of its
// informative samples: its thickness h, and the resistivity below from the
// reflection coefficient K (negative when the transform fell across the
// layer's samples). A K of 1 or more would mean an infinite contrast and is
// held at 0.98. False when the thickness is not positive or a value is not a
// number.
bool closeLayer(const LineSums& sums, float firstT, float latestT, float& rho,
                std::vector<EstimatedLayer>& layers) {
  float h = sums.thickness();
  float K = std::exp(sums.lnK(h));
  if (K >= 1.0f) {
    K = 0.98f;
    h = (sums.w * std::log(0.98f) - sums.wx) / (2.0f * sums.wl);
  }
  if (latestT < firstT) K = -K;
  const float below = rho * (1.0f + K) / (1.0f - K);
  if (!(h > 0.0f) || !std::isfinite(h) || !std::isfinite(below) || below == 0.0f) return false;
  layers.push_back({rho, h});
  rho = below;
  return true;
}

// One stripping at a fixed tolerance; empty when it yields a thickness that
// is not positive or a value that is not a number.
std::optional<std::vector<EstimatedLayer>> stripOnce(std::span<const float> transform,
                                                     std::span<const float> lambda,
                                                     float firstResistivity, float tolerance) {
  const float q = 1.0f + tolerance / 100.0f;
  std::vector<EstimatedLayer> layers;
  float rho = firstResistivity;
  LineSums sums;
  float firstT = 0.0f, latestT = 0.0f, previousT = 0.0f;
  const std::size_t m = std::min(transform.size(), lambda.size());

  for (std::size_t k = 0; k < m;) {
    std::array<float, 3> band = {transform[k], q * transform[k], transform[k] / q};
    bool reducible = true;
    for (const EstimatedLayer& above : layers) {
      const float u = std::tanh(lambda[k] * above.thickness);
      for (float& value : band)
        value = (value - above.resistivity * u) / (1.0f - value * u / above.resistivity);
    }
    for (float value : band)
      if (!(value > 0.0f) || !std::isfinite(value)) reducible = false;
    const auto [T, hi, lo] = band;
    if (!reducible || (lo <= rho && hi >= rho)) {
      ++k;  // unusable, or explained by the current layer
      continue;
    }

    const auto reflection = [rho](float value) {
      return std::log(std::fabs((value - rho) / (value + rho)));
    };
    const float x = reflection(T);
    const float xmin = std::min(reflection(lo), reflection(hi));
    const float xmax = std::max(reflection(lo), reflection(hi));
    const float weight = 1.0f / ((xmax - xmin) * (xmax - xmin));
    if (!std::isfinite(weight) || !std::isfinite(x)) return std::nullopt;
    sums.add(weight, lambda[k], x, 1.0f);
    previousT = latestT;
    latestT = T;
    if (sums.count == 1) firstT = T;

    float predicted = 0.5f * (xmin + xmax);
    if (sums.count >= 2) {
      const float h = sums.thickness();
      predicted = sums.lnK(h) - 2.0f * h * lambda[k];
    }
    if (predicted >= xmin && predicted <= xmax) {
      ++k;
      continue;
    }

    // The sample leaves the line: the layer closes on the samples before it,
    // and the same sample starts the next layer.
    sums.add(weight, lambda[k], x, -1.0f);
    if (!closeLayer(sums, firstT, previousT, rho, layers)) return std::nullopt;
    sums = LineSums{};
  }
  // The samples ran out. A line of two or more informative samples still
  // describes the boundary below the current layer: it is closed, and the
  // layer below becomes the half-space.
  if (sums.count >= 2 && !closeLayer(sums, firstT, latestT, rho, layers)) return std::nullopt;
  layers.push_back({std::fabs(rho), 0.0f});
  return layers;
}

// The working copy of the curve: segment factors applied, unusable readings
// left out, overlapped readings removed.
struct PreparedCurve {
  std::vector<float> x, y;
  float groundingCeiling = 0.0f;  // ymax of a grounding-impedance sounding
};

enum class Preparation { Ready, TooFewPoints, Duplicates };

Preparation prepareCurve(Sounding& S, std::span<const float> values, PreparedCurve& curve) {
  const auto& d = S.data();
  const int n = static_cast<int>(
      std::min({static_cast<std::size_t>(std::max(0, S.NDATA())), d.TIME.rows(), values.size()}));
  std::vector<Reading> readings;
  readings.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    if (S.masked(i, 0)) continue;
    readings.push_back(
        {i, d.TIME(static_cast<std::size_t>(i), 0), values[static_cast<std::size_t>(i)]});
  }
  std::erase_if(readings, [](const Reading& r) { return !std::isfinite(r.y) || r.y >= kMissing; });

  const DataTypeTraits& type = traitsOf(S.header.dataType);
  if (type.id == DataTypeId::GroundingImpedance) {
    float largest = 0.0f;
    for (const Reading& r : readings) largest = std::max(largest, r.y);
    curve.groundingCeiling = 1.05f * largest;
    for (Reading& r : readings) {
      r.x = r.x / 2.0f;
      r.y = (curve.groundingCeiling - r.y) * 3.1416f * r.x / 2.0f;
    }
  }

  // Segments of a Schlumberger sounding are brought to one level, as the
  // shift mode asks, before the overlapping readings are dropped; otherwise
  // the spline would have to pass through the steps between segments.
  inversion::SHIFTP(S);
  const bool schlumberger = type.potentialSpacing;
  if (schlumberger && S.header.shiftMode != 3 && S.header.NSHIFT > 0) {
    float level = 1.0f;
    for (int s = 0; s < S.header.NSHIFT; ++s) {
      const float factor = d.shiftFactor[static_cast<std::size_t>(s)];
      if (!(factor > 0.0f) || !std::isfinite(factor)) continue;
      for (Reading& r : readings)
        if (r.index < d.shiftBreak[static_cast<std::size_t>(s)]) r.y /= factor;
      level *= factor;
    }
    if (S.header.shiftMode == 2)
      for (Reading& r : readings) r.y *= level;
  }
  // Other arrays have no segments; readings entered out of order are sorted.
  if (!schlumberger)
    std::stable_sort(readings.begin(), readings.end(),
                     [](const Reading& a, const Reading& b) { return a.x < b.x; });

  // A reading that a later one overlaps (the later spacing equal or smaller)
  // belongs to an earlier segment and goes.
  std::vector<Reading> kept;
  float smallestLater = std::numeric_limits<float>::infinity();
  for (auto r = readings.rbegin(); r != readings.rend(); ++r) {
    if (r->x < smallestLater) kept.push_back(*r);
    smallestLater = std::min(smallestLater, r->x);
  }
  std::reverse(kept.begin(), kept.end());

  if (type.separationFactor()) {
    // Without a dipole length the spacings stay in dipole lengths.
    const float a = S.header.dipoleLength > 0.0f ? S.header.dipoleLength : 1.0f;
    for (Reading& r : kept) r.x = (r.x + 1.0f) * a;
  }

  std::erase_if(kept, [](const Reading& r) { return !usable(r.x) || !usable(r.y); });
  for (std::size_t i = 1; i < kept.size(); ++i)
    if (kept[i].x == kept[i - 1].x) return Preparation::Duplicates;
  if (kept.size() < 3) return Preparation::TooFewPoints;
  for (const Reading& r : kept) {
    curve.x.push_back(r.x);
    curve.y.push_back(r.y);
  }
  return Preparation::Ready;
}

// The layers of the estimation on `values` (one per reading), or a failure
// with its message (empty when `quiet`).
std::optional<std::vector<EstimatedLayer>> estimateFrom(Sounding& S, std::span<const float> values,
                                                        ui::Toolkit& toolkit, bool quiet,
                                                        float* groundingCeiling) {
  const auto fail = [&](std::string_view text) -> std::optional<std::vector<EstimatedLayer>> {
    if (!quiet) toolkit.information(text);
    return std::nullopt;
  };
  if (S.NDATA() < 3) return fail(kEstimateTooFewPoints);
  if (!arrayFactor(S))
    return fail(std::string(kEstimateUnknownType) + std::string(S.header.dataType.padded()));
  try {
    PreparedCurve curve;
    switch (prepareCurve(S, values, curve)) {
      case Preparation::TooFewPoints:
        return fail(kEstimateTooFewPoints);
      case Preparation::Duplicates:
        return fail(kEstimateDuplicateSpacings);
      case Preparation::Ready:
        break;
    }
    if (groundingCeiling) *groundingCeiling = curve.groundingCeiling;
    return estimateLayers(curve.x, curve.y);
  } catch (const std::bad_alloc&) {
    return fail(kEstimateAllocationFailed);
  }
}

std::vector<float> column(const Sounding& S, std::size_t c) {
  const auto values = S.data().VOLTS.column(c);
  return {values.begin(), values.end()};
}

// Bottom depths of estimated layers (the half-space has none).
std::vector<float> bottomDepths(const std::vector<EstimatedLayer>& layers) {
  std::vector<float> depths;
  float depth = 0.0f;
  for (std::size_t j = 0; j + 1 < layers.size(); ++j)
    depths.push_back(depth += layers[j].thickness);
  return depths;
}

}  // namespace

std::optional<float> arrayFactor(const Sounding& S) {
  switch (traitsOf(S.header.dataType).id) {
    case DataTypeId::Schlumberger:
      return 1.0f;
    case DataTypeId::Wenner:
    case DataTypeId::GroundingImpedance:
      return 1.3f;
    case DataTypeId::PolePole:
      return 2.0f;
    case DataTypeId::PolarDipole:
      return 0.6667f;
    case DataTypeId::Perpendicular:
      return 0.667f;
    // The abscissae of the dipole arrays become (n + 1) a, lengths already,
    // so the thicknesses need no further factor: multiplying by a once more
    // would make them a times too large.
    case DataTypeId::DipoleDipole:
    case DataTypeId::PoleDipole:
      return 1.0f;
    default:
      return std::nullopt;
  }
}

SampledCurve resampleLogLog(std::span<const float> x, std::span<const float> y) {
  const std::size_t n = std::min(x.size(), y.size());
  std::vector<float> u(n), v(n);
  for (std::size_t i = 0; i < n; ++i) {
    u[i] = std::log10(x[i]);
    v[i] = std::log10(y[i]);
  }
  const CubicSpline spline(u, v);
  SampledCurve curve;
  if (spline.empty()) return curve;
  const float top = u.back();
  const float bottom = u.front();
  // The grid ends exactly on the largest abscissa; a sample below the smallest
  // abscissa would lie outside the spline.
  for (int j = 0; top - static_cast<float>(j) * kStepPerSample >= bottom - 1.0e-5f; ++j) {
    const float at = std::max(bottom, top - static_cast<float>(j) * kStepPerSample);
    curve.x.push_back(std::pow(10.0f, at));
    curve.y.push_back(std::pow(10.0f, spline(at)));
  }
  std::reverse(curve.x.begin(), curve.x.end());
  std::reverse(curve.y.begin(), curve.y.end());
  curve.x.back() = x[n - 1];
  return curve;
}

SampledCurve extendEnds(const SampledCurve& curve) {
  const std::size_t n = curve.y.size();
  if (n == 0) return curve;
  // Least-squares slope of log10 y over the last three samples (half a
  // decade) at one end, per sample step.
  const auto endSlope = [&](bool atStart) {
    const std::size_t count = std::min<std::size_t>(3, n);
    if (count < 2) return 0.0f;
    float sumI = 0, sumV = 0, sumIV = 0, sumII = 0;
    for (std::size_t i = 0; i < count; ++i) {
      const float v = std::log10(curve.y[atStart ? i : n - count + i]);
      const float fi = static_cast<float>(i);
      sumI += fi, sumV += v, sumIV += fi * v, sumII += fi * fi;
    }
    const float c = static_cast<float>(count);
    const float perStep = (c * sumIV - sumI * sumV) / (c * sumII - sumI * sumI);
    return std::clamp(perStep / kStepPerSample, -1.0f, 1.0f) * kStepPerSample;
  };
  const float startSlope = endSlope(true);
  const float finalSlope = endSlope(false);
  const float r = std::pow(10.0f, kStepPerSample);

  // The slope halves with every sample outward, as a two-layer curve
  // flattens towards its asymptote beyond its transition.
  SampledCurve extended;
  std::vector<float> before, after;
  float level = std::log10(curve.y.front()), slope = startSlope;
  for (int j = 1; j <= kEndExtension; ++j, slope *= kSlopeDecay) before.push_back(level -= slope);
  level = std::log10(curve.y.back()), slope = finalSlope;
  for (int j = 1; j <= kEndExtension; ++j, slope *= kSlopeDecay) after.push_back(level += slope);
  for (int j = kEndExtension; j >= 1; --j) {
    extended.x.push_back(curve.x.front() / std::pow(r, static_cast<float>(j)));
    extended.y.push_back(std::pow(10.0f, before[static_cast<std::size_t>(j - 1)]));
  }
  extended.x.insert(extended.x.end(), curve.x.begin(), curve.x.end());
  extended.y.insert(extended.y.end(), curve.y.begin(), curve.y.end());
  for (int j = 1; j <= kEndExtension; ++j) {
    extended.x.push_back(curve.x.back() * std::pow(r, static_cast<float>(j)));
    extended.y.push_back(std::pow(10.0f, after[static_cast<std::size_t>(j - 1)]));
  }
  return extended;
}

std::vector<float> resistivityTransform(std::span<const float> y) {
  const std::size_t n = y.size();
  if (n <= 10) return {};
  std::vector<float> padded(kFilterLeadIn, y[0]);
  padded.insert(padded.end(), y.begin(), y.end());
  std::vector<float> transform(n - 10);
  for (std::size_t k = 0; k < transform.size(); ++k) {
    float sum = 0.0f;
    for (std::size_t i = 0; i < kTransformFilter.size(); ++i)
      sum += kTransformFilter[i] * padded[k + i + 2];
    transform[k] = sum;
  }
  return transform;
}

std::vector<float> transformAbscissae(float firstSpacing, std::size_t count) {
  std::vector<float> lambda(count);
  const float r = std::pow(10.0f, kStepPerSample);
  float value = 1.0f / (kTransformShift * firstSpacing);
  for (float& l : lambda) {
    l = value;
    value /= r;
  }
  return lambda;
}

std::vector<EstimatedLayer> stripLayers(std::span<const float> transform,
                                        std::span<const float> lambda, float firstResistivity,
                                        float tolerancePercent) {
  float tolerance = tolerancePercent;
  for (int attempt = 0; attempt < kMaxToleranceSteps; ++attempt, tolerance *= 1.5f)
    if (auto layers = stripOnce(transform, lambda, firstResistivity, tolerance)) return *layers;
  return {{firstResistivity, 0.0f}};
}

std::vector<EstimatedLayer> estimateLayers(std::span<const float> x, std::span<const float> y) {
  const SampledCurve extended = extendEnds(resampleLogLog(x, y));
  if (extended.y.empty()) return {};
  const std::vector<float> transform = resistivityTransform(extended.y);
  const std::vector<float> lambda = transformAbscissae(extended.x.front(), transform.size());
  return stripLayers(transform, lambda, extended.y.front());
}

bool setEstimatedModel(Sounding& S, std::span<const EstimatedLayer> layers, float thicknessFactor,
                       ui::Toolkit& toolkit, std::optional<float> extraParameter) {
  if (layers.empty()) return false;
  const int nlayer = static_cast<int>(layers.size());
  const int npk = std::max(1, S.NPK());
  const core::ModelHeader oldHeader = S.model;
  core::LayeredModel oldModel = S.M;
  S.model.NLAYER = nlayer;
  S.model.NPK = npk;
  S.model.NPAR = core::parameterCount(nlayer, npk) + (extraParameter ? 1 : 0);
  if (!S.allocateModelForStoredCounts()) {
    toolkit.information(kEstimateAllocationFailed);
    S.model = oldHeader;
    S.M = std::move(oldModel);
    return false;
  }
  auto& PAR = S.M.PAR;
  std::fill(PAR.begin(), PAR.end(), kDefaultIpParameter);
  float depth = 0.0f;
  for (int j = 0; j < nlayer; ++j) {
    PAR[static_cast<std::size_t>(j)] = layers[static_cast<std::size_t>(j)].resistivity;
    if (j + 1 == nlayer) break;
    const float thickness = layers[static_cast<std::size_t>(j)].thickness * thicknessFactor;
    depth += thickness;
    PAR[S.geometryIndex(j)] = core::isSet(S.model.depths) ? depth : thickness;
  }
  if (extraParameter) PAR.back() = *extraParameter;
  S.layer.syntheticValid = S.layer.resolutionValid = S.layer.equivalenceValid = core::kFalse;
  S.layer.saved = core::kFalse;
  return true;
}

bool EstimateModel(Sounding& S, ui::Toolkit& toolkit) {
  float groundingCeiling = 0.0f;
  const auto layers = estimateFrom(S, column(S, 0), toolkit, false, &groundingCeiling);
  if (!layers || layers->empty()) return false;
  const bool grounding = traitsOf(S.header.dataType).id == DataTypeId::GroundingImpedance;
  return setEstimatedModel(S, *layers, *arrayFactor(S), toolkit,
                           grounding ? std::optional<float>(groundingCeiling) : std::nullopt);
}

bool EstimateIpParameters(Sounding& S, ui::Toolkit& toolkit) {
  if (S.NPK() < 2 || S.data().VOLTS.cols() < 2 || !S.hasModel()) return false;
  const float scale = S.header.ipUnit == "(pfe)" ? 100.0f : 1000.0f;
  std::vector<float> perturbed = column(S, 0);
  const auto ip = S.data().VOLTS.column(1);
  for (std::size_t i = 0; i < perturbed.size(); ++i) {
    const bool valid = std::isfinite(ip[i]) && std::fabs(ip[i]) < kMissing;
    perturbed[i] = valid ? perturbed[i] * (ip[i] + scale) / scale : kMissing;
  }
  // The second estimation is quiet: its messages would name problems of the
  // IP column as if the resistivity data had them.
  const auto second = estimateFrom(S, perturbed, toolkit, true, nullptr);
  if (!second || second->empty()) return false;

  const int nlayer = S.NLAYER();
  const float factor = *arrayFactor(S);
  std::vector<float> firstDepths(static_cast<std::size_t>(std::max(0, nlayer - 1)));
  float depth = 0.0f;
  for (int j = 0; j + 1 < nlayer; ++j) {
    const float value = S.M.PAR[S.geometryIndex(j)];
    depth = core::isSet(S.model.depths) ? value : depth + value;
    firstDepths[static_cast<std::size_t>(j)] = depth;
  }
  std::vector<float> secondDepths = bottomDepths(*second);
  for (float& d : secondDepths) d *= factor;
  const auto secondResistivityAt = [&](float z) {
    std::size_t j = 0;
    while (j < secondDepths.size() && z > secondDepths[j]) ++j;
    return (*second)[j].resistivity;
  };

  const bool sameCount = static_cast<int>(second->size()) == nlayer;
  for (int j = 0; j < nlayer; ++j) {
    const float rho = S.M.PAR[static_cast<std::size_t>(j)];
    float perturbedRho;
    if (sameCount) {
      perturbedRho = (*second)[static_cast<std::size_t>(j)].resistivity;
    } else if (j + 1 == nlayer) {
      perturbedRho = second->back().resistivity;  // half-space against half-space
    } else {
      const float top = j == 0 ? 0.0f : firstDepths[static_cast<std::size_t>(j - 1)];
      perturbedRho = secondResistivityAt(0.5f * (top + firstDepths[static_cast<std::size_t>(j)]));
    }
    const float value = (perturbedRho - rho) * scale / rho;
    if (std::isfinite(value)) S.M.PAR[static_cast<std::size_t>(nlayer + j)] = value;
  }
  return true;
}

}  // namespace zeva::inversion
