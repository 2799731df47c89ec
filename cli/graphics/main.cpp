// zeva-cli-graphics: zeva-cli with the verbs that draw through Qt (plot,
// report, section), offscreen. zeva-cli hands those verbs to it; every other verb
// works here as there.

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"

namespace zeva::cli {
void addPlotCommand(CLI::App& app, CliContext& context);
void addReportCommand(CLI::App& app, CliContext& context);
void addSectionCommand(CLI::App& app, CliContext& context);
}  // namespace zeva::cli

namespace {

void addDrawingVerbs(CLI::App& app, zeva::cli::CliContext& context) {
  zeva::cli::addPlotCommand(app, context);
  zeva::cli::addReportCommand(app, context);
  zeva::cli::addSectionCommand(app, context);
}

}  // namespace

int main(int argc, char** argv) { return zeva::cli::runZevaCli(argc, argv, addDrawingVerbs); }
