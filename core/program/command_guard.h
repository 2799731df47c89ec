#pragma once
// The boundary of a command: an exception thrown by the reader or writer a
// command calls (memory that cannot be had, a file system error) is shown as
// a message and the step counts as failed. No file makes a command end the
// program; the commands read into new records, so the current sounding stays
// as it was.

#include <exception>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "core/program/command_result.h"
#include "ui/toolkit/toolkit.h"

namespace zeva::core {

inline constexpr std::string_view kCommandFailedMessage = "COMMAND FAILED: ";

// Runs `step`; the text of what it threw, or nothing when it ran through.
template <typename Step>
std::optional<std::string> failureOf(Step&& step) {
  try {
    step();
  } catch (const std::exception& error) {
    return std::string(error.what());
  } catch (...) {
    return std::string("unknown error");
  }
  return std::nullopt;
}

// What a step that threw counts as: a failed command, or an empty result.
template <typename Result>
Result failedResult() {
  if constexpr (std::is_same_v<Result, CommandResult>)
    return CommandStatus::Failed;
  else
    return Result{};
}

// Runs `step`; returns its result, or `failed` after the message when it throws.
template <typename Step, typename Result = std::invoke_result_t<Step>>
Result guarded(ui::Toolkit& toolkit, Step&& step, Result failed = failedResult<Result>()) {
  std::optional<Result> result;
  if (const auto failure = failureOf([&] { result = step(); })) {
    toolkit.warning(std::string(kCommandFailedMessage) + *failure);
    return failed;
  }
  return std::move(*result);
}

// The name chosen in a file dialog: Cancelled when the dialog was closed,
// Failed after the message when the dialog threw.
template <typename Ask>
CommandValue<std::string> guardedChoice(ui::Toolkit& toolkit, Ask&& ask) {
  std::optional<std::string> chosen;
  if (const auto failure = failureOf([&] { chosen = ask(); })) {
    toolkit.warning(std::string(kCommandFailedMessage) + *failure);
    return CommandStatus::Failed;
  }
  if (!chosen) return CommandStatus::Cancelled;
  return std::move(*chosen);
}

}  // namespace zeva::core
