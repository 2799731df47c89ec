// The data editor on its own, answered by a scripted toolkit: its grid gives
// back the readings it was given, cells move within their column, new
// MaxMin readings take the fixed coil geometry, and TEM sweeps are checked
// against the quarter period of their repetition frequency.

#include "ui/qt/gui/data_editor.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTableWidget>
#include <numbers>

#include "core/program/example_soundings.h"
#include "core/program/new_sounding.h"
#include "core/record/current_sounding.h"
#include "core/record/data_type.h"
#include "files/sounding_import.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::ui::qt {
namespace {

using Texts = std::vector<std::string>;

core::Sounding soundingOf(core::NewSoundingKind kind, std::string_view type, int readings) {
  core::NewSoundingChoices choices;
  choices.dataType = type;
  core::DataHeader header = core::newSoundingHeader(kind, choices);
  header.NDATA = readings;
  core::Sounding s;
  EXPECT_TRUE(files::beginImportedData(s, header));
  return s;
}

float cell(const QTableWidget* grid, int row, int column) {
  return grid->item(row, column)->text().toFloat();
}

TEST(DataEditor, GivesBackTheDefaultSoundingsReadingsAndMasks) {
  zeva::test::ScriptedToolkit toolkit;
  core::CurrentSounding current;
  core::resetToDefault(current);
  core::Sounding& original = current.S;
  original.data().LMASK(4, 0) = core::kTrue;
  DataEditor editor(original, toolkit);
  core::Sounding copy;
  ASSERT_TRUE(editor.writeTo(copy));
  ASSERT_EQ(copy.NDATA(), original.NDATA());
  for (int i = 0; i < original.NDATA(); ++i) {
    for (int g = 0; g < 2; ++g)
      EXPECT_FLOAT_EQ(copy.data().TIME(i, g), original.data().TIME(i, g)) << i;
    for (int c = 0; c < 3; ++c)
      EXPECT_NEAR(copy.data().VOLTS(i, c), original.data().VOLTS(i, c),
                  1e-5f * std::abs(original.data().VOLTS(i, c)))
          << i << "," << c;
    EXPECT_EQ(core::isSet(copy.data().LMASK(i, 0)), i == 4) << i;
  }
  EXPECT_TRUE(toolkit.messages.empty());
}

TEST(DataEditor, InsertedCellMovesItsColumnDownAndDeletedCellMovesItUp) {
  zeva::test::ScriptedToolkit toolkit;
  core::Sounding s = soundingOf(core::NewSoundingKind::Mt, core::type::kMagnetotelluric, 3);
  for (int i = 0; i < 3; ++i) {
    s.data().TIME(i, 0) = 10.0f * static_cast<float>(i + 1);
    s.data().VOLTS(i, 0) = static_cast<float>(i + 1);
  }
  DataEditor editor(s, toolkit);
  QTableWidget* grid = editor.grid();
  grid->setCurrentCell(1, 1);  // the resistivity of the second reading
  editor.insertCell();
  ASSERT_EQ(grid->rowCount(), 4);
  EXPECT_EQ(cell(grid, 0, 1), 1.0f);
  EXPECT_EQ(cell(grid, 1, 1), 0.0f);
  EXPECT_EQ(cell(grid, 2, 1), 2.0f);
  EXPECT_EQ(cell(grid, 3, 1), 3.0f);
  EXPECT_EQ(cell(grid, 2, 0), 30.0f);  // the frequencies stay
  grid->setCurrentCell(1, 1);
  editor.deleteCell();
  EXPECT_EQ(cell(grid, 1, 1), 2.0f);
  EXPECT_EQ(cell(grid, 2, 1), 3.0f);
  EXPECT_EQ(cell(grid, 3, 1), 0.0f);
  // The mask column holds no numbers to move.
  grid->setCurrentCell(0, 3);
  editor.insertCell();
  EXPECT_EQ(toolkit.texts(), Texts{"Must be inside data grid to insert cell"});
}

TEST(DataEditor, NewMaxMinReadingsTakeTheFixedCoilGeometry) {
  zeva::test::ScriptedToolkit toolkit;
  core::Sounding s = soundingOf(core::NewSoundingKind::MaxMin, core::type::kHorizontalCoplanar, 0);
  DataEditor editor(s, toolkit);
  editor.setGeometryDefaults({1760.0f, 100.0f, 1.5f});
  editor.appendRow();
  editor.appendRow();
  core::Sounding entered;
  ASSERT_TRUE(editor.writeTo(entered));
  ASSERT_EQ(entered.NDATA(), 2);
  EXPECT_EQ(entered.data().TIME(1, 0), 1760.0f);
  EXPECT_EQ(entered.data().TIME(1, 1), 100.0f);
  EXPECT_EQ(entered.data().TIME(1, 2), 1.5f);
}

TEST(DataEditor, EmptyGridIsRefused) {
  zeva::test::ScriptedToolkit toolkit;
  core::Sounding s = soundingOf(core::NewSoundingKind::Dc, core::type::kWenner, 0);
  DataEditor editor(s, toolkit);
  core::Sounding entered;
  EXPECT_FALSE(editor.writeTo(entered));
  EXPECT_EQ(toolkit.texts(), Texts{"A sounding needs at least one reading"});
}

TEST(DataEditor, TextInANumberCellIsRefusedWithItsPlace) {
  zeva::test::ScriptedToolkit toolkit;
  core::Sounding s = soundingOf(core::NewSoundingKind::Dc, core::type::kWenner, 2);
  DataEditor editor(s, toolkit);
  editor.grid()->item(0, 0)->setText("2");
  editor.grid()->item(1, 0)->setText("4");
  editor.grid()->item(1, 1)->setText("12,5x");
  core::Sounding entered;
  EXPECT_FALSE(editor.writeTo(entered));
  EXPECT_EQ(toolkit.texts(), Texts{"NOT A NUMBER IN ROW 2, COLUMN 2"});
}

// A TEM sweep whose last gate lies beyond a quarter of the repetition period
// would see the next pulse: 10 ms allows at most 250 / 10 = 25 Hz.
struct SweepCase {
  float frequency;
  bool accepted;
};
class TemSweepCheck : public ::testing::TestWithParam<SweepCase> {};

TEST_P(TemSweepCheck, LastGateMustLieWithinAQuarterPeriod) {
  zeva::test::ScriptedToolkit toolkit;
  core::Sounding s = soundingOf(core::NewSoundingKind::Tem, core::type::kCentralLoopTem, 3);
  const float times[] = {1.0f, 5.0f, 10.0f};
  for (int i = 0; i < 3; ++i) {
    s.data().TIME(i, 0) = times[i];
    s.data().VOLTS(i, 0) = 100.0f / times[i];
  }
  DataEditor editor(s, toolkit);
  ASSERT_NE(editor.sweepGrid(), nullptr);
  ASSERT_EQ(editor.sweepGrid()->rowCount(), 1);
  EXPECT_EQ(cell(editor.sweepGrid(), 0, 0), 3.0f);  // the sweep ends at the last gate
  editor.sweepGrid()->item(0, 1)->setText(QString::number(GetParam().frequency));
  core::Sounding entered;
  EXPECT_EQ(editor.writeTo(entered), GetParam().accepted);
  if (GetParam().accepted) {
    EXPECT_TRUE(toolkit.messages.empty());
    EXPECT_EQ(entered.data().FREQ[0], GetParam().frequency);
    EXPECT_EQ(entered.data().NSET[0], 3);
  } else {
    ASSERT_EQ(toolkit.messages.size(), 1u);
    EXPECT_NE(toolkit.lastText().find("FOR SWEEP     1, REPETITION FREQUENCY"), std::string::npos)
        << toolkit.lastText();
  }
}

INSTANTIATE_TEST_SUITE_P(Frequencies, TemSweepCheck,
                         ::testing::Values(SweepCase{3.0f, true}, SweepCase{25.0f, true},
                                           SweepCase{30.0f, false}, SweepCase{285.0f, false}));

TEST(DataEditor, SweepsRiseToTheLastGate) {
  zeva::test::ScriptedToolkit toolkit;
  core::Sounding s = soundingOf(core::NewSoundingKind::Tem, core::type::kCoincidentLoopTem, 4);
  for (int i = 0; i < 4; ++i) s.data().TIME(i, 0) = 0.1f * static_cast<float>(i + 1);
  DataEditor editor(s, toolkit);
  // The last sweep always ends at the last reading.
  editor.sweepGrid()->item(0, 0)->setText("2");
  core::Sounding entered;
  ASSERT_TRUE(editor.writeTo(entered));
  EXPECT_EQ(entered.data().NSET[0], 4);
  EXPECT_EQ(cell(editor.sweepGrid(), 0, 0), 4.0f);
  // An earlier sweep must end before the next one.
  editor.appendSweep();
  editor.sweepGrid()->item(0, 0)->setText("4");
  EXPECT_FALSE(editor.writeTo(entered));
  EXPECT_EQ(toolkit.texts(), Texts{"THE LAST GATES OF THE SWEEPS MUST RISE TO THE LAST READING 4"});
  editor.sweepGrid()->item(0, 0)->setText("2");
  ASSERT_TRUE(editor.writeTo(entered));
  EXPECT_EQ(entered.header.NSETS, 2);
  EXPECT_EQ(entered.data().NSET[0], 2);
  EXPECT_EQ(entered.data().NSET[1], 4);
}

}  // namespace
}  // namespace zeva::ui::qt

