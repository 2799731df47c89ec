#pragma once
// Making a survey: the soundings of a folder of native files and EDI files,
// or every sounding of a USF file, each written as a native file in the
// survey folder and listed in its index. An imported sounding is converted
// as File, Import converts it; a native file already there is kept as it is
// (it may hold work), so importing again never overwrites.

#include <filesystem>
#include <string>
#include <vector>

#include "core/survey/survey_index.h"

namespace zeva::core {

struct SurveyImport {
  std::vector<SurveyStation> stations;  // in name order
  std::vector<std::string> problems;    // "FILE: why", one per file left out
};

// The soundings of `folder`: its native files, and its EDI files without a
// native file of the same name, imported into one (the xy curve, else yx).
SurveyImport importSurveyFolder(const std::filesystem::path& folder);

// Every sounding of the USF file `usf`, written into `folder` as
// STEM_NNN.ZVR (NNN its number in the file) unless that file exists.
SurveyImport importSurveyUsf(const std::filesystem::path& usf, const std::filesystem::path& folder);

}  // namespace zeva::core
