#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "core/record/reader_limits.h"
#include "tests/support/result_texts.h"
#include "tests/support/test_support.h"

namespace zeva::settings {
namespace {

Settings readFrom(const std::string& text, ReadOutcome* outcome = nullptr) {
  Settings settings;
  std::istringstream in(text);
  const ReadOutcome result = readSettings(in, settings);
  if (outcome != nullptr) *outcome = result;
  return settings;
}

std::string written(const Settings& settings, std::string_view lastFile = "") {
  std::ostringstream out;
  writeSettings(out, settings, lastFile);
  return out.str();
}

TEST(SettingsFile, FlagsLineAloneSetsThatSwitchAndLeavesEveryDefault) {
  const Settings settings = readFrom("[Flags]\nLZOOM=T\n");
  EXPECT_TRUE(settings.flags.zoom);
  Settings expected;
  expected.flags.zoom = true;
  EXPECT_EQ(written(settings), written(expected));
}

TEST(SettingsFile, ResistivityColumnIsReadAndANonNumberLosesOnlyItsOwnSetting) {
  EXPECT_EQ(readFrom("Resistivity Column=    7\n").columns.resistivity, 7);
  ReadOutcome outcome{};
  const Settings damaged = readFrom(
      "Spacing Column=    5\nResistivity Column=  abc\nLZOOM=maybe\nMN Column=    9\n", &outcome);
  EXPECT_EQ(outcome, ReadOutcome::DamagedValue);
  EXPECT_EQ(damaged.columns.spacing, 5);
  EXPECT_EQ(damaged.columns.resistivity, 3);  // default
  EXPECT_FALSE(damaged.flags.zoom);           // default
  EXPECT_EQ(damaged.columns.mn, 9);           // read after the damaged lines
}

// No setting is longer than a reader line: such a line is damaged, and only
// its own setting is lost.
TEST(SettingsFile, LineBeyondTheLimitLosesOnlyItsOwnSetting) {
  ReadOutcome outcome{};
  const Settings settings =
      readFrom("Spacing Column=   17" + std::string(core::limits::kMaxLineBytes, ' ') +
                   "\nMN Column=    9\n",
               &outcome);
  EXPECT_EQ(outcome, ReadOutcome::DamagedValue);
  EXPECT_EQ(settings.columns.spacing, Settings{}.columns.spacing);
  EXPECT_EQ(settings.columns.mn, 9);
}

TEST(SettingsFile, KeysOutsideTheOrderedBlocksMayComeInAnyOrder) {
  const Settings settings = readFrom(
      "[Font]\nFHeight=   5.0000E-02\n[Data Input]\nTime Column=    8\n"
      "[Graphs]\nCLTIME=Gate time (ms)\nLPWORK=T\nIFont=  12\n");
  EXPECT_FLOAT_EQ(settings.font.height, 0.05f);
  EXPECT_EQ(settings.columns.time, 8);
  EXPECT_EQ(settings.graphs.time, "Gate time (ms)");
  EXPECT_TRUE(settings.flags.printWorksheet);
  EXPECT_EQ(settings.font.font, 12);
}

TEST(SettingsFile, WindowKeysCountOnlyInTheirSequenceAfterTheSectionTitle) {
  const Settings inSequence = readFrom(
      "[Windows]\nDialog X=   11\nDialog Y=   12\nWindow X=   13\nLZOOM=T\nWindow Y=   14\n");
  EXPECT_EQ(inSequence.windows.dialogX, 11);
  EXPECT_EQ(inSequence.windows.dialogY, 12);
  EXPECT_EQ(inSequence.windows.windowX, 13);
  EXPECT_TRUE(inSequence.flags.zoom);        // ends the sequence, handled as ordinary line
  EXPECT_EQ(inSequence.windows.windowY, 0);  // out of sequence: ignored
  EXPECT_EQ(readFrom("Window X=  100\n").windows.windowX, 0);
  EXPECT_EQ(readFrom("LastDir=/tmp\n").lastDir, "");
  EXPECT_EQ(readFrom("[Directories]\nLastDir=/data/field   \n").lastDir, "/data/field");
}

TEST(SettingsFile, LastDirIsCutToItsFieldOnly) {
  const std::string longPath = "/" + std::string(100, 'd');
  const Settings settings = readFrom("[Directories]\nLastDir=" + longPath + "\n");
  EXPECT_EQ(settings.lastDir, longPath.substr(0, 80));
}

// What the program writes reads back to the same values: reals too large
// for the fixed field, texts of the full width holding line ends, other
// control characters, backslashes, another key's text or a section title.
TEST(SettingsFile, ValuesOfAnySizeAndTextsOfAnyCharacterSurviveAWriteAndRead) {
  Settings original;
  original.lastDir = "C:\\Users\\x41\\field" + std::string(62, 'p');
  original.graphs.resistivity = "Rho\r(ohm-m)\nline two\t\x7f";
  original.graphs.spacing = "LZOOM=T";
  original.graphs.depth = "[Windows]";
  original.graphs.time = std::string(40, '\r');
  original.graphs.nameHeight = 1.0e25f;
  original.graphs.dataVerticalOffset = -3.0e38f;
  original.graphs.dataHorizontalOffset = 123456.7f;
  original.font.width = 3.0e38f;
  const std::string text = written(original, "Station 12");
  ReadOutcome outcome{};
  const Settings back = readFrom(text, &outcome);
  EXPECT_EQ(outcome, ReadOutcome::Complete);
  EXPECT_EQ(back.lastDir, original.lastDir);
  EXPECT_EQ(back.graphs.resistivity, original.graphs.resistivity);
  EXPECT_EQ(back.graphs.spacing, "LZOOM=T");
  EXPECT_FALSE(back.flags.zoom);
  EXPECT_EQ(back.graphs.depth, "[Windows]");
  EXPECT_EQ(back.graphs.time, original.graphs.time);
  EXPECT_EQ(back.graphs.nameHeight, 1.0e25f);
  EXPECT_EQ(back.graphs.dataVerticalOffset, -3.0e38f);
  EXPECT_EQ(back.font.font, original.font.font);  // a setting after the large reals
  EXPECT_EQ(written(back, "Station 12"), text);
}

TEST(SettingsFile, FolderAndDeviceAreNotRead) {
  test::TemporaryFolder folder;
  for (const std::filesystem::path& path : {folder.path(), std::filesystem::path("/dev/zero")}) {
    Settings settings;
    const SettingsRead read = readSettingsFile(path, settings);
    EXPECT_EQ(read.outcome, ReadOutcome::CannotOpen);
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(test::texts(read), std::vector<std::string>{"CANNOT OPEN FILE: " + path.string()});
  }
}

TEST(SettingsFile, EveryValueSurvivesAWriteAndRead) {
  Settings original;
  original.lastDir = "/home/field/soundings";
  original.windows = {1, 2, 3, 4, 5, 6, 2, 7, 8, 9, 10, 3};
  original.columns.resistivity = 7;
  original.columns.firstRow = -4;  // remembered but not used
  original.columns.depthTimes1000 = true;
  original.flags.redLine = true;
  original.flags.printGraph = false;
  original.graphs.voltage = "Voltage (uV/A)";
  original.graphs.nameHeight = 0.3125f;
  original.graphs.modelHorizontalOffset = -1.5f;
  original.graphs.lineWidth = 4;
  original.font = {7, 2, 0.0315f, 0.0625f};
  const Settings back = readFrom(written(original, "Station 12"));
  EXPECT_EQ(written(back, "Station 12"), written(original, "Station 12"));
  EXPECT_EQ(back.lastFile, "Station 12");
  EXPECT_EQ(back.columns.firstRow, -4);
  EXPECT_FLOAT_EQ(back.font.width, 0.0315f);
}

TEST(SettingsFile, LinesHaveTheirFieldWidthsAndSectionsEndWithABlankLine) {
  Settings settings;
  settings.lastDir = "/d";
  const std::string text = written(settings, "S1");
  EXPECT_NE(text.find("[Directories]\nLastDir=/d" + std::string(78, ' ') + "\n \n[Windows]\n"),
            std::string::npos);
  EXPECT_NE(text.find("\nWellLog X=   -1\n"), std::string::npos);
  EXPECT_NE(text.find("\nLX1000=F\n"), std::string::npos);
  EXPECT_NE(text.find("\nLast File=S1" + std::string(22, ' ') + "\n"), std::string::npos);
  EXPECT_NE(text.find("\nHICNAME=    0.2700\n"), std::string::npos);
  EXPECT_NE(text.find("\nFWidth=   2.2000E-02\n"), std::string::npos);
  EXPECT_NE(text.find("\nCLRES=Apparent Resistivity (ohm-m)            \n"), std::string::npos);
  EXPECT_EQ(text.find("OFFDATP="), std::string::npos);  // read, never written
  EXPECT_EQ(readFrom("OFFDATP=    1.2500\n").graphs.dataPlotOffset, 1.25f);
}

TEST(SettingsFile, PathFollowsXdgConfigHomeThenHome) {
  EXPECT_EQ(settingsPathFor("/x/config", "/home/u"),
            std::filesystem::path("/x/config/Kelvorin/ZEVA.INI"));
  EXPECT_EQ(settingsPathFor("", "/home/u"),
            std::filesystem::path("/home/u/.config/Kelvorin/ZEVA.INI"));
  EXPECT_EQ(settingsPathFor(nullptr, nullptr), std::filesystem::path("ZEVA.INI"));
}

TEST(SettingsFile, MissingFileKeepsDefaultsAfterTheOpeningMessage) {
  test::TemporaryFolder folder;
  Settings settings;
  const auto file = folder / "ZEVA.INI";
  const SettingsRead read = readSettingsFile(file, settings);
  EXPECT_EQ(read.outcome, ReadOutcome::CannotOpen);
  EXPECT_EQ(read.messages,
            (std::vector<files::Message>{{files::MessageKind::Warning,
                                          "ERROR OPENING " + file.string() + ":          2", ""}}));
  EXPECT_EQ(written(settings), written(Settings{}));
}

TEST(SettingsFile, WritingReplacesTheFileThroughTheTemporaryOne) {
  test::TemporaryFolder folder;
  const auto file = folder / "ZEVA.INI";
  test::writeFile(file, "[Data Input]\nTime Column=    9\n");
  Settings settings;
  settings.columns.time = 5;
  const files::Result written = writeSettingsFile(file, settings, "Last");
  ASSERT_TRUE(written.ok);
  EXPECT_TRUE(written.messages.empty());
  EXPECT_FALSE(std::filesystem::exists(folder / "ZEVA.INW"));
  Settings back;
  const SettingsRead read = readSettingsFile(file, back);
  EXPECT_EQ(read.outcome, ReadOutcome::Complete);
  EXPECT_TRUE(read.ok);
  EXPECT_EQ(back.columns.time, 5);
  EXPECT_TRUE(read.messages.empty());
}

TEST(SettingsFile, StaleTemporaryFileIsContinuedAndTheNewLinesWin) {
  test::TemporaryFolder folder;
  const auto file = folder / "ZEVA.INI";
  Settings old;
  old.columns.time = 9;
  old.windows.windowX = 300;
  old.flags.zoom = true;
  // An interrupted run left its temporary file, cut inside a line.
  test::writeFile(folder / "ZEVA.INW", written(old, "Old") + "[Data Input]\nTime Column=  ");
  Settings current;
  current.columns.time = 4;
  current.windows.windowX = 20;
  ASSERT_TRUE(writeSettingsFile(file, current, "New").ok);
  const std::string text = test::readFile(file);
  EXPECT_EQ(text.find("[Directories]"), 0u);                      // the stale lines come first
  EXPECT_NE(text.rfind("Time Column=    4"), std::string::npos);  // the new ones at the end
  Settings back;
  EXPECT_EQ(readSettingsFile(file, back).outcome, ReadOutcome::Complete);
  EXPECT_EQ(back.columns.time, 4);
  EXPECT_EQ(back.windows.windowX, 20);
  EXPECT_FALSE(back.flags.zoom);
  EXPECT_EQ(back.lastFile, "New");
}

TEST(SettingsFile, RecentFilesOfAnyLengthComeBackInTheirOrder) {
  Settings settings;
  settings.recentFiles[0] =
      "/home/surveyor/projects/2026/north-ridge/resistivity soundings/line 4/NR-4-17.ZVR";
  settings.recentFiles[1] = "/tmp/B.ZVR";
  settings.recentFiles[2] = "/tmp/odd\rname\r";   // a carriage return would end the line
  settings.recentFiles[3] = "C:\\x41\\DATA.ZVR";  // reads as an escape unless written as one
  const std::string text = written(settings);
  EXPECT_NE(text.find("[Recent Files]\nRecent 1=" + settings.recentFiles[0] + "\n"),
            std::string::npos);
  const Settings read = readFrom(text);
  EXPECT_EQ(read.recentFiles, settings.recentFiles);
}

}  // namespace
}  // namespace zeva::settings
