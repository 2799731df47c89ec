#include "forward/dc_resistivity_forward.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

#include "core/record/data_type.h"
#include "forward/forward_routine.h"
#include "forward/hankel_transform.h"
#include "forward/linear_filters.h"
#include "forward/resistivity_transform.h"
#include "forward/segment_levels.h"

namespace zeva::forward {

namespace {

using core::Sounding;

constexpr float kHankelTolerance = 1.0e-4f;
constexpr float kDefaultHalfMN = 0.05f;  // b / L when MN is not given for every point

using Array = core::DataTypeId;

// Sum over a linear filter; `kernel(lambda, values, count)` gives the kernel
// of up to kKernelBatch abscissae at once.
template <std::size_t N, typename Kernel>
float linearFilter(const std::array<float, N>& weights, float s, float x0, const Kernel& kernel) {
  std::array<float, N> lambda{};
  lambda[0] = 1.0f / (s * x0);
  for (std::size_t j = 1; j < N; ++j) lambda[j] = lambda[j - 1] * kDecadeSixth;
  std::array<float, N> values{};
  for (std::size_t j = 0; j < N; j += kKernelBatch) {
    const auto count = static_cast<int>(std::min<std::size_t>(kKernelBatch, N - j));
    kernel(lambda.data() + j, values.data() + j, count);
  }
  float sum = 0.0f;
  for (std::size_t j = 0; j < N; ++j) sum += weights[j] * values[j];
  return sum;
}

bool positive(float value) { return value > 0.0f && std::isfinite(value); }

// Readings that every array involved holds; NDATA of a damaged record may
// exceed them.
std::size_t readingCount(const Sounding& S) {
  const auto& d = S.data();
  if (S.NDATA() < 1 || d.TIME.cols() < 1 || d.VOLTS.cols() < 1 || S.SVOLT.cols() < 1) return 0;
  return std::min(
      {static_cast<std::size_t>(S.NDATA()), d.TIME.rows(), d.VOLTS.rows(), S.SVOLT.rows()});
}

// Up to kKernelBatch abscissae, each transformed at the scaled abscissae
// lambda / d for the few divisors d of an array, all in one batch of
// resistivity transforms.
template <std::size_t Divisors>
struct ScaledTransforms {
  std::array<float, Divisors * kKernelBatch> T{};

  // T(lambda[k] / divisor[m]) lands in at(m, k).
  void compute(const LayeredEarth& earth, const std::array<float, Divisors>& divisor,
               const float* lambda, int count) {
    std::array<float, Divisors * kKernelBatch> scaled{};
    const auto n = static_cast<std::size_t>(count);
    for (std::size_t m = 0; m < Divisors; ++m)
      for (std::size_t k = 0; k < n; ++k) scaled[m * n + k] = lambda[k] / divisor[m];
    for (std::size_t first = 0; first < Divisors * n; first += kTransformLanes)
      resistivityTransforms(earth, scaled.data() + first, T.data() + first,
                            std::min(kTransformLanes, Divisors * n - first));
    count_ = n;
  }
  float at(std::size_t m, std::size_t k) const { return T[m * count_ + k]; }

 private:
  std::size_t count_ = 0;
};

// The work block of one call: the model copy, the kernel cache and the toolkit
// for the transform's messages. The kernels read everything from it, so one
// integration routine serves every array.
class DcWork {
 public:
  DcWork(ui::Toolkit& toolkit) : toolkit_(toolkit) {}

  LayeredEarth earth;

  // The kernel sum_m weight[m] T(lambda / divisor[m]) of an array, for a
  // batch of abscissae.
  template <std::size_t Divisors>
  auto kernel(const std::array<float, Divisors>& divisor,
              const std::array<float, Divisors>& weight) {
    return [this, divisor, weight](const float* lambda, float* values, int count) {
      ScaledTransforms<Divisors> transforms;
      transforms.compute(earth, divisor, lambda, count);
      for (std::size_t k = 0; k < static_cast<std::size_t>(count); ++k) {
        float value = weight[0] * transforms.at(0, k);
        for (std::size_t m = 1; m < Divisors; ++m) value += weight[m] * transforms.at(m, k);
        values[k] = value;
      }
    };
  }

