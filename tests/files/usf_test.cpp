#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "core/record/data_type.h"
#include "files/sounding_import.h"
#include "files/usf_reader.h"
#include "files/usf_writer.h"
#include "tests/support/result_texts.h"
#include "tests/support/test_support.h"

namespace zeva::files {
namespace {

using core::Sounding;

// A sounding of `type` with `ndata` points whose values differ from point to
// point and component to component.
Sounding makeSounding(std::string_view type, int ndata, int ncomp, int ngeom, int nsets = 1) {
  Sounding s;
  core::DataHeader h = importedDataHeader(core::DataTypeText(type));
  h.name.assign("Station 7, line B");
  h.NDATA = ndata, h.NCOMP = ncomp, h.NGEOM = ngeom, h.NSETS = nsets;
  h.east = 512345.5f, h.north = 6123456.0f, h.elevation = 312.25f;
  h.azimuth = 45.5f, h.date = 20260412, h.timeOfDay = 13.75f;
  EXPECT_TRUE(beginImportedData(s, h));
  core::SoundingData& d = s.data();
  for (std::size_t i = 0; i < static_cast<std::size_t>(ndata); ++i) {
    for (std::size_t g = 0; g < static_cast<std::size_t>(ngeom); ++g)
      d.TIME(i, g) = std::pow(1.4f, static_cast<float>(i)) * (1.0f + 0.37f * static_cast<float>(g));
    for (std::size_t c = 0; c < static_cast<std::size_t>(ncomp); ++c) {
      d.VOLTS(i, c) = 100.0f / (1.0f + static_cast<float>(i)) + 3.3f * static_cast<float>(c);
      d.UVOLTS(i, c) = 0.05f * static_cast<float>(i + c + 1);
      d.LMASK(i, c) = core::logical((i + c) % 3 == 1);
    }
  }
  return s;
}

std::string usfText(const Sounding& s) {
  std::ostringstream out;
  EXPECT_TRUE(writeUsf(out, s));
  return out.str();
}

struct ReadBack {
  bool ok = false;
  Sounding sounding;
  Result result;
};

std::unique_ptr<ReadBack> readText(const std::string& text, int number = 1) {
  auto result = std::make_unique<ReadBack>();
  std::istringstream in(text);
  result->result = readUsfSounding(in, number, result->sounding);
  result->ok = result->result.ok;
  return result;
}

void expectNear(float actual, float expected, const char* what, std::size_t i) {
  EXPECT_NEAR(actual, expected, 1e-6f * std::fabs(expected) + 1e-30f)
      << what << " of point " << i + 1;
}

void expectSameHeader(const core::DataHeader& a, const core::DataHeader& b) {
  EXPECT_EQ(a.dataType, b.dataType);
  EXPECT_EQ(a.name.trimmed(), b.name.trimmed());
  EXPECT_EQ(a.NDATA, b.NDATA);
  EXPECT_EQ(a.NCOMP, b.NCOMP);
  EXPECT_EQ(a.east, b.east);
  EXPECT_EQ(a.north, b.north);
  EXPECT_EQ(a.elevation, b.elevation);
  EXPECT_EQ(a.azimuth, b.azimuth);
  EXPECT_EQ(a.date, b.date);
  EXPECT_EQ(a.timeOfDay, b.timeOfDay);
}

// Every type the writer writes a data block for, with the columns it writes.
struct RoundTripCase {
  std::string_view type;
  int ncomp, ngeom, mode;
  bool errorsAndMasks;
  std::string_view ipUnit;
};

class UsfRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(UsfRoundTrip, WrittenSoundingReadsBackWithItsData) {
  const RoundTripCase& c = GetParam();
  Sounding s = makeSounding(c.type, 9, c.ncomp, c.ngeom);
  s.header.mode = c.mode;
  s.header.ipUnit.assign(c.ipUnit);
  s.header.dipoleLength = 25.0f;
  if (core::isMaxMin(s.header.dataType)) {
    // The fixed geometry is one value for the whole sounding.
    for (std::size_t g = 0; g < 3; ++g)
      if (static_cast<int>(g) + 1 != c.mode && c.mode != 0)
        for (std::size_t i = 0; i < 9; ++i) s.data().TIME(i, g) = 40.0f + static_cast<float>(g);
  }
  const auto back = readText(usfText(s));
  ASSERT_TRUE(back->ok) << test::lastText(back->result);
  EXPECT_TRUE(back->result.messages.empty()) << test::lastText(back->result);
  const Sounding& r = back->sounding;
  expectSameHeader(r.header, s.header);
  EXPECT_EQ(r.header.NGEOM, c.ngeom);
  if (c.mode >= 0) {
    EXPECT_EQ(r.header.mode, c.mode);
  }
  if (!c.ipUnit.empty()) {
    EXPECT_EQ(r.header.ipUnit, c.ipUnit);
  }
  if (s.header.dataType == core::type::kDipoleDipole) {
    EXPECT_EQ(r.header.dipoleLength, 25.0f);
  }
  for (std::size_t i = 0; i < 9; ++i) {
    for (std::size_t g = 0; g < static_cast<std::size_t>(c.ngeom); ++g)
      expectNear(r.data().TIME(i, g), s.data().TIME(i, g), "geometry", i);
    for (std::size_t k = 0; k < static_cast<std::size_t>(c.ncomp); ++k) {
      if (c.mode == 2 && k == 1) continue;  // HMD only
      if (c.mode == 3 && k == 0) continue;  // VMD only
      expectNear(r.data().VOLTS(i, k), s.data().VOLTS(i, k), "value", i);
      if (c.errorsAndMasks) {
        expectNear(r.data().UVOLTS(i, k), s.data().UVOLTS(i, k), "error bar", i);
        EXPECT_EQ(r.data().LMASK(i, k), s.data().LMASK(i, k)) << "mask of point " << i + 1;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryWrittenLayout, UsfRoundTrip,
    ::testing::Values(RoundTripCase{"Schlumberger Array", 1, 2, -1, false, ""},
                      RoundTripCase{"Schlumberger Array", 2, 2, -1, false, "(mSec)"},
                      RoundTripCase{"Wenner Array", 1, 1, -1, false, ""},
                      RoundTripCase{"Wenner Array", 2, 1, -1, false, "(pfe)"},
                      RoundTripCase{"Dipole-Dipole Array", 2, 1, -1, false, "(mRad)"},
                      RoundTripCase{"Pole-Dipole Array", 1, 1, -1, false, ""},
                      RoundTripCase{"Pole-Pole Array", 1, 1, -1, false, ""},
                      RoundTripCase{"Polar Dipole Array", 1, 1, -1, false, ""},
                      RoundTripCase{"Perpendicular Array", 1, 1, -1, false, ""},
                      RoundTripCase{"Grounding Impedance", 1, 1, -1, false, ""},
                      RoundTripCase{"MT Data xy, yx, inv.", 2, 1, -1, false, "(pfe)"},
                      RoundTripCase{"Controlled Source MT", 2, 1, -1, false, "(pfe)"},
                      RoundTripCase{"Horizontal Coplanar", 2, 3, 1, false, ""},
                      RoundTripCase{"Vertical Coplanar", 2, 3, 2, false, ""},
                      RoundTripCase{"Vertical Coaxial", 2, 3, 3, false, ""},
                      RoundTripCase{"Horizontal Coplanar", 2, 3, 0, false, ""},
                      RoundTripCase{"EM Conductivity Data", 2, 3, 1, true, ""},
                      RoundTripCase{"EM Conductivity Data", 2, 3, 2, true, ""},
                      RoundTripCase{"EM Conductivity Data", 2, 3, 3, true, ""}));

TEST(UsfRoundTrip, TemSweepsKeepTheirGatesSettingsAndTimes) {
  Sounding s = makeSounding("Central Loop TEM", 10, 1, 1, 3);
  s.header.temVoltageUnit.assign("(uV/Amp)");
  s.header.loopSizeX = 100.0f, s.header.loopSizeY = 50.0f;
  s.header.coilX = 5.0f, s.header.coilY = -2.5f;
  s.header.lengthUnit.assign("(feet)");
  core::SoundingData& d = s.data();
  d.NSET = {4, 7, 10};
  d.AMPS = {2.5f, 3.5f, 4.5f};
  d.RAMP = {120.0f, 60.0f, 30.0f};  // microseconds
  d.FREQ = {25.0f, 6.25f, 2.5f};
  d.AREA = {100.0f, 31.4f, 1.0f};
  d.TSHIFT = {0.0f, 1.0e-5f, 2.0e-5f};  // seconds
  d.NTURNS = {1, 4, 9};
  const auto back = readText(usfText(s));
  ASSERT_TRUE(back->ok) << test::lastText(back->result);
  EXPECT_TRUE(back->result.messages.empty()) << test::lastText(back->result);
  const Sounding& r = back->sounding;
  expectSameHeader(r.header, s.header);
  EXPECT_EQ(r.header.NSETS, 3);
  EXPECT_EQ(r.header.temVoltageUnit, "(uV/Amp)");
  EXPECT_EQ(r.header.lengthUnit, "(feet)");
  EXPECT_EQ(r.header.loopSizeY, 50.0f);
  EXPECT_EQ(r.header.coilY, -2.5f);
  const core::SoundingData& e = r.data();
  EXPECT_EQ(e.NSET, d.NSET);
  EXPECT_EQ(e.AMPS, d.AMPS);
  EXPECT_EQ(e.FREQ, d.FREQ);
  EXPECT_EQ(e.AREA, d.AREA);
  EXPECT_EQ(e.TSHIFT, d.TSHIFT);
  EXPECT_EQ(e.NTURNS, d.NTURNS);
  EXPECT_EQ(e.KCALC, (std::vector<std::int32_t>{2, 4, 6}));
  for (std::size_t k = 0; k < 3; ++k) EXPECT_NEAR(e.RAMP[k], d.RAMP[k], 1e-4f);
  for (std::size_t i = 0; i < 10; ++i) {
    EXPECT_NEAR(e.TIME(i, 0), d.TIME(i, 0), 2e-6f * d.TIME(i, 0)) << "time of gate " << i + 1;
    expectNear(e.VOLTS(i, 0), d.VOLTS(i, 0), "voltage", i);
    EXPECT_EQ(e.LMASK(i, 0), d.LMASK(i, 0));
  }
}

TEST(UsfWriter, MagnetotelluricSoundingWritesOnlyTheMainHeader) {
  const Sounding s = makeSounding("Magnetotelluric Data", 4, 2, 1);
  EXPECT_EQ(usfText(s), "//USF: Universal Sounding Format\n//SOUNDINGS: 1\n//END\n \n");
  EXPECT_FALSE(usfHoldsSounding(s));
}

TEST(UsfWriter, ResistivityLayoutHasItsHeaderLinesAndColumns) {
  Sounding s = makeSounding("Schlumberger Array", 2, 2, 2);
  s.header.ipUnit.assign("(mRad)");
  s.data().TIME(0, 0) = 1.5f, s.data().TIME(0, 1) = 0.5f, s.data().VOLTS(0, 0) = 120.0f;
  s.data().VOLTS(0, 1) = 7.25f;
  const std::string text = usfText(s);
  EXPECT_NE(text.find("\n \n/ARRAY: Schlumberger Array  \n/AZIMUTH: 45.5\n/DATE: 20260412\n"
                      "/DAYTIME: 13.75\n/LOCATION: 512345.5, 6123456, 312.25\n/LENGTH_UNITS: M\n"
                      "/POINTS: 2\n/SOUNDING_NAME: \"Station 7, line B\"\n/END\n \n"
                      "INDEX, SPACING, RESISTIVITY, PHASE, MN\n1, 1.5, 120, 7.25, 0.5\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.substr(text.size() - 7), "/END\n \n");
}

// Files written by hand for the reader's rules.
std::string usf(std::string_view soundingLines, int soundings = 1) {
  return "//USF: Universal Sounding Format   \n//SOUNDINGS: " + std::to_string(soundings) +
         "\n//END\n" + std::string(soundingLines);
}

constexpr std::string_view kEmsBlock =
    "INDEX FREQUENCY SPACING HEIGHT HMD ERROR_BAR MASK VMD ERROR_BAR MASK\n"
    "1 9800 3.66 1 25.5 0.5 0 31.5 0.7 1\n"
    "2 9800 10 1 20 0.4 1 24 0.6 0\n"
    "/END\n";

TEST(UsfReader, EmConductivityHeaderOfTheWrittenTenWordsReadsCompletely) {
  const auto back =
      readText(usf("/ARRAY: EM Conductivity Data\n/POINTS: 2\n/END\n\n" + std::string(kEmsBlock)));
  ASSERT_TRUE(back->ok) << test::lastText(back->result);
  const core::SoundingData& d = back->sounding.data();
  EXPECT_EQ(back->sounding.header.mode, 1);
  EXPECT_EQ(d.TIME(0, 1), 3.66f);
  EXPECT_EQ(d.VOLTS(1, 1), 24.0f);
  EXPECT_EQ(d.UVOLTS(0, 0), 0.5f);
  EXPECT_EQ(d.UVOLTS(0, 1), 0.7f);
  EXPECT_FALSE(core::isSet(d.LMASK(0, 0)));
  EXPECT_TRUE(core::isSet(d.LMASK(0, 1)));
  EXPECT_TRUE(core::isSet(d.LMASK(1, 0)));
}

TEST(UsfReader, MisplacedMaskAndErrorBarAreReportedAndIgnored) {
  const auto mask =
      readText(usf("/ARRAY: EM Conductivity Data\n/POINTS: 1\n/END\n"
                   "INDEX MASK FREQUENCY SPACING HMD\n1 1 500 3.66 12.5\n/END\n"));
  ASSERT_TRUE(mask->ok);
  ASSERT_EQ(mask->result.messages.size(), 1u);
  EXPECT_EQ(mask->result.messages[0].title, "USF File Error");
  EXPECT_EQ(test::lastText(mask->result),
            "Error at line      7\r\nMask does not follow data value or error bar");
  EXPECT_EQ(mask->sounding.data().TIME(0, 0), 500.0f);  // later columns keep their places
  EXPECT_EQ(mask->sounding.data().VOLTS(0, 0), 12.5f);
  EXPECT_EQ(mask->sounding.header.mode, 2);

  const auto error =
      readText(usf("/ARRAY: EM Conductivity Data\n/POINTS: 1\n/END\n"
                   "FREQUENCY SPACING HMD HEIGHT ERROR_BAR VMD MASK ERROR_BAR\n"
                   "9800 3.66 7 2 0.5 8 1 0.25\n/END\n"));
  ASSERT_TRUE(error->ok);
  EXPECT_EQ(test::texts(error->result),
            std::vector<std::string>{
                "Error at line      7\r\nError bar does not follow data value or mask"});
  EXPECT_EQ(error->sounding.data().UVOLTS(0, 0), 0.0f);
  EXPECT_EQ(error->sounding.data().UVOLTS(0, 1), 0.25f);  // after VMD's mask
  EXPECT_TRUE(core::isSet(error->sounding.data().LMASK(0, 1)));
}

TEST(UsfReader, UnknownColumnWordIsReportedWithTheWord) {
  const auto back =
      readText(usf("/ARRAY: EM Conductivity Data\n/POINTS: 1\n/END\n"
                   "FREQUENCY SPACING DEPTH HMD\n100 10 3 9\n/END\n"));
  ASSERT_TRUE(back->ok);
  EXPECT_EQ(test::lastText(back->result),
            "Error at line      7\r\nUnrecognized data header keyword: DEPTH");
  EXPECT_EQ(back->sounding.data().VOLTS(0, 0), 9.0f);
}

TEST(UsfReader, ZeroPointsBeforeAnEmConductivityBlockIsAFailure) {
  const auto back =
      readText(usf("/ARRAY: EM Conductivity Data\n/POINTS: 0\n/END\n" + std::string(kEmsBlock)));
  EXPECT_FALSE(back->ok);
  EXPECT_EQ(test::lastText(back->result),
            "Error at line      6\r\nCannot read data unles there is a positive number of values");
}

TEST(UsfReader, IdentificationLineInLowerCaseIsNotUsf) {
  const auto back = readText("//usf: universal sounding format\n//SOUNDINGS: 1\n//END\n");
  EXPECT_FALSE(back->ok);
  EXPECT_EQ(test::lastText(back->result), "Error at line      1\r\nFile is not USF format");
}

TEST(UsfReader, KeywordsAreMatchedInUpperCaseOnly) {
  const auto back =
      readText(usf("/ARRAY: Wenner Array\n/POINTS: 2\n/points: 5\n/location: 1 2 3\n"
                   "/END\nINDEX SPACING RESISTIVITY\n1 2 30\n2 4 40\n/END\n"));
  ASSERT_TRUE(back->ok) << test::lastText(back->result);
  EXPECT_EQ(back->sounding.header.NDATA, 2);
  EXPECT_EQ(back->sounding.header.east, 0.0f);
}

TEST(UsfReader, NameWithTheLettersEndKeepsTheHeaderGoing) {
  const auto back =
      readText(usf("/ARRAY: Wenner Array\n/SOUNDING_NAME: BENDIGO_4\n/POINTS: 1\n"
                   "/END\nINDEX SPACING RESISTIVITY\n1 2 30\n/END\n"));
  ASSERT_TRUE(back->ok) << test::lastText(back->result);
  EXPECT_EQ(back->sounding.header.name.trimmed(), "BENDIGO_4");
  EXPECT_EQ(back->sounding.header.NDATA, 1);
}

TEST(UsfReader, NameTextFollowsTheQuoteRules) {
  auto nameOf = [](std::string_view line) {
    const auto back = readText(usf("/ARRAY: Wenner Array\n" + std::string(line) +
                                   "\n/POINTS: 1\n/END\nSPACING RESISTIVITY\n2 30\n/END\n"));
    EXPECT_TRUE(back->ok) << test::lastText(back->result);
    return back->sounding.header.name.trimmed();
  };
  EXPECT_EQ(nameOf("/SOUNDING_NAME: \"North  ridge, 3\""), "North  ridge, 3");
  EXPECT_EQ(nameOf("/SOUNDING_NAME:\"North ridge\""), "\"North");  // quote directly after the colon
  EXPECT_EQ(nameOf("/SOUNDING_NAME: North ridge"), "North");
  EXPECT_EQ(nameOf("/SOUNDING_NAME: \"A name far longer than twenty-four\""),
            "A name far longer than t");
}

TEST(UsfReader, LocationWithTwoNumbersSetsElevationToZero) {
  const auto back =
      readText(usf("/ARRAY: Wenner Array\n/LOCATION: 100.5, 200\n/POINTS: 1\n"
                   "/END\nSPACING RESISTIVITY\n2 30\n/END\n"));
  ASSERT_TRUE(back->ok);
  EXPECT_EQ(back->sounding.header.east, 100.5f);
  EXPECT_EQ(back->sounding.header.north, 200.0f);
  EXPECT_EQ(back->sounding.header.elevation, 0.0f);
}

TEST(UsfReader, BadNumbersAreReportedAndReadingGoesOn) {
  const auto back =
      readText(usf("/ARRAY: Wenner Array\n/AZIMUTH: 4x5\n/DATE: 12.5\n/POINTS: 1\n"
                   "/END\nSPACING RESISTIVITY PFE\n2 30 abc\n/END\n"));
  ASSERT_TRUE(back->ok);
  EXPECT_EQ(test::texts(back->result),
            (std::vector<std::string>{
                "Error at line      5\r\nError reading floating point value: 4x5",
                "Error at line      6\r\nError reading integer value: 12.5",
                "Error at line     10\r\nError reading floating point value: abc"}));
  EXPECT_EQ(back->sounding.data().TIME(0, 0), 2.0f);
}

TEST(UsfReader, ArrayOnALaterHeaderLineEndsTheImport) {
  const auto back = readText(usf("! comment first\n\n/POINTS: 1\n/ARRAY: Wenner Array\n/END\n"));
  EXPECT_FALSE(back->ok);
  EXPECT_EQ(test::lastText(back->result),
            "Error at line      7\r\nARRAY keyword not permitted except for first line in sounding "
            "header");
}

TEST(UsfReader, TemVoltsPerAmpAreStoredInMicrovolts) {
  const auto back =
      readText(usf("/ARRAY: CENTRAL LOOP TEM\n/POINTS: 2\n/VOLTAGE_UNITS: V/AMP\n"
                   "/RAMP_TIME: 0.0001\n/LOOP_TURNS: 3\n/END\n"
                   "INDEX TIME WIDTH VOLTAGE ERROR_BAR\n1 1E-4 1e-5 2.5e-3 0.1\n"
                   "2 2.0E-4 2e-5 1.25e-3 0.2\n/END\n"));
  ASSERT_TRUE(back->ok) << test::lastText(back->result);
  const Sounding& s = back->sounding;
  EXPECT_EQ(s.header.dataType, "Central Loop TEM");
  EXPECT_EQ(s.header.temVoltageUnit, "(uV/Amp)");
  EXPECT_FLOAT_EQ(s.data().VOLTS(0, 0), 2500.0f);
  EXPECT_FLOAT_EQ(s.data().VOLTS(1, 0), 1250.0f);
  EXPECT_FLOAT_EQ(s.data().TIME(1, 0), 0.2f);  // ms
  EXPECT_FLOAT_EQ(s.data().TIME(1, 1), 2e-5f);
  EXPECT_FLOAT_EQ(s.data().UVOLTS(1, 0), 0.2f);  // unchanged
  EXPECT_FLOAT_EQ(s.data().RAMP[0], 100.0f);     // microseconds
  EXPECT_EQ(s.data().NTURNS[0], 3);
}

TEST(UsfReader, UnknownVoltageUnitIsReportedAndNanovoltsPerAmpSquareMetreAssumed) {
  const auto back =
      readText(usf("/ARRAY: Fixed Loop TEM\n/POINTS: 1\n/VOLTAGE_UNITS: mV/A\n/END\n"
                   "TIME VOLTAGE\n0.001 2e-9\n/END\n"));
  ASSERT_TRUE(back->ok);
  EXPECT_EQ(test::lastText(back->result),
            "Error at line      6\r\nVoltage units not recognized: mV/A");
  EXPECT_EQ(back->sounding.header.temVoltageUnit, "(nV/A-m^2)");
  EXPECT_FLOAT_EQ(back->sounding.data().VOLTS(0, 0), 2.0f);
}

TEST(UsfReader, TemDataBeyondPointsAreReportedOnceAndTheFirstOnesKept) {
  const auto back =
      readText(usf("/ARRAY: Coincident Loop TEM\n/POINTS: 2\n/VOLTAGE_UNITS: V/AM2\n/END\n"
                   "TIME VOLTAGE\n0.001 1e-9\n0.002 2e-9\n0.003 3e-9\n0.004 4e-9\n/END\n"));
  ASSERT_TRUE(back->ok);
  EXPECT_EQ(
      test::texts(back->result),
      std::vector<std::string>{"Error at line     11\r\nAttempt to read beyond allocated data"});
  EXPECT_EQ(back->sounding.header.NDATA, 2);
  EXPECT_FLOAT_EQ(back->sounding.data().VOLTS(1, 0), 2.0f);
}

TEST(UsfReader, LaterSoundingIsReachedOverEarlierBlocksOfEveryKind) {
  const std::string text = usf(
      "/ARRAY: Schlumberger Array\n/POINTS: 2\n/END\n\nINDEX, SPACING, RESISTIVITY, MN\n"
      "1, 1, 10, 0.5\n2, 2, 20, 0.5\n/END\n \n"
      "/ARRAY: Horizontal Coplanar\n/POINTS: 1\n/SPACING: 50\n/HEIGHT: 1\n/END\n"
      "INDEX, FREQUENCY, INPHASE, QUADRATURE\n1, 880, -3.5, 7.25\n/END\n"
      "/ARRAY: EM Conductivity Data\n/POINTS: 2\n/END\n" +
          std::string(kEmsBlock) +
          "/ARRAY: Central Loop TEM\n/POINTS: 2\n/SWEEPS: 2\n/VOLTAGE_UNITS: V/AM2\n/END\n"
          "INDEX, TIME, VOLTAGE, MASK\n1, 0.001, 5e-9, 0\n \n/SWEEP_NUMBER: 2\n/CURRENT: 7\n/END\n"
          "2, 0.01, 5e-10, 1\n/END\n",
      4);
  for (int number = 1; number <= 4; ++number) {
    const auto back = readText(text, number);
    ASSERT_TRUE(back->ok) << number << ": " << test::lastText(back->result);
    EXPECT_TRUE(back->result.messages.empty()) << test::lastText(back->result);
  }
  const auto maxMin = readText(text, 2);
  EXPECT_EQ(maxMin->sounding.header.mode, 1);
  EXPECT_EQ(maxMin->sounding.data().TIME(0, 1), 50.0f);
  EXPECT_EQ(maxMin->sounding.data().VOLTS(0, 0), -3.5f);
  const auto tem = readText(text, 4);
  EXPECT_EQ(tem->sounding.data().NSET, (std::vector<std::int32_t>{1, 2}));
  EXPECT_EQ(tem->sounding.data().AMPS[1], 7.0f);
  EXPECT_TRUE(core::isSet(tem->sounding.data().LMASK(1, 0)));
  const auto outside = readText(text, 5);
  EXPECT_FALSE(outside->ok);
  EXPECT_EQ(test::lastText(outside->result), "Sounding out of range.");
}

struct MalformedCase {
  const char* name;
  std::string text;
  std::string message;
};

void PrintTo(const MalformedCase& c, std::ostream* os) { *os << c.name; }

class UsfMalformed : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(UsfMalformed, EndsWithAMessageAndFailure) {
  const auto back = readText(GetParam().text);
  EXPECT_FALSE(back->ok);
  ASSERT_FALSE(back->result.messages.empty());
  EXPECT_EQ(test::lastText(back->result), GetParam().message);
}

std::string garbage() {
  std::string bytes;
  for (int i = 0; i < 5000; ++i) bytes.push_back(static_cast<char>((i * 7919) % 256));
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, UsfMalformed,
    ::testing::Values(
        MalformedCase{"BinaryGarbage", garbage(), "Error at line      1\r\nFile is not USF format"},
        MalformedCase{"Empty", "", "Error at line      1\r\nFile is not USF format"},
        MalformedCase{"NoMainHeaderEnd", "//USF: Universal Sounding Format\n//SOUNDINGS: 1\n",
                      "Error at line      2\r\nPremature end of file while reading main header"},
        MalformedCase{"NoSoundingsLine", "//USF: Universal Sounding Format\n//END\n",
                      "Error at line      2\r\nMain header does not give the number of soundings"},
        MalformedCase{"MissingHeaderEnd", usf("/ARRAY: Wenner Array\n/POINTS: 3\n"),
                      "Error at line      5\r\nend of file while trying to read line"},
        MalformedCase{"MissingBlockEnd",
                      usf("/ARRAY: Wenner Array\n/POINTS: 3\n/END\nSPACING RESISTIVITY\n1 2\n"),
                      "Error at line      8\r\nend of file while trying to read line"},
        MalformedCase{"EndOfFileInEmBlock",
                      usf("/ARRAY: EM Conductivity Data\n/POINTS: 3\n/END\nFREQUENCY SPACING HMD\n"
                          "100 10 1\n"),
                      "Error at line      8\r\nend of file while trying to read line"},
        MalformedCase{"EndOfFileInSweepHeader",
                      usf("/ARRAY: Central Loop TEM\n/POINTS: 3\n/END\nTIME VOLTAGE\n"
                          "/SWEEP_NUMBER: 2\n/CURRENT: 1\n"),
                      "Error at line      9\r\nend of file while trying to read line"},
        MalformedCase{"HugePoints",
                      usf("/ARRAY: Wenner Array\n/POINTS: 2000000000\n/END\nSPACING RESISTIVITY\n"
                          "1 2\n"),
                      "Error at line      6\r\nMore points than 100000: 2000000000"},
        MalformedCase{"HugeSweeps", usf("/ARRAY: Central Loop TEM\n/SWEEPS: 2000000000\n/END\n"),
                      "Error at line      5\r\nCannot allocate data arrays"},
        MalformedCase{
            "OverlongLines",
            "//USF: Universal Sounding Format\n//SOUNDINGS: 1\n//END\n/ARRAY: Wenner Array" +
                std::string(3000000, 'x') + "\n" + std::string(2000000, ' ') + "\n",
            "Error at line      4\r\nLine longer than 65536 characters"},
        MalformedCase{"UnknownArray", usf("/ARRAY: Wenner Arrays\n/POINTS: 1\n/END\n"),
                      "Error at line      4\r\nData type not recognized: Wenner Arrays"},
        MalformedCase{"AliasWithTrailingText",
                      usf("/ARRAY: CENTRAL LOOP TEM, SITE 4\n/POINTS: 1\n/END\n"),
                      "Error at line      4\r\nData type not recognized: CENTRAL LOOP TEM, SITE 4"},
        MalformedCase{"BlockWithoutPoints",
                      usf("/ARRAY: Wenner Array\n/POINTS: 3\n/END\nSPACING RESISTIVITY\n/END\n"),
                      "Error at line      8\r\nData block holds no data points"},
        MalformedCase{"RampBeyondSinglePrecision",
                      usf("/ARRAY: Central Loop TEM\n/RAMP_TIME: 1e38\n/POINTS: 1\n/END\n"),
                      "Error at line      5\r\nFloating point value out of range: 1e38"},
        MalformedCase{"TemTimeBeyondSinglePrecision",
                      usf("/ARRAY: Central Loop TEM\n/POINTS: 1\n/END\nTIME VOLTAGE\n"
                          "3e36 1e-9\n/END\n"),
                      "Error at line      8\r\nFloating point value out of range: 3e36"},
        MalformedCase{"TemVoltageBeyondSinglePrecision",
                      usf("/ARRAY: Central Loop TEM\n/POINTS: 1\n/VOLTAGE_UNITS: V/AM2\n/END\n"
                          "TIME VOLTAGE\n1e-3 1e31\n/END\n"),
                      "Error at line      9\r\nFloating point value out of range: 1e31"},
        MalformedCase{"SpacingOfZero",
                      usf("/ARRAY: Wenner Array\n/POINTS: 2\n/END\nSPACING RESISTIVITY\n"
                          "1 100\n0 120\n/END\n"),
                      "Error at line      9\r\nSpacing not positive"},
        MalformedCase{"SpacingThatIsNotANumber",
                      usf("/ARRAY: Schlumberger Array\n/POINTS: 1\n/END\nSPACING MN RESISTIVITY\n"
                          "nan 1 100\n/END\n"),
                      "Error at line      8\r\nSpacing not positive"},
        MalformedCase{"NegativeMn",
                      usf("/ARRAY: Schlumberger Array\n/POINTS: 1\n/END\nSPACING MN RESISTIVITY\n"
                          "10 -1 100\n/END\n"),
                      "Error at line      8\r\nMN not positive"},
        MalformedCase{"NegativeResistivity",
                      usf("/ARRAY: Wenner Array\n/POINTS: 1\n/END\nSPACING RESISTIVITY\n"
                          "1 -5\n/END\n"),
                      "Error at line      8\r\nResistivity not positive"},
        MalformedCase{"TemTimeOfZero",
                      usf("/ARRAY: Central Loop TEM\n/POINTS: 1\n/END\nTIME VOLTAGE\n"
                          "0 1e-9\n/END\n"),
                      "Error at line      8\r\nTime not positive"},
        MalformedCase{
            "MtFrequencyBelowTheFloatRange",
            usf("/ARRAY: Magnetotelluric Data\n/POINTS: 1\n/END\nFREQUENCY RESISTIVITY PHASE\n"
                "1e-50 100 45\n/END\n"),
            "Error at line      8\r\nFrequency not positive"},
        MalformedCase{
            "MtPhaseBeyondAHalfTurn",
            usf("/ARRAY: Magnetotelluric Data\n/POINTS: 1\n/END\nFREQUENCY RESISTIVITY PHASE\n"
                "10 100 200\n/END\n"),
            "Error at line      8\r\nPhase outside -180 to 180"},
        MalformedCase{
            "MaxMinSpacingOfZero",
            usf("/ARRAY: Horizontal Coplanar\n/POINTS: 1\n/END\nFREQUENCY SPACING INPHASE "
                "QUADRATURE\n888 0 1 2\n/END\n"),
            "Error at line      8\r\nSpacing not positive"},
        MalformedCase{
            "EmConductivityWithoutSpacingColumn",
            usf("/ARRAY: EM Conductivity Data\n/POINTS: 1\n/END\nFREQUENCY HEIGHT HMD VMD\n"
                "9800 1 18 29\n/END\n"),
            "Error at line      8\r\nSpacing not positive"},
        MalformedCase{"MaxMinOfTwoVaryingQuantitiesWithoutSpacing",
                      usf("/ARRAY: Horizontal Coplanar\n/POINTS: 1\n/END\nFREQUENCY HEIGHT INPHASE "
                          "QUADRATURE\n888 1 1 2\n/END\n"),
                      "Error at line      8\r\nSpacing not positive"},
        MalformedCase{"MaxMinOfOneVaryingFrequencyWithAHeaderSpacingOfZero",
                      usf("/ARRAY: Horizontal Coplanar\n/POINTS: 1\n/SPACING: 0\n/HEIGHT: 1\n/END\n"
                          "FREQUENCY INPHASE QUADRATURE\n888 1 2\n/END\n"),
                      "Error at line     10\r\nSpacing not positive"},
        MalformedCase{"NoArray", usf("/POINTS: 1\n/END\nSPACING RESISTIVITY\n1 2\n/END\n"),
                      "Error at line      8\r\nSounding header has no ARRAY keyword"},
        MalformedCase{"NoDataBlock",
                      usf("/ARRAY: Wenner Array\n/POINTS: 1\n/END\n/ARRAY: Wenner Array\n"),
                      "Error at line      7\r\nNo data block follows the sounding header"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UsfReader, UpperCaseTemNamesStandForTheStoredOnesWhateverBlanksFollow) {
  for (const char* array :
       {"COINCIDENT LOOP TEM X", "COINCIDENT LOOP TEM", "  COINCIDENT LOOP TEM  "}) {
    const auto back = readText(usf("/ARRAY: " + std::string(array) +
                                   "\n/POINTS: 1\n/END\nTIME VOLTAGE\n1e-3 2e-9\n/END\n"));
    ASSERT_TRUE(back->ok) << array << ": " << test::lastText(back->result);
    EXPECT_EQ(back->sounding.header.dataType, "Coincident Loop TEM") << array;
  }
}

// Gate times, voltages and ramps of every size survive any number of export
// and import cycles exactly: the writer writes enough digits and the reader
// converts the file's numbers once.
TEST(UsfRoundTrip, TemTimesVoltagesAndRampsDoNotDriftOverCycles) {
  Sounding s = makeSounding("Central Loop TEM", 40, 1, 1, 2);
  s.header.temVoltageUnit.assign("(nV/A-m^2)");
  core::SoundingData& d = s.data();
  d.NSET = {25, 40};
  d.RAMP = {123.456f, 7.77e-3f};
  d.TSHIFT = {0.0f, 3.3e-6f};
  for (std::size_t i = 0; i < 40; ++i) {
    d.TIME(i, 0) = 0.0137f * std::pow(1.31f, static_cast<float>(i));
    d.VOLTS(i, 0) = 7.3e6f * std::pow(0.61f, static_cast<float>(i));
  }
  Sounding cycled = s;
  for (int cycle = 1; cycle <= 5; ++cycle) {
    auto back = readText(usfText(cycled));
    ASSERT_TRUE(back->ok) << test::lastText(back->result);
    cycled = back->sounding;
    EXPECT_EQ(cycled.data().TIME, d.TIME) << "cycle " << cycle;
    EXPECT_EQ(cycled.data().VOLTS, d.VOLTS) << "cycle " << cycle;
    EXPECT_EQ(cycled.data().RAMP, d.RAMP) << "cycle " << cycle;
  }
}

TEST(UsfImport, FolderDeviceAndMissingFileAreNotOpened) {
  test::TemporaryFolder folder;
  for (const std::string& path : {folder.path().string(), std::string("/dev/zero")}) {
    std::ifstream in;
    const Result opened = openUsfFile(path, in);
    EXPECT_FALSE(opened.ok);
    EXPECT_EQ(opened.messages,
              (std::vector<Message>{{MessageKind::Warning, "CANNOT OPEN FILE: " + path, ""}}));
  }
  const std::string missing = (folder / "none.usf").string();
  std::ifstream in;
  const Result opened = openUsfFile(missing, in);
  EXPECT_FALSE(opened.ok);
  // Reported in the usual box, not the USF box.
  EXPECT_EQ(opened.messages,
            (std::vector<Message>{{MessageKind::Warning, "CANNOT OPEN FILE " + missing, ""}}));
}

TEST(UsfImport, TheMainHeaderGivesTheNumberOfSoundings) {
  std::istringstream in(usf("", 3));
  int count = 0;
  const Result read = readUsfSoundingCount(in, count);
  EXPECT_TRUE(read.ok);
  EXPECT_TRUE(read.messages.empty());
  EXPECT_EQ(count, 3);
  std::istringstream none("//USF: Universal Sounding Format\n//END\n");
  const Result refused = readUsfSoundingCount(none, count);
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.messages,
            (std::vector<Message>{{MessageKind::Error,
                                   "Error at line      2\r\nMain header does not give the number "
                                   "of soundings",
                                   "USF File Error"}}));
}

TEST(UsfExport, UnwritableFileIsReportedInTheUsfBox) {
  const Result written =
      exportUsf("/nonexistent-folder/out.usf", makeSounding("Wenner Array", 2, 1, 1));
  EXPECT_FALSE(written.ok);
  EXPECT_EQ(written.messages,
            (std::vector<Message>{
                {MessageKind::Error,
                 "Error at line      0\r\nCANNOT OPEN FILE :/nonexistent-folder/out.usf",
                 "USF File Error"}}));
}

}  // namespace
}  // namespace zeva::files
