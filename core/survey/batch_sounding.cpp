#include "core/survey/batch_sounding.h"

#include <chrono>

#include "ui/toolkit/text_collector.h"

namespace zeva::core {

namespace {

void describe(const Sounding& S, SurveyStation& station) {
  station.station = S.header.name.trimmed();
  station.dataType = S.header.dataType.trimmed();
  station.east = S.header.east;
  station.north = S.header.north;
  station.elevation = S.header.elevation;
}

bool runSteps(Program& program, const BatchSteps& steps, BatchOutcome& outcome) {
  const std::optional<bool> errorWeighting =
      steps.weightErrors ? std::optional<bool>(true) : std::nullopt;
  if (steps.estimate && !program.estimation().estimateLayeredModel()) return false;
  if (steps.invert) {
    setFitWeighting(program, errorWeighting, false);
    const auto run = invertLayered(program, false, InversionScope::All);
    if (!run) return false;
    outcome.iterations = run->iterations;
  }
  if (steps.smooth) {
    setFitWeighting(program, errorWeighting, false);
    if (!estimateSmooth(program, steps.smoothMethod, {})) return false;
  }
  if (steps.equivalence) {
    if (steps.invert && !program.estimation().analyzeEquivalence()) return false;
    if (steps.smooth) {
      program.SM().layer.errorWeighting = program.S().layer.errorWeighting;
      if (!program.estimation().analyzeSmoothEquivalence()) return false;
    }
  }
  return true;
}

}  // namespace

bool readSurveyStation(const std::filesystem::path& file, SurveyStation& station,
                       std::string& message) {
  ui::TextCollector toolkit;
  Program program(toolkit);
  const bool read = program.file().openFile(file).done();
  if (read) describe(program.S(), station);
  message = toolkit.text();
  return read;
}

BatchOutcome runBatchSounding(const std::filesystem::path& folder, const SurveyStation& station,
                              const BatchSteps& steps) {
  const auto start = std::chrono::steady_clock::now();
  BatchOutcome outcome;
  outcome.station = station;
  ui::TextCollector toolkit;
  Program program(toolkit);
  const std::filesystem::path input = folder / station.file;
  if (program.file().openFile(input)) {
    describe(program.S(), outcome.station);
    if (runSteps(program, steps, outcome)) {
      const std::filesystem::path output = steps.inPlace ? input : batchResultOf(input);
      if (program.file().saveFileAs(output)) {
        outcome.ok = true;
        outcome.output = output.filename().string();
      }
    }
    outcome.layers = program.S().NLAYER();
    outcome.fitPercent = program.S().layer.PCTERR;
  }
  outcome.message = toolkit.text();
  if (!outcome.ok && outcome.message.empty()) outcome.message = "failed without a message";
  outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return outcome;
}

}  // namespace zeva::core
