// A window command that throws half-way: the window shows why and the
// sounding is as it was before the command.

#include <gtest/gtest.h>

#include <QApplication>
#include <stdexcept>
#include <vector>

#include "core/program/program.h"
#include "tests/support/test_support.h"
#include "tests/ui/qt/gui/modal_driver.h"
#include "ui/qt/gui/main_window.h"
#include "ui/qt/gui/qt_toolkit.h"

namespace zeva::ui::qt {
namespace {

// Fails as a lost device would when the fit is shown, which the inversion
// commands do after they changed the model.
class FailingFitPane : public QtToolkit {
 public:
  void setStatus(int pane, std::string_view text) override {
    if (armed && pane == core::kFitStatusPane) throw std::runtime_error("status pane lost");
    QtToolkit::setStatus(pane, text);
  }
  bool armed = false;
};

TEST(WindowCommandGuard, ACommandThatThrowsShowsWhyAndKeepsTheSounding) {
  test::TemporaryFolder folder;
  FailingFitPane toolkit;
  core::Program program(toolkit, folder.path());
  MainWindow window(program, toolkit, QString());
  window.show();
  const std::vector<float> parameters = program.S().M.PAR;
  const core::Logical saved = program.S().layer.saved;
  test::ModalDriver driver;
  driver.answerMessage("OK");
  toolkit.armed = true;
  window.action(core::CommandId::Single)->trigger();
  QApplication::processEvents();
  EXPECT_TRUE(driver.done());
  EXPECT_EQ(driver.messages, QStringList{"The command stopped: status pane lost\n"
                                         "The sounding is as it was before the command."});
  EXPECT_EQ(program.S().M.PAR, parameters);
  EXPECT_EQ(program.S().layer.saved, saved);
  EXPECT_FALSE(program.history().canUndo());
  // The same command without the failure changes the model: the guard, not
  // the command, kept it.
  toolkit.armed = false;
  window.action(core::CommandId::Single)->trigger();
  EXPECT_NE(program.S().M.PAR, parameters);
}

}  // namespace
}  // namespace zeva::ui::qt
