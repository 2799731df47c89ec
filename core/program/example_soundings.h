#pragma once
// Small valid soundings of each data type, for `zeva-cli new --type` and for
// users who want to try a data type before they have data of their own.

#include "core/record/current_sounding.h"

namespace zeva::core {

// Fills `current` with an example sounding of the data type (unsaved, with a
// name ending in "*" so that Save asks for a file name). False when the
// program has no example of that type; `current` is then unchanged.
bool makeExampleSounding(const DataTypeText& type, CurrentSounding& current);

}  // namespace zeva::core
