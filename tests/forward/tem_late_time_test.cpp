#include "forward/tem_late_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string_view>
#include <tuple>
#include <vector>

#include "tests/support/scripted_toolkit.h"

namespace zeva::forward {
namespace {

using core::Sounding;

constexpr double kPi = 3.14159265358979;
constexpr double kMu0 = 4.0e-7 * kPi;

// Late-time step-off response of a homogeneous half-space of resistivity rho
// at the centre of a small source of moment m (A m^2): the vertical field
// dBz/dt = m mu0^(5/2) sigma^(3/2) / (20 pi^(3/2) t^(5/2)), in T/s, t in s.
double lateTimeDbzDt(double moment, double rho, double seconds) {
  return moment * std::pow(kMu0, 2.5) * std::pow(1.0 / rho, 1.5) /
         (20.0 * std::pow(kPi, 1.5) * std::pow(seconds, 2.5));
}

Sounding temSounding(std::string_view type, const std::vector<float>& gatesMs) {
  Sounding s;
  s.header.dataType.assign(type);
  s.header.NDATA = static_cast<int>(gatesMs.size());
  s.header.NCOMP = 1;
  s.header.NGEOM = 1;
  s.header.NSETS = 1;
  EXPECT_TRUE(s.allocateData());
  for (std::size_t i = 0; i < gatesMs.size(); ++i) s.data().TIME(i, 0) = gatesMs[i];
  s.data().NSET[0] = static_cast<int>(gatesMs.size());
  s.data().AMPS[0] = 1.0f;
  return s;
}

const std::vector<float> kGates{2.0f, 5.0f, 10.0f, 20.0f, 50.0f};

struct CoincidentCase {
  float rho, side;
  bool voltsPerAmp;  // stored unit "V/Amp" instead of microvolts per ampere
};

class CoincidentLoop : public ::testing::TestWithParam<CoincidentCase> {};

// The receiver of a coincident loop sees the late-time field over its own
// area: V / I = A^2 dBz/dt for unit moment, A = L^2.
TEST_P(CoincidentLoop, LateTimeHalfSpaceVoltageConvertsBack) {
  const auto [rho, side, voltsPerAmp] = GetParam();
  Sounding s = temSounding("Coincident Loop TEM", kGates);
  s.header.loopSizeX = side;
  if (voltsPerAmp) s.header.temVoltageUnit.assign("V/Amp");
  const double area = double(side) * side;
  for (std::size_t i = 0; i < kGates.size(); ++i) {
    const double voltsPerAmpere = area * lateTimeDbzDt(area, rho, kGates[i] * 1.0e-3);
    s.data().VOLTS(i, 0) =
        static_cast<float>(voltsPerAmp ? voltsPerAmpere : voltsPerAmpere * 1.0e6);
  }
  const std::vector<float> got = lateTimeApparentResistivity(s);
  for (std::size_t i = 0; i < kGates.size(); ++i)
    EXPECT_NEAR(got[i], rho, 0.02f * rho) << "gate " << kGates[i] << " ms";
}

INSTANTIATE_TEST_SUITE_P(LoopsAndUnits, CoincidentLoop,
                         ::testing::Values(CoincidentCase{100.0f, 100.0f, false},
                                           CoincidentCase{10.0f, 50.0f, true},
                                           CoincidentCase{1000.0f, 200.0f, false}));

struct CentralLoopCase {
  std::string_view type;
  float Lx, Ly, x, y;
  double momentArea;  // m^2 of the source the formula takes for this geometry
};

class CentralLoop : public ::testing::TestWithParam<CentralLoopCase> {};

// Stored voltages in nV per square metre of receiver: 1.0E9 dBz/dt.
TEST_P(CentralLoop, LateTimeHalfSpaceVoltageConvertsBack) {
  const CentralLoopCase c = GetParam();
  const double rho = 40.0, current = 8.0;
  const int turns = 2;
  Sounding s = temSounding(c.type, kGates);
  s.header.loopSizeX = c.Lx;
  s.header.loopSizeY = c.Ly;
  s.header.coilX = c.x;
  s.header.coilY = c.y;
  s.data().AMPS[0] = static_cast<float>(current);
  s.data().NTURNS[0] = turns;
  for (std::size_t i = 0; i < kGates.size(); ++i)
    s.data().VOLTS(i, 0) = static_cast<float>(
        1.0e9 * lateTimeDbzDt(turns * current * c.momentArea, rho, kGates[i] * 1.0e-3));
  const std::vector<float> got = lateTimeApparentResistivity(s);
  for (std::size_t i = 0; i < kGates.size(); ++i)
    EXPECT_NEAR(got[i], rho, 0.02 * rho) << "gate " << kGates[i] << " ms";
}

INSTANTIATE_TEST_SUITE_P(
    Geometries, CentralLoop,
    ::testing::Values(
        CentralLoopCase{"Central Loop TEM", 100.0f, 100.0f, 0.0f, 0.0f, 1.0e4},  // square loop
        CentralLoopCase{"Fixed Loop TEM", 300.0f, 300.0f, 500.0f, 0.0f, 9.0e4},  // outside the loop
        // A single side: a wire of length 200 at offset 100 acts as area 200 x 100 / 2.
        CentralLoopCase{"Central Loop TEM", 0.0f, 200.0f, 100.0f, 0.0f, 1.0e4},
        CentralLoopCase{"Central Loop TEM", 200.0f, 0.0f, 0.0f, -100.0f, 1.0e4}));

// The late-time vertical field of a grounded wire (x-directed, length ds) at
// perpendicular offset y is that of a moment I ds y / 2.
TEST(LotemGeneric, GroundedWireVoltagePerReceiverAreaConvertsBack) {
  const double rho = 25.0, current = 20.0, ds = 250.0, offset = 2000.0, area = 5.0;
  Sounding s = temSounding("Central Loop TEM", kGates);
  s.header.description.assign("LOTEM Generic");
  s.header.loopSizeX = static_cast<float>(ds);
  s.header.coilX = 300.0f;
  s.header.coilY = static_cast<float>(-offset);
  s.data().AMPS[0] = static_cast<float>(current);
  s.data().AREA[0] = static_cast<float>(area);
  for (std::size_t i = 0; i < kGates.size(); ++i)
    s.data().VOLTS(i, 0) = static_cast<float>(
        area * 1.0e9 * lateTimeDbzDt(current * ds * offset / 2.0, rho, kGates[i] * 1.0e-3));
  const std::vector<float> got = lateTimeApparentResistivity(s);
  for (std::size_t i = 0; i < kGates.size(); ++i) EXPECT_NEAR(got[i], rho, 0.02 * rho);
}

struct SignCase {
  std::string_view type;
};
class SignRule : public ::testing::TestWithParam<SignCase> {};

TEST_P(SignRule, NegativeVoltageGivesTheSameMagnitudeNegative) {
  Sounding s = temSounding(GetParam().type, {1.0f, 1.0f});
  s.header.loopSizeX = s.header.loopSizeY = 100.0f;
  s.header.coilX = 30.0f;
  s.data().VOLTS(0, 0) = 0.25f;
  s.data().VOLTS(1, 0) = -0.25f;
  const std::vector<float> got = lateTimeApparentResistivity(s);
  EXPECT_GT(got[0], 0.0f);
  EXPECT_FLOAT_EQ(got[1], -got[0]);
}

INSTANTIATE_TEST_SUITE_P(EveryMode, SignRule,
                         ::testing::Values(SignCase{"Coincident Loop TEM"},
                                           SignCase{"Central Loop TEM"},
                                           SignCase{"Fixed Loop Radial H"},
                                           SignCase{"Fixed Loop Horiz. H"}));

// The radial and outside-horizontal fields fall as rho^-2 at late time, so a
// quarter of the voltage means twice the resistivity; inside the loop the
// horizontal field falls as 1/rho.
TEST(LoopModes, ResistivityScalesWithTheLateTimePowerOfEachField) {
  for (auto [type, x, exponent] : {std::tuple{"Fixed Loop Radial H", 30.0f, 0.5f},
                                   std::tuple{"Cicular Loop Rad. H", 80.0f, 0.5f},
                                   std::tuple{"Fixed Loop Horiz. H", 30.0f, 1.0f},
                                   std::tuple{"Fixed Loop Horiz. H", 300.0f, 0.5f},
                                   std::tuple{"Fixed Loop TEM", 30.0f, 2.0f / 3.0f}}) {
    Sounding s = temSounding(type, {3.0f, 3.0f});
    s.header.loopSizeX = s.header.loopSizeY = 100.0f;
    s.header.coilX = x;
    s.data().VOLTS(0, 0) = 4.0f;
    s.data().VOLTS(1, 0) = 1.0f;
    const std::vector<float> got = lateTimeApparentResistivity(s);
    EXPECT_NEAR(got[1] / got[0], std::pow(4.0f, exponent), 1.0e-3f) << type << " at " << x;
  }
}

TEST(CoincidentLoop, ZeroVoltageGivesZero) {
  Sounding s = temSounding("Coincident Loop TEM", {1.0f});
  s.header.loopSizeX = 100.0f;
  std::vector<float> rho{7.0f};
  const float times[] = {1.0f}, volts[] = {0.0f};
  lateTimeApparentResistivity(s, times, volts, rho);
  EXPECT_EQ(rho[0], 0.0f);
}

// With gate widths, a Sirotem gate past 0.8 ramp times is taken half a ramp
// earlier; narrow gates (w <= t/2) get no width correction.
TEST(CoincidentLoop, SirotemGateIsMovedHalfARampEarlier) {
  const auto gate = [](std::string_view system, float timeMs, int ngeom) {
    Sounding s = temSounding("Coincident Loop TEM", {timeMs});
    s.header.NGEOM = 2;
    EXPECT_TRUE(s.allocateData());
    s.data().TIME(0, 0) = timeMs;
    s.data().TIME(0, 1) = 0.5f;
    s.data().NSET[0] = 1;
    s.data().RAMP[0] = 400.0f;  // 0.4 ms
    s.data().VOLTS(0, 0) = 3.0f;
    s.header.NGEOM = ngeom;
    s.header.loopSizeX = 50.0f;
    s.header.description.assign(system);
    return lateTimeApparentResistivity(s)[0];
  };
  EXPECT_FLOAT_EQ(gate("Sirotem", 2.0f, 2), gate("Other", 1.8f, 2));
  EXPECT_NE(gate("Sirotem", 2.0f, 2), gate("Other", 2.0f, 2));
  // Without gate widths no time correction is made at all.
  EXPECT_FLOAT_EQ(gate("Sirotem", 2.0f, 1), gate("Other", 2.0f, 1));
}

TEST(GateSets, EachSetUsesItsOwnCurrentAndLaterGatesAreLeftAlone) {
  Sounding s = temSounding("Central Loop TEM", {1.0f, 1.0f, 1.0f});
  s.header.NSETS = 2;
  ASSERT_TRUE(s.allocateData());
  for (std::size_t i = 0; i < 3; ++i) {
    s.data().TIME(i, 0) = 1.0f;
    s.data().VOLTS(i, 0) = 1.0f;
  }
  s.data().NSET = {1, 2};  // the third gate belongs to no set
  s.data().AMPS = {1.0f, 8.0f};
  s.header.loopSizeX = s.header.loopSizeY = 100.0f;
  std::vector<float> rho{0.0f, 0.0f, -3.0f};
  const auto& d = s.data();
  lateTimeApparentResistivity(s, d.TIME.column(0), d.VOLTS.column(0), rho);
  EXPECT_NEAR(rho[1] / rho[0], 4.0f, 1.0e-3f);  // (8)^(2/3)
  EXPECT_EQ(rho[2], -3.0f);
}

TEST(GateSets, LoopWithoutSizeLeavesTheGatesAlone) {
  Sounding s = temSounding("Central Loop TEM", {1.0f});
  s.data().VOLTS(0, 0) = 1.0f;
  EXPECT_EQ(lateTimeApparentResistivity(s)[0], 0.0f);
  s.header.dataType.assign("Coincident Loop TEM");
  EXPECT_EQ(lateTimeApparentResistivity(s)[0], 0.0f);
}

Sounding twoSweeps(float secondFrequency) {
  Sounding s = temSounding("Central Loop TEM", {1.0f, 5.0f, 10.0f, 20.0f, 50.0f});
  s.header.NSETS = 2;
  EXPECT_TRUE(s.allocateData());
  const float gates[] = {1.0f, 5.0f, 10.0f, 20.0f, 50.0f};
  for (std::size_t i = 0; i < 5; ++i) s.data().TIME(i, 0) = gates[i];
  s.data().NSET = {3, 5};
  s.data().FREQ = {25.0f, secondFrequency};  // allowed: 250 / 10 = 25 and 250 / 50 = 5
  return s;
}

TEST(SweepCheck, FirstSetBeyondAQuarterPeriodIsReported) {
  zeva::test::ScriptedToolkit toolkit;
  EXPECT_FALSE(checkSweepFrequencies(twoSweeps(6.25f), toolkit));
  ASSERT_EQ(toolkit.messages.size(), 1u);
  EXPECT_EQ(toolkit.messages[0].title, "Kelvorin Library Message");
  EXPECT_EQ(toolkit.messages[0].text,
            "FOR SWEEP     2, REPETITION FREQUENCY      6.250\n"
            " IS GREATER THAN MAX ALLOWABLE FREQUENCY      5.000");
}

TEST(SweepCheck, FrequenciesAtTheLimitPass) {
  zeva::test::ScriptedToolkit toolkit;
  EXPECT_TRUE(checkSweepFrequencies(twoSweeps(5.0f), toolkit));
  EXPECT_TRUE(toolkit.messages.empty());
}

TEST(SweepCheck, SetsThatDoNotMoveOnOrLieBeyondTheDataAreSkipped) {
  Sounding s = twoSweeps(100.0f);
  s.data().NSET = {3, 3};
  EXPECT_FALSE(sweepFrequencyProblem(s).has_value());
  s.data().NSET = {3, 9};
  EXPECT_FALSE(sweepFrequencyProblem(s).has_value());
}

}  // namespace
}  // namespace zeva::forward
