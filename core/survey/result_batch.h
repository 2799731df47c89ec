#pragma once
// The batch of the survey window, where the commands are run one after the
// other: each sounding's batch result (NAME.inverted.ZVR) is worked on in
// place when there is one, so that a smooth model fitted after an inversion
// keeps the inverted layered model; a sounding without one gives it.

#include "core/survey/batch_run.h"

namespace zeva::core {

BatchRun runBatchOnResults(const std::filesystem::path& folder,
                           const std::vector<SurveyStation>& stations, const BatchSteps& steps,
                           int jobs, const std::function<void(const BatchOutcome&)>& finished,
                           const std::function<bool()>& stopRequested);

}  // namespace zeva::core
