// Gauss-Jordan elimination without pivoting, in single precision.

#include "inversion/gauss_jordan.h"

#include <cassert>
#include <cmath>
#include <cstddef>

namespace zeva::inversion {

bool SolveGaussJordan(std::span<float> A, int n, int m) {
  assert(n >= 0 && m >= 0);
  const std::size_t rows = static_cast<std::size_t>(n);
  const std::size_t cols = rows + static_cast<std::size_t>(m);
  assert(A.size() >= rows * cols);
  auto at = [&](std::size_t i, std::size_t j) -> float& { return A[j * rows + i]; };

  for (std::size_t k = 0; k < rows; ++k) {
    const float pivot = at(k, k);
    if (!(std::fabs(pivot) >= kSingularPivot)) return false;
    for (std::size_t j = k; j < cols; ++j) at(k, j) /= pivot;
    for (std::size_t i = 0; i < rows; ++i) {
      if (i == k) continue;
      const float factor = at(i, k);
      if (factor == 0.0f) continue;
      for (std::size_t j = k; j < cols; ++j) at(i, j) -= factor * at(k, j);
    }
  }
  return true;
}

}  // namespace zeva::inversion
