#include "core/survey/result_batch.h"

#include <system_error>

namespace zeva::core {

namespace fs = std::filesystem;

BatchRun runBatchOnResults(const fs::path& folder, const std::vector<SurveyStation>& stations,
                           const BatchSteps& steps, int jobs,
                           const std::function<void(const BatchOutcome&)>& finished,
                           const std::function<bool()>& stopRequested) {
  // Two batches: the soundings without a result first, then the results in
  // place; `where` keeps each one's survey position.
  std::vector<SurveyStation> fresh, results;
  std::vector<std::size_t> freshAt, resultAt;
  for (std::size_t i = 0; i < stations.size(); ++i) {
    std::error_code missing;
    const fs::path result = batchResultOf(folder / stations[i].file);
    if (fs::exists(result, missing)) {
      results.push_back(stations[i]);
      results.back().file = result.filename().string();
      resultAt.push_back(i);
    } else {
      fresh.push_back(stations[i]);
      freshAt.push_back(i);
    }
  }
  BatchRun run;
  run.outcomes.resize(stations.size());
  const auto take = [&](const BatchRun& part, const std::vector<std::size_t>& at) {
    for (std::size_t k = 0; k < at.size(); ++k) run.outcomes[at[k]] = part.outcomes[k];
    run.failed += part.failed;
    run.interrupted = run.interrupted || part.interrupted;
  };
  BatchSteps inPlace = steps;
  inPlace.inPlace = true;
  take(runBatch(folder, fresh, steps, jobs, finished, stopRequested), freshAt);
  if (!run.interrupted) {
    take(runBatch(folder, results, inPlace, jobs, finished, stopRequested), resultAt);
    return run;
  }
  for (std::size_t k = 0; k < results.size(); ++k) {
    BatchOutcome& outcome = run.outcomes[resultAt[k]];
    outcome.station = results[k];
    outcome.message = kNotRunMessage;
    ++run.failed;
  }
  return run;
}

}  // namespace zeva::core
