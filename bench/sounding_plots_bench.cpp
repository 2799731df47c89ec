// Time to compose both plots of the default sounding (data plot and model
// plot, frames, labels, symbols and model lines) through the pen plotter, on
// a canvas that only records, as it starts and inverted with its equivalent
// models; and the plot set-up (autoscale).

#include <benchmark/benchmark.h>

#include "bench/inverted_default_sounding.h"
#include "core/record/current_sounding.h"
#include "present/plot_setup.h"
#include "present/print_report.h"
#include "present/recording_canvas.h"

namespace {

using namespace zeva;

void redrawBothPlots(benchmark::State& state, core::CurrentSounding& current) {
  present::PlotSettings settings;
  present::SetUpPlots(current, settings);
  present::RecordingCanvas canvas;
  for (auto _ : state) {
    canvas.reset();
    present::Plotter plotter(canvas);
    present::DrawSoundingPage(plotter, current, settings);
    plotter.close();
    benchmark::DoNotOptimize(canvas.segments.data());
  }
  state.counters["segments"] = static_cast<double>(canvas.segments.size());
  state.counters["texts"] = static_cast<double>(canvas.texts.size());
}

void BM_RedrawBothPlots(benchmark::State& state) {
  core::CurrentSounding current;
  core::resetToDefault(current);
  redrawBothPlots(state, current);
}
BENCHMARK(BM_RedrawBothPlots)->Unit(benchmark::kMicrosecond);

void BM_RedrawBothPlotsInvertedWithEquivalence(benchmark::State& state) {
  core::CurrentSounding current;
  bench::invertedDefaultSounding(current);
  redrawBothPlots(state, current);
}
BENCHMARK(BM_RedrawBothPlotsInvertedWithEquivalence)->Unit(benchmark::kMicrosecond);

void BM_AutoscaleBothPlots(benchmark::State& state) {
  core::CurrentSounding current;
  core::resetToDefault(current);
  present::PlotSettings settings;
  for (auto _ : state) {
    present::SetUpPlots(current, settings);
    benchmark::DoNotOptimize(current.dataFrames.data());
  }
}
BENCHMARK(BM_AutoscaleBothPlots)->Unit(benchmark::kMicrosecond);

void BM_ComposeReport(benchmark::State& state) {
  core::CurrentSounding current;
  core::resetToDefault(current);
  present::PlotSettings settings;
  present::SetUpPlots(current, settings);
  present::RecordingCanvas canvas;
  present::ReportOptions options;
  options.worksheet = true;
  for (auto _ : state) {
    canvas.reset();
    present::Plotter plotter(canvas);
    benchmark::DoNotOptimize(present::PrintReport(plotter, current, settings, options));
  }
}
BENCHMARK(BM_ComposeReport)->Unit(benchmark::kMicrosecond);

}  // namespace
