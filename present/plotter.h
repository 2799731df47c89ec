#pragma once
// The pen plotter every picture is composed with, in the manner of the classic
// Calcomp calls: move or draw the pen to a point in page units, change the pen
// colour, write a text or a number. Its state (origin, scale, last point,
// colour, text scaling, suppression) belongs to one Plotter object that the
// caller owns; there is no global plotting state.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "present/canvas.h"

namespace zeva::present {

// Pen codes of Plot: 3 moves, 2 draws, a negative pen also makes the reached
// point the new origin, 1 (or 16) starts a new 10 x 8 page.
inline constexpr int kPenUp = 3;
inline constexpr int kPenDown = 2;
inline constexpr int kNewPage = 1;

inline constexpr float kPlotPageWidth = 10.0f;
inline constexpr float kPlotPageHeight = 8.0f;

// Palette indices used by name.
namespace colour {
inline constexpr int kBlack = 0, kCyan = 1, kDarkMagenta = 2, kMagenta = 3, kBlue = 4,
                     kDarkCyan = 5, kDarkBlue = 6, kDarkGreen = 7, kGreen = 8, kYellow = 9,
                     kDarkYellow = 10, kRed = 11, kDarkRed = 12, kGrey = 13, kLightGrey = 14,
                     kWhite = 15;
}

// Red, green and blue of a hue-lightness-saturation colour whose hue is
// measured from blue (0 blue, 60 magenta, 120 red, 180 yellow, 240 green, 300
// cyan); lightness and saturation in percent.
Rgb hlsFromBlue(float hueDegrees, float lightnessPercent, float saturationPercent);

// The 16 pen colours.
const std::array<Rgb, 16>& palette();

// Estimated width of `count` characters of a text of nominal height `height`.
float TextWidth(float height, std::string_view text, int count);
inline float TextWidth(float height, std::string_view text) {
  return TextWidth(height, text, static_cast<int>(text.size()));
}

// The value in F-format with `decimals` decimals (clamped to 0..9), without
// leading blanks; negative decimals give the integer form without a point.
std::string FormatNumber(float value, int decimals);

// Decimals of an axis label: -1 (integer form) for 0 and whole values, 0 from
// 100 up, 1 from 10, 2 from 1, 3 below 1 (by magnitude).
int LabelDecimals(float value);

class Plotter {
 public:
  explicit Plotter(Canvas& canvas) : canvas_(canvas) {}
  ~Plotter();
  Plotter(const Plotter&) = delete;
  Plotter& operator=(const Plotter&) = delete;

  // Moves (pen 3) or draws (pen 2) to (x, y) relative to the origin; a negative
  // pen then makes the reached point the origin. Pen 1 or 16 starts a 10 x 8
  // page, cleared to white when x > 0. Returns false, drawing nothing, when a
  // drawing pen is used after plotting was closed.
  bool Plot(float x, float y, int pen);
  // Starts a page of other units (the report pages are 7.5 x 12); resets the
  // origin, scale, suppression and text scaling and selects `font`.
  void startPage(float width, float height, bool clearToWhite, TextFont font);
  // Ends the picture: the page goes to the canvas and drawing pens fail until
  // the next page.
  void close();

  // Selects palette index 0..15; other values are ignored.
  void NewPen(int colour);
  int pen() const { return colour_; }

  // Texts at (x, y) relative to the origin, `count` characters of `text`
  // (nothing when count is not positive), rotated by `angle` degrees.
  void SymbolCentred(float x, float y, float height, std::string_view text, float angle, int count);
  void SymbolRight(float x, float y, float height, std::string_view text, float angle, int count);
  void SymbolLeft(float x, float y, float height, std::string_view text, float angle, int count);
  void NumberLeft(float x, float y, float height, float value, float angle, int decimals);

  // Text scaling: positions multiplied by fx, fy and sizes by sqrt(fx fy);
  // a factor that is not positive switches it off.
  void setTextScaling(bool on, float fx, float fy);
  bool textScaling() const { return textScaling_; }
  // While suppressed the text routines draw nothing.
  void setSuppressed(bool suppressed) { suppressed_ = suppressed; }
  bool suppressed() const { return suppressed_; }
  void setFont(TextFont font);

  float originX() const { return originX_; }
  float originY() const { return originY_; }
  // Sets the origin directly (absolute page units before scaling).
  void setOrigin(float x, float y) { originX_ = x, originY_ = y; }
  void setScale(float sx, float sy) { scaleX_ = sx, scaleY_ = sy; }
  // Shifts everything drawn by (dx, dy) page units after scaling: places a
  // scaled picture on a larger page.
  void setPageOffset(float dx, float dy) { offsetX_ = dx, offsetY_ = dy; }
  int refusedCalls() const { return refusedCalls_; }
  bool open() const { return open_; }

 private:
  void text(float x, float y, float height, std::string_view text, float angle, int count,
            TextAlign align);
  void flushPath();

  Canvas& canvas_;
  float originX_ = 0.0f, originY_ = 0.0f;
  float scaleX_ = 1.0f, scaleY_ = 1.0f;
  float offsetX_ = 0.0f, offsetY_ = 0.0f;
  PagePoint last_;
  int colour_ = 0;
  bool textScaling_ = false;
  float textFactorX_ = 1.0f, textFactorY_ = 1.0f;
  bool suppressed_ = false;
  bool open_ = false;
  bool pageStarted_ = false;
  int refusedCalls_ = 0;
  TextFont font_ = TextFont::Proportional;
  std::vector<PagePoint> path_;  // pen-down points not yet handed to the canvas
};

}  // namespace zeva::present
