#include "files/edi_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "ui/scripted_toolkit.h"

namespace zeva::files {
namespace {

// An EDI file of a 100 ohm-m half-space: |Z| = sqrt(5 rho f) in mV/km/nT at a
// phase of 45 degrees, xy in the first quadrant and yx in the third.
std::string halfSpaceEdi(double rho, bool withXy, double variancePercent = 0.0) {
  const double f[] = {1000.0, 100.0, 10.0, 1.0, 0.1};
  std::ostringstream out;
  out << ">HEAD\n  DATAID=\"MT-17\"\n  ELEV=412.5\n  EMPTY=1.0E32\n\n>INFO MAXLINES=10\n  free "
         "text = here\n"
      << ">=DEFINEMEAS\n  MAXCHAN=5\n>=MTSECT\n  SECTID=\"MT-17\"\n  NFREQ=5\n>FREQ //5\n";
  for (double v : f) out << "  " << v;
  out << "\n>ZROT //5\n  0 0 0 0 0\n";
  auto block = [&](const char* name, double sign, bool real) {
    out << '>' << name << " ROT=ZROT //5\n";
    for (double v : f) {
      const double magnitude = std::sqrt(5.0 * rho * v);
      out << ' ' << sign * magnitude / std::sqrt(2.0) * (real ? 1.0 : 1.0);
    }
    out << '\n';
  };
  if (withXy) {
    block("ZXYR", 1.0, true);
    block("ZXYI", 1.0, false);
    if (variancePercent > 0.0) {
      out << ">ZXY.VAR ROT=ZROT //5\n";
      for (double v : f) out << ' ' << std::pow(variancePercent / 100.0, 2) * 5.0 * rho * v;
      out << '\n';
    }
  }
  block("ZYXR", -1.0, true);
  block("ZYXI", -1.0, false);
  out << ">END\n";
  return out.str();
}

struct Read {
  int status;
  core::Sounding s;
  ui::ScriptedToolkit toolkit;
};

std::unique_ptr<Read> read(const std::string& text) {
  auto r = std::make_unique<Read>();
  std::istringstream in(text);
  r->status = readEdi(in, "FILE", r->s, r->toolkit);
  return r;
}

TEST(EdiReader, HalfSpaceImpedanceGivesItsResistivityAndFortyFiveDegrees) {
  for (bool withXy : {true, false}) {
    const auto r = read(halfSpaceEdi(100.0, withXy));
    ASSERT_EQ(r->status, 0) << r->toolkit.lastText();
    EXPECT_EQ(r->s.header.dataType, "Magnetotelluric Data");
    EXPECT_EQ(r->s.header.name.trimmed(), "MT-17");
    EXPECT_EQ(r->s.header.description.trimmed(), withXy ? "EDI XY" : "EDI YX");
    EXPECT_EQ(r->s.header.elevation, 412.5f);
    ASSERT_EQ(r->s.header.NDATA, 5);
    for (std::size_t i = 0; i < 5; ++i) {
      EXPECT_NEAR(r->s.data().VOLTS(i, 0), 100.0f, 1e-3f);
      EXPECT_NEAR(r->s.data().VOLTS(i, 1), 45.0f, 1e-4f);
    }
    EXPECT_EQ(r->s.data().TIME(4, 0), 0.1f);
  }
}

TEST(EdiReader, ImpedanceVarianceGivesResistivityAndPhaseErrors) {
  const auto r = read(halfSpaceEdi(50.0, true, 5.0));
  ASSERT_EQ(r->status, 0);
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_NEAR(r->s.data().UVOLTS(i, 0), 0.10f * 50.0f, 1e-3f);  // twice the relative |Z| error
    EXPECT_NEAR(r->s.data().UVOLTS(i, 1), 0.05f * 57.29578f, 1e-3f);  // the same in radians
  }
}

TEST(EdiReader, ResistivityAndPhaseBlocksAreUsedWithTheEmptySentinelSkipped) {
  const auto r = read(
      ">HEAD\nEMPTY=1.0E32\n>=MTSECT\n>FREQ //3\n10 1 0.1\n>RHOYX //3\n30 1.0E32 50\n"
      ">PHSYX //3\n-130 -120 -140\n>RHOYX.ERR //3\n3 3 5\n>END\n");
  ASSERT_EQ(r->status, 0) << r->toolkit.lastText();
  EXPECT_EQ(r->s.header.name.trimmed(), "FILE");
  ASSERT_EQ(r->s.header.NDATA, 2);
  EXPECT_EQ(r->s.data().TIME(1, 0), 0.1f);
  EXPECT_EQ(r->s.data().VOLTS(1, 0), 50.0f);
  EXPECT_EQ(r->s.data().VOLTS(0, 1), 50.0f);
  EXPECT_EQ(r->s.data().UVOLTS(1, 0), 5.0f);
}

struct BadEdi {
  const char* name;
  std::string text;
  std::string message;
};
void PrintTo(const BadEdi& c, std::ostream* os) { *os << c.name; }

class EdiMalformed : public ::testing::TestWithParam<BadEdi> {};

TEST_P(EdiMalformed, EndsWithAMessageAndFailure) {
  const auto r = read(GetParam().text);
  EXPECT_EQ(r->status, -1);
  EXPECT_EQ(r->toolkit.lastText(), GetParam().message);
  EXPECT_EQ(r->s.header.NDATA, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, EdiMalformed,
    ::testing::Values(
        BadEdi{"NoHead", "just text\n1 2 3\n", "FILE IS NOT AN EDI FILE: FILE"},
        BadEdi{"Empty", "", "FILE IS NOT AN EDI FILE: FILE"},
        BadEdi{"NoFrequencies", ">HEAD\n>ZXYR //2\n1 2\n>END\n",
               "EDI FILE HAS NO FREQUENCIES: FILE"},
        BadEdi{"ShortBlock", ">HEAD\n>FREQ //3\n1 2 3\n>ZXYR //3\n1 2\n>ZXYI //3\n1 2 3\n>END\n",
               "EDI BLOCK ZXYR DOES NOT HOLD ONE VALUE PER FREQUENCY: FILE"},
        BadEdi{"NoMode", ">HEAD\n>FREQ //1\n1\n>TX.EXP //1\n1\n>END\n",
               "EDI FILE HAS NO XY OR YX IMPEDANCE OR RESISTIVITY: FILE"},
        BadEdi{"BadNumber", ">HEAD\n>FREQ //2\n1 two\n>END\n",
               "ERROR READING EDI VALUE IN BLOCK FREQ: two"},
        BadEdi{"AllEmpty",
               ">HEAD\nEMPTY=1E32\n>FREQ //1\n1\n>ZXYR //1\n1E32\n>ZXYI //1\n1E32\n>END\n",
               "EDI FILE HAS NO XY OR YX IMPEDANCE OR RESISTIVITY: FILE"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zeva::files
