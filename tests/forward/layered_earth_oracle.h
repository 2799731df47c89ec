#pragma once
// Independent reference values for the forward-model tests, in double
// precision. The surface potential of a point current source, scaled as
// U(x) = 2 pi V(x) / I, is computed two ways that share nothing with the
// program's filters:
//   - for two layers, the image series
//       U(x) = rho1 [1/x + 2 sum_m k^m / sqrt(x^2 + (2 m h)^2)],
//       k = (rho2 - rho1) / (rho2 + rho1);
//   - for any layering, direct quadrature of
//       U(x) = rho1 / x + integral (T(lambda) - rho1) J0(lambda x) dlambda,
//     whose integrand decays like exp(-2 lambda h1), on Gauss-Legendre panels
//     shorter than half a Bessel oscillation and graded toward lambda = 0.
// Each array's apparent resistivity then follows from its electrode distances.

#include <array>
#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

namespace zeva::forward::oracle {

using Potential = std::function<double(double)>;

struct TwoLayerEarth {
  double rho1;
  double rho2;
  double h;
};

inline Potential imageSeries(TwoLayerEarth e) {
  return [e](double x) {
    const double k = (e.rho2 - e.rho1) / (e.rho2 + e.rho1);
    double sum = 1.0 / x;
    double km = 1.0;
    for (int m = 1; m < 4000; ++m) {
      km *= k;
      if (std::fabs(km) < 1.0e-18) break;
      const double d = 2.0 * m * e.h;
      sum += 2.0 * km / std::sqrt(x * x + d * d);
    }
    return e.rho1 * sum;
  };
}

// Second derivative of the image-series potential with respect to x.
inline Potential imageSeriesCurvature(TwoLayerEarth e) {
  return [e](double x) {
    const double k = (e.rho2 - e.rho1) / (e.rho2 + e.rho1);
    double sum = 2.0 / (x * x * x);
    double km = 1.0;
    for (int m = 1; m < 4000; ++m) {
      km *= k;
      if (std::fabs(km) < 1.0e-18) break;
      const double d2 = 4.0 * m * m * e.h * e.h;
      sum += 2.0 * km * (2.0 * x * x - d2) / std::pow(x * x + d2, 2.5);
    }
    return e.rho1 * sum;
  };
}

struct Layers {
  std::vector<double> rho;        // top down, the last is the half-space
  std::vector<double> thickness;  // one fewer
};

inline double resistivityTransform(const Layers& e, double lambda) {
  double T = e.rho.back();
  for (std::size_t j = e.rho.size() - 1; j-- > 0;) {
    const double t = std::tanh(lambda * e.thickness[j]);
    T = e.rho[j] * (T + e.rho[j] * t) / (e.rho[j] + T * t);
  }
  return T;
}

inline Potential quadrature(Layers e) {
  return [e](double x) {
    static constexpr std::array<double, 8> node{
        -0.9602898564975363, -0.7966664774136267, -0.5255324099163290, -0.1834346424956498,
        0.1834346424956498,  0.5255324099163290,  0.7966664774136267,  0.9602898564975363};
    static constexpr std::array<double, 8> weight{
        0.1012285362903763, 0.2223810344533745, 0.3137066458778873, 0.3626837833783620,
        0.3626837833783620, 0.3137066458778873, 0.2223810344533745, 0.1012285362903763};
    const double h1 = e.thickness.empty() ? 1.0e30 : e.thickness.front();
    if (e.thickness.empty()) return e.rho[0] / x;
    const double end = 45.0 / h1;
    // Panels grow from lambda = 0 no faster than a tenth of lambda, which
    // resolves the slow variation a deep resistive basement gives T there.
    const double widest = std::min(std::numbers::pi / x, 0.1 / h1);
    double integral = 0.0;
    for (double a = 0.0, panel = 1.0e-7; a < end;
         a += panel, panel = std::min(widest, 1.0e-7 + 0.1 * a)) {
      const double mid = a + panel / 2.0;
      for (std::size_t q = 0; q < node.size(); ++q) {
        const double lambda = mid + node[q] * panel / 2.0;
        integral += weight[q] * panel / 2.0 * (resistivityTransform(e, lambda) - e.rho[0]) *
                    std::cyl_bessel_j(0.0, lambda * x);
      }
    }
    return e.rho[0] / x + integral;
  };
}

// Apparent resistivities from the potential U(x) = 2 pi V(x) / I.
inline double polePole(const Potential& U, double a) { return a * U(a); }

inline double wenner(const Potential& U, double a) { return 2.0 * a * (U(a) - U(2.0 * a)); }

// L = AB/2, b = MN/2.
inline double schlumberger(const Potential& U, double L, double b) {
  return (L * L - b * b) / (2.0 * b) * (U(L - b) - U(L + b));
}

// Current dipole B-A and potential dipole M-N of length a, n a apart.
inline double dipoleDipole(const Potential& U, double n, double a) {
  return n * (n + 1.0) * (n + 2.0) * a / 2.0 *
         (U(n * a) - 2.0 * U((n + 1.0) * a) + U((n + 2.0) * a));
}

// Pole A, potential dipole M-N of length a at n a from it.
inline double poleDipole(const Potential& U, double n, double a) {
  return n * (n + 1.0) * a * (U(n * a) - U((n + 1.0) * a));
}

// Short current and potential dipoles in line, r apart: the field gradient
// along the line, from the curvature of the point-source potential.
inline double polarDipole(const Potential& curvature, double r) {
  return r * r * r / 2.0 * curvature(r);
}

}  // namespace zeva::forward::oracle
