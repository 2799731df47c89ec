// zeva-cli invert and transfer, run as a process.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cli/cli_runner.h"
#include "tests/support/test_support.h"

namespace zeva::test {
namespace {

using nlohmann::json;

// The "% RMS" lines written to standard error, as numbers: an optional run of
// blanks, a fixed-point value with two decimals, then "% RMS".
std::vector<double> fitLines(const std::string& err) {
  std::vector<double> fits;
  std::istringstream lines(err);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t tag = line.find("% RMS");
    if (tag == std::string::npos || tag + 5 != line.size()) continue;
    const std::string number = line.substr(0, tag);
    const std::size_t first = number.find_first_not_of(' ');
    if (first == std::string::npos) continue;
    const std::string digits = number.substr(first);
    const std::size_t point = digits.find('.');
    if (point == std::string::npos || point == 0 || digits.size() - point != 3) continue;
    if (digits.find_first_not_of("0123456789.") != std::string::npos) continue;
    fits.push_back(std::stod(digits));
  }
  return fits;
}

TEST(CliInvert, MultipleIterationsPrintEachFitAndImproveTheDefaultModel) {
  const CliRun run = runCli("invert default --json");
  ASSERT_EQ(run.status, 0) << run.err;
  const json result = json::parse(run.out);
  const int iterations = result["inversion"]["iterations"];
  EXPECT_GE(iterations, 1);
  EXPECT_LE(iterations, 9);
  const std::vector<double> fits = fitLines(run.err);
  ASSERT_EQ(fits.size(), static_cast<std::size_t>(iterations) + 1) << run.err;
  EXPECT_LT(fits.back(), fits.front() / 2.0);
  EXPECT_NEAR(fits.back(), result["pcterr"].get<double>(), 0.005);
  EXPECT_TRUE(result["resolution_valid"]);
  EXPECT_TRUE(result["synthetic_valid"]);
  EXPECT_FALSE(result["saved"]);
  EXPECT_EQ(result["resolution"].size(), 13u * 14u / 2u);
}

TEST(CliInvert, SingleIterationAndAZeroLimitFollowTheOptions) {
  const CliRun single = runCli("invert default --single --json");
  ASSERT_EQ(single.status, 0) << single.err;
  EXPECT_EQ(json::parse(single.out)["inversion"]["iterations"], 1);
  EXPECT_EQ(fitLines(single.err).size(), 1u);

  const CliRun none = runCli("invert default --iterations 0 --json");
  ASSERT_EQ(none.status, 0) << none.err;
  const json result = json::parse(none.out);
  EXPECT_EQ(result["inversion"]["iterations"], 0);
  EXPECT_EQ(result["model"]["par"], json::parse("[15,15,15,15,15,15,15,1,3.5,5,10,75,200]"));
  EXPECT_EQ(fitLines(none.err).size(), 1u);
}

TEST(CliInvert, IpOnlyOnResistivityDataIsRefusedAndTheVariantsExcludeEachOther) {
  const CliRun ip = runCli("invert default --ip-only");
  EXPECT_EQ(ip.status, 1);
  EXPECT_NE(ip.err.find("IP inversion needs IP data and a model with IP parameters"),
            std::string::npos)
      << ip.err;
  EXPECT_EQ(runCli("invert default --ip-only --resistivity-only").status, 2);
}

TEST(CliTransfer, NeedsValidSynthetics) {
  const CliRun run = runCli("transfer default --noise 3");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Sythetic data not valid. Please do forward model"), std::string::npos)
      << run.err;
}

TEST(CliTransfer, MakesTheSyntheticsOfAnInvertedModelTheData) {
  TemporaryFolder folder;
  const auto inverted = folder / "inverted.ZVR";
  const auto transferred = folder / "transferred.ZVR";
  ASSERT_EQ(runCli("invert default -o '" + inverted.string() + "'").status, 0);

  const CliRun exact = runCli("transfer '" + inverted.string() + "' --noise 0 --json");
  ASSERT_EQ(exact.status, 0) << exact.err;
  const json data = json::parse(exact.out);
  EXPECT_EQ(data["name"], "inverted*");
  EXPECT_FALSE(data["synthetic_valid"]);
  EXPECT_FALSE(data["resolution_valid"]);

  const CliRun noisy =
      runCli("transfer '" + inverted.string() + "' --noise 3 -o '" + transferred.string() + "'");
  ASSERT_EQ(noisy.status, 0) << noisy.err;
  // The data written are the synthetics with noise of about 3 %.
  const json volts = infoJson(transferred)["volts"], synthetic = infoJson(inverted)["synthetic"];
  ASSERT_EQ(volts.size(), synthetic.size());
  EXPECT_NE(volts, synthetic);
  for (std::size_t i = 0; i < volts.size(); ++i)
    EXPECT_NEAR(volts[i][0].get<double>() / synthetic[i][0].get<double>(), 1.0, 0.15) << i;
}

}  // namespace
}  // namespace zeva::test
