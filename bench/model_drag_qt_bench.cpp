// Time of one step of a model drag on the default sounding: the dragged
// resistivity takes the value under the cursor, the forward routine runs, and
// both plots are painted again as the screen paints them (QPainter on a
// 1000 x 800 raster image, antialiased). The step must stay well under a
// frame of 16 ms for the synthetic curve to follow the mouse smoothly.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "core/program/model_editing.h"
#include "core/program/program.h"
#include "present/graph_frame_drawing.h"
#include "present/plot_setup.h"
#include "tests/support/scripted_toolkit.h"
#include "ui/qt/render/graphics_export.h"
#include "ui/qt/render/offscreen_session.h"

namespace {

using namespace zeva;

struct Fixture {
  ui::qt::OffscreenSession session;
  zeva::test::ScriptedToolkit toolkit;
  core::Program program{toolkit};
  present::PlotSettings settings;
  Fixture() {
    core::finish(program.model().forwardModel());
    present::SetUpPlots(program.current(), settings);
  }
  // Page position of a resistivity at 20 m on the model panel.
  std::pair<float, float> at(float value) {
    const core::GraphFrame& g = program.current().modelFrames[0];
    return {g.originX + present::PageX(value, g), g.originY + present::PageY(20.0f, g)};
  }
};

void BM_DragStepForwardOnly(benchmark::State& state) {
  Fixture f;
  const core::GraphFrame g = f.program.current().modelFrames[0];
  const auto low = f.at(10.0f), high = f.at(40.0f);
  bool up = false;
  for (auto _ : state) {
    const auto& p = (up = !up) ? high : low;
    core::dragParameter(f.program.S(), g, core::EditPlot::FirstModelPanel, 3, p.first, p.second);
    f.program.layers().dragStep();
    benchmark::DoNotOptimize(f.program.S().layer.RMS);
  }
}
BENCHMARK(BM_DragStepForwardOnly)->Unit(benchmark::kMicrosecond);

void BM_DragStepForwardAndRepaint(benchmark::State& state) {
  Fixture f;
  const core::GraphFrame g = f.program.current().modelFrames[0];
  const auto low = f.at(10.0f), high = f.at(40.0f);
  QImage image(1000, 800, QImage::Format_ARGB32_Premultiplied);
  bool up = false;
  for (auto _ : state) {
    const auto& p = (up = !up) ? high : low;
    core::dragParameter(f.program.S(), g, core::EditPlot::FirstModelPanel, 3, p.first, p.second);
    f.program.layers().dragStep();
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    ui::qt::PaintPlots(painter, QRectF(0, 0, image.width(), image.height()), f.program.current(),
                       f.settings);
  }
}
BENCHMARK(BM_DragStepForwardAndRepaint)->Unit(benchmark::kMillisecond);

}  // namespace
