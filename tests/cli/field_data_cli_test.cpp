// zeva-cli on a wide-band MT sounding made by the program, as field data are
// worked: estimate, invert with --weight-errors and --robust, smooth with its
// depth range and fit, equivalence with --weight-errors.

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

constexpr const char* kImportMt =
    "--type 'Magnetotelluric Data' --frequency-column 1 --resistivity-column 2 "
    "--phase-column 3 --rho-error-column 4 --phase-error-column 5 --first-row 2 --last-row 61 ";
constexpr const char* kConductorModel = "--rho 100,2,300,20 --thick 300,500,3000 ";

// 60 frequencies from 0.001 to 1000 Hz over a four-layer earth with a
// 2 ohm-m conductor: the program's response, with errors of 2 % of each
// value, then 2 % noise from Transfer.
class CliWideBandMt : public ::testing::Test {
 protected:
  void SetUp() override {
    // The frequencies first, to get the response of the earth at them; rows
    // are counted as lines of the file, the heading the first.
    std::string text = "f rho phase drho dphase\n";
    for (int i = 0; i < 60; ++i) {
      char row[96];
      std::snprintf(row, sizeof row, "%.6g 100 45 2 0.9\n", 1.0e-3 * std::pow(1.0e6, i / 59.0));
      text += row;
    }
    writeFile(folder / "f.dat", text);
    ASSERT_EQ(run("import-dat " + quoted(folder / "f.dat") + kImportMt + "-o " + quoted(mt)), 0);
    ASSERT_EQ(run("set-model " + quoted(mt) + kConductorModel + "-o " + quoted(mt)), 0);
    const CliRun response = runCli("forward " + quoted(mt) + "--json");
    ASSERT_EQ(response.status, 0) << response.err;
    const json synthetic = json::parse(response.out)["synthetic"];
    const json frequency = json::parse(response.out)["time"];

    text = "f rho phase drho dphase\n";
    for (std::size_t i = 0; i < 60; ++i) {
      const double rho = synthetic[i][0], phase = synthetic[i][1];
      char row[128];
      std::snprintf(row, sizeof row, "%.7g %.7g %.7g %.5g %.5g\n", frequency[i][0].get<double>(),
                    rho, phase, 0.02 * rho, 0.02 * phase);
      text += row;
    }
    writeFile(folder / "mt.dat", text);
    ASSERT_EQ(run("import-dat " + quoted(folder / "mt.dat") + kImportMt + "-o " + quoted(mt)), 0);
    ASSERT_EQ(run("set-model " + quoted(mt) + kConductorModel + "-o " + quoted(mt)), 0);
    ASSERT_EQ(run("forward " + quoted(mt) + "-o " + quoted(mt)), 0);
    ASSERT_EQ(run("transfer " + quoted(mt) + "--noise 2 -o " + quoted(mt)), 0);
  }

  int run(const std::string& arguments) {
    const CliRun result = runCli(arguments);
    EXPECT_EQ(result.status, 0) << arguments << "\n" << result.err;
    return result.status;
  }

  TemporaryFolder folder;
  std::filesystem::path mt = folder / "mt.ZVR";
};

TEST_F(CliWideBandMt, EstimateThenWeightedInversionFitsBelowThreePercent) {
  const auto estimated = folder / "estimated.ZVR";
  ASSERT_EQ(run("estimate " + quoted(mt) + "-o " + quoted(estimated)), 0);
  const CliRun inverted = runCli("invert " + quoted(estimated) + "--weight-errors --json");
  ASSERT_EQ(inverted.status, 0) << inverted.err;
  const json result = json::parse(inverted.out);
  EXPECT_LT(result["pcterr"].get<double>(), 3.0);
  EXPECT_TRUE(result["error_weighting"]);
  // The weighted fit counts in error bars: 2 % noise on 2 % errors fits
  // near 1.
  EXPECT_GT(result["weighted_fit"].get<double>(), 0.5);
  EXPECT_LT(result["weighted_fit"].get<double>(), 1.6);
  EXPECT_EQ(result["inversion"]["robust"], json({{"on", false}}));
}

TEST_F(CliWideBandMt, RobustInversionReportsItsWeights) {
  ASSERT_EQ(run("estimate " + quoted(mt) + "-o " + quoted(mt)), 0);
  const CliRun inverted = runCli("invert " + quoted(mt) + "--robust --json");
  ASSERT_EQ(inverted.status, 0) << inverted.err;
  const json robust = json::parse(inverted.out)["inversion"]["robust"];
  EXPECT_TRUE(robust["on"]);
  EXPECT_GE(robust["downweighted"].get<int>(), 0);
  ASSERT_EQ(robust["weights"].size(), 60u);
  for (const json& row : robust["weights"])
    for (const json& w : row) EXPECT_LE(w.get<double>(), 1.0);
}

TEST_F(CliWideBandMt, SmoothModelShowsItsFitAndTakesADepthRange) {
  const CliRun occam = runCli("smooth " + quoted(mt) + "--occam --zmin 10 --zmax 100000 --json");
  ASSERT_EQ(occam.status, 0) << occam.err;
  const json smooth = json::parse(occam.out)["smooth_model"];
  EXPECT_TRUE(smooth["computed"]);
  EXPECT_LT(smooth["pcterr"].get<double>(), 2.5);
  const int layers = smooth["nlayer"];
  EXPECT_EQ(layers, 60);
  EXPECT_NEAR(smooth["par"][layers].get<double>(), 10.0, 1e-4);  // the first boundary
  EXPECT_LT(smooth["par"][2 * layers - 2].get<double>(), 100000.0);

  const CliRun summary = runCli("smooth " + quoted(mt) + "--occam");
  ASSERT_EQ(summary.status, 0);
  EXPECT_NE(summary.out.find("Smooth fit: RMS"), std::string::npos) << summary.out;

  const CliRun bad = runCli("smooth " + quoted(mt) + "--zmin 500 --zmax 50");
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.err.find("The depth range of the smooth model needs 0 < zmin < zmax"),
            std::string::npos)
      << bad.err;
}

TEST_F(CliWideBandMt, EquivalenceUnderErrorWeightingMeasuresTheWeightedFit) {
  ASSERT_EQ(run("estimate " + quoted(mt) + "-o " + quoted(mt)), 0);
  ASSERT_EQ(run("invert " + quoted(mt) + "--weight-errors -o " + quoted(mt)), 0);
  const CliRun analysed = runCli("equivalence " + quoted(mt) + "--weight-errors --json");
  ASSERT_EQ(analysed.status, 0) << analysed.err;
  const json result = json::parse(analysed.out);
  const double best = result["weighted_fit"];
  for (const json& fit : result["equivalence"]["fits"])
    if (fit.get<double>() != 0.0) {
      EXPECT_LT(fit.get<double>(), 1.3 * best);
    }
}

}  // namespace
}  // namespace zeva::test
