#include "ui/qt/gui/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QStatusBar>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <cstdio>

#include "core/record/data_type.h"
#include "inversion/layered_inversion.h"
#include "present/axis_titles.h"
#include "present/graph_frame_drawing.h"
#include "present/plot_setup.h"
#include "ui/qt/gui/column_dialog.h"
#include "ui/qt/gui/model_drag_controller.h"
#include "ui/qt/gui/model_editor.h"
#include "ui/qt/gui/new_sounding_dialog.h"
#include "ui/qt/gui/plot_properties_dialog.h"
#include "ui/qt/gui/shift_options_dialog.h"
#include "ui/qt/gui/sounding_plot_widget.h"
#include "ui/qt/gui/survey_window.h"
#include "ui/qt/gui/well_log_window.h"
#include "ui/qt/render/graphics_export.h"

namespace zeva::ui::qt {

namespace {

using core::InversionScope;
using core::ViewToggle;

// Status-bar panes: the fit, the cursor's two values, the smooth layers.
constexpr int kCursorXPane = 2;
constexpr int kCursorYPane = 3;
constexpr int kSmoothPane = 4;
constexpr int kPaneCount = 4;

QString fromStd(const std::string& text) { return QString::fromStdString(text); }

// "Title (unit): value" for the cursor panes of the status bar.
QString cursorText(const QString& title, float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", static_cast<double>(value));
  return title.trimmed() + ": " + QString::fromLatin1(text);
}

}  // namespace

QString soundingTitle(const core::Sounding& S) {
  const std::string_view name = S.header.name.padded();
  const QString padded = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
  return QStringLiteral("Kelvorin 1-D Sounding Inversion [") + padded + QStringLiteral("]");
}

MainWindow::MainWindow(core::Program& program, QtToolkit& toolkit, QString helpFile)
    : program_(program),
      toolkit_(toolkit),
      helpFile_(std::move(helpFile)),
      appearance_(plotAppearanceOf(program.settings().graphs)) {
  setWindowTitle(QString::fromLatin1(kStartTitle.data(), kStartTitle.size()));
  plots_ = new SoundingPlotWidget(
      [this](QPainter& painter, QRectF target) {
        // Labels stay readable however small the window: at least about
        // 7 points, which the device pixel ratio turns into device pixels.
        PaintPlots(painter, target, program_.current(), plotSettings(),
                   7.0 * plots_->logicalDpiY() / 72.0);
      },
      [this](float x, float y, bool inside) {
        if (inside) {
          showCursorValues(QPointF(x, y));
        } else {
          setStatus(kCursorXPane, {});
          setStatus(kCursorYPane, {});
        }
      },
      this);
  setCentralWidget(plots_);
  drag_ = std::make_unique<ModelDragController>(
      program_, *plots_,
      ModelDragController::Hooks{
          [this] { return plotSettings(); }, [this](core::CommandId id) { return action(id); },
          [this] {
            if (program_.state().autoscalePending()) autoscale();
            refresh();
          },
          [this](int point, int component) {
            const auto& d = program_.S().data();
            statusBar()->showMessage(
                tr("Point %1, component %2: %3, %4")
                    .arg(point)
                    .arg(component)
                    .arg(static_cast<double>(d.TIME(point - 1, 0)))
                    .arg(static_cast<double>(d.VOLTS(point - 1, component - 1))));
          },
          [this] { runCommand(core::CommandId::Properties); }});

  for (int pane = 1; pane <= kPaneCount; ++pane) {
    auto* label = new QLabel(this);
    label->setMinimumWidth(pane == kSmoothPane ? 140 : 110);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusBar()->addPermanentWidget(label, pane == 1 ? 0 : 1);
    panes_[pane] = label;
  }
  toolkit_.setParent(this);
  toolkit_.setStatusSink([this](int pane, const QString& text) { setStatus(pane, text); });
  toolkit_.setRedrawSink([this] { plots_->update(); });
  program_.state().setColumnDialog([this](const std::filesystem::path& file,
                                          files::FlatAsciiRequest& request,
                                          settings::ImportColumns& columns) {
    return runColumnDialog(this, toolkit_, file, request, columns);
  });

  buildMenus();
  buildToolBar();
  setAcceptDrops(true);
  refresh();
}

MainWindow::~MainWindow() {
  plots_->setMouseHandlers({});
  toolkit_.setParent(nullptr);
  toolkit_.setStatusSink({});
  toolkit_.setRedrawSink({});
  program_.state().setColumnDialog({});
}

present::PlotSettings MainWindow::plotSettings() const {
  present::PlotSettings settings = appearance_;
  settings.view = program_.view();
  return settings;
}

void MainWindow::autoscale() {
  present::SetUpPlots(program_.current(), plotSettings());
  program_.state().clearAutoscale();
}

void MainWindow::runAction(const std::function<void()>& run) {
  if (busy_) return;
  // A command runs to its end; events that arrive meanwhile wait for it.
  busy_ = true;
  toolkit_.beginCommand();
  runGuarded(run);
  toolkit_.endCommand();
  busy_ = false;
  if (closing_) return;
  if (program_.state().autoscalePending()) autoscale();
  refresh();
}

void MainWindow::refresh() {
  const core::CurrentSounding& current = program_.current();
  // Every change of the record becomes an undo step and is kept for a crash.
  program_.history().noteChanges();
  keepRecovery();
  toolkit_.setStartFolder(QString::fromStdString(program_.dataFolder().string()));
  // An unsaved sounding is marked after the bracket of its name.
  setWindowTitle(soundingTitle(current.S) +
                 (core::isSet(current.S.layer.saved) ? QString() : QStringLiteral(" *")));
  updateMenusForType();
  updateChecks();
  updateRecentFiles();
  setStatus(core::kFitStatusPane, core::isSet(current.S.layer.syntheticValid)
                                      ? fromStd(inversion::fitStatusText(current.S.layer.PCTERR))
                                      : QString());
  if (current.SM.hasModel()) {
    char text[32];
    std::snprintf(text, sizeof text, "%3d Smooth Layers", current.SM.NLAYER());
    QString smooth = QString::fromLatin1(text);
    // The smooth model's own fit, while it is drawn.
    if (program_.view().showSmooth && core::isSet(current.SM.layer.syntheticValid))
      smooth += ", " + fromStd(inversion::fitStatusText(current.SM.layer.PCTERR)).trimmed();
    setStatus(kSmoothPane, smooth);
  } else {
    setStatus(kSmoothPane, {});
  }
  plots_->update();
  if (wellLog_) wellLog_->plotWidget()->update();
}

WellLogWindow* MainWindow::wellLogWindow() const { return wellLog_.data(); }

void MainWindow::importWellLog() {
  if (!program_.wells().importWellLog()) return;
  if (!wellLog_)
    wellLog_ = new WellLogWindow(
        program_,
        [this] {
          if (program_.state().autoscalePending()) autoscale();
          refresh();
        },
        this);
  wellLog_->logChanged();
  wellLog_->show();
  wellLog_->raise();
}

QString MainWindow::statusText(int pane) const {
  const auto found = panes_.find(pane);
  return found == panes_.end() ? QString() : found->second->text();
}

void MainWindow::setStatus(int pane, const QString& text) {
  const auto found = panes_.find(pane);
  if (found != panes_.end()) found->second->setText(text);
}

void MainWindow::showCursorValues(QPointF page) {
  // The graph under the cursor gives the values of its axes, each named by
  // its axis title with the unit.
  core::CurrentSounding& current = program_.current();
  const present::PlotSettings settings = plotSettings();
  const core::DataHeader& header = current.S.header;
  for (int plot = 0; plot < 2; ++plot) {
    const auto& frames = plot == 0 ? current.dataFrames : current.modelFrames;
    for (int k = 0; k < static_cast<int>(frames.size()); ++k) {
      const core::GraphFrame& g = frames[static_cast<std::size_t>(k)];
      const float w = present::frameWidth(g), h = present::frameHeight(g);
      if (w <= 0.0f || h <= 0.0f) continue;
      const float x = static_cast<float>(page.x()) - g.originX;
      const float y = static_cast<float>(page.y()) - g.originY;
      const float left = present::frameLeft(g), bottom = present::frameBottom(g);
      if (x < left || x > left + w || y < bottom || y > bottom + h) continue;
      using present::AxisTitle;
      AxisTitle across = AxisTitle::Depth, up = AxisTitle::Depth;
      if (plot == 0) {
        const present::DataPlotTitles titles =
            present::dataPlotTitles(header.dataType, k + 1, settings.view.voltageView, header.mode);
        across = titles.bottom;
        up = titles.left;
      } else {
        across = core::traitsOf(header.dataType).conductivityModel ? AxisTitle::Conductivity
                 : k == 0                                          ? AxisTitle::Resistivity
                                                                   : AxisTitle::IpEffect;
      }
      setStatus(kCursorXPane,
                cursorText(fromStd(settings.axisTitles[across]), present::ValueX(x, g)));
      setStatus(kCursorYPane, cursorText(fromStd(settings.axisTitles[up]), present::ValueY(y, g)));
      return;
    }
  }
  setStatus(kCursorXPane, {});
  setStatus(kCursorYPane, {});
}

void MainWindow::showHelp() {
  if (!QFileInfo::exists(helpFile_)) {
    toolkit_.information("HELP FILE NOT FOUND:" + helpFile_.toStdString());
    return;
  }
  auto* viewer = findChild<QDialog*>("helpViewer");
  if (!viewer) {
    viewer = new QDialog(this);
    viewer->setObjectName("helpViewer");
    viewer->setWindowTitle(tr("ZEVA Help"));
    auto* layout = new QVBoxLayout(viewer);
    auto* browser = new QTextBrowser(viewer);
    browser->setObjectName("helpBrowser");
    browser->setOpenExternalLinks(true);
    browser->setSource(QUrl::fromLocalFile(helpFile_));
    layout->addWidget(browser);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, viewer);
    connect(buttons, &QDialogButtonBox::rejected, viewer, &QDialog::hide);
    layout->addWidget(buttons);
    viewer->resize(760, 640);
  }
  viewer->show();
  viewer->raise();
}

