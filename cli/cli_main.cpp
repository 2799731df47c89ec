#include <CLI/CLI.hpp>
#include <exception>
#include <iostream>
#include <string>

#include "cli/cli_context.h"
#include "core/record/floating_point.h"

namespace zeva::cli {

int runZevaCli(int argc, char** argv, AddGraphicsVerbs addGraphicsVerbs) {
  core::flushDenormalsToZero();
  try {
    CliContext context(std::cout, std::cerr);
    CLI::App app{"ZEVA: one-dimensional interpretation of geophysical soundings", "zeva-cli"};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("zeva-cli ") + ZEVA_VERSION);
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
    addSurveyImportCommand(app, context);
    addBatchCommand(app, context);
    addBatchMergeCommand(app, context);
    addLciCommand(app, context);
    addGraphicsVerbs(app, context);
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

}  // namespace zeva::cli
