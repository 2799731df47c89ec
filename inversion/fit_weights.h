#pragma once
// How a fit weighs its residuals. Error weighting divides each residual by
// the error of its value, expressed in the residual's own units
// (inversion_steps.h): the error bar UVOLTS (in the data's units) relative to
// the observed value, e = UVOLTS / |observed|, is log10(1 + e) for a log10
// residual, e for a relative one, UVOLTS itself for an absolute one, and
// log10(1 + UVOLTS / (|observed| + 45)) for an MT phase. The residuals then
// count in standard deviations, whatever the units and the size of the
// values, and the
// weighted fit is the RMS of the normalised residuals (1 when the model fits
// the data to their errors). A robust fit further multiplies each squared
// residual by a Huber weight (Huber, 1964; iteratively reweighted least
// squares as in Holland and Welsch, 1977): 1 within c = 1.345 robust
// standard deviations of the residuals of the iteration's starting model,
// c s / |r| beyond, so outliers lose influence without being masked.

#include <span>
#include <vector>

#include "core/record/sounding.h"

namespace zeva::inversion {

// The Huber tuning constant: 95 % efficiency for Gaussian errors.
inline constexpr float kHuberConstant = 1.345f;

// True when the fit measure is the weighted fit (layer-header word 3): under
// error weighting or in a robust fit.
bool weightedFitInUse(const core::Sounding& S);

// The error of every residual in the residual's units (k = c NDATA + i).
// Values without a positive error bar take the median error of their
// column, or of all values when the column has none; without error
// weighting, or with no error bars at all, every error is 1.
std::vector<float> residualErrors(const core::Sounding& S);

// The factor each residual and its row of derivatives are multiplied by:
// sqrt(Huber weight) / error.
std::vector<float> residualWeights(const core::Sounding& S);

// The weighted fit of the current synthetics: sqrt(sum h (r / error)^2 /
// sum h) over the values that take part in the fit, h the Huber weights.
float weightedFit(const core::Sounding& S);

// New Huber weights from the current synthetics (of the starting model of
// an iteration); the scale s is 1.4826 times the median absolute normalised
// residual, at least 1 under error weighting (the errors are then trusted as
// the noise level where they are not too small). Returns the number of
// values weighted below 1.
int refreshHuberWeights(core::Sounding& S);

// Values whose Huber weight is below 1.
int downweightedCount(const core::Sounding& S);

}  // namespace zeva::inversion
