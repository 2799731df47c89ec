#pragma once
// The batch over a survey: the chosen steps on every sounding, several
// soundings at a time, each as it would be fitted alone. A sounding that
// fails is recorded with its message and the others go on; a stop request
// starts no further sounding and keeps the finished ones.

#include <filesystem>
#include <functional>
#include <vector>

#include "core/survey/batch_sounding.h"

namespace zeva::core {

inline constexpr const char* kNotRunMessage = "not run: the batch was interrupted";

struct BatchRun {
  std::vector<BatchOutcome> outcomes;  // in survey order, one per station
  int failed = 0;                      // soundings not ok, those not run included
  bool interrupted = false;
};

// The number of soundings worked on at a time: `requested` (one per core when
// 0), never more than there are soundings.
int batchJobs(int requested, std::size_t soundings);

// Runs `steps` on `stations` of `folder` on `jobs` threads, taking them in
// survey order. `finished` is called on the calling thread as each sounding
// ends; `stopRequested`, polled there a few times a second, stops the batch.
// The results do not depend on `jobs`: each inversion runs on one thread
// when soundings run in parallel, as it would on one core.
BatchRun runBatch(const std::filesystem::path& folder, const std::vector<SurveyStation>& stations,
                  const BatchSteps& steps, int jobs,
                  const std::function<void(const BatchOutcome&)>& finished,
                  const std::function<bool()>& stopRequested);

}  // namespace zeva::core
