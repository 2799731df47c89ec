// Time of a full redraw of both plots of the default sounding as the screen
// does it (QPainter on a 1500 x 1200 raster image, antialiased), as it starts
// and inverted with its equivalent models, and time to write the printed
// report and the plots as files.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <filesystem>

#include "bench/inverted_default_sounding.h"
#include "core/record/current_sounding.h"
#include "present/plot_setup.h"
#include "ui/qt/render/graphics_export.h"
#include "ui/qt/render/offscreen_session.h"

namespace {

using namespace zeva;

struct Fixture {
  ui::qt::OffscreenSession session;
  core::CurrentSounding current;
  present::PlotSettings settings;
  explicit Fixture(bool inverted = false) {
    if (inverted)
      bench::invertedDefaultSounding(current);
    else
      core::resetToDefault(current);
    present::SetUpPlots(current, settings);
  }
};

std::filesystem::path scratch(const char* name) {
  return std::filesystem::temp_directory_path() / name;
}

// Argument 1: the inverted default sounding with its equivalent models.
void BM_RedrawBothPlotsOnRasterImage(benchmark::State& state) {
  Fixture f(state.range(0) == 1);
  QImage image(ui::qt::kPngWidth, ui::qt::kPngHeight, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    QPainter painter(&image);
    ui::qt::PaintPlots(painter, QRectF(0, 0, image.width(), image.height()), f.current, f.settings);
  }
}
BENCHMARK(BM_RedrawBothPlotsOnRasterImage)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

void BM_WriteReportPdf(benchmark::State& state) {
  Fixture f(state.range(0) == 1);
  present::ReportOptions options;
  options.userName = "Benchmark";
  const auto path = scratch("zeva-bench-report.pdf");
  for (auto _ : state)
    benchmark::DoNotOptimize(ui::qt::WriteReportPdf(f.current, f.settings, options, path));
  std::filesystem::remove(path);
}
BENCHMARK(BM_WriteReportPdf)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

void BM_ExportPlots(benchmark::State& state) {
  Fixture f;
  const auto format = static_cast<ui::qt::GraphicsFormat>(state.range(0));
  const char* names[] = {"zeva-bench.png", "zeva-bench.svg", "zeva-bench.pdf", "zeva-bench.dxf"};
  const auto path = scratch(names[state.range(0)]);
  for (auto _ : state)
    benchmark::DoNotOptimize(ui::qt::ExportPlots(f.current, f.settings, path, format));
  std::filesystem::remove(path);
}
BENCHMARK(BM_ExportPlots)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

}  // namespace
