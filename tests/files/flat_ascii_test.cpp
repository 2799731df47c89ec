#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cmath>
#include <csignal>
#include <iterator>
#include <sstream>

#include "core/record/current_sounding.h"
#include "core/record/data_type.h"
#include "files/ascii_export.h"
#include "files/flat_ascii_import.h"
#include "files/geometric_factor.h"
#include "files/sounding_import.h"
#include "tests/support/result_texts.h"
#include "tests/support/test_support.h"

namespace zeva::files {
namespace {

using core::Sounding;

std::string exported(const Sounding& s, bool synthetic = false,
                     const SyntheticNoise* noise = nullptr) {
  std::ostringstream out;
  EXPECT_TRUE(writeAsciiData(out, s, synthetic, noise));
  return out.str();
}

TEST(GeometricFactor, DefaultSoundingVoltagesGiveItsApparentResistivities) {
  core::CurrentSounding current;
  core::resetToDefault(current);
  const Sounding& s = current.S;
  const core::SoundingData& d = s.data();
  for (std::size_t i = 0; i < 19; ++i) {
    const float k = geometricFactor(s.header.dataType, d.TIME(i, 0), d.TIME(i, 1), 0.0f);
    EXPECT_NEAR(k * d.VOLTS(i, 1) / d.VOLTS(i, 2), d.VOLTS(i, 0), 0.03f * d.VOLTS(i, 0)) << i + 1;
  }
  // The voltages of the last segment were read with potential electrodes 60 m
  // apart, not at the MN of the table.
  for (std::size_t i = 19; i < 22; ++i) {
    const float k = geometricFactor(s.header.dataType, d.TIME(i, 0), 60.0f, 0.0f);
    EXPECT_NEAR(k * d.VOLTS(i, 1) / d.VOLTS(i, 2), d.VOLTS(i, 0), 0.03f * d.VOLTS(i, 0)) << i + 1;
  }
}

TEST(GeometricFactor, ArraysAgreeWhereTheirGeometriesCoincide) {
  // A Wenner spread of a is a Schlumberger spread with AB/2 = 1.5 a, MN = a.
  EXPECT_NEAR(geometricFactor(core::DataTypeText("Schlumberger Array"), 15.0f, 10.0f, 0.0f),
              geometricFactor(core::DataTypeText("Wenner Array"), 10.0f, 0.0f, 0.0f), 1e-3f);
  // Dipole-dipole with n = 1 is pi a n (n+1) (n+2) = 6 pi a.
  EXPECT_NEAR(geometricFactor(core::DataTypeText("Dipole-Dipole Array"), 1.0f, 0.0f, 10.0f),
              60.0f * 3.14159265f, 1e-3f);
  EXPECT_EQ(geometricFactor(core::DataTypeText("Schlumberger Array"), 15.0f, 0.0f, 0.0f), 0.0f);
}

// The dipole length of the header enters the factor of the four dipole
// arrays, and of no other: their potential dipole has that length.
TEST(GeometricFactor, DependsOnTheDipoleLengthExactlyWhereTheTypeSaysSo) {
  for (const core::DataTypeTraits& type : core::knownDataTypes()) {
    const core::DataTypeText text(type.text);
    const double shortDipole = geometricFactor(text, 3.0f, 1.0f, 5.0f);
    const double longDipole = geometricFactor(text, 3.0f, 1.0f, 20.0f);
    EXPECT_EQ(shortDipole != longDipole, type.dipoleLengthInFactor) << type.text;
  }
}

TEST(FlatAsciiImport, ExportedSchlumbergerVoltagesReimportToTheSameResistivities) {
  core::CurrentSounding current;
  core::resetToDefault(current);
  test::TemporaryFolder folder;
  const auto file = folder / "DEFAULT.V1.DAT";
  test::writeFile(file, exported(current.S));
  files::ImportColumns columns;
  columns.spacing = 2, columns.mn = 3, columns.resistivity = 5, columns.current = 6;
  FlatAsciiRequest request;
  request.header = importedDataHeader(current.S.header.dataType);
  request.header.voltageAndCurrent = core::kTrue;
  Sounding result;
  const files::Result read = readFlatAsciiData(file, request, columns, result);
  ASSERT_TRUE(read.ok) << test::lastText(read);
  EXPECT_EQ(result.header.name.trimmed(), "DEFAULT");  // up to the first point
  EXPECT_EQ(result.header.NDATA, 22);
  EXPECT_EQ(result.header.NGEOM, 2);
  for (std::size_t i = 0; i < 22; ++i) {
    EXPECT_NEAR(result.data().TIME(i, 1), current.S.data().TIME(i, 1), 1e-5f);
    if (i < 19) {  // the last segment's voltages belong to another MN (above)
      EXPECT_NEAR(result.data().VOLTS(i, 0), current.S.data().VOLTS(i, 0),
                  0.03f * current.S.data().VOLTS(i, 0));
    }
    EXPECT_NEAR(result.data().VOLTS(i, 2), current.S.data().VOLTS(i, 2), 1e-4f);
  }
}

struct ExportCase {
  std::string_view type;
  FlatAsciiKind kind;
  int ncomp, ngeom;
  files::ImportColumns columns;
};

files::ImportColumns columnsFor(FlatAsciiKind kind) {
  files::ImportColumns c;
  switch (kind) {
    case FlatAsciiKind::Resistivity:
      c.spacing = 2, c.resistivity = 3;
      break;
    case FlatAsciiKind::ResistivityIp:
      c.spacing = 2, c.mn = 3, c.resistivity = 4, c.ipData = 5;
      break;
    case FlatAsciiKind::MaxMin:
      c.space = 2, c.frequency = 3, c.height = 4, c.inPhase = 5, c.quadrature = 6;
      break;
    case FlatAsciiKind::EmConductivity:
      c.frequency = 2, c.space = 3, c.height = 4, c.voltage = 5;
      break;
    case FlatAsciiKind::Magnetotelluric:
      c.frequency = 2, c.resistivity = 3, c.modelResist = 4, c.rhoError = 5, c.phaseError = 6;
      break;
    case FlatAsciiKind::Tem:
      c.time = 2, c.voltage = 3;
      break;
    default:
      break;
  }
  return c;
}

class FlatAsciiRoundTrip : public ::testing::TestWithParam<ExportCase> {};

TEST_P(FlatAsciiRoundTrip, DataExportReadBackGivesTheSameData) {
  const ExportCase& c = GetParam();
  Sounding s;
  core::DataHeader h = importedDataHeader(core::DataTypeText(c.type));
  h.name.assign("Line 4 station 120");
  h.NDATA = 12, h.NCOMP = c.ncomp, h.NGEOM = c.ngeom, h.mode = 2;
  ASSERT_TRUE(beginImportedData(s, h));
  for (std::size_t i = 0; i < 12; ++i) {
    for (std::size_t g = 0; g < static_cast<std::size_t>(c.ngeom); ++g)
      s.data().TIME(i, g) = std::round(1000.0f * std::pow(1.5f, static_cast<float>(i)) *
                                       (g == 0 ? 1.0f : 0.25f * static_cast<float>(g))) /
                            1000.0f;
    for (std::size_t k = 0; k < static_cast<std::size_t>(c.ncomp); ++k) {
      if (c.kind == FlatAsciiKind::EmConductivity && k == 1) continue;  // HMD only
      s.data().VOLTS(i, k) = std::round(1.0e5f / (3.0f + static_cast<float>(i + 7 * k))) / 1000.0f;
      if (c.kind == FlatAsciiKind::Magnetotelluric)
        s.data().UVOLTS(i, k) = 0.125f * static_cast<float>(k + 1);
    }
  }
  test::TemporaryFolder folder;
  const auto file = folder / "export.dat";
  test::writeFile(file, exported(s));
  FlatAsciiRequest request;
  request.kind = c.kind;
  request.header = importedDataHeader(h.dataType);
  request.header.mode = 2;
  Sounding back;
  const files::Result read = readFlatAsciiData(file, request, columnsFor(c.kind), back);
  ASSERT_TRUE(read.ok) << test::lastText(read);
  ASSERT_EQ(back.header.NDATA, 12);
  EXPECT_EQ(back.header.NCOMP, c.ncomp);
  for (std::size_t i = 0; i < 12; ++i) {
    for (std::size_t g = 0; g < static_cast<std::size_t>(c.ngeom); ++g)
      EXPECT_NEAR(back.data().TIME(i, g), s.data().TIME(i, g), 1e-6f * s.data().TIME(i, g) + 1e-6f);
    for (std::size_t k = 0; k < static_cast<std::size_t>(c.ncomp); ++k) {
      EXPECT_NEAR(back.data().VOLTS(i, k), s.data().VOLTS(i, k), 1e-6f);
      EXPECT_NEAR(back.data().UVOLTS(i, k), s.data().UVOLTS(i, k), 1e-6f);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryImporter, FlatAsciiRoundTrip,
    ::testing::Values(ExportCase{"Wenner Array", FlatAsciiKind::Resistivity, 1, 1, {}},
                      ExportCase{"Schlumberger Array", FlatAsciiKind::ResistivityIp, 2, 2, {}},
                      ExportCase{"Vertical Coplanar", FlatAsciiKind::MaxMin, 2, 3, {}},
                      ExportCase{"EM Conductivity Data", FlatAsciiKind::EmConductivity, 2, 3, {}},
                      ExportCase{"Magnetotelluric Data", FlatAsciiKind::Magnetotelluric, 2, 1, {}},
                      ExportCase{"Central Loop TEM", FlatAsciiKind::Tem, 1, 1, {}}));

TEST(FlatAsciiImport, TextLinesShortRowsAndRowBoundsDecideTheRows) {
  std::istringstream in("Station data\nAB2 RHO\n1 2 3\n4 5\n\n6,7,8\n9 x 10\n11 12 13 14\n");
  const AcceptedRows all = acceptRows(in, {1, 3}, 0, 0);
  EXPECT_EQ(all.rowNumbers, (std::vector<int>{3, 6, 7, 8}));  // short row 4 and text skipped;
  // row 7's unused second column may hold anything
  std::istringstream again("1 2 3\n4 5 6\n7 8 9\n10 11 12\n");
  EXPECT_EQ(acceptRows(again, {1, 2}, 2, 3).rowNumbers, (std::vector<int>{2, 3}));
  std::istringstream unticked("1 2 3\n4 5 6\n7 8 9\n");
  EXPECT_EQ(acceptRows(unticked, {1, 2}, -2, -2).rowNumbers.size(), 3u);  // remembered, not used
  std::istringstream crossed("1 2 3\n4 5 6\n7 8 9\n10 11 12\n13 14 15\n16 17 18\n");
  EXPECT_TRUE(acceptRows(crossed, {1}, 5, 3).rowNumbers.empty());
  std::istringstream optional("1 2\n3 4 5 6\n");
  EXPECT_EQ(acceptRows(optional, {1, 2, 4}, 0, 0).rowNumbers, (std::vector<int>{2}));
}

TEST(FlatAsciiImport, MissingEmptyAndRowlessFilesLeaveTheResultUntouched) {
  test::TemporaryFolder folder;
  FlatAsciiRequest request;
  request.header = importedDataHeader(core::DataTypeText("Wenner Array"));
  Sounding result;
  files::ImportColumns columns;
  // The one message of a refused file.
  const auto refusal = [&](const std::string& name) {
    const files::Result read = readFlatAsciiData(folder / name, request, columns, result);
    EXPECT_FALSE(read.ok) << name;
    EXPECT_EQ(read.messages.size(), 1u) << name;
    return test::lastText(read);
  };
  EXPECT_EQ(refusal("none.dat"), "FILE NOT FOUND: " + (folder / "none.dat").string());
  test::writeFile(folder / "empty.dat", "");
  EXPECT_EQ(refusal("empty.dat"), "FILE HAS NO LENGTH:" + (folder / "empty.dat").string());
  test::writeFile(folder / "text.dat", "no numbers here at all\n");
  EXPECT_EQ(refusal("text.dat"), "NO DATA ROWS READ FROM FILE: " + (folder / "text.dat").string() +
                                     "\nNO ROW HOLDS A NUMBER IN COLUMN 2 (SPACING)"
                                     "\nNO ROW HOLDS A NUMBER IN COLUMN 3 (RESISTIVITY)");
  std::string garbage;
  for (int i = 0; i < 4000; ++i) garbage.push_back(static_cast<char>((i * 131) % 256));
  test::writeFile(folder / "garbage.dat", garbage);
  refusal("garbage.dat");
  EXPECT_EQ(result.header.NDATA, 0);
}

TEST(FlatAsciiImport, AColumnThatNoRowHoldsIsNamed) {
  // AB/2 and resistivity only, read with a resistivity column 3 as a
  // three-column file would have it.
  test::TemporaryFolder folder;
  test::writeFile(folder / "two.dat", "AB/2 RHO\n1 100\n2 120\n");
  FlatAsciiRequest request;
  request.header = importedDataHeader(core::DataTypeText("Schlumberger Array"));
  files::ImportColumns columns;
  columns.spacing = 1, columns.resistivity = 3, columns.mn = 0;
  Sounding result;
  const files::Result read = readFlatAsciiData(folder / "two.dat", request, columns, result);
  EXPECT_FALSE(read.ok);
  EXPECT_EQ(test::lastText(read), "NO DATA ROWS READ FROM FILE: " + (folder / "two.dat").string() +
                                      "\nNO ROW HOLDS A NUMBER IN COLUMN 3 (RESISTIVITY)");
}

TEST(FlatAsciiImport, ANumberCutAtTheEndOfTheReadPartOfALineIsNotRead) {
  // Only the first 256 characters of a line are read: "12345" straddling
  // the end must not become "123".
  const std::string longRow = "1 2 " + std::string(249, ' ') + "12345 7\n";
  ASSERT_EQ(longRow.find("12345"), 253u);
  std::istringstream in(longRow + "4 5 6\n");
  const AcceptedRows rows = acceptRows(in, {1, 3}, 0, 0);
  EXPECT_EQ(rows.rowNumbers, (std::vector<int>{2}));
}

struct RefusedRow {
  const char* name;
  const char* type;
  FlatAsciiKind kind;
  const char* text;
  std::string message;  // then " IN ROW n: " and the file
  int row;
  TemTimeUnit timeUnit = TemTimeUnit::Milliseconds;
  bool voltageAndCurrent = false;
};
void PrintTo(const RefusedRow& c, std::ostream* os) { *os << c.name; }

class FlatAsciiRefusedRow : public ::testing::TestWithParam<RefusedRow> {};

TEST_P(FlatAsciiRefusedRow, RefusesTheImportNamingTheRow) {
  const RefusedRow& c = GetParam();
  test::TemporaryFolder folder;
  const auto file = folder / "rows.dat";
  test::writeFile(file, c.text);
  FlatAsciiRequest request;
  request.kind = c.kind;
  request.header = importedDataHeader(core::DataTypeText(c.type));
  request.timeUnit = c.timeUnit;
  files::ImportColumns columns;  // DC: AB/2 1, MN 2, rho 3; MT: f 1, rho 2, phase 3
  columns.spacing = 1, columns.mn = 2, columns.resistivity = 3, columns.current = 4;
  if (c.kind == FlatAsciiKind::Magnetotelluric)
    columns.frequency = 1, columns.resistivity = 2, columns.modelResist = 3, columns.rhoError = 0,
    columns.phaseError = 0;
  if (c.kind == FlatAsciiKind::Tem) columns.time = 1, columns.voltage = 2;
  request.header.voltageAndCurrent = core::logical(c.voltageAndCurrent);
  Sounding result;
  const files::Result read = readFlatAsciiData(file, request, columns, result);
  EXPECT_FALSE(read.ok);
  EXPECT_EQ(test::lastText(read),
            c.message + " IN ROW " + std::to_string(c.row) + ": " + file.string());
  EXPECT_EQ(result.header.NDATA, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FlatAsciiRefusedRow,
    ::testing::Values(
        RefusedRow{"MnNotBelowAb", "Schlumberger Array", FlatAsciiKind::Resistivity,
                   "AB/2 MN RHO\n1 0.5 10\n5 10 757\n", "MN NOT SMALLER THAN AB", 3},
        RefusedRow{"ZeroSpacing", "Wenner Array", FlatAsciiKind::Resistivity, "2 0 10\n0 0 10\n",
                   "SPACING NOT POSITIVE", 2},
        RefusedRow{"NegativeMn", "Schlumberger Array", FlatAsciiKind::Resistivity, "\n\n3 -1 10\n",
                   "MN NOT POSITIVE", 3},
        RefusedRow{"ZeroResistivity", "Schlumberger Array", FlatAsciiKind::ResistivityIp,
                   "3 1 0 0 5\n", "RESISTIVITY NOT POSITIVE", 1},
        RefusedRow{"CurrentOverflow", "Wenner Array", FlatAsciiKind::Resistivity,
                   "10 0 1E38 1E-30\n", "VALUE OUT OF RANGE", 1, TemTimeUnit::Milliseconds, true},
        RefusedRow{"BeyondTheFloatRange", "Wenner Array", FlatAsciiKind::Resistivity,
                   "1 0 10\n2 0 1E39\n", "VALUE OUT OF RANGE", 2},
        RefusedRow{"BeyondTheDoubleRange", "Wenner Array", FlatAsciiKind::Resistivity,
                   "1 0 10\n2 0 1E400\n", "VALUE OUT OF RANGE", 2},
        RefusedRow{"Infinity", "Wenner Array", FlatAsciiKind::Resistivity,
                   "1 0 10\n2 0 10\n3 0 +Infinity\n", "VALUE OUT OF RANGE", 3},
        RefusedRow{"InfiniteMtFrequency", "Magnetotelluric Data", FlatAsciiKind::Magnetotelluric,
                   "-inf 100 45\n", "VALUE OUT OF RANGE", 1},
        RefusedRow{"PhaseOutsideItsRange", "Magnetotelluric Data", FlatAsciiKind::Magnetotelluric,
                   "10 100 45\n1 100 200\n", "PHASE OUTSIDE -180 TO 180", 2},
        RefusedRow{"NegativeMtResistivity", "Magnetotelluric Data", FlatAsciiKind::Magnetotelluric,
                   "10 -100 45\n", "RESISTIVITY NOT POSITIVE", 1},
        RefusedRow{"ZeroFrequency", "Magnetotelluric Data", FlatAsciiKind::Magnetotelluric,
                   "0 100 45\n", "FREQUENCY NOT POSITIVE", 1},
        RefusedRow{"SecondsBeyondTheFloatRange", "Central Loop TEM", FlatAsciiKind::Tem,
                   "1E-3 5\n1E36 5\n", "VALUE OUT OF RANGE", 2, TemTimeUnit::Seconds},
        RefusedRow{"NegativeTime", "Central Loop TEM", FlatAsciiKind::Tem, "-1 5\n",
                   "TIME NOT POSITIVE", 1}),
    [](const auto& info) { return std::string(info.param.name); });

Sounding modelSounding(std::vector<float> par, int nlayer, bool depths) {
  Sounding s;
  s.header = importedDataHeader(core::DataTypeText("Schlumberger Array"));
  s.header.name.assign("A name of more than twenty-four characters");
  s.header.east = 1000.5f, s.header.north = 2000.25f, s.header.elevation = 100.0f;
  s.model.NLAYER = nlayer;
  s.model.NPK = 1;
  s.model.depths = core::logical(depths);
  EXPECT_TRUE(s.allocateModel());
  s.M.PAR = std::move(par);
  return s;
}

std::string modelText(const Sounding& s) {
  std::ostringstream out;
  EXPECT_TRUE(writeAsciiModel(out, s));
  return out.str();
}

TEST(AsciiModelExport, DepthModelWritesTheThicknessesOfTheSameModel) {
  const Sounding byThickness = modelSounding({100, 10, 1000, 5, 20}, 3, false);
  const Sounding byDepth = modelSounding({100, 10, 1000, 5, 25}, 3, true);
  EXPECT_EQ(modelText(byThickness), modelText(byDepth));
  EXPECT_EQ(modelText(byThickness),
            "        DATASET: A name of more than twen NORTH:      2000.25 EAST:      1000.50 "
            "ELEVATION:       100.00\n"
            "        LAYER  RESISTIVITY    THICKNESS        DEPTH    ELEVATION   LONG. COND.  T. "
            "RESIST.\n"
            "            1        100.0          5.0          5.0         95.0          0.1        "
            "500.0\n"
            "            2         10.0         20.0         25.0         75.0          2.0        "
            "200.0\n"
            "            3       1000.0\n");
}

TEST(AsciiModelExport, OneLayerModelWritesOnlyTheHalfSpace) {
  const std::string text = modelText(modelSounding({42}, 1, false));
  EXPECT_EQ(text.substr(text.find('\n', text.find("LAYER")) + 1), "            1         42.0\n");
}

TEST(AsciiSyntheticsExport, NoiseFactorsScatterTheSyntheticsByThePercentage) {
  Sounding s;
  core::DataHeader h = importedDataHeader(core::DataTypeText("Wenner Array"));
  h.NDATA = 4000, h.NCOMP = 1, h.NGEOM = 1;
  ASSERT_TRUE(beginImportedData(s, h));
  for (std::size_t i = 0; i < 4000; ++i) s.SVOLT(i, 0) = 100.0f, s.data().TIME(i, 0) = 1.0f;
  core::GaussianDeviate deviate;
  const SyntheticNoise noise{deviate, 5.0f};
  std::istringstream in(exported(s, true, &noise));
  const AcceptedRows rows = acceptRows(in, {1, 3}, 0, 0);
  ASSERT_EQ(rows.values.size(), 4000u);
  double sum = 0.0, squares = 0.0;
  for (const auto& row : rows.values) {
    const double deviation = row[2] / 100.0 - 1.0;
    sum += deviation, squares += deviation * deviation;
  }
  EXPECT_NEAR(sum / 4000, 0.0, 0.003);
  EXPECT_NEAR(std::sqrt(squares / 4000), 0.05, 0.003);
  std::istringstream plain(exported(s, true));
  for (const auto& row : acceptRows(plain, {1, 3}, 0, 0).values) ASSERT_EQ(row[2], 100.0f);
}

TEST(AsciiDataExport, DipoleArraysCarryTheirDipoleLengthLine) {
  Sounding s;
  core::DataHeader h = importedDataHeader(core::DataTypeText("Pole-Dipole Array"));
  h.NDATA = 1, h.NCOMP = 1, h.NGEOM = 1, h.dipoleLength = 12.5f;
  ASSERT_TRUE(beginImportedData(s, h));
  s.data().TIME(0, 0) = 2.0f, s.data().VOLTS(0, 0) = 33.25f;
  const std::string text = exported(s);
  EXPECT_NE(text.find("\n        DIPOLE LENGTH:     12.5\n       NUMBER      SPACING  RESISTIVITY\n"
                      "            1     2.000000     33.250000 \n"),
            std::string::npos)
      << text;
}

TEST(AsciiExport, UnwritableFileIsReported) {
  const files::Result written =
      exportAscii("/nonexistent-folder/x.dat", AsciiExportKind::Data, Sounding{});
  EXPECT_FALSE(written.ok);
  EXPECT_EQ(test::texts(written),
            (std::vector<std::string>{"CANNOT OPEN FILE: /nonexistent-folder/x.dat"}));
}

TEST(AsciiExport, TheSaveDialogNamesDataOrModelFiles) {
  Sounding conductivity;
  conductivity.header = importedDataHeader(core::DataTypeText("EM Conductivity Data"));
  EXPECT_EQ(asciiExportFile(AsciiExportKind::Data, conductivity).title,
            "Flat ASCII Resistivity Data File");
  EXPECT_EQ(asciiExportFile(AsciiExportKind::Synthetics, Sounding{}).filter,
            "Flat ASCII Resistivity Data File|*.DAT|");
  EXPECT_EQ(asciiExportFile(AsciiExportKind::Model, conductivity).filter,
            "Flat ASCII Conductivity Model File|*.MDL|");
  EXPECT_EQ(asciiExportFile(AsciiExportKind::EquivalentModels, Sounding{}).title,
            "Flat ASCII Resistivity Model File");
}

// While it lives, a write that makes a file longer than `bytes` fails, as on
// a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, previous_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_{};
  void (*previous_)(int) = nullptr;
};

// The export used to truncate the old file before writing the new one.
TEST(AsciiExport, WriteFailingHalfwayLeavesTheOldFile) {
  test::TemporaryFolder folder;
  const std::string path = (folder / "model.mdl").string();
  test::writeFile(path, "the old model\n");
  core::CurrentSounding current;
  core::resetToDefault(current);
  files::Result written;
  {
    const FileSizeLimit limit(64);
    written = exportAscii(path, AsciiExportKind::Model, current.S);
  }
  EXPECT_FALSE(written.ok);
  EXPECT_EQ(test::lastText(written), "ERROR WRITING FILE: " + path);
  EXPECT_EQ(test::readFile(path), "the old model\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                          std::filesystem::directory_iterator()),
            1);
}

}  // namespace
}  // namespace zeva::files
