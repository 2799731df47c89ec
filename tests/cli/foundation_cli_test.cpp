#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "tests/cli/cli_runner.h"
#include "tests/support/test_support.h"

namespace zeva::test {
namespace {

using nlohmann::json;

// The default sounding's readings are the record's business; here each key
// of info --json carries its part of the written file.
TEST(CliNew, WritesTheDefaultSoundingWithItsFourSegmentBreaks) {
  TemporaryFolder folder;
  const auto file = folder / "d.ZVR";
  const CliRun made = runCli("new -o '" + file.string() + "'");
  ASSERT_EQ(made.status, 0) << made.err;

  const json info = infoJson(file.string());
  EXPECT_EQ(info["name"], "d");  // a saved sounding takes its file's name
  EXPECT_EQ(info["data_type"], "Schlumberger Array");
  EXPECT_EQ(info["ndata"], 22);
  EXPECT_EQ(info["time"][21], json::parse("[909, 90.9]"));
  EXPECT_EQ(info["volts"][0][0], 159.9);
  EXPECT_EQ(info["voltage"][0], 72.0);
  EXPECT_EQ(info["current"][21], 104.0);
  EXPECT_EQ(info["model"]["par"], json::parse("[15,15,15,15,15,15,15,1,3.5,5,10,75,200]"));
  EXPECT_EQ(info["nshift"], 4);
  ASSERT_EQ(info["shifts"].size(), 4u);
  EXPECT_EQ(info["shifts"][3][0], 19);
  EXPECT_TRUE(info["saved"]);
  EXPECT_FALSE(info["synthetic_valid"]);
  EXPECT_TRUE(info["synthetic"].is_null());
  EXPECT_TRUE(info["smooth_model"].is_null());
}

TEST(CliSave, RewritingAFileKeepsEveryByte) {
  TemporaryFolder folder;
  const auto first = folder / "first.ZVR";
  const auto second = folder / "first_copy.ZVR";
  ASSERT_EQ(runCli("new -o '" + first.string() + "'").status, 0);
  const CliRun saved = runCli("save '" + first.string() + "' -o '" + second.string() + "'");
  ASSERT_EQ(saved.status, 0) << saved.err;
  // Only the sounding name (the first 24 bytes of the data header) follows the file name.
  std::string a = readFile(first), b = readFile(second);
  ASSERT_EQ(a.size(), b.size());
  const std::size_t nameAt = 8 + 20;
  EXPECT_EQ(b.substr(nameAt, 24), "first_copy              ");
  a.replace(nameAt, 24, 24, ' ');
  b.replace(nameAt, 24, 24, ' ');
  EXPECT_EQ(a, b);
}

TEST(CliStatus, FailuresAndUsageErrorsAreTold) {
  const CliRun missing = runCli("info /nonexistent/none.ZVR");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("CANNOT FIND FILE: /nonexistent/none.ZVR"), std::string::npos)
      << missing.err;

  EXPECT_EQ(runCli("info").status, 2);
  EXPECT_EQ(runCli("no-such-verb").status, 2);
  EXPECT_EQ(runCli("new --type 'No Such Type' -o /tmp/never.ZVR").status, 1);

  const CliRun summary = runCli("info default");
  EXPECT_EQ(summary.status, 0);
  EXPECT_NE(summary.out.find("Default Data"), std::string::npos);
}

// zeva-cli builds only the named verb's options: each verb of the help must
// still be the one that answers to its name.
TEST(CliVerbs, EachVerbOfTheHelpAnswersToItsName) {
  const CliRun help = runCli("--help");
  ASSERT_EQ(help.status, 0);
  std::istringstream lines(help.out.substr(help.out.find("Subcommands:")));
  std::string line;
  int verbs = 0;
  while (std::getline(lines, line)) {
    if (line.rfind("  ", 0) != 0) continue;
    const std::string verb = line.substr(2, line.find(' ', 2) - 2);
    if (verb == "plot" || verb == "report" || verb == "section") continue;  // drawn elsewhere
    const CliRun verbHelp = runCli(verb + " --help");
    EXPECT_EQ(verbHelp.status, 0) << verb;
    EXPECT_NE(verbHelp.out.find("Usage: zeva-cli " + verb + " "), std::string::npos) << verb;
    ++verbs;
  }
  EXPECT_EQ(verbs, 20);
}

}  // namespace
}  // namespace zeva::test
