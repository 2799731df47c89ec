// The multiple-iteration driver, the equivalence analysis and the smooth
// models, each on one thread and on all the hardware runs at a time (the
// last argument of every case): the default sounding (22 readings, a
// 7-layer model of 15 ohm-m, default settings), the scaling grid of
// synthetic Schlumberger soundings (3, 5, 10 and 20 layers x 20, 40, 80 and
// 160 readings, each inverted from a flat start) and the equivalence analysis
// of inverted models. The counters give the forward runs of one run and its
// fit.

#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "bench/central_loop_sounding.h"
#include "core/record/current_sounding.h"
#include "forward/dc_resistivity_forward.h"
#include "forward/tem_forward.h"
#include "inversion/equivalence.h"
#include "inversion/layered_inversion.h"
#include "inversion/segment_shifting.h"
#include "inversion/smooth_model.h"
#include "inversion/worker_pool.h"
#include "tests/support/scripted_toolkit.h"

namespace {

using zeva::core::Sounding;

const int kAllThreads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));

void useThreads(const benchmark::State& state, int argument) {
  zeva::inversion::WorkerPool::shared().resize(static_cast<int>(state.range(argument)));
}

// The DC routine as the program chooses it (it runs on the workers), with a
// count of its runs.
struct CountedDc {
  zeva::test::ScriptedToolkit toolkit;
  std::atomic<int> runs{0};
  zeva::forward::ForwardRoutine routine{[this](Sounding& s, zeva::ui::Toolkit& messages) {
                                          ++runs;
                                          zeva::forward::dcResistivityForward(s, messages);
                                        },
                                        toolkit};
};

void defaultSounding(zeva::core::CurrentSounding& current) {
  zeva::core::resetToDefault(current);
  zeva::inversion::SHIFTP(current.S);
  current.S.shareDataWith(current.SM);
}

// Noise-free Schlumberger readings (AB/2 from 1 to 1000 m, MN = AB/5) of the
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

// An earth of `layers` layers alternating between conductive and resistive
// (30 to 300 ohm-m) with thicknesses growing by half a layer each, and the
// flat start of 100 ohm-m over the same thicknesses.
std::vector<float> alternatingEarth(int layers, float startResistivity = 0.0f) {
  std::vector<float> par;
  for (int j = 0; j < layers; ++j)
    par.push_back(startResistivity > 0.0f ? startResistivity
                                          : (j % 2 == 0 ? 30.0f : 300.0f) * (1.0f + 0.1f * j));
  float thickness = 1.0f;
  for (int j = 0; j + 1 < layers; ++j, thickness *= 1.5f) par.push_back(thickness);
  return par;
}

void runInvertMany(benchmark::State& state, Sounding& S, const std::vector<float>& start,
                   zeva::core::InversionSettings settings, CountedDc& dc) {
  float fit = 0.0f;
  int runs = 0;
  for (auto _ : state) {
    S.M.PAR = start;
    dc.runs = 0;
    zeva::inversion::RunMonitor monitor(dc.toolkit);
    zeva::inversion::InvertMany(S, dc.routine, settings, monitor, 1);
    fit = S.layer.PCTERR;
    runs = dc.runs;
  }
  state.counters["forward_runs"] = runs;
  state.counters["final_pct_rms"] = fit;
}

void BM_InvertManyDefaultSounding(benchmark::State& state) {
  useThreads(state, 0);
  CountedDc dc;
  zeva::core::CurrentSounding current;
  defaultSounding(current);
  const std::vector<float> start = current.S.M.PAR;
  runInvertMany(state, current.S, start, current.settings, dc);
}
BENCHMARK(BM_InvertManyDefaultSounding)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(kAllThreads)
    ->Unit(benchmark::kMillisecond);

// The 30-gate central-loop sounding of the transient benchmark, its gates
// the synthetics of its 5-layer model, inverted from a uniform 100 ohm-m
// start over the same thicknesses.
void BM_InvertManyCentralLoopTem(benchmark::State& state) {
  useThreads(state, 0);
  zeva::test::ScriptedToolkit toolkit;
  std::atomic<int> runs{0};
  const zeva::forward::ForwardRoutine tem{[&runs](Sounding& s, zeva::ui::Toolkit& messages) {
                                            ++runs;
                                            zeva::forward::temForward(s, messages);
                                          },
                                          toolkit};
  Sounding S = zeva::bench::centralLoopSounding();
  S.header.maskingOn = zeva::core::kTrue;
  zeva::forward::temForward(S, toolkit);
  for (std::size_t i = 0; i < 30; ++i) S.data().VOLTS(i, 0) = S.SVOLT(i, 0);
  std::vector<float> start = S.M.PAR;
  for (std::size_t j = 0; j < 5; ++j) start[j] = 100.0f;
  float fit = 0.0f;
  int count = 0;
  for (auto _ : state) {
    S.M.PAR = start;
    runs = 0;
    zeva::inversion::RunMonitor monitor(toolkit);
    zeva::inversion::InvertMany(S, tem, zeva::core::InversionSettings{}, monitor, 1);
    fit = S.layer.PCTERR;
    count = runs;
  }
  state.counters["forward_runs"] = count;
  state.counters["final_pct_rms"] = fit;
}
BENCHMARK(BM_InvertManyCentralLoopTem)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(kAllThreads)
    ->Unit(benchmark::kMillisecond);

