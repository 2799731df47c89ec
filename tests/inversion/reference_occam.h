#pragma once
// A reference Occam inversion of magnetotelluric apparent resistivity and
// phase, written independently of the program's inversion and entirely in
// double precision (Constable, Parker and Constable, 1987, Geophysics 52,
// 289-300): the smoothest model, in the first-difference norm of log10
// resistivity, that fits the data to a target misfit. Each iteration
// linearises the forward model about the current model, and for a Lagrange
// multiplier mu solves
//   (mu D^T D + (WJ)^T WJ) m = (WJ)^T W (d - F(m_k) + J m_k);
// mu is searched over a wide logarithmic range: while the target cannot be
// reached, the mu of least misfit is taken; once it can, the largest mu whose
// misfit meets the target. The layer grid (the fixed boundaries) is given.

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstddef>
#include <functional>
#include <limits>
#include <vector>

namespace zeva::inversion::test {

struct MtReading {
  double frequency;   // Hz
  double rho;         // apparent resistivity, ohm-m
  double phase;       // degrees
  double rhoError;    // relative error of rho (0.02 for 2 %)
  double phaseError;  // relative error of the phase
};

// Apparent resistivity and phase (degrees) of a layered earth: the
// impedance from the recursion of the layer admittances, from the bottom
// half-space up (Wait, 1954).
inline std::pair<double, double> referenceMtResponse(const std::vector<double>& rho,
                                                     const std::vector<double>& bottomDepth,
                                                     double frequency) {
  using Complex = std::complex<double>;
  constexpr double kMu0 = 4.0e-7 * 3.14159265358979323846;
  const double omega = 2.0 * 3.14159265358979323846 * frequency;
  const std::size_t n = rho.size();
  // C = E / (i omega mu0 H), the inductive scale length.
  auto k = [&](double r) { return std::sqrt(Complex(0.0, omega * kMu0 / r)); };
  Complex C = 1.0 / k(rho[n - 1]);
  for (std::size_t j = n - 1; j-- > 0;) {
    const double top = j == 0 ? 0.0 : bottomDepth[j - 1];
    const double h = bottomDepth[j] - top;
    const Complex kj = k(rho[j]);
    const Complex t = std::tanh(kj * h);
    C = (kj * C + t) / (kj * (1.0 + kj * C * t));
  }
  const Complex Z = Complex(0.0, omega * kMu0) * C;
  return {std::norm(Z) / (omega * kMu0), std::arg(Z) * 180.0 / 3.14159265358979323846};
}

struct OccamResult {
  std::vector<double> log10Rho;
  double misfit = 0.0;  // RMS of the error-normalised residuals
  int iterations = 0;
};

class ReferenceOccam {
 public:
  ReferenceOccam(std::vector<MtReading> data, std::vector<double> bottomDepth)
      : data_(std::move(data)), depth_(std::move(bottomDepth)) {}

  OccamResult run(double startRho, double targetMisfit, int maxIterations = 40) const {
    const std::size_t n = depth_.size() + 1;
    OccamResult result;
    result.log10Rho.assign(n, std::log10(startRho));
    result.misfit = misfit(result.log10Rho);
    double roughness = std::numeric_limits<double>::infinity();
    for (int it = 0; it < maxIterations; ++it) {
      const std::vector<double> m = step(result.log10Rho, targetMisfit);
      const double chi = misfit(m);
      const double r = roughnessOf(m);
      ++result.iterations;
      const bool better = chi < result.misfit * (1.0 - 1e-4);
      const bool smoother = result.misfit <= targetMisfit * 1.0001 &&
                            chi <= targetMisfit * 1.0001 && r < roughness * (1.0 - 1e-3);
      if (!better && !smoother) break;
      result.log10Rho = m;
      result.misfit = chi;
      roughness = r;
    }
    return result;
  }

  double misfit(const std::vector<double>& m) const {
    const std::vector<double> r = residuals(m);
    double sum = 0.0;
    for (double v : r) sum += v * v;
    return std::sqrt(sum / static_cast<double>(r.size()));
  }

 private:
  std::vector<MtReading> data_;
  std::vector<double> depth_;

  // Observed minus modelled, each divided by its error: log10 rho with the
  // error log10(1 + e), and the phase with its relative error.
  std::vector<double> residuals(const std::vector<double>& m) const {
    std::vector<double> rho(m.size());
    for (std::size_t j = 0; j < m.size(); ++j) rho[j] = std::pow(10.0, m[j]);
    std::vector<double> r;
    for (const MtReading& d : data_) {
      const auto [rhoA, phase] = referenceMtResponse(rho, depth_, d.frequency);
      r.push_back((std::log10(d.rho) - std::log10(rhoA)) / std::log10(1.0 + d.rhoError));
      r.push_back((d.phase - phase) / (d.phaseError * std::fabs(d.phase)));
    }
    return r;
  }

  static double roughnessOf(const std::vector<double>& m) {
    double sum = 0.0;
    for (std::size_t j = 1; j < m.size(); ++j) sum += (m[j] - m[j - 1]) * (m[j] - m[j - 1]);
    return sum;
  }

