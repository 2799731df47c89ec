#pragma once
// The fitting steps that the single-sounding verbs and the batch over a
// survey both run on a loaded sounding, so that a sounding of a survey is
// fitted exactly as zeva-cli would fit it alone.

#include <optional>

#include "core/program/program.h"

namespace zeva::cli {

// Which fit the smooth model uses: the sounding's own Occam switch, or one
// chosen by the caller (the switch is then set accordingly).
enum class SmoothMethod { AsSounding, Occam, Ridge };

// Layered inversion, multiple iterations or a single one. Empty when the
// command refused with a message or the run ended with an error code.
std::optional<core::InversionRun> invertLayered(core::Program& program, bool single,
                                                core::InversionScope scope);

// The smooth model by the chosen method over `range`; false after a message.
bool estimateSmooth(core::Program& program, SmoothMethod method,
                    const core::SmoothDepthRange& range);

}  // namespace zeva::cli
