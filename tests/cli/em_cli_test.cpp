// zeva-cli new, info and forward on electromagnetic soundings: what each type
// holds and how it fits is the program's business; here the verbs carry it.

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "tests/cli/cli_runner.h"
#include "tests/support/test_support.h"

namespace zeva::test {
namespace {

using nlohmann::json;

std::filesystem::path newSounding(const TemporaryFolder& folder, const std::string& type) {
  const auto file = folder / "s.ZVR";
  const CliRun made = runCli("new --type '" + type + "' -o '" + file.string() + "'");
  EXPECT_EQ(made.status, 0) << made.err;
  return file;
}

// A type of two components: every reading gets a synthetic of each.
TEST(CliElectromagnetic, ForwardGivesSyntheticsOfEveryReadingAndComponent) {
  TemporaryFolder folder;
  const auto file = newSounding(folder, "MT Data xy, yx, inv.");
  const CliRun run = runCli("forward '" + file.string() + "' --json");
  ASSERT_EQ(run.status, 0) << run.err;
  const json info = json::parse(run.out);
  EXPECT_EQ(info["data_type"], "MT Data xy, yx, inv.");
  EXPECT_FALSE(info.contains("late_time_rho"));
  EXPECT_TRUE(info["synthetic_valid"]);
  ASSERT_EQ(info["synthetic"].size(), info["ndata"].get<std::size_t>());
  for (const json& reading : info["synthetic"]) {
    EXPECT_EQ(reading.size(), info["ncomp"].get<std::size_t>());
    for (const json& value : reading) EXPECT_TRUE(value.is_number()) << reading;
  }
  EXPECT_GT(info["pcterr"].get<double>(), 0.0);
}

// Every example gate has its late-time resistivity, and the loop types are
// modelled.
TEST(CliTem, InfoGivesTheLateTimeResistivityAndForwardModelsTheLoop) {
  TemporaryFolder folder;
  const auto file = newSounding(folder, "Central Loop TEM");
  const json info = infoJson(file);
  ASSERT_EQ(info["late_time_rho"].size(), info["ndata"].get<std::size_t>());
  for (const json& rho : info["late_time_rho"]) EXPECT_GT(rho.get<double>(), 0.0);

  const auto out = folder / "out.ZVR";
  const CliRun run = runCli("forward '" + file.string() + "' -o '" + out.string() + "'");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace zeva::test
