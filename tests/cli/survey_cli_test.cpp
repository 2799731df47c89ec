// zeva-cli survey-import and batch, run as processes on surveys the program
// makes itself: noise-free Schlumberger soundings of three-layer earths.

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "tests/cli/cli_runner.h"
#include "tests/support/test_support.h"

namespace zeva::test {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

// A sounding whose data are the response of a three-layer earth with a
// conductor of `conductor` ohm-m.
void makeSounding(const fs::path& file, int conductor) {
  const std::string f = quoted(file);
  for (const std::string& step :
       {"set-model default --rho 100," + std::to_string(conductor) + ",300 --thick 3,6 -o " + f,
        "forward " + f + " -o " + f, "transfer " + f + " --noise 0 -o " + f}) {
    const CliRun run = runCli(step);
    ASSERT_EQ(run.status, 0) << step << '\n' << run.err;
  }
}

void makeSurvey(const fs::path& folder, const std::vector<std::string>& stations) {
  int conductor = 5;
  for (const std::string& station : stations)
    makeSounding(folder / (station + ".ZVR"), conductor += 5);
}

json readJson(const fs::path& file) { return json::parse(readFile(file)); }

TEST(CliSurveyImport, IndexesTheFolderSoundingsInNameOrderLeavingOutBatchResults) {
  TemporaryFolder folder;
  makeSurvey(folder.path(), {"B", "A"});
  writeFile(folder / "A.inverted.ZVR", readFile(folder / "A.ZVR"));
  const CliRun run = runCli("survey-import " + quoted(folder.path()));
  ASSERT_EQ(run.status, 0) << run.err;
  const json soundings = readJson(folder / "survey.json")["soundings"];
  ASSERT_EQ(soundings.size(), 2u);
  EXPECT_EQ(soundings[0]["file"], "A.ZVR");
  EXPECT_EQ(soundings[0]["station"], "A");
  EXPECT_EQ(soundings[1]["file"], "B.ZVR");
  for (const json& s : soundings) {
    EXPECT_EQ(s["data_type"], "Schlumberger Array");
    EXPECT_EQ(s["east"], 0.0);  // the default sounding's location
    EXPECT_EQ(s["north"], 0.0);
    EXPECT_EQ(s["elevation"], 0.0);
  }
}

TEST(CliSurveyImport, WritesEveryUsfSoundingAndTheFolderEdiFilesAsSoundingsKeepingExistingOnes) {
  TemporaryFolder folder;
  std::string usf = "//USF: Universal Sounding Format\n//SOUNDINGS: 3\n//END\n";
  for (int k = 1; k <= 3; ++k)
    usf += "/ARRAY: Wenner Array\n/POINTS: 2\n/END\nSPACING RESISTIVITY\n1 " +
           std::to_string(10 * k) + "\n10 50\n/END\n";
  writeFile(folder / "line.usf", usf);
  const fs::path survey = folder / "survey";
  fs::create_directory(survey);
  EXPECT_NE(runCli("survey-import " + quoted(folder / "line.usf")).status, 0);  // needs -o
  const std::string usfImport =
      "survey-import " + quoted(folder / "line.usf") + " -o " + quoted(survey);
  ASSERT_EQ(runCli(usfImport).status, 0);
  json soundings = readJson(survey / "survey.json")["soundings"];
  ASSERT_EQ(soundings.size(), 3u);
  EXPECT_EQ(soundings[1]["file"], "line_002.ZVR");
  EXPECT_EQ(soundings[1]["data_type"], "Wenner Array");
  EXPECT_EQ(infoJson(survey / "line_002.ZVR")["volts"][0][0], 20.0);
  // A second import keeps the soundings there: they may hold work since.
  makeSounding(survey / "line_002.ZVR", 10);
  const std::string worked = readFile(survey / "line_002.ZVR");
  ASSERT_EQ(runCli(usfImport).status, 0);
  EXPECT_EQ(readFile(survey / "line_002.ZVR"), worked);

  writeFile(survey / "MT7.EDI",
            ">HEAD\n DATAID=\"MT7\"\n>=MTSECT\n>FREQ //2\n8 2\n>RHOXY //2\n12.5 20\n"
            ">PHSXY //2\n44 46\n>END\n");
  writeFile(survey / "bad.edi", ">HEAD\n>FREQ //2\n1 two\n>END\n");
  const CliRun run = runCli("survey-import " + quoted(survey));
  EXPECT_EQ(run.status, 1);  // the bad file is left out with its message
  EXPECT_NE(run.err.find("bad.edi: "), std::string::npos) << run.err;
  soundings = readJson(survey / "survey.json")["soundings"];
  ASSERT_EQ(soundings.size(), 4u);
  EXPECT_EQ(soundings[0]["file"], "MT7.ZVR");
  EXPECT_EQ(soundings[0]["station"], "MT7");
  EXPECT_EQ(soundings[0]["data_type"], "Magnetotelluric Data");
}

TEST(CliBatch, FitsEachSoundingBesideItsInputAndRecordsADamagedOneWithoutStopping) {
  TemporaryFolder folder;
  makeSurvey(folder.path(), {"A", "C"});
  const std::string damaged = readFile(folder / "A.ZVR").substr(0, 200);
  writeFile(folder / "B.ZVR", damaged);
  const std::string inputA = readFile(folder / "A.ZVR");

  const CliRun run = runCli("batch " + quoted(folder.path()) + " --estimate --invert --jobs 2");
  EXPECT_EQ(run.status, 1) << run.err;
  const json summary = readJson(folder / "batch-summary.json");
  const json& soundings = summary["soundings"];
  ASSERT_EQ(soundings.size(), 3u);
  EXPECT_EQ(summary["failed"], 1);
  EXPECT_EQ(soundings[1]["station"], "B");
  EXPECT_EQ(soundings[1]["status"], "failed");
  EXPECT_FALSE(soundings[1]["message"].get<std::string>().empty());
  for (const int k : {0, 2}) {
    const json& s = soundings[k];
    EXPECT_EQ(s["status"], "ok") << s["message"];
    EXPECT_GE(s["iterations"].get<int>(), 1);
    // Noise-free data of a layered earth: the fit ends below the 1 % floor.
    EXPECT_LT(s["fit_percent"].get<double>(), 1.0);
    const fs::path output = folder / s["output"].get<std::string>();
    EXPECT_NEAR(infoJson(output)["pcterr"].get<double>(), s["fit_percent"].get<double>(), 1e-4);
  }
  EXPECT_EQ(soundings[0]["output"], "A.inverted.ZVR");
  EXPECT_FALSE(fs::exists(folder / "B.inverted.ZVR"));
  EXPECT_EQ(readFile(folder / "A.ZVR"), inputA);
  EXPECT_EQ(readFile(folder / "B.ZVR"), damaged);
  // One line per finished sounding when standard error is not a terminal,
  // and a CSV row per sounding.
  EXPECT_NE(run.err.find("[3/3]"), std::string::npos) << run.err;
  const std::string csv = readFile(folder / "batch-summary.csv");
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 4);
  EXPECT_NE(csv.find("B.ZVR,B,,,,0,0,0,"), std::string::npos) << csv;
}

