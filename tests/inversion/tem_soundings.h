#pragma once
// A central-loop TEM sounding made with the program's own transient forward
// model and transfer noise: 25 gates from 10 us to 10 ms under a 40 x 40 m
// loop (10 A, one turn, step-off), each voltage multiplied by 1 + p g (g
// Gaussian, the transfer's generator).

#include <cmath>

#include "core/record/data_type.h"
#include "core/record/gaussian_deviate.h"
#include "core/record/sounding.h"
#include "forward/tem_forward.h"
#include "tests/inversion/synthetic_soundings.h"
#include "ui/toolkit/toolkit.h"

namespace zeva::inversion::test {

// 100 ohm-m over a 10 ohm-m conductor 30 m thick at 20 m, on 1000 ohm-m:
// the conductor's conductance is 3 S.
inline const LayeredEarth kTemConductorEarth{{100.0f, 10.0f, 1000.0f}, {20.0f, 30.0f}};

inline forward::ForwardRoutine temRoutine(ui::Toolkit& toolkit) {
  return {forward::temForward, toolkit};
}

inline void makeCentralLoopTem(core::Sounding& S, ui::Toolkit& toolkit,
                               const LayeredEarth& earth = kTemConductorEarth,
                               float noisePercent = 2.0f, int gates = 25) {
  S.header.dataType.assign("Central Loop TEM");
  S.header.NDATA = gates;
  S.header.NCOMP = 1;
  S.header.NGEOM = 1;
  S.header.NSETS = 1;
  S.header.maskingOn = core::kTrue;
  S.header.loopSizeX = S.header.loopSizeY = 40.0f;
  S.header.temVoltageUnit.assign("(nV/A-m^2)");
  S.allocateData();
  auto& d = S.data();
  d.LOGDAT[0] = core::kTrue;
  d.NSET[0] = gates;
  d.AMPS[0] = 10.0f;
  d.NTURNS[0] = 1;
  d.AREA[0] = 1.0f;
  for (int i = 0; i < gates; ++i)
    d.TIME(static_cast<std::size_t>(i), 0) =
        0.01f * std::pow(1000.0f, static_cast<float>(i) / static_cast<float>(gates - 1));
  setModel(S, earth);
  forward::temForward(S, toolkit);
  core::GaussianDeviate noise;
  for (std::size_t i = 0; i < static_cast<std::size_t>(gates); ++i) {
    d.VOLTS(i, 0) = S.SVOLT(i, 0) * (1.0f + noisePercent / 100.0f * noise.next());
    d.UVOLTS(i, 0) = noisePercent / 100.0f * std::fabs(d.VOLTS(i, 0));
  }
}

}  // namespace zeva::inversion::test
