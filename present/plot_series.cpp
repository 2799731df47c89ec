#include "present/plot_series.h"

#include <algorithm>
#include <cmath>

#include "core/record/data_type.h"
#include "forward/em_conductivity_forward.h"
#include "forward/tem_late_time.h"
#include "present/graph_frame_drawing.h"

namespace zeva::present {

namespace {

using core::isSet;
using core::Sounding;

// Column of TIME that a curve is plotted against: the n-spacing of the dipole
// arrays, the varying quantity of a MaxMin sounding (1 frequency, 2 coil
// spacing, 3 height), otherwise the first.
int abscissaColumn(const Sounding& S) {
  switch (core::traitsOf(S.header.dataType).abscissa) {
    case core::Abscissa::SeparationFactor:
      return S.header.NGEOM >= 2 ? 1 : 0;
    case core::Abscissa::MaxMinVariable:
      if (S.header.mode == 2 || S.header.mode == 3)
        return S.header.NGEOM >= S.header.mode ? S.header.mode - 1 : 0;
      return 0;
    default:
      return 0;
  }
}

// Which column goes to which graph, by the values the data type holds: the
// in-phase and quadrature parts share one graph, as do the two dipole modes
// of a conductivity meter (as many as its mode word asks for); a transient
// sounding has its voltage; resistivities have their IP or phase beneath.
struct ColumnUse {
  int column, graph;
};
std::vector<ColumnUse> columnUses(const Sounding& S) {
  const int ncomp = std::max(0, S.NCOMP());
  std::vector<ColumnUse> uses;
  switch (core::traitsOf(S.header.dataType).values) {
    case core::DataValues::GateVoltage:
      if (ncomp >= 1) uses.push_back({0, 0});
      break;
    case core::DataValues::InPhaseQuadrature:
      for (int c = 0; c < std::min(ncomp, 2); ++c) uses.push_back({c, 0});
      break;
    case core::DataValues::ApparentConductivity: {
      const int mode = S.header.mode;
      for (int c = 0; c < std::min(ncomp, 2); ++c)
        if (mode <= 1 || mode > 3 || mode - 2 == c) uses.push_back({c, 0});
      break;
    }
    case core::DataValues::ApparentResistivity:
    case core::DataValues::Impedance:
    case core::DataValues::ResistivityAndPhase:
      if (ncomp >= 1) uses.push_back({0, 0});
      if (ncomp >= 2) uses.push_back({1, 1});
      break;
  }
  return uses;
}

std::vector<float> columnOf(const core::Matrix<float>& m, int column, int rows) {
  std::vector<float> values(static_cast<std::size_t>(rows), 1.0e10f);
  if (column < static_cast<int>(m.cols()) && rows <= static_cast<int>(m.rows()))
    for (int i = 0; i < rows; ++i) values[static_cast<std::size_t>(i)] = m(i, column);
  return values;
}

// Abscissae of the curve of data column `column`. A ground conductivity meter
// reading is plotted at the effective penetration depth of its dipole mode
// (the first value horizontal dipoles, the second vertical), worked out from
// the coil spacing and height; TIME(:,1) of these soundings is the frequency.
std::vector<float> abscissaeOf(const Sounding& S, int column, int rows) {
  const auto& d = S.data();
  const bool penetration =
      core::traitsOf(S.header.dataType).abscissa == core::Abscissa::PenetrationDepth;
  if (penetration && d.TIME.cols() >= 3) {
    std::vector<float> depths(static_cast<std::size_t>(rows), 1.0e10f);
    if (rows <= static_cast<int>(d.TIME.rows()))
      for (int i = 0; i < rows; ++i)
        depths[static_cast<std::size_t>(i)] =
            forward::effectivePenetrationDepth(column == 0 ? 'H' : 'V', d.TIME(i, 1), d.TIME(i, 2));
    return depths;
  }
  return columnOf(d.TIME, abscissaColumn(S), rows);
}

// One series per plotted column of `values` (the readings or the
// synthetics): its graph, its data set in column order, the abscissae as
// plotted and the first n values of the column.
std::vector<DataSeries> plottedColumns(const Sounding& instance, std::span<const ColumnUse> uses,
                                       const core::Matrix<float>& values, int n) {
  std::vector<DataSeries> series;
  int set = 0;
  for (const ColumnUse& use : uses) {
    DataSeries s;
    s.graph = use.graph;
    s.set = set++;
    s.column = use.column;
    s.x = abscissaeOf(instance, use.column, n);
    s.y = columnOf(values, use.column, n);
    series.push_back(std::move(s));
  }
  return series;
}

// The errors and masks of an observed series, from UVOLTS and LMASK; a
// missing error is none.
void addErrorsAndMasks(const Sounding& S, const ColumnUse& use, int n, DataSeries& s) {
  const auto& d = S.data();
  s.error = columnOf(d.UVOLTS, use.column, n);
  for (float& e : s.error)
    if (isMissing(e)) e = 0.0f;
  s.masked.assign(static_cast<std::size_t>(n), false);
  for (int i = 0; i < n; ++i)
    s.masked[static_cast<std::size_t>(i)] = use.column < static_cast<int>(d.LMASK.cols()) &&
                                            static_cast<std::size_t>(i) < d.LMASK.rows() &&
                                            isSet(d.LMASK(i, use.column));
}

// TEM gate voltages of a series turned into late-time apparent resistivity,
// with their errors.
void toLateTimeResistivity(const Sounding& S, const LateTimeConversion& lateTime, DataSeries& s) {
  std::vector<float> rho(s.y.size(), 0.0f);
  lateTime(S, s.x, s.y, rho);
  // The late-time resistivity varies as the voltage to the power -2/3,
  // so a voltage error of r per cent is one of 2r/3 per cent in it.
  for (std::size_t i = 0; i < rho.size(); ++i) {
    if (isMissing(s.y[i])) continue;
    const float relative = s.y[i] != 0.0f ? s.error[i] / std::fabs(s.y[i]) : 0.0f;
    s.error[i] = isMissing(rho[i]) ? 0.0f : 2.0f / 3.0f * relative * std::fabs(rho[i]);
    s.y[i] = rho[i];
  }
}

}  // namespace

void lateTimeApparentResistivity(const Sounding& S, std::span<const float> timesMs,
                                 std::span<const float> volts, std::span<float> resistivity) {
  // Gates the conversion cannot handle keep a missing value and are not drawn.
  std::ranges::fill(resistivity, 1.0e10f);
  forward::lateTimeApparentResistivity(S, timesMs, volts, resistivity);
}

bool plottedAsTem(const Sounding& S) { return core::isTem(S.header.dataType); }

int dataGraphCount(const Sounding& S) {
  for (const ColumnUse& use : columnUses(S))
    if (use.graph == 1) return 2;
  return 1;
}

int modelGraphCount(const Sounding& S) { return S.NPK() > 1 && S.hasModel() ? 2 : 1; }

std::vector<DataSeries> observedSeries(const Sounding& S, const PlotSettings& settings) {
  const int n = S.NDATA();
  const auto& d = S.data();
  if (n <= 0 || d.TIME.rows() < static_cast<std::size_t>(n) || d.TIME.cols() == 0) return {};
  const std::vector<ColumnUse> uses = columnUses(S);
  std::vector<DataSeries> series = plottedColumns(S, uses, d.VOLTS, n);
  for (std::size_t k = 0; k < uses.size(); ++k) {
    addErrorsAndMasks(S, uses[k], n, series[k]);
    if (plottedAsTem(S) && !settings.view.voltageView && settings.lateTime)
      toLateTimeResistivity(S, settings.lateTime, series[k]);
  }
  return series;
}

std::vector<DataSeries> syntheticSeries(const Sounding& instance, const PlotSettings& settings) {
  if (!isSet(instance.layer.syntheticValid)) return {};
  const int n = instance.NDATA();
  const auto& d = instance.data();
  if (n <= 0 || d.TIME.rows() < static_cast<std::size_t>(n) ||
      instance.SVOLT.rows() < static_cast<std::size_t>(n))
    return {};
  std::vector<DataSeries> series =
      plottedColumns(instance, columnUses(instance), instance.SVOLT, n);
  if (!plottedAsTem(instance)) return series;
  // The synthetic transient as the gates are drawn: voltages, or the same
  // late-time conversion; a gate the model did not reach (0) is not drawn.
  for (DataSeries& s : series) {
    for (float& y : s.y)
      if (y == 0.0f) y = 1.0e10f;
    s.error.assign(s.y.size(), 0.0f);
    if (!settings.view.voltageView && settings.lateTime)
      toLateTimeResistivity(instance, settings.lateTime, s);
  }
  return series;
}

std::vector<bool> segmentStarts(std::span<const float> x, std::span<const float> y) {
  std::vector<bool> starts(x.size(), false);
  std::vector<std::size_t> valid;
  for (std::size_t i = 0; i < x.size(); ++i)
    if (!isMissing(x[i]) && !isMissing(y[i])) valid.push_back(i);
  if (valid.size() < 2) return starts;
  const bool ascending = x[valid.back()] >= x[valid.front()];
  for (std::size_t k = 1; k < valid.size(); ++k) {
    const float previous = x[valid[k - 1]], here = x[valid[k]];
    if (here == previous) starts[valid[k]] = true;
    if (k + 1 < valid.size() && k >= 1) {
      const float next = x[valid[k + 1]];
      const bool turning =
          ascending ? (here > previous && here > next) : (here < previous && here < next);
      if (turning) starts[valid[k + 1]] = true;
    }
  }
  return starts;
}

ModelColumns modelColumnsOf(const Sounding& instance, std::span<const float> parameters) {
  ModelColumns m;
  const int nlayer = instance.NLAYER(), npk = std::max(1, instance.NPK());
  if (nlayer <= 0 || parameters.size() < static_cast<std::size_t>(nlayer * npk + nlayer - 1))
    return m;
  m.resistivity.assign(parameters.begin(), parameters.begin() + nlayer);
  if (npk > 1) m.ip.assign(parameters.begin() + nlayer, parameters.begin() + 2 * nlayer);
  float depth = 0.0f;
  for (int j = 0; j < nlayer - 1; ++j) {
    const float g = parameters[static_cast<std::size_t>(nlayer * npk + j)];
    depth = isSet(instance.model.depths) ? g : depth + g;
    m.bottomDepth.push_back(depth);
  }
  return m;
}

ModelColumns modelColumns(const Sounding& instance) {
  return modelColumnsOf(instance, instance.M.PAR);
}

}  // namespace zeva::present
