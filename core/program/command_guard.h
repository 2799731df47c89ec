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

// Runs `step`; returns its result, or `failed` after the message when it throws.
template <typename Step, typename Result = std::invoke_result_t<Step>>
Result guarded(ui::Toolkit& toolkit, Step&& step, Result failed = Result{}) {
  std::optional<Result> result;
  if (const auto failure = failureOf([&] { result = step(); })) {
    toolkit.warning(std::string(kCommandFailedMessage) + *failure);
    return failed;
  }
  return std::move(*result);
}

}  // namespace zeva::core
