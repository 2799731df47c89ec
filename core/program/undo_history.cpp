#include "core/program/undo_history.h"

#include <utility>

namespace zeva::core {

void UndoHistory::reset(std::string state) {
  undo_.clear();
  redo_.clear();
  state_ = std::move(state);
}

bool UndoHistory::record(std::string state) {
  if (state == state_) return false;
  undo_.push_back(std::move(state_));
  if (undo_.size() > depth_) undo_.pop_front();
  redo_.clear();
  state_ = std::move(state);
  return true;
}

std::optional<std::string> UndoHistory::undo() {
  if (undo_.empty()) return std::nullopt;
  redo_.push_back(std::move(state_));
  state_ = std::move(undo_.back());
  undo_.pop_back();
  return state_;
}

std::optional<std::string> UndoHistory::redo() {
  if (redo_.empty()) return std::nullopt;
  undo_.push_back(std::move(state_));
  state_ = std::move(redo_.back());
  redo_.pop_back();
  return state_;
}

}  // namespace zeva::core
