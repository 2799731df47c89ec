// zeva-cli plot, report and section, run as a process on the offscreen platform.

#include <gtest/gtest.h>

#ifdef ZEVA_CLI_PATH

#include <QImage>
#include <filesystem>

#include "tests/cli/cli_runner.h"
#include "tests/support/test_support.h"

namespace zeva::test {
namespace {

std::string quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

TEST(CliPlot, WritesEachGraphicsFormat) {
  TemporaryFolder folder;
  for (const char* name : {"p.png", "p.svg", "p.pdf", "p.dxf"}) {
    const CliRun run = runCli("plot default -o " + quoted(folder / name));
    EXPECT_EQ(run.status, 0) << name << run.err;
    EXPECT_GT(std::filesystem::file_size(folder / name), 1000u) << name;
  }
  QImage image;
  ASSERT_TRUE(image.load(QString::fromStdString((folder / "p.png").string())));
  EXPECT_EQ(image.width(), 1500);
}

TEST(CliPlot, UnknownFormatsAndViewsAreUsageErrorsThatWriteNothing) {
  TemporaryFolder folder;
  const CliRun wmf = runCli("plot default -o " + quoted(folder / "p.wmf"));
  EXPECT_EQ(wmf.status, 2);
  EXPECT_NE(wmf.err.find(".png, .svg, .pdf or .dxf"), std::string::npos) << wmf.err;
  EXPECT_EQ(runCli("plot default -o " + quoted(folder / "p.svg") + " --view layered,zoom").status,
            2);
  EXPECT_EQ(runCli("report default -o " + quoted(folder / "r.png")).status, 2);
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

TEST(CliPlot, ViewsChangeThePicture) {
  TemporaryFolder folder;
  ASSERT_EQ(runCli("plot default -o " + quoted(folder / "a.dxf") + " --view layered").status, 0);
  const CliRun grid =
      runCli("plot default -o " + quoted(folder / "b.dxf") + " --view layered,grid");
  ASSERT_EQ(grid.status, 0) << grid.err;
  const auto count = [](const std::string& dxf) {
    std::size_t n = 0;
    for (std::size_t at = dxf.find("\nLINE\n"); at != std::string::npos;
         at = dxf.find("\nLINE\n", at + 1))
      ++n;
    return n;
  };
  EXPECT_GT(count(readFile(folder / "b.dxf")), count(readFile(folder / "a.dxf")) + 40);
  const CliRun onData =
      runCli("plot default -o " + quoted(folder / "c.dxf") + " --view layered,model-on-data");
  EXPECT_EQ(onData.status, 0) << onData.err;
  EXPECT_EQ(readFile(folder / "c.dxf").find("Depth (m)"), std::string::npos);
}

TEST(CliPlot, ModelOnDataIsRefusedForMtData) {
  TemporaryFolder folder;
  const auto file = folder / "mt.ZVR";
  ASSERT_EQ(runCli("new --type 'Magnetotelluric Data' -o " + quoted(file)).status, 0);
  const CliRun run =
      runCli("plot " + quoted(file) + " -o " + quoted(folder / "mt.png") + " --view model-on-data");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Model cannot be displayed on data display for Magnetotelluric Data"),
            std::string::npos)
      << run.err;
  EXPECT_FALSE(std::filesystem::exists(folder / "mt.png"));
}

TEST(CliPlot, TemGatesAsVoltageOrLateTimeResistivity) {
  TemporaryFolder folder;
  const auto file = folder / "tem.ZVR";
  ASSERT_EQ(runCli("new --type 'Central Loop TEM' -o " + quoted(file)).status, 0);
  ASSERT_EQ(
      runCli("plot " + quoted(file) + " -o " + quoted(folder / "v.dxf") + " --view layered,voltage")
          .status,
      0);
  ASSERT_EQ(
      runCli("plot " + quoted(file) + " -o " + quoted(folder / "r.dxf") + " --view layered").status,
      0);
  EXPECT_NE(readFile(folder / "v.dxf").find("Received Voltage"), std::string::npos);
  EXPECT_NE(readFile(folder / "r.dxf").find("Apparent Resistivity"), std::string::npos);
}

TEST(CliReport, WritesTheReportAndCountsItsPages) {
  TemporaryFolder folder;
  const CliRun run = runCli("report default -o " + quoted(folder / "r.pdf") + " --user Tester");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "2 pages written to " + (folder / "r.pdf").string() + "\n");
  const CliRun data = runCli("report default -o " + quoted(folder / "d.pdf") + " --sections data");
  EXPECT_EQ(data.status, 0) << data.err;
  EXPECT_EQ(data.out.rfind("1 page written", 0), 0u) << data.out;
}

TEST(CliSection, DrawsTheSurveysModelsOrSaysWhyNot) {
  TemporaryFolder folder;
  const CliRun empty =
      runCli("section " + quoted(folder.path()) + " -o " + quoted(folder / "s.png"));
  EXPECT_EQ(empty.status, 1);
  EXPECT_NE(empty.err.find("holds no soundings"), std::string::npos) << empty.err;
  for (const char* name : {"A.ZVR", "B.ZVR"})
    ASSERT_EQ(runCli("save default -o " + quoted(folder / name)).status, 0);
  const CliRun run = runCli("section " + quoted(folder.path()) + " -o " + quoted(folder / "s.png"));
  ASSERT_EQ(run.status, 0) << run.err;
  QImage image;
  ASSERT_TRUE(image.load(QString::fromStdString((folder / "s.png").string())));
  EXPECT_EQ(image.width(), 1500);
  const CliRun lci =
      runCli("section " + quoted(folder.path()) + " --model lci -o " + quoted(folder / "l.png"));
  EXPECT_EQ(lci.status, 1);
  EXPECT_NE(lci.err.find("NAME.lci.ZVR"), std::string::npos) << lci.err;
  EXPECT_FALSE(std::filesystem::exists(folder / "l.png"));
}

}  // namespace
}  // namespace zeva::test

#endif
