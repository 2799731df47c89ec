#include <gtest/gtest.h>

#include "core/record/current_sounding.h"
#include "core/record/data_type.h"

namespace zeva::core {
namespace {

TEST(FixedText, ComparesAsBlankPaddedText) {
  DataTypeText stored("Wenner Array");
  EXPECT_EQ(stored.padded(), "Wenner Array        ");
  EXPECT_TRUE(stored == "Wenner Array");
  EXPECT_TRUE(stored == "Wenner Array   ");
  EXPECT_FALSE(stored == "Wenner");
  EXPECT_FALSE(stored == "wenner Array");
  EXPECT_EQ(stored.trimmed(), "Wenner Array");
  EXPECT_EQ(NameText("a name longer than twenty-four characters").trimmed(),
            "a name longer than twent");
}

TEST(DataType, TrailingBlanksDoNotMatterButOtherDifferencesDo) {
  EXPECT_EQ(familyOf(DataTypeText("Schlumberger Array  ")), Family::DcResistivity);
  EXPECT_EQ(familyOf(DataTypeText("Vertical Coaxial")), Family::MaxMin);
  EXPECT_EQ(familyOf(DataTypeText("Sea Floor MT data TM")), Family::Magnetotelluric);
  EXPECT_EQ(familyOf(DataTypeText("Cicular Loop Rad. H")), Family::TimeDomainEm);
  EXPECT_EQ(findDataType(DataTypeText(" Schlumberger Array")), nullptr);
  EXPECT_EQ(findDataType(DataTypeText("Schlumberger array")), nullptr);
  EXPECT_EQ(knownDataTypes().size(), 25u);
}

TEST(Sounding, LayerCountIsLoweredToWhatTheParametersHold) {
  Sounding s;
  s.model.NLAYER = 9;
  s.model.NPK = 2;
  s.model.NPAR = 14;  // 5 layers with two kinds: 5 * 2 + 4
  s.repairLayerCount();
  EXPECT_EQ(s.model.NLAYER, 5);
  s.model.NLAYER = 3;  // fewer than the parameters allow: kept
  s.repairLayerCount();
  EXPECT_EQ(s.model.NLAYER, 3);
}

TEST(Sounding, AllocationFollowsTheHeaderCounts) {
  Sounding s;
  s.header.NDATA = 5;
  s.header.NCOMP = 2;
  s.header.NGEOM = 3;
  s.header.NSETS = 2;
  s.header.voltageAndCurrent = kTrue;
  ASSERT_TRUE(s.allocateData());
  EXPECT_EQ(s.data().TIME.cols(), 3u);
  EXPECT_EQ(s.data().VOLTS.cols(), 4u);
  EXPECT_EQ(s.data().UVOLTS.cols(), 2u);
  EXPECT_EQ(s.SVOLT.rows(), 5u);
  EXPECT_EQ(s.data().NTURNS, (std::vector<std::int32_t>{1, 1}));

  s.model.NLAYER = 4;
  s.model.NPK = 2;
  ASSERT_TRUE(s.allocateModel());
  EXPECT_EQ(s.model.NPAR, 11);
  EXPECT_EQ(s.RESOLV.size(), 66u);
  EXPECT_EQ(s.EQUIVA.rows(), 22u);
  EXPECT_EQ(s.ZNMIN.size(), 4u);

  s.header.NDATA = -1;
  EXPECT_FALSE(s.allocateData());
  s.header.NDATA = 2'000'000'000;
  EXPECT_FALSE(s.allocateData());
  EXPECT_TRUE(s.data().TIME.empty());
}

TEST(Sounding, SmoothInstanceSharesOneDataStorage) {
  CurrentSounding current;
  resetToDefault(current);
  EXPECT_TRUE(current.SM.sharesDataWith(current.S));
  current.S.data().VOLTS(3, 0) = 42.0f;
  EXPECT_EQ(current.SM.data().VOLTS(3, 0), 42.0f);
  EXPECT_FALSE(current.SM.hasModel());
  EXPECT_TRUE(current.S.hasModel());
  EXPECT_EQ(current.SM.header.name.trimmed(), "Default Data");
}

TEST(DefaultSounding, HoldsTheListedReadingsAndModel) {
  CurrentSounding current;
  resetToDefault(current);
  const Sounding& S = current.S;
  EXPECT_EQ(S.header.dataType, "Schlumberger Array");
  EXPECT_EQ(S.NDATA(), 22);
  EXPECT_EQ(S.NCOMP(), 1);
  EXPECT_EQ(S.header.NGEOM, 2);
  EXPECT_TRUE(isSet(S.header.voltageAndCurrent));
  EXPECT_TRUE(isSet(S.header.maskingOn));
  EXPECT_EQ(S.header.resistivityUnit.padded(), "(ohm-m)   ");
  EXPECT_EQ(S.header.lengthUnit.padded(), "(meters)  ");
  EXPECT_TRUE(isSet(S.layer.saved));
  EXPECT_FALSE(isSet(S.layer.syntheticValid));
  const auto& d = S.data();
  EXPECT_EQ(d.TIME(0, 0), 4.0f);
  EXPECT_EQ(d.TIME(21, 0), 909.0f);
  EXPECT_EQ(d.TIME(3, 1), 0.8f);
  EXPECT_EQ(d.TIME(4, 1), 1.5f);
  EXPECT_EQ(d.TIME(21, 1), 90.9f);
  EXPECT_EQ(d.VOLTS(0, 0), 159.9f);
  EXPECT_EQ(d.VOLTS(21, 0), 37.0f);
  EXPECT_EQ(d.VOLTS(0, 1), 72.0f);
  EXPECT_EQ(d.VOLTS(21, 2), 104.0f);
  EXPECT_EQ(S.NLAYER(), 7);
  EXPECT_EQ(S.NPAR(), 13);
  EXPECT_EQ(std::vector<float>(S.M.PAR.begin(), S.M.PAR.begin() + 7), std::vector<float>(7, 15.0f));
  EXPECT_EQ(std::vector<float>(S.M.PAR.begin() + 7, S.M.PAR.end()),
            (std::vector<float>{1.0f, 3.5f, 5.0f, 10.0f, 75.0f, 200.0f}));
}

}  // namespace
}  // namespace zeva::core
