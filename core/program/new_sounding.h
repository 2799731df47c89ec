#pragma once
// New soundings typed in by hand: the data header each File, New command
// starts from (the family's counts of geometry and data values, the units of
// its dialog, no readings yet) and the name it carries until it is saved.
// The readings themselves come from the data editor.

#include <string>
#include <string_view>

#include "core/record/record_headers.h"

namespace zeva::core {

enum class NewSoundingKind { Dc, DcIp, MaxMin, EmConductivity, Mt, Tem };

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
DataHeader newSoundingHeader(NewSoundingKind kind, const NewSoundingChoices& choices);

}  // namespace zeva::core
