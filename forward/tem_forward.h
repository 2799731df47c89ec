#pragma once
// Forward model of the loop TEM soundings: the transient of a layered earth
// (resistivities and thicknesses of the model; IP parameters are ignored)
// under a transmitter loop on the surface, computed in the frequency domain
// with the layer recursion shared with the two-coil models, the loop as
// quadrature points along its wire (or a circular loop), transformed to time
// by Key's sine filter, then turned off by the sweep's ramp, repeated as a
// bipolar wave of the sweep's base frequency and averaged over each gate.
//
// Geometry from the data header: loop sides Lx, Ly (the sides along x and
// y, centred on the origin) and the receiver offset (x, y) from the centre.
//   "Central Loop TEM", "Fixed Loop TEM"  vertical field of the rectangular
//       loop Lx x Ly (Ly <= 0: square) at (x, y)
//   "Fixed Loop Radial H"  horizontal field along the direction from the
//       loop centre to the receiver
//   "Fixed Loop Horiz. H"  horizontal field along x
//   "Cicular Loop Rad. H"  radial field of a circular loop of the area
//       Lx x Ly (Ly <= 0: of diameter Lx)
//   "Coincident Loop TEM"  the voltage of the square loop of side Lx itself
// Per sweep k (NSET(k) its last gate): current AMPS, turns NTURNS, ramp
// RAMP (us), base frequency FREQ (Hz), receiver area AREA (m^2); a value
// never recorded (0) counts as 1 (0 for ramp and frequency). Gate times
// TIME(i,1) in ms after the end of the ramp, widths TIME(i,2) in ms when
// NGEOM > 1. Lengths are metres.

#include <string_view>
#include <vector>

#include "core/record/sounding.h"
#include "ui/toolkit/toolkit.h"

namespace zeva::forward {

inline constexpr std::string_view kTemGeometryMessage =
    "The loop size in the data header must be positive for the TEM forward model; the sounding "
    "is unchanged";

// The ForwardRoutine of the loop TEM types: SVOLT(i,1) in the stored voltage
// unit, the fit of tem_fit.h. A voltage unit the model cannot produce, or a
// loop without a size, is told to the user and nothing changes; gates at
// times not after the ramp get no synthetic (0) and do not count.
void temForward(core::Sounding& S, ui::Toolkit& toolkit);

// The late-time apparent resistivity of the gates (tem_late_time.h) with the
// voltages first brought from the stored unit to the one the conversion
// takes (nV/m^2 at the sweep's current and turns; uV/A for the coincident
// loop), so that it measures the earth whatever unit the data are stored
// in. Gates that cannot be converted give 0; nothing at all for a unit the
// model cannot produce.
std::vector<float> lateTimeResistivityOfStoredUnit(const core::Sounding& S);

}  // namespace zeva::forward
