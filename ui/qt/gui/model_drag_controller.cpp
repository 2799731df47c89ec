#include "ui/qt/gui/model_drag_controller.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <cmath>

#include "inversion/layered_inversion.h"
#include "present/graph_frame_drawing.h"
#include "ui/qt/gui/sounding_plot_widget.h"

namespace zeva::ui::qt {

namespace {

long timeOf(const QMouseEvent& event) { return static_cast<long>(event.timestamp()); }

}  // namespace

ModelDragController::ModelDragController(core::Program& program, SoundingPlotWidget& plots,
                                         Hooks hooks)
    : program_(program), plots_(plots), hooks_(std::move(hooks)) {
  showPopup = [](QMenu& menu, PopupMenu, QPoint at) { menu.exec(at); };
  plots_.setMouseHandlers({
      [this](QMouseEvent& e, float x, float y) { press(e, x, y); },
      [this](QMouseEvent& e, float x, float y) { move(e, x, y); },
      [this](QMouseEvent& e, float x, float y) { release(e, x, y); },
      [this](QPainter& painter) { paintOverlay(painter); },
  });
}

void ModelDragController::clearSelection() {
  selected_ = {};
  point_ = {};
  pickedDepth_.reset();
}

void ModelDragController::press(QMouseEvent& event, float x, float y) {
  // A second button during a drag is ignored; a press whose release was
  // lost (the window lost the mouse) starts afresh.
  if (pressed_ && (event.buttons() & button_)) return;
  dragging_ = boxing_ = false;
  pressed_ = true;
  moved_ = false;
  button_ = event.button();
  pressPage_ = QPointF(x, y);
  boxEnd_ = pressPage_;
  pressTime_ = timeOf(event);
  core::CurrentSounding& current = program_.current();
  const bool layeredShown = program_.view().showLayered;
  selected_ = layeredShown ? core::hitParameter(current, x, y) : core::ParameterHit{};
  point_ = core::hitDataPoint(current, hooks_.plotSettings(), x, y);
  if (button_ != Qt::LeftButton) return;
  if (selected_.parameter > 0) {
    dragging_ = true;
  } else if (program_.view().zoom && core::graphAt(current, x, y).graph >= 0) {
    boxing_ = true;
  }
}

void ModelDragController::move(QMouseEvent& event, float x, float y) {
  if (!pressed_) {
    trackCursor(x, y);
    return;
  }
  if (QPointF(x, y) != pressPage_) moved_ = true;
  if (dragging_) {
    applyDrag(x, y, timeOf(event));
  } else if (boxing_) {
    boxEnd_ = QPointF(x, y);
    program_.layers().trace(core::rubberBoxTrace(static_cast<float>(pressPage_.x()),
                                                 static_cast<float>(pressPage_.y()), x, y,
                                                 timeOf(event)));
    plots_.update();
  }
}

void ModelDragController::applyDrag(float x, float y, long timeMs) {
  core::CurrentSounding& current = program_.current();
  const core::GraphFrame* frame = core::frameOf(current, selected_.plot);
  if (!frame) return;
  const int k = selected_.parameter;
  if (!core::dragParameter(current.S, *frame, selected_.plot, k, x, y)) return;
  program_.layers().trace(
      core::rubberModelTrace(k, current.S.M.PAR[static_cast<std::size_t>(k - 1)], x, y, timeMs));
  // The synthetic curve and the fit follow the model while it moves.
  program_.layers().dragStep();
  showFit();
  plots_.update();
}

void ModelDragController::showFit() {
  const core::Sounding& S = program_.S();
  program_.toolkit().setStatus(core::kFitStatusPane, core::isSet(S.layer.syntheticValid)
                                                         ? inversion::fitStatusText(S.layer.PCTERR)
                                                         : std::string());
}

void ModelDragController::release(QMouseEvent& event, float x, float y) {
  if (!pressed_ || event.button() != button_) return;
  pressed_ = false;
  const bool click = core::isClick(pressTime_, timeOf(event));
  core::CurrentSounding& current = program_.current();

  if (dragging_) {
    dragging_ = false;
    // A press held without moving leaves the model as it was.
    if (moved_) {
      applyDrag(x, y, timeOf(event));
      program_.layers().finishModelDrag();
      if (hooks_.refresh) hooks_.refresh();
    }
    clearSelection();
    plots_.update();
    return;
  }
  if (boxing_) {
    boxing_ = false;
    const bool zoomed = moved_ && core::zoomToBox(current, static_cast<float>(pressPage_.x()),
                                                  static_cast<float>(pressPage_.y()), x, y);
    clearSelection();
    if (zoomed && hooks_.refresh) hooks_.refresh();
    plots_.update();
    return;
  }
  if (!click) {
    clearSelection();
    return;
  }
  const QPoint global = event.globalPosition().toPoint();
  using C = core::CommandId;
  if (button_ == Qt::RightButton) {
    if (selected_.parameter > 0) {
      if (core::isBoundaryParameter(current.S, selected_.parameter)) {
        openPopup(PopupMenu::Boundary, {C::FixBoundary, C::FreeBoundary}, global);
      } else {
        if (const core::GraphFrame* frame = core::frameOf(current, selected_.plot)) {
          const bool onData = selected_.plot == core::EditPlot::DataPlot;
          pickedDepth_ = onData ? present::ValueX(x - frame->originX, *frame)
                                : present::ValueY(y - frame->originY, *frame);
        }
        openPopup(PopupMenu::Layer,
                  {C::DeleteLayer, C::SplitLayer, C::FixResistivity, C::FreeResistivity}, global);
      }
    } else if (point_.point > 0) {
      openPopup(PopupMenu::Point, {C::MaskPoint, C::UnmaskPoint}, global);
    } else if (program_.view().zoom && hooks_.properties) {
      hooks_.properties();
    }
  } else if (button_ == Qt::LeftButton && point_.point > 0 && hooks_.pointClicked) {
    hooks_.pointClicked(point_.point, point_.component);
  }
  clearSelection();
}

void ModelDragController::openPopup(PopupMenu popup, std::initializer_list<core::CommandId> entries,
                                    QPoint globalPosition) {
  QMenu menu(&plots_);
  menu.setObjectName(QStringLiteral("popup%1").arg(static_cast<int>(popup)));
  for (core::CommandId id : entries)
    if (QAction* entry = hooks_.action ? hooks_.action(id) : nullptr) menu.addAction(entry);
  if (menu.isEmpty()) return;
  showPopup(menu, popup, globalPosition);
}

void ModelDragController::runPopupCommand(core::CommandId id) {
  using core::FixTarget;
  using C = core::CommandId;
  const int k = selected_.parameter;
  switch (id) {
    case C::DeleteLayer:
      core::finish(program_.layers().deleteLayer(k));
      break;
    case C::SplitLayer:
      core::finish(program_.layers().splitLayer(k, pickedDepth_));
      break;
    case C::FixResistivity:
    case C::FreeResistivity:
      core::finish(
          program_.layers().setParameterFixed(k, id == C::FixResistivity, FixTarget::Resistivity));
      break;
    case C::FixBoundary:
    case C::FreeBoundary:
      core::finish(
          program_.layers().setParameterFixed(k, id == C::FixBoundary, FixTarget::Boundary));
      break;
    case C::MaskPoint:
    case C::UnmaskPoint:
      core::finish(
          program_.layers().setPointMasked(point_.point, point_.component, id == C::MaskPoint));
      break;
    default:
      break;
  }
  clearSelection();
}

void ModelDragController::trackCursor(float x, float y) {
  // The cursor tells what a press would grab: a value moves sideways, a
  // boundary up and down (the other way round over the data plot).
  const core::ParameterHit hit = program_.view().showLayered
                                     ? core::hitParameter(program_.current(), x, y)
                                     : core::ParameterHit{};
  if (hit.parameter == 0) {
    const bool onPoint =
        core::hitDataPoint(program_.current(), hooks_.plotSettings(), x, y).point > 0;
    plots_.setCursor(onPoint                ? Qt::PointingHandCursor
                     : program_.view().zoom ? Qt::CrossCursor
                                            : Qt::ArrowCursor);
    return;
  }
  const bool boundary = core::isBoundaryParameter(program_.S(), hit.parameter);
  const bool onData = hit.plot == core::EditPlot::DataPlot;
  plots_.setCursor(boundary != onData ? Qt::SizeVerCursor : Qt::SizeHorCursor);
}

void ModelDragController::paintOverlay(QPainter& painter) {
  painter.setRenderHint(QPainter::Antialiasing);
  if (dragging_ && moved_) {
    const core::CurrentSounding& current = program_.current();
    if (const core::GraphFrame* frame = core::frameOf(current, selected_.plot)) {
      QPolygonF line;
      for (const core::PlotPoint& p : core::rubberLine(current.S, *frame, selected_.plot))
        line << plots_.toDevice(p.x, p.y);
      QPen pen(QColor(200, 0, 0), 2.0, Qt::DashLine);
      painter.setPen(pen);
      painter.drawPolyline(line);
    }
  }
  if (boxing_ && moved_) {
    QPen pen(QColor(0, 0, 160), 1.0, Qt::DashLine);
    painter.setPen(pen);
    painter.setBrush(QColor(0, 0, 160, 24));
    const QPointF a =
        plots_.toDevice(static_cast<float>(pressPage_.x()), static_cast<float>(pressPage_.y()));
    const QPointF b =
        plots_.toDevice(static_cast<float>(boxEnd_.x()), static_cast<float>(boxEnd_.y()));
    painter.drawRect(QRectF(a, b).normalized());
  }
}

}  // namespace zeva::ui::qt
