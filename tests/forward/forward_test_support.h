#pragma once
// Small soundings for the forward-model tests, built in memory.

#include <gtest/gtest.h>

#include <cmath>
#include <string_view>
#include <vector>

#include "core/sounding.h"

namespace zeva::forward::test {

// A sounding of the data type with one reading per spacing, observed values 1.0
// and NCOMP values per reading. Schlumberger soundings get MN = `mnRatio` x
// AB/2 in column 2.
inline void makeSounding(core::Sounding& s, std::string_view type,
                         const std::vector<float>& spacings, int ncomp = 1, float mnRatio = 0.2f) {
  s.header.dataType.assign(type);
  s.header.NDATA = static_cast<int>(spacings.size());
  s.header.NCOMP = ncomp;
  s.header.NGEOM = 2;
  s.header.NSETS = 1;
  s.header.maskingOn = core::kTrue;
  s.header.ipUnit.assign("(pfe)");
  ASSERT_TRUE(s.allocateData());
  for (std::size_t i = 0; i < spacings.size(); ++i) {
    s.data().TIME(i, 0) = spacings[i];
    s.data().TIME(i, 1) = mnRatio * spacings[i];
    for (int j = 0; j < ncomp; ++j) s.data().VOLTS(i, static_cast<std::size_t>(j)) = 1.0f;
  }
}

// Replaces the model: resistivities, thicknesses (or depths) and, when given,
// one IP parameter per layer.
inline void setModel(core::Sounding& s, const std::vector<float>& rho,
                     const std::vector<float>& thickness, const std::vector<float>& ip = {}) {
  s.model.NLAYER = static_cast<int>(rho.size());
  s.model.NPK = ip.empty() ? 1 : 2;
  ASSERT_TRUE(s.allocateModel());
  std::size_t k = 0;
  for (const float v : rho) s.M.PAR[k++] = v;
  for (const float v : ip) s.M.PAR[k++] = v;
  for (const float v : thickness) s.M.PAR[k++] = v;
  ASSERT_EQ(k, s.M.PAR.size());
}

// n log-spaced values from first to last.
inline std::vector<float> logSpaced(float first, float last, int n) {
  std::vector<float> values;
  for (int i = 0; i < n; ++i)
    values.push_back(first *
                     std::pow(last / first, static_cast<float>(i) / static_cast<float>(n - 1)));
  return values;
}

}  // namespace zeva::forward::test
