#include "cli/console_toolkit.h"

#include <atomic>
#include <csignal>
#include <ostream>

namespace zeva::cli {

namespace {

// Set by SIGINT while a console toolkit exists; read by pollInterrupt. This is
// the one piece of process state the console needs, as signals are per process.
std::atomic<bool> interruptRequested{false};

extern "C" void onInterrupt(int) { interruptRequested.store(true); }

}  // namespace

ConsoleToolkit::ConsoleToolkit(std::ostream& err) : err_(err) {
  interruptRequested.store(false);
  std::signal(SIGINT, onInterrupt);
}

ConsoleToolkit::~ConsoleToolkit() { std::signal(SIGINT, SIG_DFL); }

Answer ConsoleToolkit::message(MessageKind kind, std::string_view title, std::string_view text,
                               bool defaultYes) {
  ++messageCount_;
  if (kind == MessageKind::Warning) ++warningCount_;
  // A question the command's options answered is not one to show.
  const bool answered = confirm && kind != MessageKind::Information && kind != MessageKind::Warning;
  if (!answered) {
    if (title != ui::kMessageTitle) err_ << title << ": ";
    err_ << text << '\n';
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

std::optional<double> ConsoleToolkit::askNumber(std::string_view, double initial) {
  return number.value_or(initial);
}

std::optional<std::string> ConsoleToolkit::askText(std::string_view, std::string_view initial) {
  return std::string(initial);
}

std::optional<std::string> ConsoleToolkit::chooseFileToOpen(const FileFilter&,
                                                            std::string_view initialName) {
  return fileToOpen.value_or(std::string(initialName));
}

std::optional<std::string> ConsoleToolkit::chooseFileToSave(const FileFilter&,
                                                            std::string_view initialName) {
  return fileToSave.value_or(std::string(initialName));
}

bool ConsoleToolkit::pollInterrupt() { return interruptRequested.exchange(false); }

void ConsoleToolkit::setStatus(int, std::string_view text) {
  if (echoStatus) err_ << text << '\n';
}

}  // namespace zeva::cli
