#pragma once
// The toolkit of the command-line tool. Messages are written to standard
// error as a message box would show them; questions are answered from the
// command's options or with their defaults, never by waiting for a user;
// Ctrl-C during a long calculation is reported as an interrupt.

#include <iosfwd>
#include <optional>
#include <string>

#include "ui/toolkit/toolkit.h"

namespace zeva::cli {

using ui::Answer;
using ui::FileFilter;
using ui::MessageKind;
using ui::Toolkit;

class ConsoleToolkit : public Toolkit {
 public:
  explicit ConsoleToolkit(std::ostream& err);
  ~ConsoleToolkit() override;

  Answer message(MessageKind kind, std::string_view title, std::string_view text,
                 bool defaultYes = true) override;
  std::optional<double> askNumber(std::string_view prompt, double initial) override;
  std::optional<std::string> askText(std::string_view prompt, std::string_view initial) override;
  std::optional<std::string> chooseFileToOpen(const FileFilter& filter,
                                              std::string_view initialName) override;
  std::optional<std::string> chooseFileToSave(const FileFilter& filter,
                                              std::string_view initialName) override;
  void showProgress(std::string_view) override {}
  void setProgress(double, std::string_view) override {}
  void hideProgress() override {}
  bool pollInterrupt() override;
  void setStatus(int pane, std::string_view text) override;
  void requestRedraw() override {}

  // Answers given by the command's options.
  std::optional<bool> confirm;            // Yes/No and OK/Cancel; default: the box's default
  std::optional<double> number;           // number prompts; default: the initial value
  std::optional<std::string> fileToOpen;  // file choosers; default: the initial name
  std::optional<std::string> fileToSave;
  bool echoStatus = false;  // write status-bar texts to standard error

  int messageCount() const { return messageCount_; }
  int warningCount() const { return warningCount_; }

 private:
  std::ostream& err_;
  int messageCount_ = 0;
  int warningCount_ = 0;
};

}  // namespace zeva::cli
