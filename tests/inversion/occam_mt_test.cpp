// Occam's inversion of a wide-band MT sounding measured against the fit of
// the earth its data were made from.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/record/sounding.h"
#include "forward/mt_forward.h"
#include "inversion/smooth_model.h"
#include "tests/inversion/mt_soundings.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::inversion {
namespace {

using core::Sounding;

// The fit of the true earth to the (noisy) data of S: the level a smooth
// model reaches once it has taken all the data has to tell.
float trueEarthFit(const Sounding& S) {
  Sounding truth = S;
  test::setModel(truth, test::kConductorEarth);
  forward::mtForward(truth);
  return truth.layer.PCTERR;
}

// The wide-band sounding S and, sharing its data, the smooth instance SM
// that Occam's inversion fits.
void occamOnWideBandMt(Sounding& S, Sounding& SM) {
  test::makeWideBandMt(S);
  S.shareDataWith(SM);
  SM.model.NPK = 1;
  SM.model.LROUGH = core::kTrue;
}

TEST(OccamOnWideBandMt, FitsTheDataAboutAsWellAsTheTrueEarth) {
  zeva::test::ScriptedToolkit toolkit;
  Sounding S, SM;
  occamOnWideBandMt(S, SM);
  RunMonitor monitor(toolkit);
  const SmoothResult result = EstimateSmoothModel(
      SM, core::InversionSettings{}, [](Sounding& s) { forward::mtForward(s); }, monitor, 1);
  ASSERT_EQ(result.status, 0);
  ASSERT_TRUE(core::isSet(SM.layer.syntheticValid));
  // Smooth layers cannot follow the true earth's sharp boundaries exactly:
  // within a fifth of its fit is the noise level reached.
  RecordProperty("true_earth_pcterr", std::to_string(trueEarthFit(S)));
  EXPECT_LT(SM.layer.PCTERR, 1.2f * trueEarthFit(S));
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
  EXPECT_LT(SM.layer.PCTERR, 1.2f * trueEarthFit(S));
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
