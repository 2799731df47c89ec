#include "present/graph_frame_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

namespace zeva::present {

namespace {

using core::isSet;

// Numbers on the axes are set at 1.3 label heights; the "10" of a power label
// at one label height with its exponent at three quarters of it.
constexpr float kNumberSize = 1.3f;
constexpr float kExponentSize = 0.75f;
// Inward shift of the first and last decade labels, in label heights.
constexpr float kEndLabelShift = 0.9375f;
// Gap between a tick's end and its label, in label heights.
constexpr float kLabelGap = 0.3f;
// The second stroke of a heavy line is displaced by this much.
constexpr float kHeavyOffset = 0.01f;
// Least clear space between two neighbouring labels of one axis, as a
// fraction of the label's nominal size (about two thirds of a digit): the estimated
// text widths are close to, not exactly, the widths the fonts draw, and
// labels closer than this read as one number.
constexpr float kLabelClearance = 0.3f;

float capHeight(float nominal) { return kEmPerNominalHeight * kCapHeightPerEm * nominal; }

// Where labels go and how far they reach; frame-relative page units.
struct LabelSide {
  enum Kind { Below, Left, Right } kind;
};

class FramePainter {
 public:
  FramePainter(Plotter& plotter, GraphFrame& frame, float labelHeight, float bottomLabelsFrom)
      : p_(plotter), f_(frame), h_(labelHeight), bottomLabelsFrom_(bottomLabelsFrom) {
    width_ = frameWidth(frame);
    height_ = frameHeight(frame);
    left_ = frameLeft(frame);
    bottom_ = frameBottom(frame);
    heavy_ = !((width_ <= 12.0f && height_ <= 7.0f) || isSet(frame.thinLines));
    extentLeft_ = frame.extentLeft;
    extentRight_ = frame.extentRight;
    extentBottom_ = frame.extentBottom;
  }

  void draw() {
    tick_ = tickLength();
    drawVerticals();
    drawHorizontals();
    if (isSet(f_.labelsBelowX)) labelAxis(LabelSide::Below);
    if (isSet(f_.labelsLeftOfY)) labelAxis(LabelSide::Left);
    if (isSet(f_.labelsRightOfY)) labelAxis(LabelSide::Right);
    f_.extentLeft = extentLeft_;
    f_.extentRight = extentRight_;
    f_.extentBottom = extentBottom_;
  }

 private:
  float tickLength() const {
    float t = 0.035f * std::sqrt(width_ * height_);
    if (isSet(f_.capTicks)) t = std::min(t, f_.tickCap);
    if (isSet(f_.labelsBelowX)) t = std::min(t, 0.2f * std::fabs(f_.xCycleLength));
    t = std::min(t, 0.2f * std::fabs(f_.yCycleLength));
    if (t < 0.1f) t = 0.12f;
    return t;
  }

  void line(float x0, float y0, float x1, float y1) {
    p_.Plot(x0, y0, kPenUp);
    p_.Plot(x1, y1, kPenDown);
    if (!heavy_) return;
    // Heavy lines: the same stroke again, displaced across its direction.
    const bool vertical = std::fabs(x1 - x0) < std::fabs(y1 - y0);
    const float dx = vertical ? kHeavyOffset : 0.0f, dy = vertical ? 0.0f : kHeavyOffset;
    p_.Plot(x0 + dx, y0 + dy, kPenUp);
    p_.Plot(x1 + dx, y1 + dy, kPenDown);
  }

  void drawVerticals() {
    const int n = std::abs(f_.xCycles);
    const float top = bottom_ + height_;
    for (int i = 0; i <= n; ++i) {
      const float x = static_cast<float>(i) * f_.xCycleLength;
      if (i == 0 || i == n)
        line(x, bottom_, x, top);
      else
        line(x, top, x, top - tick_);
    }
  }

  void drawHorizontals() {
    const int n = std::abs(f_.yCycles);
    const float right = left_ + width_;
    for (int i = 0; i <= n; ++i) {
      const float y = static_cast<float>(i) * f_.yCycleLength;
      if (i == 0 || i == n)
        line(left_, y, right, y);
      else if (f_.yCycles > 0)
        line(right, y, right - tick_, y);
    }
  }

