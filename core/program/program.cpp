#include "core/program/program.h"

namespace zeva::core {

Program::Program(ui::Toolkit& toolkit, std::filesystem::path dataFolder, std::ostream* debugLog)
    : state_(toolkit, std::move(dataFolder), debugLog) {
  startUp();
}

void Program::startUp() {
  resetToDefault(state_.current());
  state_.detectSegments();
  state_.S().layer.saved = kTrue;
  history_.resetHistory();
}

}  // namespace zeva::core
