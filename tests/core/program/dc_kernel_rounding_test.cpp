// The DC forward routine forms its kernels in the reflection form, several
// abscissae at a time; its apparent resistivities may differ from the
// recurrence as the algorithm writes it (two divisions per layer, one
// abscissa at a time) only by float rounding. Checked on every DC example
// sounding, with its own model and with a five-layer model of contrasts up
// to twenty.

#include <gtest/gtest.h>

#include <cmath>
#include <string_view>
#include <vector>

#include "core/program/example_soundings.h"
#include "core/record/data_type.h"
#include "forward/dc_resistivity_forward.h"
#include "forward/hankel_transform.h"
#include "forward/linear_filters.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::forward {
namespace {

using core::Sounding;

constexpr float kRoundingBound = 2.0e-5f;

struct Earth {
  std::vector<float> rho, h;
};

Earth earthOf(const Sounding& S) {
  Earth e;
  for (int j = 0; j < S.NLAYER(); ++j) e.rho.push_back(S.M.PAR[std::size_t(j)]);
  for (int j = 0; j + 1 < S.NLAYER(); ++j) e.h.push_back(S.M.PAR[S.geometryIndex(j)]);
  return e;
}

// T(lambda) by the recurrence as written: k from T, then T from k.
float recurrence(const Earth& e, float lambda) {
  float T = e.rho.back();
  for (std::size_t j = e.h.size(); j-- > 0;) {
    const float k = (e.rho[j] - T) / (e.rho[j] + T);
    const float u = -2.0f * lambda * e.h[j];
    const float f = u <= -21.0f ? 1.0f : (1.0f - k * std::exp(u)) / (1.0f + k * std::exp(u));
    T = e.rho[j] * f;
  }
  return T;
}

template <std::size_t N, typename Kernel>
float linear(const std::array<float, N>& w, float s, float x0, Kernel K) {
  float lambda = 1.0f / (s * x0), sum = 0.0f;
  for (float weight : w) sum += weight * K(lambda), lambda *= kDecadeSixth;
  return sum;
}

float hankel(float r, KernelRef<float> K, ui::Toolkit& toolkit) {
  HankelKernelCache cache;
  float B = 1.0f / r;
  return r * adaptiveHankelJ0(K, r, B, 1.0e-4f, 0, cache, toolkit);
}

// The apparent resistivity of reading i, one abscissa at a time.
float oneByOne(const Sounding& S, std::size_t i, ui::Toolkit& toolkit) {
  const Earth e = earthOf(S);
  const auto T = [&](float l) { return recurrence(e, l); };
  const std::string type = S.header.dataType.trimmed();
  const float x = S.data().TIME(i, 0), a = S.header.dipoleLength;
  if (type == "Schlumberger Array") {
    const float b = S.data().TIME(i, 1) / 2.0f;
    const float cm = (x - b) / x, cp = (x + b) / x;
    return hankel(
        x, [&](float l) { return (cp * T(l / cm) - cm * T(l / cp)) / (cp - cm); }, toolkit);
  }
  if (type == "Wenner Array")
    return hankel(
        x, [&](float l) { return 2.0f * T(l) - T(l / 2.0f); }, toolkit);
  if (type == "Pole-Pole Array") return hankel(x, T, toolkit);
  if (type == "Polar Dipole Array") return linear(kPolarDipoleFilter, x, kPolarDipoleOffset, T);
  if (type == "Perpendicular Array")
    return linear(kPerpendicularFilter, x, kPerpendicularOffset, T);
  const float n = x;
  if (type == "Dipole-Dipole Array") {
    const float G = n * (n + 1.0f) * (n + 2.0f) / 2.0f;
    return linear(kDipoleFilter, a, kDipoleOffset, [&](float l) {
      return G / (n + 2.0f) * T(l / (n + 2.0f)) + G / n * T(l / n) -
             2.0f * G / (n + 1.0f) * T(l / (n + 1.0f));
    });
  }
  const float G = n * (n + 1.0f);  // pole-dipole
  return linear(kDipoleFilter, a, kDipoleOffset,
                [&](float l) { return G / n * T(l / n) - G / (n + 1.0f) * T(l / (n + 1.0f)); });
}

class DcKernelRounding : public ::testing::TestWithParam<std::string_view> {
 protected:
  void expectOnlyRounding(Sounding& S) {
    zeva::test::ScriptedToolkit toolkit;
    dcResistivityForward(S, toolkit);
    for (std::size_t i = 0; i < std::size_t(S.NDATA()); ++i) {
      const float expected = oneByOne(S, i, toolkit);
      EXPECT_NEAR(S.SVOLT(i, 0), expected, kRoundingBound * std::fabs(expected))
          << S.header.dataType.trimmed() << " reading " << i;
    }
  }
};

TEST_P(DcKernelRounding, OnTheExampleModelAndOnAFiveLayerModel) {
  core::CurrentSounding current;
  ASSERT_TRUE(core::makeExampleSounding(core::DataTypeText(GetParam()), current));
  Sounding& S = current.S;
  // Schlumberger readings with and without MN use the same kernel.
  expectOnlyRounding(S);
  S.model.NLAYER = 5;
  S.model.NPK = 1;
  S.allocateModel();
  S.M.PAR = {100.0f, 20.0f, 300.0f, 50.0f, 1000.0f, 2.0f, 5.0f, 12.0f, 40.0f};
  expectOnlyRounding(S);
}

INSTANTIATE_TEST_SUITE_P(EveryDcArray, DcKernelRounding,
                         ::testing::Values("Schlumberger Array", "Wenner Array",
                                           "Dipole-Dipole Array", "Pole-Dipole Array",
                                           "Pole-Pole Array", "Polar Dipole Array",
                                           "Perpendicular Array"));

}  // namespace
}  // namespace zeva::forward
