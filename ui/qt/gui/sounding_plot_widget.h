#pragma once
// The plot area of the main window: the 10 x 8 page with the data plot on the
// left and the model plot on the right, painted through the pen plotter on a
// QPainter canvas whenever Qt asks (after each command, on resize and
// expose). Mouse positions are handed to the window as page coordinates, and
// mouse buttons to the model editing, which may paint over the plots.

#include <QWidget>
#include <functional>

namespace zeva::ui::qt {

// Page size of the plots, in the plotter's units.
inline constexpr float kPlotPageWidth = 10.0f;
inline constexpr float kPlotPageHeight = 8.0f;

class SoundingPlotWidget : public QWidget {
 public:
  using Painter = std::function<void(QPainter&, QRectF)>;
  using CursorHandler = std::function<void(float pageX, float pageY, bool inside)>;
  // Button press, move and release with the page position of the event.
  struct MouseHandlers {
    std::function<void(QMouseEvent&event, float pageX, float pageY)> press, move, release;
    // Paints over the plots (the rubber line and box), with page positions
    // mapped to the widget.
    std::function<void(QPainter&)> overlay;
  };

  SoundingPlotWidget(Painter painter, CursorHandler cursor, QWidget* parent = nullptr);

  // Page position of a point of the widget (the page is centred with one
  // scale for both axes, as the canvas draws it); false outside the page.
  bool toPage(QPointF device, float& pageX, float& pageY) const;
  // The widget position of a page position.
  QPointF toDevice(float pageX, float pageY) const;
  void setMouseHandlers(MouseHandlers handlers) { mouse_ = std::move(handlers); }
  int paintCount() const { return paints_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  Painter painter_;
  CursorHandler cursor_;
  MouseHandlers mouse_;
  int paints_ = 0;
};

}  // namespace zeva::ui::qt
