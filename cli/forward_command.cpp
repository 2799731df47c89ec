// zeva-cli forward FILE|default [-o OUT.ZVR] [--json]: the synthetic data and
// fit of the sounding's layered model, by the forward routine of its data type
// (Calculate, Forward). Schlumberger soundings read AB/2 from the first
// geometry column and the full potential-electrode separation MN from the
// second; their synthetics carry the segment steps of the data when the
// sounding's shift target asks for it.

#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/cli_context.h"
#include "cli/sounding_json.h"
#include "cli/sounding_summary.h"

namespace zeva::cli {

void addForwardCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand(
      "forward",
      "Compute the synthetic data and fit of the layered model (a .ZVR file or 'default'). "
      "Schlumberger geometry: AB/2, then MN, the full potential-electrode separation");
  auto input = std::make_shared<std::string>();
  auto output = std::make_shared<std::string>();
  auto asJson = std::make_shared<bool>(false);
  command->add_option("input", *input, "sounding: FILE.ZVR or default")->required();
  command->add_option("-o,--output", *output, "native file to write the result to");
  command->add_flag("--json", *asJson, "print the sounding after the run as info --json does");
  command->callback([&context, input, output, asJson] {
    if (!context.load(*input)) return;
    if (!context.program.forwardModel()) {
      context.exitStatus = kFailed;  // TEM data: told on standard error, nothing written
      return;
    }
    if (!output->empty() && !context.write(*output)) return;
    if (*asJson)
      context.out << soundingJson(context.program.current()).dump() << '\n';
    else
      writeSummary(context.out, context.program.current());
  });
}

}  // namespace zeva::cli
