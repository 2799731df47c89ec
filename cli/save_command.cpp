// zeva-cli save FILE|default -o OUT.ZVR: read a sounding and write it again,
// as Open followed by Save As, so that files can be checked and upgraded.

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"

namespace zeva::cli {

void addSaveCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand("save", "Read a sounding and write it as a native file");
  auto input = std::make_shared<std::string>();
  auto output = std::make_shared<std::string>();
  command->add_option("input", *input, "sounding: FILE.ZVR or default")->required();
  command->add_option("-o,--output", *output, "native file to write")->required();
  command->callback([&context, input, output] {
    if (context.load(*input)) context.write(*output);
  });
}

}  // namespace zeva::cli
