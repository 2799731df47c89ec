// zeva-cli batch FOLDER [--estimate] [--invert] [--smooth [--occam|--ridge]]
// [--weight-errors] [--jobs N] [--in-place]: runs the chosen commands on
// every sounding of a survey (the soundings of survey.json, or every .ZVR
// file of the folder in name order), each as the single-sounding verb would,
// and writes each result beside its input as NAME.inverted.ZVR. A sounding
// that fails is recorded with its message and the others go on; the summary
// goes to batch-summary.csv and batch-summary.json. Ctrl-C stops after the
// soundings in work, keeping what is finished. Exit status 1 when any
// sounding failed.

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <ostream>
#include <thread>
#include <vector>

#include "cli/batch_progress.h"
#include "cli/batch_summary.h"
#include "cli/cli_context.h"
#include "core/record/floating_point.h"
#include "inversion/worker_pool.h"

namespace zeva::cli {

namespace {

struct BatchOptions {
  std::string folder;
  BatchSteps steps;
  bool occam = false;
  bool ridge = false;
  int jobs = 0;  // 0: one per core
};

std::optional<std::vector<SurveyStation>> surveyOf(CliContext& context,
                                                   const std::filesystem::path& folder) {
  std::string error;
  if (auto index = readSurveyIndex(folder, error)) return index;
  if (!error.empty()) {
    context.fail(error);
    return std::nullopt;
  }
  std::vector<SurveyStation> stations;
  for (const std::string& file : nativeFilesOf(folder))
    stations.push_back({file, std::filesystem::path(file).stem().string(), {}, {}, {}, {}});
  return stations;
}

// Runs the soundings on `jobs` threads, taking them in survey order, and
// reports each as it finishes. After Ctrl-C no further sounding is started.
// Returns which soundings ran.
std::vector<char> runJobs(CliContext& context, const std::filesystem::path& folder,
                          const BatchSteps& steps, int jobs, std::vector<BatchOutcome>& outcomes) {
  const int count = static_cast<int>(outcomes.size());
  std::vector<char> ran(outcomes.size(), 0);
  std::atomic<int> next{0};
  std::atomic<bool> stop{false};
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<int> finished;
  int active = jobs;
  const auto work = [&] {
    core::flushDenormalsToZero();
    for (int i = next++; i < count && !stop; i = next++) {
      const auto k = static_cast<std::size_t>(i);
      try {
        outcomes[k] = runBatchSounding(folder, outcomes[k].station, steps);
      } catch (const std::exception& error) {
        outcomes[k].message = error.what();
      }
      std::lock_guard lock(mutex);
      ran[k] = 1;
      finished.push_back(i);
      changed.notify_one();
    }
    std::lock_guard lock(mutex);
    --active;
    changed.notify_one();
  };
  BatchProgress progress(context.err, count, isatty(STDERR_FILENO) != 0);
  {
    std::vector<std::jthread> threads;
    for (int j = 0; j < jobs; ++j) threads.emplace_back(work);
    std::unique_lock lock(mutex);
    while (active > 0 || !finished.empty()) {
      changed.wait_for(lock, std::chrono::milliseconds(200));
      while (!finished.empty()) {
        const auto k = static_cast<std::size_t>(finished.front());
        finished.pop_front();
        progress.finished(outcomes[k]);
      }
      if (context.toolkit.pollInterrupt()) stop = true;
    }
  }
  progress.close();
  return ran;
}

void runBatch(CliContext& context, BatchOptions& o) {
  if (!o.steps.estimate && !o.steps.invert && !o.steps.smooth) {
    context.err << "batch: choose at least one of --estimate, --invert and --smooth\n";
    context.exitStatus = kUsageError;
    return;
  }
  o.steps.smoothMethod = o.occam   ? SmoothMethod::Occam
                         : o.ridge ? SmoothMethod::Ridge
                                   : SmoothMethod::AsSounding;
  const std::filesystem::path folder(o.folder);
  const std::optional<std::vector<SurveyStation>> stations = surveyOf(context, folder);
  if (!stations) return;
  if (stations->empty()) return context.fail("No soundings (.ZVR files) in " + o.folder);

  std::vector<BatchOutcome> outcomes(stations->size());
  for (std::size_t k = 0; k < outcomes.size(); ++k) outcomes[k].station = (*stations)[k];
  const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  const int jobs = std::min(o.jobs > 0 ? o.jobs : cores, static_cast<int>(outcomes.size()));
  // Parallel soundings take every core: each inversion then runs on its own
  // thread alone, as with one core.
  if (jobs > 1) inversion::WorkerPool::shared().resize(1);
  const std::vector<char> ran = runJobs(context, folder, o.steps, jobs, outcomes);

  int failed = 0;
  for (std::size_t k = 0; k < outcomes.size(); ++k) {
    if (!ran[k]) outcomes[k].message = "not run: the batch was interrupted";
    if (!outcomes[k].ok) ++failed;
  }
  std::string error;
  if (!writeBatchSummary(folder, outcomes, error)) return context.fail(error);
  context.out << outcomes.size() - static_cast<std::size_t>(failed) << " of " << outcomes.size()
              << " soundings done, " << failed << " failed; summary in "
              << (folder / "batch-summary.csv").string() << '\n';
  if (failed > 0) context.exitStatus = kFailed;
}

}  // namespace

void addBatchCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand(
      "batch", "Run estimate, invert and smooth on every sounding of a survey folder");
  auto o = std::make_shared<BatchOptions>();
  command
      ->add_option("folder", o->folder,
                   "survey folder: the soundings of its survey.json, else all its .ZVR files")
      ->required()
      ->check(CLI::ExistingDirectory);
  command->add_flag("--estimate", o->steps.estimate,
                    "estimate a starting layered model from the data (DC resistivity)");
  command->add_flag("--invert", o->steps.invert, "fit the layered model (multiple iterations)");
  auto* smooth = command->add_flag("--smooth", o->steps.smooth, "estimate a smooth model");
  auto* occam = command->add_flag("--occam", o->occam, "smooth model by Occam's inversion");
  auto* ridge = command->add_flag("--ridge", o->ridge, "smooth model by ridge regression");
  occam->needs(smooth)->excludes(ridge);
  ridge->needs(smooth);
  command->add_flag("--weight-errors", o->steps.weightErrors,
                    "weigh each value by its error bar in the fits");
  command->add_option("--jobs", o->jobs, "soundings worked on at a time (default: one per core)")
      ->check(CLI::Range(1, 1024));
  command->add_flag("--in-place", o->steps.inPlace,
                    "write each result over its input instead of NAME.inverted.ZVR");
  command->callback([&context, o] { runBatch(context, *o); });
}

}  // namespace zeva::cli
