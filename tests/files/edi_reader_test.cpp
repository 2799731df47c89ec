#include "files/edi_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <sstream>

#include "tests/support/result_texts.h"
#include "tests/support/test_support.h"

namespace zeva::files {
namespace {

using C = std::complex<double>;
constexpr double kPi = std::numbers::pi;

// The field-unit impedance (mV/km/nT) of apparent resistivity rho at
// frequency f: |Z| = sqrt(5 rho f), so that rho = 0.2 |Z|^2 / f.
C impedanceOf(double rho, double phaseDegrees, double f) {
  return std::polar(std::sqrt(5.0 * rho * f), phaseDegrees * kPi / 180.0);
}

std::string number(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9E", v);
  return text;
}

// An EDI block: its name and options, and its values as the file writes them.
struct Block {
  std::string header;  // e.g. "ZXYR ROT=ZROT"
  std::vector<std::string> values;
};

// How a writer lays the file out.
struct Style {
  const char* name;
  bool lowerCase = false, crlfAndTabs = false, continuedOptions = false, blockPerLine = false;
};

std::string ediText(const std::vector<Block>& blocks, const Style& style,
                    const std::string& head =
                        "  DATAID=\"Station 17\"\n  LAT=-33:30:00\n"
                        "  LONG=151.25\n  ELEV=412.5\n  EMPTY=1.0E32\n") {
  std::ostringstream out;
  out << ">HEAD\n"
      << head << "\n>INFO MAXLINES=3\n  Free text = anything\n\n"
      << ">=DEFINEMEAS\n  MAXCHAN=5\n  REFLAT=10:00:00\n";
  const char* channels[][2] = {{"1001.001", "HX"},
                               {"1002.001", "HY"},
                               {"1003.001", "HZ"},
                               {"1004.001", "EX"},
                               {"1005.001", "EY"}};
  for (const auto& [id, type] : channels) {
    out << '>' << (type[0] == 'H' ? "HMEAS" : "EMEAS") << " ID=" << id << " CHTYPE=" << type;
    out << (style.continuedOptions ? "\n    X=0.0 Y=0.0\n    Z=0.0 AZM=0.0\n"
                                   : " X=0.0 Y=0.0 Z=0.0 AZM=0.0\n");
  }
  out << ">=MTSECT\n  SECTID=\"S17\"\n";
  for (const Block& b : blocks) {
    std::string header = b.header;
    if (style.continuedOptions && header.find(' ') != std::string::npos)
      header.replace(header.find(' '), 1, "\n    ");
    out << '>' << header << " //" << b.values.size() << '\n';
    for (std::size_t i = 0; i < b.values.size(); ++i) {
      out << ' ' << b.values[i];
      if (!style.blockPerLine && i % 6 == 5) out << '\n';
    }
    out << "\n\n";
  }
  out << ">END\n";
  std::string text = out.str();
  if (style.lowerCase) {
    std::string lowered;
    for (char c : text)
      lowered.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    text = lowered;
  }
  if (style.crlfAndTabs) {
    std::string converted;
    for (char c : text) {
      if (c == '\n')
        converted += "\r\n";
      else if (c == ' ')
        converted += '\t';
      else
        converted.push_back(c);
    }
    text = converted;
  }
  return text;
}

// A curve of the file: per frequency the resistivity and phase of xy and yx.
struct Curve {
  std::vector<double> f, rhoXy, phaseXy, rhoYx, phaseYx;
};

Curve curve(std::size_t n) {
  Curve c;
  for (std::size_t i = 0; i < n; ++i) {
    c.f.push_back(1000.0 * std::pow(10.0, -5.0 * static_cast<double>(i) / static_cast<double>(n)));
    c.rhoXy.push_back(30.0 + 7.0 * static_cast<double>(i % 11));
    c.phaseXy.push_back(35.0 + static_cast<double>(i % 19));
    c.rhoYx.push_back(300.0 - 5.0 * static_cast<double>(i % 13));
    c.phaseYx.push_back(60.0 - static_cast<double>(i % 17));
  }
  return c;
}

// Blocks of a tensor whose xy lies in the first quadrant and yx in the third.
std::vector<Block> impedanceBlocks(const Curve& c) {
  std::vector<Block> blocks{{"FREQ", {}},          {"ZROT", {}},          {"ZXYR ROT=ZROT", {}},
                            {"ZXYI ROT=ZROT", {}}, {"ZYXR ROT=ZROT", {}}, {"ZYXI ROT=ZROT", {}}};
  for (std::size_t i = 0; i < c.f.size(); ++i) {
    const C xy = impedanceOf(c.rhoXy[i], c.phaseXy[i], c.f[i]);
    const C yx = -impedanceOf(c.rhoYx[i], c.phaseYx[i], c.f[i]);
    blocks[0].values.push_back(number(c.f[i]));
    blocks[1].values.push_back("0.0");
    blocks[2].values.push_back(number(xy.real()));
    blocks[3].values.push_back(number(xy.imag()));
    blocks[4].values.push_back(number(yx.real()));
    blocks[5].values.push_back(number(yx.imag()));
  }
  return blocks;
}

struct Read {
  files::Result result;
  core::Sounding s;
};

std::unique_ptr<Read> read(const std::string& text, EdiMode mode = EdiMode::Auto) {
  auto r = std::make_unique<Read>();
  std::istringstream in(text);
  r->result = readEdi(in, "FILE", r->s, mode);
  return r;
}

void expectCurve(const Read& r, const Curve& c, bool yx, const std::vector<std::size_t>& kept) {
  ASSERT_EQ(r.s.header.NDATA, static_cast<int>(kept.size()));
  const auto& d = r.s.data();
  for (std::size_t k = 0; k < kept.size(); ++k) {
    const std::size_t i = kept[k];
    const double rho = yx ? c.rhoYx[i] : c.rhoXy[i];
    const double phase = yx ? c.phaseYx[i] : c.phaseXy[i];
    EXPECT_FLOAT_EQ(d.TIME(k, 0), static_cast<float>(c.f[i])) << k;
    EXPECT_NEAR(d.VOLTS(k, 0), rho, 1e-5 * rho) << k;
    EXPECT_NEAR(d.VOLTS(k, 1), phase, 1e-4) << k;
  }
}

std::vector<std::size_t> all(std::size_t n) {
  std::vector<std::size_t> v(n);
  for (std::size_t i = 0; i < n; ++i) v[i] = i;
  return v;
}

class EdiWriterStyle : public ::testing::TestWithParam<Style> {};

TEST_P(EdiWriterStyle, EveryValueIsTheResistivityAndPhaseTheImpedanceWasMadeOf) {
  const Style& style = GetParam();
  const Curve c = curve(style.blockPerLine ? 1000 : 23);
  const std::string text = ediText(impedanceBlocks(c), style);
  if (style.blockPerLine) {
    std::size_t longest = 0;
    for (std::size_t at = 0, next; at < text.size(); at = next + 1) {
      next = std::min(text.find('\n', at), text.size());
      longest = std::max(longest, next - at);
    }
    ASSERT_GT(longest, 10000u);
  }
  const auto xy = read(text);
  ASSERT_TRUE(xy->result.ok) << test::lastText(xy->result);
  EXPECT_TRUE(xy->result.messages.empty());
  expectCurve(*xy, c, false, all(c.f.size()));
  EXPECT_EQ(xy->s.header.name.trimmed(), style.lowerCase ? "station 17" : "Station 17");
  EXPECT_EQ(xy->s.header.description.trimmed(), "EDI XY");
  EXPECT_FLOAT_EQ(xy->s.header.north, -33.5f);
  EXPECT_FLOAT_EQ(xy->s.header.east, 151.25f);
  EXPECT_FLOAT_EQ(xy->s.header.elevation, 412.5f);
  const auto yx = read(text, EdiMode::Yx);
  ASSERT_TRUE(yx->result.ok) << test::lastText(yx->result);
  expectCurve(*yx, c, true, all(c.f.size()));
  EXPECT_EQ(yx->s.header.description.trimmed(), "EDI YX");
}

INSTANTIATE_TEST_SUITE_P(Writers, EdiWriterStyle,
                         ::testing::Values(Style{"Plain"}, Style{"LowerCase", true},
                                           Style{"CrLfAndTabs", false, true},
                                           Style{"ContinuedOptionLists", false, false, true},
                                           Style{"OneBlockPerLine", false, false, false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EdiReader, MissingValuesLeaveTheirFrequencyOutOnlyWhereTheyAreUsed) {
  const Curve c = curve(8);
  std::vector<Block> blocks = impedanceBlocks(c);
  blocks[2].values[1] = "NaN";     // ZXYR
  blocks[3].values[4] = "1.0E32";  // ZXYI: the EMPTY value
  blocks[0].values[6] = "-INF";    // FREQ
  // Blocks the xy curve does not use may hold anything.
  Block variance{"ZYX.VAR ROT=ZROT", std::vector<std::string>(8, "nan")};
  Block tipper{"TXR.EXP", std::vector<std::string>(8, "n/a")};
  Block diagonal{"ZXXR ROT=ZROT", std::vector<std::string>(8, "1.0E32")};
  blocks.insert(blocks.end(), {variance, tipper, diagonal});
  const auto r = read(ediText(blocks, Style{"Plain"}));
  ASSERT_TRUE(r->result.ok) << test::lastText(r->result);
  expectCurve(*r, c, false, {0, 2, 3, 5, 7});
  ASSERT_EQ(r->result.messages.size(), 1u);
  EXPECT_EQ(test::lastText(r->result),
            "3 FREQUENCIES WITH MISSING VALUES LEFT OUT OF EDI FILE: FILE");
  // The yx curve uses none of the broken values but the frequency and its
  // NaN variance, which only takes the error bar away.
  const auto yx = read(ediText(blocks, Style{"Plain"}), EdiMode::Yx);
  ASSERT_TRUE(yx->result.ok) << test::lastText(yx->result);
  expectCurve(*yx, c, true, {0, 1, 2, 3, 4, 5, 7});
  EXPECT_EQ(test::lastText(yx->result),
            "1 FREQUENCY WITH MISSING VALUES LEFT OUT OF EDI FILE: FILE");
  EXPECT_EQ(yx->s.data().UVOLTS(0, 0), 0.0f);
}

TEST(EdiReader, ImpedanceVarianceGivesResistivityAndPhaseErrors) {
  const Curve c = curve(5);
  std::vector<Block> blocks = impedanceBlocks(c);
  Block variance{"ZXY.VAR", {}};
  for (std::size_t i = 0; i < 5; ++i)  // |dZ| = 5 % of |Z|
    variance.values.push_back(number(0.0025 * std::norm(impedanceOf(c.rhoXy[i], 0, c.f[i]))));
  blocks.push_back(variance);
  const auto r = read(ediText(blocks, Style{"Plain"}));
  ASSERT_TRUE(r->result.ok);
  for (std::size_t i = 0; i < 5; ++i) {
    // rho ~ |Z|^2 doubles the relative error; the phase error is its angle.
    EXPECT_NEAR(r->s.data().UVOLTS(i, 0), 0.10 * c.rhoXy[i], 1e-4 * c.rhoXy[i]);
    EXPECT_NEAR(r->s.data().UVOLTS(i, 1), 0.05 * 180.0 / kPi, 1e-4);
  }
}

TEST(EdiReader, ResistivityAndPhaseOnlyFilesAndYxOnlyFilesKeepTheirValues) {
  const auto r = read(
      ">HEAD\nEMPTY=1.0E32\n>=MTSECT\n>FREQ //3\n10 1 0.1\n>RHOYX //3\n30 1.0E32 50\n"
      ">PHSYX //3\n-130 -120 -140\n>RHOYX.ERR //3\n3 3 5\n>PHSYX.ERR //3\n1 1 2\n>END\n");
  ASSERT_TRUE(r->result.ok) << test::lastText(r->result);
  EXPECT_EQ(r->s.header.name.trimmed(), "FILE");  // no station in the file
  ASSERT_EQ(r->s.header.NDATA, 2);
  EXPECT_EQ(r->s.header.description.trimmed(), "EDI YX");
  EXPECT_EQ(r->s.data().TIME(1, 0), 0.1f);
  EXPECT_EQ(r->s.data().VOLTS(1, 0), 50.0f);
  EXPECT_EQ(r->s.data().VOLTS(0, 1), 50.0f);  // third quadrant shown in the first
  EXPECT_EQ(r->s.data().UVOLTS(1, 0), 5.0f);
  EXPECT_EQ(r->s.data().UVOLTS(1, 1), 2.0f);
  const auto xy = read(
      ">HEAD\n>=MTSECT\n>FREQ //2\n8 2\n>RHOXY //2\n12.5 20\n>PHSXY //2\n"
      "44 46\n>END\n");
  ASSERT_TRUE(xy->result.ok) << test::lastText(xy->result);
  EXPECT_EQ(xy->s.data().VOLTS(1, 0), 20.0f);
  EXPECT_EQ(xy->s.data().VOLTS(1, 1), 46.0f);
}

// The tensor R Z R^T in axes turned clockwise by `degrees`, by plain matrix
// products.
std::array<C, 4> turned(const std::array<C, 4>& z, double degrees) {
  const double a = degrees * kPi / 180.0;
  const double r[2][2] = {{std::cos(a), std::sin(a)}, {-std::sin(a), std::cos(a)}};
  const C m[2][2] = {{z[0], z[1]}, {z[2], z[3]}};
  std::array<C, 4> out{};
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 2; ++j)
      for (int k = 0; k < 2; ++k)
        for (int l = 0; l < 2; ++l)
          out[static_cast<std::size_t>(2 * i + j)] += r[i][k] * m[k][l] * r[j][l];
  return out;
}

std::vector<Block> tensorBlocks(const std::vector<double>& f,
                                const std::vector<std::array<C, 4>>& z, double variance = 0.0) {
  std::vector<Block> blocks{{"FREQ", {}}};
  for (double v : f) blocks[0].values.push_back(number(v));
  const char* names[] = {"XX", "XY", "YX", "YY"};
  for (std::size_t k = 0; k < 4; ++k) {
    Block re{std::string("Z") + names[k] + "R", {}}, im{std::string("Z") + names[k] + "I", {}},
        var{std::string("Z") + names[k] + ".VAR", {}};
    for (const auto& t : z) {
      re.values.push_back(number(t[k].real()));
      im.values.push_back(number(t[k].imag()));
      var.values.push_back(number(variance));
    }
    blocks.insert(blocks.end(), {re, im});
    if (variance > 0.0) blocks.push_back(var);
  }
  return blocks;
}

TEST(EdiReader, DeterminantOfARotatedOneDimensionalTensorIsTheUnrotatedXy) {
  const std::vector<double> f{100.0, 1.0, 0.01};
  std::vector<std::array<C, 4>> z;
  for (std::size_t i = 0; i < 3; ++i) {
    const C xy =
        impedanceOf(80.0 * static_cast<double>(i + 1), 50.0 - 5.0 * static_cast<double>(i), f[i]);
    z.push_back(turned({C{}, xy, -xy, C{}}, 37.0));
  }
  const double variance = 0.01 * std::norm(z[0][1]);
  for (EdiMode mode : {EdiMode::Determinant, EdiMode::SumOfSquares}) {
    const auto r = read(ediText(tensorBlocks(f, z, variance), Style{"Plain"}), mode);
    ASSERT_TRUE(r->result.ok) << test::lastText(r->result);
    for (std::size_t i = 0; i < 3; ++i) {
      const double rho = 80.0 * static_cast<double>(i + 1);
      EXPECT_NEAR(r->s.data().VOLTS(i, 0), rho, 1e-6 * rho);
      EXPECT_NEAR(r->s.data().VOLTS(i, 1), 50.0 - 5.0 * static_cast<double>(i), 1e-5);
    }
    // Four independent elements of equal error: the invariant averages the
    // two estimates of the 1-D impedance, so its error is 1/sqrt(2) of one.
    const double relative = std::sqrt(variance / std::norm(z[0][1]) / 2.0);
    EXPECT_NEAR(r->s.data().UVOLTS(0, 0), 2.0 * relative * 80.0, 1e-4);
  }
  EXPECT_EQ(read(ediText(tensorBlocks(f, z), Style{"Plain"}), EdiMode::Determinant)
                ->s.header.description.trimmed(),
            "EDI DET");
}

TEST(EdiReader, InvariantsOfARotatedTwoDimensionalTensor) {
  // Principal axes: TE 20 ohm-m at 60 degrees, TM 500 ohm-m at 30 degrees.
  const double f = 3.0;
  const C a = impedanceOf(20.0, 60.0, f), b = impedanceOf(500.0, 30.0, f);
  const std::vector<std::array<C, 4>> z{turned({C{}, a, -b, C{}}, -25.0)};
  const auto det = read(ediText(tensorBlocks({f}, z), Style{"Plain"}), EdiMode::Determinant);
  ASSERT_TRUE(det->result.ok) << test::lastText(det->result);
  EXPECT_NEAR(det->s.data().VOLTS(0, 0), 100.0, 1e-4);  // sqrt(20 x 500)
  EXPECT_NEAR(det->s.data().VOLTS(0, 1), 45.0, 1e-5);   // mean of the phases
  const auto ssq = read(ediText(tensorBlocks({f}, z), Style{"Plain"}), EdiMode::SumOfSquares);
  const C expected = std::sqrt((a * a + b * b) / 2.0);
  EXPECT_NEAR(ssq->s.data().VOLTS(0, 0), 0.2 * std::norm(expected) / f, 1e-4);
  EXPECT_NEAR(ssq->s.data().VOLTS(0, 1), std::arg(expected) * 180.0 / kPi, 1e-5);
  // The xy element of the turned tensor is what the file holds.
  const auto xy = read(ediText(tensorBlocks({f}, z), Style{"Plain"}), EdiMode::Xy);
  EXPECT_NEAR(xy->s.data().VOLTS(0, 0), 0.2 * std::norm(z[0][1]) / f, 1e-4);
}

// A spectra-only file: the cross powers of channels in the order of `ids`
// for fields E = Z H with magnetic powers `hh`, packed with the real parts
// of <X_k X_l*> below the diagonal and the imaginary parts above it.
struct SpectraCase {
  double f;
  std::array<C, 4> z;
  std::array<C, 4> hh;  // <Hx Hx*>, <Hx Hy*>, <Hy Hx*>, <Hy Hy*>
};

std::string spectraEdi(const std::vector<SpectraCase>& cases, double rotation,
                       const std::string& extra = {}) {
  // Channel order in the file: EX, HX, HZ, EY, HY (IDs 4, 1, 3, 5, 2).
  const char* ids[] = {"1004.001", "1001.001", "1003.001", "1005.001", "1002.001"};
  std::ostringstream out;
  out << ">HEAD\n  DATAID=\"SP-3\"\n  EMPTY=1.0E32\n>=DEFINEMEAS\n  MAXCHAN=5\n"
      << ">HMEAS ID=1001.001 CHTYPE=HX\n  X=0 Y=0 AZM=0\n>HMEAS ID=1002.001 CHTYPE=HY\n"
      << "  X=0 Y=0 AZM=90\n>HMEAS ID=1003.001 CHTYPE=HZ\n>EMEAS ID=1004.001 CHTYPE=EX\n"
      << "  X=-50 Y=0 X2=50 Y2=0\n>EMEAS ID=1005.001 CHTYPE=EY\n  X=0 Y=-50 X2=0 Y2=50\n"
      << ">=SPECTRASECT\n  SECTID=\"SP-3\"\n  NCHAN=5\n  NFREQ=" << cases.size() << "\n//5\n";
  for (const char* id : ids) out << "  " << id;
  out << '\n';
  for (const SpectraCase& c : cases) {
    // Channel fields as linear maps of (Hx, Hy): E = Z H, Hz = 0.1 Hx.
    const std::array<std::array<C, 2>, 5> map{
        {{c.z[0], c.z[1]}, {1.0, 0.0}, {0.1, 0.0}, {c.z[2], c.z[3]}, {0.0, 1.0}}};
    const C hh[2][2] = {{c.hh[0], c.hh[1]}, {c.hh[2], c.hh[3]}};
    C s[5][5];
    for (int k = 0; k < 5; ++k)
      for (int l = 0; l < 5; ++l) {
        s[k][l] = 0.0;  // <X_k X_l*> = sum a_k,i <H_i H_j*> conj(a_l,j)
        for (int i = 0; i < 2; ++i)
          for (int j = 0; j < 2; ++j)
            s[k][l] += map[static_cast<std::size_t>(k)][static_cast<std::size_t>(i)] * hh[i][j] *
                       std::conj(map[static_cast<std::size_t>(l)][static_cast<std::size_t>(j)]);
      }
    out << ">SPECTRA FREQ=" << number(c.f) << " ROTSPEC=" << rotation << " AVGT=20 //25\n";
    for (int k = 0; k < 5; ++k) {
      for (int l = 0; l < 5; ++l)
        out << ' ' << number(k == l ? s[k][k].real() : k > l ? s[l][k].real() : s[k][l].imag());
      out << '\n';
    }
  }
  out << extra << ">END\n";
  return out.str();
}

TEST(EdiReader, SpectraOnlyFileGivesTheImpedanceOfItsFields) {
  const C a = impedanceOf(40.0, 55.0, 10.0), b = impedanceOf(250.0, 35.0, 10.0);
  const std::array<C, 4> z0 = turned({C{}, a, -b, C{}}, 20.0);  // a 2-D earth off the axes
  const std::array<C, 4> hh{C{2.0, 0.0}, C{0.3, 0.4}, C{0.3, -0.4}, C{1.5, 0.0}};
  const std::vector<SpectraCase> cases{{10.0, z0, hh}, {1.0, z0, hh}};
  for (double rotation : {0.0, 30.0}) {
    const std::string text = spectraEdi(cases, rotation);
    const std::array<C, 4> z = turned(z0, rotation);
    const auto xy = read(text);
    ASSERT_TRUE(xy->result.ok) << test::lastText(xy->result);
    EXPECT_EQ(xy->s.header.name.trimmed(), "SP-3");
    ASSERT_EQ(xy->s.header.NDATA, 2);
    EXPECT_EQ(xy->s.data().TIME(1, 0), 1.0f);
    EXPECT_NEAR(xy->s.data().VOLTS(0, 0), 0.2 * std::norm(z[1]) / 10.0, 1e-5 * std::norm(z[1]));
    EXPECT_NEAR(xy->s.data().VOLTS(0, 1), std::arg(z[1]) * 180.0 / kPi, 1e-5);
    const auto yx = read(text, EdiMode::Yx);
    EXPECT_NEAR(yx->s.data().VOLTS(0, 0), 0.2 * std::norm(z[2]) / 10.0, 1e-5 * std::norm(z[2]));
    EXPECT_NEAR(yx->s.data().VOLTS(0, 1), std::arg(-z[2]) * 180.0 / kPi, 1e-5);
    // The determinant does not see the rotation: sqrt(40 x 250) = 100 ohm-m.
    const auto det = read(text, EdiMode::Determinant);
    EXPECT_NEAR(det->s.data().VOLTS(0, 0), 100.0, 1e-4);
    EXPECT_NEAR(det->s.data().VOLTS(0, 1), 45.0, 1e-5);
    EXPECT_LT(det->s.data().UVOLTS(0, 0), 1e-3f);  // noise-free fields: only rounding
  }
}

TEST(EdiReader, SpectraErrorsAreThoseOfTheLeastSquaresFitOfTheAveragedFields) {
  // N noisy realisations of E = Z H + e; their averaged cross powers go to
  // the file, and the variance of Zxy is that of the least-squares fit of
  // the realisations, found here from the normal equations.
  const std::size_t n = 20;
  const std::array<C, 4> z{C{1, 2}, C{30, 25}, C{-40, -35}, C{-2, 1}};
  std::vector<std::array<C, 2>> h(n);
  std::vector<C> ex(n);
  std::uint32_t state = 7;
  const auto uniform = [&] {
    state = state * 1664525u + 1013904223u;
    return static_cast<double>(state) / 4294967296.0 - 0.5;
  };
  for (std::size_t i = 0; i < n; ++i) {
    h[i] = {C{uniform(), uniform()}, C{uniform(), uniform()}};
    ex[i] = z[0] * h[i][0] + z[1] * h[i][1] + 3.0 * C{uniform(), uniform()};
  }
  // Normal equations G w = b with G_jk = sum conj(h_j) h_k, b_j = sum conj(h_j) Ex.
  C g[2][2] = {}, rhs[2] = {};
  for (std::size_t i = 0; i < n; ++i)
    for (int j = 0; j < 2; ++j) {
      rhs[j] += std::conj(h[i][static_cast<std::size_t>(j)]) * ex[i];
      for (int k = 0; k < 2; ++k)
        g[j][k] += std::conj(h[i][static_cast<std::size_t>(j)]) * h[i][static_cast<std::size_t>(k)];
    }
  const C det = g[0][0] * g[1][1] - g[0][1] * g[1][0];
  const C w0 = (g[1][1] * rhs[0] - g[0][1] * rhs[1]) / det;
  const C w1 = (g[0][0] * rhs[1] - g[1][0] * rhs[0]) / det;
  double residual = 0.0;
  for (std::size_t i = 0; i < n; ++i) residual += std::norm(ex[i] - w0 * h[i][0] - w1 * h[i][1]);
  const double varianceXy = residual / static_cast<double>(n - 2) * (g[0][0] / det).real();

  // The same realisations as averaged powers, channels EX HX HZ EY HY.
  std::vector<std::array<C, 5>> x(n);
  for (std::size_t i = 0; i < n; ++i)
    x[i] = {ex[i], h[i][0], 0.1 * h[i][0], z[2] * h[i][0] + z[3] * h[i][1], h[i][1]};
  std::ostringstream spectra;
  spectra << ">HEAD\n>=DEFINEMEAS\n>HMEAS ID=1 CHTYPE=HX\n>HMEAS ID=2 CHTYPE=HY\n"
          << ">HMEAS ID=3 CHTYPE=HZ\n>EMEAS ID=4 CHTYPE=EX\n>EMEAS ID=5 CHTYPE=EY\n"
          << ">=SPECTRASECT\n NCHAN=5\n //5\n 4 1 3 5 2\n>SPECTRA FREQ=2.0 AVGT=20 //25\n";
  for (int k = 0; k < 5; ++k)
    for (int l = 0; l < 5; ++l) {
      C s = 0.0;
      for (std::size_t i = 0; i < n; ++i)
        s += x[i][static_cast<std::size_t>(k)] * std::conj(x[i][static_cast<std::size_t>(l)]);
      s /= static_cast<double>(n);
      spectra << ' ' << number(k == l ? s.real() : k > l ? std::conj(s).real() : s.imag());
    }
  spectra << "\n>END\n";
  const auto r = read(spectra.str());
  ASSERT_TRUE(r->result.ok) << test::lastText(r->result);
  const double rho = 0.2 * std::norm(w1) / 2.0;  // at 2 Hz
  EXPECT_NEAR(r->s.data().VOLTS(0, 0), rho, 1e-5 * rho);
  EXPECT_NEAR(r->s.data().UVOLTS(0, 0), 2.0 * std::sqrt(varianceXy / std::norm(w1)) * rho,
              1e-4 * rho);
}

TEST(EdiReader, StationNameComesFromDataIdOrTheSectionAndMessagesNameTheWholeFile) {
  const Curve c = curve(3);
  const auto dataId = read(
      ediText(impedanceBlocks(c), Style{"Plain"}, "DATAID=\"Transect 12 station 0457 north\"\n"));
  ASSERT_TRUE(dataId->result.ok);
  EXPECT_EQ(dataId->s.header.name.trimmed(), "Transect 12 station 0457");  // the field's 24
  const auto sectId = read(ediText(impedanceBlocks(c), Style{"Plain"}, "EMPTY=1.0E32\n"));
  EXPECT_EQ(sectId->s.header.name.trimmed(), "S17");
  EXPECT_FLOAT_EQ(sectId->s.header.north, 10.0f);  // from REFLAT of the measurements

  test::TemporaryFolder folder;
  const auto file = folder / "a_survey_file_with_a_long_name.edi";
  test::writeFile(file, ">HEAD\n>=MTSECT\n>FREQ //1\n1\n>END\n");
  core::Sounding s;
  const files::Result result = readEdiFile(file, s);
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(test::lastText(result),
            "EDI FILE HAS NO XY OR YX IMPEDANCE OR RESISTIVITY: " + file.string());
}

struct BadEdi {
  const char* name;
  std::string text;
  std::string message;
  EdiMode mode = EdiMode::Auto;
};
void PrintTo(const BadEdi& c, std::ostream* os) { *os << c.name; }

class EdiMalformed : public ::testing::TestWithParam<BadEdi> {};

TEST_P(EdiMalformed, EndsWithAMessageAndFailure) {
  const auto r = read(GetParam().text, GetParam().mode);
  EXPECT_FALSE(r->result.ok);
  EXPECT_EQ(test::lastText(r->result), GetParam().message);
  EXPECT_EQ(r->s.header.NDATA, 0);
}

const std::string kXyTail = ">ZXYR //1\n1\n>ZXYI //1\n1\n>END\n";

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
               "ERROR READING EDI VALUE IN BLOCK FREQ AT LINE 3: two"},
        BadEdi{"AllEmpty",
               ">HEAD\nEMPTY=1E32\n>FREQ //1\n1\n>ZXYR //1\n1E32\n>ZXYI //1\n1E32\n>END\n",
               "EDI FILE HAS NO XY OR YX IMPEDANCE OR RESISTIVITY: FILE"},
        BadEdi{
            "LineTooLong", ">HEAD\n>FREQ //1\n" + std::string(kEdiMaxLineLength + 1, '1') + "\n",
            "EDI LINE 3 IS LONGER THAN " + std::to_string(kEdiMaxLineLength) + " CHARACTERS: FILE"},
        BadEdi{"FrequencyBelowTheFloatRange", ">HEAD\n>FREQ //1\n\n1.0E-50\n" + kXyTail,
               "EDI FREQUENCY OUT OF RANGE AT LINE 4: FILE"},
        BadEdi{"NegativeFrequency", ">HEAD\n>FREQ //1\n-2\n" + kXyTail,
               "EDI FREQUENCY NOT POSITIVE AT LINE 3: FILE"},
        BadEdi{"ImpedanceBeyondTheFloatRange",
               ">HEAD\n>FREQ //1\n1\n>ZXYR //1\n1E30\n>ZXYI //1\n1\n>END\n",
               "EDI VALUE OUT OF RANGE AT LINE 5: FILE"},
        BadEdi{"PhaseAboveAnEmptyAboveTheFloatRange",
               ">HEAD\nEMPTY=1E40\n>FREQ //1\n1\n>RHOXY //1\n10\n>PHSXY //1\n1E39\n>END\n",
               "EDI PHASE OUTSIDE -180 TO 180 AT LINE 8: FILE"},
        BadEdi{"ErrorBarAboveTheFloatRange",
               ">HEAD\nEMPTY=1E40\n>FREQ //1\n1\n>RHOXY //1\n10\n>PHSXY //1\n45\n"
               ">RHOXY.ERR //1\n1E39\n>END\n",
               "EDI VALUE OUT OF RANGE AT LINE 10: FILE"},
        BadEdi{"NoXyInAYxFile", ">HEAD\n>FREQ //1\n1\n>RHOYX //1\n10\n>PHSYX //1\n-135\n>END\n",
               "EDI FILE HAS NO XY IMPEDANCE OR RESISTIVITY: FILE", EdiMode::Xy},
        BadEdi{"DeterminantOfResistivitiesOnly",
               ">HEAD\n>FREQ //1\n1\n>RHOXY //1\n10\n>PHSXY //1\n45\n>END\n",
               "EDI FILE HAS NO FULL IMPEDANCE TENSOR: FILE", EdiMode::Determinant},
        BadEdi{"SpectraWithoutAnElectricChannel",
               ">HEAD\n>=DEFINEMEAS\n>HMEAS ID=1 CHTYPE=HX\n>HMEAS ID=2 CHTYPE=HY\n"
               ">EMEAS ID=4 CHTYPE=EX\n>=SPECTRASECT\n//3\n1 2 4\n>SPECTRA FREQ=1 //9\n"
               "1 0 0 0 1 0 0 0 1\n>END\n",
               "EDI SPECTRA HAVE NO EY CHANNEL: FILE"},
        BadEdi{"SpectraOfTheWrongSize",
               ">HEAD\n>=SPECTRASECT\nHX=1 HY=2 EX=3 EY=4\n//4\n1 2 3 4\n>SPECTRA FREQ=1 //9\n"
               "1 0 0 0 1 0 0 0 1\n>END\n",
               "EDI SPECTRA BLOCK DOES NOT HOLD NCHAN BY NCHAN VALUES AT LINE 6: FILE"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zeva::files
