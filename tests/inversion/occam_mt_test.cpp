// Occam's inversion of a wide-band MT sounding against an independent
// double-precision Occam on the same layer grid.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/record/sounding.h"
#include "forward/mt_forward.h"
#include "inversion/smooth_model.h"
#include "tests/inversion/mt_soundings.h"
#include "tests/inversion/reference_occam.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::inversion {
namespace {

using core::Sounding;

std::vector<double> bottomDepths(const Sounding& SM) {
  std::vector<double> depth;
  for (int b = 0; b + 1 < SM.NLAYER(); ++b) depth.push_back(SM.M.PAR[SM.geometryIndex(b)]);
  return depth;
}

std::vector<test::MtReading> readings(const Sounding& S) {
  std::vector<test::MtReading> data;
  const auto& d = S.data();
  for (std::size_t i = 0; i < static_cast<std::size_t>(S.NDATA()); ++i)
    data.push_back({d.TIME(i, 0), d.VOLTS(i, 0), d.VOLTS(i, 1), 0.02, 0.02});
  return data;
}

TEST(ReferenceMtResponse, AgreesWithTheProgramsForwardModel) {
  // Two independent codes of the same physics: the double-precision
  // recursion of the reference and the program's single-precision one.
  const std::vector<float> rho{100.0f, 2.0f, 300.0f, 20.0f}, h{300.0f, 500.0f, 3000.0f};
  const std::vector<double> rhoD(rho.begin(), rho.end()), depth{300.0, 800.0, 3800.0};
  for (double f : {1.0e-3, 0.1, 3.0, 1000.0}) {
    const auto [rhoA, phase] = test::referenceMtResponse(rhoD, depth, f);
    const forward::MtResponse program =
        forward::landMtResponse(rho, h, static_cast<float>(1.0 / f));
    EXPECT_NEAR(program.apparentResistivity / rhoA, 1.0, 1e-4) << f << " Hz";
    EXPECT_NEAR(program.phaseDegrees, phase, 0.01) << f << " Hz";
  }
  // A half-space: its resistivity and 45 degrees.
  const auto [rhoA, phase] = test::referenceMtResponse({50.0}, {}, 7.0);
  EXPECT_NEAR(rhoA, 50.0, 1e-9);
  EXPECT_NEAR(phase, 45.0, 1e-9);
}

// The wide-band sounding S and, sharing its data, the smooth instance SM
// that Occam's inversion fits.
void occamOnWideBandMt(Sounding& S, Sounding& SM) {
  test::makeWideBandMt(S);
  S.shareDataWith(SM);
  SM.model.NPK = 1;
  SM.model.LROUGH = core::kTrue;
}

TEST(OccamOnWideBandMt, ReachesTheMisfitOfTheReferenceOccam) {
  zeva::test::ScriptedToolkit toolkit;
  Sounding S, SM;
  occamOnWideBandMt(S, SM);
  RunMonitor monitor(toolkit);
  const SmoothResult result = EstimateSmoothModel(
      SM, core::InversionSettings{}, [](Sounding& s) { forward::mtForward(s); }, monitor, 1);
  ASSERT_EQ(result.status, 0);
  ASSERT_TRUE(core::isSet(SM.layer.syntheticValid));

  // The reference on the program's grid, to the misfit the noise allows.
  const test::ReferenceOccam reference(readings(S), bottomDepths(SM));
  const test::OccamResult occam = reference.run(100.0, 1.0);
  Sounding R = SM;
  for (int j = 0; j < R.NLAYER(); ++j)
    R.M.PAR[static_cast<std::size_t>(j)] =
        static_cast<float>(std::pow(10.0, occam.log10Rho[static_cast<std::size_t>(j)]));
  forward::mtForward(R);
  RecordProperty("program_pcterr", std::to_string(SM.layer.PCTERR));
  RecordProperty("reference_pcterr", std::to_string(R.layer.PCTERR));
  EXPECT_LT(SM.layer.PCTERR, 1.2f * R.layer.PCTERR)
      << "program " << SM.layer.PCTERR << " %, reference " << R.layer.PCTERR << " % (chi "
      << occam.misfit << " after " << occam.iterations << " iterations)";
}

// Phases near zero in the dead band (1 to 200 Hz) of a sounding: they used to
// hold Occam's inversion at its starting half-space.
TEST(OccamOnWideBandMt, PhasesNearZeroDoNotHoldTheFitAtItsStart) {
  zeva::test::ScriptedToolkit toolkit;
  Sounding S, SM;
  test::makeWideBandMt(S);
  for (std::size_t i = 0; i < static_cast<std::size_t>(S.NDATA()); ++i) {
    const float f = S.data().TIME(i, 0);
    if (f > 1.0f && f < 200.0f && i % 3 == 0) S.data().VOLTS(i, 1) = i % 2 == 0 ? 0.5f : -2.0f;
  }
  S.shareDataWith(SM);
  SM.model.NPK = 1;
  SM.model.LROUGH = core::kTrue;
  RunMonitor monitor(toolkit);
  const SmoothResult result = EstimateSmoothModel(
      SM, core::InversionSettings{}, [](Sounding& s) { forward::mtForward(s); }, monitor, 1);
  ASSERT_EQ(result.status, 0);
  EXPECT_TRUE(result.improved);
  // About the fit of the true earth, which the stray phases hold near 19 %,
  // and the conductor shows.
  Sounding truth = S;
  test::setModel(truth, test::kConductorEarth);
  forward::mtForward(truth);
  EXPECT_LT(SM.layer.PCTERR, 1.2f * truth.layer.PCTERR);
  float least = 1e30f;
  for (int j = 0; j < SM.NLAYER(); ++j)
    least = std::min(least, SM.M.PAR[static_cast<std::size_t>(j)]);
  EXPECT_LT(least, 10.0f);
}

// A forward routine whose fit never changes: the smooth fit cannot improve,
// and says so instead of returning its start as a result.
TEST(SmoothModel, AFitThatCannotImproveIsNotComputed) {
  zeva::test::ScriptedToolkit toolkit;
  Sounding S, SM;
  occamOnWideBandMt(S, SM);
  RunMonitor monitor(toolkit);
  const auto flat = [](Sounding& s) {
    forward::mtForward(s);
    s.layer.RMS = 0.3f;
    s.layer.PCTERR = 99.5f;
  };
  const SmoothResult result = EstimateSmoothModel(SM, core::InversionSettings{}, flat, monitor, 1);
  EXPECT_EQ(result.status, 0);
  EXPECT_FALSE(result.improved);
  EXPECT_FALSE(core::isSet(SM.layer.syntheticValid));
}

}  // namespace
}  // namespace zeva::inversion
