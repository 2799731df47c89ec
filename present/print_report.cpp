#include "present/print_report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <optional>

#include "core/record/data_type.h"

namespace zeva::present {

namespace {

using core::isSet;
using core::Sounding;
namespace rt = report_text;

constexpr float kLeftMargin = 0.3f;
constexpr float kPageNumberX = 7.2f;
constexpr float kFooterScale = 0.55f;
constexpr float kPlotScale = 0.75f;  // the 10 x 8 plot page becomes 7.5 x 6
constexpr std::size_t kUserNameWidth = 80;

// A number right-aligned in `width` characters with as many decimals as fit
// (at most `maxDecimals`), falling back to exponent form for extreme values.
std::string cell(float value, int width, int maxDecimals = 3) {
  char buffer[64];
  if (!std::isfinite(value)) return std::string(static_cast<std::size_t>(width), ' ');
  const float magnitude = std::fabs(value);
  int decimals = magnitude >= 1000.0f ? 1 : magnitude >= 100.0f ? 2 : 3;
  decimals = std::min(decimals, maxDecimals);
  for (; decimals >= 0; --decimals) {
    std::snprintf(buffer, sizeof buffer, "%*.*f", width, decimals, static_cast<double>(value));
    if (static_cast<int>(std::string_view(buffer).size()) <= width &&
        (magnitude == 0.0f || magnitude >= 1e-3f))
      return buffer;
  }
  std::snprintf(buffer, sizeof buffer, "%*.*g", width, std::max(1, width - 7),
                static_cast<double>(value));
  return buffer;
}

std::string padRight(std::string_view text, std::size_t width) {
  std::string s(text.substr(0, width));
  s.resize(width, ' ');
  return s;
}
std::string padLeft(std::string_view text, std::size_t width) {
  std::string s(text.substr(0, width));
  return std::string(width - s.size(), ' ') + s;
}

class ReportWriter {
 public:
  ReportWriter(Plotter& plotter, const ReportOptions& options)
      : p_(plotter), footer_(std::string(rt::kPreparedFor) + trimmedName(options.userName)) {}

  void firstPage() {
    p_.startPage(kReportPageWidth, kReportPageHeight, true, TextFont::FixedPitch);
    p_.NewPen(colour::kBlack);
    page_ = 1;
    writePageNumber();
    y_ = kReportPageHeight - h_ - 1.5f * h_;
  }

  // Advances one line, starting a new page (after the footer of this one)
  // when the next line would run into the bottom margin.
  void NextLine() {
    if (y_ - h_ < 1.5f * h_) {
      writeFooter();
      p_.startPage(kReportPageWidth, kReportPageHeight, true, TextFont::FixedPitch);
      p_.NewPen(colour::kBlack);
      ++page_;
      writePageNumber();
      y_ = kReportPageHeight - h_ - 1.5f * h_;
      newPage_ = true;
    } else {
      y_ -= h_;
      newPage_ = false;
    }
  }

  void line(std::string_view text) {
    NextLine();
    if (!text.empty())
      p_.SymbolLeft(kLeftMargin, y_, kReportTextHeight, text, 0.0f, static_cast<int>(text.size()));
  }
  void blank() { NextLine(); }

  // Keeps a heading with at least `rows` rows that follow it on one page.
  void keepTogether(int rows) {
    if (y_ - static_cast<float>(rows + 1) * h_ < 1.5f * h_) {
      y_ = 0.0f;  // forces the page break at the next line
    }
  }

  void writeFooter() {
    p_.SymbolLeft(kLeftMargin, kFooterScale * h_, kFooterScale * kReportTextHeight, footer_, 0.0f,
                  static_cast<int>(footer_.size()));
  }

  float y() const { return y_; }
  void setY(float y) { y_ = y; }
  int pages() const { return page_; }
  Plotter& plotter() { return p_; }

 private:
  static std::string trimmedName(std::string name) {
    if (name.size() > kUserNameWidth) name.resize(kUserNameWidth);
    name.erase(name.find_last_not_of(' ') + 1);
    return name;
  }

  void writePageNumber() {
    p_.NumberLeft(kPageNumberX, kReportPageHeight - 1.5f * h_, kReportTextHeight,
                  static_cast<float>(page_), 0.0f, -1);
  }

