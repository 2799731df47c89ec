#pragma once
// The boundary of a command: an exception thrown by the reader or writer a
// command calls (memory that cannot be had, a file system error) is shown as
// a message and the step counts as failed. No file makes a command end the
// program; the commands read into new records, so the current sounding stays
// as it was.

#include <exception>
#include <string>
#include <type_traits>

#include "ui/toolkit/toolkit.h"

namespace zeva::core {

inline constexpr std::string_view kCommandFailedMessage = "COMMAND FAILED: ";

// Runs `step`; returns its result, or `failed` after the message when it throws.
template <typename Step, typename Result = std::invoke_result_t<Step>>
Result guarded(ui::Toolkit& toolkit, Step&& step, Result failed = Result{}) {
  try {
    return step();
  } catch (const std::exception& error) {
    toolkit.warning(std::string(kCommandFailedMessage) + error.what());
  } catch (...) {
    toolkit.warning(std::string(kCommandFailedMessage) + "unknown error");
  }
  return failed;
}

}  // namespace zeva::core
