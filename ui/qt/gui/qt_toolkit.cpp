#include "ui/qt/gui/qt_toolkit.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cfloat>
#include <utility>

namespace zeva::ui::qt {

namespace {

QString toQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Progress is shown in thousandths so the bar moves smoothly.
constexpr int kProgressSteps = 1000;

QString patternList(const QString& patterns) {
  QStringList result;
  for (const QString& raw : patterns.split(QRegularExpression("[;,\\s]+"), Qt::SkipEmptyParts)) {
    for (const QString& variant : {raw, raw.toUpper(), raw.toLower()})
      if (!result.contains(variant)) result.push_back(variant);
  }
  return result.join(' ');
}

std::optional<std::string> chosen(const QString& name) {
  if (name.isEmpty()) return std::nullopt;
  return name.toStdString();
}

}  // namespace

QString nameFilterOf(std::string_view filter) {
  const QStringList parts = toQString(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    const QString patterns = patternList(parts[i + 1]);
    if (description.isEmpty() && patterns.isEmpty()) continue;
    filters.push_back(description + " (" + (patterns.isEmpty() ? QString("*") : patterns) + ")");
  }
  if (filters.isEmpty()) filters.push_back(QStringLiteral("All files (*)"));
  return filters.join(";;");
}

QtToolkit::QtToolkit(QWidget* parent) : parent_(parent) {}

QtToolkit::~QtToolkit() { delete progress_.data(); }

ui::Answer QtToolkit::message(ui::MessageKind kind, std::string_view title, std::string_view text,
                              bool defaultYes) {
  QMessageBox box(parent_);
  box.setWindowTitle(toQString(title.empty() ? ui::kMessageTitle : title));
  box.setText(toQString(text));
  switch (kind) {
    case ui::MessageKind::Information:
      box.setIcon(QMessageBox::Information);
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case ui::MessageKind::Warning:
      box.setIcon(QMessageBox::Warning);
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case ui::MessageKind::OkCancel:
      box.setIcon(QMessageBox::Question);
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Ok);
      break;
    case ui::MessageKind::YesNo:
      box.setIcon(QMessageBox::Question);
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
      box.setEscapeButton(QMessageBox::No);
      break;
    case ui::MessageKind::YesNoCancel:
      box.setIcon(QMessageBox::Question);
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      box.setDefaultButton(QMessageBox::Yes);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes:
      return ui::Answer::Yes;
    case QMessageBox::No:
      return ui::Answer::No;
    case QMessageBox::Cancel:
      return ui::Answer::Cancel;
    case QMessageBox::Ok:
      return ui::Answer::Ok;
    default:
      // Closed by the window frame or Escape without an escape button.
      return kind == ui::MessageKind::Information || kind == ui::MessageKind::Warning
                 ? ui::Answer::Ok
                 : ui::Answer::Cancel;
  }
}

std::optional<double> QtToolkit::askNumber(std::string_view prompt, double initial) {
  bool ok = false;
  const double value = QInputDialog::getDouble(
      parent_, toQString(ui::kMessageTitle), toQString(prompt), initial, -DBL_MAX, DBL_MAX, 4, &ok);
  if (!ok) return std::nullopt;
  return value;
}

std::optional<std::string> QtToolkit::askText(std::string_view prompt, std::string_view initial) {
  bool ok = false;
  const QString value =
      QInputDialog::getText(parent_, toQString(ui::kMessageTitle), toQString(prompt),
                            QLineEdit::Normal, toQString(initial), &ok);
  if (!ok) return std::nullopt;
  return value.toStdString();
}

QString QtToolkit::startPath(std::string_view initialName) const {
  const QString name = toQString(initialName);
  if (startFolder_.isEmpty() || QFileInfo(name).isAbsolute()) return name;
  return QDir(startFolder_).filePath(name);
}

std::optional<std::string> QtToolkit::remember(const QString& name) {
  if (!name.isEmpty()) chosenFolder_ = QFileInfo(name).absolutePath();
  return chosen(name);
}

std::optional<std::string> QtToolkit::chooseFileToOpen(const ui::FileFilter& filter,
                                                       std::string_view initialName) {
  if (!presetFile_.isEmpty()) return remember(std::exchange(presetFile_, QString()));
  return remember(QFileDialog::getOpenFileName(
      parent_, toQString(filter.title), startPath(initialName), nameFilterOf(filter.filter)));
}

std::optional<std::string> QtToolkit::chooseFileToSave(const ui::FileFilter& filter,
                                                       std::string_view initialName) {
  return remember(QFileDialog::getSaveFileName(
      parent_, toQString(filter.title), startPath(initialName), nameFilterOf(filter.filter)));
}

std::optional<QString> QtToolkit::takeChosenFolder() {
  if (chosenFolder_.isEmpty()) return std::nullopt;
  return std::exchange(chosenFolder_, QString());
}

void QtToolkit::showProgress(std::string_view title) {
  if (!progress_) {
    progress_ = new QProgressDialog(parent_);
    progress_->setWindowTitle(toQString(ui::kMessageTitle));
    progress_->setCancelButtonText(QObject::tr("Cancel"));
    progress_->setRange(0, kProgressSteps);
    progress_->setMinimumDuration(0);
    progress_->setAutoReset(false);
    progress_->setAutoClose(false);
    progress_->setWindowModality(Qt::ApplicationModal);
    QObject::connect(progress_.data(), &QProgressDialog::canceled, [this] { interrupted_ = true; });
  }
  // A cancel of this command stays in force through later progress phases.
  if (progress_->wasCanceled()) interrupted_ = true;
  progress_->reset();
  progress_->setLabelText(toQString(title));
  progress_->setValue(0);
  progress_->show();
  QCoreApplication::processEvents();
}

void QtToolkit::setProgress(double fraction, std::string_view text) {
  if (!progress_ || !progress_->isVisible()) return;
  progress_->setLabelText(toQString(text));
  progress_->setValue(static_cast<int>(std::clamp(fraction, 0.0, 1.0) * kProgressSteps));
}

void QtToolkit::hideProgress() {
  if (progress_) progress_->hide();
}

bool QtToolkit::progressVisible() const { return progress_ && progress_->isVisible(); }

void QtToolkit::beginCommand() {
  interrupted_ = false;
  if (progress_) progress_->reset();
  inCommand_ = true;
  commandClock_.start();
}

void QtToolkit::endCommand() {
  inCommand_ = false;
  hideProgress();
}

bool QtToolkit::pollInterrupt() {
  if (inCommand_ && !progressVisible() && commandClock_.elapsed() >= busyDelayMs_) {
    showProgress(kBusyLabel);
  }
  // While the modal progress dialog is up it filters the user's input itself;
  // without it, only repaints and timers are let through so that no second
  // command starts inside a running one.
  QCoreApplication::processEvents(progressVisible() ? QEventLoop::AllEvents
                                                    : QEventLoop::ExcludeUserInputEvents);
  if (progress_ && progress_->wasCanceled()) interrupted_ = true;
  return interrupted_;
}

void QtToolkit::setStatus(int pane, std::string_view text) {
  if (statusSink_) statusSink_(pane, toQString(text));
}

void QtToolkit::requestRedraw() {
  if (redrawSink_) redrawSink_();
}

}  // namespace zeva::ui::qt
