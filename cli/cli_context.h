#pragma once
// What every verb of zeva-cli works with: the console toolkit, the program
// holding the current sounding, and the exit status (0 success, 1 a command
// failed with a message, 2 a usage error).

#include <iosfwd>
#include <string>
#include <string_view>

#include "cli/console_toolkit.h"
#include "core/program/program.h"

namespace CLI {
class App;
}

namespace zeva::cli {

enum ExitStatus { kSuccess = 0, kFailed = 1, kUsageError = 2 };

struct CliContext {
  CliContext(std::ostream& output, std::ostream& errors);

  std::ostream& out;
  std::ostream& err;
  ConsoleToolkit toolkit;
  core::Program program;
  int exitStatus = kSuccess;

  // Makes `input` the current sounding: the word "default" for the built-in
  // default sounding, else a native .ZVR file. False after a message.
  bool load(const std::string& input);
  // Writes the current sounding as a native file (as Save As does).
  bool write(const std::string& output);
  // Ends the verb with a message on standard error and status 1.
  void fail(const std::string& message);
};

// Verbs: each adds its subcommand and options to the application.
void addNewCommand(CLI::App& app, CliContext& context);
void addInfoCommand(CLI::App& app, CliContext& context);
void addSaveCommand(CLI::App& app, CliContext& context);
void addShiftCommand(CLI::App& app, CliContext& context);
void addForwardCommand(CLI::App& app, CliContext& context);
void addSetModelCommand(CLI::App& app, CliContext& context);
void addInvertCommand(CLI::App& app, CliContext& context);
void addTransferCommand(CLI::App& app, CliContext& context);
void addEstimateCommand(CLI::App& app, CliContext& context);
void addSmoothCommand(CLI::App& app, CliContext& context);
void addEquivalenceCommand(CLI::App& app, CliContext& context);
void addImportUsfCommand(CLI::App& app, CliContext& context);
void addImportDatCommand(CLI::App& app, CliContext& context);
void addImportEdiCommand(CLI::App& app, CliContext& context);
void addImportModelCommand(CLI::App& app, CliContext& context);
void addExportCommand(CLI::App& app, CliContext& context);
void addSurveyImportCommand(CLI::App& app, CliContext& context);
void addBatchCommand(CLI::App& app, CliContext& context);
void addBatchMergeCommand(CLI::App& app, CliContext& context);
void addLciCommand(CLI::App& app, CliContext& context);
// The folder argument of the verbs that work on a whole survey.
void addSurveyFolderArgument(CLI::App& command, std::string& folder);

// The verbs that draw (plot, report, section) need Qt; zeva-cli-graphics has them.
inline constexpr std::string_view kGraphicsVerbs[] = {"plot", "report", "section"};
inline constexpr const char* kPlotDescription =
    "Draw the data and model plots into a PNG, SVG, PDF or DXF file";
inline constexpr const char* kReportDescription = "Write the printed report of a sounding as PDF";
using AddGraphicsVerbs = void (*)(CLI::App& app, CliContext& context);

// Runs zeva-cli on its command line: every verb, with the drawing verbs that
// `addGraphicsVerbs` adds. Returns the exit status.
int runZevaCli(int argc, char** argv, AddGraphicsVerbs addGraphicsVerbs);

}  // namespace zeva::cli