  Plotter& p_;
  std::string footer_;
  float h_ = kReportLineHeight;
  float y_ = kReportPageHeight;
  int page_ = 0;
  bool newPage_ = false;
};

// --- Section contents -----------------------------------------------------------

struct ColumnTitle {
  std::string title, unit;
};

bool inFeet(const Sounding& S) { return S.header.lengthUnit.trimmed() == "(feet)"; }
std::string lengthUnit(const Sounding& S) { return inFeet(S) ? "(feet)" : "(m)"; }
std::string resistivityUnit(const Sounding& S) { return inFeet(S) ? "(Ohm-feet)" : "(Ohm-m)"; }

struct AbscissaColumn {
  ColumnTitle title;
  std::size_t column;  // of TIME
};

// The geometry listed with each reading: the quantity that varies in a MaxMin
// sounding, the coil spacing and height of a ground conductivity meter (whose
// first geometry value is the frequency), else the first geometry value.
std::vector<AbscissaColumn> abscissaColumns(const Sounding& S) {
  const core::DataTypeTraits& type = core::traitsOf(S.header.dataType);
  const std::size_t geometry = S.data().TIME.cols();
  switch (type.abscissa) {
    case core::Abscissa::Frequency:
      return {{{"Frequency", "(Hz)"}, 0}};
    case core::Abscissa::GateTime:
      return {{{"Time", "(ms)"}, 0}};
    case core::Abscissa::MaxMinVariable:
      if (S.header.mode == 3 && geometry >= 3) return {{{"Height", lengthUnit(S)}, 2}};
      if (S.header.mode == 2 && geometry >= 2) return {{{"Spacing", lengthUnit(S)}, 1}};
      return {{{"Frequency", "(Hz)"}, 0}};
    case core::Abscissa::PenetrationDepth:
      if (geometry >= 3) return {{{"Spacing", lengthUnit(S)}, 1}, {{"Height", lengthUnit(S)}, 2}};
      break;
    case core::Abscissa::Spacing:
    case core::Abscissa::SeparationFactor:
      if (type.id == core::DataTypeId::Schlumberger) return {{{"AB/2", lengthUnit(S)}, 0}};
      break;
  }
  return {{{"Spacing", lengthUnit(S)}, 0}};
}

std::vector<ColumnTitle> valueTitles(const Sounding& S) {
  const int ncomp = S.NCOMP();
  switch (core::traitsOf(S.header.dataType).values) {
    case core::DataValues::ResistivityAndPhase:
      return {{"RHO-A", "(Ohm-m)"}, {"PHASE", "(deg)"}};
    case core::DataValues::InPhaseQuadrature:
      return {{"IN-PHASE", "(percent)"}, {"QUAD", "(percent)"}};
    case core::DataValues::ApparentConductivity: {
      std::vector<ColumnTitle> titles;
      for (int c = 0; c < std::min(ncomp, 2); ++c)
        titles.push_back({c == 0 ? "HD COND-A" : "VD COND-A", "(mS/m)"});
      return titles;
    }
    case core::DataValues::GateVoltage: {
      const std::string unit = S.header.temVoltageUnit.trimmed();
      return {{"VOLTAGE", unit.empty() ? "" : "(" + unit + ")"}};
    }
    case core::DataValues::Impedance:
      return {{"IMPEDANCE", "(ohm)"}};
    case core::DataValues::ApparentResistivity:
      break;
  }
  std::vector<ColumnTitle> titles{{"RHO-A", resistivityUnit(S)}};
  if (ncomp >= 2) {
    std::string unit = S.header.ipUnit.trimmed();
    titles.push_back({"IP DATA", unit.empty() ? "(%)" : unit});
  }
  return titles;
}

std::string dataHeading(const Sounding& S) {
  // Horizontal coplanar coils are vertical magnetic dipoles, the others
  // horizontal ones.
  const core::DataTypeTraits& type = core::traitsOf(S.header.dataType);
  if (type.family == core::Family::MaxMin)
    return type.id == core::DataTypeId::HorizontalCoplanar ? "VMD" : "HMD";
  return S.header.dataType.trimmed();
}

void worksheetListing(ReportWriter& w, const Sounding& S) {
  const auto& d = S.data();
  const int n = S.NDATA();
  if (n <= 0 || d.VOLTS.cols() < 3 || d.TIME.cols() < 1) return;
  const bool schlumberger =
      core::traitsOf(S.header.dataType).id == core::DataTypeId::Schlumberger && d.TIME.cols() >= 2;
  w.keepTogether(4);
  w.line("Voltage and Current");
  std::string head = padLeft("No.", 4) + padLeft(schlumberger ? "AB/2" : "Spacing", 10);
  std::string units = padLeft("", 4) + padLeft(lengthUnit(S), 10);
  if (schlumberger) {
    head += padLeft("MN", 10);
    units += padLeft(lengthUnit(S), 10);
  }
  head += padLeft("Voltage", 11) + padLeft("Current", 10) + padLeft("V/I", 10) +
          padLeft("2piV/I", 10) + padLeft("Resistivity", 12);
  units += padLeft("(mV)", 11) + padLeft("(ma)", 10) + padLeft("(ohm)", 10) + padLeft("", 10) +
           padLeft(resistivityUnit(S), 12);
  w.line(head);
  w.line(units);
  for (int i = 0; i < n; ++i) {
    const float volts = d.VOLTS(i, 1), amps = d.VOLTS(i, 2);
    const float ratio = amps != 0.0f ? volts / amps : 0.0f;
    std::string row = padLeft(std::to_string(i + 1), 4) + cell(d.TIME(i, 0), 10);
    if (schlumberger) row += cell(d.TIME(i, 1), 10);  // the full MN
    row += cell(volts, 11) + cell(amps, 10) + cell(ratio, 10, 4) +
           cell(2.0f * std::numbers::pi_v<float> * ratio, 10, 4) + cell(d.VOLTS(i, 0), 12, 2);
    w.line(row);
  }
  w.blank();
}

void dataListing(ReportWriter& w, const Sounding& S) {
  const auto& d = S.data();
  const int n = S.NDATA();
  if (n <= 0 || d.TIME.cols() < 1) return;
  const std::vector<AbscissaColumn> abscissae = abscissaColumns(S);
  const std::vector<ColumnTitle> values = valueTitles(S);
  const int ncomp = std::min<int>(static_cast<int>(values.size()), S.NCOMP());
  const bool synthetics = isSet(S.layer.syntheticValid) &&
                          S.SVOLT.rows() >= static_cast<std::size_t>(n) &&
                          S.SVOLT.cols() >= static_cast<std::size_t>(ncomp);
  // Columns narrow when the geometry takes two, so that rows stay on the page.
  const int width = synthetics ? (abscissae.size() > 1 ? 10 : 11) : 12;
  w.keepTogether(4);
  w.line(dataHeading(S));
  std::string head = padLeft("No.", 4), units = padLeft("", 4);
  for (const AbscissaColumn& x : abscissae) {
    head += padLeft(x.title.title, 11);
    units += padLeft(x.title.unit, 11);
  }
  for (int c = 0; c < ncomp; ++c) {
    const ColumnTitle& t = values[static_cast<std::size_t>(c)];
    head += padLeft(t.title, width);
    units += padLeft(t.unit, width);
    if (synthetics) {
      head += padLeft("Synthetic", width) + padLeft("DIFFERENCE", width);
      units += padLeft(t.unit, width) + padLeft("", width);
    }
  }
  w.line(head);
  w.line(units);
  bool anyMasked = false;
  for (int i = 0; i < n; ++i) {
    std::string row = padLeft(std::to_string(i + 1), 4);
    for (const AbscissaColumn& x : abscissae) row += cell(d.TIME(i, x.column), 11);
    for (int c = 0; c < ncomp; ++c) {
      const float value = static_cast<std::size_t>(c) < d.VOLTS.cols() ? d.VOLTS(i, c) : 0.0f;
      const bool masked = static_cast<std::size_t>(c) < d.LMASK.cols() && isSet(d.LMASK(i, c));
      anyMasked = anyMasked || masked;
      std::string text = isMissing(value) ? padLeft("--", width - 1) : cell(value, width - 1);
      row += text + (masked ? "*" : " ");
      if (synthetics) {
        const float synthetic = S.SVOLT(i, c);
        row += cell(synthetic, width - 1) + " ";
        row += isMissing(value) ? padLeft("", width) : cell(value - synthetic, width - 1) + " ";
      }
    }
    w.line(row);
  }
  w.line(anyMasked ? rt::kMaskedLegend : rt::kNoneMasked);
  w.blank();
}

bool isMarineTem(const Sounding& S) {
  const core::DataTypeId id = core::traitsOf(S.header.dataType).id;
  return id == core::DataTypeId::MarineTemInline || id == core::DataTypeId::MarineTemBSide;
}

// A grounding-impedance model carries the impedance of the electrodes as one
// parameter after the layers and boundaries.
std::optional<std::size_t> impedanceIndex(const Sounding& S) {
  const int nlayer = S.NLAYER(), npk = std::max(1, S.NPK());
  if (core::traitsOf(S.header.dataType).id != core::DataTypeId::GroundingImpedance ||
      S.NPAR() < nlayer * npk + nlayer || S.M.PAR.size() < static_cast<std::size_t>(S.NPAR()))
    return std::nullopt;
  return static_cast<std::size_t>(S.NPAR() - 1);
}

void modelTable(ReportWriter& w, const Sounding& S, std::string_view heading) {
  const int nlayer = S.NLAYER(), npk = std::max(1, S.NPK());
  if (nlayer <= 0 || S.M.PAR.size() < static_cast<std::size_t>(S.NPAR()) ||
      S.NPAR() < nlayer * npk + nlayer - 1)
    return;
  const bool conductivity = core::traitsOf(S.header.dataType).conductivityModel;
  const bool marine = isMarineTem(S);
  const ModelColumns m = modelColumns(S);
  w.keepTogether(4);
  w.line(heading);

  std::string head = padLeft("LAYER", 6), units = padLeft("", 6);
  if (marine) {
    head += padLeft("Rho-Vert.", 12) + padLeft("Rho-Horiz.", 12);
    units += padLeft(resistivityUnit(S), 12) + padLeft(resistivityUnit(S), 12);
  } else {
    head += padLeft(conductivity ? "CONDUCTIVITY" : "RESISTIVITY", 13);
    units += padLeft(conductivity ? "(mS/m)" : resistivityUnit(S), 13);
    if (npk > 1) {
      head += padLeft("IP RESPONSE", 12);
      units += padLeft(S.header.ipUnit.trimmed(), 12);
    }
  }
  head += padLeft("THICKNESS", 11) + padLeft("DEPTH", 10) + padLeft("ELEVATION", 11) +
          padLeft("LONG. COND.", 12) + padLeft("TRANS. RES.", 12);
  units += padLeft(lengthUnit(S), 11) + padLeft(lengthUnit(S), 10) + padLeft(lengthUnit(S), 11) +
           padLeft("(Siemens)", 12) + padLeft(inFeet(S) ? "(Ohm-feet^2)" : "(Ohm-m^2)", 12);
  w.line(head);
  w.line(units);

  bool anyFixed = false;
  auto fixedMark = [&](std::size_t index) {
    const bool fixed = index < S.M.LFIX.size() && isSet(S.M.LFIX[index]);
    anyFixed = anyFixed || fixed;
    return fixed ? "*" : " ";
  };
  const float elevation = S.header.elevation;
  float top = 0.0f;
  for (int j = 0; j < nlayer; ++j) {
    const std::size_t jj = static_cast<std::size_t>(j);
    std::string row = padLeft(std::to_string(j + 1), 6);
    const float value = m.resistivity[jj];
    if (marine) {
      row += cell(value, 11) + fixedMark(jj);
      row += (npk > 1 ? cell(m.ip[jj], 11) : padLeft("", 11)) +
             (npk > 1 ? fixedMark(jj + static_cast<std::size_t>(nlayer)) : " ");
    } else {
      row += cell(value, 12) + fixedMark(jj);
      if (npk > 1) row += cell(m.ip[jj], 11) + fixedMark(jj + static_cast<std::size_t>(nlayer));
    }
    if (j + 1 < nlayer) {
      const float bottom = m.bottomDepth[jj];
      const float thickness = bottom - top;
      const std::size_t g = S.geometryIndex(j);
      const float rho = conductivity ? (value != 0.0f ? 1000.0f / value : 0.0f) : value;
      row += cell(thickness, 10) + fixedMark(g) + cell(bottom, 10) + cell(elevation - bottom, 11) +
             cell(rho != 0.0f ? thickness / rho : 0.0f, 12, 4) + cell(thickness * rho, 12, 1);
      top = bottom;
    }
    w.line(row);
  }
  if (const std::optional<std::size_t> z = impedanceIndex(S))
    w.line(padLeft("IMPEDANCE", 9) + cell(S.M.PAR[*z], 10) + fixedMark(*z) + " (ohm)");
  w.line(anyFixed ? rt::kFixedLegend : rt::kAllFree);
  if (isSet(S.layer.syntheticValid) && S.layer.PCTERR < 1.0e10f) {
    char fit[64];
    std::snprintf(fit, sizeof fit, "FIT ERROR: %.2f %% RMS", static_cast<double>(S.layer.PCTERR));
    w.line(fit);
  }
  w.blank();
}

void boundsTable(ReportWriter& w, const Sounding& S) {
  const int nlayer = S.NLAYER(), npk = std::max(1, S.NPK());
  const std::size_t npar = static_cast<std::size_t>(S.NPAR());
  if (nlayer <= 0 || S.M.PAR.size() < npar || S.PARMIN.size() < npar || S.PARMAX.size() < npar ||
      static_cast<int>(npar) < nlayer * npk + nlayer - 1)
    return;
  const bool conductivity = core::traitsOf(S.header.dataType).conductivityModel;
  const bool depths = isSet(S.model.depths);
  const ModelColumns best = modelColumns(S);
  w.keepTogether(4);
  w.line(rt::kBoundsTitle);
  w.line(rt::kBoundsHeading);
  auto row = [&](int layer, std::string_view kind, float low, float value, float high) {
    // Values right-aligned under MINIMUM, BEST and MAXIMUM.
    w.line(padLeft(std::to_string(layer), 3) + " " + padRight(kind, 5) + cell(low, 8) +
           cell(value, 12) + cell(high, 12));
  };
  for (int j = 0; j < nlayer; ++j) {
    const std::size_t r = static_cast<std::size_t>(j);
    row(j + 1, conductivity ? "COND" : "RHO", S.PARMIN[r], S.M.PAR[r], S.PARMAX[r]);
    if (npk > 1) {
      const std::size_t i = r + static_cast<std::size_t>(nlayer);
      row(j + 1, " IP", S.PARMIN[i], S.M.PAR[i], S.PARMAX[i]);
    }
    if (j + 1 < nlayer) {
      const std::size_t g = S.geometryIndex(j);
      if (!depths) row(j + 1, "THICK", S.PARMIN[g], S.M.PAR[g], S.PARMAX[g]);
      const float low =
          r < S.ZNMIN.size() ? S.ZNMIN[r] : (depths ? S.PARMIN[g] : best.bottomDepth[r]);
      const float high =
          r < S.ZNMAX.size() ? S.ZNMAX[r] : (depths ? S.PARMAX[g] : best.bottomDepth[r]);
      row(j + 1, "DEPTH", low, best.bottomDepth[r], high);
    }
  }
  if (const std::optional<std::size_t> z = impedanceIndex(S))
    w.line(padRight("IMPEDANCE", 9) + cell(S.PARMIN[*z], 8) + cell(S.M.PAR[*z], 12) +
           cell(S.PARMAX[*z], 12));
  w.blank();
}

void resolutionTable(ReportWriter& w, const Sounding& S) {
  const int npar = S.NPAR();
  w.keepTogether(3);
  w.line(rt::kResolutionTitle);
  if (npar <= 0 || S.RESOLV.size() < static_cast<std::size_t>(npar) * (npar + 1) / 2) {
    w.line(rt::kResolutionMissing);
    w.blank();
    return;
  }
  // Packed by columns of the upper triangle: R(i, j), i <= j, at j(j-1)/2 + i.
  auto R = [&](int i, int j) {
    return S.RESOLV[static_cast<std::size_t>(j * (j + 1) / 2 + i)];  // zero-based i <= j
  };
  auto fixed = [&](int k) {
    return static_cast<std::size_t>(k) < S.M.LFIX.size() &&
           isSet(S.M.LFIX[static_cast<std::size_t>(k)]);
  };
  constexpr int kPerLine = 13;
  bool anyFixed = false;
  for (int i = 0; i < npar; ++i) {
    std::string row = padLeft(std::to_string(i + 1), 4) + " ";
    int onLine = 0;
    for (int j = i; j < npar; ++j) {
      if (onLine == kPerLine) {
        w.line(row);
        row = std::string(5, ' ');
        onLine = 0;
      }
      if (fixed(i) || fixed(j)) {
        row += padLeft("FIX", 6);
        anyFixed = true;
      } else {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%6.2f", static_cast<double>(R(i, j)));
        row += buffer;
      }
      ++onLine;
    }
    w.line(row);
  }
  if (anyFixed) w.line(rt::kResolutionFixedLegend);
  w.blank();
}

void header(ReportWriter& w, const Sounding& S) {
  const std::string name = S.header.name.trimmed();
  const std::string type = S.header.dataType.trimmed();
  const std::string description = S.header.description.trimmed();
  w.line("SOUNDING: " + name + "   " + type + (description.empty() ? "" : "   " + description));
  char location[128];
  std::snprintf(location, sizeof location, "EAST: %.1f   NORTH: %.1f   ELEVATION: %.1f",
                static_cast<double>(S.header.east), static_cast<double>(S.header.north),
                static_cast<double>(S.header.elevation));
  w.line(location);
}

void plots(ReportWriter& w, const core::CurrentSounding& current, const PlotSettings& settings) {
  Plotter& p = w.plotter();
  const float height = kPlotPageHeight * kPlotScale;
  const float bottom = w.y() - height - 0.1f;
  p.setScale(kPlotScale, kPlotScale);
  p.setTextScaling(true, kPlotScale, kPlotScale);
  p.setPageOffset(0.0f, bottom);
  DrawSoundingPlots(p, current, settings);
  p.setPageOffset(0.0f, 0.0f);
  p.setScale(1.0f, 1.0f);
  p.setTextScaling(false, 1.0f, 1.0f);
  p.setOrigin(0.0f, 0.0f);
  p.setFont(TextFont::FixedPitch);
  p.NewPen(colour::kBlack);
  w.setY(bottom);
  w.blank();
}

}  // namespace

int PrintReport(Plotter& plotter, const core::CurrentSounding& current,
                const PlotSettings& settings, const ReportOptions& options) {
  const Sounding& S = current.S;
  const Sounding& SM = current.SM;
  ReportWriter w(plotter, options);
  w.firstPage();
  header(w, S);
  if (options.plots) plots(w, current, settings);
  if (options.worksheet && isSet(S.header.voltageAndCurrent)) worksheetListing(w, S);
  if (options.data) dataListing(w, S);
  if (options.layeredModel && S.hasModel()) modelTable(w, S, "Layered Model:");
  if (options.layeredBounds && S.hasModel() && isSet(S.layer.equivalenceValid)) boundsTable(w, S);
  if (options.layeredResolution && S.hasModel() && isSet(S.layer.resolutionValid))
    resolutionTable(w, S);
  const bool smoothModel = SM.hasModel() && isSet(SM.layer.syntheticValid);
  if (options.smoothModel && smoothModel)
    modelTable(w, SM,
               isSet(SM.model.LROUGH) ? "Smooth Model: Occam's Inversion"
                                      : "Smooth Model: Ridge Regression");
  if (options.smoothBounds && SM.hasModel() && isSet(SM.layer.equivalenceValid)) boundsTable(w, SM);
  if (options.smoothResolution && SM.hasModel() && isSet(SM.layer.resolutionValid))
    resolutionTable(w, SM);
  w.writeFooter();
  const int pages = w.pages();
  plotter.close();
  return pages;
}

}  // namespace zeva::present
