#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <sstream>

#include "core/program/program.h"
#include "files/edi_reader.h"
#include "files/flat_ascii_import.h"
#include "tests/support/scripted_toolkit.h"
#include "tests/support/test_support.h"

namespace zeva::core {
namespace {

struct Snapshot {
  std::string name;
  int ndata;
  std::vector<float> time, volts;
};

Snapshot snapshot(const Sounding& s) {
  const auto t = s.data().TIME.elements();
  const auto v = s.data().VOLTS.elements();
  return {s.header.name.trimmed(), s.header.NDATA, {t.begin(), t.end()}, {v.begin(), v.end()}};
}

void expectUnchanged(const Sounding& s, const Snapshot& before) {
  const Snapshot after = snapshot(s);
  EXPECT_EQ(after.name, before.name);
  EXPECT_EQ(after.ndata, before.ndata);
  EXPECT_EQ(after.time, before.time);
  EXPECT_EQ(after.volts, before.volts);
}

std::string garbage() {
  std::string bytes;
  for (int i = 0; i < 3000; ++i) bytes.push_back(static_cast<char>((i * 7919 + 13) % 256));
  return bytes;
}

TEST(ExchangeCommands, FailedImportsOfEveryFormatLeaveTheCurrentSoundingAsItWas) {
  test::TemporaryFolder folder;
  test::writeFile(folder / "bad.usf",
                  "//USF: Universal Sounding Format\n//SOUNDINGS: 1\n//END\n"
                  "/ARRAY: Wenner Array\n/POINTS: 5\n/END\nSPACING RESISTIVITY\n1 2\n");
  test::writeFile(folder / "bad.edi", garbage());
  test::writeFile(folder / "bad.dat", garbage());
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  const Snapshot before = snapshot(program.S());

  toolkit.files = {(folder / "bad.usf").string()};
  toolkit.numbers = {1.0};
  EXPECT_EQ(program.exchange().importUsfData().status(), CommandStatus::Failed);
  EXPECT_EQ(toolkit.lastText(), "Error at line      8\r\nend of file while trying to read line");
  expectUnchanged(program.S(), before);

  toolkit.files = {(folder / "bad.edi").string()};
  toolkit.numbers = {0.0};  // the curve: xy, else yx
  EXPECT_EQ(program.exchange().importEdiData().status(), CommandStatus::Failed);
  EXPECT_EQ(toolkit.lastText(), "FILE IS NOT AN EDI FILE: " + (folder / "bad.edi").string());
  expectUnchanged(program.S(), before);

  toolkit.files = {(folder / "bad.dat").string()};
  ImportChoices choices;
  choices.dataType = "Wenner Array";
  toolkit.numbers = {1.0, 2.0, 0.0, 0.0};  // the column dialog
  EXPECT_EQ(
      program.exchange().importFlatAsciiData(files::FlatAsciiKind::Resistivity, choices).status(),
      CommandStatus::Failed);
  EXPECT_EQ(toolkit.lastText().substr(0, toolkit.lastText().find('\n')),
            "NO DATA ROWS READ FROM FILE: " + (folder / "bad.dat").string());
  expectUnchanged(program.S(), before);
  EXPECT_TRUE(program.S().sharesDataWith(program.SM()));
}

TEST(ExchangeCommands, ExportedUsfImportsAsTheCurrentSoundingWithSharedData) {
  test::TemporaryFolder folder;
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  const Snapshot before = snapshot(program.S());
  const std::string path = (folder / "default.usf").string();
  toolkit.files = {path};
  ASSERT_TRUE(program.exchange().exportUsfData());
  program.S().layer.saved = kTrue;
  program.S().data().VOLTS(0, 0) = 1.0f;  // changed after the export
  toolkit.files = {path};
  toolkit.numbers = {1.0};
  ASSERT_TRUE(program.exchange().importUsfData()) << toolkit.lastText();
  EXPECT_EQ(program.S().header.name.trimmed(), "Default Data");
  EXPECT_EQ(program.S().header.NDATA, 22);
  for (std::size_t i = 0; i < 22; ++i) {
    EXPECT_EQ(program.S().data().TIME(i, 0), before.time[i]);
    EXPECT_EQ(program.S().data().VOLTS(i, 0), before.volts[i]);
  }
  EXPECT_TRUE(program.S().sharesDataWith(program.SM()));
  EXPECT_EQ(program.SM().header.NDATA, 22);
  EXPECT_FALSE(isSet(program.S().layer.saved));
}

TEST(ExchangeCommands, ExportsAskForTheFileUnderTheFormatsTitleAndShowTheWriteError) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  toolkit.files = {std::string("/nonexistent-folder/x.dat")};
  EXPECT_EQ(program.exchange().exportAsciiData().status(), CommandStatus::Failed);
  EXPECT_EQ(toolkit.fileDialogTitles.back(), "Flat ASCII Resistivity Data File");
  EXPECT_EQ(toolkit.texts(),
            (std::vector<std::string>{"CANNOT OPEN FILE: /nonexistent-folder/x.dat"}));
  toolkit.files = {std::string("/nonexistent-folder/x.usf")};
  EXPECT_EQ(program.exchange().exportUsfData().status(), CommandStatus::Failed);
  EXPECT_EQ(toolkit.fileDialogTitles.back(), "Universal Sounding Format File");
  EXPECT_EQ(toolkit.messages.back().title, "USF File Error");
}

TEST(ExchangeCommands, FormatsWithoutAReaderSaySo) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  EXPECT_EQ(program.exchange().importUnsupported(UnsupportedImport::Emi).status(),
            CommandStatus::Refused);
  EXPECT_EQ(program.exchange().importUnsupported(UnsupportedImport::GeotoolsTbl).status(),
            CommandStatus::Refused);
  EXPECT_EQ(program.exchange().importUnsupported(UnsupportedImport::KovatTem).status(),
            CommandStatus::Refused);
  EXPECT_EQ(toolkit.texts(),
            (std::vector<std::string>{"MT data from EMI data files are not supported",
                                      "MT data from Geotools TBL files are not supported",
                                      "TEM data from KOVAT .TEM files are not supported"}));
}

