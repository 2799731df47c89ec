#include "cli/batch_summary.h"

#include <fmt/format.h>
#include <fmt/ostream.h>

#include <nlohmann/json.hpp>

#include "files/save_file.h"

namespace zeva::cli {

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

void writeCsv(std::ostream& out, const std::vector<BatchOutcome>& outcomes) {
  out << "file,station,east,north,elevation,layers,fit_percent,iterations,seconds,status,"
         "message\n";
  for (const BatchOutcome& o : outcomes)
    fmt::print(out, "{},{},{},{},{},{},{:.4g},{},{:.3f},{},{}\n", csvField(o.station.file),
               csvField(o.station.station), csvNumber(o.station.east), csvNumber(o.station.north),
               csvNumber(o.station.elevation), o.layers, o.fitPercent, o.iterations, o.seconds,
               o.ok ? "ok" : "failed", csvField(o.message));
}

json summaryJson(const std::vector<BatchOutcome>& outcomes) {
  json list = json::array();
  int failed = 0;
  for (const BatchOutcome& o : outcomes) {
    if (!o.ok) ++failed;
    list.push_back({{"file", o.station.file},
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
                    {"output", o.output}});
  }
  return {{"soundings", list},
          {"succeeded", static_cast<int>(outcomes.size()) - failed},
          {"failed", failed}};
}

}  // namespace

bool writeBatchSummary(const fs::path& folder, const std::vector<BatchOutcome>& outcomes,
                       std::string& error) {
  return saveSummaryFile(
             folder / "batch-summary.csv",
             [&](std::ostream& out) {
               writeCsv(out, outcomes);
               return static_cast<bool>(out);
             },
             error) &&
         saveSummaryFile(
             folder / "batch-summary.json",
             [&](std::ostream& out) {
               out << summaryJson(outcomes).dump(2) << '\n';
               return static_cast<bool>(out);
             },
             error);
}

}  // namespace zeva::cli
