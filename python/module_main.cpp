// The module zeva of a build without the Qt rendering module.

#include "python/module_parts.h"

PYBIND11_MODULE(zeva, m) { zeva::python::defineModule(m); }
