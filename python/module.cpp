#include "python/command_run.h"
#include "python/module_parts.h"

namespace py = pybind11;

namespace zeva::python {

void defineModule(py::module_& m) {
  m.doc() =
      "ZEVA: 1-D interpretation of geophysical soundings (DC resistivity and IP, MaxMin, EM "
      "conductivity, MT, TEM). Every function runs the program's command of the same name as "
      "zeva-cli does and returns a new Sounding; the program's messages arrive as zeva.Warning, "
      "its errors as zeva.Error with the same text.";
  py::register_exception<CommandFailed>(m, "Error", PyExc_RuntimeError);
  m.attr("Error").attr("__doc__") =
      "A command refused or failed; the text is the program's message.";
  // The module holds the class, so the pointer stays valid while it is loaded.
  const auto warning = py::reinterpret_steal<py::object>(PyErr_NewExceptionWithDoc(
      "zeva.Warning", "A message the program showed.", PyExc_UserWarning, nullptr));
  m.attr("Warning") = warning;
  setWarningClass(warning.ptr());
  addSoundingClass(m);
  addFileFunctions(m);
  addCommandFunctions(m);
  addSurveyFunctions(m);
}

}  // namespace zeva::python
