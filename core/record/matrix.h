#pragma once
// A column-major two-dimensional array: the first index runs fastest, as the
// sounding arrays are laid out in memory and in the native file. Indices are
// zero-based: element (i, j) is reading i of column j.

#include <cassert>
#include <cstddef>
#include <span>
#include <vector>

namespace zeva::core {

template <typename T>
class Matrix {
 public:
  Matrix() = default;
  Matrix(std::size_t rows, std::size_t cols) { resize(rows, cols); }

  // Discards the contents and makes a zero-filled rows x cols array.
  void resize(std::size_t rows, std::size_t cols) {
    rows_ = rows;
    cols_ = cols;
    values_.assign(rows * cols, T{});
  }
  void clear() { resize(0, 0); }

  std::size_t rows() const { return rows_; }
  std::size_t cols() const { return cols_; }
  std::size_t size() const { return values_.size(); }
  bool empty() const { return values_.empty(); }

  T& operator()(std::size_t i, std::size_t j) {
    assert(i < rows_ && j < cols_);
    return values_[j * rows_ + i];
  }
  const T& operator()(std::size_t i, std::size_t j) const {
    assert(i < rows_ && j < cols_);
    return values_[j * rows_ + i];
  }

  std::span<T> column(std::size_t j) { return {values_.data() + j * rows_, rows_}; }
  std::span<const T> column(std::size_t j) const { return {values_.data() + j * rows_, rows_}; }

  // Elements from column j on, in storage order: the native file stores the
  // measured voltage as "VOLTS from column 2 on".
  std::span<T> fromColumn(std::size_t j) { return std::span<T>(values_).subspan(j * rows_); }
  std::span<const T> fromColumn(std::size_t j) const {
    return std::span<const T>(values_).subspan(j * rows_);
  }

  std::span<T> elements() { return values_; }
  std::span<const T> elements() const { return values_; }

  // Removes reading i from every column (used when segments are joined).
  void eraseRow(std::size_t i) {
    assert(i < rows_);
    for (std::size_t j = cols_; j-- > 0;) values_.erase(values_.begin() + j * rows_ + i);
    --rows_;
  }

  bool operator==(const Matrix&) const = default;

 private:
  std::size_t rows_ = 0;
  std::size_t cols_ = 0;
  std::vector<T> values_;
};

}  // namespace zeva::core
