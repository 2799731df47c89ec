#pragma once
// Smooth models: many thin layers whose boundaries are fixed in advance,
// spaced evenly in the logarithm of depth over the depth range the data can
// see, of which only the layer properties are fitted - by ridge regression,
// or, with LROUGH set, by Occam's inversion, which penalises the differences
// between neighbouring log resistivities (Constable, Parker and Constable,
// 1987, Geophysics 52, 289-300). StartSmooth builds the starting model in the
// smooth instance SM; EstimateSmoothModel fits it with the layered inversion.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/record/record_headers.h"
#include "core/record/sounding.h"
#include "forward/forward_routine.h"
#include "inversion/layered_inversion.h"
#include "inversion/run_monitor.h"

namespace zeva::inversion {

inline constexpr std::string_view kSmoothTooFewData = "Insufficient data to make smooth model";
inline constexpr std::string_view kSmoothAllocationFailed = "Cannot allocate arrays in StartSmooth";
inline constexpr std::string_view kRidgeRegressionTitle = "Smooth Model: Ridge Regression";
inline constexpr std::string_view kOccamTitle = "Smooth Model: Occam's Inversion";
inline constexpr std::string_view kSmoothNotImproved =
    "The smooth model did not fit the data better than its starting model; it is not computed";

// Status codes of StartSmooth.
inline constexpr int kSmoothTooFewLayers = 1;
inline constexpr int kSmoothArraysNotAllocated = 301;
inline constexpr int kSmoothBadDepthRange = 2;
inline constexpr std::string_view kSmoothBadRangeMessage =
    "The depth range of the smooth model needs 0 < zmin < zmax";

// Fewest smooth layers worth fitting.
inline constexpr int kMinimumSmoothLayers = 4;
// Status-bar pane of the smooth layer count.
inline constexpr int kSmoothLayerPane = 4;

// The settings of the first two stages of an IP smooth model.
inline constexpr core::InversionSettings kSmoothStageSettings{0.98f, 1.0f, 3};

// Mean of the values below 1.0E10 (missing readings are 1.0E10 or more); 0
// when there are none.
float meanOfValid(std::span<const float> values);

// Widens [low, high] to the values, skipping values that are not a number,
// magnitudes above 1.0E15 and non-zero magnitudes below 1.0E-30. The caller
// seeds low with 1.0E30 and high with -1.0E30.
void widenRange(std::span<const float> values, float& low, float& high);

// The status text of the smooth layer count: a 3-digit integer, then
// " Smooth Layers".
std::string smoothLayerText(int layers);

// The smooth model's title in plots and reports.
std::string_view smoothModelTitle(const core::Sounding& SM);

// Builds the starting smooth model in SM (whose header and data are those of
// the working sounding): one layer per data point (per data value for the
// MaxMin types and for EM conductivity read in both dipole modes), the
// boundaries fixed at depths evenly spaced in log over the range the data
// see, every layer at the mean of the data. `forward` is the routine of the
// data type: for the MaxMin types it fits the half-space from which the depth
// range follows, with InvertMany under `settings`. Returns 0, or
// kSmoothTooFewLayers after the message "Insufficient data to make smooth
// model" (the model is then empty), or kSmoothArraysNotAllocated.
//
// `range` replaces the depth of the first boundary (zmin) or the depth below
// which the deepest layer lies (zmax, the deepest boundary being zmax / q as
// for the range the data give) when given.
struct SmoothDepthRange {
  std::optional<float> zmin, zmax;
};
int StartSmooth(core::Sounding& SM, const core::InversionSettings& settings,
                const forward::ForwardRoutine& forward, RunMonitor& monitor, int fitPane,
                const SmoothDepthRange& range = {});

struct SmoothResult {
  int status = 0;  // of StartSmooth, or of the inversion run that stopped
  bool interrupted = false;
  float startFit = 0.0f;  // the fit measure of the starting smooth model
  // The fit ended better than the start, or the start fitted below the fit
  // floor already: the smooth model is a result.
  bool improved = false;
};

// The fitting sequence of "Estimate Smooth Model" on SM: StartSmooth, then
// InvertMany under `settings` - in one run, or for resistivity/IP models of
// DC data in three stages: resistivities alone with the IP data left out,
// IP parameters alone (both at most three iterations), then all layer
// properties. The user's fixes and masks are put back after each stage.
// A fit that ends no better than its start leaves the smooth model marked
// as not computed (synthetic-valid cleared) with `improved` false.
SmoothResult EstimateSmoothModel(core::Sounding& SM, const core::InversionSettings& settings,
                                 const forward::ForwardRoutine& forward, RunMonitor& monitor,
                                 int fitPane, const SmoothDepthRange& range = {});

}  // namespace zeva::inversion
