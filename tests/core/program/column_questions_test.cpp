// The column dialog of the flat ASCII importers asked through the toolkit's
// prompts.

#include "core/program/column_questions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/sounding_import.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::core {
namespace {

using files::FlatAsciiKind;
using files::FlatAsciiRequest;
using files::importedDataHeader;

TEST(ColumnQuestions, AnUntickedBoundIsStoredNegated) {
  zeva::test::ScriptedToolkit toolkit;
  FlatAsciiRequest request;
  request.header = importedDataHeader(core::DataTypeText("Schlumberger Array"));
  files::ImportColumns columns;
  columns.firstRow = -6;  // remembered from last time, not used
  toolkit.numbers = {1.0, 4.0, 2.0, 6.0, 3.0};
  toolkit.answers = {ui::Answer::No, ui::Answer::Yes};
  ASSERT_TRUE(askColumns(toolkit, FlatAsciiKind::Resistivity, request, columns));
  EXPECT_EQ(toolkit.prompts,
            (std::vector<std::string>{"Column for AB/2:", "Column for Resistivity:",
                                      "Column for MN:", "First Row:", "Last Row:"}));
  EXPECT_EQ(toolkit.texts(), (std::vector<std::string>{"Use the first row?", "Use the last row?"}));
  EXPECT_EQ(columns.spacing, 1);
  EXPECT_EQ(columns.resistivity, 4);
  EXPECT_EQ(columns.mn, 2);
  EXPECT_EQ(columns.current, 0);  // no voltage and current
  EXPECT_EQ(columns.firstRow, -6);
  EXPECT_EQ(columns.lastRow, 3);
}

}  // namespace
}  // namespace zeva::core
