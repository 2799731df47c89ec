#pragma once
// The choice of the forward routine for a sounding, made in this one place for
// every caller (the forward command, the inversions, the equivalence analysis
// and the model edits): by the data-type text, first match wins, then by
// whether the layers carry IP parameters.

#include <string_view>

#include "core/record/sounding.h"
#include "forward/forward_routine.h"
#include "ui/toolkit/toolkit.h"

namespace zeva::forward {

// Told to the user when a command needs the synthetic response of the marine
// TEM types, which have no forward model yet.
inline constexpr std::string_view kNoForwardModelMessage =
    "TEM data have no forward model in this version; the sounding is unchanged";

// False for the marine TEM types, whose data are only converted to late-time
// apparent resistivity. The forward command and the inversions test this
// before they start, show kNoForwardModelMessage and change nothing.
bool hasForwardModel(const core::Sounding& S);

// The routine for the data type and model of S. The routine refers to
// `toolkit` for its messages, which must therefore outlive it. For a type
// without a forward model (the marine TEM types) the routine leaves the sounding as it is (no
// synthetic values, no fit) and tells the user so, once per routine chosen.
ForwardRoutine chooseForwardRoutine(const core::Sounding& S, ui::Toolkit& toolkit);

}  // namespace zeva::forward
