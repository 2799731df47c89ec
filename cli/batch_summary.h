#pragma once
// The summary of a batch, one row per sounding in survey order, written as
// batch-summary.csv and batch-summary.json in the survey folder.

#include <filesystem>
#include <string>
#include <vector>

#include "cli/batch_sounding.h"

namespace zeva::cli {

// False, with the reason in `error`, when a summary file cannot be written.
bool writeBatchSummary(const std::filesystem::path& folder,
                       const std::vector<BatchOutcome>& outcomes, std::string& error);

}  // namespace zeva::cli
