#pragma once
// The parts of the Python module zeva, each adding its classes and functions.

#include <pybind11/pybind11.h>

namespace zeva::python {

// The class Sounding: the record's arrays as NumPy copies, its fits and models.
void addSoundingClass(pybind11::module_& m);
// Reading, writing, importing and creating soundings.
void addFileFunctions(pybind11::module_& m);
// The calculations: forward, set_model, invert, estimate, smooth, equivalence,
// transfer, shift.
void addCommandFunctions(pybind11::module_& m);
// Surveys: survey_import and batch.
void addSurveyFunctions(pybind11::module_& m);
// The exception, the warning class and every part without Qt.
void defineModule(pybind11::module_& m);

}  // namespace zeva::python
