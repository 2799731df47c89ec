// The main window's commands that bring dialogs of their own: File, New with
// the new-sounding dialogs and the data editor, Edit, Data, the graphics
// exports and Print with its options, View, Properties and Font Type, and
// the model commands of the Calculate menu.

#include <QFontDialog>
#include <QPrintDialog>
#include <array>
#include <cstring>

#include "core/record/data_type.h"
#include "files/sounding_import.h"
#include "ui/qt/gui/data_editor.h"
#include "ui/qt/gui/main_window.h"
#include "ui/qt/gui/new_sounding_dialog.h"
#include "ui/qt/gui/plot_properties_dialog.h"
#include "ui/qt/gui/print_options_dialog.h"
#include "ui/qt/render/program_graphics.h"

namespace zeva::ui::qt {

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

void MainWindow::newSounding(NewSoundingKind kind) {
  if (!program_.file().askToSave()) return;
  core::NewSoundingChoices choices;
  core::DataHeader header = core::newSoundingHeader(kind, choices);
  std::vector<float> geometry;
  if (hasDialog(kind)) {
    NewSoundingDialog dialog(kind, this);
    if (dialog.exec() != QDialog::Accepted) return;
    choices = dialog.choices();
    header = dialog.header();
    geometry = dialog.geometryDefaults();
  }
  // The readings are typed into a record of their own: a cancel anywhere
  // leaves the current sounding, its type and its readings as they were.
  core::Sounding blank;
  if (!files::beginImportedData(blank, header)) return;
  if (kind == NewSoundingKind::Tem) core::setFirstSweep(blank, choices.tem);
  DataEditor editor(blank, toolkit_, this);
  editor.setGeometryDefaults(std::move(geometry));
  if (editor.exec() != QDialog::Accepted) return;
  core::finish(program_.data().newSounding(editor.result()));
}

void MainWindow::newModel() {
  if (runModelEditor(tr("New Model"))) program_.S().layer.saved = core::kFalse;
}

void MainWindow::editData() {
  DataEditor editor(program_.S(), toolkit_, this);
  if (editor.exec() == QDialog::Accepted)
    core::finish(program_.data().replaceData(editor.result()));
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

}  // namespace zeva::ui::qt