TEST(ExchangeCommands, SmoothAndEquivalentModelExportsNeedTheirResults) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  EXPECT_FALSE(program.exchange().exportSmoothModel());
  EXPECT_FALSE(program.exchange().exportEquivalentModels());
  EXPECT_EQ(toolkit.texts(), (std::vector<std::string>{"Smooth model not available",
                                                       "Equivalent models not available"}));
  EXPECT_TRUE(toolkit.fileDialogTitles.empty());
}

TEST(ExchangeCommands, FlatAsciiImportUsesAndRemembersTheColumnSettings) {
  test::TemporaryFolder folder;
  test::writeFile(folder / "wenner.dat", "A RHO\n10 1 120\n20 1 80\n40 1 60\n");
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  program.S().layer.saved = kTrue;
  toolkit.files = {(folder / "wenner.dat").string()};
  toolkit.textAnswers = {std::string("Wenner Array")};
  toolkit.numbers = {1.0, 3.0, 0.0, 0.0};  // spacing, resistivity, both row bounds
  toolkit.answers = {ui::Answer::No, ui::Answer::No};
  ASSERT_TRUE(program.exchange().importFlatAsciiData(files::FlatAsciiKind::Resistivity))
      << toolkit.lastText();
  EXPECT_EQ(program.S().header.dataType, "Wenner Array");
  EXPECT_EQ(program.S().header.name.trimmed(), "wenner");
  ASSERT_EQ(program.S().header.NDATA, 3);
  EXPECT_EQ(program.S().data().VOLTS(2, 0), 60.0f);
  EXPECT_EQ(program.settings().columns.spacing, 1);
  EXPECT_EQ(program.settings().columns.resistivity, 3);
}

