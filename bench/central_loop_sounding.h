#pragma once
// The central-loop sounding of the transient benchmarks: 30 gates from 10 us
// to 10 ms under a 40 m x 40 m loop, observed values 1.0, and a 5-layer model
// (100, 20, 300, 10, 50 ohm-m over 10, 20, 40 and 80 m). With `widths` each
// gate is a tenth of its time wide; `ramp` in us, `baseFrequency` in Hz
// (0: a single switch-off).

#include <cmath>

#include "core/record/sounding.h"

namespace zeva::bench {

inline core::Sounding centralLoopSounding(float ramp = 0.0f, bool widths = false,
                                          float baseFrequency = 0.0f) {
  core::Sounding s;
  s.header.dataType.assign("Central Loop TEM");
  s.header.NDATA = 30;
  s.header.NCOMP = 1;
  s.header.NGEOM = 2;
  s.header.NSETS = 1;
  s.header.loopSizeX = 40.0f;
  s.header.loopSizeY = 40.0f;
  s.header.temVoltageUnit.assign("(nV/A-m^2)");
  s.allocateData();
  auto& d = s.data();
  for (std::size_t i = 0; i < 30; ++i) {
    d.TIME(i, 0) = 0.01f * std::pow(1000.0f, static_cast<float>(i) / 29.0f);  // ms
    d.TIME(i, 1) = widths ? 0.1f * d.TIME(i, 0) : 0.0f;
    d.VOLTS(i, 0) = 1.0f;
  }
  d.NSET[0] = 30;
  d.AMPS[0] = 1.0f;
  d.NTURNS[0] = 1;
  d.RAMP[0] = ramp;
  d.FREQ[0] = baseFrequency;
  d.AREA[0] = 1.0f;
  const float rho[5] = {100, 20, 300, 10, 50};
  const float h[4] = {10, 20, 40, 80};
  s.model.NLAYER = 5;
  s.model.NPK = 1;
  s.allocateModel();
  for (std::size_t j = 0; j < 5; ++j) s.M.PAR[j] = rho[j];
  for (std::size_t j = 0; j < 4; ++j) s.M.PAR[5 + j] = h[j];
  return s;
}

}  // namespace zeva::bench
