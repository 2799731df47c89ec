// zeva-cli estimate, smooth and equivalence, run as a process on the default
// sounding; how well the models fit is the inversion tests' business.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "tests/cli/cli_runner.h"
#include "tests/support/test_support.h"

namespace zeva::test {
namespace {

using nlohmann::json;

std::string quoted(const std::filesystem::path& path) { return "'" + path.string() + "' "; }

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
  // Each range under its own key: the ranges hold the model, the boundary
  // ranges are ordered, and there are two equivalent models per parameter.
  const json& e = result["equivalence"];
  const json& par = result["model"]["par"];
  ASSERT_EQ(e["parmin"].size(), par.size());
  ASSERT_EQ(e["models"].size(), 2 * par.size());
  ASSERT_EQ(e["fits"].size(), 2 * par.size());
  for (std::size_t j = 0; j < par.size(); ++j) {
    EXPECT_LE(e["parmin"][j].get<double>(), par[j].get<double>()) << j;
    EXPECT_GE(e["parmax"][j].get<double>(), par[j].get<double>()) << j;
  }
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
