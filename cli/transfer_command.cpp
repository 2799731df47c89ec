// zeva-cli transfer FILE --noise P [--seed N]: make the synthetic data of the model the
// observed data, each value multiplied by 1 + (P/100) g with g a Gaussian
// deviate, as "Transfer Synthetic to Data" does. The sounding must carry valid
// synthetics (a forward run saved with it).

#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/cli_context.h"
#include "cli/sounding_json.h"
#include "cli/sounding_summary.h"

namespace zeva::cli {

void addTransferCommand(CLI::App& app, CliContext& context) {
  auto* command =
      app.add_subcommand("transfer", "Make the synthetic data the observed data, with noise");
  auto input = std::make_shared<std::string>();
  auto output = std::make_shared<std::string>();
  auto noise = std::make_shared<double>(0.0);
  auto seed = std::make_shared<std::int32_t>(0);
  auto asJson = std::make_shared<bool>(false);
  command->add_option("input", *input, "sounding: FILE.ZVR or default")->required();
  command->add_option("--noise", *noise, "Gaussian noise in percent of each value")
      ->required()
      ->check(CLI::Range(0.0, 1000.0));
  command->add_option("--seed", *seed,
                      "seed of the noise (default 0, the desktop program's start; other seeds "
                      "draw other noise)");
  command->add_option("-o,--output", *output, "native file to write the result to");
  command->add_flag("--json", *asJson, "print the sounding as one JSON object");
  command->callback([&context, input, output, noise, seed, asJson] {
    if (!context.load(*input)) return;
    context.program.inversions().seedTransferNoise(*seed);
    context.toolkit.number = *noise;
    if (!context.program.inversions().transferSyntheticToData()) {
      context.exitStatus = kFailed;
      return;
    }
    if (!output->empty() && !context.write(*output)) return;
    if (*asJson)
      context.out << soundingJson(context.program.current()).dump() << '\n';
    else if (output->empty())
      writeSummary(context.out, context.program.current());
  });
}

}  // namespace zeva::cli