TEST(CliBatch, ResultsDoNotDependOnTheNumberOfJobs) {
  TemporaryFolder folder;
  const std::vector<std::string> stations = {"S1", "S2", "S3", "S4"};
  makeSurvey(folder.path(), stations);
  ASSERT_EQ(runCli("survey-import " + quoted(folder.path())).status, 0);
  const std::string batch =
      "batch " + quoted(folder.path()) + " --estimate --invert --smooth --occam";
  ASSERT_EQ(runCli(batch + " --jobs 1").status, 0);
  std::vector<std::string> single;
  for (const std::string& s : stations) single.push_back(readFile(folder / (s + ".inverted.ZVR")));
  json first = readJson(folder / "batch-summary.json");
  ASSERT_EQ(runCli(batch + " --jobs 2").status, 0);
  for (std::size_t k = 0; k < stations.size(); ++k)
    EXPECT_EQ(readFile(folder / (stations[k] + ".inverted.ZVR")), single[k]) << stations[k];
  json second = readJson(folder / "batch-summary.json");
  for (json* summary : {&first, &second})
    for (json& s : (*summary)["soundings"]) s.erase("seconds");
  EXPECT_EQ(first, second);
}

TEST(CliBatch, InPlaceReplacesTheInputsWithTheirFitAndEquivalenceAndWritesNoOtherSounding) {
  TemporaryFolder folder;
  makeSurvey(folder.path(), {"A"});
  ASSERT_FALSE(infoJson(folder / "A.ZVR")["synthetic_valid"]);  // as transfer leaves it
  ASSERT_EQ(
      runCli("batch " + quoted(folder.path()) + " --estimate --invert --equivalence --in-place")
          .status,
      0);
  const json fitted = infoJson(folder / "A.ZVR");
  EXPECT_TRUE(fitted["synthetic_valid"]);
  EXPECT_TRUE(fitted["equivalence_valid"]);
  EXPECT_LT(fitted["pcterr"].get<double>(), 1.0);
  EXPECT_EQ(readJson(folder / "batch-summary.json")["soundings"][0]["output"], "A.ZVR");
  EXPECT_FALSE(fs::exists(folder / "A.inverted.ZVR"));
}