  // Axis along which the side's labels run.
  struct Axis {
    int cycles;
    float length;
    float start, step;
    int exponentOrDivisions;
  };

  Axis axisOf(LabelSide::Kind kind) const {
    if (kind == LabelSide::Below)
      return {std::abs(f_.xCycles), f_.xCycleLength, f_.xStart, f_.xStep, f_.xExponentOrDivisions};
    return {std::abs(f_.yCycles), f_.yCycleLength, f_.yStart, f_.yStep, f_.yExponentOrDivisions};
  }

  // A tick of length `length` outward from the labelled edge at position s
  // along the axis.
  void outwardTick(LabelSide::Kind kind, float s, float length) {
    switch (kind) {
      case LabelSide::Below:
        p_.Plot(s, bottom_, kPenUp);
        p_.Plot(s, bottom_ - length, kPenDown);
        break;
      case LabelSide::Left:
        p_.Plot(left_, s, kPenUp);
        p_.Plot(left_ - length, s, kPenDown);
        break;
      case LabelSide::Right:
        p_.Plot(left_ + width_, s, kPenUp);
        p_.Plot(left_ + width_ + length, s, kPenDown);
        break;
    }
  }

  // Writes a label at position s along the axis: `text` at nominal size
  // `size`, optionally followed by a raised exponent at `exponentSize`. A label
  // that would come within the clearance of the last label drawn on this axis
  // is left out, so that crowded labels never run together whatever thinning
  // the axis rules already did.
  void label(LabelSide::Kind kind, float s, const std::string& text, float size,
             const std::string& exponent = {}, float exponentSize = 0.0f) {
    const float mainWidth = TextWidth(size, text);
    const float totalWidth = mainWidth + TextWidth(exponentSize, exponent);
    const float gap = tick_ + kLabelGap * h_;
    float x = 0.0f, baseline = 0.0f;  // left end of the whole label
    // Reach of the label along its axis: its width below the frame, from the
    // baseline to the top of the (raised) text beside it.
    Span span;
    if (kind == LabelSide::Below) {
      x = s - totalWidth / 2.0f;
      span = {x, x + totalWidth};
    } else {
      baseline = s - capHeight(size) / 2.0f;
      const float top =
          exponent.empty() ? capHeight(size) : 0.6f * capHeight(size) + capHeight(exponentSize);
      span = {baseline, baseline + top};
    }
    if (kind == LabelSide::Below && x < bottomLabelsFrom_) return;
    const float clearance = kLabelClearance * size;
    if (lastLabel_ && span.low < lastLabel_->high + clearance &&
        lastLabel_->low < span.high + clearance)
      return;
    lastLabel_ = span;
    switch (kind) {
      case LabelSide::Below:
        baseline = bottom_ - gap - capHeight(size);
        extentBottom_ = std::min(extentBottom_, baseline - 0.15f * size);
        extentLeft_ = std::min(extentLeft_, x);
        extentRight_ = std::max(extentRight_, x + totalWidth);
        break;
      case LabelSide::Left:
        x = left_ - gap - totalWidth;
        extentLeft_ = std::min(extentLeft_, x);
        extentBottom_ = std::min(extentBottom_, baseline);
        break;
      case LabelSide::Right:
        x = left_ + width_ + gap;
        extentRight_ = std::max(extentRight_, x + totalWidth);
        extentBottom_ = std::min(extentBottom_, baseline);
        break;
    }
    p_.SymbolLeft(x, baseline, size, text, 0.0f, static_cast<int>(text.size()));
    if (!exponent.empty())
      p_.SymbolLeft(x + mainWidth, baseline + 0.6f * capHeight(size), exponentSize, exponent, 0.0f,
                    static_cast<int>(exponent.size()));
  }