// Layers x readings x threads.
void BM_InvertManyScaling(benchmark::State& state) {
  useThreads(state, 2);
  CountedDc dc;
  Sounding S;
  const int layers = static_cast<int>(state.range(0));
  const std::vector<float> start = alternatingEarth(layers, 100.0f);
  layeredSounding(S, static_cast<int>(state.range(1)), alternatingEarth(layers), layers, start,
                  dc.toolkit);
  runInvertMany(state, S, start, zeva::core::InversionSettings{}, dc);
}
BENCHMARK(BM_InvertManyScaling)
    ->ArgNames({"layers", "readings", "threads"})
    ->ArgsProduct({{3, 5, 10, 20}, {20, 40, 80, 160}, {1, kAllThreads}})
    ->Unit(benchmark::kMillisecond);

// Equivalence of an inverted model: two searches per free parameter, each a
// handful of forward runs.
void runEquivalence(benchmark::State& state, Sounding& S, CountedDc& dc) {
  {
    zeva::inversion::RunMonitor monitor(dc.toolkit);
    zeva::inversion::InvertMany(S, dc.routine, zeva::core::InversionSettings{}, monitor, 1);
  }
  int runs = 0;
  for (auto _ : state) {
    dc.runs = 0;
    zeva::inversion::RunMonitor monitor(dc.toolkit);
    zeva::inversion::AnalyzeEquivalence(S, dc.routine, monitor);
    runs = dc.runs;
  }
  state.counters["forward_runs"] = runs;
  state.counters["best_pct_rms"] = S.layer.PCTERR;
}

void BM_EquivalenceDefaultSounding(benchmark::State& state) {
  useThreads(state, 0);
  CountedDc dc;
  zeva::core::CurrentSounding current;
  defaultSounding(current);
  runEquivalence(state, current.S, dc);
}
BENCHMARK(BM_EquivalenceDefaultSounding)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(kAllThreads)
    ->Unit(benchmark::kMillisecond);

// A 10-layer model (19 parameters) inverted against 60 readings of a smooth
// earth with a 2 % ripple, so that the best fit is not zero.
void BM_EquivalenceTenLayers(benchmark::State& state) {
  useThreads(state, 0);
  CountedDc dc;
  Sounding S;
  const std::vector<float> truth = {30.0f,  80.0f, 200.0f, 60.0f, 15.0f, 40.0f, 120.0f,
                                    300.0f, 90.0f, 600.0f, 1.0f,  2.0f,  3.0f,  5.0f,
                                    8.0f,   13.0f, 21.0f,  34.0f, 55.0f};
  std::vector<float> start = truth;
  for (std::size_t j = 0; j < 10; ++j) start[j] = 100.0f;
  layeredSounding(S, 60, truth, 10, start, dc.toolkit);
  for (int i = 0; i < 60; ++i)
    S.data().VOLTS(static_cast<std::size_t>(i), 0) *=
        1.0f + 0.02f * std::sin(1.7f * static_cast<float>(i));
  runEquivalence(state, S, dc);
}
BENCHMARK(BM_EquivalenceTenLayers)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(kAllThreads)
    ->Unit(benchmark::kMillisecond);

// "Estimate Smooth Model" on the default sounding: Occam's inversion
// (roughness penalty) and ridge regression, one layer per reading.
void BM_SmoothModelDefaultSounding(benchmark::State& state) {
  useThreads(state, 1);
  CountedDc dc;
  zeva::core::CurrentSounding current;
  defaultSounding(current);
  const bool occam = state.range(0) != 0;
  int runs = 0;
  for (auto _ : state) {
    zeva::core::Sounding& SM = current.SM;
    current.S.shareDataWith(SM);
    SM.model.LROUGH = zeva::core::logical(occam);
    dc.runs = 0;
    zeva::inversion::RunMonitor monitor(dc.toolkit);
    zeva::inversion::EstimateSmoothModel(SM, current.settings, dc.routine, monitor, 1);
    runs = dc.runs;
  }
  state.counters["forward_runs"] = runs;
  state.counters["final_pct_rms"] = current.SM.layer.PCTERR;
}
BENCHMARK(BM_SmoothModelDefaultSounding)
    ->ArgNames({"occam", "threads"})
    ->ArgsProduct({{1, 0}, {1, kAllThreads}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
