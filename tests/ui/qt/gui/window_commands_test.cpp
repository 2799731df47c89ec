// The commands of the main window that bring dialogs of their own, driven
// through their real menu entries: new soundings typed into the data editor
// (and cancelled), Edit, Data, the model commands of the Calculate menu,
// the graphics exports, Print with its options, the properties and font
// dialogs, and menus that follow the data type.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFontDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QSvgRenderer>
#include <QTableWidget>
#include <QTimer>
#include <cstdio>
#include <filesystem>

#include "core/record/data_type.h"
#include "tests/support/test_support.h"
#include "tests/ui/qt/gui/modal_driver.h"
#include "tests/ui/qt/gui/window_fixture.h"
#include "ui/qt/gui/main_window.h"
#include "ui/qt/gui/qt_toolkit.h"

namespace zeva::ui::qt {
namespace {

using core::kFalse;

class WindowCommandsTest : public WindowFixture {
 protected:
  static void setCell(QTableWidget* grid, int row, int column, const QString& text) {
    ASSERT_NE(grid->item(row, column), nullptr) << row << "," << column;
    grid->item(row, column)->setText(text);
  }
};

// Cancelling the first dialog of a new or imported sounding (MT soundings
// have no dialog of choices: the data editor comes first) ends the command
// before a file is chosen and leaves the sounding as it was.
TEST_F(WindowCommandsTest, CancelOfTheFirstDialogOfANewOrImportedSoundingKeepsTheSounding) {
  const std::pair<core::CommandId, const char*> firstDialogs[] = {
      {core::CommandId::NewDc, "newSoundingDialog"},
      {core::CommandId::NewMt, "dataEditor"},
      {core::CommandId::ImportResistivity, "importDialog"}};
  const QString title = window.windowTitle();
  for (const auto& [command, dialogName] : firstDialogs) {
    QString shown, shownTitle;
    driver.then([&](QWidget* dialog) {
      shown = dialog->objectName();
      shownTitle = dialog->windowTitle();
      static_cast<QDialog*>(dialog)->reject();
    });
    trigger(command);
    EXPECT_EQ(shown, dialogName) << command;
    if (command == core::CommandId::NewMt) {
      EXPECT_TRUE(shownTitle.contains("Magnetotelluric Data"));
    }
    EXPECT_TRUE(S().header.dataType == core::type::kSchlumberger) << command;
    EXPECT_EQ(S().NDATA(), 22) << command;
    EXPECT_TRUE(core::isSet(S().layer.saved)) << command;
    EXPECT_EQ(window.windowTitle(), title) << command;
  }
}

TEST_F(WindowCommandsTest, NewWennerSoundingTakesTheTypeAndReadingsOfItsDialogs) {
  driver.then([](QWidget* dialog) {
    auto* type = dialog->findChild<QComboBox*>("dataType");
    ASSERT_NE(type, nullptr);
    type->setCurrentText("Wenner Array");
    static_cast<QDialog*>(dialog)->accept();
  });
  // Four readings typed into the data editor's empty grid.
  const float spacings[] = {2, 8, 30, 120};
  driver.then([&](QWidget* dialog) {
    auto* grid = dialog->findChild<QTableWidget*>("dataGrid");
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(grid->rowCount(), 0);
    for (int i = 0; i < 4; ++i) {
      dialog->findChild<QPushButton*>("appendRow")->click();
      setCell(grid, i, 0, QString::number(spacings[i]));
      setCell(grid, i, 1, "15");
    }
    static_cast<QDialog*>(dialog)->accept();
  });
  trigger(core::CommandId::NewDc);
  ASSERT_TRUE(S().header.dataType == core::type::kWenner);
  ASSERT_EQ(S().NDATA(), 4);
  EXPECT_EQ(S().data().TIME(3, 0), 120.0f);
  EXPECT_EQ(S().data().VOLTS(3, 0), 15.0f);
  // Unsaved: marked after the bracket.
  EXPECT_EQ(window.windowTitle(), "Kelvorin 1-D Sounding Inversion [New DC Data *           ] *");
}

TEST_F(WindowCommandsTest, NewTemSoundingTakesItsLoopAndSweepAndSetsTheMenusForTem) {
  driver.then([](QWidget* dialog) {
    dialog->findChild<QComboBox*>("dataType")->setCurrentText("Central Loop TEM");
    dialog->findChild<QComboBox*>("voltageUnit")->setCurrentText("uV/Amp");
    // Loop sides, receiver offset, current, turns, area, ramp, base frequency.
    const double values[] = {40.0, 0.0, 5.0, 0.0, 8.0, 2.0, 20.0, 15.0, 30.0};
    for (int k = 0; k < 9; ++k)
      dialog->findChild<QDoubleSpinBox*>(QString("tem%1").arg(k))->setValue(values[k]);
    static_cast<QDialog*>(dialog)->accept();
  });
  driver.then([](QWidget* dialog) {
    auto* grid = dialog->findChild<QTableWidget*>("dataGrid");
    const char* gates[][2] = {{"0.1", "2000"}, {"0.5", "150"}, {"1.0", "30"}};
    for (int i = 0; i < 3; ++i) {
      dialog->findChild<QPushButton*>("appendRow")->click();
      setCell(grid, i, 0, gates[i][0]);
      setCell(grid, i, 1, gates[i][1]);
    }
    // The editor shows what the dialog asked for.
    EXPECT_EQ(dialog->findChild<QDoubleSpinBox*>("loop0")->value(), 40.0);
    EXPECT_EQ(dialog->findChild<QTableWidget*>("sweepGrid")->item(0, 2)->text(), "8");
    static_cast<QDialog*>(dialog)->accept();
  });
  trigger(core::CommandId::NewTem);
  ASSERT_TRUE(S().header.dataType == core::type::kCentralLoopTem);
  EXPECT_EQ(S().header.temVoltageUnit.trimmed(), "uV/Amp");
  EXPECT_EQ(S().header.loopSizeX, 40.0f);
  EXPECT_EQ(S().header.coilX, 5.0f);
  ASSERT_EQ(S().header.NSETS, 1);
  const auto& d = S().data();
  EXPECT_EQ(d.NSET[0], 3);
  EXPECT_EQ(d.AMPS[0], 8.0f);
  EXPECT_EQ(d.NTURNS[0], 2);
  EXPECT_EQ(d.AREA[0], 20.0f);
  EXPECT_EQ(d.RAMP[0], 15.0f);
  // 30 Hz leaves a quarter period of 8.3 ms for the last gate at 1 ms.
  EXPECT_EQ(d.FREQ[0], 30.0f);
  EXPECT_TRUE(window.action(core::CommandId::Voltage)->isVisible());
  EXPECT_TRUE(window.action(core::CommandId::Forward)->isEnabled());
  EXPECT_TRUE(window.action(core::CommandId::EstimateLayered)->isEnabled());
}

TEST_F(WindowCommandsTest, DataEditorRecomputesResistivityAsAVoltageIsTypedAndWritesItBack) {
  // The default sounding was entered as voltage and current: doubling the
  // first voltage doubles its apparent resistivity, rho = K V / I.
  const float rho = S().data().VOLTS(0, 0), volts = S().data().VOLTS(0, 1);
  double shown = 0.0;
  driver.then([&](QWidget* dialog) {
    auto* grid = dialog->findChild<QTableWidget*>("dataGrid");
    ASSERT_NE(grid, nullptr);
    // Columns: AB/2, MN, voltage, current, resistivity, error, mask.
    grid->setCurrentCell(0, 2);
    QApplication::processEvents();
    setCell(grid, 0, 2, QString::number(2.0 * volts));
    shown = grid->item(0, 4)->text().toDouble();
    static_cast<QDialog*>(dialog)->accept();
  });
  trigger(core::CommandId::EditData);
  EXPECT_NEAR(shown, 2.0 * rho, 1e-3 * rho);
  EXPECT_NEAR(S().data().VOLTS(0, 0), 2.0f * rho, 1e-3f * rho);
  EXPECT_EQ(S().header.name.trimmed(), "Default Data");
  EXPECT_FALSE(core::isSet(S().layer.saved));
}

TEST_F(WindowCommandsTest, SmoothModelShowsItsLayersAndItsFitInTheStatusBar) {
  trigger(core::CommandId::EstimateSmooth);
  EXPECT_TRUE(window.action(core::CommandId::Smooth)->isChecked());
  // The smooth model's own fit while it is shown.
  char fit[64];
  std::snprintf(fit, sizeof fit, " 22 Smooth Layers, %.2f%% RMS",
                static_cast<double>(program.SM().layer.PCTERR));
  EXPECT_EQ(window.statusText(4), QString::fromLatin1(fit));
  trigger(core::CommandId::Smooth);
  EXPECT_EQ(window.statusText(4), " 22 Smooth Layers");
}

TEST_F(WindowCommandsTest, EquivalenceAfterAnInversionChecksItsViewEntry) {
  trigger(core::CommandId::Multiple);
  program.view().showEquivalence = false;
  window.refresh();
  trigger(core::CommandId::AnalyzeEquivalence);
  EXPECT_TRUE(core::isSet(S().layer.equivalenceValid));
  EXPECT_TRUE(window.action(core::CommandId::Equivalence)->isChecked());
}

TEST_F(WindowCommandsTest, SmoothEquivalenceHasNoMenuEntryAndNeedsASmoothModel) {
  QAction* hidden = window.action(core::CommandId::SmoothEquivalence);
  ASSERT_NE(hidden, nullptr);
  for (QAction* top : window.menuBar()->actions())
    for (QAction* entry : top->menu()->actions()) EXPECT_NE(entry, hidden);
  driver.answerMessage("OK");
  trigger(core::CommandId::SmoothEquivalence);
  EXPECT_EQ(driver.messages,
            QStringList{"Please estimate smooth model before analyzing smooth equivalence"});
}

TEST_F(WindowCommandsTest, SvgExportIsAPictureQtCanRead) {
  const QString file = QString::fromStdString((folder / "plots.svg").string());
  driver.chooseFile(file);
  trigger(core::CommandId::ExportSvg);
  QSvgRenderer renderer(file);
  EXPECT_TRUE(renderer.isValid());
}

TEST_F(WindowCommandsTest, PrintWritesTheChosenSectionsToThePrinter) {
  const std::filesystem::path pdf = folder / "report.pdf";
  window.printer().setOutputFormat(QPrinter::PdfFormat);
  window.printer().setOutputFileName(QString::fromStdString(pdf.string()));
  driver.then([](QWidget* dialog) {
    ASSERT_EQ(dialog->objectName(), "printOptionsDialog");
    dialog->findChild<QCheckBox*>("printWorksheet")->setChecked(true);
    static_cast<QDialog*>(dialog)->accept();
  });
  driver.then([](QWidget* dialog) {
    ASSERT_NE(qobject_cast<QPrintDialog*>(dialog), nullptr);
    static_cast<QDialog*>(dialog)->accept();
  });
  trigger(core::CommandId::Print);
  ASSERT_TRUE(std::filesystem::exists(pdf));
  QFile file(QString::fromStdString(pdf.string()));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.read(5) == "%PDF-");
  EXPECT_TRUE(program.settings().flags.printWorksheet);
  EXPECT_EQ(window.action(core::CommandId::Print)->shortcut(), QKeySequence(QKeySequence::Print));
}

TEST_F(WindowCommandsTest, PropertiesSetTheSwitchesAndTheFramesSymbol) {
  window.autoscale();
  S().layer.saved = core::kTrue;
  driver.then([](QWidget* dialog) {
    for (QCheckBox* check : dialog->findChildren<QCheckBox*>())
      if (check->text() == "Minor grid on data") check->setChecked(true);
    dialog->findChild<QSpinBox*>("plotSymbol")->setValue(4);
    static_cast<QDialog*>(dialog)->accept();
  });
  trigger(core::CommandId::Properties);
  // A minor grid brings its major grid.
  EXPECT_TRUE(window.action(core::CommandId::MinorGridData)->isChecked());
  EXPECT_TRUE(window.action(core::CommandId::MajorGridData)->isChecked());
  EXPECT_EQ(program.current().dataFrames[0].symbolCode, 4);
  EXPECT_FALSE(core::isSet(S().layer.saved));
}

TEST_F(WindowCommandsTest, FontTypeChangesTheFaceOfThePlotTexts) {
  driver.then([](QWidget* dialog) {
    auto* fonts = qobject_cast<QFontDialog*>(dialog);
    ASSERT_NE(fonts, nullptr);
    fonts->setCurrentFont(QFont("DejaVu Serif"));
    fonts->accept();
  });
  trigger(core::CommandId::FontType);
  EXPECT_EQ(window.plotSettings().fontFamily, "DejaVu Serif");
}

}  // namespace
}  // namespace zeva::ui::qt

namespace zeva::ui::qt {
namespace {

TEST(WindowAppearance, CaptionsOfTheSettingsFileTitleThePlotsAndBlankOnesKeepTheirs) {
  test::TemporaryFolder folder;
  QtToolkit toolkit;
  core::Program program(toolkit, folder.path());
  program.settings().graphs.resistivity = "Rho-a (ohm-m)";
  program.settings().graphs.depth = "   ";
  MainWindow window(program, toolkit, QString());
  const present::PlotSettings settings = window.plotSettings();
  EXPECT_EQ(settings.axisTitles[present::AxisTitle::ApparentResistivity], "Rho-a (ohm-m)");
  EXPECT_EQ(settings.axisTitles[present::AxisTitle::Depth], "Depth (m)");
}

}  // namespace
}  // namespace zeva::ui::qt