  // Apparent resistivity of one point. Impossible geometry (a spacing that is
  // not positive, potential electrodes at or beyond the current electrodes, no
  // dipole length) has no response and gives 0.0, as an unknown array does.
  float apparentResistivity(Array array, float spacing, float halfMN, float dipoleLength) {
    if (!positive(spacing)) return 0.0f;
    const auto plainT = kernel<1>({1.0f}, {1.0f});
    switch (array) {
      case Array::PolarDipole:
        return linearFilter(kPolarDipoleFilter, spacing, kPolarDipoleOffset, plainT);
      case Array::Perpendicular:
        return linearFilter(kPerpendicularFilter, spacing, kPerpendicularOffset, plainT);
      case Array::Wenner:
        return spacing * hankel(spacing, kernel<2>({1.0f, 2.0f}, {2.0f, -1.0f}));
      case Array::PolePole:
        return spacing * hankel(spacing, plainT);
      case Array::Schlumberger: {
        const float L = spacing;
        if (!(halfMN >= 0.0f && halfMN < L)) return 0.0f;
        const float cMinus = (L - halfMN) / L;
        const float cPlus = (L + halfMN) / L;
        const float width = cPlus - cMinus;
        if (!(width > 0.0f)) return 0.0f;
        // Both potential electrodes in one batch.
        const auto potentials = kernel<2>({cMinus, cPlus}, {cPlus, -cMinus});
        return L * hankel(L, [&](const float* lambda, float* values, int count) {
                 potentials(lambda, values, count);
                 for (int k = 0; k < count; ++k) values[k] /= width;
               });
      }
      case Array::DipoleDipole: {
        if (!positive(dipoleLength)) return 0.0f;
        const float n = spacing;
        const float G = n * (n + 1.0f) * (n + 2.0f) / 2.0f;
        return linearFilter(
            kDipoleFilter, dipoleLength, kDipoleOffset,
            kernel<3>({n + 2.0f, n, n + 1.0f}, {G / (n + 2.0f), G / n, -(2.0f * G / (n + 1.0f))}));
      }
      case Array::PoleDipole: {
        if (!positive(dipoleLength)) return 0.0f;
        const float n = spacing;
        const float G = n * (n + 1.0f);
        return linearFilter(kDipoleFilter, dipoleLength, kDipoleOffset,
                            kernel<2>({n, n + 1.0f}, {G / n, -(G / (n + 1.0f))}));
      }
      default:  // not an electrode array, or one without a formula
        break;
    }
    return 0.0f;
  }

 private:
  // J0 transform of a kernel at distance r with a fresh kernel cache.
  float hankel(float r, BatchKernelRef kernel) {
    cache_.clear();
    float B = 1.0f / r;
    return adaptiveHankelJ0(kernel, r, B, kHankelTolerance, 0, cache_, toolkit_);
  }

  ui::Toolkit& toolkit_;
  HankelKernelCache cache_;
};

void refuse(Sounding& S, std::size_t count) {
  S.layer.RMS = kRefusedFit;
  S.layer.PCTERR = kRefusedFit;
  for (std::size_t i = 0; i < count; ++i) S.SVOLT(i, 0) = kRefusedSynthetic;
}

// The log10 fit of the apparent resistivities (column 1).
DcRunStatus fitResistivity(Sounding& S, std::size_t count) {
  const auto& d = S.data();
  const bool maskable = d.LMASK.rows() >= count && d.LMASK.cols() >= 1;
  float sum = 0.0f;
  int n = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (maskable && S.masked(static_cast<int>(i), 0)) continue;
    const float synthetic = S.SVOLT(i, 0);
    if (std::isnan(synthetic)) {
      S.layer.RMS = kNotANumberFit;
      S.layer.PCTERR = kNotANumberFit;
      return DcRunStatus::NotANumber;
    }
    const float observed = d.VOLTS(i, 0);
    if (observed < kMissingReading) {
      const float misfit = std::log10(std::fabs(synthetic / observed) + 1.0e-30f);
      sum += misfit * misfit;
      ++n;
    }
  }
  if (n < 1) {
    S.layer.RMS = 0.0f;
    S.layer.PCTERR = 0.0f;
  } else {
    S.layer.RMS = std::sqrt(sum / static_cast<float>(n));
    if (std::fabs(S.layer.RMS) < 30.0f)
      S.layer.PCTERR = (std::pow(10.0f, S.layer.RMS) - 1.0f) * 100.0f;
  }
  S.layer.syntheticValid = core::kTrue;
  return DcRunStatus::Computed;
}

}  // namespace

DcRunStatus runDcResistivity(Sounding& S, ui::Toolkit& toolkit) {
  const std::size_t count = readingCount(S);
  if (S.NLAYER() < 1 || count < 1) return DcRunStatus::NothingToDo;

  DcWork work(toolkit);
  switch (prepareLayeredEarth(S, work.earth)) {
    case EarthStatus::NoModel:
      return DcRunStatus::NothingToDo;
    case EarthStatus::DepthsRefused:
      refuse(S, count);
      return DcRunStatus::Refused;
    case EarthStatus::Ready:
      break;
  }

  const auto& d = S.data();
  const Array array = core::traitsOf(S.header.dataType).id;
  // MN is used only when every point has one; otherwise b = 0.05 AB/2 for all.
  bool withMN = false;
  if (array == Array::Schlumberger && S.header.NGEOM >= 2 && d.TIME.cols() >= 2) {
    const auto mn = d.TIME.column(1).first(count);
    withMN = std::all_of(mn.begin(), mn.end(), [](float v) { return v > 0.0f; });
  }

  const float dipoleLength = S.header.dipoleLength;
  for (std::size_t i = 0; i < count; ++i) {
    const float spacing = d.TIME(i, 0);
    const float halfMN = withMN ? d.TIME(i, 1) / 2.0f : kDefaultHalfMN * spacing;
    S.SVOLT(i, 0) = work.apparentResistivity(array, spacing, halfMN, dipoleLength);
  }

  if (array == Array::Schlumberger && S.header.shiftTarget == 2 && S.header.shiftMode != 3)
    applySegmentLevelsToSynthetics(S, /*cumulative=*/S.header.shiftMode == 2);

  // The synthetics have changed whatever the fit makes of them.
  S.layer.saved = core::kFalse;
  return fitResistivity(S, count);
}

void dcResistivityForward(Sounding& S, ui::Toolkit& toolkit) { runDcResistivity(S, toolkit); }

}  // namespace zeva::forward
