#pragma once
// Gauss-Jordan elimination without pivoting for the small symmetric systems of
// the inversion (normal equations plus damping, which are positive definite
// whenever the damping is positive, so the diagonal pivots are safe).

#include <span>

namespace zeva::inversion {

// Pivots smaller than this in magnitude stop the elimination.
inline constexpr float kSingularPivot = 1.0e-10f;

// Solves in place the n x (n + m) system held column-major in `A` (n rows):
// the first n columns are the matrix, the last m columns the right-hand sides,
// and the solutions end in those last m columns. Returns false when a pivot
// is below kSingularPivot; the elimination stops there and the matrix is left
// as far as it got.
bool SolveGaussJordan(std::span<float> A, int n, int m);

}  // namespace zeva::inversion
