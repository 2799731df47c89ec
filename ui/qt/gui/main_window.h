#pragma once
// The main window of the desktop program: the data and model plots of the
// current sounding, the menus File, Edit, View, Calculate and Help with the
// toolbar, and the status bar. Every menu entry runs one command of
// core::Program; after it the window runs the plot set-up when the command
// asked for it, rebuilds the title, the type-dependent menus and the check
// marks, and repaints.

#include <QMainWindow>
#include <QPointer>
#include <QPrinter>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include "core/program/command_table.h"
#include "core/program/program.h"
#include "present/sounding_plots.h"
#include "ui/qt/gui/qt_toolkit.h"

class QAction;
class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QMenu;
class QTimer;

namespace zeva::ui::qt {

class SoundingPlotWidget;
class ModelDragController;
class WellLogWindow;
class SurveyWindow;

inline constexpr std::string_view kStartTitle = "Kelvorin Limited 1-D Interpretation";
// "Kelvorin 1-D Sounding Inversion [" + the 24-character sounding name + "]".
QString soundingTitle(const core::Sounding& S);

class MainWindow : public QMainWindow {
 public:
  // The window shows and commands `program`, whose toolkit is `toolkit`.
  // `helpFile` is the HTML help shown by Help, Contents.
  MainWindow(core::Program& program, QtToolkit& toolkit, QString helpFile);
  ~MainWindow() override;

  // The menu entry (or toolbar button) of a command; null when the command
  // has no entry.
  QAction* action(core::CommandId id) const;
  // Runs a command as its menu entry does.
  void runCommand(core::CommandId id);

  // The plot settings the window draws with: the program's view switches
  // over the captions and colours of the settings file.
  present::PlotSettings plotSettings() const;
  // The plot set-up of the current sounding (autoscale).
  void autoscale();
  // Title, menus for the data type, check marks, status panes and a repaint:
  // what the window shows before it waits for the next event.
  void refresh();

  QString statusText(int pane) const;
  SoundingPlotWidget* plotWidget() const { return plots_; }
  // Mouse editing on the plots, and the well-log window (null while closed).
  ModelDragController* dragController() const { return drag_.get(); }
  WellLogWindow* wellLogWindow() const;
  // "Well Log File": reads a log and shows it in the well-log window.
  void importWellLog();
  core::Program& program() { return program_; }
  // "Open Survey...": chooses a survey folder and shows its section in the
  // survey window (main_window_survey.cpp).
  void chooseSurvey();
  void openSurvey(const std::filesystem::path& folder);
  SurveyWindow* surveyWindow() const;
  // Reads a sounding as File, Open does, after asking to save the current one.
  void openSoundingFile(const std::filesystem::path& file);

  // The printer File, Print prints on; it keeps the user's choices of the
  // print dialog from one print to the next.
  QPrinter& printer() { return printer_; }

  // Asks to save and closes: false when the user cancelled.
  bool exitProgram();
  // The recovery file of the unsaved sounding: written every few minutes
  // and on a crash, removed on a normal exit.
  void setRecoveryFile(std::filesystem::path file);
  // At start-up: when an earlier run left a recovery file, asks whether to
  // open its sounding; true when it was opened. The file goes either way.
  bool offerRecovery();
  // Writes the recovery file now (the autosave timer's work).
  void autosave();
  // Reads a file as if it had been dropped on the window.
  void openDroppedFile(const QString& file);
  // Called on exit with the window's normal geometry, to be remembered.
  void setExitHandler(std::function<void(const QRect& normalGeometry)> handler) {
    exitHandler_ = std::move(handler);
  }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // The entry of a command, in no menu yet (main_window_menus.cpp).
  QAction* addCommand(core::CommandId id, const QString& text, std::function<void()> run,
                      const QKeySequence& shortcut = {});
  // The handlers of the entries the window runs itself; the others run the
  // program's command of the command table.
  std::map<core::CommandId, std::function<void()>> windowCommands();
  void buildMenus();
  void buildToolBar();
  void updateMenusForType();
  void updateChecks();
  void showHelp();
  // The model editor on the current model; true when it was accepted (the
  // plot set-up then follows).
  bool runModelEditor(const QString& title = {});
  void editModel();
  // Commands with dialogs of their own (main_window_commands.cpp).
  void newSounding(core::NewSoundingKind kind);
  void newModel();
  void editData();
  void print();
  void showProperties();
  void chooseFont();
  void shiftSegments();
  void showAbout();
  void setStatus(int pane, const QString& text);
  // A command with the window's bookkeeping around it; a command that
  // throws shows why and leaves the record as it was before it
  // (main_window_session.cpp).
  void runAction(const std::function<void()>& run);
  void runGuarded(const std::function<void()>& run);
  void addRecentFiles(QMenu* file);
  void updateRecentFiles();
  void openRecent(int index);
  void keepRecovery();
  void dropRecoveryFile();
  void showCursorValues(QPointF devicePoint);

  core::Program& program_;
  QtToolkit& toolkit_;
  QString helpFile_;
  SoundingPlotWidget* plots_ = nullptr;
  std::map<core::CommandId, QAction*> actions_;
  std::map<core::CommandId, std::function<void()>> commands_;
  std::map<int, QLabel*> panes_;
  bool busy_ = false;
  bool closing_ = false;
  std::function<void(const QRect&)> exitHandler_;
  QPrinter printer_;
  // How the plots look (heights, colours, font) beside the view switches.
  present::PlotSettings appearance_;
  std::unique_ptr<ModelDragController> drag_;
  QPointer<WellLogWindow> wellLog_;
  QPointer<SurveyWindow> survey_;
  QMenu* recent_ = nullptr;
  QTimer* autosave_ = nullptr;
  std::filesystem::path recoveryFile_;
};

}  // namespace zeva::ui::qt
