#pragma once
// The summary of a laterally constrained inversion, one row per sounding in
// profile order, written as lci-summary.csv and lci-summary.json in the
// survey folder; the JSON also holds the lateral weight and the lateral
// roughness of the section before and after.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zeva::cli {

struct LciRow {
  std::string file;    // the sounding of the survey
  std::string input;   // the file the starting model came from
  std::string output;  // the file written; empty when none was
  std::string station;
  float distance = 0.0f;
  std::optional<float> east, north;
  int layers = 0;
  float fitPercent = 0.0f;
  bool ok = false;
  std::string message;
};

struct LciSummary {
  float lateralWeight = 0.0f;
  int iterations = 0;
  float roughnessBefore = 0.0f, roughnessAfter = 0.0f;
  std::vector<LciRow> rows;
};

// False, with the reason in `error`, when a summary file cannot be written.
bool writeLciSummary(const std::filesystem::path& folder, const LciSummary& summary,
                     std::string& error);

}  // namespace zeva::cli
