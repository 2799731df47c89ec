#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/cli/cli_runner.h"
#include "tests/support/test_support.h"

namespace zeva::test {
namespace {

using nlohmann::json;

TEST(CliExchange, UsfExportImportsBackWithTheSameData) {
  TemporaryFolder folder;
  const auto usf = folder / "d.usf";
  ASSERT_EQ(runCli("export default --format usf -o '" + usf.string() + "'").status, 0);
  const auto zvr = folder / "back.ZVR";
  const CliRun imported =
      runCli("import-usf '" + usf.string() + "' --sounding 1 -o '" + zvr.string() + "'");
  ASSERT_EQ(imported.status, 0) << imported.err;
  const json info = infoJson(zvr);
  EXPECT_EQ(info["ndata"], 22);
  EXPECT_EQ(info["time"][21], json::parse("[909, 90.9]"));
  EXPECT_EQ(info["volts"][0][0], 159.9);
  const CliRun outside =
      runCli("import-usf '" + usf.string() + "' --sounding 2 -o '" + zvr.string() + "'");
  EXPECT_EQ(outside.status, 1);
  EXPECT_NE(outside.err.find("Sounding out of range."), std::string::npos);
}

TEST(CliExchange, FlatAsciiVoltagesAndCurrentsGiveApparentResistivities) {
  TemporaryFolder folder;
  const auto dat = folder / "wenner.dat";
  // Wenner a = 10 m: rho = 2 pi a V / I.
  writeFile(dat, "a V I\n10 15.9155 10\n20 3.97887 5\n");
  const auto zvr = folder / "w.ZVR";
  const CliRun run = runCli("import-dat '" + dat.string() +
                            "' --type 'Wenner Array' --spacing-column 1 "
                            "--resistivity-column 2 --current-column 3 --voltage-current -o '" +
                            zvr.string() + "'");
  ASSERT_EQ(run.status, 0) << run.err;
  const json info = infoJson(zvr);
  ASSERT_EQ(info["ndata"], 2);
  EXPECT_NEAR(info["volts"][0][0].get<double>(), 100.0, 1e-3);
  EXPECT_NEAR(info["volts"][1][0].get<double>(), 100.0, 1e-3);
  EXPECT_EQ(
      runCli("import-dat '" + dat.string() + "' --type 'Wenner' -o '" + zvr.string() + "'").status,
      1);
}

TEST(CliExchange, ImportDatUsesOnlyTheColumnsGivenAndAsksNothing) {
  TemporaryFolder folder;
  const auto dat = folder / "three.dat";
  // AB/2, MN, rho: read with only AB/2 and rho given, MN is not in use.
  writeFile(dat, "AB/2 MN RHO\n5 1 757\n10 1 600\n20 4 500\n");
  const auto zvr = folder / "t.ZVR";
  const std::string head = "import-dat '" + dat.string() + "' --type 'Schlumberger Array' ";
  const CliRun run = runCli(head +
                            "--spacing-column 1 --resistivity-column 3 --first-row 2 "
                            "--last-row 3 -o '" +
                            zvr.string() + "'");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err.find("row?"), std::string::npos) << run.err;
  const json info = infoJson(zvr);
  EXPECT_EQ(info["ngeom"], 1);
  EXPECT_EQ(info["volts"], json::parse("[[757], [600]]"));
  // A refused import fails the verb with the reader's message.
  const CliRun missing =
      runCli(head + "--spacing-column 1 --resistivity-column 4 -o '" + zvr.string() + "'");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("NO ROW HOLDS A NUMBER IN COLUMN 4"), std::string::npos);

  const CliRun help = runCli("import-dat --help");
  // CLI11 writes a default as "INT [2]" or, in newer releases, "INT=2".
  for (const char* option : {"--spacing-column INT", "--mn-column INT", "--rho-error-column INT",
                             "--phase-error-column INT"}) {
    const auto at = help.out.find(option);
    ASSERT_NE(at, std::string::npos) << option << '\n' << help.out;
    const std::string rest = help.out.substr(at + std::string(option).size(), 4);
    EXPECT_TRUE(rest.starts_with("=") || rest.starts_with(" [")) << option << rest;
  }
}

TEST(CliExchange, ImportEdiModeChoosesTheCurveOfTheTensor) {
  TemporaryFolder folder;
  const auto edi = folder / "k7.edi";
  // 5 Hz: xy 20 ohm-m at 60 degrees, yx 500 ohm-m at 30 degrees.
  writeFile(edi,
            ">HEAD\n DATAID=\"K-7\"\n>=MTSECT\n>FREQ //1\n 5\n>ZXXR //1\n 0\n>ZXXI //1\n 0\n"
            ">ZXYR //1\n 11.18034\n>ZXYI //1\n 19.36492\n>ZYXR //1\n -96.82458\n"
            ">ZYXI //1\n -55.90170\n>ZYYR //1\n 0\n>ZYYI //1\n 0\n>END\n");
  const auto zvr = folder / "k.ZVR";
  const std::pair<const char*, double> modes[] = {{"xy", 20.0}, {"yx", 500.0}, {"det", 100.0}};
  for (const auto& [mode, rho] : modes) {
    const CliRun run =
        runCli("import-edi '" + edi.string() + "' --mode " + mode + " -o '" + zvr.string() + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NEAR(infoJson(zvr)["volts"][0][0].get<double>(), rho, 1e-3 * rho) << mode;
  }
  EXPECT_EQ(runCli("import-edi '" + edi.string() + "' --mode zz -o '" + zvr.string() + "'").status,
            2);
}

TEST(CliExchange, EdiImportGivesTheMagnetotelluricSounding) {
  TemporaryFolder folder;
  const auto edi = folder / "site.edi";
  writeFile(edi,
            ">HEAD\n DATAID=\"S9\"\n EMPTY=1.0E32\n>=MTSECT\n>FREQ //2\n 10 1\n"
            ">RHOXY //2\n 120 80\n>PHSXY //2\n 40 50\n>END\n");
  const auto zvr = folder / "s.ZVR";
  const CliRun run = runCli("import-edi '" + edi.string() + "' -o '" + zvr.string() + "'");
  ASSERT_EQ(run.status, 0) << run.err;
  const json info = infoJson(zvr);
  EXPECT_EQ(info["data_type"], "Magnetotelluric Data");
  EXPECT_EQ(info["volts"][1], json::parse("[80, 50]"));
  const CliRun bad =
      runCli("import-edi '" + (folder / "none.edi").string() + "' -o '" + zvr.string() + "'");
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.err.find("FILE NOT FOUND: "), std::string::npos);
}

TEST(CliExchange, ModelExportImportsIntoAnotherSounding) {
  TemporaryFolder folder;
  const auto mdl = folder / "d.mdl";
  ASSERT_EQ(runCli("export default --format model -o '" + mdl.string() + "'").status, 0);
  const auto zvr = folder / "m.ZVR";
  const CliRun run =
      runCli("import-model default '" + mdl.string() + "' -o '" + zvr.string() + "'");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(infoJson(zvr)["model"]["par"], json::parse("[15,15,15,15,15,15,15,1,3.5,5,10,75,200]"));
}

TEST(CliExchange, SyntheticsExportNeedsAForwardRun) {
  TemporaryFolder folder;
  const CliRun run = runCli("export default --format synthetics --noise 5 -o '" +
                            (folder / "s.dat").string() + "'");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Sythetic data not valid. Please do forward model"), std::string::npos);
}

}  // namespace
}  // namespace zeva::test
