#pragma once
// plot and report of the Python module, drawn offscreen through the Qt
// rendering module.

#include <pybind11/pybind11.h>

namespace zeva::python {

void addDrawingFunctions(pybind11::module_& m);

}  // namespace zeva::python