TEST(CliBatch, PartsOfASplitSurveyMergeIntoTheSummaryOfTheWholeBatch) {
  TemporaryFolder folder;
  makeSurvey(folder.path(), {"A", "B", "C"});
  const std::string batch = "batch " + quoted(folder.path()) + " --estimate --invert";
  ASSERT_EQ(runCli(batch).status, 0);
  json whole = readJson(folder / "batch-summary.json");
  fs::remove(folder / "batch-summary.json");
  EXPECT_EQ(runCli(batch + " --part 3/2").status, 2);
  ASSERT_EQ(runCli(batch + " --part 2/2").status, 0);
  EXPECT_NE(runCli("batch-merge " + quoted(folder.path())).err.find("Part 1 of 2 has no summary"),
            std::string::npos);
  EXPECT_FALSE(fs::exists(folder / "batch-summary.json"));
  ASSERT_EQ(runCli(batch + " --part 1/2").status, 0);
  EXPECT_EQ(readJson(folder / "batch-summary.part-1-of-2.json")["soundings"].size(), 1u);
  ASSERT_EQ(runCli("batch-merge " + quoted(folder.path())).status, 0);
  json merged = readJson(folder / "batch-summary.json");
  for (json* summary : {&whole, &merged})
    for (json& s : (*summary)["soundings"]) s.erase("seconds");
  EXPECT_EQ(merged, whole);
}

TEST(CliBatch, InterruptKeepsTheFinishedSoundingsAndStartsNoOther) {
  TemporaryFolder folder;
  makeSurvey(folder.path(), {"S00"});
  const std::string sounding = readFile(folder / "S00.ZVR");
  for (int k = 1; k < 40; ++k)
    writeFile(folder / ((k < 10 ? "S0" : "S") + std::to_string(k) + ".ZVR"), sounding);
  const std::string path = folder.path().string();
  const char* argv[] = {ZEVA_CLI_PATH, "batch",  path.c_str(), "--estimate",
                        "--invert",    "--jobs", "1",          nullptr};
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, ZEVA_CLI_PATH, nullptr, nullptr, const_cast<char**>(argv), environ),
            0);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!fs::exists(folder / "S00.inverted.ZVR") && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  kill(pid, SIGINT);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);

  const json soundings = readJson(folder / "batch-summary.json")["soundings"];
  ASSERT_EQ(soundings.size(), 40u);
  int done = 0;
  for (const json& s : soundings) {
    const fs::path output = folder / (s["station"].get<std::string>() + ".inverted.ZVR");
    if (s["status"] == "ok") {
      ++done;
      EXPECT_LT(infoJson(output)["pcterr"].get<double>(), 1.0);
    } else {
      EXPECT_EQ(s["message"], "not run: the batch was interrupted");
      EXPECT_FALSE(fs::exists(output));
    }
  }
  EXPECT_GE(done, 1);
  EXPECT_LT(done, 40);
}

}  // namespace
}  // namespace zeva::test
