#pragma once
// A shown main window on the default sounding, its program working in a
// temporary folder (where a help file "zeva.html" is looked for and is
// missing), and the way window tests run a menu entry.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>

#include "tests/support/test_support.h"
#include "tests/ui/qt/gui/modal_driver.h"
#include "ui/qt/gui/main_window.h"
#include "ui/qt/gui/qt_toolkit.h"

namespace zeva::ui::qt {

class WindowFixture : public ::testing::Test {
 protected:
  WindowFixture() : program(toolkit, folder.path()), window(program, toolkit, helpFile()) {
    window.resize(1000, 700);
    window.show();
  }

  QString helpFile() const { return QString::fromStdString((folder / "zeva.html").string()); }

  // Triggers the menu entry of a command as a click on it would; the dialogs
  // the test queued on the driver must all have come up.
  void trigger(core::CommandId id) {
    QAction* entry = window.action(id);
    ASSERT_NE(entry, nullptr) << id;
    ASSERT_TRUE(entry->isEnabled()) << id;
    entry->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(driver.done()) << "a dialog the test expected did not come up";
  }

  core::Sounding& S() { return program.S(); }

  test::TemporaryFolder folder;
  QtToolkit toolkit;
  core::Program program;
  MainWindow window;
  test::ModalDriver driver;
};

}  // namespace zeva::ui::qt
