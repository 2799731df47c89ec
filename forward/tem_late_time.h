#pragma once
// Late-time apparent resistivity of TEM soundings. The program has no
// layered forward model for transient data; each gate voltage is turned into
// the resistivity of the homogeneous half-space that would give it at late
// time (the asymptotic step-off responses of Ward and Hohmann, 1988, and
// Spies and Eggers, 1986): the coincident-loop conversion with its
// intermediate-time series, the central, fixed- and circular-loop formulas
// in loop, radial and horizontal field modes, and a grounded-wire (LOTEM)
// conversion. The sweep check guards the repetition frequency of each set.

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/record/sounding.h"
#include "ui/toolkit/toolkit.h"

namespace zeva::forward {

// Writes the late-time apparent resistivity (ohm-m, with the sign of the
// gate voltage) of gate i to rho[i], from gate times in ms and the first data
// value of each gate. Gates that cannot be converted (time not positive, no
// usable loop geometry, outside every set) keep the value rho holds. The
// sounding is only read.
//
// Voltage units the formulas take as they stand: the coincident loop wants
// microvolts per ampere (a stored unit "V/Amp" is scaled by 1.0E6); the other
// loop types want the receiver voltage in nanovolts per square metre of
// receiver area for the set's current AMPS and turns NTURNS.
void lateTimeApparentResistivity(const core::Sounding& S, std::span<const float> gateTimes,
                                 std::span<const float> voltages, std::span<float> rho);

// The same for the sounding's own gates (TIME column 1, VOLTS column 1);
// gates that cannot be converted give 0.
std::vector<float> lateTimeApparentResistivity(const core::Sounding& S);

// The text of the sweep check's complaint about the first set whose
// repetition frequency puts its last gate beyond a quarter period, or
// nothing when every set passes.
std::optional<std::string> sweepFrequencyProblem(const core::Sounding& S);

// The sweep check of the TEM data editor: shows the complaint and returns
// false, or returns true.
bool checkSweepFrequencies(const core::Sounding& S, ui::Toolkit& toolkit);

}  // namespace zeva::forward
