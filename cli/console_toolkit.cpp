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
  return UnattendedToolkit::message(kind, title, text, defaultYes);
}

void ConsoleToolkit::show(std::string_view shownText) { err_ << shownText << '\n'; }

bool ConsoleToolkit::pollInterrupt() { return interruptRequested.exchange(false); }

void ConsoleToolkit::setStatus(int, std::string_view text) {
  if (echoStatus) err_ << text << '\n';
}

}  // namespace zeva::cli