  void labelAxis(LabelSide::Kind kind) {
    const Axis axis = axisOf(kind);
    lastLabel_.reset();
    if (axis.step == 0.0f)
      logarithmicLabels(kind, axis);
    else
      linearLabels(kind, axis);
  }

  void logarithmicLabels(LabelSide::Kind kind, const Axis& axis) {
    const float direction = axis.length < 0.0f ? -1.0f : 1.0f;
    for (int i = 1; i <= axis.cycles + 1; ++i) {
      const int e = axis.exponentOrDivisions + i - 1;
      float s = static_cast<float>(i - 1) * axis.length;
      outwardTick(kind, s, tick_);
      if (i <= axis.cycles)
        for (int k = 2; k <= 9; ++k)
          outwardTick(kind, s + std::log10(static_cast<float>(k)) * axis.length, tick_ / 2.0f);
      if (e < -3 || e > 3) {
        label(kind, s, "10", h_, std::to_string(e), kExponentSize * h_);
        continue;
      }
      const float value = std::pow(10.0f, static_cast<float>(e));
      const int decimals = e < 0 ? -e : LabelDecimals(value);
      if (i == 1) s += kEndLabelShift * h_ * direction;
      if (i == axis.cycles + 1) s -= kEndLabelShift * h_ * direction;
      label(kind, s, FormatNumber(value, decimals), kNumberSize * h_);
    }
  }

  void linearLabels(LabelSide::Kind kind, const Axis& axis) {
    const bool geometric = axis.exponentOrDivisions <= 0;
    const int divisions = axis.exponentOrDivisions;
    const float size = kNumberSize * h_;
    auto valueAt = [&](int i) {
      return geometric ? axis.start * std::pow(axis.step, static_cast<float>(i - 1))
                       : axis.start + static_cast<float>(i - 1) * axis.step;
    };
    auto textAt = [&](int i) {
      const float value = valueAt(i);
      int decimals = LabelDecimals(value);
      if (!geometric && axis.start != 0.0f && std::fabs(axis.step / axis.start) < 100.0f)
        ++decimals;
      return LinearLabel(value, decimals);
    };
    // First pass: the widest label decides how many boundaries to skip so that
    // labels do not run into each other (along y the label height counts).
    int every = 1;
    if (geometric && axis.cycles > 9) every = 2;
    float widest = 0.0f;
    for (int i = 1; i <= axis.cycles + 1; ++i)
      widest = std::max(
          widest, kind == LabelSide::Below ? TextWidth(size, textAt(i)) : 1.5f * capHeight(size));
    const float cycle = std::fabs(axis.length);
    if (cycle > 0.0f && widest > cycle)
      every = std::max(every, static_cast<int>(widest / cycle) + 1);

    for (int i = 1; i <= axis.cycles + 1; ++i) {
      const float s = static_cast<float>(i - 1) * axis.length;
      outwardTick(kind, s, tick_);
      if (!geometric && i <= axis.cycles)
        for (int j = 1; j < divisions; ++j)
          outwardTick(kind, s + axis.length * static_cast<float>(j) / static_cast<float>(divisions),
                      tick_ / 2.0f);
      if ((i - 1) % every == 0) label(kind, s, textAt(i), size);
    }
  }

  // An interval along an axis, in frame units.
  struct Span {
    float low = 0.0f, high = 0.0f;
  };

