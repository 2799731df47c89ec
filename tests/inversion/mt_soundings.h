#pragma once
// A wide-band magnetotelluric sounding made with the program's own forward
// model and transfer noise: 60 frequencies from 0.001 to 1000 Hz over a
// four-layer earth with a 2 ohm-m conductor, each value multiplied by
// 1 + 0.02 g (g Gaussian, the transfer's generator).

#include <cmath>
#include <vector>

#include "core/record/data_type.h"
#include "core/record/gaussian_deviate.h"
#include "core/record/sounding.h"
#include "forward/mt_forward.h"
#include "tests/inversion/synthetic_soundings.h"

namespace zeva::inversion::test {

inline const LayeredEarth kConductorEarth{{100.0f, 2.0f, 300.0f, 20.0f}, {300.0f, 500.0f, 3000.0f}};

inline void makeWideBandMt(core::Sounding& S, const LayeredEarth& earth = kConductorEarth,
                           float noisePercent = 2.0f, int frequencies = 60) {
  S.header.dataType.assign(core::type::kMagnetotelluric);
  S.header.NDATA = frequencies;
  S.header.NCOMP = 2;
  S.header.NGEOM = 1;
  S.header.NSETS = 1;
  S.header.maskingOn = core::kTrue;
  S.allocateData();
  auto& d = S.data();
  d.LOGDAT[0] = core::kTrue;
  d.LOGDAT[1] = core::kFalse;
  d.NSET[0] = frequencies;
  for (int i = 0; i < frequencies; ++i) {
    const auto row = static_cast<std::size_t>(i);
    d.TIME(row, 0) = 1.0e-3f * std::pow(1.0e6f, static_cast<float>(i) / (frequencies - 1));
    d.VOLTS(row, 0) = 100.0f;
    d.VOLTS(row, 1) = 45.0f;
  }
  setModel(S, earth);
  forward::mtForward(S);
  core::GaussianDeviate noise;
  for (int i = 0; i < frequencies; ++i) {
    const auto row = static_cast<std::size_t>(i);
    for (std::size_t c = 0; c < 2; ++c) {
      d.VOLTS(row, c) = S.SVOLT(row, c) * (1.0f + noisePercent / 100.0f * noise.next());
      d.UVOLTS(row, c) = noisePercent / 100.0f * std::fabs(d.VOLTS(row, c));
    }
  }
}

}  // namespace zeva::inversion::test
