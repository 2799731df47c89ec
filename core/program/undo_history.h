#pragma once
// The undo and redo steps of the current sounding. Each step is one whole
// copy of the record (the bytes of sounding_record.h) as it was before a
// command changed it; the history keeps the newest `depth` of them.

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

namespace zeva::core {

class UndoHistory {
 public:
  static constexpr std::size_t kDefaultDepth = 100;
  explicit UndoHistory(std::size_t depth = kDefaultDepth) : depth_(depth) {}

  // Starts afresh from `state`, with no steps either way.
  void reset(std::string state);
  // The record after a command: when it differs from the state before, that
  // state becomes the newest undo step and the redo steps are dropped.
  // True when a step was made.
  bool record(std::string state);
  // The state to go back to (or forward to); the history moves with it.
  std::optional<std::string> undo();
  std::optional<std::string> redo();

  bool canUndo() const { return !undo_.empty(); }
  bool canRedo() const { return !redo_.empty(); }
  std::size_t undoSteps() const { return undo_.size(); }
  // The record as the history last saw it.
  const std::string& state() const { return state_; }

 private:
  std::size_t depth_;
  std::deque<std::string> undo_, redo_;
  std::string state_;
};

}  // namespace zeva::core
