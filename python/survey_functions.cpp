// Surveys from Python: survey_import makes the index of a folder of
// soundings (or of the soundings of a USF file) and batch fits every sounding
// of one, each as zeva-cli's verbs of the same names do.

#include <pybind11/stl.h>

#include <filesystem>

#include "core/survey/batch_run.h"
#include "core/survey/batch_summary.h"
#include "core/survey/survey_import.h"
#include "python/command_run.h"
#include "python/module_parts.h"
#include "python/sounding_arrays.h"

namespace py = pybind11;
namespace fs = std::filesystem;

namespace zeva::python {

namespace {

py::object optionalScalar(const std::optional<float>& value) {
  return value ? scalar(*value) : py::object(py::none());
}

py::dict stationDict(const core::SurveyStation& s) {
  py::dict d;
  d["file"] = s.file;
  d["station"] = s.station;
  d["data_type"] = s.dataType;
  d["east"] = optionalScalar(s.east);
  d["north"] = optionalScalar(s.north);
  d["elevation"] = optionalScalar(s.elevation);
  return d;
}

py::list surveyImport(const std::string& sourceText, const std::optional<std::string>& into) {
  const fs::path source(sourceText);
  std::error_code error;
  const bool fromFolder = fs::is_directory(source, error);
  if (!fromFolder && !into) throw py::value_error("a USF file needs folder= for its soundings");
  const fs::path folder = into ? fs::path(*into) : source;
  if (!fs::is_directory(folder, error))
    throw CommandFailed("survey-import: " + folder.string() + " is not a folder");
  if (fromFolder && into && !fs::equivalent(source, folder, error))
    throw py::value_error("a folder is made a survey in place; leave out folder=");
  const core::SurveyImport survey =
      fromFolder ? core::importSurveyFolder(folder) : core::importSurveyUsf(source, folder);
  if (survey.stations.empty()) throw CommandFailed("No readable soundings in " + sourceText);
  std::string message;
  if (!core::writeSurveyIndex(folder, survey.stations, message)) throw CommandFailed(message);
  std::vector<std::string> leftOut;
  for (const std::string& problem : survey.problems) leftOut.push_back(problem + " (left out)");
  warnAll(leftOut);
  py::list stations;
  for (const core::SurveyStation& s : survey.stations) stations.append(stationDict(s));
  return stations;
}

py::list batch(const std::string& folderText, bool estimate, bool invert, bool smooth,
               const std::optional<std::string>& method, bool equivalence, bool weightErrors,
               int jobs, bool inPlace) {
  if (!estimate && !invert && !smooth)
    throw py::value_error("choose at least one of estimate, invert and smooth");
  if (equivalence && !invert && !smooth)
    throw py::value_error("equivalence needs invert or smooth");
  if (method && (!smooth || (*method != "occam" && *method != "ridge")))
    throw py::value_error("method is 'occam' or 'ridge', with smooth=True");
  if (jobs < 0) throw py::value_error("jobs must be 0 (one per core) or more");
  core::BatchSteps steps;
  steps.estimate = estimate;
  steps.invert = invert;
  steps.smooth = smooth;
  steps.smoothMethod = !method              ? core::SmoothMethod::AsSounding
                       : *method == "occam" ? core::SmoothMethod::Occam
                                            : core::SmoothMethod::Ridge;
  steps.equivalence = equivalence;
  steps.weightErrors = weightErrors;
  steps.inPlace = inPlace;
  const fs::path folder(folderText);
  std::string error;
  const auto stations = core::surveyStations(folder, error);
  if (!stations) throw CommandFailed(error);
  if (stations->empty()) throw CommandFailed("No soundings (.ZVR files) in " + folderText);
  bool interrupted = false;
  const core::BatchRun run = core::runBatch(
      folder, *stations, steps, core::batchJobs(jobs, stations->size()),
      [](const core::BatchOutcome&) {},
      [&] {
        if (!interrupted && PyErr_CheckSignals() != 0) interrupted = true;
        return interrupted;
      });
  if (interrupted) throw py::error_already_set();
  if (!core::writeBatchSummary(folder, run.outcomes, error)) throw CommandFailed(error);
  py::list outcomes;
  for (const core::BatchOutcome& o : run.outcomes) {
    py::dict d = stationDict(o.station);
    d["layers"] = o.layers;
    d["fit_percent"] = scalar(o.fitPercent);
    d["iterations"] = o.iterations;
    d["seconds"] = o.seconds;
    d["status"] = o.ok ? "ok" : "failed";
    d["message"] = o.message;
    d["output"] = o.output;
    outcomes.append(d);
  }
  return outcomes;
}

}  // namespace

void addSurveyFunctions(py::module_& m) {
  m.def("survey_import", &surveyImport, py::arg("source"), py::arg("folder") = py::none(),
        "Make a survey (zeva-cli survey-import): the .ZVR soundings of a folder, its EDI files "
        "imported beside them, or every sounding of a USF file written into folder; the index "
        "survey.json is written and its stations returned as dicts (file, station, data_type, "
        "east, north, elevation). Files left out arrive as warnings.");
  m.def("batch", &batch, py::arg("folder"), py::kw_only(), py::arg("estimate") = false,
        py::arg("invert") = false, py::arg("smooth") = false, py::arg("method") = py::none(),
        py::arg("equivalence") = false, py::arg("weight_errors") = false, py::arg("jobs") = 0,
        py::arg("in_place") = false,
        "Fit every sounding of a survey folder (zeva-cli batch): the chosen steps, each as the "
        "single-sounding function runs it, with results written as NAME.inverted.ZVR (or over "
        "the inputs with in_place) and the summary as batch-summary.csv and .json. Returns one "
        "dict per sounding with the summary's columns. Ctrl+C starts no further sounding.");
}

}  // namespace zeva::python
