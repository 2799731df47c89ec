// Edit, Undo and Redo: every command that changes the record leaves the
// record as it was before as one step, so that a drag, an edit, an
// inversion or an import can be taken back whole.

#include "core/program/program.h"
#include "core/program/sounding_record.h"

namespace zeva::core {

void Program::resetHistory() { history_.reset(recordBytes(current_, toolkit_)); }

bool Program::noteChanges() { return history_.record(recordBytes(current_, toolkit_)); }

bool Program::revertToLastState() {
  if (!restoreRecord(history_.state(), current_, toolkit_)) return false;
  toolkit_.requestRedraw();
  return true;
}

bool Program::undo() { return stepTo(history_.undo()); }

bool Program::redo() { return stepTo(history_.redo()); }

bool Program::stepTo(const std::optional<std::string>& state) {
  if (!state || !restoreRecord(*state, current_, toolkit_)) return false;
  // The record now differs from every file: it is saved again only by Save.
  current_.S.layer.saved = kFalse;
  applyFileSwitchRules(false);
  toolkit_.requestRedraw();
  return true;
}

}  // namespace zeva::core
