// The module zeva of a build with the Qt rendering module: every part
// without Qt, and plot and report.

#include "python/graphics/drawing_functions.h"
#include "python/module_parts.h"

PYBIND11_MODULE(zeva, m) {
  zeva::python::defineModule(m);
  zeva::python::addDrawingFunctions(m);
}
