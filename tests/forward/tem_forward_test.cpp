#include "forward/tem_forward.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "forward/tem_frequency_response.h"
#include "forward_test_support.h"
#include "tem_test_support.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::forward {
namespace {

using core::Sounding;

// The late-time vertical field of a small loop of moment m at its centre,
// -dBz/dt = m mu0^(5/2) sigma^(3/2) / (20 pi^(3/2) t^(5/2)): a dipole on a
// half-space once the diffusion depth far exceeds the loop (here 160 to 3200
// diffusion times mu0 sigma (L/2)^2 after the switch-off, where the loop's
// size changes the field by 0.1 % or less).
TEST(TemForward, SmallLoopReachesTheDipoleLateTimeLimit) {
  zeva::test::ScriptedToolkit toolkit;
  Sounding s;
  const std::vector<float> gates = test::logSpaced(0.5f, 10.0f, 6);
  test::makeTemSounding(s, "Central Loop TEM", gates, 10.0f);
  test::setModel(s, {10.0f}, {});
  temForward(s, toolkit);
  const double sigma = 0.1, moment = 100.0;
  for (std::size_t i = 0; i < gates.size(); ++i) {
    const double t = gates[i] * 1.0e-3;
    const double dipole = moment * std::pow(kMu0, 2.5) * std::pow(sigma, 1.5) /
                          (20.0 * std::pow(std::numbers::pi, 1.5) * std::pow(t, 2.5));
    EXPECT_NEAR(s.SVOLT(i, 0) / (1.0e9 * dipole), 1.0, 0.01) << t;
  }
  EXPECT_TRUE(toolkit.messages.empty());
}

// A linear ramp of length R turns the step-off response e into its mean over
// [t, t + R]; here that mean is taken by Simpson's rule over step responses
// the routine gives at 201 sample times.
TEST(TemForward, RampIsTheMeanOfTheStepResponseOverTheRamp) {
  zeva::test::ScriptedToolkit toolkit;
  const float ramp = 200.0f;  // us
  const std::vector<float> gates{0.02f, 0.1f, 0.5f, 2.0f};
  Sounding ramped;
  test::makeTemSounding(ramped, "Central Loop TEM", gates, 40.0f);
  test::setModel(ramped, {100.0f, 10.0f, 1000.0f}, {20.0f, 30.0f});
  ramped.data().RAMP[0] = ramp;
  temForward(ramped, toolkit);

  for (std::size_t i = 0; i < gates.size(); ++i) {
    const int n = 200;
    std::vector<float> samples;
    for (int k = 0; k <= n; ++k) samples.push_back(gates[i] + ramp * 1.0e-3f * float(k) / n);
    Sounding step;
    test::makeTemSounding(step, "Central Loop TEM", samples, 40.0f);
    test::setModel(step, {100.0f, 10.0f, 1000.0f}, {20.0f, 30.0f});
    temForward(step, toolkit);
    double sum = 0.0;
    for (int k = 0; k <= n; ++k)
      sum += (k == 0 || k == n ? 1.0 : (k % 2 == 1 ? 4.0 : 2.0)) * step.SVOLT(std::size_t(k), 0);
    const double mean = sum / (3.0 * n);
    EXPECT_NEAR(ramped.SVOLT(i, 0) / mean, 1.0, 0.002) << gates[i];
  }
  EXPECT_TRUE(toolkit.messages.empty());
}

TEST(TemForward, UnknownVoltageUnitIsRefusedAndNothingChanges) {
  zeva::test::ScriptedToolkit toolkit;
  Sounding s;
  test::makeTemSounding(s, "Central Loop TEM", {0.1f, 1.0f}, 40.0f, 0.0f, 0.0f, 0.0f, "(mV)");
  test::setModel(s, {100.0f}, {});
  s.SVOLT(0, 0) = 7.0f;
  s.layer.RMS = 3.0f;
  temForward(s, toolkit);
  test::expectLeftAlone(
      s, 7.0f, 3.0f, toolkit.texts(),
      "The TEM voltage unit \"(mV)\" cannot be modelled; the sounding is unchanged");
}

TEST(TemForward, VoltsPerAmpereBelongToTheCoincidentLoopOnly) {
  zeva::test::ScriptedToolkit toolkit;
  Sounding s;
  test::makeTemSounding(s, "Fixed Loop TEM", {0.1f}, 40.0f, 40.0f, 0.0f, 0.0f, "V/Amp");
  test::setModel(s, {100.0f}, {});
  temForward(s, toolkit);
  EXPECT_FALSE(core::isSet(s.layer.syntheticValid));
  ASSERT_EQ(toolkit.messages.size(), 1u);
}

// The units of the table: per ampere and receiver area, per ampere and
// square metre, per square metre at the sweep's current and turns.
TEST(TemForward, VoltageUnitsScaleByCurrentTurnsAndArea) {
  zeva::test::ScriptedToolkit toolkit;
  const auto valueIn = [&](std::string_view unit) {
    return test::unitValue("Central Loop TEM", unit, toolkit);
  };
  const double perAmpereSquareMetre = valueIn("(nV/A-m^2)");  // 1.0E9 N e
  EXPECT_NEAR(valueIn("(uV/Amp)") / perAmpereSquareMetre, 1.0e-3 * 50.0, 1.0e-6);
  EXPECT_NEAR(valueIn("(uV/m^2)") / perAmpereSquareMetre, 1.0e-3 * 4.0, 1.0e-8);
  EXPECT_NEAR(valueIn("(nT/sec)") / perAmpereSquareMetre, 4.0, 1.0e-5);
  EXPECT_TRUE(toolkit.messages.empty());
}

// The fit is taken on log10 of the voltage magnitudes: a model that is 10 %
// high everywhere fits to log10(1.1); a gate of the wrong sign is a large
// misfit, not a NaN.
TEST(TemForward, FitIsLogarithmicAndASignDisagreementIsALargeMisfit) {
  zeva::test::ScriptedToolkit toolkit;
  Sounding s;
  test::makeTemSounding(s, "Central Loop TEM", {0.05f, 0.5f, 5.0f}, 40.0f);
  test::setModel(s, {100.0f}, {});
  temForward(s, toolkit);
  for (std::size_t i = 0; i < 3; ++i) s.data().VOLTS(i, 0) = s.SVOLT(i, 0) / 1.1f;
  temForward(s, toolkit);
  EXPECT_NEAR(s.layer.RMS, std::log10(1.1f), 1.0e-5f);
  EXPECT_NEAR(s.layer.PCTERR, 10.0f, 0.01f);
  s.data().VOLTS(1, 0) = -s.data().VOLTS(1, 0);
  temForward(s, toolkit);
  EXPECT_TRUE(std::isfinite(s.layer.RMS));
  EXPECT_GT(s.layer.RMS, 1.0f);
}

}  // namespace
}  // namespace zeva::forward
