#pragma once
// New soundings typed in by hand: the data header each File, New command
// starts from (the family's counts of geometry and data values, the units of
// its dialog, no readings yet) and the name it carries until it is saved.
// The readings themselves come from the data editor.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/record/record_headers.h"
#include "core/record/sounding.h"

namespace zeva::core {

enum class NewSoundingKind { Dc, DcIp, MaxMin, EmConductivity, Mt, Tem };

// What the transient forward model needs of a new TEM sounding beyond its
// gates: the loop (sides along x and y, Ly 0 for a square) with the receiver
// offset from its centre, in the length unit, and the first sweep.
struct TemAcquisition {
  float loopSizeX = 100.0f, loopSizeY = 100.0f;
  float coilX = 0.0f, coilY = 0.0f;
  float current = 1.0f;        // A
  std::int32_t turns = 1;      // of the transmitter
  float receiverArea = 1.0f;   // m^2
  float ramp = 0.0f;           // turn-off ramp, us
  float baseFrequency = 0.0f;  // Hz; 0: one switch-off after a long on-time
};

// The choices of a new-sounding dialog. Each kind reads the fields that its
// dialog offers; `dataType` must be a type of the kind's family.
struct NewSoundingChoices {
  std::string dataType;
  bool voltageAndCurrent = false;           // DC: readings entered as voltage and current
  std::string ipUnit = "(pfe)";             // DC/IP: "(pfe)", "(mSec)" or "(mRad)"
  std::string temVoltageUnit = "nV/Am**2";  // TEM: "uV/Amp", "nV/Am**2" or "V/Amp"
  std::string lengthUnit = "(meters)";      // "(meters)" or "(feet)"
  int mode = 1;                             // MaxMin: 1 frequency, 2 spacing, 3 height varies
  float dipoleLength = 0.0f;                // dipole arrays: the dipole length a
  TemAcquisition tem;                       // TEM: loop, receiver and first sweep
};

// The name of a new sounding of this kind ("New DC Data *" ...); the "*"
// makes the first Save ask for a file name.
std::string_view newSoundingName(NewSoundingKind kind);

// The data type a kind starts with when its dialog offers no choice.
std::string_view defaultNewSoundingType(NewSoundingKind kind);

// Whether `dataType` belongs to the family of this kind of new sounding.
bool newSoundingTypeAllowed(NewSoundingKind kind, std::string_view dataType);

// The data header of a new sounding: NDATA 0, the family's NCOMP and NGEOM
// (DC 1 value, DC/IP 2; Schlumberger 2 geometry values, AB/2 and MN; MaxMin and EM conductivity 3:
// frequency, spacing, height; MT and TEM 1), one acquisition set, masking on, the chosen units.
// TEM also takes the loop and receiver offset of `choices.tem`.
DataHeader newSoundingHeader(NewSoundingKind kind, const NewSoundingChoices& choices);

// The first sweep of a new TEM sounding whose data arrays are allocated:
// current, turns, receiver area, ramp and base frequency.
void setFirstSweep(Sounding& S, const TemAcquisition& tem);

}  // namespace zeva::core
