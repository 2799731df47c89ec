// Residual forms, their derivatives, error weights and Huber weights.

#include "inversion/fit_weights.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "inversion/inversion_steps.h"
#include "inversion/layered_inversion.h"
#include "tests/inversion/blended_layers.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::inversion {
namespace {

using core::Sounding;

// One reading of two columns of a data type, observed o and synthetic s.
Sounding twoValues(const char* type, bool logColumns, float o0, float o1, float s0, float s1) {
  Sounding S;
  S.header.dataType.assign(type);
  S.header.NDATA = 1;
  S.header.NCOMP = 2;
  S.header.NGEOM = 1;
  S.header.NSETS = 1;
  S.allocateData();
  auto& d = S.data();
  d.LOGDAT[0] = d.LOGDAT[1] = core::logical(logColumns);
  d.VOLTS(0, 0) = o0;
  d.VOLTS(0, 1) = o1;
  S.SVOLT(0, 0) = s0;
  S.SVOLT(0, 1) = s1;
  return S;
}

struct FormCase {
  const char* type;
  bool logColumns;
  int column;
  ResidualForm form;
  float observed, synthetic, expected;
};

class ResidualForms : public ::testing::TestWithParam<FormCase> {};

// Each form is the misfit the data type's forward routine measures.
TEST_P(ResidualForms, MeasureTheMisfitAsTheForwardFitDoes) {
  const FormCase& c = GetParam();
  Sounding S = twoValues(c.type, c.logColumns, c.observed, c.observed, c.synthetic, c.synthetic);
  EXPECT_EQ(residualForm(S, c.column), c.form);
  float d = 0.0f;
  ASSERT_TRUE(residualOf(S, 0, c.column, d));
  EXPECT_NEAR(d, c.expected, 1e-6f);
}

// The derivative is the slope of the residual itself: with residual r(s)
// falling as the synthetic rises, F (r(s0) - r(s1)) for a perturbation of
// factor F.
TEST_P(ResidualForms, DerivativeIsTheSlopeOfTheResidual) {
  const FormCase& c = GetParam();
  Sounding S = twoValues(c.type, c.logColumns, c.observed, c.observed, c.synthetic, c.synthetic);
  const float F = 24.158857f, s1 = c.synthetic * 1.001f;
  float r0 = 0.0f, r1 = 0.0f;
  ASSERT_TRUE(residualOf(S, 0, c.column, r0));
  S.SVOLT(0, static_cast<std::size_t>(c.column)) = s1;
  ASSERT_TRUE(residualOf(S, 0, c.column, r1));
  EXPECT_NEAR(residualDerivative(S, 0, c.column, c.synthetic, s1, F), F * (r0 - r1),
              2e-3f * std::fabs(F * (r0 - r1)));
}

INSTANTIATE_TEST_SUITE_P(
    EveryForm, ResidualForms,
    ::testing::Values(
        FormCase{"Schlumberger Array", true, 0, ResidualForm::Log10, 100.0f, 10.0f, 1.0f},
        // A linear column compares relative to the observed value, even when
        // the synthetic is far off (a near-zero reading).
        FormCase{"Schlumberger Array", false, 1, ResidualForm::Relative, 0.5f, 4.0f, -7.0f},
        // MaxMin in-phase and quadrature: differences in percent of the primary field.
        FormCase{"Horizontal Coplanar", false, 0, ResidualForm::Absolute, -0.3f, 2.7f, -3.0f},
        FormCase{"Vertical Coaxial", false, 1, ResidualForm::Absolute, 5.0f, 4.5f, 0.5f},
        // MT phases: magnitudes offset by 45 degrees, so a phase near zero
        // does not dominate the fit.
        FormCase{"Magnetotelluric Data", false, 1, ResidualForm::OffsetPhase, 0.5f, 45.0f,
                 std::log10(45.5f / 90.0f)},
        FormCase{"Magnetotelluric Data", true, 0, ResidualForm::Log10, 20.0f, 2.0f, 1.0f},
        // A TEM gate of the wrong sign: a decade off, and two decades more.
        FormCase{"Central Loop TEM", true, 0, ResidualForm::Transient, -5.0f, 50.0f, -3.0f}));

TEST(ResidualErrors, AreTheErrorBarsInTheUnitsOfEachResidual) {
  Sounding S = twoValues("Magnetotelluric Data", false, 200.0f, 30.0f, 200.0f, 30.0f);
  S.data().LOGDAT[0] = core::kTrue;
  S.data().UVOLTS(0, 0) = 10.0f;                                   // 5 % of 200 ohm-m
  S.data().UVOLTS(0, 1) = 1.5f;                                    // degrees
  EXPECT_EQ(residualErrors(S), (std::vector<float>{1.0f, 1.0f}));  // weighting off
  S.layer.errorWeighting = core::kTrue;
  const std::vector<float> errors = residualErrors(S);
  EXPECT_NEAR(errors[0], std::log10(1.05f), 1e-7f);
  EXPECT_NEAR(errors[1], std::log10(1.0f + 1.5f / 75.0f), 1e-7f);

  Sounding M = twoValues("Horizontal Coplanar", false, 12.0f, 3.0f, 12.0f, 3.0f);
  M.layer.errorWeighting = core::kTrue;
  M.data().UVOLTS(0, 0) = 0.5f;  // no error for the quadrature: the typical one
  EXPECT_EQ(residualErrors(M), (std::vector<float>{0.5f, 0.5f}));
}

// A three-layer sounding of the stand-in routine with errors of 2 %.
Sounding blendedSounding() {
  Sounding S;
  test::makeSounding(S, test::logSpacings(1.0f, 1000.0f, 24), 1, 3, 1, {100.0f, 10.0f, 300.0f},
                     {5.0f, 20.0f});
  test::observeModel(S, test::BlendedLayers{});
  for (std::size_t i = 0; i < static_cast<std::size_t>(S.NDATA()); ++i)
    S.data().UVOLTS(i, 0) = 0.02f * S.data().VOLTS(i, 0);
  return S;
}

TEST(WeightedFit, IsOneWhereEveryResidualEqualsItsError) {
  Sounding S = blendedSounding();
  S.layer.errorWeighting = core::kTrue;
  // Every synthetic off by one error bar, up or down.
  for (std::size_t i = 0; i < static_cast<std::size_t>(S.NDATA()); ++i)
    S.data().VOLTS(i, 0) = S.SVOLT(i, 0) * (i % 2 == 0 ? 1.02f : 1.0f / 1.02f);
  for (std::size_t i = 0; i < static_cast<std::size_t>(S.NDATA()); ++i)
    S.data().UVOLTS(i, 0) = 0.02f * S.data().VOLTS(i, 0);
  const float fit = weightedFit(S);
  EXPECT_GT(fit, 0.97f);
  EXPECT_LT(fit, 1.03f);
}

TEST(HuberWeights, HoldOutliersBelowOneAndLeaveTheRestAtOne) {
  Sounding S = blendedSounding();
  S.robust = true;
  test::BlendedLayers{}(S);
  // Scatter of about 1 % everywhere, and two readings off by a factor 2.
  for (std::size_t i = 0; i < static_cast<std::size_t>(S.NDATA()); ++i)
    S.data().VOLTS(i, 0) = S.SVOLT(i, 0) * (i % 2 == 0 ? 1.01f : 0.99f);
  S.data().VOLTS(5, 0) *= 2.0f;
  S.data().VOLTS(17, 0) *= 0.5f;
  EXPECT_EQ(refreshHuberWeights(S), 2);
  EXPECT_EQ(downweightedCount(S), 2);
  EXPECT_LT(S.huberWeights[5], 0.1f);
  EXPECT_LT(S.huberWeights[17], 0.1f);
  EXPECT_EQ(S.huberWeights[6], 1.0f);
  // Nothing is masked.
  EXPECT_FALSE(S.masked(5, 0));
}

TEST(RobustInversion, OutliersDoNotPullTheModel) {
  auto invert = [](bool robust) {
    Sounding S = blendedSounding();
    for (std::size_t j = 0; j < 3; ++j) S.M.PAR[j] = 50.0f;
    S.data().VOLTS(4, 0) *= 3.0f;
    S.data().VOLTS(12, 0) *= 3.0f;
    S.data().VOLTS(20, 0) /= 3.0f;
    S.robust = robust;
    zeva::test::ScriptedToolkit toolkit;
    RunMonitor monitor(toolkit);
    core::InversionSettings settings;
    settings.iterationLimit = 40;
    settings.improvementRatio = 0.999f;
    settings.fitFloorPercent = 0.0f;
    InvertMany(S, test::BlendedLayers{}, settings, monitor, 1);
    float worst = 0.0f;
    const float truth[] = {100.0f, 10.0f, 300.0f};
    for (std::size_t j = 0; j < 3; ++j)
      worst = std::max(worst, std::fabs(std::log10(S.M.PAR[j] / truth[j])));
    return worst;
  };
  // Reweighting moves the fit in small steps: the run is let go on.
  const float robust = invert(true);
  EXPECT_LT(robust, std::log10(1.05f));
  EXPECT_LT(robust, 0.5f * invert(false));
}

}  // namespace
}  // namespace zeva::inversion
