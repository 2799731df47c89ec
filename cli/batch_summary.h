#pragma once
// The summary of a batch, one row per sounding in survey order, written as
// batch-summary.csv and batch-summary.json in the survey folder.

#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "cli/batch_sounding.h"
#include "files/save_file.h"

namespace zeva::cli {

// The pieces of every survey summary: a CSV field, quoted when it holds a
// separator, a quote or a line break; a number that may be unknown (empty in
// CSV, null in JSON); a summary file written through a temporary file (false
// with the reason in `error`).
std::string csvField(const std::string& text);
std::string csvNumber(const std::optional<float>& value);
nlohmann::json jsonNumber(const std::optional<float>& value);
bool saveSummaryFile(const std::filesystem::path& target, const files::StreamWriter& write,
                     std::string& error);

// False, with the reason in `error`, when a summary file cannot be written.
bool writeBatchSummary(const std::filesystem::path& folder,
                       const std::vector<BatchOutcome>& outcomes, std::string& error);

}  // namespace zeva::cli
