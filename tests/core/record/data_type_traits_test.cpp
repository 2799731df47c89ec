#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/record/data_type.h"

namespace zeva::core {
namespace {

std::set<DataTypeId> idsWhere(bool (*has)(const DataTypeTraits&)) {
  std::set<DataTypeId> ids;
  for (const DataTypeTraits& row : knownDataTypes())
    if (has(row)) ids.insert(row.id);
  return ids;
}

TEST(DataTypeTraits, EveryStoredTextFindsItsOwnRowAndOnlyThat) {
  std::set<DataTypeId> ids;
  std::set<std::string_view> texts;
  for (const DataTypeTraits& row : knownDataTypes()) {
    EXPECT_NE(row.id, DataTypeId::Unknown) << row.text;
    EXPECT_LE(row.text.size(), 20u) << row.text;
    EXPECT_TRUE(ids.insert(row.id).second) << row.text;
    EXPECT_TRUE(texts.insert(row.text).second) << row.text;
    // Looked up from the padded header text and from the id alike.
    const DataTypeText stored(row.text);
    EXPECT_EQ(stored.padded().size(), 20u);
    EXPECT_EQ(&traitsOf(stored), &row) << row.text;
    EXPECT_EQ(&traitsOf(row.id), &row) << row.text;
    EXPECT_EQ(textOf(row.id), row.text);
  }
  // Every id but Unknown names a row.
  EXPECT_EQ(ids.size(), static_cast<std::size_t>(DataTypeId::MarineTemBSide));
}

TEST(DataTypeTraits, AnUnknownTextGetsTheUnknownRow) {
  for (const char* text : {"", "Schlumberger array", " Wenner Array", "Circular Loop Rad. H"}) {
    const DataTypeTraits& row = traitsOf(DataTypeText(text));
    EXPECT_EQ(row.id, DataTypeId::Unknown) << text;
    EXPECT_EQ(row.family, Family::Unknown) << text;
    EXPECT_FALSE(row.separationFactor()) << text;
    EXPECT_FALSE(row.dipoleLengthInFactor) << text;
    EXPECT_EQ(row.lateTimeField, LateTimeField::None) << text;
  }
  EXPECT_EQ(textOf(DataTypeId::Unknown), "");
}

TEST(DataTypeTraits, FamilyPredicatesAgreeWithTheRowsFamily) {
  for (const DataTypeTraits& row : knownDataTypes()) {
    const DataTypeText text(row.text);
    EXPECT_EQ(isDcResistivity(text), row.family == Family::DcResistivity) << row.text;
    EXPECT_EQ(isMaxMin(text), row.family == Family::MaxMin) << row.text;
    EXPECT_EQ(isMagnetotelluric(text), row.family == Family::Magnetotelluric) << row.text;
    EXPECT_EQ(isTem(text), row.family == Family::TimeDomainEm) << row.text;
  }
  // The coil configurations are the MaxMin family; the sea-floor and
  // controlled-source soundings are magnetotelluric; the stored spelling of
  // the circular loop is a transient type.
  EXPECT_EQ(idsWhere([](const DataTypeTraits& r) { return r.family == Family::MaxMin; }),
            (std::set{DataTypeId::HorizontalCoplanar, DataTypeId::VerticalCoplanar,
                      DataTypeId::VerticalCoaxial}));
  EXPECT_EQ(familyOf(DataTypeText("Controlled Source MT")), Family::Magnetotelluric);
  EXPECT_EQ(familyOf(DataTypeText("Cicular Loop Rad. H")), Family::TimeDomainEm);
}

TEST(DataTypeTraits, RowsAreConsistentWithinEachFamily) {
  for (const DataTypeTraits& row : knownDataTypes()) {
    const bool tem = row.family == Family::TimeDomainEm;
    // Transient soundings take the transient routine, or have none and are
    // only converted to late-time resistivity; no other family does either.
    EXPECT_EQ(row.forward == ForwardKind::None || row.forward == ForwardKind::TransientEm, tem)
        << row.text;
    EXPECT_EQ(row.lateTimeField != LateTimeField::None, tem) << row.text;
    EXPECT_EQ(row.abscissa == Abscissa::GateTime, tem) << row.text;
    EXPECT_EQ(row.values == DataValues::GateVoltage, tem) << row.text;
    EXPECT_TRUE(!row.loopTem || tem) << row.text;
    // Only the ground conductivity meter models conductivities.
    EXPECT_EQ(row.conductivityModel, row.family == Family::EmConductivity) << row.text;
    const bool mt = row.family == Family::Magnetotelluric;
    EXPECT_EQ(row.abscissa == Abscissa::Frequency, mt) << row.text;
    EXPECT_TRUE(!row.seaFloor || mt) << row.text;
    // Electrode geometry belongs to the DC arrays.
    const bool dc = row.family == Family::DcResistivity;
    EXPECT_TRUE(!row.dipoleLengthInFactor || dc) << row.text;
    EXPECT_TRUE(!row.potentialSpacing || dc) << row.text;
    EXPECT_EQ(row.forward == ForwardKind::DcResistivity, dc) << row.text;
  }
}

TEST(DataTypeTraits, TheTwoDipoleRulesHaveTheirOwnMembers) {
  using enum DataTypeId;
  // Readings in separation factors n of the header's dipole length: only the
  // arrays whose dipoles are n dipole lengths apart.
  EXPECT_EQ(idsWhere([](const DataTypeTraits& r) { return r.separationFactor(); }),
            (std::set{DipoleDipole, PoleDipole}));
  // The geometric factor takes the dipole length for those and for the
  // polar dipole and perpendicular arrays, whose spacing is a distance.
  EXPECT_EQ(idsWhere([](const DataTypeTraits& r) { return r.dipoleLengthInFactor; }),
            (std::set{DipoleDipole, PoleDipole, PolarDipole, Perpendicular}));
  EXPECT_EQ(idsWhere([](const DataTypeTraits& r) { return r.potentialSpacing; }),
            (std::set{Schlumberger}));
  EXPECT_EQ(idsWhere([](const DataTypeTraits& r) { return r.loopTem; }),
            (std::set{CentralLoopTem, CoincidentLoopTem, FixedLoopTem}));
  EXPECT_EQ(idsWhere([](const DataTypeTraits& r) { return r.seaFloor; }),
            (std::set{SeaFloorMtTe, SeaFloorMtTm}));
}

}  // namespace
}  // namespace zeva::core
