#include "ui/qt/gui/sounding_plot_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace zeva::ui::qt {

SoundingPlotWidget::SoundingPlotWidget(Painter painter, CursorHandler cursor, QWidget* parent)
    : QWidget(parent), painter_(std::move(painter)), cursor_(std::move(cursor)) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(400, 320);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

bool SoundingPlotWidget::toPage(QPointF device, float& pageX, float& pageY) const {
  const double scale =
      std::min(width() / double(kPlotPageWidth), height() / double(kPlotPageHeight));
  if (scale <= 0.0) return false;
  const double left = (width() - scale * double(kPlotPageWidth)) / 2.0;
  const double top = (height() - scale * double(kPlotPageHeight)) / 2.0;
  pageX = static_cast<float>((device.x() - left) / scale);
  pageY = static_cast<float>(double(kPlotPageHeight) - (device.y() - top) / scale);
  return pageX >= 0.0f && pageX <= kPlotPageWidth && pageY >= 0.0f && pageY <= kPlotPageHeight;
}

QPointF SoundingPlotWidget::toDevice(float pageX, float pageY) const {
  const double scale =
      std::min(width() / double(kPlotPageWidth), height() / double(kPlotPageHeight));
  const double left = (width() - scale * double(kPlotPageWidth)) / 2.0;
  const double top = (height() - scale * double(kPlotPageHeight)) / 2.0;
  return {left + scale * double(pageX), top + scale * double(kPlotPageHeight - pageY)};
}

void SoundingPlotWidget::paintEvent(QPaintEvent*) {
  ++paints_;
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (painter_) painter_(painter, QRectF(rect()));
  if (mouse_.overlay) {
    painter.save();
    mouse_.overlay(painter);
    painter.restore();
  }
}

void SoundingPlotWidget::mouseMoveEvent(QMouseEvent* event) {
  float x = 0.0f, y = 0.0f;
  const bool inside = toPage(event->position(), x, y);
  if (cursor_) cursor_(x, y, inside);
  if (mouse_.move) mouse_.move(*event, x, y);
  QWidget::mouseMoveEvent(event);
}

void SoundingPlotWidget::mousePressEvent(QMouseEvent* event) {
  float x = 0.0f, y = 0.0f;
  toPage(event->position(), x, y);
  if (mouse_.press) mouse_.press(*event, x, y);
}

void SoundingPlotWidget::mouseReleaseEvent(QMouseEvent* event) {
  float x = 0.0f, y = 0.0f;
  toPage(event->position(), x, y);
  if (mouse_.release) mouse_.release(*event, x, y);
}

void SoundingPlotWidget::leaveEvent(QEvent* event) {
  if (cursor_) cursor_(0.0f, 0.0f, false);
  QWidget::leaveEvent(event);
}

}  // namespace zeva::ui::qt