bool MainWindow::runModelEditor(const QString& title) {
  ModelEditor editor(
      program_.S(), toolkit_,
      [this](const core::LayeredModelRequest& request) {
        return program_.model().setLayeredModel(request).done();
      },
      [this] {
        core::finish(program_.model().forwardModel());
        refresh();
      },
      this);
  editor.setObjectName("modelEditor");
  if (!title.isEmpty()) editor.setWindowTitle(title);
  if (editor.exec() != QDialog::Accepted) return false;
  program_.state().requestAutoscale();
  return true;
}

void MainWindow::editModel() { runModelEditor(); }

void MainWindow::shiftSegments() {
  core::DataHeader& h = program_.S().header;
  // Other arrays are refused by the command itself, before any dialog.
  if (!core::traitsOf(h.dataType).potentialSpacing) {
    core::finish(program_.data().shiftDataSegments(h.shiftMode, h.shiftTarget));
    return;
  }
  if (const auto choice = askShiftOptions(this, h.shiftMode, h.shiftTarget))
    core::finish(program_.data().shiftDataSegments(choice->first, choice->second));
}

void MainWindow::showAbout() {
  QMessageBox::about(
      this, tr("About ZEVA"),
      tr("<h3>ZEVA %1</h3><p>One-dimensional interpretation of DC resistivity and IP, "
         "MaxMin EM, EM conductivity, magnetotelluric and TEM soundings: forward modelling, "
         "layered inversion, smooth models, equivalence analysis and segment shifting.</p>"
         "<p>Kelvorin Limited</p>")
          .arg(QStringLiteral(ZEVA_VERSION)));
}

bool MainWindow::exitProgram() {
  if (closing_) return true;
  if (!program_.file().askToSave()) return false;
  closing_ = true;
  dropRecoveryFile();
  if (wellLog_) wellLog_->close();  // remembers its place first
  if (survey_) survey_->close();
  if (exitHandler_) exitHandler_(isMaximized() || isMinimized() ? QRect() : geometry());
  close();
  return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (closing_ || (!busy_ && exitProgram())) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace zeva::ui::qt
