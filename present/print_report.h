#pragma once
// The printed report of the current sounding: the plots, then tables of the
// data, the layered model, its parameter bounds from equivalence analysis and
// its resolution matrix, and the same for the smooth model, on portrait pages
// of 7.5 x 12 units with a footer naming whom the report was prepared for.

#include <string>

#include "core/record/current_sounding.h"
#include "present/plotter.h"
#include "present/sounding_plots.h"

namespace zeva::present {

// Which sections are printed (settings-file keys in brackets).
struct ReportOptions {
  bool plots = true;              // LPGRAPH
  bool data = true;               // LPDATA
  bool layeredModel = true;       // LPMODEL
  bool layeredBounds = true;      // LPBOUND
  bool layeredResolution = true;  // LPRESOLV
  bool smoothModel = true;        // LPMODELS
  bool smoothBounds = false;      // LPBOUNDS
  bool smoothResolution = false;  // LPRESOLVS
  bool worksheet = false;         // LPWORK: voltage-and-current listing
  std::string userName;           // for the footer, 80 characters at most
};

inline constexpr float kReportPageWidth = 7.5f;
inline constexpr float kReportPageHeight = 12.0f;
// Nominal height of report text and the line height; a fixed-pitch font of
// this height sets 90 characters across the page.
inline constexpr float kReportTextHeight = 0.16f;
inline constexpr float kReportLineHeight = 0.2f;

// Fixed texts of the report.
namespace report_text {
inline constexpr std::string_view kPreparedFor = "Prepared for ";
inline constexpr std::string_view kMaskedLegend = "\"*\" INDICATES MASKED DATA POINT";
inline constexpr std::string_view kNoneMasked = "NO DATA ARE MASKED";
inline constexpr std::string_view kFixedLegend = "\"*\" INDICATES FIXED PARAMETER";
inline constexpr std::string_view kAllFree = "ALL PARAMETERS ARE FREE";
inline constexpr std::string_view kBoundsTitle = "Parameter Bounds from Equivalence Analysis";
inline constexpr std::string_view kBoundsHeading = "LAYER     MINIMUM        BEST     MAXIMUM";
inline constexpr std::string_view kResolutionTitle = "PARAMETER RESOLUTION MATRIX:";
inline constexpr std::string_view kResolutionFixedLegend = "\"FIX\" INDICATES FIXED PARAMETER";
inline constexpr std::string_view kResolutionMissing = "CURRENT RESOLUTION MATRIX NOT AVAILABLE";
}  // namespace report_text

// Writes the report through the plotter, each section only when its option is
// on and what it lists exists. Returns the number of pages. The plotter is
// closed at the end.
int PrintReport(Plotter& plotter, const core::CurrentSounding& current,
                const PlotSettings& settings, const ReportOptions& options);

}  // namespace zeva::present
