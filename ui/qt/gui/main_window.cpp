#include "ui/qt/gui/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <cstdio>

#include "core/record/data_type.h"
#include "forward/forward_choice.h"
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
#include "ui/qt/gui/well_log_window.h"
#include "ui/qt/render/graphics_export.h"

namespace zeva::qt {

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
          [this] { return plotSettings(); }, [this](int number) { return action(number); },
          [this] {
            if (program_.autoscalePending) autoscale();
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
          [this] { runCommand(command::kProperties); }});

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
  program_.setColumnDialog([this](const std::filesystem::path& file,
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
  program_.setColumnDialog({});
}

QAction* MainWindow::action(int number) const {
  const auto found = actions_.find(number);
  return found == actions_.end() ? nullptr : found->second;
}

present::PlotSettings MainWindow::plotSettings() const {
  present::PlotSettings settings = appearance_;
  settings.view = program_.view();
  return settings;
}

void MainWindow::autoscale() {
  present::SetUpPlots(program_.current(), plotSettings());
  program_.autoscalePending = false;
}

QAction* MainWindow::addCommand(QMenu* menu, int number, const QString& text,
                                std::function<void()> run, const QKeySequence& shortcut) {
  auto* entry = new QAction(text, this);
  entry->setData(number);
  if (!shortcut.isEmpty()) entry->setShortcut(shortcut);
  connect(entry, &QAction::triggered, this, [this, number] { runCommand(number); });
  if (menu) menu->addAction(entry);
  actions_[number] = entry;
  commands_[number] = std::move(run);
  return entry;
}

QAction* MainWindow::addToggle(QMenu* menu, int number, const QString& text, ViewToggle toggle) {
  QAction* entry = addCommand(menu, number, text, [this, toggle] { program_.toggleView(toggle); });
  entry->setCheckable(true);
  toggles_[number] = toggle;
  return entry;
}

void MainWindow::runCommand(int number) {
  const auto found = commands_.find(number);
  if (found != commands_.end()) runAction(found->second);
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
  if (program_.autoscalePending) autoscale();
  refresh();
}

void MainWindow::buildMenus() {
  using namespace command;
  QMenu* file = menuBar()->addMenu(tr("&File"));
  addNewMenu(file);
  addCommand(
      file, kOpen, "&Open", [this] { program_.open(); }, QKeySequence::Open);
  addCommand(
      file, kSave, "&Save", [this] { program_.save(); }, QKeySequence::Save);
  addCommand(
      file, kSaveAs, "Save_&As", [this] { program_.saveAs(); },
      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  addRecentFiles(file);
  file->addSeparator();
  QMenu* import = file->addMenu(tr("&Import"));
  import->setObjectName("importMenu");
  using files::FlatAsciiKind;
  addCommand(import, 40015, "DC &Resistivity Data", [this] {
    program_.importFlatAsciiData(FlatAsciiKind::Resistivity, {}, importDialogFor(this));
  });
  addCommand(import, 40066, "DC Resistivity/&IP Data", [this] {
    program_.importFlatAsciiData(FlatAsciiKind::ResistivityIp, {}, importDialogFor(this));
  });
  addCommand(import, 40016, "&MaxMin Data", [this] {
    program_.importFlatAsciiData(FlatAsciiKind::MaxMin, {}, importDialogFor(this));
  });
  addCommand(import, 40090, "EM Conductivity Data", [this] {
    program_.importFlatAsciiData(FlatAsciiKind::EmConductivity, {}, importDialogFor(this));
  });
  addCommand(import, 40064, "MT Data", [this] {
    program_.importFlatAsciiData(FlatAsciiKind::Magnetotelluric, {}, importDialogFor(this));
  });
  addCommand(import, 40040, "MT Data from SEG standard &EDI file",
             [this] { program_.importEdiData(); });
  addCommand(import, 40063, "MT Data from EM&I Data file",
             [this] { program_.importUnsupported(core::UnsupportedImport::Emi); });
  addCommand(import, 40065, "MT Data from &Geotools TBL file",
             [this] { program_.importUnsupported(core::UnsupportedImport::GeotoolsTbl); });
  addCommand(import, 40086, "TEM Data", [this] {
    // The sweeps and the loop of TEM data are not in the file: the data
    // editor follows the import.
    if (program_.importFlatAsciiData(FlatAsciiKind::Tem, {}, importDialogFor(this))) editData();
  });
  addCommand(import, 40087, "TEM Data from KOVAT .TEM file",
             [this] { program_.importUnsupported(core::UnsupportedImport::KovatTem); });
  import->addSeparator();
  addCommand(import, 40038, "ASCII &Model File", [this] { program_.importAsciiModel(); });
  addCommand(import, 40096, "&USF Data File", [this] { program_.importUsfData(); });
  addCommand(import, 40074, "Well Log File", [this] { importWellLog(); });

  // The entries of the plots' popup menus act on what the mouse picked.
  const std::pair<int, const char*> popupEntries[] = {{40031, "&Delete Layer"},
                                                      {40036, "&Split Layer"},
                                                      {40099, "Fix Layer Resistivity"},
                                                      {40100, "Free Layer Resistivity"},
                                                      {40101, "Fix Layer Thickness/Depth"},
                                                      {40102, "Free Layer Thickness/Depth"},
                                                      {40097, "&Mask Point"},
                                                      {40098, "&Unmask Point"}};
  for (const auto& [number, text] : popupEntries)
    addCommand(nullptr, number, text, [this, number = number] { drag_->runPopupCommand(number); });

  QMenu* exportMenu = file->addMenu(tr("&Export"));
  addCommand(exportMenu, 40041, "ASCII &Data File", [this] { program_.exportAsciiData(); });
  addCommand(exportMenu, 40017, "ASCII &Synthetics File",
             [this] { program_.exportAsciiSynthetics(); });
  addCommand(exportMenu, 40018, "ASCII S&mooth Synthetics File",
             [this] { program_.exportSmoothSynthetics(); });
  // Each command number has one entry; the model import and export share
  // their menu text but not their number.
  addCommand(exportMenu, 40049, "ASCII &Model File", [this] { program_.exportAsciiModel(); });
  addCommand(exportMenu, 40058, "&Smooth Model File", [this] { program_.exportSmoothModel(); });
  addCommand(exportMenu, 40165, "&Equivalent Models File",
             [this] { program_.exportEquivalentModels(); });
  addCommand(exportMenu, 40094, "&USF Data File", [this] { program_.exportUsfData(); });
  addGraphicsExports(exportMenu);
  addPrint(file);
  file->addSeparator();
  addCommand(
      file, kExit, "E&xit", [this] { exitProgram(); }, QKeySequence::Quit);

  QMenu* edit = menuBar()->addMenu(tr("&Edit"));
  addUndoCommands(edit);
  addDataEditing(edit);
  addCommand(edit, kEditModel, "&Model", [this] { editModel(); });
  addCommand(edit, kShiftSegments, "&Shift Data Segments", [this] {
    core::DataHeader& h = program_.S().header;
    // Other arrays are refused by the command itself, before any dialog.
    if (!core::traitsOf(h.dataType).potentialSpacing) {
      program_.shiftDataSegments(h.shiftMode, h.shiftTarget);
      return;
    }
    if (const auto choice = askShiftOptions(this, h.shiftMode, h.shiftTarget))
      program_.shiftDataSegments(choice->first, choice->second);
  });

  QMenu* view = menuBar()->addMenu(tr("&View"));
  addToggle(view, kZoom, "&Zoom", ViewToggle::Zoom);
  addCommand(view, kUnzoom, "&Unzoom", [this] { program_.unzoom(); });
  view->addSeparator();
  addToggle(view, kLayered, "&Layered", ViewToggle::Layered);
  addToggle(view, kSmooth, "&Smooth", ViewToggle::Smooth);
  addToggle(view, kEquivalence, "&Equivalence", ViewToggle::Equivalence);
  addToggle(view, kBostick, "Show Bostick Model", ViewToggle::Bostick);
  addToggle(view, kNiblett, "Show Niblett Model", ViewToggle::Niblett);
  addToggle(view, kRedLine, "Redline 10 ohm-m, 1 Hz", ViewToggle::RedLine);
  addToggle(view, kModelOnData, "&Model on Data", ViewToggle::ModelOnData);
  addToggle(view, kVoltage, "&Voltage", ViewToggle::Voltage);
  addToggle(view, kLinearTime, "L&inear Time Scale", ViewToggle::LinearTime);
  QMenu* grid = view->addMenu(tr("&Grid"));
  addToggle(grid, kMajorGridData, "Major Grid on &Data", ViewToggle::MajorGridData);
  addToggle(grid, kMinorGridData, "Minor Grid on D&ata", ViewToggle::MinorGridData);
  addToggle(grid, kMajorGridModel, "Major Grid on &Model", ViewToggle::MajorGridModel);
  addToggle(grid, kMinorGridModel, "Minor Grid on M&odel", ViewToggle::MinorGridModel);
  addPlotSettings(view);

  QMenu* calculate = menuBar()->addMenu(tr("&Calculate"));
  addCommand(
      calculate, kForward, "&Forward", [this] { program_.forwardModel(); },
      QKeySequence(Qt::Key_F5));
  QMenu* inverse = calculate->addMenu(tr("&Inverse"));
  addCommand(
      inverse, kSingle, "&Single Iteration",
      [this] { program_.singleIteration(InversionScope::All); }, QKeySequence(Qt::Key_F6));
  addCommand(inverse, kSingleResistivity, "&Single Iteration for Resistivity Only",
             [this] { program_.singleIteration(InversionScope::ResistivityOnly); });
  addCommand(inverse, kSingleIp, "&Single Iteration for IP Only",
             [this] { program_.singleIteration(InversionScope::IpOnly); });
  addCommand(
      inverse, kMultiple, "&Multiple Iterations",
      [this] { program_.multipleIterations(InversionScope::All); }, QKeySequence(Qt::Key_F7));
  addCommand(inverse, kMultipleResistivity, "&Multiple Iteration for Resistivity Only",
             [this] { program_.multipleIterations(InversionScope::ResistivityOnly); });
  addCommand(inverse, kMultipleIp, "&Multiple Iterations for IP Only",
             [this] { program_.multipleIterations(InversionScope::IpOnly); });
  addModelCommands(calculate);
  calculate->addSeparator();
  addCommand(calculate, kTransfer, "&Transfer Synthetic to Data",
             [this] { program_.transferSyntheticToData(); });

  QMenu* help = menuBar()->addMenu(tr("&Help"));
  addCommand(
      help, kContents, "&Contents", [this] { showHelp(); }, QKeySequence::HelpContents);
  addCommand(help, kAbout, "&About", [this] { showAbout(); });
}

void MainWindow::buildToolBar() {
  QToolBar* bar = addToolBar(tr("Commands"));
  bar->setObjectName("commandToolBar");
  bar->setMovable(false);
  auto* importButton = new QToolButton(bar);
  importButton->setText(tr("Import Data"));
  importButton->setToolTip(tr("Import Data"));
  importButton->setPopupMode(QToolButton::InstantPopup);
  importButton->setMenu(findChild<QMenu*>("importMenu"));
  auto* newButton = new QToolButton(bar);
  newButton->setText(tr("Create New Sounding"));
  newButton->setToolTip(tr("Create New Sounding"));
  newButton->setPopupMode(QToolButton::InstantPopup);
  newButton->setMenu(findChild<QMenu*>("newMenu"));
  bar->addWidget(newButton);
  bar->addWidget(importButton);
  bar->addSeparator();
  for (int number : {command::kOpen, command::kSave, command::kPrint}) {
    if (QAction* entry = action(number)) bar->addAction(entry);
  }
  bar->addSeparator();
  for (int number : {command::kForward, command::kSingle, command::kMultiple}) {
    if (QAction* entry = action(number)) bar->addAction(entry);
  }
  bar->addSeparator();
  for (int number : {command::kZoom, command::kUnzoom}) {
    if (QAction* entry = action(number)) bar->addAction(entry);
  }
}

void MainWindow::updateMenusForType() {
  using namespace command;
  const core::Sounding& S = program_.current().S;
  const core::DataTypeText& type = S.header.dataType;
  const bool tem = core::isTem(type);
  const bool mt = core::familyOf(type) == core::Family::Magnetotelluric;
  const bool ip = S.NPK() > 1;
  const bool forwardModel = forward::hasForwardModel(S);
  for (int number : {kVoltage, kLinearTime}) action(number)->setVisible(tem);
  for (int number : {kBostick, kNiblett, kRedLine}) action(number)->setVisible(mt);
  for (int number : {kSingleResistivity, kSingleIp, kMultipleResistivity, kMultipleIp})
    action(number)->setVisible(ip);
  // TEM data have no forward model: nothing can be computed from a model.
  for (int number : {kForward, kSingle, kSingleResistivity, kSingleIp, kMultiple,
                     kMultipleResistivity, kMultipleIp})
    if (QAction* entry = action(number)) entry->setEnabled(forwardModel);
  // The synthetics can be written only while they belong to the model.
  action(40017)->setEnabled(core::isSet(S.layer.syntheticValid));
  action(40018)->setEnabled(core::isSet(program_.current().SM.layer.syntheticValid));
  updateModelCommandsForType();
}

void MainWindow::updateChecks() {
  for (const auto& [number, toggle] : toggles_)
    action(number)->setChecked(program_.viewChecked(toggle));
  if (QAction* occam = action(command::kOccam)) occam->setChecked(program_.occamMode());
  if (QAction* weighting = action(command::kWeightErrors))
    weighting->setChecked(program_.errorWeighting());
}

void MainWindow::refresh() {
  const core::CurrentSounding& current = program_.current();
  // Every change of the record becomes an undo step and is kept for a crash.
  program_.noteChanges();
  keepRecovery();
  toolkit_.setStartFolder(QString::fromStdString(program_.dataFolder().string()));
  // An unsaved sounding is marked after the bracket of its name.
  setWindowTitle(soundingTitle(current.S) +
                 (core::isSet(current.S.layer.saved) ? QString() : QStringLiteral(" *")));
  updateMenusForType();
  updateChecks();
  updateRecentFiles();
  action(command::kUndo)->setEnabled(program_.canUndo());
  action(command::kRedo)->setEnabled(program_.canRedo());
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
  if (!program_.importWellLog()) return;
  if (!wellLog_)
    wellLog_ = new WellLogWindow(
        program_,
        [this] {
          if (program_.autoscalePending) autoscale();
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
        return program_.setLayeredModel(request);
      },
      [this] {
        program_.forwardModel();
        refresh();
      },
      this);
  editor.setObjectName("modelEditor");
  if (!title.isEmpty()) editor.setWindowTitle(title);
  if (editor.exec() != QDialog::Accepted) return false;
  program_.autoscalePending = true;
  return true;
}

void MainWindow::editModel() { runModelEditor(); }

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
  if (!program_.askToSave()) return false;
  closing_ = true;
  dropRecoveryFile();
  if (wellLog_) wellLog_->close();  // remembers its place first
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

}  // namespace zeva::qt
