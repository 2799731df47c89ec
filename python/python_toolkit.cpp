#include "python/python_toolkit.h"

#include <utility>

namespace zeva::python {

ui::Answer PythonToolkit::message(ui::MessageKind kind, std::string_view title,
                                  std::string_view text, bool defaultYes) {
  using ui::Answer;
  using ui::MessageKind;
  // A question the caller's arguments answered is not one to pass on.
  const bool answered = confirm && kind != MessageKind::Information && kind != MessageKind::Warning;
  if (!answered) {
    std::string shown = title == ui::kMessageTitle ? "" : std::string(title) + ": ";
    messages_.push_back(shown + std::string(text));
  }
  switch (kind) {
    case MessageKind::Information:
    case MessageKind::Warning:
      return Answer::Ok;
    case MessageKind::OkCancel:
      return confirm.value_or(true) ? Answer::Ok : Answer::Cancel;
    case MessageKind::YesNo:
      return confirm.value_or(defaultYes) ? Answer::Yes : Answer::No;
    case MessageKind::YesNoCancel:
      // A script never discards silently: without an answer, cancel.
      return confirm ? (*confirm ? Answer::Yes : Answer::No) : Answer::Cancel;
  }
  return Answer::Ok;
}

std::optional<double> PythonToolkit::askNumber(std::string_view, double initial) {
  return number.value_or(initial);
}

std::optional<std::string> PythonToolkit::askText(std::string_view, std::string_view initial) {
  return std::string(initial);
}

std::optional<std::string> PythonToolkit::chooseFileToOpen(const ui::FileFilter&,
                                                           std::string_view initialName) {
  return fileToOpen.value_or(std::string(initialName));
}

std::optional<std::string> PythonToolkit::chooseFileToSave(const ui::FileFilter&,
                                                           std::string_view initialName) {
  return fileToSave.value_or(std::string(initialName));
}

bool PythonToolkit::pollInterrupt() { return interruptHook && interruptHook(); }

void PythonToolkit::setStatus(int, std::string_view text) { status_.emplace_back(text); }

std::vector<std::string> PythonToolkit::takeMessages() { return std::exchange(messages_, {}); }

std::vector<std::string> PythonToolkit::takeStatus() { return std::exchange(status_, {}); }

}  // namespace zeva::python
