#pragma once
// MaxMin forward model: in-phase and quadrature of the secondary field, in
// percent of the primary, of two coils at a fixed separation over a layered
// earth, for horizontal coplanar, vertical coplanar and vertical coaxial
// coils. The closed-form half-space response (Wait, 1982) carries the bulk of
// the field; the layering enters as a Hankel-transform correction (Anderson's
// 283-point filters through QHANKL). The coplanar response of coils raised
// above the ground is the whole transform of the elevated kernel.

#include <string_view>

#include "core/record/sounding.h"
#include "ui/toolkit/toolkit.h"

namespace zeva::forward {

inline constexpr std::string_view kMaxMinAllocationMessage = "Allocation error in CalcMaxMin";

// The ForwardRoutine of "Horizontal Coplanar", "Vertical Coplanar" and
// "Vertical Coaxial": TIME(i,1) frequency (Hz), TIME(i,2) coil separation,
// TIME(i,3) coil height (horizontal coplanar only); SVOLT(i,1) in-phase and
// SVOLT(i,2) quadrature in percent. In a sounding in feet both the separation
// and the height are converted to metres. The fit is the RMS difference in
// percent, in RMS and PCTERR alike.
void CalcMaxMin(core::Sounding& S, ui::Toolkit& toolkit);

}  // namespace zeva::forward
