#pragma once
// The one interface through which processing code reaches the user: message
// boxes, prompts, file choosers, the progress dialog with its interrupt, the
// status bar and redraw requests. The desktop program implements it with Qt,
// zeva-cli with the console, tests with a scripted fake that records every
// message. Processing code receives a reference; there is no global toolkit.

#include <optional>
#include <string>
#include <string_view>

namespace zeva::ui {

// The five kinds of message box.
enum class MessageKind { Information, Warning, OkCancel, YesNo, YesNoCancel };

// The button a message box was closed with.
enum class Answer { Ok, Cancel, Yes, No };

inline constexpr std::string_view kMessageTitle = "Kelvorin Library Message";

struct FileFilter {
  std::string_view title;   // dialog title, e.g. "ZEVA Binary File"
  std::string_view filter;  // "description|pattern|" pairs, e.g. "ZEVA Binary File|*.ZVR|"
};

class Toolkit {
 public:
  virtual ~Toolkit() = default;

  // Shows a modal message box. `defaultYes` selects the default button of a
  // Yes/No box. Information and Warning boxes answer Ok.
  virtual Answer message(MessageKind kind, std::string_view title, std::string_view text,
                         bool defaultYes = true) = 0;

  // Asks for a number; empty when the user cancels.
  virtual std::optional<double> askNumber(std::string_view prompt, double initial) = 0;
  // Asks for a line of text; empty when the user cancels.
  virtual std::optional<std::string> askText(std::string_view prompt, std::string_view initial) = 0;

  // File choosers starting at `initialName`; empty when the user cancels.
  virtual std::optional<std::string> chooseFileToOpen(const FileFilter& filter,
                                                      std::string_view initialName) = 0;
  virtual std::optional<std::string> chooseFileToSave(const FileFilter& filter,
                                                      std::string_view initialName) = 0;

  // The modal progress dialog of long calculations.
  virtual void showProgress(std::string_view title) = 0;
  virtual void setProgress(double fraction, std::string_view text) = 0;
  virtual void hideProgress() = 0;
  // Polls the event queue without waiting; true once the user asked to stop.
  virtual bool pollInterrupt() = 0;

  // Status-bar pane (1-based, as the panes are numbered on the window).
  virtual void setStatus(int pane, std::string_view text) = 0;
  // Asks for the plots to be drawn again with the current sounding.
  virtual void requestRedraw() = 0;

  // The usual message boxes, all titled "Kelvorin Library Message".
  void information(std::string_view text) {
    message(MessageKind::Information, kMessageTitle, text);
  }
  void warning(std::string_view text) { message(MessageKind::Warning, kMessageTitle, text); }
  bool okCancel(std::string_view text) {
    return message(MessageKind::OkCancel, kMessageTitle, text) == Answer::Ok;
  }
  bool yesNo(std::string_view text, bool defaultYes) {
    return message(MessageKind::YesNo, kMessageTitle, text, defaultYes) == Answer::Yes;
  }
  Answer yesNoCancel(std::string_view text) {
    return message(MessageKind::YesNoCancel, kMessageTitle, text);
  }
};

}  // namespace zeva::ui
