#pragma once
// A sounding as the Python module holds it: a program of its own, with its
// toolkit and debug log, so that every command runs exactly as the desktop
// program and zeva-cli run it. Commands never change a sounding the caller
// holds: each runs on a whole copy, which it hands back.

#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/program/program.h"
#include "python/python_toolkit.h"

namespace zeva::python {

struct SoundingSession {
  SoundingSession() = default;
  SoundingSession(const SoundingSession&) = delete;
  SoundingSession& operator=(const SoundingSession&) = delete;

  // A whole copy of the record, the view switches and the last run.
  std::unique_ptr<SoundingSession> copy();

  PythonToolkit toolkit;
  std::ostringstream debugLog;  // the "ERROR:" lines of failed calculations
  core::Program program{toolkit, {}, &debugLog};
  // How the last inversion ended and the fit of each of its iterations.
  std::optional<core::InversionRun> lastRun;
  std::vector<std::string> fitSteps;
};

}  // namespace zeva::python
