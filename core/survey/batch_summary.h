#pragma once
// The summary of a batch, one row per sounding in survey order, written as
// batch-summary.csv and batch-summary.json in the survey folder.

#include <filesystem>
#include <string>
#include <vector>

#include "core/survey/batch_sounding.h"

namespace zeva::core {

inline constexpr const char* kBatchSummaryName = "batch-summary";

// The summary of part `part` of `parts` of a batch split for a cluster:
// "batch-summary.part-K-of-N".
std::string partSummaryName(int part, int parts);

// The soundings of part `part` (1-based) of `parts`: consecutive blocks in
// survey order, their sizes differing by one at most.
std::vector<SurveyStation> partOf(const std::vector<SurveyStation>& stations, int part, int parts);

// Writes NAME.csv and NAME.json in `folder`; false, with the reason in
// `error`, when a summary file cannot be written.
bool writeBatchSummary(const std::filesystem::path& folder,
                       const std::vector<BatchOutcome>& outcomes, std::string& error,
                       const std::string& name = kBatchSummaryName);

// Reads the soundings of a summary's JSON file back; false, with the
// reason in `error`, when it is not one.
bool readBatchSummary(const std::filesystem::path& file, std::vector<BatchOutcome>& outcomes,
                      std::string& error);

// Joins the part summaries of `folder` (all N parts of one split) into the
// summary of the whole batch, in survey order. False with the reason (a
// part missing, parts of different splits) and nothing written.
bool mergeBatchSummaries(const std::filesystem::path& folder, int& soundings, int& failed,
                         std::string& error);

}  // namespace zeva::core
