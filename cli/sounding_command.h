#pragma once
// The common shape of the verbs that run one command of the program on a
// sounding: read FILE or "default", run, write the result with -o, and print
// the sounding as info --json does (--json) or as a short summary.

#include <functional>
#include <string>

#include "cli/cli_context.h"

namespace zeva::cli {

// Adds the verb `name` with its input, -o and --json options. `run` returns
// false when the command refused with a message; the verb then fails with
// status 1 and writes nothing. The returned subcommand takes further options.
CLI::App* addSoundingCommand(CLI::App& app, CliContext& context, const std::string& name,
                             const std::string& description,
                             std::function<core::CommandResult(core::Program&)> run);

}  // namespace zeva::cli
