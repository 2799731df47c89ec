#include "present/dxf_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zeva::present {

namespace {

// DXF text height is the height of capitals.
float capHeight(float nominal) { return kEmPerNominalHeight * kCapHeightPerEm * nominal; }

std::string number(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.4f", value);
  return buffer;
}

// Texts in a DXF file are single lines; control characters would break the
// group structure.
std::string dxfText(std::string_view text) {
  std::string out;
  for (char c : text) out.push_back(static_cast<unsigned char>(c) < 32 ? ' ' : c);
  return out;
}

}  // namespace

int DxfCanvas::colourIndex(Rgb c) {
  const int r = c.red, g = c.green, b = c.blue;
  const int high = std::max({r, g, b}), low = std::min({r, g, b});
  if (high - low < 40) {
    // Greys: black (drawn as the foreground colour 7), dark and light grey.
    if (high < 64) return 7;
    if (high < 170) return 8;
    if (high < 235) return 9;
    return 7;
  }
  const bool red = r > high / 2, green = g > high / 2, blue = b > high / 2;
  if (red && green && !blue) return 2;  // yellow
  if (!red && green && blue) return 4;  // cyan
  if (red && !green && blue) return 6;  // magenta
  if (red && !green && !blue) return 1;
  if (!red && green && !blue) return 3;
  return 5;  // blue
}

void DxfCanvas::beginPage(float width, float height) {
  (void)width;
  if (pages_ > 0) pageOffsetY_ -= pageHeight_ + 1.0f;
  pageHeight_ = height;
  ++pages_;
}

void DxfCanvas::setColour(Rgb colour) { colourIndex_ = colourIndex(colour); }

void DxfCanvas::polyline(std::span<const PagePoint> points) {
  for (std::size_t i = 1; i < points.size(); ++i) {
    const PagePoint a{points[i - 1].x, points[i - 1].y + pageOffsetY_};
    const PagePoint b{points[i].x, points[i].y + pageOffsetY_};
    entities_ << "0\nLINE\n8\n0\n62\n"
              << colourIndex_ << "\n10\n"
              << number(a.x) << "\n20\n"
              << number(a.y) << "\n30\n0.0\n11\n"
              << number(b.x) << "\n21\n"
              << number(b.y) << "\n31\n0.0\n";
    ++lines_;
    minX_ = std::min({minX_, a.x, b.x});
    maxX_ = std::max({maxX_, a.x, b.x});
    minY_ = std::min({minY_, a.y, b.y});
    maxY_ = std::max({maxY_, a.y, b.y});
  }
}

void DxfCanvas::fillRectangle(PagePoint corner, PagePoint opposite) {
  const float x0 = corner.x, x1 = opposite.x;
  const float y0 = corner.y + pageOffsetY_, y1 = opposite.y + pageOffsetY_;
  // A SOLID's third and fourth corners are crossed: the order 1 2 3 4 runs
  // along the bottom edge, then along the top edge in the same direction.
  entities_ << "0\nSOLID\n8\n0\n62\n"
            << colourIndex_ << "\n10\n"
            << number(x0) << "\n20\n"
            << number(y0) << "\n30\n0.0\n11\n"
            << number(x1) << "\n21\n"
            << number(y0) << "\n31\n0.0\n12\n"
            << number(x0) << "\n22\n"
            << number(y1) << "\n32\n0.0\n13\n"
            << number(x1) << "\n23\n"
            << number(y1) << "\n33\n0.0\n";
  minX_ = std::min({minX_, x0, x1});
  maxX_ = std::max({maxX_, x0, x1});
  minY_ = std::min({minY_, y0, y1});
  maxY_ = std::max({maxY_, y0, y1});
}

void DxfCanvas::text(float x, float y, std::string_view text, float height, float angleDegrees,
                     TextAlign align) {
  y += pageOffsetY_;
  const int justification = align == TextAlign::Left ? 0 : align == TextAlign::Centre ? 1 : 2;
  entities_ << "0\nTEXT\n8\n0\n62\n"
            << colourIndex_ << "\n10\n"
            << number(x) << "\n20\n"
            << number(y) << "\n30\n0.0\n40\n"
            << number(capHeight(height)) << "\n1\n"
            << dxfText(text) << "\n50\n"
            << number(angleDegrees) << "\n";
  if (justification != 0)
    entities_ << "72\n"
              << justification << "\n11\n"
              << number(x) << "\n21\n"
              << number(y) << "\n31\n0.0\n";
  ++texts_;
}

void DxfCanvas::write(std::ostream& out) const {
  out << "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n9\n$EXTMIN\n10\n"
      << number(minX_) << "\n20\n"
      << number(minY_) << "\n30\n0.0\n9\n$EXTMAX\n10\n"
      << number(maxX_) << "\n20\n"
      << number(maxY_) << "\n30\n0.0\n0\nENDSEC\n";
  out << "0\nSECTION\n2\nTABLES\n"
         "0\nTABLE\n2\nLTYPE\n70\n1\n0\nLTYPE\n2\nCONTINUOUS\n70\n0\n3\nSolid line\n72\n65\n73\n"
         "0\n40\n0.0\n0\nENDTAB\n"
         "0\nTABLE\n2\nLAYER\n70\n1\n0\nLAYER\n2\n0\n70\n0\n62\n7\n6\nCONTINUOUS\n0\nENDTAB\n"
         "0\nTABLE\n2\nSTYLE\n70\n1\n0\nSTYLE\n2\nSTANDARD\n70\n0\n40\n0.0\n41\n1.0\n50\n0.0\n71\n"
         "0\n42\n0.2\n3\ntxt\n4\n\n0\nENDTAB\n"
         "0\nENDSEC\n";
  out << "0\nSECTION\n2\nENTITIES\n" << entities_.str() << "0\nENDSEC\n0\nEOF\n";
}

}  // namespace zeva::present
