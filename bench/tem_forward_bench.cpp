// Timing of the transient forward routine on a central-loop sounding of field
// size: 30 gates from 10 us to 10 ms under a 40 m x 40 m loop, 5 layers.
// One iteration is one forward call, as an inversion makes it once per trial
// model: as a sampled step-off, with a 100 us ramp and gate widths of a
// tenth of the gate time, and with both and a 20 Hz bipolar repetition.

#include <benchmark/benchmark.h>

#include <cmath>

#include "core/record/sounding.h"
#include "forward/tem_forward.h"
#include "tests/support/scripted_toolkit.h"

namespace {

using zeva::core::Sounding;

Sounding centralLoopSounding(float ramp, bool widths, float baseFrequency) {
  Sounding s;
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

void CentralLoop30Gates5Layers(benchmark::State& state, float ramp, bool widths,
                               float baseFrequency) {
  Sounding s = centralLoopSounding(ramp, widths, baseFrequency);
  zeva::test::ScriptedToolkit toolkit;
  for (auto _ : state) {
    zeva::forward::temForward(s, toolkit);
    benchmark::DoNotOptimize(s.SVOLT(0, 0));
  }
}

}  // namespace

BENCHMARK_CAPTURE(CentralLoop30Gates5Layers, StepOff, 0.0f, false, 0.0f)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CentralLoop30Gates5Layers, RampAndGateWidths, 100.0f, true, 0.0f)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CentralLoop30Gates5Layers, RampGateWidthsAndRepetition, 100.0f, true, 20.0f)
    ->Unit(benchmark::kMicrosecond);
