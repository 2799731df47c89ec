#pragma once
// One sounding of a batch: read it, run the chosen commands as the
// single-sounding verbs run them, and write the result beside the input.
// Each call has its own program and toolkit, so soundings may be worked on
// in parallel threads.

#include <filesystem>
#include <string>

#include "core/survey/fitting_steps.h"
#include "core/survey/survey_index.h"

namespace zeva::core {

struct BatchSteps {
  bool estimate = false;
  bool invert = false;
  bool smooth = false;
  SmoothMethod smoothMethod = SmoothMethod::AsSounding;
  bool equivalence = false;  // analyse the equivalence of the fitted models
  bool weightErrors = false;
  bool inPlace = false;  // write the result over the input instead of NAME.inverted.ZVR
};

struct BatchOutcome {
  SurveyStation station;  // location as the record holds it, once read
  int layers = 0;
  float fitPercent = 0.0f;
  int iterations = 0;
  double seconds = 0.0;
  bool ok = false;
  std::string message;  // the program's messages, or why the sounding failed
  std::string output;   // file name of the result; empty when none was written
};

BatchOutcome runBatchSounding(const std::filesystem::path& folder, const SurveyStation& station,
                              const BatchSteps& steps);

// The station of a native file as its record describes it; false, with the
// reason in `message`, when the file cannot be read whole.
bool readSurveyStation(const std::filesystem::path& file, SurveyStation& station,
                       std::string& message);

}  // namespace zeva::core
