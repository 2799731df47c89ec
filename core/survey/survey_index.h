#pragma once
// A survey is a folder of native sounding files. Its index, survey.json in
// the folder, lists the soundings in their order with the station name, data
// type and location each record holds. Batch results (NAME.inverted.ZVR)
// are not soundings of the survey.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zeva::core {

inline constexpr const char* kSurveyIndexName = "survey.json";
inline constexpr const char* kBatchResultSuffix = ".inverted";

struct SurveyStation {
  std::string file;  // a plain file name in the survey folder
  std::string station;
  std::string dataType;
  std::optional<float> east, north, elevation;  // empty when not known
};

// The native files of `folder` in name order, batch results left out.
std::vector<std::string> nativeFilesOf(const std::filesystem::path& folder);

// The path of the batch result of `file` ("A.ZVR" gives "A.inverted.ZVR").
std::filesystem::path batchResultOf(const std::filesystem::path& file);

// Writes the index through a temporary file; false after a message in `error`.
bool writeSurveyIndex(const std::filesystem::path& folder,
                      const std::vector<SurveyStation>& stations, std::string& error);

// Reads the index of `folder`: empty with `error` set when it cannot be read
// or names a file outside the folder; empty with no error when the folder has
// no index.
std::optional<std::vector<SurveyStation>> readSurveyIndex(const std::filesystem::path& folder,
                                                          std::string& error);

// The soundings of the survey in `folder`: those of its index, or without
// one every native file of the folder in name order (the station then named
// after the file). Empty with `error` set when the index cannot be read.
std::optional<std::vector<SurveyStation>> surveyStations(const std::filesystem::path& folder,
                                                         std::string& error);

}  // namespace zeva::core
