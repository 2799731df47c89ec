// The main window's part in surveys: File, Open Survey and the sounding a
// click in the survey window opens.

#include <QFileDialog>

#include "ui/qt/gui/main_window.h"
#include "ui/qt/gui/survey_window.h"

namespace zeva::ui::qt {

void MainWindow::chooseSurvey() {
  const QString start = survey_ ? QString::fromStdString(survey_->folder().string())
                                : QString::fromStdString(program_.dataFolder().string());
  const QString folder = QFileDialog::getExistingDirectory(this, tr("Open Survey"), start);
  if (!folder.isEmpty()) openSurvey(folder.toStdString());
}

void MainWindow::openSurvey(const std::filesystem::path& folder) {
  if (!survey_)
    survey_ = new SurveyWindow(
        toolkit_, [this](const std::function<void()>& run) { runAction(run); },
        [this](const std::filesystem::path& file) {
          openSoundingFile(file);
          raise();
          activateWindow();
        },
        this);
  if (!survey_->openFolder(folder)) return;
  survey_->show();
  survey_->raise();
  survey_->activateWindow();
}

SurveyWindow* MainWindow::surveyWindow() const { return survey_.data(); }

void MainWindow::openSoundingFile(const std::filesystem::path& file) {
  runAction([this, file] {
    if (program_.file().askToSave()) core::finish(program_.file().openFile(file));
  });
}

}  // namespace zeva::ui::qt
