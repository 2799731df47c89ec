#include "cli/sounding_command.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "cli/sounding_json.h"
#include "cli/sounding_summary.h"

namespace zeva::cli {

namespace {

struct SoundingCommandOptions {
  std::string input;
  std::string output;
  bool json = false;
};

}  // namespace

CLI::App* addSoundingCommand(CLI::App& app, CliContext& context, const std::string& name,
                             const std::string& description,
                             std::function<core::CommandResult(core::Program&)> run) {
  auto* command = app.add_subcommand(name, description);
  auto o = std::make_shared<SoundingCommandOptions>();
  command->add_option("input", o->input, "sounding: FILE.ZVR or default")->required();
  command->add_option("-o,--output", o->output, "native file to write the result to");
  command->add_flag("--json", o->json, "print the sounding after the run as info --json does");
  command->callback([&context, o, run = std::move(run)] {
    if (!context.load(o->input)) return;
    if (!run(context.program)) {
      context.exitStatus = kFailed;  // the reason is on standard error
      return;
    }
    if (!o->output.empty() && !context.write(o->output)) return;
    if (o->json)
      context.out << soundingJson(context.program.current()).dump() << '\n';
    else
      writeSummary(context.out, context.program.current());
  });
  return command;
}

}  // namespace zeva::cli
