#pragma once
// The section of a survey: the models of one kind of all its soundings at
// their distances along the profile, ready to draw. The layered model is
// that of the batch result (NAME.inverted.ZVR) when there is one, else that
// of the sounding itself; the smooth model is the smooth model of the same
// file; the laterally constrained model is that of NAME.lci.ZVR.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/survey/survey_index.h"
#include "present/section_plot.h"

namespace zeva::core {

struct SurveySection {
  present::SectionInput input;               // stations by distance
  std::vector<std::filesystem::path> files;  // the file each station's model was read from
  std::vector<std::string> left;             // soundings without a model of the kind, with why
};

// The file whose model of kind `model` the section shows for sounding `file`.
std::filesystem::path sectionModelFile(const std::filesystem::path& file,
                                       present::SectionModel model);

// Reads the section of the survey in `folder`; empty, with the reason in
// `error`, when the folder has no soundings or none has a model of the kind.
std::optional<SurveySection> readSurveySection(const std::filesystem::path& folder,
                                               present::SectionModel model, std::string& error);

}  // namespace zeva::core
