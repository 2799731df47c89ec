#include "present/recording_canvas.h"

#include <algorithm>

namespace zeva::present {

void RecordingCanvas::beginPage(float width, float height) { pages.push_back({width, height}); }

void RecordingCanvas::polyline(std::span<const PagePoint> points) {
  ++polylines;
  const int page = static_cast<int>(pages.size());
  for (std::size_t i = 1; i < points.size(); ++i)
    segments.push_back({points[i - 1], points[i], colour_, page});
}

void RecordingCanvas::text(float x, float y, std::string_view text, float height,
                           float angleDegrees, TextAlign align) {
  texts.push_back({x, y, std::string(text), height, angleDegrees, align, font_, colour_,
                   static_cast<int>(pages.size())});
}

void RecordingCanvas::reset() {
  pages.clear();
  segments.clear();
  texts.clear();
  fills.clear();
  clears.clear();
  endedPages = 0;
  polylines = 0;
}

std::vector<std::string> RecordingCanvas::textStrings() const {
  std::vector<std::string> strings;
  strings.reserve(texts.size());
  for (const Text& t : texts) strings.push_back(t.text);
  return strings;
}

bool RecordingCanvas::hasText(std::string_view text) const { return findText(text) != nullptr; }

const RecordingCanvas::Text* RecordingCanvas::findText(std::string_view text) const {
  const auto found = std::ranges::find_if(texts, [&](const Text& t) { return t.text == text; });
  return found == texts.end() ? nullptr : &*found;
}

std::size_t RecordingCanvas::segmentsIn(Rgb colour) const {
  return static_cast<std::size_t>(
      std::ranges::count_if(segments, [&](const Segment& s) { return s.colour == colour; }));
}

}  // namespace zeva::present
