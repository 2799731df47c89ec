#pragma once
// Magnetotelluric forward model: the plane-wave impedance of a horizontally
// layered earth by the classical recursion from the bottom layer up (Wait,
// 1954; the MT apparent resistivity and phase of Cagniard, 1953), and the
// response of a sounding made on the sea floor below a layer of sea water.

#include <span>

#include "core/record/record_headers.h"
#include "core/record/sounding.h"

namespace zeva::forward {

struct MtResponse {
  float apparentResistivity = 0.0f;  // ohm-m
  float phaseDegrees = 0.0f;
};

// Land response at the period (s) of a model of n resistivities (ohm-m, all
// positive) and n - 1 thicknesses (m, positive); single-precision complex
// arithmetic.
MtResponse landMtResponse(std::span<const float> resistivity, std::span<const float> thickness,
                          float period);

// Sea-floor response, in double precision: the electric field at the sea
// floor over the magnetic field at the sea surface, for a water layer of the
// given depth and resistivity above the model. For a water depth of 0 or
// less the water layer is left out and the result is the land response of
// the model, the limit of a vanishing water layer.
MtResponse seaFloorMtResponse(std::span<const double> resistivity,
                              std::span<const double> thickness, double waterDepth,
                              double waterResistivity, double period);

// Degrees added to the magnitudes of observed and synthetic phases before
// their log ratio enters the fit, so that small phases do not dominate it.
inline constexpr float kMtPhaseOffset = 45.0f;

// Sea-water resistivity used when the data header holds none (0 or less).
inline constexpr double kTypicalSeaWaterResistivity = 0.3;

bool isSeaFloorMt(const core::DataTypeText& dataType);

// The ForwardRoutine of the MT data types: SVOLT(i,1) apparent resistivity,
// SVOLT(i,2) phase in degrees, the fit in RMS and PCTERR (log10 units for
// resistivity, phases offset by 45 degrees) and, with error weighting on,
// the weighted fit in layer-header word 3.
void mtForward(core::Sounding& S);

}  // namespace zeva::forward
