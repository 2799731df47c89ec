// zeva-cli import-model SOUNDING FILE.MDL -o OUT.ZVR: give a sounding (a .ZVR
// file or default) the layered model of an ASCII model file, read with the
// distance (thickness) and resistivity columns, and write it.

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"

namespace zeva::cli {

void addImportModelCommand(CLI::App& app, CliContext& context) {
  auto* command =
      app.add_subcommand("import-model", "Import a layered model from an ASCII model file");
  auto sounding = std::make_shared<std::string>();
  auto input = std::make_shared<std::string>();
  auto output = std::make_shared<std::string>();
  auto columns = std::make_shared<settings::ImportColumns>();
  auto firstRow = std::make_shared<int>(0), lastRow = std::make_shared<int>(0);
  command->add_option("sounding", *sounding, "sounding: FILE.ZVR or default")->required();
  command->add_option("input", *input, "ASCII model file")->required();
  command->add_option("-o,--output", *output, "native file to write")->required();
  command->add_option("--distance-column", columns->distance, "layer thickness column");
  command->add_option("--resistivity-column", columns->modelResist,
                      "layer resistivity (conductivity) column");
  command->add_option("--ip-column", columns->ipData, "IP column of a model with IP parameters");
  command->add_option("--first-row", *firstRow, "first row to read");
  command->add_option("--last-row", *lastRow, "last row to read");
  command->callback([&context, sounding, input, output, columns, firstRow, lastRow] {
    if (!context.load(*sounding)) return;
    settings::ImportColumns chosen = *columns;
    chosen.firstRow = *firstRow;
    chosen.lastRow = *lastRow;
    context.program.settings().columns = chosen;
    context.toolkit.fileToOpen = *input;
    if (!context.program.exchange().importAsciiModel()) {
      context.exitStatus = kFailed;
      return;
    }
    context.write(*output);
  });
}

}  // namespace zeva::cli
