// zeva-cli set-model FILE|default --rho R1,R2,... [--thick H1,...|--depth
// Z1,...] [--ip M1,...] [--fix LIST] -o OUT.ZVR: replace the layered model of
// a sounding (NLAYER, NPK and NPAR follow the lists; limits off), so that
// models can be set from scripts. The synthetics are left to `forward`.

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"
#include "core/program/model_commands.h"

namespace zeva::cli {

void addSetModelCommand(CLI::App& app, CliContext& context) {
  auto* command =
      app.add_subcommand("set-model", "Replace the layered model of a sounding and write it");
  auto input = std::make_shared<std::string>();
  auto output = std::make_shared<std::string>();
  auto request = std::make_shared<core::LayeredModelRequest>();
  auto depths = std::make_shared<std::vector<float>>();
  command->add_option("input", *input, "sounding: FILE.ZVR or default")->required();
  command
      ->add_option("--rho", request->resistivity,
                   "layer resistivities from the top down, the last the half-space (ohm-m)")
      ->delimiter(',')
      ->required();
  auto* thick =
      command
          ->add_option("--thick", request->geometry, "thicknesses of all layers but the half-space")
          ->delimiter(',');
  command->add_option("--depth", *depths, "depths to the bottom of all layers but the half-space")
      ->delimiter(',')
      ->excludes(thick);
  command->add_option("--ip", request->ip, "IP parameter of every layer, in the sounding's IP unit")
      ->delimiter(',');
  command
      ->add_option("--fix", request->fixed,
                   "parameters to hold fixed, numbered 1.. in model order (resistivities, "
                   "IP parameters, then thicknesses or depths)")
      ->delimiter(',');
  command->add_option("-o,--output", *output, "native file to write")->required();
  command->callback([&context, input, output, request, depths] {
    if (!depths->empty()) {
      request->geometry = *depths;
      request->depths = true;
    }
    if (!context.load(*input)) return;
    if (!context.program.model().setLayeredModel(*request)) {
      context.exitStatus = kFailed;
      return;
    }
    context.write(*output);
  });
}

}  // namespace zeva::cli
