#pragma once
// A canvas that writes an ASCII DXF drawing (AutoCAD R12 entities: LINE, SOLID
// and TEXT, colours from the AutoCAD colour index) that CAD programs open. Page
// units become drawing units; later pages are placed below the first.

#include <ostream>
#include <sstream>
#include <string>

#include "present/canvas.h"

namespace zeva::present {

class DxfCanvas : public Canvas {
 public:
  void beginPage(float width, float height) override;
  void endPage() override {}
  void clear(Rgb) override {}  // the drawing has no background
  void setColour(Rgb colour) override;
  void setFont(TextFont) override {}
  void polyline(std::span<const PagePoint> points) override;
  void fillRectangle(PagePoint corner, PagePoint opposite) override;
  void text(float x, float y, std::string_view text, float height, float angleDegrees,
            TextAlign align) override;

  // Writes the whole drawing (header, tables, entities).
  void write(std::ostream& out) const;
  int lineCount() const { return lines_; }
  int textCount() const { return texts_; }

  // The AutoCAD colour index nearest to a colour.
  static int colourIndex(Rgb colour);

 private:
  std::ostringstream entities_;
  int colourIndex_ = 7;
  float pageOffsetY_ = 0.0f;
  float pageHeight_ = 0.0f;
  int pages_ = 0;
  int lines_ = 0;
  int texts_ = 0;
  float minX_ = 0.0f, minY_ = 0.0f, maxX_ = 0.0f, maxY_ = 0.0f;
};

}  // namespace zeva::present
