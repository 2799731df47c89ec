#pragma once
// The three header blocks of a sounding record. They are stored byte for byte
// in the native file, so their field order and widths are part of the file
// format; every named offset is checked below. Bytes the program does not name
// are kept in `kept...` fields and travel through the file unchanged.

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/record/fixed_text.h"
#include "core/record/logical.h"

namespace zeva::core {

using NameText = FixedText<24>;
using DataTypeText = FixedText<20>;
using UnitText = FixedText<10>;

// Layer header: fit and result flags of one instance (36 bytes).
struct LayerHeader {
  float RMS = 0.0f;     // log10 RMS misfit of the synthetics; 1.0E10 for a refused model
  float PCTERR = 0.0f;  // the same fit in percent
  float weightedFit = 0.0f;
  float deepestEquivalentDepth = 0.0f;
  Logical syntheticValid = kFalse;  // LSYNTH
  Logical resolutionValid = kFalse;
  Logical equivalenceValid = kFalse;
  Logical saved = kFalse;
  Logical errorWeighting = kFalse;
};

// Data header: description, counts and acquisition settings (340 bytes).
struct DataHeader {
  NameText name;
  DataTypeText dataType;
  FixedText<20> description;
  std::int32_t NCOMP = 0;
  std::int32_t NDATA = 0;
  std::int32_t NGEOM = 0;
  std::int32_t NSETS = 0;
  std::array<std::uint8_t, 20> kept80{};
  float east = 0.0f;
  float north = 0.0f;
  float elevation = 0.0f;
  float azimuth = 0.0f;
  float loopSizeX = 0.0f;  // transmitter loop sides (TEM)
  float loopSizeY = 0.0f;
  float coilX = 0.0f;  // receiver offsets from the loop centre (TEM)
  float coilY = 0.0f;
  std::array<std::uint8_t, 12> kept132{};
  float waterDepth = 0.0f;           // sea-floor MT
  float seaWaterResistivity = 0.0f;  // sea-floor MT
  float dipoleLength = 0.0f;         // a of the dipole-dipole and pole-dipole arrays
  std::array<std::uint8_t, 16> kept156{};
  Logical voltageAndCurrent = kFalse;  // VOLTS carries measured voltage and current
  Logical maskingOn = kFalse;          // LMASK honoured only when set
  std::int32_t NSHIFT = 0;
  UnitText resistivityUnit;
  UnitText lengthUnit;
  std::int32_t mode = 0;       // MaxMin varying quantity, or EM conductivity dipole mode
  std::int32_t plotCount = 1;  // 1 when a shorter stored header leaves it unset
  std::array<std::uint8_t, 52> kept212{};
  UnitText ipUnit;
  UnitText temVoltageUnit;
  std::int32_t date = 0;
  float timeOfDay = 0.0f;
  std::array<std::uint8_t, 40> kept292{};
  std::int32_t shiftMode = 1;    // 1 match long spacing, 2 match short spacing, 3 do not shift
  std::int32_t shiftTarget = 2;  // 1 shift the data, 2 shift the synthetics
};

// Model header: counts and switches of the model (32 bytes).
struct ModelHeader {
  std::int32_t NLAYER = 0;
  std::int32_t NPK = 1;
  std::int32_t NPAR = 0;
  std::array<std::int32_t, 3> kept{};
  Logical LROUGH = kFalse;  // roughness penalty instead of plain damping (Occam in SM)
  Logical depths = kFalse;  // geometry parameters are bottom depths, not thicknesses
};

// Improvement ratio, fit floor in percent and iteration limit (12 bytes).
struct InversionSettings {
  float improvementRatio = 0.98f;
  float fitFloorPercent = 1.0f;
  std::int32_t iterationLimit = 9;
};

static_assert(sizeof(LayerHeader) == 36);
static_assert(offsetof(LayerHeader, syntheticValid) == 16);
static_assert(offsetof(LayerHeader, saved) == 28);
static_assert(offsetof(LayerHeader, errorWeighting) == 32);

static_assert(sizeof(DataHeader) == 340);
static_assert(offsetof(DataHeader, dataType) == 24);
static_assert(offsetof(DataHeader, description) == 44);
static_assert(offsetof(DataHeader, NCOMP) == 64);
static_assert(offsetof(DataHeader, NDATA) == 68);
static_assert(offsetof(DataHeader, NGEOM) == 72);
static_assert(offsetof(DataHeader, NSETS) == 76);
static_assert(offsetof(DataHeader, east) == 100);
static_assert(offsetof(DataHeader, north) == 104);
static_assert(offsetof(DataHeader, elevation) == 108);
static_assert(offsetof(DataHeader, azimuth) == 112);
static_assert(offsetof(DataHeader, loopSizeX) == 116);
static_assert(offsetof(DataHeader, loopSizeY) == 120);
static_assert(offsetof(DataHeader, coilX) == 124);
static_assert(offsetof(DataHeader, coilY) == 128);
static_assert(offsetof(DataHeader, waterDepth) == 144);
static_assert(offsetof(DataHeader, seaWaterResistivity) == 148);
static_assert(offsetof(DataHeader, dipoleLength) == 152);
static_assert(offsetof(DataHeader, voltageAndCurrent) == 172);
static_assert(offsetof(DataHeader, maskingOn) == 176);
static_assert(offsetof(DataHeader, NSHIFT) == 180);
static_assert(offsetof(DataHeader, resistivityUnit) == 184);
static_assert(offsetof(DataHeader, lengthUnit) == 194);
static_assert(offsetof(DataHeader, mode) == 204);
static_assert(offsetof(DataHeader, plotCount) == 208);
static_assert(offsetof(DataHeader, ipUnit) == 264);
static_assert(offsetof(DataHeader, temVoltageUnit) == 274);
static_assert(offsetof(DataHeader, date) == 284);
static_assert(offsetof(DataHeader, timeOfDay) == 288);
static_assert(offsetof(DataHeader, shiftMode) == 332);
static_assert(offsetof(DataHeader, shiftTarget) == 336);

static_assert(sizeof(ModelHeader) == 32);
static_assert(offsetof(ModelHeader, LROUGH) == 24);
static_assert(offsetof(ModelHeader, depths) == 28);

static_assert(sizeof(InversionSettings) == 12);

}  // namespace zeva::core
