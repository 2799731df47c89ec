#pragma once
// Small soundings for the forward-model tests, built in memory.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "core/record/sounding.h"

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

// One reading of a two-coil sounding.
struct CoilReading {
  float frequency, spacing, height;
};

// A MaxMin or EM conductivity sounding in metres: frequency, spacing and
// height per reading, both observed values `observed`.
inline void makeCoilSounding(core::Sounding& s, std::string_view type,
                             const std::vector<CoilReading>& readings, float observed) {
  s.header.dataType.assign(type);
  s.header.NDATA = static_cast<int>(readings.size());
  s.header.NCOMP = 2;
  s.header.NGEOM = 3;
  s.header.lengthUnit.assign("(meters)");
  ASSERT_TRUE(s.allocateData());
  for (std::size_t i = 0; i < readings.size(); ++i) {
    s.data().TIME(i, 0) = readings[i].frequency;
    s.data().TIME(i, 1) = readings[i].spacing;
    s.data().TIME(i, 2) = readings[i].height;
    s.data().VOLTS(i, 0) = s.data().VOLTS(i, 1) = observed;
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

// A refused forward run left the sounding as it was (first synthetic and
// RMS as set before it, no synthetic marked valid) and said `message`, once.
inline void expectLeftAlone(const core::Sounding& s, float synthetic, float rms,
                            const std::vector<std::string>& told, std::string_view message) {
  EXPECT_EQ(s.SVOLT(0, 0), synthetic);
  EXPECT_EQ(s.layer.RMS, rms);
  EXPECT_FALSE(core::isSet(s.layer.syntheticValid));
  EXPECT_EQ(told, std::vector<std::string>{std::string(message)});
}

}  // namespace zeva::forward::test
