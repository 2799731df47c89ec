#include "present/section_plot.h"

#include <algorithm>
#include <cmath>

#include "present/plotter.h"

namespace zeva::present {

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kFitColour{40, 40, 160};

// The parts of the page, in page units (y upwards).
constexpr float kLeft = 1.15f, kRight = 8.45f;
constexpr float kBottom = 1.05f, kTop = 5.6f;
constexpr float kFitBottom = 6.4f, kFitTop = 7.15f;
constexpr float kBarLeft = 8.8f, kBarRight = 9.05f;
constexpr float kTitleY = 7.55f;
constexpr float kLabelHeight = 0.13f;
constexpr float kAxisTitleHeight = 0.16f;
constexpr int kColourBarSteps = 96;

// Page y of the baseline that centres a text of height h on y.
float centredBaseline(float y, float h) {
  return y - 0.5f * kEmPerNominalHeight * kCapHeightPerEm * h;
}

void line(Canvas& canvas, float x0, float y0, float x1, float y1) {
  const PagePoint points[2] = {{x0, y0}, {x1, y1}};
  canvas.polyline(points);
}

void frame(Canvas& canvas, float left, float bottom, float right, float top) {
  const PagePoint points[5] = {
      {left, bottom}, {right, bottom}, {right, top}, {left, top}, {left, bottom}};
  canvas.polyline(points);
}

// A step of 1, 2 or 5 times a power of ten giving about `count` intervals.
float niceStep(float range, int count) {
  const float raw = range / static_cast<float>(count);
  const float power = std::pow(10.0f, std::floor(std::log10(raw)));
  for (const float factor : {1.0f, 2.0f, 5.0f})
    if (factor * power >= raw) return factor * power;
  return 10.0f * power;
}

std::string label(float value) { return FormatNumber(value, LabelDecimals(value)); }

// "0.1", "1", "10", ... for a power of ten.
std::string decadeLabel(int exponent) {
  return label(std::pow(10.0f, static_cast<float>(exponent)));
}

bool usable(const SectionLayer& layer) {
  return std::isfinite(layer.resistivity) && layer.resistivity > 0.0f;
}

struct Scale {
  float low = 0.0f, high = 1.0f;  // log10 resistivity of the colour bar's ends, whole decades
};

// Whole decades around the resistivities within the depth shown.
Scale colourScale(const SectionInput& input, float depth) {
  float low = INFINITY, high = -INFINITY;
  for (const SectionStation& station : input.stations) {
    float top = 0.0f;
    for (const SectionLayer& layer : station.layers) {
      if (top >= depth) break;
      if (usable(layer)) {
        low = std::min(low, std::log10(layer.resistivity));
        high = std::max(high, std::log10(layer.resistivity));
      }
      top += layer.thickness;
    }
  }
  if (!(low <= high)) return {};
  Scale scale{std::floor(low), std::ceil(high)};
  if (scale.high - scale.low < 1.0f) scale.high = scale.low + 1.0f;
  return scale;
}

// Column edges half-way between neighbouring stations; the outer columns are
// as wide on their outer side as on their inner one.
void columnEdges(const std::vector<SectionStation>& stations, float soleWidth,
                 std::vector<float>& left, std::vector<float>& right) {
  const std::size_t n = stations.size();
  left.resize(n);
  right.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    const float d = stations[i].distance;
    right[i] = i + 1 < n ? 0.5f * (d + stations[i + 1].distance) : d;
    left[i] = i > 0 ? 0.5f * (stations[i - 1].distance + d) : d;
  }
  if (n == 1) {
    left[0] -= 0.5f * soleWidth;
    right[0] += 0.5f * soleWidth;
  } else {
    left[0] -= right[0] - stations[0].distance;
    right[n - 1] += stations[n - 1].distance - left[n - 1];
  }
}

struct Mapping {
  float xMin, xMax, depth;
  float x(float distance) const {
    return kLeft + (distance - xMin) / (xMax - xMin) * (kRight - kLeft);
  }
  float y(float z) const { return kTop - std::min(z, depth) / depth * (kTop - kBottom); }
};

void drawColumns(Canvas& canvas, const SectionInput& input, const Mapping& map, const Scale& scale,
                 const SectionLayout& layout) {
  for (std::size_t i = 0; i < input.stations.size(); ++i) {
    float top = 0.0f;
    const std::vector<SectionLayer>& layers = input.stations[i].layers;
    for (std::size_t k = 0; k < layers.size() && top < map.depth; ++k) {
      const bool last = k + 1 == layers.size();
      const float bottom = last ? map.depth : top + std::max(layers[k].thickness, 0.0f);
      if (usable(layers[k]) && bottom > top) {
        canvas.setColour(
            resistivityColour(std::log10(layers[k].resistivity), scale.low, scale.high));
        canvas.fillRectangle({layout.columnLeft[i], map.y(top)},
                             {layout.columnRight[i], map.y(bottom)});
      }
      top = bottom;
    }
  }
}

