#include "core/survey/batch_summary.h"

#include <fmt/format.h>
#include <fmt/ostream.h>

#include <charconv>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>

#include "files/save_file.h"

namespace zeva::core {

namespace fs = std::filesystem;
using nlohmann::json;

std::string csvField(const std::string& text) {
  if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::string csvNumber(const std::optional<float>& value) {
  return value ? fmt::format("{}", *value) : std::string();
}

json jsonNumber(const std::optional<float>& value) { return value ? json(*value) : json(nullptr); }

bool saveSummaryFile(const fs::path& target, const files::StreamWriter& write, std::string& error) {
  if (files::saveStream(target, write).saved()) return true;
  error = "Cannot write " + target.string();
  return false;
}

namespace {

std::optional<float> numberOf(const json& value) {
  return value.is_number() ? std::optional<float>(value.get<float>()) : std::nullopt;
}

void writeCsv(std::ostream& out, const std::vector<BatchOutcome>& outcomes) {
  out << "file,station,east,north,elevation,layers,fit_percent,iterations,seconds,status,"
         "message\n";
  for (const BatchOutcome& o : outcomes)
    fmt::print(out, "{},{},{},{},{},{},{:.4g},{},{:.3f},{},{}\n", csvField(o.station.file),
               csvField(o.station.station), csvNumber(o.station.east), csvNumber(o.station.north),
               csvNumber(o.station.elevation), o.layers, o.fitPercent, o.iterations, o.seconds,
               o.ok ? "ok" : "failed", csvField(o.message));
}

json soundingJson(const BatchOutcome& o) {
  return {{"file", o.station.file},
          {"station", o.station.station},
          {"east", jsonNumber(o.station.east)},
          {"north", jsonNumber(o.station.north)},
          {"elevation", jsonNumber(o.station.elevation)},
          {"layers", o.layers},
          {"fit_percent", o.fitPercent},
          {"iterations", o.iterations},
          {"seconds", o.seconds},
          {"status", o.ok ? "ok" : "failed"},
          {"message", o.message},
          {"output", o.output}};
}

// The summary as json::dump(2) would write it, one sounding at a time, so
// that a survey of thousands of soundings needs no document of them all.
void writeJson(std::ostream& out, const std::vector<BatchOutcome>& outcomes) {
  const auto failed = std::ranges::count_if(outcomes, [](const BatchOutcome& o) { return !o.ok; });
  out << "{\n  \"failed\": " << failed << ",\n  \"soundings\": [";
  for (std::size_t k = 0; k < outcomes.size(); ++k) {
    std::string entry = soundingJson(outcomes[k]).dump(2);
    for (std::size_t at = entry.find('\n'); at != std::string::npos; at = entry.find('\n', at + 5))
      entry.replace(at, 1, "\n    ");
    out << (k == 0 ? "\n    " : ",\n    ") << entry;
  }
  out << (outcomes.empty() ? "]" : "\n  ]")
      << ",\n  \"succeeded\": " << static_cast<std::ptrdiff_t>(outcomes.size()) - failed << "\n}\n";
}

}  // namespace

std::string partSummaryName(int part, int parts) {
  return fmt::format("{}.part-{}-of-{}", kBatchSummaryName, part, parts);
}

std::vector<SurveyStation> partOf(const std::vector<SurveyStation>& stations, int part, int parts) {
  const std::size_t n = stations.size();
  const auto edge = [&](int k) {
    return n * static_cast<std::size_t>(k) / static_cast<std::size_t>(parts);
  };
  const auto first = static_cast<std::ptrdiff_t>(edge(part - 1));
  const auto last = static_cast<std::ptrdiff_t>(edge(part));
  return {stations.begin() + first, stations.begin() + last};
}

bool writeBatchSummary(const fs::path& folder, const std::vector<BatchOutcome>& outcomes,
                       std::string& error, const std::string& name) {
  return saveSummaryFile(
             folder / (name + ".csv"),
             [&](std::ostream& out) {
               writeCsv(out, outcomes);
               return static_cast<bool>(out);
             },
             error) &&
         saveSummaryFile(
             folder / (name + ".json"),
             [&](std::ostream& out) {
               writeJson(out, outcomes);
               return static_cast<bool>(out);
             },
             error);
}

bool readBatchSummary(const fs::path& file, std::vector<BatchOutcome>& outcomes,
                      std::string& error) {
  std::ifstream in(file, std::ios::binary);
  const json summary = json::parse(in, nullptr, false);
  if (!in.is_open() || summary.is_discarded() || !summary.is_object() ||
      !summary.contains("soundings") || !summary["soundings"].is_array()) {
    error = file.string() + ": not a batch summary";
    return false;
  }
  try {
    for (const json& s : summary["soundings"]) {
      BatchOutcome o;
      o.station = {s.at("file").get<std::string>(),
                   s.at("station").get<std::string>(),
                   {},
                   numberOf(s.at("east")),
                   numberOf(s.at("north")),
                   numberOf(s.at("elevation"))};
      o.layers = s.at("layers").get<int>();
      o.fitPercent = s.at("fit_percent").get<float>();
      o.iterations = s.at("iterations").get<int>();
      o.seconds = s.at("seconds").get<double>();
      o.ok = s.at("status").get<std::string>() == "ok";
      o.message = s.at("message").get<std::string>();
      o.output = s.at("output").get<std::string>();
      outcomes.push_back(std::move(o));
    }
  } catch (const json::exception&) {
    error =
        file.string() + ": a sounding of the summary lacks a value or has one of the wrong kind";
    return false;
  }
  return true;
}

namespace {

// Reads K and N of "batch-summary.part-K-of-N.json"; false for any other name.
bool readPartName(std::string_view name, int& part, int& of) {
  const std::string_view head = "batch-summary.part-", middle = "-of-", tail = ".json";
  if (!name.starts_with(head) || !name.ends_with(tail)) return false;
  name = name.substr(head.size(), name.size() - head.size() - tail.size());
  const std::size_t split = name.find(middle);
  if (split == std::string_view::npos) return false;
  const auto number = [](std::string_view digits, int& value) {
    const char* end = digits.data() + digits.size();
    const auto [at, problem] = std::from_chars(digits.data(), end, value);
    return !digits.empty() && digits.size() <= 6 && digits.front() != '-' &&
           problem == std::errc() && at == end;
  };
  return number(name.substr(0, split), part) && number(name.substr(split + middle.size()), of);
}

}  // namespace

bool mergeBatchSummaries(const fs::path& folder, int& soundings, int& failed, std::string& error) {
  std::map<int, fs::path> parts;
  int split = 0;
  std::error_code listing;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, listing)) {
    int part = 0;
    int of = 0;
    if (!readPartName(entry.path().filename().string(), part, of)) continue;
    if (split != 0 && of != split) {
      error = "Part summaries of different splits (of " + std::to_string(split) + " and of " +
              std::to_string(of) + ") in " + folder.string();
      return false;
    }
    split = of;
    parts[part] = entry.path();
  }
  if (split == 0) {
    error = "No part summaries (batch-summary.part-K-of-N.json) in " + folder.string();
    return false;
  }
  std::vector<BatchOutcome> outcomes;
  for (int part = 1; part <= split; ++part) {
    if (!parts.contains(part)) {
      error = "Part " + std::to_string(part) + " of " + std::to_string(split) +
              " has no summary in " + folder.string();
      return false;
    }
    if (!readBatchSummary(parts[part], outcomes, error)) return false;
  }
  if (!writeBatchSummary(folder, outcomes, error)) return false;
  soundings = static_cast<int>(outcomes.size());
  failed = static_cast<int>(
      std::ranges::count_if(outcomes, [](const BatchOutcome& o) { return !o.ok; }));
  return true;
}

}  // namespace zeva::core
