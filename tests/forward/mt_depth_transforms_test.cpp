// Bostick and Niblett depth transforms against the half-space, where both
// must return the half-space's resistivity at the skin-depth scale, and the
// readings each of them keeps or leaves out.

#include "forward/mt_depth_transforms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "core/record/data_type.h"

namespace zeva::forward {
namespace {

// MT data of the given frequencies (Hz), apparent resistivities and phases.
void fillMt(core::Sounding& S, const std::vector<float>& frequency, const std::vector<float>& rho,
            const std::vector<float>& phase) {
  S.header.dataType.assign(core::type::kMagnetotelluric);
  S.header.NDATA = static_cast<int>(frequency.size());
  S.header.NCOMP = 2;
  S.header.NGEOM = 1;
  S.header.NSETS = 1;
  S.header.maskingOn = core::kTrue;
  ASSERT_TRUE(S.allocateData());
  auto& d = S.data();
  for (std::size_t i = 0; i < frequency.size(); ++i) {
    d.TIME(i, 0) = frequency[i];
    d.VOLTS(i, 0) = rho[i];
    d.VOLTS(i, 1) = phase[i];
  }
  d.NSET[0] = S.header.NDATA;
}

// Thirteen frequencies from 1000 Hz down, two per decade, over a half-space:
// apparent resistivity equal to the true one and a phase of 45 degrees.
void halfSpaceMt(core::Sounding& S, float rho) {
  std::vector<float> f;
  for (int i = 0; i < 13; ++i) f.push_back(std::pow(10.0f, 3.0f - 0.5f * static_cast<float>(i)));
  fillMt(S, f, std::vector<float>(f.size(), rho), std::vector<float>(f.size(), 45.0f));
}

TEST(MtTransforms, HalfSpaceGivesItsResistivityAtTheSkinDepthScale) {
  core::Sounding S;
  halfSpaceMt(S, 100.0f);
  const DepthCurve bostick = BostickModel(S, false);
  const DepthCurve niblett = NiblettModel(S, false);
  ASSERT_EQ(bostick.depth.size(), 12u);
  ASSERT_EQ(niblett.depth.size(), 13u);
  for (float rho : bostick.resistivity) EXPECT_NEAR(rho, 100.0f, 0.01f);
  for (float rho : niblett.resistivity) EXPECT_NEAR(rho, 100.0f, 0.01f);
  // Depth of a 45-degree half-space: 356 sqrt(rho / f), and Bostick's
  // 503 sqrt(rho / (2 f)) at the geometric mean frequency of each pair.
  const auto& d = S.data();
  EXPECT_NEAR(niblett.depth[0], 355.88126f * std::sqrt(100.0f / d.TIME(0, 0)), 1e-2f);
  const float fm = std::sqrt(d.TIME(0, 0) * d.TIME(1, 0));
  EXPECT_NEAR(bostick.depth[0], 503.0f * std::sqrt(0.5f * 100.0f / fm), 1e-2f);
  EXPECT_TRUE(std::ranges::is_sorted(niblett.depth));
}

TEST(MtTransforms, MaskedReadingsAreLeftOutUnlessIncluded) {
  core::Sounding S;
  halfSpaceMt(S, 100.0f);
  S.data().LMASK(3, 0) = core::kTrue;
  EXPECT_EQ(NiblettModel(S, false).depth.size(), 12u);
  EXPECT_EQ(NiblettModel(S, true).depth.size(), 13u);
  EXPECT_EQ(BostickModel(S, false).depth.size(), 11u);
}

TEST(MtTransforms, BostickSkipsNearlyEqualFrequencies) {
  core::Sounding S;
  fillMt(S, {100, 95, 10, 1}, {10, 10, 10, 10}, {45, 45, 45, 45});
  EXPECT_EQ(BostickModel(S, false).depth.size(), 2u);
}

TEST(MtTransforms, NiblettUsesEveryReadingWhenFrequenciesRise) {
  core::Sounding S;
  halfSpaceMt(S, 100.0f);
  auto& d = S.data();
  for (int i = 0, j = S.NDATA() - 1; i < j; ++i, --j) std::swap(d.TIME(i, 0), d.TIME(j, 0));
  const DepthCurve n = NiblettModel(S, false);
  EXPECT_EQ(n.depth.size(), 13u);
  EXPECT_TRUE(std::ranges::is_sorted(n.depth));
  EXPECT_NEAR(n.depth.front(), 355.88126f * std::sqrt(100.0f / 1000.0f), 1e-3f);
}

TEST(MtTransforms, NiblettKeepsOnlyIncreasingDepths) {
  core::Sounding S;
  // The third reading's depth (rho 1 at 0.1 Hz) is shallower than the second's.
  fillMt(S, {10, 1, 0.1f, 0.01f}, {100, 100, 1, 100}, {45, 45, 45, 45});
  const DepthCurve n = NiblettModel(S, false);
  EXPECT_EQ(n.depth.size(), 3u);
  EXPECT_TRUE(std::ranges::is_sorted(n.depth));
}

}  // namespace
}  // namespace zeva::forward
