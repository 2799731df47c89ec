#pragma once
// EM conductivity forward model: the apparent conductivity that a ground
// conductivity meter reads over a layered earth, in the vertical (coils
// horizontal, coplanar) and horizontal (coils vertical, coplanar) magnetic
// dipole modes. The quadrature of the secondary field is computed in full
// (half-space closed form plus a layered Hankel-transform correction) and
// turned into conductivity with the low-induction formula sigma_a =
// 4 Q / (omega mu0 s^2) (McNeill, 1980, Geonics TN-6). The model is given in
// conductivities (mS/m).

#include "core/record/sounding.h"
#include "ui/toolkit/toolkit.h"

namespace zeva::forward {

// Dipole modes of the data header word at byte 204.
inline constexpr int kBothDipoles = 1;        // "HMD + VMD"
inline constexpr int kHorizontalDipoles = 2;  // "HMD ONLY", column 1
inline constexpr int kVerticalDipoles = 3;    // "VMD ONLY", column 2

// Quadrature of a homogeneous half-space at induction number theta =
// omega mu0 sigma s^2 / 2, in double precision; theta / 2 below 5.0E-6.
double verticalDipoleHalfSpaceQuadrature(double theta);
double horizontalDipoleHalfSpaceQuadrature(double theta);

// The ForwardRoutine of "EM Conductivity Data": TIME(i,1) frequency (Hz),
// TIME(i,2) coil separation, TIME(i,3) coil height; SVOLT(i,1) the
// horizontal-dipole and SVOLT(i,2) the vertical-dipole apparent conductivity
// (mS/m), each when the dipole mode asks for it (a mode other than 2 or 3
// counts as both). The fit is in percent in RMS and PCTERR alike.
void emConductivityForward(core::Sounding& S, ui::Toolkit& toolkit);

// Effective penetration depth of a reading, the depth a meter "sees" most,
// for dipole mode 'H' (0.75 s - h) or 'V' (1.5 s - h), never below 0.1 s.
float effectivePenetrationDepth(char dipoleMode, float spacing, float height);

}  // namespace zeva::forward
