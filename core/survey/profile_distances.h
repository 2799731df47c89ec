#pragma once
// Where the soundings of a survey lie along its profile.

#include <vector>

#include "core/survey/survey_index.h"

namespace zeva::core {

// The distance of each station from the first along the line through the
// first and the last, when every station has a location and the two ends
// differ; otherwise 0, 1, 2, ... in survey order.
std::vector<float> profileDistances(const std::vector<SurveyStation>& stations);

}  // namespace zeva::core
