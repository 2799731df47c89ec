// zeva-cli batch FOLDER [--estimate] [--invert] [--smooth [--occam|--ridge]]
// [--equivalence] [--weight-errors] [--jobs N] [--in-place] [--part K/N]:
// runs the chosen commands on every sounding of a survey (the soundings of
// survey.json, or every .ZVR file of the folder in name order), each as the
// single-sounding verb would, and writes each result beside its input as
// NAME.inverted.ZVR. A sounding that fails is recorded with its message and
// the others go on; the summary goes to batch-summary.csv and .json (with
// --part to batch-summary.part-K-of-N, joined by batch-merge). Ctrl-C stops
// after the soundings in work, keeping what is finished. Exit status 1 when
// any sounding failed.

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "cli/batch_progress.h"
#include "cli/cli_context.h"
#include "core/survey/batch_run.h"
#include "core/survey/batch_summary.h"

namespace zeva::cli {

namespace {

struct BatchOptions {
  std::string folder;
  core::BatchSteps steps;
  bool occam = false;
  bool ridge = false;
  int jobs = 0;      // 0: one per core
  std::string part;  // "K/N": the K-th of N parts of the survey
};

// Reads "K/N" with 1 <= K <= N; false when it is not that.
bool readPart(const std::string& text, int& part, int& parts) {
  const std::size_t slash = text.find('/');
  if (slash == std::string::npos) return false;
  try {
    std::size_t end = 0;
    part = std::stoi(text.substr(0, slash), &end);
    if (end != slash) return false;
    parts = std::stoi(text.substr(slash + 1), &end);
    if (end != text.size() - slash - 1) return false;
  } catch (const std::exception&) {
    return false;
  }
  return part >= 1 && part <= parts;
}

void runBatch(CliContext& context, BatchOptions& o) {
  if (!o.steps.estimate && !o.steps.invert && !o.steps.smooth) {
    context.err << "batch: choose at least one of --estimate, --invert and --smooth\n";
    context.exitStatus = kUsageError;
    return;
  }
  o.steps.smoothMethod = o.occam   ? core::SmoothMethod::Occam
                         : o.ridge ? core::SmoothMethod::Ridge
                                   : core::SmoothMethod::AsSounding;
  if (o.steps.equivalence && !o.steps.invert && !o.steps.smooth) {
    context.err << "batch: --equivalence needs --invert or --smooth\n";
    context.exitStatus = kUsageError;
    return;
  }
  int part = 1;
  int parts = 1;
  if (!o.part.empty() && !readPart(o.part, part, parts)) {
    context.err << "batch: --part takes K/N with 1 <= K <= N, not " << o.part << '\n';
    context.exitStatus = kUsageError;
    return;
  }
  const std::filesystem::path folder(o.folder);
  std::string error;
  std::optional<std::vector<core::SurveyStation>> stations = core::surveyStations(folder, error);
  if (!stations) return context.fail(error);
  if (stations->empty()) return context.fail("No soundings (.ZVR files) in " + o.folder);
  if (parts > 1) stations = core::partOf(*stations, part, parts);

  BatchProgress progress(context.err, static_cast<int>(stations->size()),
                         isatty(STDERR_FILENO) != 0);
  const core::BatchRun run = core::runBatch(
      folder, *stations, o.steps, core::batchJobs(o.jobs, stations->size()),
      [&](const core::BatchOutcome& outcome) { progress.finished(outcome); },
      [&] { return context.toolkit.pollInterrupt(); });
  progress.close();
  const std::vector<core::BatchOutcome>& outcomes = run.outcomes;
  const int failed = run.failed;
  const std::string summary =
      o.part.empty() ? core::kBatchSummaryName : core::partSummaryName(part, parts);
  if (!core::writeBatchSummary(folder, outcomes, error, summary)) return context.fail(error);
  context.out << outcomes.size() - static_cast<std::size_t>(failed) << " of " << outcomes.size()
              << " soundings done, " << failed << " failed; summary in "
              << (folder / (summary + ".csv")).string() << '\n';
  if (failed > 0) context.exitStatus = kFailed;
}

}  // namespace

void addSurveyFolderArgument(CLI::App& command, std::string& folder) {
  command
      .add_option("folder", folder,
                  "survey folder: the soundings of its survey.json, else all its .ZVR files")
      ->required()
      ->check(CLI::ExistingDirectory);
}

void addBatchCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand(
      "batch", "Run estimate, invert and smooth on every sounding of a survey folder");
  auto o = std::make_shared<BatchOptions>();
  addSurveyFolderArgument(*command, o->folder);
  command->add_flag("--estimate", o->steps.estimate,
                    "estimate a starting layered model from the data (DC resistivity)");
  command->add_flag("--invert", o->steps.invert, "fit the layered model (multiple iterations)");
  auto* smooth = command->add_flag("--smooth", o->steps.smooth, "estimate a smooth model");
  auto* occam = command->add_flag("--occam", o->occam, "smooth model by Occam's inversion");
  auto* ridge = command->add_flag("--ridge", o->ridge, "smooth model by ridge regression");
  occam->needs(smooth)->excludes(ridge);
  ridge->needs(smooth);
  command->add_flag("--equivalence", o->steps.equivalence,
                    "analyse the equivalence of the inverted layered model (--invert) and of "
                    "the smooth model (--smooth)");
  command->add_flag("--weight-errors", o->steps.weightErrors,
                    "weigh each value by its error bar in the fits");
  command->add_option("--jobs", o->jobs, "soundings worked on at a time (default: one per core)")
      ->check(CLI::Range(1, 1024));
  command->add_flag("--in-place", o->steps.inPlace,
                    "write each result over its input instead of NAME.inverted.ZVR");
  command->add_option("--part", o->part,
                      "K/N: work on the K-th of N consecutive parts of the survey (one job of a "
                      "job array); the summary goes to batch-summary.part-K-of-N.csv/json");
  command->callback([&context, o] { runBatch(context, *o); });
}

void addBatchMergeCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand(
      "batch-merge", "Join the part summaries of a batch run in parts into batch-summary.csv/json");
  auto folder = std::make_shared<std::string>();
  command->add_option("folder", *folder, "survey folder holding batch-summary.part-K-of-N.json")
      ->required()
      ->check(CLI::ExistingDirectory);
  command->callback([&context, folder] {
    int soundings = 0;
    int failed = 0;
    std::string error;
    if (!core::mergeBatchSummaries(*folder, soundings, failed, error)) return context.fail(error);
    context.out << soundings - failed << " of " << soundings << " soundings done, " << failed
                << " failed; summary in "
                << (std::filesystem::path(*folder) / "batch-summary.csv").string() << '\n';
    if (failed > 0) context.exitStatus = kFailed;
  });
}

}  // namespace zeva::cli
