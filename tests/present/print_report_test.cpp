// The printed report on a recording canvas: sections and their preconditions,
// paging with footer and page numbers, legends.

#include "present/print_report.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "present/plot_setup.h"
#include "present/recording_canvas.h"
#include "tests/present/plot_test_soundings.h"

namespace zeva::present {
namespace {

using core::kTrue;

struct Report {
  RecordingCanvas canvas;
  int pages = 0;
  Report(core::CurrentSounding& c, const ReportOptions& options) {
    PlotSettings settings;
    SetUpPlots(c, settings);
    Plotter plotter(canvas);
    pages = PrintReport(plotter, c, settings, options);
  }
  bool has(std::string_view text) const { return canvas.hasText(text); }
  bool contains(std::string_view part) const {
    return std::ranges::any_of(
        canvas.texts, [&](const auto& t) { return t.text.find(part) != std::string::npos; });
  }
};

// Reports of the default sounding, changed as each case needs.
class DefaultReport : public ::testing::Test {
 protected:
  DefaultReport() { core::resetToDefault(c); }
  core::CurrentSounding c;
};

ReportOptions tablesOnly() {
  ReportOptions o;
  o.plots = false;
  o.userName = "A. Surveyor";
  return o;
}

TEST(Report, EveryPageEndsWithTheFooterAndCarriesItsNumber) {
  core::CurrentSounding c;
  std::vector<float> x, rho;
  for (int i = 0; i < 150; ++i) {
    x.push_back(1.0f + static_cast<float>(i));
    rho.push_back(100.0f);
  }
  test::fillData(c.S, core::type::kWenner, x, {rho});
  test::fillModel(c.S, {100.0f}, {});
  c.S.shareDataWith(c.SM);
  Report r(c, tablesOnly());
  ASSERT_GE(r.pages, 3);
  EXPECT_EQ(static_cast<int>(r.canvas.pages.size()), r.pages);
  for (int page = 1; page <= r.pages; ++page) {
    const auto footers = std::ranges::count_if(r.canvas.texts, [&](const auto& t) {
      return t.page == page && t.text == "Prepared for A. Surveyor";
    });
    EXPECT_EQ(footers, 1) << page;
    const auto numbers = std::ranges::count_if(r.canvas.texts, [&](const auto& t) {
      return t.page == page && t.text == std::to_string(page) && t.x == 7.2f;
    });
    EXPECT_EQ(numbers, 1) << page;
  }
  // The data table continues on the next page: reading 150 is listed once.
  const auto last = std::ranges::count_if(
      r.canvas.texts, [](const auto& t) { return t.text.rfind(" 150", 0) == 0; });
  EXPECT_EQ(last, 1);
  // Nothing is written into the bottom margin except the footer.
  for (const auto& t : r.canvas.texts) {
    if (t.text.rfind("Prepared for", 0) != 0) {
      EXPECT_GE(t.y, 1.5f * kReportLineHeight - 1e-4f);
    }
  }
}

TEST_F(DefaultReport, UnmaskedDataSayNoDataAreMasked) {
  Report r(c, tablesOnly());
  EXPECT_TRUE(r.has("NO DATA ARE MASKED"));
  EXPECT_FALSE(r.has("\"*\" INDICATES MASKED DATA POINT"));
  EXPECT_TRUE(r.has("ALL PARAMETERS ARE FREE"));
  EXPECT_TRUE(r.has("Layered Model:"));
  EXPECT_TRUE(r.has("Schlumberger Array"));
}

TEST_F(DefaultReport, MaskedValueIsStarredWithTheLegend) {
  c.S.data().LMASK(2, 0) = kTrue;
  c.S.M.LFIX[0] = kTrue;
  Report r(c, tablesOnly());
  EXPECT_TRUE(r.has("\"*\" INDICATES MASKED DATA POINT"));
  EXPECT_TRUE(r.has("\"*\" INDICATES FIXED PARAMETER"));
  EXPECT_TRUE(r.contains("68.500*"));
}

TEST_F(DefaultReport, BoundsNeedEquivalenceResultsEvenWhenTheOptionIsOn) {
  ReportOptions options = tablesOnly();
  options.layeredBounds = true;
  {
    Report r(c, options);
    EXPECT_FALSE(r.has("Parameter Bounds from Equivalence Analysis"));
  }
  c.S.layer.equivalenceValid = kTrue;
  c.S.PARMIN.assign(13, 1.0f);
  c.S.PARMAX.assign(13, 1000.0f);
  c.S.ZNMIN.assign(7, 0.5f);
  c.S.ZNMAX.assign(7, 500.0f);
  Report r(c, options);
  EXPECT_TRUE(r.has("Parameter Bounds from Equivalence Analysis"));
  EXPECT_FALSE(r.contains("IMPEDANCE"));  // a Schlumberger model has none
  EXPECT_TRUE(r.has("LAYER     MINIMUM        BEST     MAXIMUM"));
  EXPECT_TRUE(r.contains("  1 RHO"));
  EXPECT_TRUE(r.contains("  6 THICK"));
  EXPECT_TRUE(r.contains("  6 DEPTH"));
}

TEST_F(DefaultReport, ResolutionMatrixMarksFixedParameters) {
  test::fillModel(c.S, {10.0f, 100.0f}, {5.0f});
  c.S.layer.resolutionValid = kTrue;
  c.S.RESOLV = {0.9f, 0.1f, 0.8f, 0.05f, 0.02f, 0.7f};  // R11 R12 R22 R13 R23 R33
  c.S.M.LFIX[1] = kTrue;
  Report r(c, tablesOnly());
  EXPECT_TRUE(r.has("PARAMETER RESOLUTION MATRIX:"));
  EXPECT_TRUE(r.has("   1   0.90   FIX  0.05"));
  EXPECT_TRUE(r.has("   2    FIX   FIX"));
  EXPECT_TRUE(r.has("   3   0.70"));
  EXPECT_TRUE(r.has("\"FIX\" INDICATES FIXED PARAMETER"));
}

TEST_F(DefaultReport, SmoothModelIsHeadedByItsMethod) {
  test::fillModel(c.SM, {20.0f, 30.0f, 40.0f}, {1.0f, 2.0f});
  c.SM.layer.syntheticValid = kTrue;
  c.SM.model.LROUGH = kTrue;
  EXPECT_TRUE(Report(c, tablesOnly()).has("Smooth Model: Occam's Inversion"));
  c.SM.model.LROUGH = core::kFalse;
  EXPECT_TRUE(Report(c, tablesOnly()).has("Smooth Model: Ridge Regression"));
  c.SM.layer.syntheticValid = core::kFalse;
  EXPECT_FALSE(Report(c, tablesOnly()).contains("Smooth Model"));
}

TEST_F(DefaultReport, WorksheetListsVoltageAndCurrentOfTheSchlumbergerSpread) {
  ReportOptions options = tablesOnly();
  options.worksheet = true;
  Report r(c, options);
  EXPECT_TRUE(r.contains("AB/2"));
  EXPECT_TRUE(r.contains("2piV/I"));
  // Reading 1: V/I = 72 mV / 28 mA = 2.571 ohm, 2 pi V/I = 16.157; MN = 0.8 m.
  EXPECT_TRUE(
      r.has("   1     4.000     0.800     72.000    28.000     2.571    16.157      159.90"));
}

TEST_F(DefaultReport, PlotsComeFirstScaledOntoTheReportPage) {
  ReportOptions options = tablesOnly();
  options.plots = true;
  Report r(c, options);
  const auto* title = r.canvas.findText("Default Data");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->page, 1);
  EXPECT_FLOAT_EQ(title->height, 0.27f * 0.75f);
  for (const auto& s : r.canvas.segments) {
    EXPECT_LE(s.to.x, kReportPageWidth + 1e-3f);
    EXPECT_LE(s.to.y, kReportPageHeight + 1e-3f);
    EXPECT_GE(s.to.y, 0.0f);
  }
}

TEST(Report, GroundingImpedanceModelListsTheImpedanceAndItsBounds) {
  core::CurrentSounding c;
  test::fillData(c.S, core::type::kGroundingImpedance, {1, 2, 5, 10}, {{40, 30, 20, 15}});
  c.S.model = core::ModelHeader{};
  c.S.model.NLAYER = 2;
  c.S.model.NPK = 1;
  c.S.model.NPAR = 4;  // two resistivities, one thickness, the impedance
  ASSERT_TRUE(c.S.allocateModelForStoredCounts());
  c.S.M.PAR = {100.0f, 10.0f, 3.0f, 42.0f};
  c.S.M.LFIX[3] = kTrue;
  c.S.layer.equivalenceValid = kTrue;
  c.S.PARMIN = {80.0f, 8.0f, 2.5f, 40.0f};
  c.S.PARMAX = {120.0f, 12.0f, 3.5f, 44.0f};
  c.S.ZNMIN = {2.5f, 0.0f};
  c.S.ZNMAX = {3.5f, 0.0f};
  c.S.shareDataWith(c.SM);
  Report r(c, tablesOnly());
  EXPECT_TRUE(r.has("IMPEDANCE    42.000* (ohm)"));
  EXPECT_TRUE(r.has("\"*\" INDICATES FIXED PARAMETER"));
  EXPECT_TRUE(r.has("IMPEDANCE  40.000      42.000      44.000"));
  // The impedance is no layer: two layer rows only.
  EXPECT_TRUE(r.contains("     2      10.000"));
  EXPECT_FALSE(r.contains("     3 "));
}

TEST(Report, ConductivityMeterReadingsListSpacingAndHeight) {
  core::CurrentSounding c;
  // Frequency, coil spacing and height of each reading.
  test::fillData(c.S, core::type::kEmConductivity, {9800, 6400}, {{20, 30}, {25, 35}});
  c.S.header.NGEOM = 3;
  c.S.allocateData();
  auto& d = c.S.data();
  const float geometry[2][3] = {{9800, 3.66f, 1}, {6400, 10, 0}};
  for (int i = 0; i < 2; ++i)
    for (int k = 0; k < 3; ++k) d.TIME(i, k) = geometry[i][k];
  d.VOLTS(0, 0) = 20, d.VOLTS(1, 0) = 30, d.VOLTS(0, 1) = 25, d.VOLTS(1, 1) = 35;
  d.NSET[0] = 2;
  test::fillModel(c.S, {30.0f}, {});
  c.S.shareDataWith(c.SM);
  Report r(c, tablesOnly());
  EXPECT_TRUE(r.contains("    Spacing     Height"));
  EXPECT_TRUE(r.has("   1      3.660      1.000     20.000      25.000 "));
  EXPECT_FALSE(r.contains("9800"));
}

}  // namespace
}  // namespace zeva::present
