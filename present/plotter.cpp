#include "present/plotter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zeva::present {

namespace {

// The hue-lightness-saturation to RGB conversion of Foley and van Dam, with
// the hue turned so that 0 is blue.
float hlsComponent(float m1, float m2, float hue) {
  hue = std::fmod(hue + 360.0f, 360.0f);
  if (hue < 60.0f) return m1 + (m2 - m1) * hue / 60.0f;
  if (hue < 180.0f) return m2;
  if (hue < 240.0f) return m1 + (m2 - m1) * (240.0f - hue) / 60.0f;
  return m1;
}

std::uint8_t toByte(float unit) {
  return static_cast<std::uint8_t>(std::lround(std::clamp(unit, 0.0f, 1.0f) * 255.0f));
}

std::array<Rgb, 16> makePalette() {
  struct Hls {
    float hue, lightness, saturation;
  };
  constexpr std::array<Hls, 16> table{{{0, 0, 100},
                                       {300, 50, 100},
                                       {60, 25, 100},
                                       {60, 50, 100},
                                       {0, 50, 100},
                                       {300, 25, 100},
                                       {0, 25, 100},
                                       {240, 25, 100},
                                       {240, 50, 100},
                                       {180, 50, 100},
                                       {180, 25, 100},
                                       {120, 50, 100},
                                       {120, 25, 100},
                                       {0, 33, 0},
                                       {0, 75, 0},  // not redefined: the toolkit's light grey
                                       {0, 100, 0}}};
  std::array<Rgb, 16> colours{};
  for (std::size_t i = 0; i < table.size(); ++i)
    colours[i] = hlsFromBlue(table[i].hue, table[i].lightness, table[i].saturation);
  return colours;
}

// True when b lies on the straight continuation of a -> ... -> b from `prev`,
// so that the pen path can skip `prev`'s successor.
bool continuesStraight(PagePoint a, PagePoint b, PagePoint c) {
  const float ux = b.x - a.x, uy = b.y - a.y;
  const float vx = c.x - b.x, vy = c.y - b.y;
  const float cross = ux * vy - uy * vx;
  const float dot = ux * vx + uy * vy;
  const float scale = std::hypot(ux, uy) * std::hypot(vx, vy);
  return dot > 0.0f && std::fabs(cross) <= 1e-6f * scale;
}

}  // namespace

Rgb hlsFromBlue(float hueDegrees, float lightnessPercent, float saturationPercent) {
  const float l = lightnessPercent / 100.0f;
  const float s = saturationPercent / 100.0f;
  // Hue from blue to the usual hue from red: blue sits at 240 there.
  const float hue = hueDegrees + 240.0f;
  if (s <= 0.0f) return {toByte(l), toByte(l), toByte(l)};
  const float m2 = l <= 0.5f ? l * (1.0f + s) : l + s - l * s;
  const float m1 = 2.0f * l - m2;
  return {toByte(hlsComponent(m1, m2, hue + 120.0f)), toByte(hlsComponent(m1, m2, hue)),
          toByte(hlsComponent(m1, m2, hue - 120.0f))};
}

const std::array<Rgb, 16>& palette() {
  static const std::array<Rgb, 16> colours = makePalette();
  return colours;
}

float TextWidth(float height, std::string_view text, int count) {
  const int n = std::clamp(count, 0, static_cast<int>(text.size()));
  return 0.43f * height * static_cast<float>(n);
}

