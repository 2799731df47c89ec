#pragma once
// Mouse editing on the plots of the main window: grabbing a layer's
// resistivity, IP parameter or boundary and dragging it while the synthetic
// curve and the fit follow, the zoom box in zoom mode, and the popup menus of
// layers, boundaries and data points. The arithmetic lives in
// core/program/model_editing.h; this class turns Qt's mouse events into it,
// paints the rubber line and box, and runs the popup commands.

#include <qnamespace.h>

#include <QPoint>
#include <QPointF>
#include <functional>
#include <initializer_list>
#include <optional>

#include "core/program/command_table.h"
#include "core/program/model_editing.h"
#include "core/program/program.h"

class QAction;
class QMenu;
class QMouseEvent;
class QPainter;
class QWidget;

namespace zeva::ui::qt {

class SoundingPlotWidget;

// The popup menus of the plots, numbered as in the menu resource of the
// program's first versions (a menu's object name is "popup" and its number).
enum class PopupMenu : int { Layer = 30003, Boundary = 30008, Point = 30007 };

class ModelDragController {
 public:
  struct Hooks {
    std::function<present::PlotSettings()> plotSettings;
    // The menu entry of a command (the popups show the window's own entries,
    // so that they run as menu commands do).
    std::function<QAction*(core::CommandId id)> action;
    // After a drag or zoom: title, menus, status panes and a repaint.
    std::function<void()> refresh;
    // A left click on a data point (1-based point and component).
    std::function<void(int point, int component)> pointClicked;
    // The properties dialog, opened by a right click in zoom mode away from
    // the model and the data.
    std::function<void()> properties;
  };

  ModelDragController(core::Program& program, SoundingPlotWidget& plots, Hooks hooks);

  // Runs a popup command on the selection the popup was opened for; the
  // selection is cleared afterwards.
  void runPopupCommand(core::CommandId id);

  // How a popup menu is shown: by default it runs modally at the cursor.
  // Tests replace it to pick an entry.
  std::function<void(QMenu& menu, PopupMenu popup, QPoint globalPosition)> showPopup;

  bool dragging() const { return dragging_; }
  bool drawingBox() const { return boxing_; }
  int selectedParameter() const { return selected_.parameter; }
  const core::DataPointHit& selectedPoint() const { return point_; }

 private:
  void press(QMouseEvent& event, float x, float y);
  void move(QMouseEvent& event, float x, float y);
  void release(QMouseEvent& event, float x, float y);
  void paintOverlay(QPainter& painter);
  void applyDrag(float x, float y, long timeMs);
  void trackCursor(float x, float y);
  void showFit();
  void openPopup(PopupMenu popup, std::initializer_list<core::CommandId> entries,
                 QPoint globalPosition);
  void clearSelection();

  core::Program& program_;
  SoundingPlotWidget& plots_;
  Hooks hooks_;
  core::ParameterHit selected_;
  core::DataPointHit point_;
  std::optional<float> pickedDepth_;  // depth under a right click, for a split
  bool pressed_ = false;
  bool dragging_ = false;
  bool moved_ = false;
  bool boxing_ = false;
  Qt::MouseButton button_ = Qt::NoButton;
  QPointF pressPage_, boxEnd_;
  long pressTime_ = 0;
};

}  // namespace zeva::ui::qt
