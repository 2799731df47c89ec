#pragma once
// The fitting steps that the single-sounding verbs and the batch over a
// survey both run on a loaded sounding, so that a sounding of a survey is
// fitted exactly as it would be fitted alone.

#include <optional>

#include "core/program/program.h"

namespace zeva::core {

// Which fit the smooth model uses: the sounding's own Occam switch, or one
// chosen by the caller (the switch is then set accordingly).
enum class SmoothMethod { AsSounding, Occam, Ridge };

// Sets how the residuals of the next fit are weighed: by the error bars
// (the sounding's switch, kept in the file) when `errorWeighting` is given,
// and robustly (Huber weights, found afresh) when `robust`.
void setFitWeighting(Program& program, std::optional<bool> errorWeighting, bool robust);

// Layered inversion, multiple iterations or a single one. Refused when the
// command refused with a message; Failed when the run ended with an error
// code (written to the debug log).
CommandValue<InversionRun> invertLayered(Program& program, bool single, InversionScope scope);

// The smooth model by the chosen method over `range`.
CommandResult estimateSmooth(Program& program, SmoothMethod method, const SmoothDepthRange& range);

}  // namespace zeva::core
