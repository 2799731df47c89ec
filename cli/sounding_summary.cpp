#include "cli/sounding_summary.h"

#include <fmt/format.h>
#include <fmt/ostream.h>

#include "core/record/data_type.h"
#include "inversion/fit_weights.h"

namespace zeva::cli {

namespace {

void writeModel(std::ostream& out, const char* title, const core::Sounding& s) {
  const int nlayer = s.NLAYER();
  const int npk = s.NPK();
  fmt::print(out, "{}: {} layers, {} parameter kind(s), {}\n", title, nlayer, npk,
             core::isSet(s.model.depths) ? "bottom depths" : "thicknesses");
  for (int layer = 0; layer < nlayer; ++layer) {
    fmt::print(out, "  layer {:3}", layer + 1);
    for (int kind = 0; kind < npk; ++kind) {
      const auto k = static_cast<std::size_t>(kind * nlayer + layer);
      if (k < s.M.PAR.size())
        fmt::print(out, "  {:12.5g}{}", s.M.PAR[k], core::isSet(s.M.LFIX[k]) ? " (fixed)" : "");
    }
    if (layer + 1 < nlayer && s.geometryIndex(layer) < s.M.PAR.size())
      fmt::print(out, "  {} {:10.5g}", core::isSet(s.model.depths) ? "depth" : "thickness",
                 s.M.PAR[s.geometryIndex(layer)]);
    out << '\n';
  }
}

}  // namespace

void writeSummary(std::ostream& out, const core::CurrentSounding& current) {
  const core::Sounding& S = current.S;
  const auto& d = S.data();
  fmt::print(out, "Name:       {}\n", S.header.name.trimmed());
  fmt::print(out, "Data type:  {}{}\n", S.header.dataType.trimmed(),
             core::findDataType(S.header.dataType) ? "" : " (unknown)");
  fmt::print(out, "Readings:   {} x {} values, {} geometry values, {} set(s)\n", S.NDATA(),
             S.NCOMP(), S.header.NGEOM, S.header.NSETS);
  fmt::print(out, "Units:      {} {}\n", S.header.resistivityUnit.trimmed(),
             S.header.lengthUnit.trimmed());
  fmt::print(out, "Saved:      {}\n", core::isSet(S.layer.saved) ? "yes" : "no");
  if (S.header.NSHIFT > 0) {
    fmt::print(out, "Segments:   {} break(s):", S.header.NSHIFT);
    for (std::size_t s = 0; s < d.shiftBreak.size(); ++s)
      fmt::print(out, " after {} (x{:.4g})", d.shiftBreak[s], d.shiftFactor[s]);
    out << '\n';
  }
  const bool synthetic = core::isSet(S.layer.syntheticValid);
  out << "Readings:\n";
  for (std::size_t i = 0; i < std::min<std::size_t>(d.TIME.rows(), d.VOLTS.rows()); ++i) {
    fmt::print(out, "  {:4}", i + 1);
    for (std::size_t j = 0; j < d.TIME.cols(); ++j) fmt::print(out, " {:10.5g}", d.TIME(i, j));
    out << "  |";
    for (std::size_t j = 0; j < static_cast<std::size_t>(S.NCOMP()) && j < d.VOLTS.cols(); ++j)
      fmt::print(out, " {:10.5g}{}", d.VOLTS(i, j),
                 S.masked(static_cast<int>(i), static_cast<int>(j)) ? "m" : " ");
    if (synthetic) {
      out << "  synthetic";
      for (std::size_t j = 0; j < S.SVOLT.cols() && i < S.SVOLT.rows(); ++j)
        fmt::print(out, " {:10.5g}", S.SVOLT(i, j));
    }
    out << '\n';
  }
  if (synthetic) fmt::print(out, "Fit:        RMS {:.5g}, {:.4g} %\n", S.layer.RMS, S.layer.PCTERR);
  if (synthetic && inversion::weightedFitInUse(S))
    fmt::print(out, "Weighted:   {:.5g}{}\n", S.layer.weightedFit, S.robust ? " (robust)" : "");
  writeModel(out, "Layered model", S);
  const core::Sounding& SM = current.SM;
  if (!SM.hasModel()) return;
  writeModel(out, "Smooth model", SM);
  if (core::isSet(SM.layer.syntheticValid))
    fmt::print(out, "Smooth fit: RMS {:.5g}, {:.4g} %\n", SM.layer.RMS, SM.layer.PCTERR);
  else
    out << "Smooth fit: not computed\n";
}

}  // namespace zeva::cli