void drawDepthAxis(Canvas& canvas, const Mapping& map) {
  const float step = niceStep(map.depth, 6);
  for (float z = 0.0f; z <= map.depth * 1.0001f; z += step) {
    line(canvas, kLeft - 0.08f, map.y(z), kLeft, map.y(z));
    canvas.text(kLeft - 0.12f, centredBaseline(map.y(z), kLabelHeight), label(z), kLabelHeight,
                0.0f, TextAlign::Right);
  }
  canvas.text(0.35f, 0.5f * (kTop + kBottom), "Depth (m)", kAxisTitleHeight, 90.0f,
              TextAlign::Centre);
}

void drawDistanceAxis(Canvas& canvas, const Mapping& map) {
  const float step = niceStep(map.xMax - map.xMin, 8);
  for (float d = std::ceil(map.xMin / step) * step; d <= map.xMax + 1e-4f * step; d += step) {
    line(canvas, map.x(d), kBottom, map.x(d), kBottom - 0.08f);
    canvas.text(map.x(d), kBottom - 0.28f, label(d), kLabelHeight, 0.0f, TextAlign::Centre);
  }
  canvas.text(0.5f * (kLeft + kRight), 0.35f, "Distance (m)", kAxisTitleHeight, 0.0f,
              TextAlign::Centre);
}

void drawColourBar(Canvas& canvas, const Scale& scale) {
  const float height = kTop - kBottom;
  for (int i = 0; i < kColourBarSteps; ++i) {
    const float t0 = static_cast<float>(i) / kColourBarSteps;
    const float t1 = static_cast<float>(i + 1) / kColourBarSteps;
    const float middle = scale.low + 0.5f * (t0 + t1) * (scale.high - scale.low);
    canvas.setColour(resistivityColour(middle, scale.low, scale.high));
    canvas.fillRectangle({kBarLeft, kBottom + t0 * height}, {kBarRight, kBottom + t1 * height});
  }
  canvas.setColour(kBlack);
  frame(canvas, kBarLeft, kBottom, kBarRight, kTop);
  const int decades = static_cast<int>(std::lround(scale.high - scale.low));
  const int every = decades > 8 ? 2 : 1;
  for (int k = 0; k <= decades; k += every) {
    const int exponent = static_cast<int>(std::lround(scale.low)) + k;
    const float y = kBottom + static_cast<float>(k) / static_cast<float>(decades) * height;
    line(canvas, kBarRight, y, kBarRight + 0.06f, y);
    canvas.text(kBarRight + 0.1f, centredBaseline(y, kLabelHeight), decadeLabel(exponent),
                kLabelHeight, 0.0f, TextAlign::Left);
  }
  canvas.text(9.8f, 0.5f * (kTop + kBottom), "Resistivity (ohm-m)", kAxisTitleHeight, 90.0f,
              TextAlign::Centre);
}

// Ticks on the top of the section and the names above them, upright when
// they are too many to stand side by side.
void drawStations(Canvas& canvas, const SectionInput& input, const Mapping& map) {
  float narrowest = INFINITY, longest = 0.0f;
  for (std::size_t i = 0; i < input.stations.size(); ++i) {
    longest = std::max(longest, TextWidth(kLabelHeight, input.stations[i].name));
    if (i > 0)
      narrowest = std::min(
          narrowest, map.x(input.stations[i].distance) - map.x(input.stations[i - 1].distance));
  }
  const bool upright = longest + 0.1f > narrowest;
  for (const SectionStation& station : input.stations) {
    const float x = map.x(station.distance);
    line(canvas, x, kTop, x, kTop + 0.1f);
    if (upright)
      canvas.text(x + 0.5f * kEmPerNominalHeight * kCapHeightPerEm * kLabelHeight, kTop + 0.16f,
                  station.name, kLabelHeight, 90.0f, TextAlign::Left);
    else
      canvas.text(x, kTop + 0.18f, station.name, kLabelHeight, 0.0f, TextAlign::Centre);
  }
}

