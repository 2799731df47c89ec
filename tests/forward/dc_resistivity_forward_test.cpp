#include "forward/dc_resistivity_forward.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/record/current_sounding.h"
#include "core/record/data_type.h"
#include "forward/forward_routine.h"
#include "forward_test_support.h"
#include "inversion/segment_shifting.h"
#include "layered_earth_oracle.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::forward {
namespace {

using core::Sounding;
using test::logSpaced;
using test::makeSounding;
using test::setModel;

constexpr const char* kSevenArrays[] = {
    "Schlumberger Array", "Wenner Array",       "Dipole-Dipole Array", "Pole-Dipole Array",
    "Pole-Pole Array",    "Polar Dipole Array", "Perpendicular Array"};

// The forward routine with a toolkit nobody reads.
void forwardQuietly(Sounding& s) {
  zeva::test::ScriptedToolkit toolkit;
  dcResistivityForward(s, toolkit);
}

bool separationFactorArray(std::string_view type) {
  return type == "Dipole-Dipole Array" || type == "Pole-Dipole Array";
}

// Spacings over four decades, or separation factors 1..10 with a dipole length
// that carries them over the same range.
void makeArraySounding(Sounding& s, std::string_view type) {
  if (separationFactorArray(type)) {
    makeSounding(s, type, {1, 2, 3, 4, 5, 6, 8, 10});
    s.header.dipoleLength = 25.0f;
  } else {
    makeSounding(s, type, logSpaced(0.5f, 5000.0f, 17));
  }
}

struct HalfSpaceCase {
  const char* array;
  float resistivity;
};

class HalfSpace : public ::testing::TestWithParam<HalfSpaceCase> {};

TEST_P(HalfSpace, ApparentResistivityEqualsTheLayerResistivity) {
  zeva::test::ScriptedToolkit toolkit;
  Sounding s;
  makeArraySounding(s, GetParam().array);
  setModel(s, {GetParam().resistivity}, {});
  dcResistivityForward(s, toolkit);
  for (int i = 0; i < s.NDATA(); ++i)
    EXPECT_NEAR(s.SVOLT(i, 0), GetParam().resistivity, 1.0e-3f * GetParam().resistivity)
        << "point " << i;
  EXPECT_TRUE(toolkit.messages.empty());
}

TEST_P(HalfSpace, LayersOfEqualResistivityActAsOneHalfSpace) {
  Sounding s;
  makeArraySounding(s, GetParam().array);
  const float rho = GetParam().resistivity;
  setModel(s, {rho, rho, rho, rho, rho, rho, rho}, {1.0f, 3.5f, 5.0f, 10.0f, 75.0f, 200.0f});
  forwardQuietly(s);
  for (int i = 0; i < s.NDATA(); ++i)
    EXPECT_NEAR(s.SVOLT(i, 0), rho, 1.0e-3f * rho) << "point " << i;
}

INSTANTIATE_TEST_SUITE_P(EveryArray, HalfSpace,
                         ::testing::Values(HalfSpaceCase{"Schlumberger Array", 100.0f},
                                           HalfSpaceCase{"Wenner Array", 3.0f},
                                           HalfSpaceCase{"Dipole-Dipole Array", 1000.0f},
                                           HalfSpaceCase{"Pole-Dipole Array", 0.5f},
                                           HalfSpaceCase{"Pole-Pole Array", 15.0f},
                                           HalfSpaceCase{"Polar Dipole Array", 250.0f},
                                           HalfSpaceCase{"Perpendicular Array", 42.0f}));

// Two-layer earths against the image series, over three decades of spacing
// around a 10 m first layer.
struct TwoLayerCase {
  const char* array;
  float rho1;
  float rho2;
  double tolerance = 5.0e-3;
};

class TwoLayer : public ::testing::TestWithParam<TwoLayerCase> {};

TEST_P(TwoLayer, AgreesWithTheImageSeriesWithinHalfAPercent) {
  const auto [array, rho1, rho2, tolerance] = GetParam();
  const std::string type = array;
  constexpr float h = 10.0f;
  const oracle::Potential U = oracle::imageSeries({rho1, rho2, h});
  Sounding s;
  std::vector<double> expected;
  if (separationFactorArray(type)) {
    // Several dipole lengths so that n a runs from 0.2 h to 60 h.
    for (const float a : {2.0f, 10.0f, 100.0f}) {
      makeSounding(s, type, {1, 2, 3, 4, 5, 6});
      s.header.dipoleLength = a;
      setModel(s, {rho1, rho2}, {h});
      forwardQuietly(s);
      for (int i = 0; i < s.NDATA(); ++i) {
        const double n = s.data().TIME(i, 0);
        const double reference = type == "Dipole-Dipole Array" ? oracle::dipoleDipole(U, n, a)
                                                               : oracle::poleDipole(U, n, a);
        EXPECT_NEAR(s.SVOLT(i, 0), reference, tolerance * reference) << "a=" << a << " n=" << n;
      }
    }
    return;
  }
  makeSounding(s, type, logSpaced(1.0f, 1000.0f, 19), 1, /*mnRatio=*/0.2f);
  setModel(s, {rho1, rho2}, {h});
  forwardQuietly(s);
  for (int i = 0; i < s.NDATA(); ++i) {
    const double a = s.data().TIME(i, 0);
    double reference = 0.0;
    if (type == "Schlumberger Array") reference = oracle::schlumberger(U, a, 0.1 * a);
    if (type == "Wenner Array") reference = oracle::wenner(U, a);
    if (type == "Pole-Pole Array") reference = oracle::polePole(U, a);
    if (type == "Polar Dipole Array")
      reference = oracle::polarDipole(oracle::imageSeriesCurvature({rho1, rho2, h}), a);
    EXPECT_NEAR(s.SVOLT(i, 0), reference, tolerance * reference) << "spacing " << a;
  }
}

// The polar-dipole filter has 23 points and reaches 1 %, not 0.5 %, on the
// descending branch of a 10:1 curve.
INSTANTIATE_TEST_SUITE_P(
    ContrastsOfTenBothWays, TwoLayer,
    ::testing::Values(TwoLayerCase{"Schlumberger Array", 10.0f, 100.0f},
                      TwoLayerCase{"Schlumberger Array", 100.0f, 10.0f},
                      TwoLayerCase{"Wenner Array", 10.0f, 100.0f},
                      TwoLayerCase{"Wenner Array", 100.0f, 10.0f},
                      TwoLayerCase{"Pole-Pole Array", 10.0f, 100.0f},
                      TwoLayerCase{"Pole-Pole Array", 100.0f, 10.0f},
                      TwoLayerCase{"Dipole-Dipole Array", 10.0f, 100.0f},
                      TwoLayerCase{"Dipole-Dipole Array", 100.0f, 10.0f},
                      TwoLayerCase{"Pole-Dipole Array", 10.0f, 100.0f},
                      TwoLayerCase{"Pole-Dipole Array", 100.0f, 10.0f},
                      TwoLayerCase{"Polar Dipole Array", 10.0f, 100.0f, 1.0e-2},
                      TwoLayerCase{"Polar Dipole Array", 100.0f, 10.0f, 1.0e-2}));

// The perpendicular array has no image-series form here; its curve must still
// run from the top layer at short spacings to the basement at long ones.
TEST(PerpendicularArray, RunsFromTheTopLayerToTheBasement) {
  for (const auto& [rho1, rho2] : {std::pair{10.0f, 100.0f}, std::pair{100.0f, 10.0f}}) {
    Sounding s;
    makeSounding(s, "Perpendicular Array", {0.1f, 100000.0f});
    setModel(s, {rho1, rho2}, {10.0f});
    forwardQuietly(s);
    EXPECT_NEAR(s.SVOLT(0, 0), rho1, 1.0e-3f * rho1);
    EXPECT_NEAR(s.SVOLT(1, 0), rho2, 1.0e-2f * rho2);
  }
}

TEST(Oracle, QuadratureAgreesWithTheImageSeries) {
  const oracle::Potential images = oracle::imageSeries({10.0, 100.0, 10.0});
  const oracle::Potential direct = oracle::quadrature({{10.0, 100.0}, {10.0}});
  for (const double x : {1.0, 7.0, 30.0, 200.0})
    EXPECT_NEAR(direct(x), images(x), 1.0e-7 * images(x)) << x;
}

struct ThreeLayerCase {
  const char* array;
  std::vector<float> rho;
};

class ThreeLayer : public ::testing::TestWithParam<ThreeLayerCase> {};

TEST_P(ThreeLayer, AgreesWithDirectQuadratureWithinHalfAPercent) {
  const auto& [array, rho] = GetParam();
  const std::string type = array;
  const std::vector<float> thickness{5.0f, 20.0f};
  const oracle::Potential U =
      oracle::quadrature({{rho[0], rho[1], rho[2]}, {thickness[0], thickness[1]}});
  Sounding s;
  makeSounding(s, type, logSpaced(1.0f, 1000.0f, 13), 1, /*mnRatio=*/0.2f);
  setModel(s, rho, thickness);
  forwardQuietly(s);
  for (int i = 0; i < s.NDATA(); ++i) {
    const double a = s.data().TIME(i, 0);
    const double reference =
        type == "Schlumberger Array" ? oracle::schlumberger(U, a, 0.1 * a) : oracle::wenner(U, a);
    EXPECT_NEAR(s.SVOLT(i, 0), reference, 5.0e-3 * reference) << "spacing " << a;
  }
}

INSTANTIATE_TEST_SUITE_P(
    KAndHTypes, ThreeLayer,
    ::testing::Values(ThreeLayerCase{"Schlumberger Array", {100.0f, 10.0f, 1000.0f}},
                      ThreeLayerCase{"Schlumberger Array", {20.0f, 300.0f, 5.0f}},
                      ThreeLayerCase{"Wenner Array", {100.0f, 10.0f, 1000.0f}},
                      ThreeLayerCase{"Wenner Array", {20.0f, 300.0f, 5.0f}}));

TEST(DepthsFlag, DepthsGiveTheSameCurveAsTheThicknessesTheyStandFor) {
  Sounding byThickness, byDepth;
  makeSounding(byThickness, "Schlumberger Array", logSpaced(1.0f, 300.0f, 10));
  makeSounding(byDepth, "Schlumberger Array", logSpaced(1.0f, 300.0f, 10));
  setModel(byThickness, {50.0f, 5.0f, 200.0f}, {4.0f, 16.0f});
  setModel(byDepth, {50.0f, 5.0f, 200.0f}, {4.0f, 20.0f});
  byDepth.model.depths = core::kTrue;
  forwardQuietly(byThickness);
  forwardQuietly(byDepth);
  for (int i = 0; i < 10; ++i) EXPECT_FLOAT_EQ(byDepth.SVOLT(i, 0), byThickness.SVOLT(i, 0));
}

TEST(DepthsFlag, DepthsThatDoNotIncreaseAreRefused) {
  Sounding s;
  makeSounding(s, "Schlumberger Array", {1, 10, 100});
  setModel(s, {10.0f, 20.0f, 30.0f}, {10.0f, 10.0f});
  s.model.depths = core::kTrue;
  s.layer.syntheticValid = core::kFalse;
  s.layer.saved = core::kTrue;
  const std::vector<float> before = s.M.PAR;
  forwardQuietly(s);
  EXPECT_EQ(s.layer.RMS, 1.0e10f);
  EXPECT_EQ(s.layer.PCTERR, 1.0e10f);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(s.SVOLT(i, 0), 1.0e20f);
  EXPECT_FALSE(core::isSet(s.layer.syntheticValid));
  EXPECT_TRUE(core::isSet(s.layer.saved));
  EXPECT_EQ(s.M.PAR, before);
}

TEST(DepthsFlag, ADepthReplacedBy10ThatNoLongerIncreasesIsRefused) {
  Sounding s;
  makeSounding(s, "Wenner Array", {1, 10, 100});
  setModel(s, {10.0f, 20.0f, 30.0f}, {-5.0f, 8.0f});
  s.model.depths = core::kTrue;
  forwardQuietly(s);
  EXPECT_EQ(s.layer.RMS, 1.0e10f);
  EXPECT_EQ(s.SVOLT(0, 0), 1.0e20f);
}

TEST(NonPhysicalModel, ZeroAndNegativeValuesBecome10InTheModel) {
  Sounding s;
  makeSounding(s, "Schlumberger Array", {1, 10, 100});
  setModel(s, {-5.0f, 0.0f, 30.0f}, {0.0f, 4.0f});
  forwardQuietly(s);
  EXPECT_EQ(s.M.PAR, (std::vector<float>{10.0f, 10.0f, 30.0f, 10.0f, 4.0f}));

  Sounding same;
  makeSounding(same, "Schlumberger Array", {1, 10, 100});
  setModel(same, {10.0f, 10.0f, 30.0f}, {10.0f, 4.0f});
  forwardQuietly(same);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(s.SVOLT(i, 0), same.SVOLT(i, 0));
}

TEST(Schlumberger, OnePointWithoutMNMakesEveryPointUseATenthOfABAsMN) {
  Sounding missing, tenth;
  makeSounding(missing, "Schlumberger Array", {2, 20, 200}, 1, 0.5f);
  missing.data().TIME(1, 1) = 0.0f;
  makeSounding(tenth, "Schlumberger Array", {2, 20, 200}, 1, 0.1f);
  for (Sounding* s : {&missing, &tenth}) {
    setModel(*s, {10.0f, 100.0f}, {10.0f});
    forwardQuietly(*s);
  }
  for (int i = 0; i < 3; ++i) EXPECT_EQ(missing.SVOLT(i, 0), tenth.SVOLT(i, 0));
}

TEST(Schlumberger, SecondColumnIsTheFullPotentialElectrodeSeparation) {
  Sounding s;
  // MN = 8 at AB/2 = 10: potential electrodes at +-4 m.
  makeSounding(s, "Schlumberger Array", {10.0f}, 1, 0.8f);
  setModel(s, {10.0f, 100.0f}, {5.0f});
  forwardQuietly(s);
  const double reference = oracle::schlumberger(oracle::imageSeries({10.0, 100.0, 5.0}), 10.0, 4.0);
  EXPECT_NEAR(s.SVOLT(0, 0), reference, 2.0e-3 * reference);
}

TEST(Schlumberger, PotentialElectrodesBeyondTheCurrentElectrodesGiveZero) {
  Sounding s;
  makeSounding(s, "Schlumberger Array", {10.0f, 20.0f}, 1, 2.5f);
  setModel(s, {10.0f}, {});
  forwardQuietly(s);
  EXPECT_EQ(s.SVOLT(0, 0), 0.0f);
  EXPECT_EQ(s.SVOLT(1, 0), 0.0f);
}

TEST(OtherDataTypes, GroundingImpedanceAndUnknownTypesGetZero) {
  for (const char* type : {"Grounding Impedance", "Schlumberger", "Central Loop TEM"}) {
    Sounding s;
    makeSounding(s, type, {1, 10});
    setModel(s, {10.0f}, {});
    forwardQuietly(s);
    EXPECT_EQ(s.SVOLT(0, 0), 0.0f) << type;
    EXPECT_EQ(s.SVOLT(1, 0), 0.0f) << type;
    EXPECT_TRUE(core::isSet(s.layer.syntheticValid));
  }
}

TEST(DipoleArrays, MissingDipoleLengthGivesZero) {
  Sounding s;
  makeSounding(s, "Dipole-Dipole Array", {1, 2});
  s.header.dipoleLength = 0.0f;
  setModel(s, {10.0f}, {});
  forwardQuietly(s);
  EXPECT_EQ(s.SVOLT(0, 0), 0.0f);
}

// The header's dipole length scales the readings of exactly the arrays whose
// spacing is a separation factor n; the others give distances themselves.
TEST(DipoleArrays, OnlySeparationFactorArraysDependOnTheDipoleLength) {
  for (const core::DataTypeTraits& type : core::knownDataTypes()) {
    if (type.family != core::Family::DcResistivity) continue;
    std::vector<float> synthetics[2];
    for (int k = 0; k < 2; ++k) {
      Sounding s;
      makeSounding(s, type.text, {2, 4});
      s.header.dipoleLength = k == 0 ? 5.0f : 20.0f;
      setModel(s, {100.0f, 10.0f}, {30.0f});
      forwardQuietly(s);
      synthetics[k] = {s.SVOLT(0, 0), s.SVOLT(1, 0)};
    }
    EXPECT_EQ(synthetics[0] != synthetics[1], type.separationFactor()) << type.text;
  }
}

// The fit: log10 misfits over the unmasked points with readings.
TEST(Fit, RmsIsTheLog10MisfitAndPcterrItsPercentage) {
  Sounding s;
  makeSounding(s, "Wenner Array", {1, 10, 100, 1000});
  setModel(s, {100.0f}, {});
  const std::vector<float> observed{100.0f, 200.0f, 50.0f, 1.0e10f};  // the last is missing
  for (int i = 0; i < 4; ++i) s.data().VOLTS(i, 0) = observed[i];
  s.layer.saved = core::kTrue;
  forwardQuietly(s);
  const double expected = std::sqrt(2.0 * std::pow(std::log10(2.0), 2) / 3.0);
  EXPECT_NEAR(s.layer.RMS, expected, 1.0e-5);
  EXPECT_NEAR(s.layer.PCTERR, (std::pow(10.0, expected) - 1.0) * 100.0, 1.0e-3);
  EXPECT_TRUE(core::isSet(s.layer.syntheticValid));
  EXPECT_FALSE(core::isSet(s.layer.saved));
}

TEST(Fit, MasksCountOnlyWithTheMaskingSwitchOn) {
  Sounding s;
  makeSounding(s, "Wenner Array", {1, 10});
  setModel(s, {100.0f}, {});
  s.data().VOLTS(0, 0) = 100.0f;
  s.data().VOLTS(1, 0) = 1000.0f;
  s.data().LMASK(1, 0) = core::kTrue;
  forwardQuietly(s);
  EXPECT_NEAR(s.layer.RMS, 0.0f, 2.0e-4f);

  s.header.maskingOn = core::kFalse;
  forwardQuietly(s);
  EXPECT_NEAR(s.layer.RMS, std::sqrt(0.5f), 2.0e-4f);
}

TEST(Fit, AllPointsMaskedGivesZeroFitAndValidSynthetics) {
  Sounding s;
  makeSounding(s, "Schlumberger Array", {1, 10, 100});
  setModel(s, {10.0f, 100.0f}, {10.0f});
  for (int i = 0; i < 3; ++i) s.data().LMASK(i, 0) = core::kTrue;
  s.layer.RMS = 3.0f;
  s.layer.PCTERR = 5.0f;
  forwardQuietly(s);
  EXPECT_EQ(s.layer.RMS, 0.0f);
  EXPECT_EQ(s.layer.PCTERR, 0.0f);
  EXPECT_TRUE(core::isSet(s.layer.syntheticValid));
  EXPECT_GT(s.SVOLT(2, 0), 10.0f);  // masked points are still modelled
}

TEST(Fit, NotANumberOnACountedPointGivesTheSentinelAndLeavesTheFlag) {
  Sounding s;
  makeSounding(s, "Wenner Array", {1, 10});
  setModel(s, {std::nanf("")}, {});
  forwardQuietly(s);
  EXPECT_EQ(s.layer.RMS, 1.0e20f);
  EXPECT_EQ(s.layer.PCTERR, 1.0e20f);
  EXPECT_FALSE(core::isSet(s.layer.syntheticValid));
}

TEST(Fit, PcterrKeepsItsValueWhenTheMisfitIsBeyond30Decades) {
  Sounding s;
  makeSounding(s, "Wenner Array", {1});
  setModel(s, {100.0f}, {});
  s.data().VOLTS(0, 0) = 1.0e-35f;
  s.layer.PCTERR = 7.0f;
  forwardQuietly(s);
  EXPECT_GT(s.layer.RMS, 30.0f);
  EXPECT_EQ(s.layer.PCTERR, 7.0f);
}

TEST(EmptyRecords, NoLayersOrNoDataChangeNothing) {
  Sounding s;
  makeSounding(s, "Wenner Array", {1, 10});
  s.model.NLAYER = 0;
  s.layer.RMS = 4.0f;
  forwardQuietly(s);
  EXPECT_EQ(s.layer.RMS, 4.0f);
  EXPECT_FALSE(core::isSet(s.layer.syntheticValid));

  Sounding none;
  makeSounding(none, "Wenner Array", {});
  setModel(none, {10.0f}, {});
  none.layer.saved = core::kTrue;
  forwardQuietly(none);
  EXPECT_TRUE(core::isSet(none.layer.saved));
}

// The default sounding: 15 ohm-m in every layer, five segments.
class DefaultSounding : public ::testing::Test {
 protected:
  void SetUp() override {
    core::resetToDefault(current);
    ASSERT_TRUE(inversion::SHIFTP(current.S));
  }
  core::CurrentSounding current;
  zeva::test::ScriptedToolkit toolkit;
};

TEST_F(DefaultSounding, WithoutShiftingEveryPointIs15) {
  current.S.header.shiftMode = 3;
  dcResistivityForward(current.S, toolkit);
  for (int i = 0; i < 22; ++i) EXPECT_NEAR(current.S.SVOLT(i, 0), 15.0f, 0.015f);
}

TEST_F(DefaultSounding, SyntheticsTakeTheSegmentStepsOfTheData) {
  // Match long spacings: each earlier segment is scaled by the factors of the
  // breaks after it; the last segment keeps the model's level.
  dcResistivityForward(current.S, toolkit);
  const auto& f = current.S.data().shiftFactor;
  const std::vector<double> level{f[0] * f[1] * f[2] * f[3], f[1] * f[2] * f[3], f[2] * f[3], f[3],
                                  1.0};
  const std::vector<int> segmentEnd{4, 9, 15, 19, 22};
  int segment = 0;
  for (int i = 0; i < 22; ++i) {
    if (i >= segmentEnd[segment]) ++segment;
    EXPECT_NEAR(current.S.SVOLT(i, 0), 15.0 * level[segment], 0.015 * level[segment]) << i;
  }
}

TEST_F(DefaultSounding, MatchingShortSpacingsKeepsTheFirstSegmentAtTheModelLevel) {
  current.S.header.shiftMode = 2;
  dcResistivityForward(current.S, toolkit);
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(current.S.SVOLT(i, 0), 15.0f, 0.015f);
  EXPECT_GT(std::fabs(current.S.SVOLT(21, 0) - 15.0f), 1.0f);
}

TEST_F(DefaultSounding, ShiftingTheDataInsteadLeavesTheSyntheticsAlone) {
  current.S.header.shiftTarget = 1;
  dcResistivityForward(current.S, toolkit);
  for (int i = 0; i < 22; ++i) EXPECT_NEAR(current.S.SVOLT(i, 0), 15.0f, 0.015f);
}

TEST(RepeatedCalls, KeepNoStateBetweenCalls) {
  Sounding a, b;
  makeSounding(a, "Schlumberger Array", logSpaced(1.0f, 100.0f, 5));
  makeSounding(b, "Schlumberger Array", logSpaced(1.0f, 100.0f, 5));
  setModel(a, {10.0f, 100.0f}, {5.0f});
  setModel(b, {10.0f, 100.0f}, {5.0f});
  forwardQuietly(a);
  a.M.PAR[0] = 300.0f;
  forwardQuietly(a);
  a.M.PAR[0] = 10.0f;
  forwardQuietly(a);
  forwardQuietly(b);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(a.SVOLT(i, 0), b.SVOLT(i, 0));
}

}  // namespace
}  // namespace zeva::forward
