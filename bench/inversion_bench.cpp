// The multiple-iteration driver on the default sounding (22 readings, a
// 7-layer model of 15 ohm-m, default settings) and on a 40-reading synthetic
// Schlumberger sounding of a 5-layer model inverted from a flat start. The
// counters give the forward runs of one inversion and its final fit.

#include <benchmark/benchmark.h>

#include <cmath>

#include "core/current_sounding.h"
#include "forward/dc_resistivity_forward.h"
#include "forward/segment_shifting.h"
#include "inversion/layered_inversion.h"
#include "ui/scripted_toolkit.h"

namespace {

using zeva::core::Sounding;

void defaultSounding(zeva::core::CurrentSounding& current) {
  zeva::core::resetToDefault(current);
  zeva::forward::SHIFTP(current.S);
  current.S.shareDataWith(current.SM);
}

// 40 readings, AB/2 from 1 to 1000 m, of the model 50/200/20/100/500 ohm-m
// with thicknesses 2, 5, 10 and 30 m; the model then set to a flat start.
void fiveLayerSounding(Sounding& S, zeva::ui::Toolkit& toolkit) {
  constexpr int kCount = 40;
  S.header.dataType.assign("Schlumberger Array");
  S.header.NDATA = kCount;
  S.header.NCOMP = 1;
  S.header.NGEOM = 2;
  S.header.NSETS = 1;
  S.header.maskingOn = zeva::core::kTrue;
  S.allocateData();
  for (int i = 0; i < kCount; ++i) {
    const float ab2 = std::pow(1000.0f, static_cast<float>(i) / (kCount - 1));
    S.data().TIME(static_cast<std::size_t>(i), 0) = ab2;
    S.data().TIME(static_cast<std::size_t>(i), 1) = ab2 / 5.0f;
  }
  S.data().LOGDAT[0] = zeva::core::kTrue;
  S.data().NSET[0] = kCount;
  S.model.NLAYER = 5;
  S.model.NPK = 1;
  S.allocateModel();
  S.M.PAR = {50.0f, 200.0f, 20.0f, 100.0f, 500.0f, 2.0f, 5.0f, 10.0f, 30.0f};
  zeva::forward::dcResistivityForward(S, toolkit);
  for (int i = 0; i < kCount; ++i)
    S.data().VOLTS(static_cast<std::size_t>(i), 0) = S.SVOLT(static_cast<std::size_t>(i), 0);
  S.M.PAR = {80.0f, 80.0f, 80.0f, 80.0f, 80.0f, 2.0f, 6.0f, 25.0f, 60.0f};
}

void runInvertMany(benchmark::State& state, Sounding& S, const std::vector<float>& start,
                   zeva::core::InversionSettings settings, zeva::ui::ScriptedToolkit& toolkit) {
  int runs = 0;
  const zeva::forward::ForwardRoutine forward = [&](Sounding& s) {
    ++runs;
    zeva::forward::dcResistivityForward(s, toolkit);
  };
  float fit = 0.0f;
  for (auto _ : state) {
    S.M.PAR = start;
    runs = 0;
    zeva::inversion::RunMonitor monitor(toolkit);
    zeva::inversion::InvertMany(S, forward, settings, monitor, 1);
    fit = S.layer.PCTERR;
  }
  state.counters["forward_runs"] = runs;
  state.counters["final_pct_rms"] = fit;
}

void BM_InvertManyDefaultSounding(benchmark::State& state) {
  zeva::ui::ScriptedToolkit toolkit;
  zeva::core::CurrentSounding current;
  defaultSounding(current);
  const std::vector<float> start = current.S.M.PAR;
  runInvertMany(state, current.S, start, current.settings, toolkit);
}
BENCHMARK(BM_InvertManyDefaultSounding)->Unit(benchmark::kMillisecond);

void BM_InvertManyFiveLayerSchlumberger40(benchmark::State& state) {
  zeva::ui::ScriptedToolkit toolkit;
  Sounding S;
  fiveLayerSounding(S, toolkit);
  const std::vector<float> start = S.M.PAR;
  runInvertMany(state, S, start, zeva::core::InversionSettings{}, toolkit);
}
BENCHMARK(BM_InvertManyFiveLayerSchlumberger40)->Unit(benchmark::kMillisecond);

}  // namespace
