#pragma once
// Edit, Undo and Redo. The window calls noteChanges() after every command
// and mouse edit: when the record changed, its state before becomes an undo
// step. Undo and redo put a whole earlier or later record back and mark it
// unsaved.

#include <optional>
#include <string>

#include "core/program/command_result.h"
#include "core/program/program_state.h"
#include "core/program/undo_history.h"

namespace zeva::core {

class UndoCommands {
 public:
  explicit UndoCommands(ProgramState& state) : state_(state) {}

  // Starts the history afresh from the record as it is.
  void resetHistory();
  // True when the record changed since the last call (a step was made).
  bool noteChanges();
  CommandResult undo();  // Refused when there is no step
  CommandResult redo();
  // Puts the record back as of the last noteChanges(): after a command that
  // stopped half-way.
  CommandResult revertToLastState();
  bool canUndo() const { return history_.canUndo(); }
  bool canRedo() const { return history_.canRedo(); }
  // The record's bytes as of the last noteChanges(), a complete native file.
  const std::string& recordState() const { return history_.state(); }

 private:
  CommandResult stepTo(const std::optional<std::string>& state);

  ProgramState& state_;
  UndoHistory history_;
};

}  // namespace zeva::core