std::string FormatNumber(float value, int decimals) {
  const int places = std::clamp(decimals, 0, 9);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", places, static_cast<double>(value));
  std::string text(buffer);
  // A value that rounds to zero is written without a sign.
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

int LabelDecimals(float value) {
  const float magnitude = std::fabs(value);
  if (magnitude == std::trunc(magnitude + 1e-5f)) return -1;
  if (magnitude >= 100.0f) return 0;
  if (magnitude >= 10.0f) return 1;
  if (magnitude >= 1.0f) return 2;
  return 3;
}

Plotter::~Plotter() {
  if (open_) close();
}

void Plotter::startPage(float width, float height, bool clearToWhite, TextFont font) {
  if (pageStarted_) {
    flushPath();
    canvas_.endPage();
  }
  canvas_.beginPage(width, height);
  pageStarted_ = true;
  open_ = true;
  originX_ = originY_ = 0.0f;
  scaleX_ = scaleY_ = 1.0f;
  offsetX_ = offsetY_ = 0.0f;
  suppressed_ = false;
  textScaling_ = false;
  last_ = {};
  if (clearToWhite) canvas_.clear(palette()[colour::kWhite]);
  setFont(font);
  canvas_.setColour(palette()[colour_]);
}

void Plotter::close() {
  flushPath();
  if (pageStarted_) canvas_.endPage();
  pageStarted_ = false;
  open_ = false;
}

bool Plotter::Plot(float x, float y, int pen) {
  const int code = std::abs(pen);
  if (code == 1 || code == 16) {
    startPage(kPlotPageWidth, kPlotPageHeight, x > 0.0f, TextFont::Proportional);
    return true;
  }
  if (!open_) {
    ++refusedCalls_;
    return false;
  }
  const PagePoint to{(x + originX_) * scaleX_ + offsetX_, (y + originY_) * scaleY_ + offsetY_};
  if (code == kPenDown) {
    if (path_.empty()) {
      path_.push_back(last_);
    } else if (path_.size() >= 2 && continuesStraight(path_[path_.size() - 2], path_.back(), to)) {
      path_.pop_back();
    }
    path_.push_back(to);
  } else {
    flushPath();
  }
  last_ = to;
  if (pen < 0) {
    originX_ += x;
    originY_ += y;
  }
  return true;
}

void Plotter::flushPath() {
  if (path_.size() >= 2) canvas_.polyline(path_);
  path_.clear();
}

void Plotter::NewPen(int colour) {
  if (colour < 0 || colour > 15) return;
  if (colour == colour_) return;
  flushPath();
  colour_ = colour;
  if (open_) canvas_.setColour(palette()[colour_]);
}

void Plotter::setFont(TextFont font) {
  font_ = font;
  if (open_) canvas_.setFont(font);
}

void Plotter::setTextScaling(bool on, float fx, float fy) {
  textFactorX_ = fx;
  textFactorY_ = fy;
  textScaling_ = on && fx > 0.0f && fy > 0.0f;
}

void Plotter::text(float x, float y, float height, std::string_view text, float angle, int count,
                   TextAlign align) {
  if (suppressed_ || !open_ || count <= 0 || text.empty()) return;
  flushPath();
  const std::string_view shown = text.substr(0, std::min<std::size_t>(count, text.size()));
  float px = (x + originX_) * scaleX_ + offsetX_, py = (y + originY_) * scaleY_ + offsetY_;
  float size = height;
  if (textScaling_) {
    px = (x + originX_) * textFactorX_ + offsetX_;
    py = (y + originY_) * textFactorY_ + offsetY_;
    size = height * std::sqrt(textFactorX_ * textFactorY_);
  }
  canvas_.text(px, py, shown, size, angle, align);
}

void Plotter::SymbolCentred(float x, float y, float height, std::string_view text, float angle,
                            int count) {
  this->text(x, y, height, text, angle, count, TextAlign::Centre);
}

void Plotter::SymbolRight(float x, float y, float height, std::string_view text, float angle,
                          int count) {
  this->text(x, y, height, text, angle, count, TextAlign::Right);
}

void Plotter::SymbolLeft(float x, float y, float height, std::string_view text, float angle,
                         int count) {
  this->text(x, y, height, text, angle, count, TextAlign::Left);
}

void Plotter::NumberLeft(float x, float y, float height, float value, float angle, int decimals) {
  const std::string number = FormatNumber(value, decimals);
  std::string_view shown = number;
  if (decimals < 0 && !shown.empty() && shown.back() == '.') shown.remove_suffix(1);
  this->text(x, y, height, shown, angle, static_cast<int>(shown.size()), TextAlign::Left);
}

}  // namespace zeva::present