// The data fit of each sounding as a bar above its station.
void drawFits(Canvas& canvas, const SectionInput& input, const Mapping& map,
              const SectionLayout& layout) {
  float largest = 0.0f;
  for (const SectionStation& station : input.stations)
    if (station.fitPercent && std::isfinite(*station.fitPercent))
      largest = std::max(largest, *station.fitPercent);
  const float top = largest > 0.0f ? niceStep(largest, 1) : 1.0f;
  canvas.setColour(kFitColour);
  for (std::size_t i = 0; i < input.stations.size(); ++i) {
    const std::optional<float>& fit = input.stations[i].fitPercent;
    if (!fit || !std::isfinite(*fit)) continue;
    const float x = map.x(input.stations[i].distance);
    const float half = std::min(0.08f, 0.3f * (layout.columnRight[i] - layout.columnLeft[i]));
    const float height = std::clamp(*fit / top, 0.0f, 1.0f) * (kFitTop - kFitBottom);
    canvas.fillRectangle({x - half, kFitBottom}, {x + half, kFitBottom + height});
  }
  canvas.setColour(kBlack);
  frame(canvas, kLeft, kFitBottom, kRight, kFitTop);
  for (const float value : {0.0f, top}) {
    const float y = kFitBottom + value / top * (kFitTop - kFitBottom);
    line(canvas, kLeft - 0.08f, y, kLeft, y);
    canvas.text(kLeft - 0.12f, centredBaseline(y, kLabelHeight), label(value), kLabelHeight, 0.0f,
                TextAlign::Right);
  }
  canvas.text(0.35f, 0.5f * (kFitBottom + kFitTop), "Fit (%)", kAxisTitleHeight, 90.0f,
              TextAlign::Centre);
}

std::string titleOf(const SectionInput& input) {
  std::string title = sectionModelTitle(input.model);
  if (!input.survey.empty()) title += " - " + input.survey;
  return title;
}

}  // namespace

std::string sectionModelTitle(SectionModel model) {
  switch (model) {
    case SectionModel::Layered:
      return "Layered models";
    case SectionModel::Smooth:
      return "Smooth models";
    case SectionModel::Lci:
      return "Laterally constrained models";
  }
  return {};
}

float sectionDepth(const SectionInput& input) {
  if (input.depth && std::isfinite(*input.depth) && *input.depth > 0.0f) return *input.depth;
  // The median station rather than the deepest: one estimate whose last
  // boundary sits far below what its data resolve would otherwise squeeze
  // the whole section into a thin band at the top.
  std::vector<float> tops;
  for (const SectionStation& station : input.stations) {
    float top = 0.0f;
    for (std::size_t k = 0; k + 1 < station.layers.size(); ++k)
      top += std::max(station.layers[k].thickness, 0.0f);
    if (std::isfinite(top) && top > 0.0f) tops.push_back(top);
  }
  if (tops.empty()) return 100.0f;
  const auto middle = tops.begin() + static_cast<std::ptrdiff_t>(tops.size() / 2);
  std::ranges::nth_element(tops, middle);
  return 1.5f * *middle;
}

Rgb resistivityColour(float log10Resistivity, float lowLog10, float highLog10) {
  const float span = highLog10 - lowLog10;
  const float t = span > 0.0f ? std::clamp((log10Resistivity - lowLog10) / span, 0.0f, 1.0f) : 0.5f;
  // Hue from blue: 120 red, 180 yellow, 240 green, 300 cyan, 360 blue again.
  return hlsFromBlue(120.0f + 240.0f * t, 50.0f, 100.0f);
}

int SectionLayout::stationAt(float x, float y) const {
  if (y < bottom || y > kFitTop) return -1;
  for (std::size_t i = 0; i < columnLeft.size(); ++i)
    if (x >= columnLeft[i] && x <= columnRight[i]) return static_cast<int>(i);
  return -1;
}

SectionLayout DrawSection(Canvas& canvas, const SectionInput& input) {
  canvas.beginPage(kSectionPageWidth, kSectionPageHeight);
  canvas.clear(kWhite);
  canvas.setFont(TextFont::Proportional);
  canvas.setColour(kBlack);
  canvas.text(0.5f * kSectionPageWidth, kTitleY, titleOf(input), 0.22f, 0.0f, TextAlign::Centre);
  SectionLayout layout{kLeft, kRight, kTop, kBottom, {}, {}};
  if (input.stations.empty()) {
    canvas.text(0.5f * kSectionPageWidth, 0.5f * kSectionPageHeight, "No soundings with models",
                kAxisTitleHeight, 0.0f, TextAlign::Centre);
    canvas.endPage();
    return layout;
  }
  const float depth = sectionDepth(input);
  std::vector<float> left, right;
  columnEdges(input.stations, depth, left, right);
  float xMin = left.front(), xMax = right.back();
  if (!(xMax > xMin)) xMin -= 0.5f, xMax += 0.5f;
  const Mapping map{xMin, xMax, depth};
  for (std::size_t i = 0; i < left.size(); ++i) {
    layout.columnLeft.push_back(map.x(left[i]));
    layout.columnRight.push_back(map.x(right[i]));
  }
  const Scale scale = colourScale(input, depth);
  drawColumns(canvas, input, map, scale, layout);
  canvas.setColour(kBlack);
  frame(canvas, kLeft, kBottom, kRight, kTop);
  drawDepthAxis(canvas, map);
  drawDistanceAxis(canvas, map);
  drawStations(canvas, input, map);
  drawColourBar(canvas, scale);
  drawFits(canvas, input, map, layout);
  canvas.endPage();
  return layout;
}

}  // namespace zeva::present
