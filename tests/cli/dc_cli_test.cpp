// zeva-cli forward and set-model on DC resistivity soundings, checked against
// the physics: half-space values, the three-layer quadrature of the forward
// tests, and the log10 fit recomputed from the printed data.

#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/cli/cli_runner.h"
#include "tests/forward/layered_earth_oracle.h"
#include "tests/support/test_support.h"

namespace zeva::test {
namespace {

using nlohmann::json;

std::string quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

json forwardJson(const std::string& input) {
  const CliRun run = runCli("forward " + input + " --json");
  EXPECT_EQ(run.status, 0) << run.err;
  return json::parse(run.out);
}

// The level each reading's synthetic is shifted to: the product of the
// factors of the segment breaks after it.
std::vector<double> segmentLevels(const json& info) {
  std::vector<double> level(info["ndata"].get<std::size_t>(), 1.0);
  for (const json& shift : info["shifts"])
    for (int i = 0; i < shift[0].get<int>(); ++i)
      level[static_cast<std::size_t>(i)] *= shift[1].get<double>();
  return level;
}

TEST(CliForward, DefaultSoundingIs15OhmMetresAtTheLevelOfEachSegment) {
  const json info = forwardJson("default");
  ASSERT_TRUE(info["synthetic_valid"].get<bool>());
  ASSERT_EQ(info["nshift"], 4);
  const std::vector<double> level = segmentLevels(info);
  double sum = 0.0;
  for (std::size_t i = 0; i < level.size(); ++i) {
    const double synthetic = info["synthetic"][i][0].get<double>();
    EXPECT_NEAR(synthetic / level[i], 15.0, 0.015) << i;
    sum += std::pow(std::log10(synthetic / info["volts"][i][0].get<double>()), 2);
  }
  const double rms = std::sqrt(sum / static_cast<double>(level.size()));
  EXPECT_NEAR(info["rms"].get<double>(), rms, 1.0e-5);
  EXPECT_NEAR(info["pcterr"].get<double>(), (std::pow(10.0, rms) - 1.0) * 100.0, 0.01);
  EXPECT_FALSE(info["saved"].get<bool>());
}

class CliOneLayer : public ::testing::TestWithParam<const char*> {};

TEST_P(CliOneLayer, HundredOhmMetresGiveHundredAtEveryPoint) {
  TemporaryFolder folder;
  const auto made = folder / "made.ZVR";
  const auto model = folder / "model.ZVR";
  ASSERT_EQ(runCli(std::string("new --type '") + GetParam() + "' -o " + quoted(made)).status, 0);
  const CliRun set = runCli("set-model " + quoted(made) + " --rho 100 -o " + quoted(model));
  ASSERT_EQ(set.status, 0) << set.err;
  const json info = forwardJson(quoted(model));
  EXPECT_EQ(info["model"]["nlayer"], 1);
  const std::vector<double> level = segmentLevels(info);
  for (std::size_t i = 0; i < level.size(); ++i)
    EXPECT_NEAR(info["synthetic"][i][0].get<double>() / level[i], 100.0, 0.1) << i;
}

INSTANTIATE_TEST_SUITE_P(EveryDcArray, CliOneLayer,
                         ::testing::Values("Schlumberger Array", "Wenner Array",
                                           "Dipole-Dipole Array", "Pole-Dipole Array",
                                           "Pole-Pole Array", "Polar Dipole Array",
                                           "Perpendicular Array"));

TEST(CliForward, ThreeLayerWennerMatchesDirectQuadrature) {
  TemporaryFolder folder;
  const auto made = folder / "wenner.ZVR";
  const auto model = folder / "model.ZVR";
  const auto result = folder / "result.ZVR";
  ASSERT_EQ(runCli("new --type 'Wenner Array' -o " + quoted(made)).status, 0);
  ASSERT_EQ(
      runCli("set-model " + quoted(made) + " --rho 100,10,1000 --depth 5,25 -o " + quoted(model))
          .status,
      0);
  ASSERT_EQ(runCli("forward " + quoted(model) + " -o " + quoted(result) + " --json").status, 0);
  // What was written is what was computed.
  const CliRun info = runCli("info " + quoted(result) + " --json");
  ASSERT_EQ(info.status, 0) << info.err;
  const json written = json::parse(info.out);
  ASSERT_TRUE(written["synthetic_valid"].get<bool>());
  EXPECT_TRUE(written["model"]["depths"].get<bool>());

  const forward::oracle::Potential U = forward::oracle::quadrature({{100, 10, 1000}, {5, 20}});
  for (std::size_t i = 0; i < written["time"].size(); ++i) {
    const double a = written["time"][i][0].get<double>();
    const double reference = forward::oracle::wenner(U, a);
    EXPECT_NEAR(written["synthetic"][i][0].get<double>(), reference, 5.0e-3 * reference) << a;
  }
}

TEST(CliSetModel, IpParametersAndFixedParametersArriveInTheModel) {
  TemporaryFolder folder;
  const auto model = folder / "ip.ZVR";
  const CliRun set =
      runCli("set-model default --rho 10,20 --thick 4 --ip 1,2 --fix 1,5 -o " + quoted(model));
  ASSERT_EQ(set.status, 0) << set.err;
  const json info = json::parse(runCli("info " + quoted(model) + " --json").out);
  EXPECT_EQ(info["model"]["npk"], 2);
  EXPECT_EQ(info["model"]["npar"], 5);
  EXPECT_EQ(info["model"]["par"], json({10, 20, 1, 2, 4}));
  EXPECT_EQ(info["model"]["fixed"], json({true, false, false, false, true}));
  EXPECT_EQ(info["model"]["limited"], json({false, false, false, false, false}));
}

TEST(CliSetModel, ListsThatMakeNoModelFailWithTheMessage) {
  TemporaryFolder folder;
  const auto model = folder / "bad.ZVR";
  const CliRun run = runCli("set-model default --rho 10,20,30 --thick 4 -o " + quoted(model));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("A model of n layers needs n - 1 thicknesses or depths"),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(model));
}

TEST(CliSetModel, ThicknessesAndDepthsTogetherAreAUsageError) {
  TemporaryFolder folder;
  EXPECT_EQ(runCli("set-model default --rho 1,2 --thick 3 --depth 3 -o " + quoted(folder / "x.ZVR"))
                .status,
            2);
  EXPECT_EQ(runCli("set-model default --rho 1,x -o " + quoted(folder / "x.ZVR")).status, 2);
}

}  // namespace
}  // namespace zeva::test
