#pragma once
// The toolkit of the command-line tool. Messages are written to standard
// error as a message box would show them; questions are answered from the
// command's options or with their defaults, never by waiting for a user;
// Ctrl-C during a long calculation is reported as an interrupt.

#include <iosfwd>
#include <string_view>

#include "ui/toolkit/unattended_toolkit.h"

namespace zeva::cli {

using ui::Answer;
using ui::FileFilter;
using ui::MessageKind;
using ui::Toolkit;

class ConsoleToolkit : public ui::UnattendedToolkit {
 public:
  explicit ConsoleToolkit(std::ostream& err);
  ~ConsoleToolkit() override;

  Answer message(MessageKind kind, std::string_view title, std::string_view text,
                 bool defaultYes = true) override;
  bool pollInterrupt() override;
  void setStatus(int pane, std::string_view text) override;

  bool echoStatus = false;  // write status-bar texts to standard error

  int messageCount() const { return messageCount_; }
  int warningCount() const { return warningCount_; }

 protected:
  void show(std::string_view shownText) override;

 private:
  std::ostream& err_;
  int messageCount_ = 0;
  int warningCount_ = 0;
};

}  // namespace zeva::cli
