#include "forward/em_layer_recursion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <vector>

namespace zeva::forward {
namespace {

using C = std::complex<double>;

struct Earth {
  std::vector<float> relativeConductivity;
  std::vector<float> thickness;  // metres
};

// The TE recursion as it reads, in double-precision complex arithmetic:
// u_j = sqrt(g^2 + 2i c_j), t = tanh(u_j t'_j / 2), Y carried from the bottom
// layer up, the recursion starting as a half-space at the deepest layer whose
// Re(u_j t'_j) reaches 21.
void plainRecursion(const Earth& e, const std::vector<double>& scaled, double g, C& u1, C& Y) {
  const std::size_t n = e.relativeConductivity.size();
  std::vector<C> u(n);
  for (std::size_t j = 0; j < n; ++j) u[j] = std::sqrt(C(g * g, 2.0 * e.relativeConductivity[j]));
  std::size_t start = n - 1;
  for (std::size_t j = n - 1; j-- > 0;)
    if ((u[j] * scaled[j]).real() >= 21.0 && start == n - 1) start = j;
  Y = 1.0;
  for (std::size_t j = start; j-- > 0;) {
    const C t = std::tanh(u[j] * scaled[j] / 2.0);
    Y = (u[j + 1] * Y + u[j] * t) / (u[j] + u[j + 1] * Y * t);
  }
  u1 = u[0];
}

// The recursion in single precision, written out in real arithmetic and
// carrying Y - 1, differs from the plain complex one only by rounding: the
// reflection and its change from the half-space stay within 2e-6 of their
// size at every filter abscissa that a reading of 0.01 to 100 induction
// numbers reaches, down to where the layering has faded out of them.
TEST(EmLayerRecursion, AgreesWithThePlainComplexRecursionToRounding) {
  const std::vector<Earth> earths = {
      {{1.0f, 5.0f, 1.0f / 3.0f, 10.0f, 2.0f}, {3.0f, 8.0f, 15.0f, 30.0f}},
      {{1.0f, 0.01f}, {20.0f}},
      {{1.0f, 1000.0f}, {5.0f}},
      {{1.0f, 1.01f, 0.99f}, {10.0f, 20.0f}},
      {{1.0f, 10.0f, 0.1f, 100.0f, 3.0f, 30.0f, 0.3f, 15.0f}, {2, 4, 8, 16, 32, 64, 128}}};
  for (const Earth& e : earths) {
    EmLayerRecursion layers;
    ASSERT_TRUE(layers.allocate(static_cast<int>(e.relativeConductivity.size())));
    layers.relativeConductivity = e.relativeConductivity;
    layers.thickness = e.thickness;
    for (const float r : {0.1f, 1.0f, 10.0f}) {
      const float twoOverSkinDepth = 2.0f * r / 100.0f;  // a 100 m separation
      layers.scaleThicknesses(twoOverSkinDepth);
      std::vector<double> scaled;
      for (const float t : e.thickness) scaled.push_back(double(t * twoOverSkinDepth));
      std::vector<float> gs;
      for (float g = 1.0e-4f / r; g < 1.0e4f / r; g *= 1.2214027f) gs.push_back(g);
      std::vector<ComplexF> lanes(gs.size());
      layers.reflections(gs, lanes);
      for (std::size_t i = 0; i < gs.size(); ++i) {
        const float g = gs[i];
        C u1, Y;
        plainRecursion(e, scaled, g, u1, Y);
        const double k = g;
        const C change = 2.0 * u1 * (Y - 1.0) / ((k + u1) * (k + Y * u1));
        const C reflection = (Y * u1 - k) / (k + Y * u1);
        const C fastChange(layers.reflectionChange(g));
        const C fastReflection(layers.reflection(g));
        // Where the layering's effect has decayed below 1e-13 of the
        // half-space reflection, it no longer counts in any sum.
        const double faint = 1.0e-13 * std::abs(2.0 * u1 / ((k + u1) * (k + Y * u1)));
        EXPECT_LE(std::abs(fastChange - change), 2.0e-6 * std::abs(change) + faint)
            << "g " << g << " r " << r << " layers " << e.thickness.size() + 1;
        // The whole reflection is (Y u1 - g) over (g + Y u1), of size at most
        // 1: near its zero its rounding is that of numbers of size 1.
        EXPECT_LE(std::abs(fastReflection - reflection), 2.0e-6 * std::abs(reflection) + 2.0e-7)
            << "g " << g << " r " << r << " layers " << e.thickness.size() + 1;
        // The same, the wavenumbers side by side in the vector unit.
        EXPECT_LE(std::abs(C(lanes[i]) - reflection), 2.0e-6 * std::abs(reflection) + 2.0e-7)
            << "g " << g << " r " << r << " layers " << e.thickness.size() + 1;
      }
    }
  }
}

}  // namespace
}  // namespace zeva::forward
