// zeva-cli estimate, smooth and equivalence, run as a process on the default
// sounding; how well the models fit is the inversion tests' business.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "tests/cli/cli_runner.h"
#include "tests/support/test_support.h"

namespace zeva::test {
namespace {

using nlohmann::json;

std::string quoted(const std::filesystem::path& path) { return "'" + path.string() + "' "; }

// Writes `zvr`: a Schlumberger sounding of `readings` readings at six per
// decade of AB/2 from 1 m, with placeholder resistivities, imported from
// flat ASCII. Returns the import's exit status.
int importSchlumbergerSpacings(const TemporaryFolder& folder, const std::filesystem::path& zvr,
                               int readings) {
  std::string text = "AB/2 MN rho\n";
  for (int i = 0; i < readings; ++i) {
    const double ab2 = std::pow(10.0, i / 6.0);
    char row[64];
    std::snprintf(row, sizeof row, "%.5g %.5g 100\n", ab2, std::max(0.2, ab2 / 5.0));
    text += row;
  }
  const auto dat = folder / "spacings.dat";
  writeFile(dat, text);
  return runCli("import-dat " + quoted(dat) +
                "--type 'Schlumberger Array' --spacing-column 1 --mn-column 2 "
                "--resistivity-column 3 -o " +
                quoted(zvr))
      .status;
}

TEST(CliEstimate, WritesTheModelItPrintsWithItsSynthetics) {
  TemporaryFolder folder;
  const auto estimated = folder / "estimated.ZVR";
  const CliRun run = runCli("estimate default --json -o " + quoted(estimated));
  ASSERT_EQ(run.status, 0) << run.err;
  const json result = json::parse(run.out);
  EXPECT_GE(result["model"]["nlayer"].get<int>(), 2);
  EXPECT_TRUE(result["synthetic_valid"]);
  EXPECT_EQ(infoJson(estimated)["model"], result["model"]);
}

TEST(CliSmooth, OccamAndRidgeGiveALayerPerReadingAndExcludeEachOther) {
  for (const char* method : {"--occam", "--ridge"}) {
    const CliRun run = runCli(std::string("smooth default ") + method + " --json");
    ASSERT_EQ(run.status, 0) << method << run.err;
    EXPECT_EQ(json::parse(run.out)["smooth_model"]["nlayer"], 22) << method;
  }
  EXPECT_EQ(runCli("smooth default --occam --ridge").status, 2);
}

TEST(CliEstimate, TooFewReadingsAreRefusedWithTheirMessages) {
  TemporaryFolder folder;
  const auto zvr = folder / "short.ZVR";
  ASSERT_EQ(importSchlumbergerSpacings(folder, zvr, 2), 0);
  const CliRun estimate = runCli("estimate " + quoted(zvr) + "-o " + quoted(folder / "x.ZVR"));
  EXPECT_EQ(estimate.status, 1);
  EXPECT_NE(estimate.err.find("NEED AT LEAST 3 POINTS TO ESTIMATE MODEL"), std::string::npos)
      << estimate.err;
  EXPECT_FALSE(std::filesystem::exists(folder / "x.ZVR"));

  ASSERT_EQ(importSchlumbergerSpacings(folder, zvr, 3), 0);
  const CliRun smooth = runCli("smooth " + quoted(zvr));
  EXPECT_EQ(smooth.status, 1);
  EXPECT_NE(smooth.err.find("Insufficient data to make smooth model"), std::string::npos)
      << smooth.err;
}

TEST(CliEquivalence, WithoutAnInversionFailsWithTheProgramsMessage) {
  const CliRun layered = runCli("equivalence default");
  EXPECT_EQ(layered.status, 1);
  EXPECT_NE(layered.err.find("Please do inversion"), std::string::npos) << layered.err;
}

TEST(CliEquivalence, RangesOfTheInvertedDefaultModelHoldItAndAreWritten) {
  TemporaryFolder folder;
  const auto inverted = folder / "inverted.ZVR";
  const auto analysed = folder / "analysed.ZVR";
  ASSERT_EQ(runCli("invert default -o " + quoted(inverted)).status, 0);
  EXPECT_FALSE(infoJson(inverted).contains("equivalence"));

  const CliRun run = runCli("equivalence " + quoted(inverted) + "--json -o " + quoted(analysed));
  ASSERT_EQ(run.status, 0) << run.err;
  const json result = json::parse(run.out);
  EXPECT_TRUE(result["equivalence_valid"]);
  const json& e = result["equivalence"];
  const json& par = result["model"]["par"];
  const std::size_t npar = par.size();
  ASSERT_EQ(npar, 13u);
  ASSERT_EQ(e["parmin"].size(), npar);
  ASSERT_EQ(e["models"].size(), 2 * npar);
  ASSERT_EQ(e["fits"].size(), 2 * npar);
  for (std::size_t j = 0; j < npar; ++j) {
    EXPECT_LE(e["parmin"][j].get<double>(), par[j].get<double>()) << j;
    EXPECT_GE(e["parmax"][j].get<double>(), par[j].get<double>()) << j;
    EXPECT_LT(e["parmin"][j].get<double>(), e["parmax"][j].get<double>()) << j;
  }
  // Boundary ranges: seven layers, six boundaries, each range ordered.
  ASSERT_EQ(e["znmin"].size(), 7u);
  for (std::size_t k = 0; k < 6; ++k)
    EXPECT_LT(e["znmin"][k].get<double>(), e["znmax"][k].get<double>()) << k;
  EXPECT_EQ(infoJson(analysed)["equivalence"], e);
}

TEST(CliEquivalence, SmoothAnalysisFillsTheSmoothRangesOnly) {
  TemporaryFolder folder;
  const auto smooth = folder / "smooth.ZVR";
  ASSERT_EQ(runCli("smooth default --occam -o " + quoted(smooth)).status, 0);
  const CliRun run = runCli("equivalence " + quoted(smooth) + "--smooth --json");
  ASSERT_EQ(run.status, 0) << run.err;
  const json result = json::parse(run.out);
  EXPECT_FALSE(result.contains("equivalence"));
  ASSERT_TRUE(result.contains("smooth_equivalence"));
  const json& par = result["smooth_model"]["par"];
  const json& e = result["smooth_equivalence"];
  const std::size_t layers = result["smooth_model"]["nlayer"];
  for (std::size_t j = 0; j < layers; ++j) {
    EXPECT_LE(e["parmin"][j].get<double>(), par[j].get<double>()) << j;
    EXPECT_GE(e["parmax"][j].get<double>(), par[j].get<double>()) << j;
  }
}

}  // namespace
}  // namespace zeva::test
