#include "python/sounding_arrays.h"

#include <algorithm>

#include "cli/sounding_json.h"

namespace py = pybind11;

namespace zeva::python {

py::object scalar(float value) {
  const nlohmann::json shown = cli::number(value);
  if (shown.is_null()) return py::none();
  return py::float_(shown.get<double>());
}

py::array_t<float> vectorArray(std::span<const float> values) {
  py::array_t<float> result(static_cast<py::ssize_t>(values.size()));
  std::ranges::copy(values, result.mutable_data());
  return result;
}

py::array_t<bool> flagArray(std::span<const core::Logical> values) {
  py::array_t<bool> result(static_cast<py::ssize_t>(values.size()));
  bool* out = result.mutable_data();
  for (std::size_t i = 0; i < values.size(); ++i) out[i] = core::isSet(values[i]);
  return result;
}

py::array_t<float> matrixArray(const core::Matrix<float>& m, std::size_t rows, std::size_t first,
                               std::size_t cols) {
  rows = std::min(rows, m.rows());
  cols = first < m.cols() ? std::min(cols, m.cols() - first) : 0;
  py::array_t<float> result({static_cast<py::ssize_t>(rows), static_cast<py::ssize_t>(cols)});
  auto out = result.mutable_unchecked<2>();
  for (std::size_t i = 0; i < rows; ++i)
    for (std::size_t j = 0; j < cols; ++j)
      out(static_cast<py::ssize_t>(i), static_cast<py::ssize_t>(j)) = m(i, first + j);
  return result;
}

py::array_t<bool> maskArray(const core::Matrix<core::Logical>& m, std::size_t rows,
                            std::size_t cols) {
  rows = std::min(rows, m.rows());
  cols = std::min(cols, m.cols());
  py::array_t<bool> result({static_cast<py::ssize_t>(rows), static_cast<py::ssize_t>(cols)});
  auto out = result.mutable_unchecked<2>();
  for (std::size_t i = 0; i < rows; ++i)
    for (std::size_t j = 0; j < cols; ++j)
      out(static_cast<py::ssize_t>(i), static_cast<py::ssize_t>(j)) = core::isSet(m(i, j));
  return result;
}

}  // namespace zeva::python
