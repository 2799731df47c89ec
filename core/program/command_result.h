#pragma once
// How a command of the program ended. A command that does not do its work
// has shown its message already (or the user chose not to go on); the
// result tells the caller which of these it was, so that a script can tell
// a refusal from a failed file and a menu can leave the undo history alone.

#include <cassert>
#include <optional>
#include <utility>

namespace zeva::core {

enum class CommandStatus {
  Done,       // the command did its work
  Refused,    // not for this sounding or these arguments; a message said why
  Cancelled,  // the user cancelled a question or a file dialog
  Failed,     // a read, a write or a calculation failed; a message said why
};

class [[nodiscard]] CommandResult {
 public:
  constexpr CommandResult(CommandStatus status) : status_(status) {}  // NOLINT: implicit by design

  constexpr CommandStatus status() const { return status_; }
  constexpr bool done() const { return status_ == CommandStatus::Done; }
  constexpr explicit operator bool() const { return done(); }

  friend constexpr bool operator==(CommandResult, CommandResult) = default;

 private:
  CommandStatus status_;
};

// Done or Failed after a step that tells only whether it succeeded (and has
// shown its own message when it did not).
constexpr CommandResult doneIf(bool succeeded) {
  return succeeded ? CommandStatus::Done : CommandStatus::Failed;
}

// The end of a command whose caller has nothing to do with the outcome (a
// menu entry): the command has told the user already.
constexpr void finish(CommandResult) {}

// The result of a command that hands back a value when it is done.
template <typename Value>
class [[nodiscard]] CommandValue : public CommandResult {
 public:
  CommandValue(Value value) : CommandResult(CommandStatus::Done), value_(std::move(value)) {}
  // A command that did not get through has no value.
  CommandValue(CommandResult notDone) : CommandResult(notDone) { assert(!notDone.done()); }
  CommandValue(CommandStatus notDone) : CommandValue(CommandResult(notDone)) {}

  const Value& operator*() const { return *value_; }
  const Value* operator->() const { return &*value_; }

 private:
  std::optional<Value> value_;
};

}  // namespace zeva::core
