// The USF import's dialogs: the file, then which of its soundings.

#include "core/program/usf_import.h"

#include <gtest/gtest.h>

#include <string>

#include "forward/tem_forward.h"
#include "tests/support/scripted_toolkit.h"
#include "tests/support/test_support.h"

namespace zeva::core {
namespace {

std::string usf(const std::string& soundingLines, int soundings = 1) {
  return "//USF: Universal Sounding Format\n//SOUNDINGS: " + std::to_string(soundings) +
         "\n//END\n" + soundingLines;
}

TEST(UsfImport, RepeatedImportsStepThroughTheFileAndWrapToANewDialog) {
  test::TemporaryFolder folder;
  const std::string path = (folder / "three.usf").string();
  std::string body;
  for (int k = 1; k <= 3; ++k)
    body += "/ARRAY: Wenner Array\n/POINTS: 1\n/END\nSPACING RESISTIVITY\n" + std::to_string(k) +
            " 50\n/END\n";
  test::writeFile(path, usf(body, 3));
  zeva::test::ScriptedToolkit toolkit;
  UsfImportMemory memory;
  Sounding result;
  toolkit.files = {path};
  toolkit.numbers = {3.0};
  ASSERT_TRUE(importUsfSounding(toolkit, memory, result)) << toolkit.lastText();
  EXPECT_EQ(toolkit.prompts.back(), "Enter sounding number to read (1 to     3): ");
  EXPECT_EQ(toolkit.fileDialogTitles.back(), "Universal Sounding Format File");
  EXPECT_EQ(result.data().TIME(0, 0), 3.0f);
  EXPECT_EQ(memory.proposedSounding, 1);
  EXPECT_EQ(memory.lastFile, "");  // the next import starts with a new file dialog

  toolkit.files = {path};
  toolkit.numbers = {2.0};
  ASSERT_TRUE(importUsfSounding(toolkit, memory, result));
  EXPECT_EQ(result.data().TIME(0, 0), 2.0f);
  EXPECT_EQ(memory.proposedSounding, 3);
  EXPECT_EQ(memory.lastFile, path);
  EXPECT_TRUE(toolkit.messages.empty());
}

TEST(UsfImport, MissingFileAndOutOfRangeNumberAreReportedInTheGeneralBox) {
  test::TemporaryFolder folder;
  zeva::test::ScriptedToolkit toolkit;
  UsfImportMemory memory;
  Sounding result;
  const std::string missing = (folder / "none.usf").string();
  toolkit.files = {missing};
  EXPECT_FALSE(importUsfSounding(toolkit, memory, result));
  EXPECT_EQ(toolkit.lastText(), "CANNOT OPEN FILE " + missing);
  EXPECT_EQ(toolkit.messages.back().title, "Kelvorin Library Message");
  EXPECT_TRUE(toolkit.prompts.empty());

  const std::string path = (folder / "one.usf").string();
  test::writeFile(path,
                  usf("/ARRAY: Wenner Array\n/POINTS: 1\n/END\nSPACING RESISTIVITY\n1 2\n/END\n"));
  toolkit.files = {path};
  toolkit.numbers = {0.0};
  EXPECT_FALSE(importUsfSounding(toolkit, memory, result));
  EXPECT_EQ(toolkit.lastText(), "Sounding out of range.");
  EXPECT_EQ(result.header.NDATA, 0);
}

// The sweeps of a USF TEM sounding reach the transient model as read: each
// sweep's gates are what a sounding of that sweep alone gives.
TEST(UsfImport, TemSweepsFlowIntoTheTransientModel) {
  test::TemporaryFolder folder;
  const std::string path = (folder / "tem.usf").string();
  test::writeFile(path, usf("/ARRAY: Central Loop TEM\n/POINTS: 4\n/LOOP_SIZE: 40 40\n"
                            "/VOLTAGE_UNITS: V/AMP\n/SWEEPS: 2\n/CURRENT: 10\n/LOOP_TURNS: 2\n"
                            "/RAMP_TIME: 5e-5\n/FREQUENCY: 25\n/COIL_SIZE: 100\n/END\n"
                            "TIME VOLTAGE\n1e-4 1\n1e-3 1\n \n/SWEEP_NUMBER: 2\n"
                            "/CURRENT: 4\n/LOOP_TURNS: 1\n/RAMP_TIME: 1e-4\n/FREQUENCY: 2.5\n"
                            "/COIL_SIZE: 50\n/END\n \n2e-3 1\n2e-2 1\n/END\n"));
  zeva::test::ScriptedToolkit toolkit;
  UsfImportMemory memory;
  Sounding read;
  toolkit.files = {path};
  toolkit.numbers = {1.0};
  ASSERT_TRUE(importUsfSounding(toolkit, memory, read)) << toolkit.lastText();
  ASSERT_EQ(read.header.NSETS, 2);
  read.model.NLAYER = 2;
  read.model.NPK = 1;
  read.allocateModel();
  read.M.PAR = {100.0f, 10.0f, 30.0f};
  forward::temForward(read, toolkit);
  ASSERT_TRUE(isSet(read.layer.syntheticValid)) << toolkit.lastText();

  const auto& d = read.data();
  for (std::size_t k = 0; k < 2; ++k) {
    const std::size_t first = k == 0 ? 0 : static_cast<std::size_t>(d.NSET[0]);
    Sounding alone;
    alone.header = read.header;
    alone.header.NDATA = 2;
    alone.header.NSETS = 1;
    alone.allocateData();
    auto& a = alone.data();
    a.NSET[0] = 2;
    a.AMPS[0] = d.AMPS[k], a.NTURNS[0] = d.NTURNS[k], a.RAMP[0] = d.RAMP[k];
    a.FREQ[0] = d.FREQ[k], a.AREA[0] = d.AREA[k];
    for (std::size_t i = 0; i < 2; ++i) {
      a.TIME(i, 0) = d.TIME(first + i, 0);
      a.VOLTS(i, 0) = 1.0f;
    }
    alone.model = read.model;
    alone.allocateModel();
    alone.M.PAR = read.M.PAR;
    forward::temForward(alone, toolkit);
    for (std::size_t i = 0; i < 2; ++i)
      EXPECT_NEAR(read.SVOLT(first + i, 0) / alone.SVOLT(i, 0), 1.0, 2e-3) << k << " " << i;
  }
  // The second sweep's own settings, the ramp in microseconds.
  EXPECT_EQ(d.AREA[1], 50.0f);
  EXPECT_EQ(d.NTURNS[1], 1);
  EXPECT_EQ(d.RAMP[1], 100.0f);
  EXPECT_EQ(d.FREQ[1], 2.5f);
}

}  // namespace
}  // namespace zeva::core
