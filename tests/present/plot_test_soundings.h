#pragma once
// Soundings of each family filled by hand for the presentation tests.

#include <cmath>
#include <string_view>
#include <vector>

#include "core/record/current_sounding.h"
#include "core/record/data_type.h"

namespace zeva::present::test {

// Data of `n` readings of one data type with the given abscissae, values per
// column, no geometry beyond the abscissa.
inline void fillData(core::Sounding& S, std::string_view type, const std::vector<float>& x,
                     const std::vector<std::vector<float>>& columns) {
  S.freeArrays();
  S.header = core::DataHeader{};
  S.header.name.assign("Test Station");
  S.header.dataType.assign(type);
  S.header.NDATA = static_cast<int>(x.size());
  S.header.NCOMP = static_cast<int>(columns.size());
  S.header.NGEOM = 1;
  S.header.NSETS = 1;
  S.header.maskingOn = core::kTrue;
  S.header.resistivityUnit.assign("(ohm-m)");
  S.header.lengthUnit.assign("(meters)");
  S.allocateData();
  auto& d = S.data();
  for (std::size_t i = 0; i < x.size(); ++i) {
    d.TIME(i, 0) = x[i];
    for (std::size_t c = 0; c < columns.size(); ++c) d.VOLTS(i, c) = columns[c][i];
  }
  d.NSET[0] = S.header.NDATA;
}

// A layered model of resistivities (and IP values) and thicknesses.
inline void fillModel(core::Sounding& S, const std::vector<float>& rho,
                      const std::vector<float>& thickness, const std::vector<float>& ip = {}) {
  S.model = core::ModelHeader{};
  S.model.NLAYER = static_cast<int>(rho.size());
  S.model.NPK = ip.empty() ? 1 : 2;
  S.allocateModel();
  std::size_t k = 0;
  for (float v : rho) S.M.PAR[k++] = v;
  for (float v : ip) S.M.PAR[k++] = v;
  for (float v : thickness) S.M.PAR[k++] = v;
}

// Magnetotelluric data over a half-space: apparent resistivity equal to the
// true resistivity and a phase of 45 degrees at every frequency.
inline void halfSpaceMt(core::CurrentSounding& c, float rho, int n = 13) {
  std::vector<float> f, r, phase;
  for (int i = 0; i < n; ++i) {
    f.push_back(std::pow(10.0f, 3.0f - 0.5f * static_cast<float>(i)));
    r.push_back(rho);
    phase.push_back(45.0f);
  }
  fillData(c.S, core::type::kMagnetotelluric, f, {r, phase});
  fillModel(c.S, {rho}, {});
  c.S.shareDataWith(c.SM);
}

}  // namespace zeva::present::test
