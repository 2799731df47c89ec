#pragma once
// Estimation of a starting layered model directly from DC resistivity data,
// without a forward model: the apparent-resistivity curve is resampled at six
// samples per decade, turned into Koefoed's resistivity transform by a linear
// digital filter (Ghosh, 1971, Geophysical Prospecting 19, 192-217), and the
// transform is stripped layer by layer from the top with Pekeris' reduction
// (Koefoed, "Geosounding Principles 1", 1979). The number of layers is an
// outcome of the estimation. The steps are exposed one by one for the tests.

#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/record/sounding.h"
#include "ui/toolkit/toolkit.h"

namespace zeva::inversion {

inline constexpr std::string_view kEstimateTooFewPoints =
    "NEED AT LEAST 3 POINTS TO ESTIMATE MODEL";
inline constexpr std::string_view kEstimateUnknownType = "CANNOT ESTIMATE MODEL FOR ";
inline constexpr std::string_view kEstimateAllocationFailed =
    "ERROR ALLOCATING ARRAYS IN ESTIMATE MODEL";
inline constexpr std::string_view kEstimateDuplicateSpacings =
    "THERE ARE TOO MANY DUPLICATE ELECTRODESPACINGS FOR MODEL ESTIMATION. PLEASE EDIT "
    "DATA OR WORKSHEET AND DELETE EXTRA DUPLICATIONS (>2).";

// The starting value of every IP parameter before the IP estimate.
inline constexpr float kDefaultIpParameter = 5.0f;

// Samples per decade of the resampled curve, and the samples added beyond
// each end of it for the filter.
inline constexpr int kSamplesPerDecade = 6;
inline constexpr int kEndExtension = 8;

// A curve sampled at increasing abscissae.
struct SampledCurve {
  std::vector<float> x, y;
};

struct EstimatedLayer {
  float resistivity;
  float thickness;  // 0 for the bottom half-space
};

// The factor that turns thicknesses estimated in the units of the abscissa
// (as if the data were Schlumberger data) into those of the array; empty for
// a data type the estimation does not handle. The dipole arrays get 1: their
// abscissae are turned into lengths, (n + 1) a, before the estimation.
std::optional<float> arrayFactor(const core::Sounding& S);

// Samples the interpolating log-log cubic spline through the curve (x
// increasing, all values positive) every 1/6 decade, the grid ending exactly
// at the largest abscissa and running down no further than the smallest.
SampledCurve resampleLogLog(std::span<const float> x, std::span<const float> y);

// Adds kEndExtension samples beyond each end, continuing the slope that the
// log-log curve has over its last half decade at that end and halving it with
// every sample outward, as a two-layer master curve flattens towards its
// asymptote beyond the transition. The slope is held within [-1, 1]: no DC
// sounding curve rises faster than the 45-degree line of a resistive
// basement, and a steeper fall at the end of the data soon flattens out.
SampledCurve extendEnds(const SampledCurve& curve);

// The 25-point filter at six samples per decade. T(k), k = 0..n-11, belongs
// to the transform abscissa of transformAbscissae.
std::vector<float> resistivityTransform(std::span<const float> y);

// lambda(0) = 1 / (1.89 x(0)), then falling by 10^(1/6) per sample.
std::vector<float> transformAbscissae(float firstSpacing, std::size_t count);

// Strips the sampled transform into layers from the top; `tolerancePercent`
// is the starting width of the band that decides whether a sample is
// explained by the current layer. The band widens by half again whenever a
// stripping yields a thickness that is not positive or not a number.
std::vector<EstimatedLayer> stripLayers(std::span<const float> transform,
                                        std::span<const float> lambda, float firstResistivity,
                                        float tolerancePercent = 1.0f);

// Steps 3 to 7 together on a clean curve (x increasing, values positive, at
// least three points): resampling, end extension, filter, stripping. The
// thicknesses are in the units of x.
std::vector<EstimatedLayer> estimateLayers(std::span<const float> x, std::span<const float> y);

// Replaces the layered model of S by the estimated layers (LFIX and LMTP
// cleared, IP blocks 5.0, thicknesses times `thicknessFactor`, or depths when
// the depths flag is set), with `extraParameter` as one more parameter at
// the end when given. False, after the message and with the model
// unchanged, when the arrays cannot be had.
[[nodiscard]] bool setEstimatedModel(core::Sounding& S, std::span<const EstimatedLayer> layers,
                                     float thicknessFactor, ui::Toolkit& toolkit,
                                     std::optional<float> extraParameter = std::nullopt);

// The estimation for resistivity on S: checks, curve preparation, estimation
// and the new layered model (LFIX and LMTP cleared, IP blocks 5.0, thicknesses
// times the array factor, or depths when the depths flag is set). True when
// the model was estimated; false when the estimation failed: the message has
// then been shown and the model is unchanged.
[[nodiscard]] bool EstimateModel(core::Sounding& S, ui::Toolkit& toolkit);

// The IP estimate of a resistivity/IP sounding (NPK >= 2) after a successful
// EstimateModel: a second estimation on the curve rho_a (m + F) / F, F being
// 100 for "(pfe)" and 1000 otherwise, and the IP parameter of each layer
// (rho' - rho) F / rho. When the second estimation finds other layers, rho' of
// a layer is read from the second model at the layer's mid-depth (the
// half-space at the bottom depth). False when the second estimation failed;
// the IP parameters then keep their starting value.
bool EstimateIpParameters(core::Sounding& S, ui::Toolkit& toolkit);

}  // namespace zeva::inversion
