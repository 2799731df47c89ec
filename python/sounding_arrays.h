#pragma once
// NumPy copies of the record's arrays and numbers as zeva-cli prints them.
// Every array handed to Python is a copy: changing it never changes a sounding.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <span>

#include "core/record/logical.h"
#include "core/record/matrix.h"

namespace zeva::python {

// A float as the shortest decimal that reads back to it (as zeva-cli prints
// it), None for NaN and infinities.
pybind11::object scalar(float value);

pybind11::array_t<float> vectorArray(std::span<const float> values);
pybind11::array_t<bool> flagArray(std::span<const core::Logical> values);
// Rows [0, rows) and columns [first, first + cols) of a column-major matrix.
pybind11::array_t<float> matrixArray(const core::Matrix<float>& m, std::size_t rows,
                                     std::size_t first, std::size_t cols);
pybind11::array_t<bool> maskArray(const core::Matrix<core::Logical>& m, std::size_t rows,
                                  std::size_t cols);

}  // namespace zeva::python
