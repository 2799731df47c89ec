#pragma once
// Noise-free synthetic DC soundings for the estimation, smooth-model and
// equivalence tests: a layered model's own response becomes the data.

#include <cmath>
#include <vector>

#include "core/record/sounding.h"
#include "forward/dc_resistivity_forward.h"
#include "forward/forward_routine.h"
#include "ui/toolkit/toolkit.h"

namespace zeva::inversion::test {

struct LayeredEarth {
  std::vector<float> resistivity;  // ohm-m, top down, the last the half-space
  std::vector<float> thickness;    // m, one less
};

inline std::vector<float> logSpacings(float from, float to, int perDecade) {
  std::vector<float> x;
  const int count = static_cast<int>(std::lround(std::log10(to / from) * perDecade));
  for (int i = 0; i <= count; ++i)
    x.push_back(from * std::pow(10.0f, static_cast<float>(i) / static_cast<float>(perDecade)));
  return x;
}

inline forward::ForwardRoutine dcRoutine(ui::Toolkit& toolkit) {
  return {forward::dcResistivityForward, toolkit};
}

// Puts the earth into the model of S (thickness form, nothing fixed).
inline void setModel(core::Sounding& S, const LayeredEarth& earth) {
  S.model.NLAYER = static_cast<int>(earth.resistivity.size());
  S.model.NPK = 1;
  S.model.depths = core::kFalse;
  S.allocateModel();
  for (std::size_t j = 0; j < earth.resistivity.size(); ++j) S.M.PAR[j] = earth.resistivity[j];
  for (std::size_t j = 0; j < earth.thickness.size(); ++j)
    S.M.PAR[S.geometryIndex(static_cast<int>(j))] = earth.thickness[j];
}

// A sounding of the array at the spacings whose data are the earth's response;
// the model is left as the earth.
inline void makeSynthetic(core::Sounding& S, const char* type, const std::vector<float>& spacings,
                          const LayeredEarth& earth, ui::Toolkit& toolkit) {
  S.header.dataType.assign(type);
  S.header.NDATA = static_cast<int>(spacings.size());
  S.header.NCOMP = 1;
  S.header.NGEOM = 2;
  S.header.NSETS = 1;
  if (S.header.dipoleLength <= 0.0f) S.header.dipoleLength = 10.0f;
  S.allocateData();
  auto& d = S.data();
  d.LOGDAT[0] = core::kTrue;
  d.NSET[0] = S.header.NDATA;
  for (std::size_t i = 0; i < spacings.size(); ++i) {
    d.TIME(i, 0) = spacings[i];
    d.TIME(i, 1) = spacings[i] / 20.0f;
    d.VOLTS(i, 0) = 1.0f;
    d.UVOLTS(i, 0) = 1.0f;
  }
  setModel(S, earth);
  forward::dcResistivityForward(S, toolkit);
  for (std::size_t i = 0; i < spacings.size(); ++i) d.VOLTS(i, 0) = S.SVOLT(i, 0);
}

}  // namespace zeva::inversion::test
