#include "ui/qt/render/painter_canvas.h"

#include <QFontMetricsF>
#include <QPolygonF>
#include <algorithm>

namespace zeva::ui::qt {

namespace {

// Texts are laid out at this pixel size and scaled to their nominal height,
// so that fractional sizes and their metrics stay exact on every device.
constexpr int kLayoutPixels = 100;

QColor toQColor(present::Rgb c) { return QColor(c.red, c.green, c.blue); }

}  // namespace

PainterCanvas::PainterCanvas(QPainter& painter, QRectF target, std::function<void()> nextSheet)
    : painter_(painter), target_(target), nextSheet_(std::move(nextSheet)) {
  proportional_ = QFont(QStringLiteral("DejaVu Sans"));
  proportional_.setStyleHint(QFont::SansSerif);
  proportional_.setStretch(QFont::SemiCondensed);
  proportional_.setPixelSize(kLayoutPixels);
  fixedPitch_ = QFont(QStringLiteral("DejaVu Sans Mono"));
  fixedPitch_.setStyleHint(QFont::Monospace);
  fixedPitch_.setFixedPitch(true);
  fixedPitch_.setPixelSize(kLayoutPixels);
  painter_.setRenderHint(QPainter::Antialiasing, true);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
}

void PainterCanvas::setTextFamily(const QString& family) {
  if (!family.isEmpty()) proportional_.setFamily(family);
}

void PainterCanvas::beginPage(float width, float height) {
  if (pages_ > 0 && nextSheet_) nextSheet_();
  ++pages_;
  pageOpen_ = true;
  pageWidth_ = width;
  pageHeight_ = height;
  scale_ = std::min(target_.width() / static_cast<double>(width),
                    target_.height() / static_cast<double>(height));
  pageOrigin_ =
      QPointF(target_.left() + (target_.width() - scale_ * static_cast<double>(width)) / 2.0,
              target_.top() + (target_.height() - scale_ * static_cast<double>(height)) / 2.0);
}

void PainterCanvas::endPage() { pageOpen_ = false; }

QPointF PainterCanvas::toDevice(float x, float y) const {
  return {pageOrigin_.x() + scale_ * static_cast<double>(x),
          pageOrigin_.y() + scale_ * static_cast<double>(pageHeight_ - y)};
}

void PainterCanvas::clear(present::Rgb colour) { painter_.fillRect(target_, toQColor(colour)); }

void PainterCanvas::setColour(present::Rgb colour) { colour_ = toQColor(colour); }

void PainterCanvas::setFont(present::TextFont font) { font_ = font; }

void PainterCanvas::polyline(std::span<const present::PagePoint> points) {
  QPolygonF polygon;
  polygon.reserve(static_cast<qsizetype>(points.size()));
  for (const present::PagePoint& p : points) polygon << toDevice(p.x, p.y);
  // About a hundredth of a page unit, never thinner than one device pixel.
  QPen pen(colour_, std::max(1.0, 0.009 * scale_));
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  painter_.setPen(pen);
  painter_.drawPolyline(polygon);
}

void PainterCanvas::fillRectangle(present::PagePoint corner, present::PagePoint opposite) {
  const QRectF rectangle =
      QRectF(toDevice(corner.x, corner.y), toDevice(opposite.x, opposite.y)).normalized();
  // Without antialiasing the edges fall on whole pixels, so that cells side
  // by side meet without a pale seam between them.
  painter_.save();
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.fillRect(rectangle, colour_);
  painter_.restore();
}

void PainterCanvas::text(float x, float y, std::string_view text, float height, float angleDegrees,
                         present::TextAlign align) {
  const QString string = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  const QFont& font = font_ == present::TextFont::FixedPitch ? fixedPitch_ : proportional_;
  const QFontMetricsF metrics(font, painter_.device());
  const double advance = metrics.horizontalAdvance(string);
  double left = 0.0;
  if (align == present::TextAlign::Centre) left = -advance / 2.0;
  if (align == present::TextAlign::Right) left = -advance;
  const double em = std::max(static_cast<double>(present::kEmPerNominalHeight * height) * scale_,
                             height > 0.0f ? minimumTextPixels_ : 0.0);

  painter_.save();
  painter_.translate(toDevice(x, y));
  painter_.rotate(-angleDegrees);
  painter_.scale(em / kLayoutPixels, em / kLayoutPixels);
  painter_.setFont(font);
  painter_.setPen(colour_);
  painter_.drawText(QPointF(left, 0.0), string);
  painter_.restore();
}

}  // namespace zeva::ui::qt
