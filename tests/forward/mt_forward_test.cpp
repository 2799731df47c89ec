#include "forward/mt_forward.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string_view>
#include <vector>

#include "core/record/data_type.h"
#include "tests/forward/forward_test_support.h"

namespace zeva::forward {
namespace {

using core::Sounding;

constexpr double kPi = 3.14159265358979;
constexpr double kMu0 = 4.0e-7 * kPi;

// An MT sounding of the given type with one reading per frequency, observed
// values 100 ohm-m and 45 degrees, and the model of the given layers.
Sounding mtSounding(std::string_view type, const std::vector<float>& frequencies,
                    const std::vector<float>& resistivities,
                    const std::vector<float>& thicknesses) {
  Sounding s;
  s.header.dataType.assign(type);
  s.header.NDATA = static_cast<int>(frequencies.size());
  s.header.NCOMP = 2;
  s.header.NGEOM = 1;
  EXPECT_TRUE(s.allocateData());
  for (std::size_t i = 0; i < frequencies.size(); ++i) {
    s.data().TIME(i, 0) = frequencies[i];
    s.data().VOLTS(i, 0) = 100.0f;
    s.data().VOLTS(i, 1) = 45.0f;
  }
  test::setModel(s, resistivities, thicknesses);
  return s;
}

std::vector<float> decades(float from, float to, int perDecade) {
  std::vector<float> values;
  for (float f = from; f <= to * 1.0001f; f *= std::pow(10.0f, 1.0f / perDecade))
    values.push_back(f);
  return values;
}

// Apparent resistivity and phase of a two-layer earth from the closed-form
// impedance Z = Z1 (Z2 + Z1 tanh(k1 h)) / (Z1 + Z2 tanh(k1 h)), Z = i omega mu0 / k.
std::pair<double, double> twoLayerClosedForm(double rho1, double h, double rho2, double f) {
  using C = std::complex<double>;
  const double omega = 2.0 * kPi * f;
  const C i(0.0, 1.0);
  const C k1 = std::sqrt(-i * omega * kMu0 / rho1);
  const C Z1 = std::sqrt(i * omega * kMu0 * rho1);
  const C Z2 = std::sqrt(i * omega * kMu0 * rho2);
  const C t = std::tanh(i * k1 * h);
  const C Z = Z1 * (Z2 + Z1 * t) / (Z1 + Z2 * t);
  return {std::norm(Z) / (omega * kMu0), std::arg(Z) * 180.0 / kPi};
}

struct HalfSpaceCase {
  std::string_view type;
  float resistivity;
};

class MtHalfSpace : public ::testing::TestWithParam<HalfSpaceCase> {};

TEST_P(MtHalfSpace, GivesItsResistivityAndFortyFiveDegreesAtEveryFrequency) {
  Sounding s =
      mtSounding(GetParam().type, decades(1.0e-4f, 1.0e4f, 4), {GetParam().resistivity}, {});
  s.header.waterDepth = 0.0f;
  mtForward(s);
  for (std::size_t i = 0; i < s.SVOLT.rows(); ++i) {
    EXPECT_NEAR(s.SVOLT(i, 0), GetParam().resistivity, 1.0e-3f * GetParam().resistivity)
        << "f = " << s.data().TIME(i, 0);
    EXPECT_NEAR(s.SVOLT(i, 1), 45.0f, 0.045f);
  }
}

INSTANTIATE_TEST_SUITE_P(EveryMtType, MtHalfSpace,
                         ::testing::Values(HalfSpaceCase{"Magnetotelluric Data", 100.0f},
                                           HalfSpaceCase{"Magnetotelluric Data", 0.5f},
                                           HalfSpaceCase{"Controlled Source MT", 3000.0f},
                                           HalfSpaceCase{"MT Data xy, yx, inv.", 20.0f},
                                           HalfSpaceCase{"Sea Floor MT data TE", 1.0f},
                                           HalfSpaceCase{"Sea Floor MT data TM", 1000.0f}));

struct TwoLayerCase {
  float rho1, thickness, rho2;
};

class MtTwoLayer : public ::testing::TestWithParam<TwoLayerCase> {};

TEST_P(MtTwoLayer, AgreesWithTheClosedFormImpedance) {
  const auto [rho1, h, rho2] = GetParam();
  Sounding s = mtSounding("Magnetotelluric Data", decades(1.0e-4f, 1.0e4f, 3), {rho1, rho2}, {h});
  mtForward(s);
  for (std::size_t i = 0; i < s.SVOLT.rows(); ++i) {
    const auto [rho, phase] = twoLayerClosedForm(rho1, h, rho2, s.data().TIME(i, 0));
    EXPECT_NEAR(s.SVOLT(i, 0), rho, 1.0e-3 * rho) << "f = " << s.data().TIME(i, 0);
    EXPECT_NEAR(s.SVOLT(i, 1), phase, 0.05);
  }
}

TEST_P(MtTwoLayer, TendsToTheTopLayerAtHighAndTheBasementAtLowFrequency) {
  const auto [rho1, h, rho2] = GetParam();
  Sounding s = mtSounding("Magnetotelluric Data", {1.0e-6f, 1.0e5f}, {rho1, rho2}, {h});
  mtForward(s);
  EXPECT_NEAR(s.SVOLT(1, 0), rho1, 0.01f * rho1);
  EXPECT_NEAR(s.SVOLT(0, 0), rho2, 0.02f * rho2);
  EXPECT_NEAR(s.SVOLT(0, 1), 45.0f, 1.0f);
  EXPECT_NEAR(s.SVOLT(1, 1), 45.0f, 1.0f);
}

INSTANTIATE_TEST_SUITE_P(ConductiveAndResistiveBasement, MtTwoLayer,
                         ::testing::Values(TwoLayerCase{100.0f, 1000.0f, 10.0f},
                                           TwoLayerCase{10.0f, 100.0f, 1000.0f},
                                           TwoLayerCase{1.0f, 50.0f, 30.0f}));

// The land recursion with its square roots, exponentials and divisions
// written out may differ from the recursion in complex single precision, as
// the algorithm states it, only by rounding.
MtResponse complexRecursion(const std::vector<float>& rho, const std::vector<float>& h,
                            float period) {
  using C = std::complex<float>;
  const float omegaMu = 6.2831855f / period * 1.2566e-6f;
  C Z = 1.0f / std::sqrt(C(0.0f, -1.0f / (rho.back() * omegaMu)));
  for (std::size_t j = h.size(); j-- > 0;) {
    const C q = std::sqrt(C(0.0f, -1.0f / (rho[j] * omegaMu)));
    const C k = std::sqrt(C(0.0f, omegaMu / rho[j]));
    const C g = -2.0f * h[j] * k;
    const C E = g.real() > -21.0f ? std::exp(g) : C(0.0f);
    const C a = Z * q;
    Z = ((1.0f + a) - E * (1.0f - a)) / ((1.0f + a) + E * (1.0f - a)) / q;
  }
  return {std::norm(Z) * period / 7.895684e-6f, std::atan2(Z.imag(), Z.real()) * 57.296f};
}

TEST(MtLand, DiffersFromTheComplexRecursionOnlyByRounding) {
  const std::vector<float> rho = {100, 30, 300, 10, 1000, 50, 5, 200, 20, 500};
  const std::vector<float> h = {50, 100, 200, 300, 500, 800, 1500, 3000, 6000};
  for (int i = 0; i < 40; ++i) {
    const float period = std::pow(10.0f, 3.0f - 7.0f * float(i) / 39.0f);
    const MtResponse fast = landMtResponse(rho, h, period);
    const MtResponse plain = complexRecursion(rho, h, period);
    EXPECT_NEAR(fast.apparentResistivity, plain.apparentResistivity,
                2.0e-6f * plain.apparentResistivity)
        << "period " << period;
    EXPECT_NEAR(fast.phaseDegrees, plain.phaseDegrees, 2.0e-6f * std::fabs(plain.phaseDegrees))
        << "period " << period;
  }
}

TEST(MtSeaFloor, ApproachesTheLandResponseAsTheWaterDepthVanishes) {
  const std::vector<float> f = decades(1.0e-3f, 1.0e2f, 2);
  Sounding land = mtSounding("Magnetotelluric Data", f, {30.0f, 3.0f, 300.0f}, {200.0f, 500.0f});
  mtForward(land);
  for (float depth : {0.0f, 1.0e-3f}) {
    Sounding sea = mtSounding("Sea Floor MT data TE", f, {30.0f, 3.0f, 300.0f}, {200.0f, 500.0f});
    sea.header.waterDepth = depth;
    sea.header.seaWaterResistivity = 0.3f;
    mtForward(sea);
    for (std::size_t i = 0; i < f.size(); ++i) {
      EXPECT_NEAR(sea.SVOLT(i, 0), land.SVOLT(i, 0), 2.0e-3f * land.SVOLT(i, 0)) << depth;
      EXPECT_NEAR(sea.SVOLT(i, 1), land.SVOLT(i, 1), 0.1f) << depth;
    }
  }
}

// Q_sf = Q cosh(kh) - sinh(kh)/k for a water layer over a half-space, written
// out directly: fine in double precision while kh stays moderate.
TEST(MtSeaFloor, ThroughTheWaterLayerMatchesTheDirectHyperbolicForm) {
  using C = std::complex<double>;
  const double rhoWater = 0.3, depth = 500.0, rho = 50.0;
  for (double f : {1.0e-3, 1.0e-2, 0.1, 1.0}) {
    const double omega = 6.2832 * f;
    const C kw = std::sqrt(C(0.0, omega * 1.2566e-6 / rhoWater));
    const C kb = std::sqrt(C(0.0, omega * 1.2566e-6 / rho));
    const C Qb = 1.0 / kb;  // below the water
    const C p = kw * Qb;
    const C r = std::exp(-2.0 * kw * depth) * (p - 1.0) / (p + 1.0);
    const C Qw = (1.0 / kw) * (1.0 + r) / (1.0 - r);  // at the sea surface
    const C Qsf = Qw * std::cosh(kw * depth) - std::sinh(kw * depth) / kw;
    const MtResponse got =
        seaFloorMtResponse(std::vector<double>{rho}, {}, depth, rhoWater, 1.0 / f);
    const double expected = std::norm(Qsf) * omega * 1.2566e-6;
    EXPECT_NEAR(got.apparentResistivity, expected, 1.0e-4 * expected) << f;
    EXPECT_NEAR(got.phaseDegrees, std::arg(Qsf) * 180.0 / kPi + 90.0, 0.01) << f;
  }
}

TEST(MtSeaFloor, DeepWaterAtHighFrequencyGivesAFiniteResponse) {
  const MtResponse got = seaFloorMtResponse(std::vector<double>{10.0}, {}, 4000.0, 0.3, 1.0e-3);
  EXPECT_TRUE(std::isfinite(got.apparentResistivity));
  EXPECT_GE(got.apparentResistivity, 0.0f);
  EXPECT_TRUE(std::isfinite(got.phaseDegrees));
}

TEST(MtFit, PhaseResidualUsesTheOffsetOfFortyFiveDegrees) {
  Sounding s = mtSounding("Magnetotelluric Data", {1.0f}, {100.0f}, {});
  s.header.maskingOn = core::kTrue;
  s.data().LMASK(0, 0) = core::kTrue;  // fit the phase only
  s.data().VOLTS(0, 1) = 0.0f;
  mtForward(s);
  EXPECT_EQ(s.data().VOLTS(0, 1), 0.0f) << "a measured phase of 0 is kept";
  EXPECT_NEAR(s.layer.RMS, std::log10(2.0f), 1.0e-4f);
  EXPECT_NEAR(s.layer.PCTERR, 100.0f, 0.03f);
}

TEST(MtFit, MissingReadingIsComputedButNotCounted) {
  Sounding s = mtSounding("Magnetotelluric Data", {1.0f, 10.0f}, {100.0f}, {});
  s.data().VOLTS(0, 0) = 1.0e11f;
  s.data().VOLTS(1, 0) = 1000.0f;  // a misfit of one decade
  s.data().VOLTS(1, 1) = 45.0f;
  mtForward(s);
  EXPECT_NEAR(s.SVOLT(0, 0), 100.0f, 0.1f);
  // Three values counted: the phase of reading 1 and both values of reading 2.
  EXPECT_NEAR(s.layer.RMS, std::sqrt(1.0f / 3.0f), 1.0e-3f);
}

TEST(MtFit, ErrorWeightedFitGoesToLayerHeaderWordThree) {
  Sounding s = mtSounding("Magnetotelluric Data", {1.0f, 10.0f}, {100.0f}, {});
  s.header.maskingOn = core::kTrue;
  s.data().LMASK(0, 1) = s.data().LMASK(1, 1) = core::kTrue;
  s.data().VOLTS(0, 0) = 100.0f * std::pow(10.0f, 0.1f);  // d = -0.1
  s.data().VOLTS(1, 0) = 100.0f;                          // d = 0
  s.data().UVOLTS(0, 0) = 1.0f;                           // w^2 = 1
  s.data().UVOLTS(1, 0) = 0.5f;                           // w^2 = 4
  s.layer.errorWeighting = core::kTrue;
  mtForward(s);
  EXPECT_NEAR(s.layer.RMS, std::sqrt(0.01f / 2.0f), 1.0e-4f);
  EXPECT_NEAR(s.layer.weightedFit, std::sqrt(0.01f / 5.0f), 1.0e-4f);
}

TEST(MtFit, AllValuesMaskedGiveZeroFitAndValidSynthetics) {
  Sounding s = mtSounding("Magnetotelluric Data", {1.0f, 10.0f}, {100.0f}, {});
  s.header.maskingOn = core::kTrue;
  for (auto& m : s.data().LMASK.elements()) m = core::kTrue;
  s.layer.RMS = s.layer.PCTERR = 7.0f;
  mtForward(s);
  EXPECT_EQ(s.layer.RMS, 0.0f);
  EXPECT_EQ(s.layer.PCTERR, 0.0f);
  EXPECT_TRUE(core::isSet(s.layer.syntheticValid));
  EXPECT_FALSE(core::isSet(s.layer.saved));
}

TEST(MtForward, DepthsThatDoNotIncreaseRefuseTheModel) {
  Sounding s =
      mtSounding("Magnetotelluric Data", {1.0f, 10.0f}, {10.0f, 100.0f, 10.0f}, {10.0f, 10.0f});
  s.model.depths = core::kTrue;
  mtForward(s);
  EXPECT_EQ(s.layer.RMS, 1.0e10f);
  EXPECT_EQ(s.layer.PCTERR, 1.0e10f);
  EXPECT_EQ(s.SVOLT(0, 0), 1.0e20f);
  EXPECT_EQ(s.SVOLT(1, 0), 1.0e20f);
  EXPECT_FALSE(core::isSet(s.layer.syntheticValid));
}

TEST(MtForward, DepthModeGivesTheSameResponseAsThicknesses) {
  Sounding thick = mtSounding("Magnetotelluric Data", decades(0.01f, 100.0f, 2),
                              {10.0f, 100.0f, 1.0f}, {20.0f, 300.0f});
  Sounding deep = mtSounding("Magnetotelluric Data", decades(0.01f, 100.0f, 2),
                             {10.0f, 100.0f, 1.0f}, {20.0f, 320.0f});
  deep.model.depths = core::kTrue;
  mtForward(thick);
  mtForward(deep);
  for (std::size_t i = 0; i < thick.SVOLT.rows(); ++i) {
    EXPECT_FLOAT_EQ(deep.SVOLT(i, 0), thick.SVOLT(i, 0));
    EXPECT_FLOAT_EQ(deep.SVOLT(i, 1), thick.SVOLT(i, 1));
  }
}

TEST(MtForward, NonPhysicalValuesAreReplacedByTen) {
  Sounding s = mtSounding("Magnetotelluric Data", {1.0f}, {-5.0f, 100.0f}, {0.0f});
  s.data().VOLTS(0, 0) = 0.0f;
  mtForward(s);
  EXPECT_EQ(s.M.PAR[0], 10.0f);
  EXPECT_EQ(s.M.PAR[2], 10.0f);
  EXPECT_EQ(s.data().VOLTS(0, 0), 10.0f);
}

TEST(MtForward, NonPositiveFrequencyGivesTheSentinelAndIsNotCounted) {
  Sounding s = mtSounding("Magnetotelluric Data", {0.0f, 10.0f}, {100.0f}, {});
  s.data().VOLTS(1, 0) = 1000.0f;
  mtForward(s);
  EXPECT_EQ(s.SVOLT(0, 0), 1.0e20f);
  EXPECT_EQ(s.SVOLT(0, 1), 1.0e20f);
  EXPECT_NEAR(s.layer.RMS, std::sqrt(1.0f / 2.0f), 1.0e-3f);
}

TEST(MtForward, ModelWithoutLayersChangesNothing) {
  Sounding s = mtSounding("Magnetotelluric Data", {1.0f}, {}, {});
  s.SVOLT(0, 0) = 3.0f;
  mtForward(s);
  EXPECT_EQ(s.SVOLT(0, 0), 3.0f);
  EXPECT_FALSE(core::isSet(s.layer.syntheticValid));
}

}  // namespace
}  // namespace zeva::forward
