// What the main window does so that no work is lost: undo and redo, the
// recent-files list, files dropped on the window, the guard around every
// command, and the recovery file written every few minutes and on a crash.

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <exception>
#include <system_error>

#include "core/program/command_guard.h"
#include "core/program/recovery_file.h"
#include "ui/qt/gui/main_window.h"

namespace zeva::ui::qt {

namespace {

// The files the window reads when they are dropped on it, by extension.
enum class DroppedKind { Native, Usf, Edi, FlatAscii, Other };

DroppedKind droppedKind(const QString& file) {
  const QString extension = QFileInfo(file).suffix().toUpper();
  if (extension == "ZVR") return DroppedKind::Native;
  if (extension == "USF") return DroppedKind::Usf;
  if (extension == "EDI") return DroppedKind::Edi;
  if (extension == "DAT") return DroppedKind::FlatAscii;
  return DroppedKind::Other;
}

std::optional<QString> droppedFile(const QMimeData* data) {
  if (!data || !data->hasUrls() || data->urls().size() != 1) return std::nullopt;
  const QUrl url = data->urls().front();
  if (!url.isLocalFile() || droppedKind(url.toLocalFile()) == DroppedKind::Other)
    return std::nullopt;
  return url.toLocalFile();
}

// How often the unsaved sounding is written to the recovery file.
constexpr int kAutosaveMilliseconds = 3 * 60 * 1000;

}  // namespace

void MainWindow::runGuarded(const std::function<void()>& run) {
  const core::Logical savedBefore = program_.S().layer.saved;
  if (const auto failure = core::failureOf(run)) {
    // The record may be half changed: it goes back to its state before.
    toolkit_.endCommand();
    core::finish(program_.history().revertToLastState());
    program_.S().layer.saved = savedBefore;
    toolkit_.warning("The command stopped: " + *failure +
                     "\nThe sounding is as it was before the command.");
  }
  if (const auto folder = toolkit_.takeChosenFolder())
    program_.state().setDataFolder(folder->toStdString());
}

void MainWindow::addRecentFiles(QMenu* file) {
  recent_ = file->addMenu(tr("Recent &Files"));
  recent_->setObjectName("recentMenu");
  for (int i = 0; i < static_cast<int>(settings::kRecentFileCount); ++i) {
    recent_->addAction(addCommand(core::recentFileCommand(static_cast<std::size_t>(i)), QString(),
                                  [this, i] { openRecent(i); }));
  }
}

void MainWindow::updateRecentFiles() {
  // The file last read or written goes to the top of the list.
  const std::filesystem::path& current = program_.file().soundingFile();
  auto& files = program_.settings().recentFiles;
  if (!current.empty() && files.front() != current.string()) {
    const std::string latest = current.string();
    auto end = std::remove(files.begin(), files.end(), latest);
    std::fill(end, files.end(), std::string());
    std::rotate(files.begin(), files.end() - 1, files.end());
    files.front() = latest;
  }
  bool any = false;
  for (int i = 0; i < static_cast<int>(files.size()); ++i) {
    QAction* entry = action(core::recentFileCommand(static_cast<std::size_t>(i)));
    const QString name = QString::fromStdString(files[static_cast<std::size_t>(i)]);
    entry->setVisible(!name.isEmpty());
    entry->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
    any = any || !name.isEmpty();
  }
  recent_->setEnabled(any);
}

void MainWindow::openRecent(int index) {
  const std::string file = program_.settings().recentFiles[static_cast<std::size_t>(index)];
  if (file.empty() || !program_.file().askToSave()) return;
  core::finish(program_.file().openFile(file));
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!busy_ && droppedFile(event->mimeData())) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const auto file = droppedFile(event->mimeData());
  if (!file || busy_) return;
  event->acceptProposedAction();
  // Run after the drop has returned, so that the questions and dialogs of
  // the command do not block the source of the drag.
  QTimer::singleShot(0, this, [this, name = *file] { openDroppedFile(name); });
}

void MainWindow::openDroppedFile(const QString& file) {
  switch (droppedKind(file)) {
    case DroppedKind::Native:
      openSoundingFile(file.toStdString());
      return;
    case DroppedKind::Usf:
      toolkit_.presetNextFile(file);
      runCommand(core::CommandId::ImportUsf);
      break;
    case DroppedKind::Edi:
      toolkit_.presetNextFile(file);
      runCommand(core::CommandId::ImportEdi);
      break;
    case DroppedKind::FlatAscii: {
      // A column file says nothing of its family: the user picks the importer.
      QMenu choose(this);
      choose.setObjectName("dropImportMenu");
      using C = core::CommandId;
      for (C id : {C::ImportResistivity, C::ImportResistivityIp, C::ImportMaxMin,
                   C::ImportEmConductivity, C::ImportMt, C::ImportTem})
        choose.addAction(action(id));
      toolkit_.presetNextFile(file);
      choose.exec(QCursor::pos());
      break;
    }
    case DroppedKind::Other:
      break;
  }
  toolkit_.clearPresetFile();
}

void MainWindow::setRecoveryFile(std::filesystem::path file) {
  recoveryFile_ = std::move(file);
  if (!autosave_) {
    autosave_ = new QTimer(this);
    autosave_->setObjectName("autosaveTimer");
    connect(autosave_, &QTimer::timeout, this, [this] { autosave(); });
  }
  autosave_->start(kAutosaveMilliseconds);
}

bool MainWindow::offerRecovery() {
  std::error_code ec;
  if (recoveryFile_.empty() || !std::filesystem::exists(recoveryFile_, ec)) return false;
  bool recovered = false;
  if (toolkit_.yesNo(core::kRecoveryQuestion, true)) {
    recovered = program_.file().recover(recoveryFile_).done();
    if (program_.state().autoscalePending()) autoscale();
  }
  // Declined or taken: the file has done its work (a taken sounding is
  // kept again from now on).
  std::filesystem::remove(recoveryFile_, ec);
  refresh();
  return recovered;
}

void MainWindow::keepRecovery() {
  const bool unsaved = !core::isSet(program_.S().layer.saved);
  core::keepForCrash(unsaved ? std::string_view(program_.history().recordState())
                             : std::string_view());
}

void MainWindow::autosave() {
  if (recoveryFile_.empty()) return;
  std::error_code ec;
  if (core::isSet(program_.S().layer.saved))
    std::filesystem::remove(recoveryFile_, ec);
  else
    core::writeRecoveryFile(recoveryFile_, program_.history().recordState());
}

void MainWindow::dropRecoveryFile() {
  if (recoveryFile_.empty()) return;
  std::error_code ec;
  std::filesystem::remove(recoveryFile_, ec);
  core::keepForCrash({});
}

}  // namespace zeva::ui::qt
