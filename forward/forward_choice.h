#pragma once
// The choice of the forward routine for a sounding, made in this one place for
// every caller (the forward command, the inversions, the equivalence analysis
// and the model edits): by the data-type text, first match wins, then by
// whether the layers carry IP parameters.

#include "core/sounding.h"
#include "forward/forward_routine.h"
#include "ui/toolkit.h"

namespace zeva::forward {

// The routine for the data type and model of S. The routine refers to
// `toolkit` for its messages, which must therefore outlive it.
ForwardRoutine chooseForwardRoutine(const core::Sounding& S, ui::Toolkit& toolkit);

}  // namespace zeva::forward
