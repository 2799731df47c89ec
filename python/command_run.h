#pragma once
// Runs one command of the program from Python. What the desktop program
// would show in a message box reaches Python with the same text: as the
// exception zeva.Error when the command failed, otherwise as warnings of the
// class zeva.Warning. Ctrl+C at the Python prompt interrupts a long
// calculation as the Cancel button of the progress dialog does, and then
// raises KeyboardInterrupt.

#include <pybind11/pybind11.h>

#include <functional>
#include <stdexcept>

#include "python/sounding_session.h"

namespace zeva::python {

// A command that refused or failed; its text is the program's message.
class CommandFailed : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The warning class of information messages, made when the module is loaded.
void setWarningClass(PyObject* warningClass);

// Runs `command` on the session's program; false from it means failure.
void runCommand(SoundingSession& session,
                const std::function<core::CommandResult(core::Program&)>& command);

// Passes messages of a successful step on as warnings.
void warnAll(const std::vector<std::string>& messages);

}  // namespace zeva::python
