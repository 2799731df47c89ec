#include "forward/mt_forward.h"

#include <math.h>  // sincosf

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <vector>

#include "core/record/data_type.h"
#include "forward/model_layers.h"

namespace zeva::forward {

namespace {

using core::Sounding;

constexpr float kMu0 = 1.2566e-6f;         // H/m
constexpr float kTwoPiMu0 = 7.895684e-6f;  // 2 pi mu0: |Z|^2 T / (2 pi mu0) = rho_a
constexpr float kDegreesPerRadian = 57.296f;
constexpr float kExponentFloor = -21.0f;  // exp below this counts as 0
constexpr double kSeaMu0 = 1.2566e-6;
constexpr double kSeaTwoPi = 6.2832;
constexpr double kSeaTwoPiMu0 = 7.895684e-6;

MtResponse notANumber() {
  constexpr float nan = std::numeric_limits<float>::quiet_NaN();
  return {nan, nan};
}

// Skips the fit of a value, and leaves its synthetic at 1.0E20, when the
// synthetic is not a usable number.
bool usable(float& synthetic) {
  if (synthetic <= kMissingReading) return true;  // false for NaN as well
  synthetic = kRefusedSynthetic;
  return false;
}

}  // namespace

MtResponse landMtResponse(std::span<const float> resistivity, std::span<const float> thickness,
                          float period) {
  const std::size_t n = resistivity.size();
  if (n == 0 || thickness.size() + 1 < n || !(period > 0.0f) || std::isinf(period))
    return notANumber();
  const float omegaMu = 6.2831855f / period * kMu0;

  // Z is the impedance over omega mu0 (E / (i omega mu0 H) up to the sign
  // convention). The square roots of a layer are of purely imaginary
  // arguments and have closed forms: with s = sqrt(omega mu0 sigma / 2), the
  // propagation constant k = sqrt(i omega mu0 sigma) = s (1 + i) and the
  // intrinsic admittance q = sqrt(-i sigma / (omega mu0)) = c (1 - i),
  // c = s / (omega mu0). The complex arithmetic is written out in real and
  // imaginary parts, one real reciprocal per division.
  const auto root = [&](float rho) { return std::sqrt(omegaMu / (2.0f * rho)); };
  float s = root(resistivity[n - 1]);
  float zRe = omegaMu / (2.0f * s);  // 1 / q = (1 + i) / (2 c)
  float zIm = zRe;
  for (std::size_t j = n - 1; j-- > 0;) {
    s = root(resistivity[j]);
    const float c = s / omegaMu;
    // E = exp(-2 h k) = exp(-2 h s) (cos 2hs - i sin 2hs).
    const float x = 2.0f * thickness[j] * s;
    float eRe = 0.0f, eIm = 0.0f;
    if (-x > kExponentFloor) {
      const float decay = std::exp(-x);
      float sine, cosine;
      ::sincosf(x, &sine, &cosine);
      eRe = decay * cosine;
      eIm = -decay * sine;
    }
    // a = Z q; Z = [(1 + a) - E (1 - a)] / [(1 + a) + E (1 - a)] / q.
    const float aRe = c * (zRe + zIm), aIm = c * (zIm - zRe);
    const float mRe = 1.0f - aRe, mIm = -aIm;
    const float emRe = eRe * mRe - eIm * mIm, emIm = eRe * mIm + eIm * mRe;
    const float numRe = 1.0f + aRe - emRe, numIm = aIm - emIm;
    const float denRe = 1.0f + aRe + emRe, denIm = aIm + emIm;
    // num conj(den) (1 + i) / (2 c |den|^2)
    const float pRe = numRe * denRe + numIm * denIm, pIm = numIm * denRe - numRe * denIm;
    const float scale = 1.0f / (2.0f * c * (denRe * denRe + denIm * denIm));
    zRe = (pRe - pIm) * scale;
    zIm = (pRe + pIm) * scale;
  }
  return {(zRe * zRe + zIm * zIm) * period / kTwoPiMu0, std::atan2(zIm, zRe) * kDegreesPerRadian};
}

MtResponse seaFloorMtResponse(std::span<const double> resistivity,
                              std::span<const double> thickness, double waterDepth,
                              double waterResistivity, double period) {
  using Complex = std::complex<double>;
  const std::size_t n = resistivity.size();
  if (n == 0 || thickness.size() + 1 < n || !(period > 0.0) || std::isinf(period))
    return notANumber();
  const double omegaMu = kSeaTwoPi / period * kSeaMu0;
  const auto wavenumber = [&](double rho) { return std::sqrt(Complex(0.0, omegaMu / rho)); };

  // Q = -E / (dE/dz), from the bottom layer up to the top of the model.
  Complex k = wavenumber(resistivity[n - 1]);
  Complex Q = 1.0 / k;
  for (std::size_t j = n - 1; j-- > 0;) {
    k = wavenumber(resistivity[j]);
    const Complex g = -2.0 * k * thickness[j];
    const Complex E = g.real() > static_cast<double>(kExponentFloor) ? std::exp(g) : Complex(0.0);
    const Complex p = k * Q;
    const Complex r = E * (p - 1.0) / (p + 1.0);
    Q = (1.0 / k) * (1.0 + r) / (1.0 - r);
  }

  Complex response = Q;
  if (waterDepth > 0.0) {
    // Through the water layer: Q_sf = Q_w cosh(kh) - sinh(kh) / k, with Q_w
    // at the sea surface. Both terms grow as e^(kh) and cancel; the same
    // quantity written with the reflection R at the sea floor,
    // e^(-kh) (1 + R) / (k (1 - R e^(-2kh))), stays exact for deep water.
    const double rhoWater = waterResistivity > 0.0 ? waterResistivity : kTypicalSeaWaterResistivity;
    k = wavenumber(rhoWater);
    const Complex p = k * Q;
    const Complex R = (p - 1.0) / (p + 1.0);
    const Complex g = -k * waterDepth;
    const Complex decay = g.real() > -700.0 ? std::exp(g) : Complex(0.0);
    response = decay * (1.0 + R) / (k * (1.0 - R * decay * decay));
  }
  return {static_cast<float>(std::norm(response) * kSeaTwoPiMu0 / period),
          static_cast<float>(std::atan2(response.imag(), response.real()) *
                                 static_cast<double>(kDegreesPerRadian) +
                             90.0)};
}

bool isSeaFloorMt(const core::DataTypeText& dataType) { return core::traitsOf(dataType).seaFloor; }

void mtForward(Sounding& S) {
  const int nlayer = S.NLAYER();
  const int ndata = S.NDATA();
  const int ncomp = S.NCOMP();
  // A record without layers, or whose arrays do not hold its counts, has no
  // response to compute; it is left as it is.
  if (nlayer < 1 || !arraysHoldCounts(S, 1, ncomp)) return;
  if (!depthsIncrease(S, -std::numeric_limits<float>::infinity())) {
    markModelRefused(S);
    return;
  }

  const bool seaFloor = isSeaFloorMt(S.header.dataType);
  std::vector<float> rho(static_cast<std::size_t>(nlayer));
  std::vector<float> h(static_cast<std::size_t>(nlayer - 1));
  for (int j = 0; j < nlayer; ++j) rho[static_cast<std::size_t>(j)] = layerValue(S, j);
  // In depth mode the depths count from the top of the model, which for sea
  // floor data is the sea floor; the water layer comes from the data header.
  for (int j = 0; j + 1 < nlayer; ++j) h[static_cast<std::size_t>(j)] = layerThickness(S, j);
  const std::vector<double> rhoDouble(rho.begin(), rho.end());
  const std::vector<double> hDouble(h.begin(), h.end());

  auto& d = S.data();
  const bool weighting = core::isSet(S.layer.errorWeighting);
  const int computed = std::min(ncomp, 2);  // further columns are left untouched
  int counted = 0;
  float sum = 0.0f, weightedSum = 0.0f, weightSum = 0.0f;
  for (int i = 0; i < ndata; ++i) {
    const auto row = static_cast<std::size_t>(i);
    if (computed < 1) continue;
    // A zero apparent resistivity has no logarithm and is taken as 10.0; a
    // zero phase is a real phase, kept as measured (the offset of 45 degrees
    // keeps its residual finite).
    if (d.VOLTS(row, 0) == 0.0f) d.VOLTS(row, 0) = kReplacementValue;

    const float frequency = d.TIME(row, 0);
    const float period = 1.0f / frequency;
    const MtResponse response =
        !(frequency > 0.0f) ? MtResponse{std::numeric_limits<float>::quiet_NaN(),
                                         std::numeric_limits<float>::quiet_NaN()}
        : seaFloor          ? seaFloorMtResponse(rhoDouble, hDouble, S.header.waterDepth,
                                                 S.header.seaWaterResistivity, 1.0 / double(frequency))
                            : landMtResponse(rho, h, period);

    for (int j = 0; j < computed; ++j) {
      const auto col = static_cast<std::size_t>(j);
      float& synthetic = S.SVOLT(row, col);
      synthetic = j == 0 ? response.apparentResistivity : response.phaseDegrees;
      if (!usable(synthetic)) continue;
      const float observed = d.VOLTS(row, col);
      if (S.masked(i, j) || observed >= kMissingReading) continue;
      const float ratio =
          j == 0 ? std::fabs(synthetic / observed)
                 : (std::fabs(synthetic) + kMtPhaseOffset) / (std::fabs(observed) + kMtPhaseOffset);
      const float misfit = std::log10(ratio + 1.0e-30f);
      sum += misfit * misfit;
      ++counted;
      const float error = d.UVOLTS(row, col);
      if (weighting && error > 0.0f) {
        const float w2 = 1.0f / (error * error);
        weightSum += w2;
        weightedSum += misfit * misfit * w2;
      }
    }
  }

  if (counted < 1) {
    S.layer.RMS = 0.0f;
    S.layer.PCTERR = 0.0f;
  } else {
    S.layer.RMS = static_cast<float>(std::sqrt(sum / static_cast<float>(counted)));
    if (std::fabs(S.layer.RMS) < 30.0f)
      S.layer.PCTERR = (std::pow(10.0f, S.layer.RMS) - 1.0f) * 100.0f;
  }
  if (weighting && weightSum > 0.0f) S.layer.weightedFit = std::sqrt(weightedSum / weightSum);
  S.layer.syntheticValid = core::kTrue;
  S.layer.saved = core::kFalse;
}

}  // namespace zeva::forward
