// zeva-cli lci FOLDER [--lateral-weight W] [--layers N] [--jobs N]: inverts
// the soundings of a survey together as one profile, each layered model tied
// to its neighbours'. Each starts from its batch result (NAME.inverted.ZVR)
// when there is one, else from its own model; the soundings must be of one
// family and, after --layers, of one layer count. They are ordered by their
// distance along the profile. The results go beside the inputs as
// NAME.lci.ZVR, the summary to lci-summary.csv and lci-summary.json.

#include <fmt/format.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <numeric>
#include <ostream>

#include "cli/cli_context.h"
#include "cli/lci_summary.h"
#include "core/survey/profile_distances.h"
#include "core/survey/survey_index.h"
#include "forward/forward_choice.h"
#include "forward/lateral_roughness.h"
#include "inversion/lateral_constrained_inversion.h"
#include "inversion/worker_pool.h"
#include "ui/toolkit/text_collector.h"

namespace zeva::cli {

namespace {

namespace fs = std::filesystem;
using core::SurveyStation;

struct LciOptions {
  std::string folder;
  float lateralWeight = inversion::kDefaultLateralWeight;
  int layers = 0;  // 0: as the models are
  int jobs = 0;    // 0: one per core
};

// One sounding of the profile, read into a program of its own.
struct ProfileSounding {
  SurveyStation station;
  fs::path input;
  ui::TextCollector toolkit;
  core::Program program{toolkit};
};

// Reads every sounding, from its batch result when there is one; empty after
// a message when one cannot be read or brought to `layers` layers.
std::vector<std::unique_ptr<ProfileSounding>> readProfile(
    CliContext& context, const fs::path& folder, const std::vector<SurveyStation>& stations,
    int layers) {
  std::vector<std::unique_ptr<ProfileSounding>> profile;
  for (const SurveyStation& station : stations) {
    auto sounding = std::make_unique<ProfileSounding>();
    sounding->station = station;
    const fs::path file = folder / station.file;
    const fs::path result = core::batchResultOf(file);
    sounding->input = fs::exists(result) ? result : file;
    core::Program& program = sounding->program;
    if (!program.file().openFile(sounding->input) ||
        (layers > 0 && !program.layers().reduceLayers(layers))) {
      context.fail("lci: " + sounding->input.string() + ": " + sounding->toolkit.text());
      return {};
    }
    const core::Sounding& S = program.S();
    sounding->station.station = S.header.name.trimmed();
    // The index's location when it gives one, else the record's.
    if (!sounding->station.east || !sounding->station.north) {
      sounding->station.east = S.header.east;
      sounding->station.north = S.header.north;
    }
    profile.push_back(std::move(sounding));
  }
  return profile;
}

std::vector<forward::LayeredColumn> columnsOf(std::span<const core::Sounding> soundings) {
  std::vector<forward::LayeredColumn> columns;
  for (const core::Sounding& S : soundings) columns.push_back(forward::layeredColumnOf(S));
  return columns;
}

// The lateral roughness of the section before and after, on one depth grid
// that covers both.
void measureRoughness(std::span<const core::Sounding> before, std::span<const core::Sounding> after,
                      LciSummary& summary) {
  std::vector<forward::LayeredColumn> first = columnsOf(before), last = columnsOf(after);
  std::vector<forward::LayeredColumn> all = first;
  all.insert(all.end(), last.begin(), last.end());
  const std::vector<float> grid = forward::roughnessDepthGrid(all);
  summary.roughnessBefore = forward::lateralRoughness(first, grid);
  summary.roughnessAfter = forward::lateralRoughness(last, grid);
}

// Writes each result as NAME.lci.ZVR beside its sounding, never over a file
// of the survey.
void writeResults(const fs::path& folder, const std::vector<SurveyStation>& stations,
                  std::vector<ProfileSounding*>& ordered, std::span<const core::Sounding> tied,
                  LciSummary& summary) {
  for (std::size_t k = 0; k < ordered.size(); ++k) {
    ProfileSounding& p = *ordered[k];
    LciRow& row = summary.rows[k];
    const fs::path output = core::lciResultOf(folder / p.station.file);
    const bool input = std::ranges::any_of(
        stations, [&](const SurveyStation& s) { return folder / s.file == output; });
    if (input) {
      row.message = "not written: " + output.filename().string() + " is a sounding of the survey";
      continue;
    }
    p.program.S() = tied[k];
    p.program.S().shareDataWith(p.program.SM());
    if (p.program.file().saveFileAs(output)) {
      row.ok = true;
      row.output = output.filename().string();
    }
    row.message = p.toolkit.text();
    if (!row.ok && row.message.empty()) row.message = "not written";
  }
}

void runLci(CliContext& context, const LciOptions& o) {
  const fs::path folder(o.folder);
  std::string error;
  const std::optional<std::vector<SurveyStation>> stations = core::surveyStations(folder, error);
  if (!stations) return context.fail(error);
  if (stations->empty()) return context.fail("No soundings (.ZVR files) in " + o.folder);
  std::vector<std::unique_ptr<ProfileSounding>> profile =
      readProfile(context, folder, *stations, o.layers);
  if (profile.empty()) return;

  std::vector<SurveyStation> located;
  for (const auto& p : profile) located.push_back(p->station);
  const std::vector<float> distances = core::profileDistances(located);
  std::vector<std::size_t> order(profile.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::ranges::stable_sort(order, {}, [&](std::size_t k) { return distances[k]; });

  std::vector<ProfileSounding*> ordered;
  std::vector<core::Sounding> soundings;
  std::vector<float> along;
  for (std::size_t k : order) {
    ordered.push_back(profile[k].get());
    soundings.push_back(profile[k]->program.S());
    soundings.back().detachData();
    along.push_back(distances[k]);
  }
  if (const auto problem = inversion::lateralProfileProblem(soundings)) {
    const bool layerCounts = problem->find("layer counts") != std::string::npos;
    return context.fail("lci: " + *problem +
                        (layerCounts ? " (--layers N brings every model to N layers)" : ""));
  }

  if (o.jobs > 0) inversion::WorkerPool::shared().resize(o.jobs);
  std::vector<forward::ForwardRoutine> forwards;
  for (const core::Sounding& S : soundings)
    forwards.push_back(forward::chooseForwardRoutine(S, context.toolkit));
  std::vector<core::Sounding> tied = soundings;
  inversion::LateralSettings settings;
  settings.lateralWeight = o.lateralWeight;
  inversion::RunMonitor monitor(context.toolkit);
  const inversion::LateralResult result =
      inversion::InvertLaterally(tied, along, forwards, settings, monitor, core::kFitStatusPane);
  if (result.status != 0)
    return context.fail("lci: the inversion stopped with error " + std::to_string(result.status));

  LciSummary summary;
  summary.lateralWeight = o.lateralWeight;
  summary.iterations = result.iterations;
  measureRoughness(soundings, tied, summary);
  float fitSum = 0.0f;
  for (std::size_t k = 0; k < ordered.size(); ++k) {
    const ProfileSounding& p = *ordered[k];
    summary.rows.push_back({p.station.file,
                            p.input.filename().string(),
                            {},
                            p.station.station,
                            along[k],
                            p.station.east,
                            p.station.north,
                            tied[k].NLAYER(),
                            tied[k].layer.PCTERR,
                            false,
                            {}});
    fitSum += tied[k].layer.PCTERR;
  }
  writeResults(folder, *stations, ordered, tied, summary);
  if (!writeLciSummary(folder, summary, error)) return context.fail(error);
  const auto failed = std::ranges::count_if(summary.rows, [](const LciRow& r) { return !r.ok; });
  context.out << fmt::format(
      "{} soundings inverted together in {} iterations{}: mean fit {:.2f}%, lateral roughness "
      "{:.4f} before, {:.4f} after; {} written, summary in {}\n",
      ordered.size(), result.iterations, result.interrupted ? " (interrupted)" : "",
      fitSum / static_cast<float>(ordered.size()), summary.roughnessBefore, summary.roughnessAfter,
      static_cast<long>(ordered.size()) - failed, (folder / "lci-summary.csv").string());
  if (failed > 0) context.exitStatus = kFailed;
}

}  // namespace

void addLciCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand(
      "lci", "Invert the soundings of a survey together, neighbouring models tied");
  auto o = std::make_shared<LciOptions>();
  addSurveyFolderArgument(*command, o->folder);
  command
      ->add_option("--lateral-weight", o->lateralWeight,
                   "weight of the ties between neighbours at the mean station spacing")
      ->capture_default_str()
      ->check(CLI::Range(0.0f, 1000.0f));
  command->add_option("--layers", o->layers, "bring every starting model to this many layers")
      ->check(CLI::Range(1, 100));
  command
      ->add_option("--jobs", o->jobs,
                   "threads for the soundings' forward runs (default: one per core)")
      ->check(CLI::Range(1, 1024));
  command->callback([&context, o] { runLci(context, *o); });
}

}  // namespace zeva::cli
