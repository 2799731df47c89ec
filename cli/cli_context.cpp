#include "cli/cli_context.h"

#include <ostream>

namespace zeva::cli {

CliContext::CliContext(std::ostream& output, std::ostream& errors)
    : out(output), err(errors), toolkit(errors), program(toolkit, {}, &errors) {}

bool CliContext::load(const std::string& input) {
  if (input == "default") {
    program.startUp();
    return true;
  }
  if (!program.file().openFile(input)) {
    exitStatus = kFailed;
    return false;
  }
  return true;
}

bool CliContext::write(const std::string& output) {
  if (!program.file().saveFileAs(output)) {
    exitStatus = kFailed;
    return false;
  }
  return true;
}

void CliContext::fail(const std::string& message) {
  toolkit.information(message);
  exitStatus = kFailed;
}

}  // namespace zeva::cli
