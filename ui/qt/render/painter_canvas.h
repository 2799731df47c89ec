#pragma once
// The pen plotter's canvas on any Qt paint device: the screen, a QImage for
// PNG files, QPdfWriter, QPrinter and QSvgGenerator. Page units are mapped
// onto a target rectangle of the device with one scale for both axes, the page
// centred in it; texts are set in DejaVu Sans (proportional) or DejaVu Sans
// Mono (report tables).

#include <QFont>
#include <QPainter>
#include <QRectF>
#include <functional>

#include "present/canvas.h"

namespace zeva::ui::qt {

class PainterCanvas : public present::Canvas {
 public:
  // `target` is the device rectangle the pages are fitted into. `nextSheet`
  // is called before every page after the first (QPdfWriter::newPage,
  // QPrinter::newPage); without it later pages are drawn over the first.
  PainterCanvas(QPainter& painter, QRectF target, std::function<void()> nextSheet = {});

  void beginPage(float width, float height) override;
  void endPage() override;
  void clear(present::Rgb colour) override;
  void setColour(present::Rgb colour) override;
  void setFont(present::TextFont font) override;
  void polyline(std::span<const present::PagePoint> points) override;
  void fillRectangle(present::PagePoint corner, present::PagePoint opposite) override;
  void text(float x, float y, std::string_view text, float height, float angleDegrees,
            present::TextAlign align) override;

  // The face of the proportional texts (the report tables keep theirs);
  // an empty name keeps the default face.
  void setTextFamily(const QString& family);
  // Texts are never set smaller than this many device-independent pixels
  // (the screen's plots: page-sized text would shrink with the window
  // below what can be read).
  void setMinimumTextPixels(double pixels) { minimumTextPixels_ = pixels; }

  int pages() const { return pages_; }
  // Device position of a page point (for tests and mouse mapping).
  QPointF toDevice(float x, float y) const;
  double scale() const { return scale_; }

 private:
  QPainter& painter_;
  QRectF target_;
  std::function<void()> nextSheet_;
  double scale_ = 1.0;
  QPointF pageOrigin_;  // device position of the page's top-left corner
  float pageHeight_ = 0.0f, pageWidth_ = 0.0f;
  QColor colour_ = Qt::black;
  QFont proportional_;
  QFont fixedPitch_;
  present::TextFont font_ = present::TextFont::Proportional;
  int pages_ = 0;
  double minimumTextPixels_ = 0.0;
  bool pageOpen_ = false;
};

}  // namespace zeva::ui::qt
