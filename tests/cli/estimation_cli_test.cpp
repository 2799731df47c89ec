// zeva-cli estimate, smooth and equivalence, run as a process on noise-free
// Schlumberger data of a known three-layer earth and on the default sounding.

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

// The apparent resistivities of 100/10/1000 ohm-m over 5 m and 20 m, AB/2
// from 1 m to 1000 m, made the data of a sounding by transferring the
// synthetics of that model without noise.
class CliThreeLayerSounding : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(importSchlumbergerSpacings(folder, sounding, 19), 0);
    ASSERT_EQ(runCli("set-model " + quoted(sounding) + "--rho 100 10 1000 --thick 5 20 -o " +
                     quoted(sounding))
                  .status,
              0);
    ASSERT_EQ(runCli("forward " + quoted(sounding) + "-o " + quoted(sounding)).status, 0);
    ASSERT_EQ(runCli("transfer " + quoted(sounding) + "--noise 0 -o " + quoted(sounding)).status,
              0);
  }

  TemporaryFolder folder;
  std::filesystem::path sounding = folder / "three_layers.ZVR";
};

TEST_F(CliThreeLayerSounding, EstimateFindsTheCoverAndAModelThatFitsAndSavesIt) {
  const auto estimated = folder / "estimated.ZVR";
  const CliRun run = runCli("estimate " + quoted(sounding) + "--json -o " + quoted(estimated));
  ASSERT_EQ(run.status, 0) << run.err;
  const json result = json::parse(run.out);
  const json& model = result["model"];
  EXPECT_GE(model["nlayer"].get<int>(), 2);
  EXPECT_NEAR(model["par"][0].get<double>(), 100.0, 10.0);
  EXPECT_TRUE(result["synthetic_valid"]);
  EXPECT_LT(result["pcterr"].get<double>(), 15.0);
  EXPECT_EQ(infoJson(estimated)["model"], model);
}

TEST_F(CliThreeLayerSounding, SmoothOccamAndRidgeModelsFitTheData) {
  const CliRun occam = runCli("smooth " + quoted(sounding) + "--occam --json");
  ASSERT_EQ(occam.status, 0) << occam.err;
  const json smooth = json::parse(occam.out)["smooth_model"];
  ASSERT_TRUE(smooth.is_object());
  const int layers = smooth["nlayer"];
  EXPECT_GT(layers, 10);
  // Near the surface the smooth model sees the 100 ohm-m cover; deeper it
  // must rise towards the resistive basement.
  EXPECT_NEAR(smooth["par"][0].get<double>(), 100.0, 20.0);
  EXPECT_GT(smooth["par"][layers - 1].get<double>(), 300.0);

  const CliRun ridge = runCli("smooth " + quoted(sounding) + "--ridge --json");
  ASSERT_EQ(ridge.status, 0) << ridge.err;
  EXPECT_EQ(json::parse(ridge.out)["smooth_model"]["nlayer"], layers);

  EXPECT_EQ(runCli("smooth " + quoted(sounding) + "--occam --ridge").status, 2);
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

TEST(CliEquivalence, NeedsTheResolutionMatrixOfAnInversion) {
  const CliRun layered = runCli("equivalence default");
  EXPECT_EQ(layered.status, 1);
  EXPECT_NE(layered.err.find("Please do inversion before analyzing equivalence"), std::string::npos)
      << layered.err;
  const CliRun smooth = runCli("equivalence default --smooth");
  EXPECT_EQ(smooth.status, 1);
  EXPECT_NE(smooth.err.find("Please estimate smooth model before analyzing smooth equivalence"),
            std::string::npos)
      << smooth.err;
}

TEST(CliEquivalence, RangesOfTheInvertedDefaultModelHoldItAndTheirModelsFit) {
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
  // Every equivalent model fits within 20 % of the best fit, up to the
  // search tolerance of a tenth of that margin, and its own fit is near it.
  const double best = result["pcterr"];
  for (const json& fit : e["fits"]) {
    EXPECT_LE(fit.get<double>(), 1.2 * best + 0.02 * best + 1e-4);
    EXPECT_GT(fit.get<double>(), best);
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
