#include "python/command_run.h"

#include <thread>

namespace zeva::python {

namespace {

PyObject* warningClass_ = nullptr;

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
  return text;
}

}  // namespace

void setWarningClass(PyObject* warningClass) { warningClass_ = warningClass; }

void warnAll(const std::vector<std::string>& messages) {
  for (const std::string& m : messages)
    if (PyErr_WarnEx(warningClass_ ? warningClass_ : PyExc_UserWarning, m.c_str(), 1) != 0)
      throw pybind11::error_already_set();
}

void runCommand(SoundingSession& session,
                const std::function<core::CommandResult(core::Program&)>& command) {
  // Python's signal handlers run on the main thread with the interpreter
  // held, which a command called from Python has; workers of a calculation
  // never ask.
  const std::thread::id caller = std::this_thread::get_id();
  bool interrupted = false;
  session.toolkit.interruptHook = [&] {
    if (!interrupted && std::this_thread::get_id() == caller && PyErr_CheckSignals() != 0)
      interrupted = true;
    return interrupted;
  };
  session.debugLog.str(std::string());
  bool succeeded = false;
  try {
    succeeded = command(session.program).done();
  } catch (...) {
    session.toolkit.interruptHook = {};
    session.toolkit.takeMessages();
    throw;
  }
  session.toolkit.interruptHook = {};
  const std::vector<std::string> messages = session.toolkit.takeMessages();
  if (interrupted) throw pybind11::error_already_set();  // the KeyboardInterrupt
  if (!succeeded) {
    std::string text = joined(messages);
    if (text.empty()) text = session.debugLog.str();
    while (!text.empty() && text.back() == '\n') text.pop_back();
    throw CommandFailed(text.empty() ? "COMMAND FAILED" : text);
  }
  warnAll(messages);
}

}  // namespace zeva::python
