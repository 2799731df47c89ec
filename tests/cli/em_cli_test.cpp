#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "tests/cli/cli_runner.h"
#include "tests/support/test_support.h"

namespace zeva::test {
namespace {

using nlohmann::json;

json newSounding(const TemporaryFolder& folder, const std::string& type) {
  const auto file = folder / "s.ZVR";
  const CliRun made = runCli("new --type '" + type + "' -o '" + file.string() + "'");
  EXPECT_EQ(made.status, 0) << made.err;
  const CliRun info = runCli("info '" + file.string() + "' --json");
  EXPECT_EQ(info.status, 0) << info.err;
  return json::parse(info.out);
}

class CliNewElectromagnetic : public ::testing::TestWithParam<const char*> {};

TEST_P(CliNewElectromagnetic, WritesASoundingOfTheType) {
  TemporaryFolder folder;
  const json info = newSounding(folder, GetParam());
  EXPECT_EQ(info["data_type"], GetParam());
  EXPECT_GT(info["ndata"].get<int>(), 3);
  EXPECT_EQ(info["volts"].size(), info["ndata"].get<std::size_t>());
  EXPECT_GE(info["model"]["nlayer"].get<int>(), 2);
  EXPECT_FALSE(info.contains("late_time_rho"));
}

TEST_P(CliNewElectromagnetic, ForwardGivesSyntheticsOfEveryReadingAndAFit) {
  TemporaryFolder folder;
  const auto file = folder / "s.ZVR";
  ASSERT_EQ(
      runCli("new --type '" + std::string(GetParam()) + "' -o '" + file.string() + "'").status, 0);
  const CliRun run = runCli("forward '" + file.string() + "' --json");
  ASSERT_EQ(run.status, 0) << run.err;
  const json info = json::parse(run.out);
  EXPECT_TRUE(info["synthetic_valid"]);
  ASSERT_EQ(info["synthetic"].size(), info["ndata"].get<std::size_t>());
  for (const json& reading : info["synthetic"])
    for (const json& value : reading) EXPECT_TRUE(value.is_number()) << reading;
  EXPECT_GT(info["pcterr"].get<double>(), 0.0);
}

INSTANTIATE_TEST_SUITE_P(MtMaxMinAndConductivity, CliNewElectromagnetic,
                         ::testing::Values("Magnetotelluric Data", "MT Data xy, yx, inv.",
                                           "Controlled Source MT", "Sea Floor MT data TE",
                                           "Sea Floor MT data TM", "Horizontal Coplanar",
                                           "Vertical Coplanar", "Vertical Coaxial",
                                           "EM Conductivity Data"));

class CliNewTem : public ::testing::TestWithParam<const char*> {};

// The example gates fall from about 100 ohm-m to about 20 ohm-m late.
TEST_P(CliNewTem, InfoGivesTheLateTimeResistivityOfEveryGate) {
  TemporaryFolder folder;
  const json info = newSounding(folder, GetParam());
  EXPECT_EQ(info["data_type"], GetParam());
  ASSERT_TRUE(info.contains("late_time_rho"));
  const json& rho = info["late_time_rho"];
  ASSERT_EQ(rho.size(), info["ndata"].get<std::size_t>());
  EXPECT_NEAR(rho.front().get<double>(), 99.0, 2.0);
  EXPECT_NEAR(rho.back().get<double>(), 22.0, 1.0);
}

TEST_P(CliNewTem, ForwardIsRefusedForTheMarineTypesOnly) {
  TemporaryFolder folder;
  const auto file = folder / "s.ZVR";
  const auto out = folder / "out.ZVR";
  ASSERT_EQ(
      runCli("new --type '" + std::string(GetParam()) + "' -o '" + file.string() + "'").status, 0);
  const CliRun run = runCli("forward '" + file.string() + "' -o '" + out.string() + "'");
  if (std::string_view(GetParam()).starts_with("Marine")) {
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(
        run.err.find("TEM data have no forward model in this version; the sounding is unchanged"),
        std::string::npos)
        << run.err;
    EXPECT_FALSE(std::filesystem::exists(out));
  } else {
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(std::filesystem::exists(out));
  }
}

INSTANTIATE_TEST_SUITE_P(EveryTemType, CliNewTem,
                         ::testing::Values("Central Loop TEM", "Coincident Loop TEM",
                                           "Fixed Loop TEM", "Fixed Loop Radial H",
                                           "Fixed Loop Horiz. H", "Cicular Loop Rad. H",
                                           "Marine TEM Inline E", "Marine TEM B-Side E"));

}  // namespace
}  // namespace zeva::test
