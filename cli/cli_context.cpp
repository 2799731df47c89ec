#include "cli/cli_context.h"

#include <ostream>

namespace zeva::cli {

CliContext::CliContext(std::ostream& out, std::ostream& err)
    : out(out), err(err), toolkit(err), program(toolkit, {}, &err) {}

bool CliContext::load(const std::string& input) {
  if (input == "default") {
    program.startUp();
    return true;
  }
  if (!program.openFile(input)) {
    exitStatus = kFailed;
    return false;
  }
  return true;
}

bool CliContext::write(const std::string& output) {
  if (!program.saveFileAs(output)) {
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
