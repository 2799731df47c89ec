// zeva-cli: every calculation of ZEVA, scriptable. Each verb reads a sounding
// (a .ZVR file or the built-in default), runs one command of the program on
// it and writes the result; messages go to standard error as the desktop
// program would show them in a message box.

#include <CLI/CLI.hpp>
#include <exception>
#include <iostream>

#include "cli/cli_context.h"

int main(int argc, char** argv) {
  using namespace zeva::cli;
  try {
    CliContext context(std::cout, std::cerr);
    CLI::App app{"ZEVA: one-dimensional interpretation of geophysical soundings", "zeva-cli"};
    app.require_subcommand(1);
    addNewCommand(app, context);
    addInfoCommand(app, context);
    addSaveCommand(app, context);
    addForwardCommand(app, context);
    addSetModelCommand(app, context);
    addShiftCommand(app, context);
    addInvertCommand(app, context);
    addTransferCommand(app, context);
    addEstimateCommand(app, context);
    addSmoothCommand(app, context);
    addEquivalenceCommand(app, context);
    addImportUsfCommand(app, context);
    addImportDatCommand(app, context);
    addImportEdiCommand(app, context);
    addImportModelCommand(app, context);
    addExportCommand(app, context);
#ifdef ZEVA_HAVE_GUI
    addPlotCommand(app, context);
    addReportCommand(app, context);
#endif
    try {
      app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
      const int status = app.exit(error);
      return status == 0 ? kSuccess : kUsageError;
    }
    return context.exitStatus;
  } catch (const std::exception& error) {
    std::cerr << "zeva-cli: " << error.what() << '\n';
    return kFailed;
  }
}
