#include "core/program/program.h"

#include <ostream>

#include "inversion/segment_shifting.h"

namespace zeva::core {

Program::Program(ui::Toolkit& toolkit, std::filesystem::path dataFolder, std::ostream* debugLog)
    : toolkit_(toolkit), dataFolder_(std::move(dataFolder)), debugLog_(debugLog) {
  startUp();
}

void Program::startUp() {
  resetToDefault(current_);
  detectSegments();
  current_.S.layer.saved = kTrue;
  resetHistory();
}

void Program::detectSegments() {
  if (!inversion::SHIFTP(current_.S)) toolkit_.warning(inversion::kShiftAllocationMessage);
  current_.S.shareDataWith(current_.SM);
}

void Program::logError(int code) {
  if (debugLog_) *debugLog_ << "ERROR:" << code << '\n' << std::flush;
}

}  // namespace zeva::core
