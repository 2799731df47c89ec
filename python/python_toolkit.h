#pragma once
// The toolkit of the Python module. A command's messages are kept until the
// command ends: after a failure they become the text of the exception, after
// a success each becomes a Python warning. Questions are answered by the
// caller's arguments or with the console's defaults, never by waiting for a
// user, and the interrupt is Python's own Ctrl+C, polled through a hook.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/toolkit/unattended_toolkit.h"

namespace zeva::python {

class PythonToolkit : public ui::UnattendedToolkit {
 public:
  bool pollInterrupt() override;
  void setStatus(int pane, std::string_view text) override;

  // The messages shown since the last call, as the message box would show them.
  std::vector<std::string> takeMessages();
  // The status-bar texts of the fit pane since the last call (one per inversion step).
  std::vector<std::string> takeStatus();

  // Asked during long calculations whether the user pressed Ctrl+C.
  std::function<bool()> interruptHook;

 protected:
  void show(std::string_view shownText) override { messages_.emplace_back(shownText); }

 private:
  std::vector<std::string> messages_;
  std::vector<std::string> status_;
};

}  // namespace zeva::python