  Plotter& p_;
  GraphFrame& f_;
  float h_;
  float bottomLabelsFrom_;
  float width_ = 0.0f, height_ = 0.0f, left_ = 0.0f, bottom_ = 0.0f;
  float tick_ = 0.0f;
  bool heavy_ = false;
  float extentLeft_, extentRight_, extentBottom_;
  std::optional<Span> lastLabel_;  // the last label drawn on the axis being labelled
};

}  // namespace

float frameWidth(const GraphFrame& frame) {
  return static_cast<float>(std::abs(frame.xCycles)) * std::fabs(frame.xCycleLength);
}
float frameHeight(const GraphFrame& frame) {
  return static_cast<float>(std::abs(frame.yCycles)) * std::fabs(frame.yCycleLength);
}
float frameLeft(const GraphFrame& frame) {
  return frame.xCycleLength < 0.0f
             ? static_cast<float>(std::abs(frame.xCycles)) * frame.xCycleLength
             : 0.0f;
}
float frameBottom(const GraphFrame& frame) {
  return frame.yCycleLength < 0.0f
             ? static_cast<float>(std::abs(frame.yCycles)) * frame.yCycleLength
             : 0.0f;
}

void DrawGraphFrame(Plotter& plotter, GraphFrame& frame, float labelHeight,
                    float bottomLabelsFrom) {
  const float w = frameWidth(frame), h = frameHeight(frame);
  if (!(w * h > 0.0f)) return;
  FramePainter(plotter, frame, labelHeight, bottomLabelsFrom).draw();
}

void SetAxisMapping(GraphFrame& frame) {
  auto map = [](float length, float start, float step, int exponent, float& slope, float& offset) {
    if (step != 0.0f) {
      slope = length / step;
      offset = -start * slope;
    } else {
      slope = 1.0f;
      offset = -static_cast<float>(exponent) * length;
    }
  };
  map(frame.xCycleLength, frame.xStart, frame.xStep, frame.xExponentOrDivisions, frame.xSlope,
      frame.xOffset);
  map(frame.yCycleLength, frame.yStart, frame.yStep, frame.yExponentOrDivisions, frame.ySlope,
      frame.yOffset);
  frame.xLogarithmic = core::logical(frame.xStep == 0.0f);
  frame.yLogarithmic = core::logical(frame.yStep == 0.0f);

  const float xReach = static_cast<float>(std::abs(frame.xCycles)) * frame.xCycleLength;
  if (frame.xCycleLength < 0.0f) {
    frame.clipXMin = xReach + 0.001f - 0.102f;
    frame.clipXMax = -0.051f;
  } else {
    frame.clipXMin = -0.001f;
    frame.clipXMax = xReach + 0.001f;
  }
  const float yReach = static_cast<float>(std::abs(frame.yCycles)) * frame.yCycleLength;
  if (frame.yCycleLength < 0.0f) {
    frame.clipYMin = yReach - 0.001f;
    frame.clipYMax = 0.001f;
  } else {
    frame.clipYMin = -0.001f;
    frame.clipYMax = yReach + 0.001f;
  }
}

namespace {
float pageOf(float value, float length, float step, float slope, float offset) {
  if (isMissing(value)) return 0.0f;
  if (step != 0.0f) return slope * value + offset;
  const float decades = std::log10(std::fabs(value) + 1e-20f);
  return slope > 0.0f ? decades * length * slope + offset : decades * length + offset;
}
float valueOf(float page, float length, float step, float slope, float offset) {
  if (step != 0.0f) return slope != 0.0f ? (page - offset) / slope : 0.0f;
  const float scale = slope > 0.0f ? length * slope : length;
  return scale != 0.0f ? std::pow(10.0f, (page - offset) / scale) : 0.0f;
}
}  // namespace

float PageX(float value, const GraphFrame& frame) {
  return pageOf(value, frame.xCycleLength, frame.xStep, frame.xSlope, frame.xOffset);
}
float PageY(float value, const GraphFrame& frame) {
  return pageOf(value, frame.yCycleLength, frame.yStep, frame.ySlope, frame.yOffset);
}
float ValueX(float page, const GraphFrame& frame) {
  return valueOf(page, frame.xCycleLength, frame.xStep, frame.xSlope, frame.xOffset);
}
float ValueY(float page, const GraphFrame& frame) {
  return valueOf(page, frame.yCycleLength, frame.yStep, frame.ySlope, frame.yOffset);
}

std::string LinearLabel(float value, int decimals) {
  std::string suffix;
  if (value != 0.0f && std::fabs(value) < 0.01f) {
    value *= 1000.0f;
    suffix = "m";
  }
  std::string text = FormatNumber(value, decimals);
  if (text.find('.') != std::string::npos) {
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
  }
  if (text == "-0") text = "0";
  return text + suffix;
}

}  // namespace zeva::present