TEST(ExchangeCommands, EdiImportTakesTheCurveItsQuestionChooses) {
  // A 2-D earth at 5 Hz: xy 20 ohm-m at 60 degrees, yx 500 ohm-m at 30
  // degrees; the determinant invariant is 100 ohm-m at 45 degrees.
  test::TemporaryFolder folder;
  const std::string path = (folder / "site.edi").string();
  test::writeFile(path,
                  ">HEAD\n DATAID=\"K-7\"\n>=MTSECT\n>FREQ //1\n 5\n>ZXXR //1\n 0\n>ZXXI //1\n 0\n"
                  ">ZXYR //1\n 11.18034\n>ZXYI //1\n 19.36492\n>ZYXR //1\n -96.82458\n"
                  ">ZYXI //1\n -55.90170\n>ZYYR //1\n 0\n>ZYYI //1\n 0\n>END\n");
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  toolkit.files = {path};
  toolkit.numbers = {3.0};
  ASSERT_TRUE(program.exchange().importEdiData()) << toolkit.lastText();
  EXPECT_EQ(toolkit.prompts.back(), files::kEdiModePrompt);
  EXPECT_EQ(program.S().header.name.trimmed(), "K-7");
  EXPECT_EQ(program.S().header.description.trimmed(), "EDI DET");
  EXPECT_NEAR(program.S().data().VOLTS(0, 0), 100.0f, 1e-3f);
  EXPECT_NEAR(program.S().data().VOLTS(0, 1), 45.0f, 1e-4f);

  program.S().layer.saved = kTrue;
  const Snapshot before = snapshot(program.S());
  toolkit.files = {path};
  EXPECT_EQ(program.exchange().importEdiData().status(), CommandStatus::Cancelled);
  EXPECT_EQ(toolkit.fileDialogTitles.size(), 1u);  // before the file was asked for
  expectUnchanged(program.S(), before);
}

// CPU seconds of the best of three Schlumberger imports of `rows` readings in
// two segments that repeat each other's spacings (segment detection pairs
// every reading before the break with the segment after it).
double schlumbergerImportSeconds(int rows) {
  test::TemporaryFolder folder;
  std::ostringstream text;
  text << "AB/2 MN RHO\n";
  for (int i = 0; i < rows; ++i) text << 1 + i % (rows / 2) << " 1 " << 100 + i % 7 << '\n';
  test::writeFile(folder / "long.dat", text.str());
  double best = 1.0e9;
  for (int run = 0; run < 3; ++run) {
    zeva::test::ScriptedToolkit toolkit;
    Program program(toolkit);
    toolkit.files = {(folder / "long.dat").string()};
    toolkit.numbers = {1.0, 3.0, 2.0, 0.0, 0.0};  // AB/2, rho, MN, both row bounds
    toolkit.answers = {ui::Answer::No, ui::Answer::No};
    ImportChoices choices;
    choices.dataType = "Schlumberger Array";
    choices.voltageAndCurrent = false;
    const std::clock_t start = std::clock();
    EXPECT_TRUE(program.exchange().importFlatAsciiData(files::FlatAsciiKind::Resistivity, choices))
        << toolkit.lastText();
    best = std::min(best, static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
    EXPECT_EQ(program.S().NDATA(), rows);
    EXPECT_EQ(program.S().header.NSHIFT, 1);
  }
  return best;
}

TEST(ExchangeCommands, SchlumbergerImportTimeGrowsLinearlyWithTheRows) {
  // Eight times the rows: linear work takes about 8x, pairwise work 64x.
  const double few = schlumbergerImportSeconds(5000);
  const double many = schlumbergerImportSeconds(40000);
  EXPECT_LT(many, 20.0 * std::max(few, 0.002)) << few << " s, then " << many << " s";
}

}  // namespace
}  // namespace zeva::core
