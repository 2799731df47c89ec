#include "core/survey/survey_index.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <nlohmann/json.hpp>
#include <system_error>

#include "files/native_file.h"
#include "files/save_file.h"

namespace zeva::core {

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::ranges::equal(a, b, [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

json optionalNumber(const std::optional<float>& value) {
  return value ? json(*value) : json(nullptr);
}

std::optional<float> numberOrEmpty(const json& entry, const char* key) {
  if (!entry.contains(key) || entry[key].is_null()) return std::nullopt;
  return entry[key].get<float>();
}

// A file of the index must be a plain name: the batch writes its result
// beside it, and never outside the survey folder.
bool isPlainFileName(const std::string& name) {
  const fs::path path(name);
  return !name.empty() && path == path.filename() && name != "." && name != "..";
}

}  // namespace

std::vector<std::string> nativeFilesOf(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    const fs::path& path = entry.path();
    if (!entry.is_regular_file(error) ||
        !equalIgnoringCase(path.extension().string(), files::kNativeFileExtension))
      continue;
    if (equalIgnoringCase(path.stem().extension().string(), kBatchResultSuffix)) continue;
    names.push_back(path.filename().string());
  }
  std::ranges::sort(names);
  return names;
}

fs::path batchResultOf(const fs::path& file) {
  fs::path result = file;
  result.replace_filename(file.stem().string() + kBatchResultSuffix +
                          std::string(files::kNativeFileExtension));
  return result;
}

bool writeSurveyIndex(const fs::path& folder, const std::vector<SurveyStation>& stations,
                      std::string& error) {
  json list = json::array();
  for (const SurveyStation& s : stations)
    list.push_back({{"file", s.file},
                    {"station", s.station},
                    {"data_type", s.dataType},
                    {"east", optionalNumber(s.east)},
                    {"north", optionalNumber(s.north)},
                    {"elevation", optionalNumber(s.elevation)}});
  const json index = {{"soundings", list}};
  const fs::path target = folder / kSurveyIndexName;
  const files::SaveResult saved = files::saveStream(target, [&](std::ostream& out) {
    out << index.dump(2) << '\n';
    return static_cast<bool>(out);
  });
  if (!saved.saved()) error = "Cannot write " + target.string();
  return saved.saved();
}

std::optional<std::vector<SurveyStation>> readSurveyIndex(const fs::path& folder,
                                                          std::string& error) {
  const fs::path file = folder / kSurveyIndexName;
  std::error_code missing;
  if (!fs::exists(file, missing)) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  const json index = json::parse(in, nullptr, false);
  const auto bad = [&](const std::string& why) {
    error = file.string() + ": " + why;
    return std::nullopt;
  };
  if (!in.good() && !in.eof()) return bad("cannot be read");
  if (index.is_discarded() || !index.is_object() || !index.contains("soundings") ||
      !index["soundings"].is_array())
    return bad("not a survey index (a JSON object with a list \"soundings\")");
  std::vector<SurveyStation> stations;
  for (const json& entry : index["soundings"]) {
    if (!entry.is_object() || !entry.contains("file") || !entry["file"].is_string())
      return bad("a sounding without a file name");
    SurveyStation s;
    s.file = entry["file"].get<std::string>();
    if (!isPlainFileName(s.file)) return bad("\"" + s.file + "\" is not a file of the folder");
    try {
      s.station = entry.value("station", fs::path(s.file).stem().string());
      s.dataType = entry.value("data_type", std::string());
      s.east = numberOrEmpty(entry, "east");
      s.north = numberOrEmpty(entry, "north");
      s.elevation = numberOrEmpty(entry, "elevation");
    } catch (const json::exception&) {
      return bad("the entry of " + s.file + " has a value of the wrong kind");
    }
    stations.push_back(std::move(s));
  }
  return stations;
}

std::optional<std::vector<SurveyStation>> surveyStations(const fs::path& folder,
                                                         std::string& error) {
  if (auto index = readSurveyIndex(folder, error)) return index;
  if (!error.empty()) return std::nullopt;
  std::vector<SurveyStation> stations;
  for (const std::string& file : nativeFilesOf(folder))
    stations.push_back({file, fs::path(file).stem().string(), {}, {}, {}, {}});
  return stations;
}

}  // namespace zeva::core
