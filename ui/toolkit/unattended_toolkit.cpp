#include "ui/toolkit/unattended_toolkit.h"

namespace zeva::ui {

Answer UnattendedToolkit::message(MessageKind kind, std::string_view title, std::string_view text,
                                  bool defaultYes) {
  // A question the caller's arguments answered is not one to show.
  const bool answered = confirm && kind != MessageKind::Information && kind != MessageKind::Warning;
  if (!answered)
    show(title == kMessageTitle ? std::string(text)
                                : std::string(title) + ": " + std::string(text));
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

std::optional<double> UnattendedToolkit::askNumber(std::string_view, double initial) {
  return number.value_or(initial);
}

std::optional<std::string> UnattendedToolkit::askText(std::string_view, std::string_view initial) {
  return std::string(initial);
}

std::optional<std::string> UnattendedToolkit::chooseFileToOpen(const FileFilter&,
                                                               std::string_view initialName) {
  return fileToOpen.value_or(std::string(initialName));
}

std::optional<std::string> UnattendedToolkit::chooseFileToSave(const FileFilter&,
                                                               std::string_view initialName) {
  return fileToSave.value_or(std::string(initialName));
}

}  // namespace zeva::ui
