#include "cli/lci_summary.h"

#include <fmt/format.h>
#include <fmt/ostream.h>

#include <nlohmann/json.hpp>

#include "core/survey/batch_summary.h"

namespace zeva::cli {

namespace fs = std::filesystem;
using core::csvField;
using core::csvNumber;
using core::jsonNumber;
using core::saveSummaryFile;
using nlohmann::json;

namespace {

void writeCsv(std::ostream& out, const LciSummary& summary) {
  out << "file,station,distance,east,north,layers,fit_percent,status,message\n";
  for (const LciRow& r : summary.rows)
    fmt::print(out, "{},{},{},{},{},{},{:.4g},{},{}\n", csvField(r.file), csvField(r.station),
               r.distance, csvNumber(r.east), csvNumber(r.north), r.layers, r.fitPercent,
               r.ok ? "ok" : "failed", csvField(r.message));
}

json summaryJson(const LciSummary& summary) {
  json list = json::array();
  for (const LciRow& r : summary.rows)
    list.push_back({{"file", r.file},
                    {"input", r.input},
                    {"output", r.output},
                    {"station", r.station},
                    {"distance", r.distance},
                    {"east", jsonNumber(r.east)},
                    {"north", jsonNumber(r.north)},
                    {"layers", r.layers},
                    {"fit_percent", r.fitPercent},
                    {"status", r.ok ? "ok" : "failed"},
                    {"message", r.message}});
  return {{"lateral_weight", summary.lateralWeight},
          {"iterations", summary.iterations},
          {"lateral_roughness_before", summary.roughnessBefore},
          {"lateral_roughness_after", summary.roughnessAfter},
          {"soundings", list}};
}

}  // namespace

bool writeLciSummary(const fs::path& folder, const LciSummary& summary, std::string& error) {
  return saveSummaryFile(
             folder / "lci-summary.csv",
             [&](std::ostream& out) {
               writeCsv(out, summary);
               return static_cast<bool>(out);
             },
             error) &&
         saveSummaryFile(
             folder / "lci-summary.json",
             [&](std::ostream& out) {
               out << summaryJson(summary).dump(2) << '\n';
               return static_cast<bool>(out);
             },
             error);
}

}  // namespace zeva::cli
