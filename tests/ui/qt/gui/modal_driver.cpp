#include "tests/ui/qt/gui/modal_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace zeva::test {

ModalDriver::ModalDriver() {
  timer_.setInterval(10);
  connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
  timer_.start();
}

ModalDriver::~ModalDriver() { timer_.stop(); }

void ModalDriver::poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal || steps_.empty() || modal == lastHandled_) return;
  // A progress dialog is modal too, but it is not the dialog a step waits for.
  if (modal->inherits("QProgressDialog")) return;
  lastHandled_ = modal;
  Step step = std::move(steps_.front());
  steps_.pop_front();
  step(modal);
}

void ModalDriver::answerMessage(const QString& button) {
  then([this, button](QWidget* dialog) {
    auto* box = qobject_cast<QMessageBox*>(dialog);
    if (!box) {
      messages.push_back("<not a message box: " + QString(dialog->metaObject()->className()) + ">");
      dialog->close();
      return;
    }
    messages.push_back(box->text());
    titles.push_back(box->windowTitle());
    for (QAbstractButton* b : box->buttons()) {
      if (b->text().remove('&').compare(button, Qt::CaseInsensitive) == 0) {
        b->click();
        return;
      }
    }
    box->close();
  });
}

void ModalDriver::chooseFile(const QString& path) {
  then([path](QWidget* dialog) {
    auto* files = qobject_cast<QFileDialog*>(dialog);
    if (!files) {
      dialog->close();
      return;
    }
    // selectFile alone races with the dialog's asynchronous folder listing;
    // the name typed into the file-name field is what accept() reads.
    files->selectFile(path);
    if (auto* name = files->findChild<QLineEdit*>("fileNameEdit")) name->setText(path);
    static_cast<QDialog*>(files)->accept();  // public as a QDialog slot
  });
}

void ModalDriver::enterValue(const QString& value) {
  then([value](QWidget* dialog) {
    auto* input = qobject_cast<QInputDialog*>(dialog);
    if (!input || value.isEmpty()) {
      if (input)
        input->reject();
      else
        dialog->close();
      return;
    }
    if (input->inputMode() == QInputDialog::DoubleInput) {
      input->setDoubleValue(value.toDouble());
    } else {
      input->setTextValue(value);
    }
    input->accept();
  });
}

}  // namespace zeva::test
