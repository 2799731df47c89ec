// The shift options dialog: it opens on the header's choices and returns the
// mode and target the user checks, or nothing when cancelled.

#include "ui/qt/gui/shift_options_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QRadioButton>

#include "tests/ui/qt/gui/modal_driver.h"

namespace zeva::ui::qt {
namespace {

QRadioButton* buttonLabelled(QWidget* dialog, const QString& label) {
  for (auto* button : dialog->findChildren<QRadioButton*>())
    if (button->text() == label) return button;
  return nullptr;
}

TEST(ShiftOptionsDialog, OpensOnTheHeadersChoices) {
  ShiftOptionsDialog dialog(2, 2);
  EXPECT_EQ(dialog.mode(), 2);
  EXPECT_EQ(dialog.target(), 2);
  ASSERT_NE(buttonLabelled(&dialog, "Shift to match &short-spacing data"), nullptr);
  EXPECT_TRUE(buttonLabelled(&dialog, "Shift to match &short-spacing data")->isChecked());
}

TEST(ShiftOptionsDialog, ReturnsTheCheckedChoicesAndNothingWhenCancelled) {
  test::ModalDriver driver;
  driver.then([](QWidget* dialog) {
    buttonLabelled(dialog, "Do &not shift")->click();
    buttonLabelled(dialog, "Shift the s&ynthetics to match the original data")->click();
    static_cast<QDialog*>(dialog)->accept();
  });
  EXPECT_EQ(askShiftOptions(nullptr, 1, 1), (std::pair{3, 2}));
  driver.then([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); });
  EXPECT_EQ(askShiftOptions(nullptr, 1, 1), std::nullopt);
  EXPECT_TRUE(driver.done());
}

}  // namespace
}  // namespace zeva::ui::qt
