#pragma once
// The transient model's pipeline below the routine, for the physics tests:
// a layered earth, a loop functional, the step-off response.

#include <algorithm>
#include <vector>

#include "forward/em_layer_recursion.h"
#include "forward/tem_frequency_response.h"
#include "forward/tem_kernel_grid.h"
#include "forward/tem_step_response.h"

namespace zeva::forward::test {

// The step-off response e(t) = -dB/dt of `wire` over the layered earth of
// resistivities `rho` and thicknesses `h`, tabulated from tFirst to tLast.
inline StepResponse stepOffResponse(const std::vector<WirePoint>& wire,
                                    const std::vector<float>& rho, const std::vector<float>& h,
                                    double tFirst, double tLast) {
  EmLayerRecursion layers;
  layers.allocate(static_cast<int>(rho.size()));
  for (std::size_t j = 0; j < rho.size(); ++j)
    layers.relativeConductivity[j] = std::max(1.0e-5f, rho[0] / rho[j]);
  for (std::size_t j = 0; j < h.size(); ++j) layers.thickness[j] = h[j];
  const KernelGrid grid(wire);
  const FrequencyResponse response(layers, rho[0], grid, kLowestFrequencyTimes / tLast,
                                   kHighestFrequencyTimes / tFirst);
  return StepResponse(response, tFirst, tLast);
}

}  // namespace zeva::forward::test

#include <string_view>

#include "core/record/sounding.h"
#include "forward/tem_forward.h"
#include "forward_test_support.h"

namespace zeva::forward::test {

// A one-sweep TEM sounding: gate times (ms), loop sides, receiver offset,
// unit text; current 1 A, one turn, receiver area 1 m^2, no ramp, a single
// switch-off. Observed values 1.0.
inline void makeTemSounding(core::Sounding& s, std::string_view type,
                            const std::vector<float>& gatesMs, float lx, float ly = 0.0f,
                            float x = 0.0f, float y = 0.0f, std::string_view unit = "(nT/sec)") {
  s.header.dataType.assign(type);
  s.header.NDATA = static_cast<int>(gatesMs.size());
  s.header.NCOMP = 1;
  s.header.NGEOM = 2;
  s.header.NSETS = 1;
  s.header.maskingOn = core::kTrue;
  s.header.loopSizeX = lx;
  s.header.loopSizeY = ly;
  s.header.coilX = x;
  s.header.coilY = y;
  s.header.temVoltageUnit.assign(unit);
  ASSERT_TRUE(s.allocateData());
  auto& d = s.data();
  for (std::size_t i = 0; i < gatesMs.size(); ++i) {
    d.TIME(i, 0) = gatesMs[i];
    d.TIME(i, 1) = 0.0f;
    d.VOLTS(i, 0) = 1.0f;
  }
  d.NSET[0] = static_cast<std::int32_t>(gatesMs.size());
  d.AMPS[0] = 1.0f;
  d.NTURNS[0] = 1;
  d.RAMP[0] = 0.0f;
  d.FREQ[0] = 0.0f;
  d.AREA[0] = 1.0f;
}

// The synthetic of one gate at 0.5 ms over a 100 ohm-m half-space under a
// 40 m loop, in `unit`, for a sweep of 4 A, 3 turns and a 50 m^2 receiver.
inline double unitValue(std::string_view type, std::string_view unit, ui::Toolkit& toolkit) {
  core::Sounding s;
  makeTemSounding(s, type, {0.5f}, 40.0f, 0.0f, 0.0f, 0.0f, unit);
  setModel(s, {100.0f}, {});
  s.data().AMPS[0] = 4.0f;
  s.data().NTURNS[0] = 3;
  s.data().AREA[0] = 50.0f;
  temForward(s, toolkit);
  return double(s.SVOLT(0, 0));
}

}  // namespace zeva::forward::test
