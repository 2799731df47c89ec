// zeva-cli: every calculation of ZEVA, scriptable. Each verb reads a sounding
// (a .ZVR file or the built-in default), runs one command of the program on
// it and writes the result; messages go to standard error as the desktop
// program would show them in a message box. zeva-cli itself does not load
// Qt: the drawing verbs are handed to zeva-cli-graphics.

#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/cli_context.h"
#include "cli/graphics_hand_over.h"

namespace {

// The drawing verbs appear in the help; running one replaces this process
// with zeva-cli-graphics before the command line is parsed.
void listGraphicsVerbs(CLI::App& app, zeva::cli::CliContext&) {
  app.add_subcommand("plot", zeva::cli::kPlotDescription)->allow_extras();
  app.add_subcommand("report", zeva::cli::kReportDescription)->allow_extras();
  app.add_subcommand("section", zeva::cli::kSectionDescription)->allow_extras();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zeva::cli;
  if (argc > 1 && isGraphicsVerb(argv[1])) return handOverToGraphics(argv, std::cerr);
  return runZevaCli(argc, argv, listGraphicsVerbs);
}
