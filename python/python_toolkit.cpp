#include "python/python_toolkit.h"

#include <utility>

namespace zeva::python {

bool PythonToolkit::pollInterrupt() { return interruptHook && interruptHook(); }

void PythonToolkit::setStatus(int, std::string_view text) { status_.emplace_back(text); }

std::vector<std::string> PythonToolkit::takeMessages() { return std::exchange(messages_, {}); }

std::vector<std::string> PythonToolkit::takeStatus() { return std::exchange(status_, {}); }

}  // namespace zeva::python
