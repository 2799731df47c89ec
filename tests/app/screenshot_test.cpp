// The screenshots of the documentation, taken only when ZEVA_SCREENSHOT_DIR
// names a folder and a real X server is up: with QT_QPA_PLATFORM=xcb, run
// zeva_app_tests --gtest_filter=Screenshots.* under xvfb-run -a.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPixmap>

#include "tests/support/test_support.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_toolkit.h"

namespace zeva::qt {
namespace {

TEST(Screenshots, MainWindowBeforeAndAfterInversion) {
  const QString folder = qEnvironmentVariable("ZEVA_SCREENSHOT_DIR");
  if (folder.isEmpty()) GTEST_SKIP() << "ZEVA_SCREENSHOT_DIR not set";
  test::TemporaryFolder data;
  QtToolkit toolkit;
  core::Program program(toolkit, data.path());
  MainWindow window(program, toolkit, QString());
  window.resize(1200, 800);
  window.autoscale();
  window.refresh();
  window.show();
  QApplication::processEvents();
  auto save = [&](const char* name) {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    EXPECT_TRUE(window.grab().save(QDir(folder).filePath(name)));
  };
  save("main-window-default.png");
  window.runCommand(command::kMultiple);
  save("main-window-inverted.png");
}

}  // namespace
}  // namespace zeva::qt
