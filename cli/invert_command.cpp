// zeva-cli invert FILE|default: fit the layered model to the data by layered
// inversion, as the Calculate menu's Single Iteration and Multiple Iterations
// commands do (with their resistivity-only and IP-only variants), weighing
// the residuals by their errors (--weight-errors) and robustly (--robust). The fit of
// each iteration ("    3.05% RMS") goes to standard error as the status bar
// would show it.

#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/cli_context.h"
#include "cli/fit_options.h"
#include "cli/sounding_json.h"
#include "cli/sounding_summary.h"
#include "core/survey/fitting_steps.h"

namespace zeva::cli {

namespace {

struct InvertOptions {
  std::string input;
  std::string output;
  bool single = false;
  bool resistivityOnly = false;
  bool ipOnly = false;
  bool json = false;
  int iterations = -1;  // -1: keep the sounding's settings
  float ratio = -1.0f;
  float floor = -1.0f;
  FitOptions fit;
};

void runInvert(CliContext& context, const InvertOptions& o) {
  if (!context.load(o.input)) return;
  core::InversionSettings& settings = context.program.current().settings;
  if (o.iterations >= 0) settings.iterationLimit = o.iterations;
  if (o.ratio >= 0.0f) settings.improvementRatio = o.ratio;
  if (o.floor >= 0.0f) settings.fitFloorPercent = o.floor;
  o.fit.apply(context.program);
  const core::InversionScope scope = o.resistivityOnly ? core::InversionScope::ResistivityOnly
                                     : o.ipOnly        ? core::InversionScope::IpOnly
                                                       : core::InversionScope::All;
  context.toolkit.echoStatus = true;
  const core::CommandValue<core::InversionRun> run =
      core::invertLayered(context.program, o.single, scope);
  context.toolkit.echoStatus = false;
  if (!run) {
    context.exitStatus = kFailed;
    return;
  }
  const core::InversionRun& result = *run;
  if (result.interrupted) context.err << "Inversion interrupted\n";
  if (!o.output.empty() && !context.write(o.output)) return;
  if (o.json) {
    nlohmann::json json = soundingJson(context.program.current());
    json["inversion"] = {{"iterations", result.iterations},
                         {"interrupted", result.interrupted},
                         {"status", result.status},
                         {"robust", robustJson(context.program.S())}};
    context.out << json.dump() << '\n';
  } else if (o.output.empty()) {
    writeSummary(context.out, context.program.current());
  }
}

}  // namespace

void addInvertCommand(CLI::App& app, CliContext& context) {
  auto* command =
      app.add_subcommand("invert", "Fit the layered model to the data (layered inversion)");
  auto o = std::make_shared<InvertOptions>();
  command->add_option("input", o->input, "sounding: FILE.ZVR or default")->required();
  command->add_flag("--single", o->single,
                    "make one iteration instead of the multiple-iteration run");
  auto* resistivity = command->add_flag("--resistivity-only", o->resistivityOnly,
                                        "change only the resistivities and thicknesses");
  auto* ip = command->add_flag("--ip-only", o->ipOnly, "change only the IP parameters");
  resistivity->excludes(ip);
  command->add_option("--iterations", o->iterations, "iteration limit (default: the sounding's, 9)")
      ->check(CLI::Range(0, 1000));
  command
      ->add_option("--ratio", o->ratio,
                   "stop when an iteration leaves more than this fraction of the fit (0.98)")
      ->check(CLI::Range(0.0f, 10.0f));
  command->add_option("--floor", o->floor, "stop below this fit in percent (1.0)")
      ->check(CLI::Range(0.0f, 1.0e6f));
  command->add_option("-o,--output", o->output, "native file to write the result to");
  command->add_flag("--json", o->json, "print the sounding and the run as one JSON object");
  o->fit.add(*command);
  command->callback([&context, o] { runInvert(context, *o); });
}

}  // namespace zeva::cli
