#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "core/program/program.h"
#include "files/native_file_writer.h"
#include "tests/support/scripted_toolkit.h"
#include "tests/support/test_support.h"

namespace zeva::core {
namespace {

// A toolkit whose file dialogs fail as a broken device or a lost memory
// allocation would, by throwing.
class FailingDialogs : public zeva::test::ScriptedToolkit {
 public:
  std::optional<std::string> chooseFileToOpen(const ui::FileFilter&, std::string_view) override {
    throw std::runtime_error("device gone");
  }
  std::optional<std::string> chooseFileToSave(const ui::FileFilter&, std::string_view) override {
    throw std::runtime_error("device gone");
  }
};

std::string nativeBytes(CurrentSounding& current) {
  files::StringSink sink;
  EXPECT_TRUE(files::writeNativeFile(sink, current).ok);
  return sink.bytes();
}

struct GuardedCommand {
  const char* name;
  std::function<CommandResult(Program&)> run;
};

void PrintTo(const GuardedCommand& c, std::ostream* os) { *os << c.name; }

class CommandBoundary : public ::testing::TestWithParam<GuardedCommand> {};

TEST_P(CommandBoundary, ExceptionIsShownAsAMessageAndTheSoundingKept) {
  test::TemporaryFolder folder;
  FailingDialogs toolkit;
  Program program(toolkit, folder.path());
  program.startUp();
  program.S().layer.saved = kTrue;  // no question to save first
  const std::string before = nativeBytes(program.current());
  CommandResult result = CommandStatus::Done;
  EXPECT_NO_THROW(result = GetParam().run(program));
  EXPECT_EQ(result.status(), CommandStatus::Failed);
  EXPECT_EQ(toolkit.lastText(), "COMMAND FAILED: device gone");
  EXPECT_EQ(nativeBytes(program.current()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandBoundary,
    ::testing::Values(
        GuardedCommand{"Open", [](Program& p) { return p.file().open(); }},
        GuardedCommand{"SaveAs", [](Program& p) { return p.file().saveAs(); }},
        GuardedCommand{"ImportUsf", [](Program& p) { return p.exchange().importUsfData(); }},
        GuardedCommand{"ExportUsf", [](Program& p) { return p.exchange().exportUsfData(); }},
        GuardedCommand{"ExportModel", [](Program& p) { return p.exchange().exportAsciiModel(); }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zeva::core
