#include "ui/qt/gui/well_log_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSpinBox>
#include <QSvgGenerator>
#include <QToolBar>
#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "core/record/data_type.h"
#include "files/save_file.h"
#include "present/dxf_canvas.h"
#include "present/graph_frame_drawing.h"
#include "present/plot_setup.h"
#include "present/plotter.h"
#include "present/sounding_plots.h"
#include "ui/qt/gui/sounding_plot_widget.h"
#include "ui/qt/render/graphics_export.h"
#include "ui/qt/render/painter_canvas.h"

namespace zeva::ui::qt {

namespace {

using present::GraphFrame;

constexpr float kGraphBottom = 1.25f;
constexpr float kGraphHeight = 6.0f;
constexpr int kFrameColour = present::colour::kBlue;
constexpr int kLogColour = present::colour::kDarkBlue;
constexpr int kLayeredColour = present::colour::kRed;
constexpr int kSegmentColour = present::colour::kMagenta;

// A layered earth as resistivities (ohm-m) and bottom depths.
struct Layers {
  std::vector<float> resistivity, bottomDepth;
};

Layers layersOf(const core::Sounding& S) {
  Layers layers;
  if (!S.hasModel()) return layers;
  const present::ModelColumns m = present::modelColumns(S);
  const bool conductivity = core::traitsOf(S.header.dataType).conductivityModel;
  for (float v : m.resistivity)
    layers.resistivity.push_back(conductivity && v > 0.0f ? 1000.0f / v : v);
  layers.bottomDepth = m.bottomDepth;
  return layers;
}

// Depth runs down the page: the origin sits at the bottom of the graph, where
// the linear axis starts at its deepest value and steps upwards.
void setDepthAxis(GraphFrame& g, float deepest) {
  const present::LinearRange r = present::linearAround(0.0f, std::max(deepest, 1.0f), 6);
  g.yCycles = r.cycles;
  g.yCycleLength = kGraphHeight / static_cast<float>(r.cycles);
  g.yStart = r.start + r.step * static_cast<float>(r.cycles);
  g.yStep = -r.step;
  g.yExponentOrDivisions = r.divisions;
}

void commonFrame(GraphFrame& g, float originX) {
  g.originX = originX;
  g.originY = kGraphBottom;
  g.tickCap = 0.16f;
  g.capTicks = core::kTrue;
  g.symbolCode = 1;
  g.labelsBelowX = core::kTrue;
  g.labelsLeftOfY = core::kTrue;
}

// The staircase of a layered earth from the surface to `bottom`.
void staircase(const Layers& layers, float bottom, std::vector<float>& value,
               std::vector<float>& depth) {
  value.clear();
  depth.clear();
  float top = 0.0f;
  for (std::size_t i = 0; i < layers.resistivity.size(); ++i) {
    const float lower =
        i < layers.bottomDepth.size() ? std::min(layers.bottomDepth[i], bottom) : bottom;
    value.push_back(layers.resistivity[i]);
    depth.push_back(top);
    value.push_back(layers.resistivity[i]);
    depth.push_back(lower);
    top = lower;
    if (lower >= bottom) break;
  }
}

// Cumulative conductance of a layered earth at its boundaries and at `bottom`.
void conductanceLine(const Layers& layers, float bottom, std::vector<float>& conductance,
                     std::vector<float>& depth) {
  conductance = {0.0f};
  depth = {0.0f};
  for (float d : layers.bottomDepth) {
    if (d >= bottom) break;
    depth.push_back(d);
    conductance.push_back(core::layeredConductance(layers.resistivity, layers.bottomDepth, d));
  }
  depth.push_back(bottom);
  conductance.push_back(core::layeredConductance(layers.resistivity, layers.bottomDepth, bottom));
}

void axisTitles(present::Plotter& plotter, const GraphFrame& g, const std::string& bottom,
                const std::string& left) {
  constexpr float kHeight = 0.15f;
  const float width = present::frameWidth(g);
  plotter.SymbolCentred(width / 2.0f, g.extentBottom - 0.3f, kHeight, bottom, 0.0f,
                        static_cast<int>(bottom.size()));
  plotter.SymbolCentred(g.extentLeft - 0.15f, kGraphHeight / 2.0f, kHeight, left, 90.0f,
                        static_cast<int>(left.size()));
}

void moveOriginTo(present::Plotter& plotter, float x, float y) {
  plotter.Plot(x - plotter.originX(), y - plotter.originY(), -present::kPenUp);
}

void drawFrame(present::Plotter& plotter, GraphFrame& g) {
  moveOriginTo(plotter, g.originX, g.originY);
  plotter.NewPen(kFrameColour);
  present::SetAxisMapping(g);
  present::DrawGraphFrame(plotter, g, 0.15f);
  present::SetAxisMapping(g);
  g.clipXMin = 0.0f;
  g.clipXMax = present::frameWidth(g);
  g.clipYMin = 0.0f;
  g.clipYMax = present::frameHeight(g);
}

}  // namespace

namespace {

// The depth both graphs show: the log, and the layered models below it.
float depthShown(const core::WellLog& log, const Layers& model, const Layers& fit) {
  float deepest = log.depth.empty() ? 0.0f : log.depth.back();
  for (const Layers* layers : {&model, &fit})
    if (!layers->bottomDepth.empty()) deepest = std::max(deepest, layers->bottomDepth.back());
  if (log.depth.empty() && !model.bottomDepth.empty()) deepest *= 1.5f;
  return deepest;
}

// The resistivity graph: whole decades around the log's and the model's
// resistivities.
void setUpLogGraph(GraphFrame& g, const core::WellLog& log, const Layers& model, float deepest) {
  float low = 1.0e30f, high = 0.0f;
  auto extend = [&](const std::vector<float>& values) {
    for (float v : values)
      if (v > 0.0f && std::isfinite(v)) low = std::min(low, v), high = std::max(high, v);
  };
  extend(log.resistivity);
  extend(model.resistivity);
  commonFrame(g, 1.1f);
  const present::DecadeRange decades =
      high > 0.0f ? present::decadesAround(low, high) : present::DecadeRange{0, 3};
  g.xCycles = decades.decades;
  g.xCycleLength = 3.9f / static_cast<float>(decades.decades);
  g.xExponentOrDivisions = decades.firstExponent;
  setDepthAxis(g, deepest);
}

// The conductance graph: a linear axis from 0 to the largest conductance of
// the log and the model down to the deepest depth shown.
void setUpConductanceGraph(GraphFrame& g, const std::vector<float>& logConductance,
                           const Layers& model, float deepest) {
  float largest = logConductance.empty() ? 0.0f : logConductance.back();
  if (!model.resistivity.empty())
    largest =
        std::max(largest, core::layeredConductance(model.resistivity, model.bottomDepth, deepest));
  commonFrame(g, 6.1f);
  const present::LinearRange c = present::linearAround(0.0f, std::max(largest, 1e-3f), 5);
  g.xCycles = c.cycles;
  g.xCycleLength = 3.6f / static_cast<float>(c.cycles);
  g.xStart = c.start;
  g.xStep = c.step;
  g.xExponentOrDivisions = c.divisions;
  setDepthAxis(g, deepest);
}

// The resistivity graph with its title and the curves the view shows;
// returns the depth at the bottom of the graph.
float drawLogGraph(present::Plotter& plotter, GraphFrame& g, const core::WellLog& log,
                   const Layers& model, const Layers& fit, const WellLogView& view,
                   const std::string& name) {
  using present::DrawDashedLine;
  drawFrame(plotter, g);
  axisTitles(plotter, g, "Resistivity (ohm-m)", "Depth (m)");
  const std::string title = name.empty() ? std::string("Well Log") : "Well Log " + name;
  plotter.SymbolCentred(present::frameWidth(g) / 2.0f, kGraphHeight + 0.3f, 0.22f, title, 0.0f,
                        static_cast<int>(title.size()));
  const float bottom = present::ValueY(0.0f, g);
  std::vector<float> values, depths;
  if (view.log && !log.depth.empty()) {
    plotter.NewPen(kLogColour);
    DrawDashedLine(plotter, log.resistivity, log.depth, present::kDash, present::kSolidGap, g);
  }
  if (view.segments && !fit.resistivity.empty()) {
    plotter.NewPen(kSegmentColour);
    staircase(fit, bottom, values, depths);
    DrawDashedLine(plotter, values, depths, present::kDash, present::kDashedGap, g);
  }
  if (view.layered && !model.resistivity.empty()) {
    plotter.NewPen(kLayeredColour);
    staircase(model, bottom, values, depths);
    DrawDashedLine(plotter, values, depths, present::kDash, present::kSolidGap, g);
  }
  return bottom;
}

// The conductance graph with the curves the view shows, down to `bottom`.
void drawConductanceGraph(present::Plotter& plotter, GraphFrame& g, const core::WellLog& log,
                          const std::vector<float>& logConductance, const Layers& model,
                          const Layers& fit, const WellLogView& view, float bottom) {
  using present::DrawDashedLine;
  drawFrame(plotter, g);
  axisTitles(plotter, g, "Conductance (S)", "Depth (m)");
  std::vector<float> values, depths;
  if (view.conductance && !log.depth.empty()) {
    plotter.NewPen(kLogColour);
    DrawDashedLine(plotter, logConductance, log.depth, present::kDash, present::kSolidGap, g);
  }
  if (view.segments && !fit.resistivity.empty()) {
    plotter.NewPen(kSegmentColour);
    conductanceLine(fit, bottom, values, depths);
    DrawDashedLine(plotter, values, depths, present::kDash, present::kDashedGap, g);
  }
  if (view.layered && !model.resistivity.empty()) {
    plotter.NewPen(kLayeredColour);
    conductanceLine(model, bottom, values, depths);
    DrawDashedLine(plotter, values, depths, present::kDash, present::kSolidGap, g);
  }
}

}  // namespace

void DrawWellLogPage(present::Plotter& plotter, const core::Sounding& S, const core::WellLog& log,
                     const core::LogSegmentation& segments, const WellLogView& view,
                     const std::string& name) {
  plotter.Plot(1.0f, 0.0f, present::kNewPage);
  const Layers model = layersOf(S);
  const Layers fit{segments.resistivity, segments.bottomDepth};
  const float deepest = depthShown(log, model, fit);
  const std::vector<float> logConductance = core::cumulativeConductance(log);
  std::array<GraphFrame, 2> graphs{};
  setUpLogGraph(graphs[0], log, model, deepest);
  setUpConductanceGraph(graphs[1], logConductance, model, deepest);

  const float bottom = drawLogGraph(plotter, graphs[0], log, model, fit, view, name);
  drawConductanceGraph(plotter, graphs[1], log, logConductance, model, fit, view, bottom);

  const int logGrid = view.minorGridLog ? present::colour::kGrey : 0;
  const int conductanceGrid = view.minorGridConductance ? present::colour::kGrey : 0;
  present::DrawGridLines(plotter, std::span<GraphFrame>(graphs.data(), 1), 1, view.majorGridLog,
                         logGrid, false, kFrameColour);
  present::DrawGridLines(plotter, std::span<GraphFrame>(graphs.data() + 1, 1), 1,
                         view.majorGridConductance, conductanceGrid, false, kFrameColour);
  moveOriginTo(plotter, 0.0f, 0.0f);
}

WellLogWindow::WellLogWindow(core::Program& program, std::function<void()> modelChanged,
                             QWidget* parent)
    : QMainWindow(parent, Qt::Window), program_(program), modelChanged_(std::move(modelChanged)) {
  setObjectName("wellLogWindow");
  setWindowTitle(QString::fromLatin1(kWellLogTitle.data(), kWellLogTitle.size()));
  setAttribute(Qt::WA_DeleteOnClose, false);
  plots_ = new SoundingPlotWidget(
      [this](QPainter& painter, QRectF target) { paintPage(painter, target); }, {}, this);
  setCentralWidget(plots_);

  QMenu* file = menuBar()->addMenu(tr("&File"));
  addCommand(file, WellLogCommand::Import, "Well Log File", [this] {
    if (program_.wells().importWellLog()) logChanged();
  });
  addCommand(file, WellLogCommand::ExportModel, "ASCII &Model File",
             [this] { core::finish(program_.exchange().exportAsciiModel()); });
  addCommand(file, WellLogCommand::ExportPicture, "Export &Picture", [this] { exportPicture(); });
  addCommand(file, WellLogCommand::Print, "&Print", [this] { print(); });
  file->addSeparator();
  addCommand(file, WellLogCommand::Close, "&Close", [this] { close(); });

  QMenu* model = menuBar()->addMenu(tr("&Model"));
  addCommand(model, WellLogCommand::SetLayeredModel, "&Set Layered Model", [this] {
    if (program_.wells().setModelFromWellLog(layerCount()) && modelChanged_) modelChanged_();
  });
  addCommand(model, WellLogCommand::ClearSegments, "&Clear Segments", [this] { segments_ = {}; });

  QMenu* viewMenu = menuBar()->addMenu(tr("&View"));
  addToggle(viewMenu, WellLogCommand::Log, "&Log", &WellLogView::log);
  addToggle(viewMenu, WellLogCommand::Layered, "L&ayered", &WellLogView::layered);
  addToggle(viewMenu, WellLogCommand::Conductance, "&Conductance", &WellLogView::conductance);
  addToggle(viewMenu, WellLogCommand::Segments, "Conductance &Segments", &WellLogView::segments);
  viewMenu->addSeparator();
  addToggle(viewMenu, WellLogCommand::MajorGridLog, "Major Grid on Log",
            &WellLogView::majorGridLog);
  addToggle(viewMenu, WellLogCommand::MinorGridLog, "Minor Grid on Log",
            &WellLogView::minorGridLog);
  addToggle(viewMenu, WellLogCommand::MajorGridConductance, "Major Grid on Conductance",
            &WellLogView::majorGridConductance);
  addToggle(viewMenu, WellLogCommand::MinorGridConductance, "Minor Grid on Conductance",
            &WellLogView::minorGridConductance);

  auto* tools = addToolBar(tr("Segments"));
  tools->setObjectName("wellLogTools");
  tools->addWidget(new QLabel(tr("Layers: "), tools));
  layers_ = new QSpinBox(tools);
  layers_->setObjectName("layerCount");
  layers_->setRange(1, 30);
  layers_->setValue(std::clamp(program_.S().NLAYER(), 2, 30));
  layers_->setToolTip(tr("Number of layers of the step fit"));
  tools->addWidget(layers_);
  tools->addAction(action(WellLogCommand::SetLayeredModel));
  connect(layers_, &QSpinBox::valueChanged, this, [this] {
    segments_ = core::segmentWellLog(program_.wells().wellLog(), layerCount());
    updateChecks();
    plots_->update();
  });
  updateChecks();
  resize(900, 700);
}

QAction* WellLogWindow::action(WellLogCommand id) const {
  const auto found = actions_.find(id);
  return found == actions_.end() ? nullptr : found->second;
}

QAction* WellLogWindow::addCommand(QMenu* menu, WellLogCommand id, const QString& text,
                                   std::function<void()> run) {
  auto* entry = new QAction(text, this);
  entry->setData(static_cast<int>(id));
  connect(entry, &QAction::triggered, this, [this, id] { runCommand(id); });
  if (menu) menu->addAction(entry);
  actions_[id] = entry;
  commands_[id] = std::move(run);
  return entry;
}

QAction* WellLogWindow::addToggle(QMenu* menu, WellLogCommand id, const QString& text,
                                  bool WellLogView::*flag) {
  QAction* entry = addCommand(menu, id, text, [this, flag] { toggleView(flag); });
  entry->setCheckable(true);
  toggles_[id] = flag;
  return entry;
}

void WellLogWindow::toggleView(bool WellLogView::*flag) {
  view_.*flag = !(view_.*flag);
  // Major off takes the minor grid with it; minor on brings the major grid.
  auto tie = [this, flag](bool WellLogView::*major, bool WellLogView::*minor) {
    if (flag == major && !(view_.*major)) view_.*minor = false;
    if (flag == minor && view_.*minor) view_.*major = true;
  };
  tie(&WellLogView::majorGridLog, &WellLogView::minorGridLog);
  tie(&WellLogView::majorGridConductance, &WellLogView::minorGridConductance);
}

void WellLogWindow::runCommand(WellLogCommand id) {
  const auto found = commands_.find(id);
  if (found == commands_.end()) return;
  found->second();
  updateChecks();
  plots_->update();
}

void WellLogWindow::updateChecks() {
  for (const auto& [id, flag] : toggles_) action(id)->setChecked(view_.*flag);
  const bool haveLog = !program_.wells().wellLog().depth.empty();
  action(WellLogCommand::SetLayeredModel)->setEnabled(haveLog);
  action(WellLogCommand::ClearSegments)->setEnabled(!segments_.empty());
}

void WellLogWindow::logChanged() {
  segments_ = core::segmentWellLog(program_.wells().wellLog(), layerCount());
  updateChecks();
  plots_->update();
}

void WellLogWindow::setLayerCount(int layers) { layers_->setValue(layers); }
int WellLogWindow::layerCount() const { return layers_->value(); }

void WellLogWindow::paintPage(QPainter& painter, QRectF target) {
  PainterCanvas canvas(painter, target);
  present::Plotter plotter(canvas);
  DrawWellLogPage(plotter, program_.S(), program_.wells().wellLog(), segments_, view_,
                  program_.wells().wellLogName());
  plotter.close();
}

void WellLogWindow::exportPicture() {
  const std::string initial =
      (program_.wells().wellLogName().empty() ? std::string("WELLLOG")
                                              : program_.wells().wellLogName()) +
      ".PNG";
  const auto chosen = program_.toolkit().chooseFileToSave(
      {"Well log picture",
       "PNG picture|*.PNG|SVG graphics file|*.SVG|PDF graphics file|*.PDF|"
       "DXF graphics file|*.DXF|"},
      initial);
  if (chosen) exportPictureTo(*chosen);
}

bool WellLogWindow::exportPictureTo(const std::filesystem::path& path) {
  const auto format = graphicsFormatOf(path).value_or(GraphicsFormat::Png);
  const bool written = files::saveFile(path, [&](const std::filesystem::path& file) {
                         return writePicture(file, format);
                       }).saved();
  if (!written) program_.toolkit().information("CANNOT OPEN FILE: " + path.string());
  return written;
}

bool WellLogWindow::writePicture(const std::filesystem::path& file, GraphicsFormat format) {
  const QString name = QString::fromStdString(file.string());
  if (format == GraphicsFormat::Svg) {
    QSvgGenerator svg;
    svg.setFileName(name);
    svg.setSize(QSize(1000, 800));
    svg.setViewBox(QRect(0, 0, 1000, 800));
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    paintPage(painter, QRectF(0, 0, 1000, 800));
    return painter.end();
  }
  if (format == GraphicsFormat::Pdf) {
    QPdfWriter pdf(name);
    pdf.setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    if (!painter.begin(&pdf)) return false;
    paintPage(painter, QRectF(0, 0, pdf.width(), pdf.height()));
    return painter.end();
  }
  if (format == GraphicsFormat::Dxf) {
    present::DxfCanvas dxf;
    {
      present::Plotter plotter(dxf);
      DrawWellLogPage(plotter, program_.S(), program_.wells().wellLog(), segments_, view_,
                      program_.wells().wellLogName());
      plotter.close();
    }
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    dxf.write(out);
    out.close();
    return static_cast<bool>(out);
  }
  QImage image(kPngWidth, kPngHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    paintPage(painter, QRectF(0, 0, kPngWidth, kPngHeight));
  }
  return image.save(name, "PNG");
}

void WellLogWindow::print() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageOrientation(QPageLayout::Landscape);
  QPrintDialog dialog(&printer, this);
  if (dialog.exec() != QDialog::Accepted) return;
  QPainter painter;
  if (!painter.begin(&printer)) {
    program_.toolkit().information("CANNOT OPEN PRINTER: " + printer.printerName().toStdString());
    return;
  }
  paintPage(painter, QRectF(0, 0, printer.width(), printer.height()));
}

void WellLogWindow::showEvent(QShowEvent* event) {
  // The place of the last run, unless it is off every screen.
  const settings::WindowPlacement& w = program_.settings().windows;
  if (!placed_ && w.wellLogW > 0 && w.wellLogH > 0 && w.wellLogX >= 0 && w.wellLogY >= 0)
    setGeometry(w.wellLogX, w.wellLogY, w.wellLogW, w.wellLogH);
  placed_ = true;
  QMainWindow::showEvent(event);
}

void WellLogWindow::closeEvent(QCloseEvent* event) {
  // Remembered for the settings file only from the normal window state.
  if (!isMaximized() && !isMinimized()) {
    settings::WindowPlacement& w = program_.settings().windows;
    const QRect g = geometry();
    w.wellLogX = g.x();
    w.wellLogY = g.y();
    w.wellLogW = g.width();
    w.wellLogH = g.height();
  }
  event->accept();
}

}  // namespace zeva::ui::qt
