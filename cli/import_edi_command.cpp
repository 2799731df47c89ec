// zeva-cli import-edi FILE.EDI -o OUT.ZVR: import the MT data of a SEG
// standard EDI file and write them as a native file.

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"

namespace zeva::cli {

void addImportEdiCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand("import-edi", "Import MT data from a SEG standard EDI file");
  auto input = std::make_shared<std::string>();
  auto output = std::make_shared<std::string>();
  command->add_option("input", *input, "EDI file")->required();
  command->add_option("-o,--output", *output, "native file to write")->required();
  command->callback([&context, input, output] {
    context.toolkit.fileToOpen = *input;
    if (!context.program.importEdiData()) {
      context.exitStatus = kFailed;
      return;
    }
    context.write(*output);
  });
}

}  // namespace zeva::cli
