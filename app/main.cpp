// zeva, the desktop program: starts the toolkit, reads the settings, opens
// the main window on the default sounding, reloads the last sounding and runs
// the event loop until Exit, then writes the settings back.

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <cmath>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string_view>
#include <tuple>

#include "core/program/program.h"
#include "core/program/recovery_file.h"
#include "core/program/shown_messages.h"
#include "core/record/floating_point.h"
#include "settings/settings_file.h"
#include "ui/qt/gui/main_window.h"
#include "ui/qt/gui/qt_toolkit.h"

namespace {

// The help file: beside the executable in a build tree, in the shared data
// folder (share/zeva) of an installed program.
QString helpFile() {
  const QFileInfo executable(QCoreApplication::applicationFilePath());
  const QString name = executable.completeBaseName() + ".html";
  const QString beside = executable.dir().filePath(name);
  if (QFileInfo::exists(beside)) return beside;
  return executable.dir().filePath("../share/zeva/" + name);
}

// The view switches that persist between runs.
void applyDisplayFlags(const zeva::settings::DisplayFlags& flags, zeva::core::ViewSwitches& view) {
  view.majorGridData = flags.gridMajorData;
  view.minorGridData = flags.gridMinorData && flags.gridMajorData;
  view.majorGridModel = flags.gridMajorModel;
  view.minorGridModel = flags.gridMinorModel && flags.gridMajorModel;
  view.showBostick = flags.bostick;
  view.showNiblett = flags.niblett;
  view.redLine = flags.redLine;
}

void keepDisplayFlags(const zeva::core::ViewSwitches& view, bool modelOnData,
                      zeva::settings::DisplayFlags& flags) {
  flags.zoom = view.zoom;
  flags.layered = view.showLayered;
  flags.smooth = view.showSmooth;
  flags.equivalence = view.showEquivalence;
  flags.modelOnData = modelOnData;
  flags.gridMajorData = view.majorGridData;
  flags.gridMinorData = view.minorGridData;
  flags.gridMajorModel = view.majorGridModel;
  flags.gridMinorModel = view.minorGridModel;
  flags.bostick = view.showBostick;
  flags.niblett = view.showNiblett;
  flags.redLine = view.redLine;
}

// The main window: 5 % of the screen width from the left, 60 % of the
// screen in each direction, unless the last run left a placement on screen.
QRect windowPlacement(const zeva::settings::WindowPlacement& w) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  QRect placement(screen.left() + static_cast<int>(std::lround(0.05 * screen.width())),
                  screen.top() + static_cast<int>(std::lround(0.05 * screen.height())),
                  static_cast<int>(std::lround(0.6 * screen.width())),
                  static_cast<int>(std::lround(0.6 * screen.height())));
  if (w.windowW > 0 && w.windowH > 0 &&
      screen.intersects(QRect(w.windowX, w.windowY, w.windowW, w.windowH)))
    placement = QRect(w.windowX, w.windowY, w.windowW, w.windowH);
  return placement;
}

// The working folder of the last run, or the current one; the program
// changes to it.
std::filesystem::path enterDataFolder(const std::string& lastDir) {
  std::error_code ignored;
  std::filesystem::path dataFolder = lastDir;
  if (dataFolder.empty() || !std::filesystem::is_directory(dataFolder, ignored))
    dataFolder = std::filesystem::current_path(ignored);
  std::filesystem::current_path(dataFolder, ignored);
  return dataFolder;
}

// The name of the last sounding of the previous run, without trailing blanks.
std::string lastSoundingOf(const zeva::settings::Settings& stored) {
  std::string lastName =
      stored.lastFile.substr(0, std::tuple_size_v<decltype(zeva::core::NameText::chars)>);
  while (!lastName.empty() && lastName.back() == ' ') lastName.pop_back();
  return lastName;
}

// At Exit: the window's normal placement, the view, the folder and the last
// sounding written to the settings file.
void writeSettingsOnExit(zeva::core::Program& program, const QRect& normal,
                         const std::filesystem::path& settingsFile, zeva::ui::Toolkit& toolkit) {
  zeva::settings::Settings& kept = program.settings();
  if (normal.isValid()) {
    kept.windows.windowX = normal.x();
    kept.windows.windowY = normal.y();
    kept.windows.windowW = normal.width();
    kept.windows.windowH = normal.height();
  }
  keepDisplayFlags(program.view(), zeva::core::isSet(program.current().modelOnData), kept.flags);
  kept.lastDir = program.dataFolder().string();
  const std::string last = program.file().lastSoundingName().isBlank()
                               ? kept.lastFile
                               : program.file().lastSoundingName().trimmed();
  zeva::core::shown(toolkit, zeva::settings::writeSettingsFile(settingsFile, kept, last));
}

int run(QApplication& app) {
  using namespace zeva;
  ui::qt::QtToolkit toolkit;

  // The settings; a first start has no file and keeps the built-in values.
  const std::filesystem::path settingsFile = settings::settingsPath();
  settings::Settings stored;
  std::error_code ignored;
  if (std::filesystem::exists(settingsFile, ignored))
    core::shown(toolkit, settings::readSettingsFile(settingsFile, stored));
  const QRect placement = windowPlacement(stored.windows);
  const std::filesystem::path dataFolder = enterDataFolder(stored.lastDir);

  // The debug log of calculation errors lives in the user's state folder and
  // the recovery file in the user's data folder, not in whatever folder the
  // program started in.
  std::ofstream debugLog(core::stateFolder() / core::kDebugLogName, std::ios::app);
  const std::filesystem::path recoveryFile = core::userDataFolder() / core::kRecoveryFileName;

  // The default sounding with its segments (built by the program).
  core::Program program(toolkit, dataFolder, debugLog ? &debugLog : nullptr);
  // The mouse trace of model drags and zoom boxes, for support cases.
  program.layers().setMouseTrace(qEnvironmentVariableIsSet("ZEVA_MOUSE_TRACE"));
  program.settings() = stored;
  applyDisplayFlags(stored.flags, program.view());

  ui::qt::MainWindow window(program, toolkit, helpFile());
  window.setGeometry(placement);
  window.autoscale();

  // The last sounding of the previous run.
  const std::string lastName = lastSoundingOf(stored);
  window.show();
  if (!lastName.empty()) {
    core::finish(program.file().reload(lastName));
    if (program.state().autoscalePending()) window.autoscale();
  }
  window.refresh();
  window.setRecoveryFile(recoveryFile);
  core::installCrashRecovery(recoveryFile);
  window.offerRecovery();
  // What start-up read is where undo stops.
  program.history().resetHistory();
  window.refresh();

  window.setExitHandler(
      [&](const QRect& normal) { writeSettingsOnExit(program, normal, settingsFile, toolkit); });
  return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
  // Answered before Qt starts, so that it needs no display.
  if (argc == 2 && std::string_view(argv[1]) == "--version") {
    std::cout << "zeva " << ZEVA_VERSION << '\n';
    return 0;
  }
  zeva::core::flushDenormalsToZero();
  QApplication app(argc, argv);
  QApplication::setApplicationName("ZEVA");
  QApplication::setOrganizationName("Kelvorin");
  // The icon the package installs into the icon theme.
  QApplication::setWindowIcon(QIcon::fromTheme("zeva"));
  try {
    return run(app);
  } catch (const std::exception& e) {
    std::cerr << "zeva: " << e.what() << '\n';
  } catch (...) {
    std::cerr << "zeva: unexpected failure\n";
  }
  return 1;
}
