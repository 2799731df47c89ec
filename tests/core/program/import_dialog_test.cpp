// Flat ASCII imports with the family's dialog given by the caller: the
// dialog comes after the question to save, its cancel ends the import before
// any file is chosen, and its choices reach the imported sounding.

#include <gtest/gtest.h>

#include <algorithm>

#include "core/program/program.h"
#include "core/record/data_type.h"
#include "files/flat_ascii_import.h"
#include "tests/support/scripted_toolkit.h"
#include "tests/support/test_support.h"

namespace zeva::core {
namespace {

TEST(ImportDialog, CancelEndsTheImportBeforeAFileIsChosen) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  program.S().layer.saved = kFalse;
  toolkit.answers = {ui::Answer::No};  // do not save first
  bool asked = false;
  const ImportDialog cancel = [&](files::FlatAsciiKind, ImportChoices&) {
    asked = true;
    return false;
  };
  EXPECT_FALSE(
      program.exchange().importFlatAsciiData(files::FlatAsciiKind::Resistivity, {}, cancel));
  EXPECT_TRUE(asked);
  ASSERT_EQ(toolkit.messages.size(), 1u);  // only the question to save
  EXPECT_TRUE(toolkit.fileDialogTitles.empty());
  EXPECT_TRUE(program.S().header.dataType == type::kSchlumberger);
  EXPECT_EQ(program.S().NDATA(), 22);
}

TEST(ImportDialog, DipoleDipoleReadingsOfTheDialogsTypeFitTheirHalfSpace) {
  // Readings n = 1..4 over a homogeneous 50 ohm-m earth: the forward model of
  // a uniform 50 ohm-m model gives 50 ohm-m back only with a dipole length.
  test::TemporaryFolder folder;
  test::writeFile(folder / "dd.dat", "N RHO\n1 50\n2 50\n3 50\n4 50\n");
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  toolkit.files = {(folder / "dd.dat").string()};
  // The spacing and resistivity columns, the dipole length proposed by the
  // import dialog, all rows.
  toolkit.numbers = {1.0, 2.0, 10.0, 0.0, 0.0};
  toolkit.answers = {ui::Answer::No, ui::Answer::No};
  const ImportDialog dialog = [](files::FlatAsciiKind kind, ImportChoices& given) {
    EXPECT_EQ(kind, files::FlatAsciiKind::Resistivity);
    given.dataType = "Dipole-Dipole Array";
    given.lengthUnit = "(feet)";
    return true;
  };
  ASSERT_TRUE(program.exchange().importFlatAsciiData(files::FlatAsciiKind::Resistivity, {}, dialog))
      << ::testing::PrintToString(toolkit.texts());
  const Sounding& S = program.S();
  EXPECT_TRUE(S.header.dataType == type::kDipoleDipole);
  EXPECT_EQ(S.header.dipoleLength, 10.0f);
  EXPECT_NE(std::find(toolkit.prompts.begin(), toolkit.prompts.end(), "Dipole Length:"),
            toolkit.prompts.end());
  EXPECT_EQ(S.header.lengthUnit.trimmed(), "(feet)");
  ASSERT_EQ(S.NDATA(), 4);

  LayeredModelRequest uniform;
  uniform.resistivity = {50.0f, 50.0f};
  uniform.geometry = {20.0f};
  ASSERT_TRUE(program.model().setLayeredModel(uniform)) << toolkit.lastText();
  ASSERT_TRUE(program.model().forwardModel()) << toolkit.lastText();
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(S.SVOLT(i, 0), 50.0f, 0.5f) << i;
}

}  // namespace
}  // namespace zeva::core
