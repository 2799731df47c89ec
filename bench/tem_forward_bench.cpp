// Timing of the transient forward routine on a central-loop sounding of field
// size: 30 gates from 10 us to 10 ms under a 40 m x 40 m loop, 5 layers.
// One iteration is one forward call, as an inversion makes it once per trial
// model: as a sampled step-off, with a 100 us ramp and gate widths of a
// tenth of the gate time, and with both and a 20 Hz bipolar repetition.

#include <benchmark/benchmark.h>

#include "bench/central_loop_sounding.h"
#include "core/record/sounding.h"
#include "forward/tem_forward.h"
#include "tests/support/scripted_toolkit.h"

namespace {

using zeva::core::Sounding;

void CentralLoop30Gates5Layers(benchmark::State& state, float ramp, bool widths,
                               float baseFrequency) {
  Sounding s = zeva::bench::centralLoopSounding(ramp, widths, baseFrequency);
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
