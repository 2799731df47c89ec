// The main window's commands that bring dialogs of their own: File, New with
// the new-sounding dialogs and the data editor, Edit, Data, the graphics
// exports and Print with its options, View, Properties and Font Type, and
// the model commands of the Calculate menu.

#include <QFontDialog>
#include <QMenu>
#include <QPrintDialog>
#include <QToolBar>
#include <QToolButton>
#include <array>
#include <cstring>
#include <tuple>

#include "core/record/data_type.h"
#include "files/sounding_import.h"
#include "forward/forward_choice.h"
#include "ui/qt/gui/data_editor.h"
#include "ui/qt/gui/main_window.h"
#include "ui/qt/gui/new_sounding_dialog.h"
#include "ui/qt/gui/plot_properties_dialog.h"
#include "ui/qt/gui/print_options_dialog.h"
#include "ui/qt/render/program_graphics.h"

namespace zeva::qt {

namespace {

using core::NewSoundingKind;

// DC, IP, MaxMin and TEM soundings start with a dialog of choices; EM
// conductivity and MT soundings have one layout each and go straight to the
// data editor.
bool hasDialog(NewSoundingKind kind) {
  return kind != NewSoundingKind::EmConductivity && kind != NewSoundingKind::Mt;
}

bool sameFrames(const core::CurrentSounding& a, const std::array<core::GraphFrame, 4>& b) {
  return std::memcmp(&a.dataFrames[0], &b[0], sizeof(core::GraphFrame)) == 0 &&
         std::memcmp(&a.dataFrames[1], &b[1], sizeof(core::GraphFrame)) == 0 &&
         std::memcmp(&a.modelFrames[0], &b[2], sizeof(core::GraphFrame)) == 0 &&
         std::memcmp(&a.modelFrames[1], &b[3], sizeof(core::GraphFrame)) == 0;
}

}  // namespace

void MainWindow::addNewMenu(QMenu* file) {
  using namespace command;
  using K = NewSoundingKind;
  QMenu* menu = file->addMenu(tr("&New"));
  menu->setObjectName("newMenu");
  const std::tuple<int, const char*, K> soundings[] = {
      {kNewDc, "DC Resistivty Sounding", K::Dc},
      {kNewIp, "Resistivty/&IP Sounding", K::DcIp},
      {kNewMaxMin, "MaxMin Sounding", K::MaxMin},
      {kNewEmConductivity, "EM Conductivity Sounding", K::EmConductivity},
      {kNewMt, "MT Sounding", K::Mt},
      {kNewTem, "TEM Sounding", K::Tem}};
  for (auto [number, text, kind] : soundings)
    addCommand(menu, number, text, [this, kind = kind] { newSounding(kind); });
  menu->addSeparator();
  addCommand(menu, kNewModel, "&Model", [this] { newModel(); });
  file->addSeparator();
}

void MainWindow::addGraphicsExports(QMenu* exportMenu) {
  using namespace command;
  exportMenu->addSeparator();
  // SVG and PDF are this platform's vector formats in the places of the
  // metafile formats; PNG gives a picture for documents and web pages.
  const std::tuple<int, const char*, GraphicsFormat> entries[] = {
      {kExportDxf, "D&XF Graphics File", GraphicsFormat::Dxf},
      {kExportSvg, "S&VG Graphics File", GraphicsFormat::Svg},
      {kExportPdf, "&PDF Graphics File", GraphicsFormat::Pdf},
      {kExportPng, "P&NG Picture", GraphicsFormat::Png}};
  for (auto [number, text, format] : entries)
    addCommand(exportMenu, number, text, [this, format = format] {
      exportGraphicsCommand(program_, format, plotSettings());
    });
}

void MainWindow::addPrint(QMenu* file) {
  addCommand(
      file, command::kPrint, "&Print", [this] { print(); }, QKeySequence::Print);
}

void MainWindow::addDataEditing(QMenu* edit) {
  addCommand(edit, command::kEditData, "&Data", [this] { editData(); });
}

void MainWindow::addPlotSettings(QMenu* view) {
  view->addSeparator();
  addCommand(view, command::kProperties, "&Properties", [this] { showProperties(); });
  addCommand(view, command::kFontType, "Font Type", [this] { chooseFont(); });
}

void MainWindow::addModelCommands(QMenu* calculate) {
  using namespace command;
  calculate->addSeparator();
  addCommand(calculate, kEstimateLayered, "Estimate &Layered Model",
             [this] { program_.estimateLayeredModel(); });
  addCommand(calculate, kEstimateSmooth, "Estimate &Smooth Model",
             [this] { program_.estimateSmoothModel(program_.smoothDepthRange()); });
  addCommand(calculate, kOccam, "&Occam's Inversion", [this] {
    program_.toggleOccam();
  })->setCheckable(true);
  addCommand(calculate, kSmoothDepthRange, "Smooth Model &Depth Range...",
             [this] { program_.chooseSmoothDepthRange(); });
  addCommand(calculate, kWeightErrors, "&Weight by Error Bars", [this] {
    program_.toggleErrorWeighting();
  })->setCheckable(true);
  addCommand(calculate, kAnalyzeEquivalence, "&Analyze Equivalence",
             [this] { program_.analyzeEquivalence(); });
  // The equivalence of the smooth model has no menu entry; its shortcut
  // reaches it from anywhere in the window.
  QAction* smooth = addCommand(
      nullptr, kSmoothEquivalence, "Analyze Smooth Equivalence",
      [this] { program_.analyzeSmoothEquivalence(); },
      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
  addAction(smooth);
}

void MainWindow::updateModelCommandsForType() {
  using namespace command;
  // TEM data have no forward model: no model can be estimated or judged.
  const bool forwardModel = forward::hasForwardModel(program_.current().S);
  for (int number : {kEstimateLayered, kEstimateSmooth, kAnalyzeEquivalence, kSmoothEquivalence})
    if (QAction* entry = action(number)) entry->setEnabled(forwardModel);
}

void MainWindow::newSounding(NewSoundingKind kind) {
  if (!program_.askToSave()) return;
  core::DataHeader header = core::newSoundingHeader(kind, {});
  std::vector<float> geometry;
  if (hasDialog(kind)) {
    NewSoundingDialog dialog(kind, this);
    if (dialog.exec() != QDialog::Accepted) return;
    header = dialog.header();
    geometry = dialog.geometryDefaults();
  }
  // The readings are typed into a record of their own: a cancel anywhere
  // leaves the current sounding, its type and its readings as they were.
  core::Sounding blank;
  if (!files::beginImportedData(blank, header)) return;
  DataEditor editor(blank, toolkit_, this);
  editor.setGeometryDefaults(std::move(geometry));
  if (editor.exec() != QDialog::Accepted) return;
  program_.newSounding(editor.result());
}

void MainWindow::newModel() {
  if (runModelEditor(tr("New Model"))) program_.S().layer.saved = core::kFalse;
}

void MainWindow::editData() {
  DataEditor editor(program_.S(), toolkit_, this);
  if (editor.exec() == QDialog::Accepted) program_.replaceData(editor.result());
}

void MainWindow::print() {
  present::ReportOptions options = reportOptionsOf(program_.settings().flags);
  options.userName = qEnvironmentVariable("USER").toStdString();
  PrintOptionsDialog choices(options, this);
  if (choices.exec() != QDialog::Accepted) return;
  options = choices.options();
  storeReportOptions(options, program_.settings().flags);
  QPrintDialog dialog(&printer_, this);
  dialog.setObjectName("printDialog");
  if (dialog.exec() != QDialog::Accepted) return;
  if (printReport(program_, printer_, options, plotSettings()) == 0)
    toolkit_.warning("NOTHING COULD BE PRINTED ON " + printer_.printerName().toStdString() +
                     printer_.outputFileName().toStdString());
}

void MainWindow::showProperties() {
  core::CurrentSounding& current = program_.current();
  const std::array<core::GraphFrame, 4> before = {current.dataFrames[0], current.dataFrames[1],
                                                  current.modelFrames[0], current.modelFrames[1]};
  PlotPropertiesDialog dialog(program_.view(), appearance_, current, this);
  if (dialog.exec() != QDialog::Accepted) return;
  program_.view() = dialog.view();
  appearance_ = dialog.appearance(appearance_);
  storePlotAppearance(appearance_, program_.settings().graphs);
  dialog.applyToFrames(current);
  // The frames are stored with the sounding; the switches and looks are not.
  if (!sameFrames(current, before)) current.S.layer.saved = core::kFalse;
}

void MainWindow::chooseFont() {
  QFontDialog dialog(
      QFont(appearance_.fontFamily.empty() ? QStringLiteral("DejaVu Sans")
                                           : QString::fromStdString(appearance_.fontFamily)),
      this);
  dialog.setObjectName("fontDialog");
  dialog.setWindowTitle(tr("Font Type"));
  dialog.setOption(QFontDialog::DontUseNativeDialog);
  if (dialog.exec() == QDialog::Accepted)
    appearance_.fontFamily = dialog.selectedFont().family().toStdString();
}

}  // namespace zeva::qt
