// Edit, Undo and Redo: every command that changes the record leaves the
// record as it was before as one step, so that a drag, an edit, an
// inversion or an import can be taken back whole.

#include "core/program/undo_commands.h"

#include "core/program/sounding_record.h"

namespace zeva::core {

void UndoCommands::resetHistory() {
  history_.reset(recordBytes(state_.current(), state_.toolkit()));
}

bool UndoCommands::noteChanges() {
  return history_.record(recordBytes(state_.current(), state_.toolkit()));
}

CommandResult UndoCommands::revertToLastState() {
  if (!restoreRecord(history_.state(), state_.current(), state_.toolkit()))
    return CommandStatus::Failed;
  state_.toolkit().requestRedraw();
  return CommandStatus::Done;
}

CommandResult UndoCommands::undo() { return stepTo(history_.undo()); }

CommandResult UndoCommands::redo() { return stepTo(history_.redo()); }

CommandResult UndoCommands::stepTo(const std::optional<std::string>& state) {
  if (!state) return CommandStatus::Refused;
  if (!restoreRecord(*state, state_.current(), state_.toolkit())) return CommandStatus::Failed;
  // The record now differs from every file: it is saved again only by Save.
  state_.S().layer.saved = kFalse;
  state_.applyFileSwitchRules(false);
  state_.toolkit().requestRedraw();
  return CommandStatus::Done;
}

}  // namespace zeva::core
