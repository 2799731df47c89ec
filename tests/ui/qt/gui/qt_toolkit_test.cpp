#include "ui/qt/gui/qt_toolkit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include "tests/ui/qt/gui/modal_driver.h"

namespace zeva::ui::qt {
namespace {

// Presses the Cancel button of the progress dialog as the user would.
void pressCancel(QtToolkit& toolkit) {
  for (QPushButton* button : toolkit.progressDialog()->findChildren<QPushButton*>())
    if (button->text().remove('&') == "Cancel") button->click();
}

struct FilterCase {
  const char* filter;
  const char* expected;
};

class NameFilter : public ::testing::TestWithParam<FilterCase> {};

TEST_P(NameFilter, PairsBecomeQtFiltersWithBothCases) {
  EXPECT_EQ(nameFilterOf(GetParam().filter).toStdString(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Filters, NameFilter,
    ::testing::Values(FilterCase{"ZEVA Binary File|*.ZVR|", "ZEVA Binary File (*.ZVR *.zvr)"},
                      FilterCase{"Data|*.DAT;*.TXT|All files|*.*|",
                                 "Data (*.DAT *.dat *.TXT *.txt);;All files (*.*)"},
                      FilterCase{"USF file|*.usf|", "USF file (*.usf *.USF)"},
                      FilterCase{"", "All files (*)"}));

TEST(QtToolkitMessages, EachKindAnswersWithTheButtonPressed) {
  QtToolkit toolkit;
  test::ModalDriver driver;
  driver.answerMessage("OK");
  driver.answerMessage("Cancel");
  driver.answerMessage("No");
  driver.answerMessage("Cancel");
  driver.answerMessage("Yes");
  toolkit.information("first");
  EXPECT_FALSE(toolkit.okCancel("second"));
  EXPECT_FALSE(toolkit.yesNo("third", true));
  EXPECT_EQ(toolkit.yesNoCancel("fourth"), ui::Answer::Cancel);
  EXPECT_EQ(toolkit.message(ui::MessageKind::YesNo, "USF File Error", "fifth"), ui::Answer::Yes);
  EXPECT_EQ(driver.messages, (QStringList{"first", "second", "third", "fourth", "fifth"}));
  EXPECT_EQ(driver.titles, (QStringList{"Kelvorin Library Message", "Kelvorin Library Message",
                                        "Kelvorin Library Message", "Kelvorin Library Message",
                                        "USF File Error"}));
}

TEST(QtToolkitPrompts, NumbersAndTextsComeBackOrCancel) {
  QtToolkit toolkit;
  test::ModalDriver driver;
  driver.enterValue("2.5");
  driver.enterValue("");
  driver.enterValue("Station 4");
  EXPECT_EQ(toolkit.askNumber("Add random noise to Synthetic (%)", 0.0), 2.5);
  EXPECT_EQ(toolkit.askNumber("again", 1.0), std::nullopt);
  EXPECT_EQ(toolkit.askText("Name", "x"), "Station 4");
}

TEST(QtToolkitProgress, CancelMakesThePollTrueUntilTheNextCommand) {
  QtToolkit toolkit;
  toolkit.beginCommand();
  toolkit.showProgress("Derivatives");
  EXPECT_TRUE(toolkit.progressVisible());
  EXPECT_FALSE(toolkit.pollInterrupt());
  toolkit.setProgress(0.5, "Damping search");
  EXPECT_EQ(toolkit.progressDialog()->value(), 500);
  EXPECT_EQ(toolkit.progressDialog()->labelText(), "Damping search");
  pressCancel(toolkit);
  EXPECT_TRUE(toolkit.pollInterrupt());
  EXPECT_TRUE(toolkit.pollInterrupt());
  toolkit.endCommand();
  EXPECT_FALSE(toolkit.progressVisible());
  toolkit.beginCommand();
  EXPECT_FALSE(toolkit.pollInterrupt());
  toolkit.endCommand();
}

TEST(QtToolkitProgress, ALongCommandWithoutProgressGetsTheDialogAnyway) {
  QtToolkit toolkit;
  toolkit.setBusyDelay(0);
  toolkit.beginCommand();
  EXPECT_FALSE(toolkit.pollInterrupt());
  ASSERT_TRUE(toolkit.progressVisible());
  EXPECT_EQ(toolkit.progressDialog()->labelText(), "Calculating...");
  pressCancel(toolkit);
  EXPECT_TRUE(toolkit.pollInterrupt());
  toolkit.endCommand();
  EXPECT_FALSE(toolkit.progressVisible());
}

TEST(QtToolkitStatus, PanesAndRedrawsReachTheWindow) {
  QtToolkit toolkit;
  std::vector<std::pair<int, QString>> panes;
  int redraws = 0;
  toolkit.setStatusSink([&](int pane, const QString& text) { panes.emplace_back(pane, text); });
  toolkit.setRedrawSink([&] { ++redraws; });
  toolkit.setStatus(1, "    3.25% RMS");
  toolkit.requestRedraw();
  ASSERT_EQ(panes.size(), 1u);
  EXPECT_EQ(panes[0].first, 1);
  EXPECT_EQ(panes[0].second, "    3.25% RMS");
  EXPECT_EQ(redraws, 1);
}

}  // namespace
}  // namespace zeva::ui::qt
