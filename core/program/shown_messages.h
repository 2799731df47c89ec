#pragma once
// The commands' side of the readers and writers: what they report is shown
// through the toolkit, in the order it arose.

#include "files/result.h"
#include "ui/toolkit/toolkit.h"

namespace zeva::core {

// Shows every message of `result`; returns whether the step succeeded.
bool shown(ui::Toolkit& toolkit, const files::Result& result);

}  // namespace zeva::core
