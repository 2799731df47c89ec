#pragma once
// Answers modal dialogs in window tests: each queued step runs on the next
// modal dialog that comes up (a message box, a file dialog, a prompt, an
// editor) and closes it the way a user would.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>

class QWidget;
class QMessageBox;

namespace zeva::test {

class ModalDriver : public QObject {
 public:
  using Step = std::function<void(QWidget* dialog)>;

  ModalDriver();
  ~ModalDriver() override;

  void then(Step step) { steps_.push_back(std::move(step)); }
  // A message box: its text is recorded, then the button with this role text
  // ("OK", "Yes", "No", "Cancel") is pressed.
  void answerMessage(const QString& button);
  // A file dialog: the file is chosen and accepted.
  void chooseFile(const QString& path);
  // A number or text prompt: the value is entered and accepted, or the
  // prompt cancelled when `value` is empty.
  void enterValue(const QString& value);

  bool done() const { return steps_.empty(); }
  QStringList messages;  // texts of the message boxes answered
  QStringList titles;    // their window titles

 private:
  void poll();
  std::deque<Step> steps_;
  QPointer<QWidget> lastHandled_;
  QTimer timer_;
};

}  // namespace zeva::test
