#pragma once
// The toolkit of the desktop program: message boxes, number and text prompts,
// file choosers and the modal progress dialog as Qt dialogs over the main
// window. Long calculations run on the GUI thread; pollInterrupt() lets Qt
// deliver pending events (repaints, the progress dialog's Cancel button) so
// the window stays alive without threads.

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>
#include <QString>
#include <functional>
#include <optional>

#include "ui/toolkit/toolkit.h"

class QWidget;

namespace zeva::ui::qt {

// "Description|pattern|" pairs as a Qt name filter, "Description (pattern)"
// joined by ";;". Patterns separated by ';' become a space-separated list, and
// each pattern is offered in upper and lower case, since file names on Linux
// are case-sensitive and the program's extensions are written in capitals.
QString nameFilterOf(std::string_view filter);

class QtToolkit : public ui::Toolkit {
 public:
  explicit QtToolkit(QWidget* parent = nullptr);
  ~QtToolkit() override;
  QtToolkit(const QtToolkit&) = delete;
  QtToolkit& operator=(const QtToolkit&) = delete;

  // The window the dialogs are centred on; may change after construction.
  void setParent(QWidget* parent) { parent_ = parent; }
  // Receivers of the status-bar texts and of redraw requests.
  void setStatusSink(std::function<void(int pane, const QString& text)> sink) {
    statusSink_ = std::move(sink);
  }
  void setRedrawSink(std::function<void()> sink) { redrawSink_ = std::move(sink); }

  ui::Answer message(ui::MessageKind kind, std::string_view title, std::string_view text,
                     bool defaultYes = true) override;
  std::optional<double> askNumber(std::string_view prompt, double initial) override;
  std::optional<std::string> askText(std::string_view prompt, std::string_view initial) override;
  std::optional<std::string> chooseFileToOpen(const ui::FileFilter& filter,
                                              std::string_view initialName) override;
  std::optional<std::string> chooseFileToSave(const ui::FileFilter& filter,
                                              std::string_view initialName) override;
  void showProgress(std::string_view title) override;
  // The label of the dialog a long command gets without progress of its own.
  static constexpr std::string_view kBusyLabel = "Calculating...";
  void setProgress(double fraction, std::string_view text) override;
  void hideProgress() override;
  bool pollInterrupt() override;
  void setStatus(int pane, std::string_view text) override;
  void requestRedraw() override;

  // A command starts with no interrupt pending; when it is still polling
  // after `busyDelayMs` without having shown progress of its own, the
  // progress dialog comes up anyway so that it can be cancelled. The
  // command's end hides the dialog.
  void beginCommand();
  void endCommand();
  void setBusyDelay(int milliseconds) { busyDelayMs_ = milliseconds; }
  bool progressVisible() const;
  // The progress dialog while it is shown (for tests that press Cancel).
  QProgressDialog* progressDialog() const { return progress_; }

  // The folder file dialogs start in when they are given a bare name (the
  // program's working folder).
  void setStartFolder(QString folder) { startFolder_ = std::move(folder); }
  // The next file-open dialog is answered with `file` without being shown:
  // a file dropped on the window goes through the command that reads it.
  void presetNextFile(QString file) { presetFile_ = std::move(file); }
  void clearPresetFile() { presetFile_.clear(); }
  // The folder of the file last chosen in a dialog, once; empty when none
  // was chosen since the last call.
  std::optional<QString> takeChosenFolder();

 private:
  QPointer<QWidget> parent_;
  QPointer<QProgressDialog> progress_;
  bool interrupted_ = false;
  bool inCommand_ = false;
  int busyDelayMs_ = 1000;
  QElapsedTimer commandClock_;
  std::function<void(int, const QString&)> statusSink_;
  std::function<void()> redrawSink_;
  QString startFolder_, presetFile_, chosenFolder_;
  QString startPath(std::string_view initialName) const;
  std::optional<std::string> remember(const QString& name);
};

}  // namespace zeva::ui::qt
