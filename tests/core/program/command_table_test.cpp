#include "core/program/command_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "core/record/data_type.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::core {
namespace {

TEST(CommandTable, EachCommandHasOneEntryAndEachMnemonicOneLetter) {
  std::set<CommandId> seen;
  for (const CommandEntry& command : commandTable()) {
    EXPECT_TRUE(seen.insert(command.id).second) << command.id;
    EXPECT_FALSE(command.label.empty()) << command.id;
    EXPECT_LE(std::count(command.label.begin(), command.label.end(), '&'), 1) << command.id;
    EXPECT_EQ(findCommand(command.id), &command);
  }
  // The recent files are the window's own entries, numbered after the table.
  EXPECT_EQ(findCommand(recentFileCommand(0)), nullptr);
}

TEST(CommandTable, ModelCommandsAreGreyForDataWithoutAForwardModel) {
  test::ScriptedToolkit toolkit;
  Program program(toolkit);
  for (CommandId id : {CommandId::Forward, CommandId::Single, CommandId::EstimateLayered,
                       CommandId::SmoothEquivalence})
    EXPECT_TRUE(availability(findCommand(id)->rule, program).enabled) << id;
  program.S().header.dataType.assign(type::kMarineTemInline);
  for (CommandId id : {CommandId::Forward, CommandId::Single, CommandId::EstimateLayered,
                       CommandId::SmoothEquivalence})
    EXPECT_FALSE(availability(findCommand(id)->rule, program).enabled) << id;
  // TEM data bring their own view switches; the MT ones go.
  EXPECT_TRUE(availability(findCommand(CommandId::Voltage)->rule, program).visible);
  EXPECT_FALSE(availability(findCommand(CommandId::Bostick)->rule, program).visible);
}

TEST(CommandTable, RestrictedInversionsAppearForModelsWithIpParameters) {
  test::ScriptedToolkit toolkit;
  Program program(toolkit);
  const CommandRule rule = findCommand(CommandId::SingleIp)->rule;
  EXPECT_FALSE(availability(rule, program).visible);
  LayeredModelRequest ip;
  ip.resistivity = {100, 10, 300};
  ip.geometry = {5, 20};
  ip.ip = {1, 10, 2};
  ASSERT_TRUE(program.model().setLayeredModel(ip));
  EXPECT_TRUE(availability(rule, program).visible);
}

TEST(CommandTable, SwitchEntriesRunTheProgramAndShowItsState) {
  test::ScriptedToolkit toolkit;
  Program program(toolkit);
  const CommandEntry& occam = *findCommand(CommandId::Occam);
  const bool before = program.estimation().occamMode();
  EXPECT_EQ(checkMark(occam, program), before);
  EXPECT_TRUE(runProgramCommand(occam, program));
  EXPECT_EQ(program.estimation().occamMode(), !before);
  EXPECT_EQ(checkMark(occam, program), !before);
  const CommandEntry& grid = *findCommand(CommandId::MajorGridData);
  EXPECT_TRUE(runProgramCommand(grid, program));
  EXPECT_EQ(checkMark(grid, program), true);
  // Entries with dialogs of the window run nothing of the program.
  EXPECT_FALSE(runProgramCommand(*findCommand(CommandId::Print), program));
  EXPECT_EQ(checkMark(*findCommand(CommandId::Print), program), std::nullopt);
}

}  // namespace
}  // namespace zeva::core
