// zeva-cli export FILE --format usf|data|synthetics|smooth-synthetics|model|
// smooth-model|equivalent-models [--noise P] -o OUT: the export commands of
// the File menu on a sounding (a .ZVR file or default).

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"

namespace zeva::cli {

void addExportCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand("export", "Export a sounding as USF or ASCII files");
  auto input = std::make_shared<std::string>();
  auto output = std::make_shared<std::string>();
  auto format = std::make_shared<std::string>();
  auto noise = std::make_shared<double>(0.0);
  command->add_option("input", *input, "sounding: FILE.ZVR or default")->required();
  command->add_option("--format", *format, "what to write")
      ->required()
      ->check(CLI::IsMember({"usf", "data", "synthetics", "smooth-synthetics", "model",
                             "smooth-model", "equivalent-models"}));
  command->add_option("--noise", *noise, "random noise added to synthetics (%)");
  command->add_option("-o,--output", *output, "file to write")->required();
  command->callback([&context, input, output, format, noise] {
    if (!context.load(*input)) return;
    context.toolkit.fileToSave = *output;
    context.toolkit.number = *noise;
    core::Program& p = context.program;
    const std::string& f = *format;
    const core::CommandResult done = f == "usf"          ? p.exchange().exportUsfData()
                                     : f == "data"       ? p.exchange().exportAsciiData()
                                     : f == "synthetics" ? p.exchange().exportAsciiSynthetics()
                                     : f == "smooth-synthetics"
                                         ? p.exchange().exportSmoothSynthetics()
                                     : f == "model"        ? p.exchange().exportAsciiModel()
                                     : f == "smooth-model" ? p.exchange().exportSmoothModel()
                                                           : p.exchange().exportEquivalentModels();
    if (!done) context.exitStatus = kFailed;
  });
}

}  // namespace zeva::cli
