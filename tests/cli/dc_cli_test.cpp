// zeva-cli forward and set-model on DC resistivity soundings: the default
// sounding's log10 fit recomputed from the printed data, and models set from
// the command line arriving in the file.

#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <string>

#include "tests/cli/cli_runner.h"
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

// The synthetics themselves are the forward routine's business; the JSON
// carries them with the fit they give: RMS is the log10 misfit of the printed
// synthetics against the printed data, PCTERR its percentage.
TEST(CliForward, PrintsTheSyntheticsWithTheirFit) {
  const json info = forwardJson("default");
  ASSERT_TRUE(info["synthetic_valid"].get<bool>());
  ASSERT_EQ(info["synthetic"].size(), 22u);
  double sum = 0.0;
  for (std::size_t i = 0; i < 22; ++i)
    sum += std::pow(
        std::log10(info["synthetic"][i][0].get<double>() / info["volts"][i][0].get<double>()), 2);
  const double rms = std::sqrt(sum / 22.0);
  EXPECT_NEAR(info["rms"].get<double>(), rms, 1.0e-5);
  EXPECT_NEAR(info["pcterr"].get<double>(), (std::pow(10.0, rms) - 1.0) * 100.0, 0.01);
  EXPECT_FALSE(info["saved"].get<bool>());
}

TEST(CliForward, WritesWhatItComputedForAModelOfDepths) {
  TemporaryFolder folder;
  const auto model = folder / "model.ZVR";
  const auto result = folder / "result.ZVR";
  ASSERT_EQ(runCli("set-model default --rho 100,10,1000 --depth 5,25 -o " + quoted(model)).status,
            0);
  const CliRun run = runCli("forward " + quoted(model) + " -o " + quoted(result) + " --json");
  ASSERT_EQ(run.status, 0) << run.err;
  const json written = infoJson(result);
  EXPECT_TRUE(written["synthetic_valid"].get<bool>());
  EXPECT_TRUE(written["model"]["depths"].get<bool>());
  EXPECT_EQ(written["model"]["par"], json({100, 10, 1000, 5, 25}));
  EXPECT_EQ(written["synthetic"], json::parse(run.out)["synthetic"]);
}

TEST(CliSetModel, IpParametersAndFixedParametersArriveInTheModel) {
  TemporaryFolder folder;
  const auto model = folder / "ip.ZVR";
  const CliRun set =
      runCli("set-model default --rho 10,20 --thick 4 --ip 1,2 --fix 1,5 -o " + quoted(model));
  ASSERT_EQ(set.status, 0) << set.err;
  const json info = infoJson(model);
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