  // One Occam step from m: the Jacobian of the normalised residuals by
  // central differences, then the search over mu.
  std::vector<double> step(const std::vector<double>& m, double target) const {
    const std::size_t n = m.size();
    const std::vector<double> r0 = residuals(m);
    const std::size_t nd = r0.size();
    std::vector<double> J(nd * n);  // J(i, j) = d(model_i / error_i) / d m_j, row-major
    constexpr double kDelta = 1e-5;
    for (std::size_t j = 0; j < n; ++j) {
      std::vector<double> up = m, down = m;
      up[j] += kDelta;
      down[j] -= kDelta;
      const std::vector<double> ru = residuals(up), rd = residuals(down);
      // Residuals are observed minus model, so the model's slope has the other sign.
      for (std::size_t i = 0; i < nd; ++i) J[i * n + j] = -(ru[i] - rd[i]) / (2.0 * kDelta);
    }
    // d_hat = r0 + J m (the normalised data the linearised model must fit).
    std::vector<double> JtJ(n * n, 0.0), Jtd(n, 0.0);
    for (std::size_t i = 0; i < nd; ++i) {
      double dHat = r0[i];
      for (std::size_t j = 0; j < n; ++j) dHat += J[i * n + j] * m[j];
      for (std::size_t j = 0; j < n; ++j) {
        Jtd[j] += J[i * n + j] * dHat;
        for (std::size_t l = 0; l < n; ++l) JtJ[j * n + l] += J[i * n + j] * J[i * n + l];
      }
    }
    auto modelFor = [&](double log10Mu) {
      const double mu = std::pow(10.0, log10Mu);
      std::vector<double> A = JtJ;
      for (std::size_t j = 0; j + 1 < n; ++j) {  // mu D^T D
        A[j * n + j] += mu;
        A[(j + 1) * n + j + 1] += mu;
        A[j * n + j + 1] -= mu;
        A[(j + 1) * n + j] -= mu;
      }
      return solveSymmetric(A, Jtd, n);
    };
    // A trial whose misfit is not a number (a model the response cannot
    // take) counts as infinitely bad, so the searches below stay ordered.
    auto misfitAt = [&](double log10Mu) {
      const double m = misfit(modelFor(log10Mu));
      return std::isnan(m) ? std::numeric_limits<double>::infinity() : m;
    };

    // A coarse sweep, then refinement: the least misfit, or the largest mu
    // that meets the target.
    std::vector<double> grid, chi;
    for (double g = -6.0; g <= 8.0 + 1e-9; g += 0.5) {
      grid.push_back(g);
      chi.push_back(misfitAt(g));
    }
    std::size_t best =
        static_cast<std::size_t>(std::min_element(chi.begin(), chi.end()) - chi.begin());
    if (!(chi[best] <= target)) {
      // Golden-section search for the minimum around the best grid point.
      double a = grid[best > 0 ? best - 1 : best], b = grid[std::min(best + 1, grid.size() - 1)];
      const double g = 0.5 * (std::sqrt(5.0) - 1.0);
      double c = b - g * (b - a), d = a + g * (b - a);
      double fc = misfitAt(c), fd = misfitAt(d);
      for (int k = 0; k < 40; ++k) {
        if (fc < fd) {
          b = d, d = c, fd = fc, c = b - g * (b - a), fc = misfitAt(c);
        } else {
          a = c, c = d, fc = fd, d = a + g * (b - a), fd = misfitAt(d);
        }
      }
      const double x = fc < fd ? c : d;
      return misfitAt(x) < chi[best] ? modelFor(x) : modelFor(grid[best]);
    }
    // The largest grid mu meeting the target, then bisection towards the next one up.
    std::size_t k = grid.size();
    while (k-- > 0)
      if (chi[k] <= target) break;
    if (k + 1 == grid.size()) return modelFor(grid[k]);
    double lo = grid[k], hi = grid[k + 1];
    for (int s = 0; s < 40; ++s) {
      const double mid = 0.5 * (lo + hi);
      (misfitAt(mid) <= target ? lo : hi) = mid;
    }
    return modelFor(lo);
  }

  // Cholesky solution of the symmetric positive definite system A x = b.
  static std::vector<double> solveSymmetric(std::vector<double> A, std::vector<double> b,
                                            std::size_t n) {
    for (std::size_t j = 0; j < n; ++j) {
      double s = A[j * n + j];
      for (std::size_t k = 0; k < j; ++k) s -= A[j * n + k] * A[j * n + k];
      const double ljj = std::sqrt(std::max(s, 1e-300));
      A[j * n + j] = ljj;
      for (std::size_t i = j + 1; i < n; ++i) {
        double t = A[i * n + j];
        for (std::size_t k = 0; k < j; ++k) t -= A[i * n + k] * A[j * n + k];
        A[i * n + j] = t / ljj;
      }
    }
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t k = 0; k < i; ++k) b[i] -= A[i * n + k] * b[k];
      b[i] /= A[i * n + i];
    }
    for (std::size_t i = n; i-- > 0;) {
      for (std::size_t k = i + 1; k < n; ++k) b[i] -= A[k * n + i] * b[k];
      b[i] /= A[i * n + i];
    }
    return b;
  }
};

}  // namespace zeva::inversion::test
