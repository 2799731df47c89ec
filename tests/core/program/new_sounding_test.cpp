// New soundings typed in by hand and edited data: the header of each family,
// and the current sounding taking (or refusing) the readings of the editor.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/program/program.h"
#include "core/record/data_type.h"
#include "files/sounding_import.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::core {
namespace {

using Texts = std::vector<std::string>;

struct HeaderCase {
  NewSoundingKind kind;
  std::string_view dataType;
  int ncomp, ngeom;
  std::string_view name;
};

class NewSoundingHeaderOf : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(NewSoundingHeaderOf, FamilyGivesItsCountsAndStarredName) {
  NewSoundingChoices choices;
  choices.dataType = GetParam().dataType;
  const DataHeader h = newSoundingHeader(GetParam().kind, choices);
  EXPECT_TRUE(h.dataType == GetParam().dataType);
  EXPECT_EQ(h.NDATA, 0);
  EXPECT_EQ(h.NCOMP, GetParam().ncomp);
  EXPECT_EQ(h.NGEOM, GetParam().ngeom);
  EXPECT_EQ(h.name.trimmed(), GetParam().name);
  EXPECT_NE(h.name.trimmed().find('*'), std::string::npos);
  EXPECT_TRUE(isSet(h.maskingOn));
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, NewSoundingHeaderOf,
    ::testing::Values(
        HeaderCase{NewSoundingKind::Dc, type::kSchlumberger, 1, 2, "New DC Data *"},
        HeaderCase{NewSoundingKind::Dc, type::kWenner, 1, 1, "New DC Data *"},
        HeaderCase{NewSoundingKind::Dc, type::kDipoleDipole, 1, 1, "New DC Data *"},
        HeaderCase{NewSoundingKind::DcIp, type::kPolePole, 2, 1, "New DC/IP Data *"},
        HeaderCase{NewSoundingKind::MaxMin, type::kVerticalCoaxial, 2, 3, "New MaxMin Data *"},
        HeaderCase{NewSoundingKind::EmConductivity, type::kEmConductivity, 2, 3, "New EMS Data *"},
        HeaderCase{NewSoundingKind::Mt, type::kMagnetotelluric, 2, 1, "New MT Data *"},
        HeaderCase{NewSoundingKind::Tem, type::kCoincidentLoopTem, 1, 1, "New TEM Data *"}));

TEST(NewSoundingHeader, ATypeOfAnotherFamilyFallsBackOnTheKindsOwn) {
  NewSoundingChoices choices;
  choices.dataType = "Magnetotelluric Data";
  EXPECT_TRUE(newSoundingHeader(NewSoundingKind::Dc, choices).dataType == type::kSchlumberger);
  choices.dataType = "Schlumberger Array with a name too long";
  EXPECT_TRUE(newSoundingHeader(NewSoundingKind::DcIp, choices).dataType == type::kSchlumberger);
  EXPECT_FALSE(newSoundingTypeAllowed(NewSoundingKind::Tem, "Vertical Coaxial"));
}

TEST(NewSoundingHeader, DialogChoicesEndInTheHeader) {
  NewSoundingChoices choices;
  choices.dataType = "Central Loop TEM";
  choices.temVoltageUnit = "uV/Amp";
  choices.lengthUnit = "(feet)";
  DataHeader h = newSoundingHeader(NewSoundingKind::Tem, choices);
  EXPECT_EQ(h.temVoltageUnit.trimmed(), "uV/Amp");
  EXPECT_EQ(h.lengthUnit.trimmed(), "(feet)");
  choices.dataType = "Wenner Array";
  choices.ipUnit = "(mRad)";
  h = newSoundingHeader(NewSoundingKind::DcIp, choices);
  EXPECT_EQ(h.ipUnit.trimmed(), "(mRad)");
  // IP readings take the second data column; voltage and current cannot.
  choices.voltageAndCurrent = true;
  EXPECT_FALSE(isSet(newSoundingHeader(NewSoundingKind::DcIp, choices).voltageAndCurrent));
  EXPECT_TRUE(isSet(newSoundingHeader(NewSoundingKind::Dc, choices).voltageAndCurrent));
  choices.dataType = "Vertical Coplanar";
  choices.mode = 2;
  EXPECT_EQ(newSoundingHeader(NewSoundingKind::MaxMin, choices).mode, 2);
}

// Readings of a homogeneous earth of `rho` ohm-m on a Wenner spread.
Sounding wennerHalfSpace(float rho, const std::vector<float>& spacings) {
  NewSoundingChoices choices;
  choices.dataType = "Wenner Array";
  DataHeader header = newSoundingHeader(NewSoundingKind::Dc, choices);
  header.NDATA = static_cast<int>(spacings.size());
  Sounding s;
  EXPECT_TRUE(files::beginImportedData(s, header));
  for (std::size_t i = 0; i < spacings.size(); ++i) {
    s.data().TIME(i, 0) = spacings[i];
    s.data().VOLTS(i, 0) = rho;
    s.data().UVOLTS(i, 0) = 0.05f * rho;
  }
  return s;
}

TEST(NewSounding, TypedHalfSpaceIsFitExactlyByTheUniformModel) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  // The default model is 15 ohm-m in every layer: a homogeneous earth.
  Sounding entered = wennerHalfSpace(15.0f, {1, 2, 5, 10, 20, 50, 100, 200});
  ASSERT_TRUE(program.data().newSounding(entered));
  const Sounding& S = program.S();
  EXPECT_EQ(S.NDATA(), 8);
  EXPECT_EQ(S.header.name.trimmed(), "New DC Data *");
  EXPECT_TRUE(S.header.dataType == type::kWenner);
  EXPECT_FALSE(isSet(S.layer.saved));
  EXPECT_FALSE(isSet(S.layer.syntheticValid));
  EXPECT_TRUE(S.sharesDataWith(program.SM()));
  EXPECT_TRUE(program.state().autoscalePending());
  ASSERT_TRUE(program.model().forwardModel());
  for (int i = 0; i < S.NDATA(); ++i) EXPECT_NEAR(S.SVOLT(i, 0), 15.0f, 0.05f) << i;
  EXPECT_LT(S.layer.PCTERR, 0.5f);
  EXPECT_TRUE(toolkit.messages.empty());
}

