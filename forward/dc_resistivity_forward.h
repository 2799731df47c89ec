#pragma once
// The DC resistivity forward routine: the apparent resistivity that a
// horizontally layered earth gives for each of the seven electrode arrays,
// written into SVOLT(i,1), with the log10 fit to the observed data.
//
// Schlumberger, Wenner and pole-pole soundings integrate the resistivity
// transform against J0 with the adaptive 283-point filter of Anderson (1979);
// the dipole arrays use short linear filters, six points per decade, in the
// manner of Ghosh (1971), Geophysical Prospecting 19, 192-217:
//   "Schlumberger Array"  AB/2 = TIME(i,1), MN = TIME(i,2) (the full
//                         potential-electrode separation; its half is used)
//   "Wenner Array"        electrode spacing a = TIME(i,1)
//   "Pole-Pole Array"     electrode distance TIME(i,1)
//   "Dipole-Dipole Array", "Pole-Dipole Array"
//                         separation factor n = TIME(i,1), dipole length a
//                         from the data header
//   "Polar Dipole Array", "Perpendicular Array"
//                         dipole distance TIME(i,1)
// Any other data type (also "Grounding Impedance") gets the synthetic 0.0.

#include "core/record/sounding.h"
#include "ui/toolkit/toolkit.h"

namespace zeva::forward {

// How a DC run ended; the IP routine needs to know about a refused model.
enum class DcRunStatus {
  NothingToDo,  // no layers or no data: nothing was changed
  Refused,      // depths do not increase: fits 1.0E10, synthetics 1.0E20
  NotANumber,   // a NaN synthetic on a counted point: fits 1.0E20
  Computed
};

// The DC resistivity forward routine (a ForwardRoutine with the toolkit bound
// for the transform's messages).
void dcResistivityForward(core::Sounding& S, ui::Toolkit& toolkit);

// The same, telling how the run ended.
DcRunStatus runDcResistivity(core::Sounding& S, ui::Toolkit& toolkit);

}  // namespace zeva::forward
