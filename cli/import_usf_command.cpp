// zeva-cli import-usf FILE.USF [--sounding N] -o OUT.ZVR: import one sounding
// of a Universal Sounding Format file, as File, Import, USF Data File does,
// and write it as a native file.

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"

namespace zeva::cli {

void addImportUsfCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand("import-usf", "Import a sounding of a USF file");
  auto input = std::make_shared<std::string>();
  auto output = std::make_shared<std::string>();
  auto sounding = std::make_shared<int>(1);
  command->add_option("input", *input, "USF file")->required();
  command->add_option("--sounding", *sounding, "number of the sounding in the file (from 1)");
  command->add_option("-o,--output", *output, "native file to write")->required();
  command->callback([&context, input, output, sounding] {
    context.toolkit.fileToOpen = *input;
    context.toolkit.number = *sounding;
    if (!context.program.exchange().importUsfData()) {
      context.exitStatus = kFailed;
      return;
    }
    context.toolkit.number.reset();
    context.write(*output);
  });
}

}  // namespace zeva::cli
