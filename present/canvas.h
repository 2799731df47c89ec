#pragma once
// The drawing surface under the pen plotter: straight lines, filled
// rectangles and texts in page
// units (x to the right, y upwards from the bottom of the page), one colour at a
// time. The screen, PNG, PDF, SVG and printer canvases of the desktop program,
// the DXF writer and the recording canvas of the tests all implement it, so
// every picture is composed once and rendered anywhere.

#include <cstdint>
#include <span>
#include <string_view>

namespace zeva::present {

struct Rgb {
  std::uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const Rgb&) const = default;
};

struct PagePoint {
  float x = 0.0f, y = 0.0f;
};

// Horizontal placement of a text relative to its reference point; the
// reference point is always on the baseline.
enum class TextAlign { Left, Centre, Right };

// Proportional text for plots, fixed pitch for report tables whose columns
// must line up.
enum class TextFont { Proportional, FixedPitch };

// A text of nominal height h (page units) is set in a font whose em is
// kEmPerNominalHeight x h: its digits are then about 0.43 h wide, the width
// the plotter assumes when it places labels and measures extents.
inline constexpr float kEmPerNominalHeight = 0.8f;
// Cap height of the fonts used, as a fraction of the em; used to centre texts
// vertically on a point.
inline constexpr float kCapHeightPerEm = 0.72f;

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Starts a page of the given size in page units; a canvas that holds one
  // picture only (an image, an SVG or DXF file) draws every page over the same
  // surface, scaled to fit it.
  virtual void beginPage(float width, float height) = 0;
  // Ends the current page (a printer or PDF moves to a new sheet at the next
  // beginPage).
  virtual void endPage() = 0;
  // Fills the whole page with one colour.
  virtual void clear(Rgb colour) = 0;
  virtual void setColour(Rgb colour) = 0;
  virtual void setFont(TextFont font) = 0;
  // A connected line through the points (at least two).
  virtual void polyline(std::span<const PagePoint> points) = 0;
  // Fills the axis-parallel rectangle between two opposite corners in the
  // current colour, without an outline (the cells of a section).
  virtual void fillRectangle(PagePoint corner, PagePoint opposite) = 0;
  // A text with its reference point at (x, y), nominal height `height` and
  // rotated anticlockwise by `angleDegrees` about the reference point.
  virtual void text(float x, float y, std::string_view text, float height, float angleDegrees,
                    TextAlign align) = 0;
};

}  // namespace zeva::present
