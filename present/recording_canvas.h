#pragma once
// A canvas that keeps what was drawn: the line segments and texts of each page
// with their colours. Tests read pictures back from it, and the benchmarks use
// it to time the composition of the plots without a rendering back end.

#include <string>
#include <vector>

#include "present/canvas.h"

namespace zeva::present {

class RecordingCanvas : public Canvas {
 public:
  struct Segment {
    PagePoint from, to;
    Rgb colour;
    int page;
  };
  struct Text {
    float x, y;
    std::string text;
    float height, angle;
    TextAlign align;
    TextFont font;
    Rgb colour;
    int page;
  };
  struct Fill {
    PagePoint corner, opposite;
    Rgb colour;
    int page;
  };
  struct Page {
    float width, height;
  };

  void beginPage(float width, float height) override;
  void endPage() override { ++endedPages; }
  void clear(Rgb colour) override { clears.push_back(colour); }
  void setColour(Rgb colour) override { colour_ = colour; }
  void setFont(TextFont font) override { font_ = font; }
  void polyline(std::span<const PagePoint> points) override;
  void fillRectangle(PagePoint corner, PagePoint opposite) override {
    fills.push_back({corner, opposite, colour_, static_cast<int>(pages.size())});
  }
  void text(float x, float y, std::string_view text, float height, float angleDegrees,
            TextAlign align) override;

  // Forgets everything recorded.
  void reset();
  // Texts in drawing order.
  std::vector<std::string> textStrings() const;
  bool hasText(std::string_view text) const;
  const Text* findText(std::string_view text) const;
  // Segments drawn in one colour.
  std::size_t segmentsIn(Rgb colour) const;

  std::vector<Page> pages;
  std::vector<Segment> segments;
  std::vector<Text> texts;
  std::vector<Fill> fills;
  std::vector<Rgb> clears;
  int endedPages = 0;
  int polylines = 0;

 private:
  Rgb colour_{};
  TextFont font_ = TextFont::Proportional;
};

}  // namespace zeva::present