namespace zeva::ui::qt {
namespace {

struct GeometryCase {
  std::string_view type;
  int row, column;
  const char* text;
  const char* message;
};

class DataEditorGeometry : public ::testing::TestWithParam<GeometryCase> {};

// Spacings, frequencies and MN must describe an array that can be laid out.
TEST_P(DataEditorGeometry, IsRefusedNamingRowAndColumn) {
  const GeometryCase c = GetParam();
  zeva::test::ScriptedToolkit toolkit;
  core::CurrentSounding current;
  core::resetToDefault(current);
  if (c.type != current.S.header.dataType.trimmed()) {
    ASSERT_TRUE(core::makeExampleSounding(core::DataTypeText(c.type), current));
  }
  DataEditor editor(current.S, toolkit);
  editor.grid()->item(c.row, c.column)->setText(c.text);
  core::Sounding entered;
  EXPECT_FALSE(editor.writeTo(entered));
  ASSERT_EQ(toolkit.texts().size(), 1u);
  EXPECT_TRUE(toolkit.texts()[0].starts_with(c.message)) << toolkit.texts()[0];
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DataEditorGeometry,
    ::testing::Values(GeometryCase{"Schlumberger Array", 2, 0, "0",
                                   "ROW 3, COLUMN 1 (AB/2 (meters)): MUST BE A POSITIVE NUMBER"},
                      GeometryCase{"Schlumberger Array", 0, 0, "-4", "ROW 1, COLUMN 1"},
                      GeometryCase{"Schlumberger Array", 0, 1, "9",
                                   "ROW 1, COLUMN 2 (MN (meters)): MN MUST BE BELOW AB"},
                      GeometryCase{"Magnetotelluric Data", 1, 0, "0",
                                   "ROW 2, COLUMN 1 (Frequency (Hz))"}));

TEST(DataEditor, MultiplyingTheComputedResistivityScalesTheVoltage) {
  zeva::test::ScriptedToolkit toolkit;
  core::CurrentSounding current;
  core::resetToDefault(current);
  DataEditor editor(current.S, toolkit);
  // Columns: AB/2, MN, voltage, current, resistivity, error, mask.
  editor.grid()->setCurrentCell(0, 4);
  toolkit.numbers.push_back(3.0);
  editor.multiplyColumn();
  core::Sounding entered;
  ASSERT_TRUE(editor.writeTo(entered));
  for (int i = 0; i < entered.NDATA(); ++i) {
    const auto k = static_cast<std::size_t>(i);
    // The resistivity follows from the tripled voltage through the
    // Schlumberger factor pi (AB/2^2 - MN^2/4) / MN.
    const double ab2 = entered.data().TIME(k, 0), mn = entered.data().TIME(k, 1);
    const double factor = std::numbers::pi * (ab2 * ab2 - mn * mn / 4.0) / mn;
    EXPECT_NEAR(entered.data().VOLTS(k, 0),
                factor * entered.data().VOLTS(k, 1) / entered.data().VOLTS(k, 2),
                1e-4 * entered.data().VOLTS(k, 0))
        << i;
    EXPECT_NEAR(entered.data().VOLTS(k, 1), 3.0f * current.S.data().VOLTS(k, 1),
                1e-4f * current.S.data().VOLTS(k, 1))
        << i;
  }
}

}  // namespace
}  // namespace zeva::ui::qt
