// zeva-cli info FILE|default [--json]: what the sounding holds.

#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/cli_context.h"
#include "cli/sounding_json.h"
#include "cli/sounding_summary.h"

namespace zeva::cli {

void addInfoCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand("info", "Describe a sounding (a .ZVR file or 'default')");
  auto input = std::make_shared<std::string>();
  auto asJson = std::make_shared<bool>(false);
  command->add_option("input", *input, "sounding: FILE.ZVR or default")->required();
  command->add_flag("--json", *asJson, "print one JSON object instead of a summary");
  command->callback([&context, input, asJson] {
    if (!context.load(*input)) return;
    if (*asJson)
      context.out << soundingJson(context.program.current()).dump() << '\n';
    else
      writeSummary(context.out, context.program.current());
  });
}

}  // namespace zeva::cli
