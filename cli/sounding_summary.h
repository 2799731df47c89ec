#pragma once
// The readable summary that `info` prints: header, readings and models.

#include <iosfwd>

#include "core/record/current_sounding.h"

namespace zeva::cli {

void writeSummary(std::ostream& out, const core::CurrentSounding& current);

}  // namespace zeva::cli
