// The multiple-iteration driver on the default sounding (22 readings, a
// 7-layer model of 15 ohm-m, default settings) and on a 40-reading synthetic
// Schlumberger sounding of a 5-layer model inverted from a flat start, and
// the equivalence analysis of inverted models. The counters give the forward
// runs of one run and its fit.

#include <benchmark/benchmark.h>

#include <cmath>

#include "core/current_sounding.h"
#include "forward/dc_resistivity_forward.h"
#include "forward/segment_shifting.h"
#include "inversion/equivalence.h"
#include "inversion/layered_inversion.h"
#include "ui/scripted_toolkit.h"

namespace {

using zeva::core::Sounding;

void defaultSounding(zeva::core::CurrentSounding& current) {
  zeva::core::resetToDefault(current);
  zeva::forward::SHIFTP(current.S);
  current.S.shareDataWith(current.SM);
}

// Noise-free Schlumberger readings (AB/2 from 1 to 1000 m, MN = AB/10) of the
// model `truth`; the model is then set to `start`.
void layeredSounding(Sounding& S, int count, const std::vector<float>& truth, int layers,
                     const std::vector<float>& start, zeva::ui::Toolkit& toolkit) {
  S.header.dataType.assign("Schlumberger Array");
  S.header.NDATA = count;
  S.header.NCOMP = 1;
  S.header.NGEOM = 2;
  S.header.NSETS = 1;
  S.header.maskingOn = zeva::core::kTrue;
  S.allocateData();
  for (int i = 0; i < count; ++i) {
    const float ab2 = std::pow(1000.0f, static_cast<float>(i) / static_cast<float>(count - 1));
    S.data().TIME(static_cast<std::size_t>(i), 0) = ab2;
    S.data().TIME(static_cast<std::size_t>(i), 1) = ab2 / 5.0f;
  }
  S.data().LOGDAT[0] = zeva::core::kTrue;
  S.data().NSET[0] = count;
  S.model.NLAYER = layers;
  S.model.NPK = 1;
  S.allocateModel();
  S.M.PAR = truth;
  zeva::forward::dcResistivityForward(S, toolkit);
  for (int i = 0; i < count; ++i)
    S.data().VOLTS(static_cast<std::size_t>(i), 0) = S.SVOLT(static_cast<std::size_t>(i), 0);
  S.M.PAR = start;
}

// 40 readings of the model 50/200/20/100/500 ohm-m with thicknesses 2, 5, 10
// and 30 m, from a flat start.
void fiveLayerSounding(Sounding& S, zeva::ui::Toolkit& toolkit) {
  layeredSounding(S, 40, {50.0f, 200.0f, 20.0f, 100.0f, 500.0f, 2.0f, 5.0f, 10.0f, 30.0f}, 5,
                  {80.0f, 80.0f, 80.0f, 80.0f, 80.0f, 2.0f, 6.0f, 25.0f, 60.0f}, toolkit);
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

// Equivalence of an inverted model: two searches per free parameter, each a
// handful of forward runs. The default sounding's 13 parameters, and a
// 10-layer model (19 parameters) inverted against 60 readings of a smooth
// earth with a 2 % ripple so that the best fit is not zero.
void runEquivalence(benchmark::State& state, Sounding& S, zeva::ui::ScriptedToolkit& toolkit) {
  int runs = 0;
  const zeva::forward::ForwardRoutine forward = [&](Sounding& s) {
    ++runs;
    zeva::forward::dcResistivityForward(s, toolkit);
  };
  {
    zeva::inversion::RunMonitor monitor(toolkit);
    zeva::inversion::InvertMany(S, forward, zeva::core::InversionSettings{}, monitor, 1);
  }
  for (auto _ : state) {
    runs = 0;
    zeva::inversion::RunMonitor monitor(toolkit);
    zeva::inversion::AnalyzeEquivalence(S, forward, monitor);
  }
  state.counters["forward_runs"] = runs;
  state.counters["best_pct_rms"] = S.layer.PCTERR;
}

void BM_EquivalenceDefaultSounding(benchmark::State& state) {
  zeva::ui::ScriptedToolkit toolkit;
  zeva::core::CurrentSounding current;
  defaultSounding(current);
  runEquivalence(state, current.S, toolkit);
}
BENCHMARK(BM_EquivalenceDefaultSounding)->Unit(benchmark::kMillisecond);

void BM_EquivalenceTenLayers(benchmark::State& state) {
  zeva::ui::ScriptedToolkit toolkit;
  Sounding S;
  const std::vector<float> truth = {30.0f,  80.0f, 200.0f, 60.0f, 15.0f, 40.0f, 120.0f,
                                    300.0f, 90.0f, 600.0f, 1.0f,  2.0f,  3.0f,  5.0f,
                                    8.0f,   13.0f, 21.0f,  34.0f, 55.0f};
  std::vector<float> start = truth;
  for (std::size_t j = 0; j < 10; ++j) start[j] = 100.0f;
  layeredSounding(S, 60, truth, 10, start, toolkit);
  for (int i = 0; i < 60; ++i)
    S.data().VOLTS(static_cast<std::size_t>(i), 0) *=
        1.0f + 0.02f * std::sin(1.7f * static_cast<float>(i));
  runEquivalence(state, S, toolkit);
}
BENCHMARK(BM_EquivalenceTenLayers)->Unit(benchmark::kMillisecond);

}  // namespace
