#include "core/survey/survey_section.h"

#include <algorithm>
#include <numeric>
#include <system_error>

#include "core/record/data_type.h"
#include "core/survey/profile_distances.h"
#include "core/survey/survey_index.h"
#include "files/native_file.h"
#include "present/plot_series.h"

namespace zeva::core {

namespace fs = std::filesystem;
using present::SectionModel;

namespace {

// A fit above this marks a refused model, not a fit.
constexpr float kLargestFit = 1.0e9f;

std::string kindOf(SectionModel model) {
  switch (model) {
    case SectionModel::Layered:
      return "a layered model";
    case SectionModel::Smooth:
      return "a smooth model (zeva-cli batch --smooth makes them)";
    case SectionModel::Lci:
      return "a laterally constrained model (NAME.lci.ZVR, made by zeva-cli lci)";
  }
  return {};
}

// The layers of a model; conductivities in mS/m become resistivities.
std::vector<present::SectionLayer> layersOf(const Sounding& instance) {
  const bool conductivity = traitsOf(instance.header.dataType).conductivityModel;
  const present::ModelColumns columns = present::modelColumns(instance);
  std::vector<present::SectionLayer> layers;
  float top = 0.0f;
  for (std::size_t j = 0; j < columns.resistivity.size(); ++j) {
    const float value = columns.resistivity[j];
    const float bottom = j < columns.bottomDepth.size() ? columns.bottomDepth[j] : top;
    layers.push_back({conductivity ? 1000.0f / value : value, bottom - top});
    top = bottom;
  }
  return layers;
}

std::optional<float> fitOf(const Sounding& instance) {
  const float fit = instance.layer.PCTERR;
  if (!isSet(instance.layer.syntheticValid) || !(fit >= 0.0f && fit < kLargestFit)) return {};
  return fit;
}

std::string surveyName(const fs::path& folder) {
  const fs::path whole = fs::absolute(folder).lexically_normal();
  return (whole.has_filename() ? whole.filename() : whole.parent_path().filename()).string();
}

}  // namespace

fs::path sectionModelFile(const fs::path& file, SectionModel model) {
  if (model == SectionModel::Lci) {
    fs::path result = file;
    return result.replace_filename(file.stem().string() + kLciResultSuffix +
                                   std::string(files::kNativeFileExtension));
  }
  std::error_code missing;
  const fs::path result = batchResultOf(file);
  return fs::exists(result, missing) ? result : file;
}

std::optional<SurveySection> readSurveySection(const fs::path& folder, SectionModel model,
                                               std::string& error) {
  error.clear();  // surveyStations reads a message left in it as its own
  std::optional<std::vector<SurveyStation>> stations = surveyStations(folder, error);
  if (!stations) return std::nullopt;
  if (stations->empty()) {
    error = folder.string() + " holds no soundings (no survey.json and no .ZVR files)";
    return std::nullopt;
  }
  SurveySection section;
  section.input.model = model;
  section.input.survey = surveyName(folder);
  std::vector<std::size_t> found;  // survey positions of the stations drawn
  std::vector<present::SectionStation> drawn;
  std::vector<fs::path> modelFiles;
  for (std::size_t i = 0; i < stations->size(); ++i) {
    SurveyStation& station = (*stations)[i];
    const fs::path file = sectionModelFile(folder / station.file, model);
    CurrentSounding current;
    std::error_code missing;
    if (!fs::exists(file, missing)) {
      section.left.push_back(station.file + ": no " + file.filename().string());
      continue;
    }
    if (!files::openNativeFile(file, current).ok) {
      section.left.push_back(station.file + ": " + file.filename().string() + " cannot be read");
      continue;
    }
    const Sounding& instance = model == SectionModel::Smooth ? current.SM : current.S;
    if (!instance.hasModel()) {
      section.left.push_back(station.file + ": no model in " + file.filename().string());
      continue;
    }
    // The record's location stands in for one the index does not give.
    if (!station.east || !station.north) {
      station.east = current.S.header.east;
      station.north = current.S.header.north;
    }
    const std::string name =
        station.station.empty() ? fs::path(station.file).stem().string() : station.station;
    drawn.push_back({name, 0.0f, layersOf(instance), fitOf(instance)});
    found.push_back(i);
    modelFiles.push_back(file);
  }
  if (found.empty()) {
    error = "None of the " + std::to_string(stations->size()) + " soundings of " + folder.string() +
            " has " + kindOf(model);
    return std::nullopt;
  }
  // Distances over the whole survey, so that a sounding without a model
  // leaves its gap.
  const std::vector<float> distances = profileDistances(*stations);
  std::vector<std::size_t> order(found.size());
  std::iota(order.begin(), order.end(), 0u);
  std::ranges::stable_sort(order, {}, [&](std::size_t k) { return distances[found[k]]; });
  for (const std::size_t k : order) {
    drawn[k].distance = distances[found[k]];
    section.input.stations.push_back(std::move(drawn[k]));
    section.files.push_back(modelFiles[k]);
  }
  return section;
}

}  // namespace zeva::core