TEST(NewSounding, EmConductivityModelCarriesConductivitiesInMillisiemens) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  NewSoundingChoices choices;
  DataHeader header = newSoundingHeader(NewSoundingKind::EmConductivity, choices);
  header.NDATA = 3;
  Sounding entered;
  ASSERT_TRUE(files::beginImportedData(entered, header));
  for (int i = 0; i < 3; ++i) {
    entered.data().TIME(i, 0) = 9800.0f;
    entered.data().TIME(i, 1) = 10.0f * static_cast<float>(i + 1);
    entered.data().VOLTS(i, 0) = entered.data().VOLTS(i, 1) = 20.0f;
  }
  ASSERT_TRUE(program.data().newSounding(entered));
  // 15 ohm-m is 1000 / 15 mS/m.
  EXPECT_NEAR(program.S().M.PAR[0], 66.667f, 0.01f);
}

TEST(NewSounding, NoReadingsAreRefusedAndTheSoundingStays) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  NewSoundingChoices choices;
  Sounding entered;
  ASSERT_TRUE(files::beginImportedData(entered, newSoundingHeader(NewSoundingKind::Mt, choices)));
  EXPECT_FALSE(program.data().newSounding(entered));
  EXPECT_EQ(toolkit.texts(), Texts{"A sounding needs at least one reading"});
  EXPECT_EQ(program.S().NDATA(), 22);
  EXPECT_TRUE(program.S().header.dataType == type::kSchlumberger);
  EXPECT_TRUE(isSet(program.S().layer.saved));
}

TEST(ReplaceData, EditedReadingsKeepTheSoundingsNameAndDropStaleSynthetics) {
  zeva::test::ScriptedToolkit toolkit;
  Program program(toolkit);
  ASSERT_TRUE(program.model().forwardModel());
  Sounding edited = wennerHalfSpace(40.0f, {3, 6, 12});
  ASSERT_TRUE(program.data().replaceData(edited));
  const Sounding& S = program.S();
  EXPECT_EQ(S.header.name.trimmed(), "Default Data");
  EXPECT_EQ(program.SM().header.name.trimmed(), "Default Data");
  EXPECT_EQ(S.NDATA(), 3);
  EXPECT_FALSE(isSet(S.layer.syntheticValid));
  EXPECT_FALSE(isSet(S.layer.saved));
  EXPECT_EQ(S.SVOLT.rows(), 3u);
}

}  // namespace
}  // namespace zeva::core
