#pragma once
// The toolkit of the Python module. A command's messages are kept until the
// command ends: after a failure they become the text of the exception, after
// a success each becomes a Python warning. Questions are answered by the
// caller's arguments or with the console's defaults, never by waiting for a
// user, and the interrupt is Python's own Ctrl+C, polled through a hook.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/toolkit/toolkit.h"

namespace zeva::python {

class PythonToolkit : public ui::Toolkit {
 public:
  ui::Answer message(ui::MessageKind kind, std::string_view title, std::string_view text,
                     bool defaultYes = true) override;
  std::optional<double> askNumber(std::string_view prompt, double initial) override;
  std::optional<std::string> askText(std::string_view prompt, std::string_view initial) override;
  std::optional<std::string> chooseFileToOpen(const ui::FileFilter& filter,
                                              std::string_view initialName) override;
  std::optional<std::string> chooseFileToSave(const ui::FileFilter& filter,
                                              std::string_view initialName) override;
  void showProgress(std::string_view) override {}
  void setProgress(double, std::string_view) override {}
  void hideProgress() override {}
  bool pollInterrupt() override;
  void setStatus(int pane, std::string_view text) override;
  void requestRedraw() override {}

  // The messages shown since the last call, as the message box would show them.
  std::vector<std::string> takeMessages();
  // The status-bar texts of the fit pane since the last call (one per inversion step).
  std::vector<std::string> takeStatus();

  // Answers given by the caller's arguments, as zeva-cli's options give them.
  std::optional<bool> confirm;
  std::optional<double> number;
  std::optional<std::string> fileToOpen;
  std::optional<std::string> fileToSave;
  // Asked during long calculations whether the user pressed Ctrl+C.
  std::function<bool()> interruptHook;

 private:
  std::vector<std::string> messages_;
  std::vector<std::string> status_;
};

}  // namespace zeva::python
