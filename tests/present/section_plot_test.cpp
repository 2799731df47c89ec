// The section of a survey's models: cells where the layers are, the colour
// scale, the picking of stations and the depth shown.

#include "present/section_plot.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "present/recording_canvas.h"

namespace zeva::present {
namespace {

// Three stations 100 m apart over 100 ohm-m on a 1000 ohm-m basement; the
// middle one has a 10 ohm-m conductor from 20 m to 40 m.
SectionInput threeStations() {
  SectionInput input;
  input.stations = {{"A", 0.0f, {{100.0f, 40.0f}, {1000.0f, 0.0f}}, 2.0f},
                    {"B", 100.0f, {{100.0f, 20.0f}, {10.0f, 20.0f}, {1000.0f, 0.0f}}, 3.5f},
                    {"C", 200.0f, {{100.0f, 40.0f}, {1000.0f, 0.0f}}, std::nullopt}};
  return input;
}

TEST(SectionPlot, ColoursEachLayerWhereItIs) {
  const SectionInput input = threeStations();
  // 1.5 times the median top of a half-space, whatever one deep estimate
  // says; an option overrides it.
  EXPECT_FLOAT_EQ(sectionDepth(input), 60.0f);
  SectionInput outlier = input;
  outlier.stations[0].layers[0].thickness = 480.0f;
  EXPECT_FLOAT_EQ(sectionDepth(outlier), 60.0f);
  SectionInput deeper = input;
  deeper.depth = 250.0f;
  EXPECT_FLOAT_EQ(sectionDepth(deeper), 250.0f);

  RecordingCanvas canvas;
  const SectionLayout layout = DrawSection(canvas, input);
  // The colour scale spans the decades 10 to 1000 ohm-m: the conductor is its
  // red end. Only the middle column holds it, from 20 m to 40 m of the 60 m.
  const Rgb red = resistivityColour(1.0f, 1.0f, 3.0f);
  EXPECT_EQ(red, (Rgb{255, 0, 0}));
  const float width = layout.right - layout.left, height = layout.top - layout.bottom;
  std::vector<RecordingCanvas::Fill> conductor;
  std::ranges::copy_if(canvas.fills, std::back_inserter(conductor),
                       [&](const auto& f) { return f.colour == red && f.corner.x < layout.right; });
  ASSERT_EQ(conductor.size(), 1u);
  const auto& cell = conductor.front();
  EXPECT_NEAR(std::min(cell.corner.x, cell.opposite.x), layout.left + width / 3.0f, 1e-4f);
  EXPECT_NEAR(std::max(cell.corner.x, cell.opposite.x), layout.left + 2.0f * width / 3.0f, 1e-4f);
  EXPECT_NEAR(std::max(cell.corner.y, cell.opposite.y), layout.top - height / 3.0f, 1e-4f);
  EXPECT_NEAR(std::min(cell.corner.y, cell.opposite.y), layout.top - 2.0f * height / 3.0f, 1e-4f);
  EXPECT_EQ(layout.stationAt(0.5f * (layout.left + layout.right), layout.bottom + 0.1f), 1);
  EXPECT_EQ(layout.stationAt(layout.left + 0.01f, layout.top + 0.5f), 0);
  EXPECT_EQ(layout.stationAt(layout.right + 0.3f, layout.bottom + 0.1f), -1);

  for (const char* text : {"Layered models", "Resistivity (ohm-m)", "Depth (m)", "Distance (m)",
                           "Fit (%)", "10", "100", "1000", "A", "B", "C"})
    EXPECT_TRUE(canvas.hasText(text)) << text;
}

TEST(SectionPlot, ColourBarRunsFromConductorsToResistors) {
  EXPECT_EQ(resistivityColour(2.0f, 1.0f, 3.0f), (Rgb{0, 255, 0}));
  EXPECT_EQ(resistivityColour(3.0f, 1.0f, 3.0f), (Rgb{0, 0, 255}));
  RecordingCanvas canvas;
  const SectionLayout layout = DrawSection(canvas, threeStations());
  std::vector<RecordingCanvas::Fill> bar;
  std::ranges::copy_if(canvas.fills, std::back_inserter(bar),
                       [&](const auto& f) { return f.corner.x > layout.right; });
  ASSERT_GT(bar.size(), 10u);
  std::ranges::sort(bar, {}, [](const auto& f) { return f.corner.y; });
  // Upwards the colour turns from red through green to blue: blue minus red
  // never falls.
  for (std::size_t i = 1; i < bar.size(); ++i)
    EXPECT_GE(bar[i].colour.blue - bar[i].colour.red,
              bar[i - 1].colour.blue - bar[i - 1].colour.red);
  EXPECT_EQ(bar.front().colour.red, 255);
  EXPECT_EQ(bar.back().colour.blue, 255);
}

}  // namespace
}  // namespace zeva::present
