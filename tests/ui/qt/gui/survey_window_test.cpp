// The survey window: File, Open Survey shows the section of a folder, the
// batch command writes the results and redraws it, and a click on a station
// opens the file whose model is drawn there, asking to save first.

#include "ui/qt/gui/survey_window.h"

#include <QComboBox>
#include <QTest>
#include <filesystem>

#include "tests/ui/qt/gui/window_fixture.h"
#include "ui/qt/gui/sounding_plot_widget.h"

namespace zeva::ui::qt {
namespace {

namespace fs = std::filesystem;
using SurveyWindowTest = WindowFixture;

TEST_F(SurveyWindowTest, ShowsTheSectionRunsTheBatchAndOpensAStation) {
  const fs::path survey = folder / "survey";
  fs::create_directories(survey);
  for (const char* name : {"A.ZVR", "B.ZVR"}) ASSERT_TRUE(program.file().saveFileAs(survey / name));

  driver.chooseFile(QString::fromStdString(survey.string()));
  trigger(core::CommandId::OpenSurvey);
  SurveyWindow* surveyWindow = window.surveyWindow();
  ASSERT_NE(surveyWindow, nullptr);
  EXPECT_TRUE(surveyWindow->isVisible());
  ASSERT_TRUE(surveyWindow->section());
  EXPECT_EQ(surveyWindow->section()->input.stations.size(), 2u);
  surveyWindow->modelChooser()->setCurrentIndex(1);
  emit surveyWindow->modelChooser()->activated(1);
  EXPECT_EQ(surveyWindow->model(), present::SectionModel::Smooth);
  EXPECT_FALSE(surveyWindow->section());  // the soundings have no smooth models yet
  surveyWindow->setModel(present::SectionModel::Layered);

  driver.answerMessage("OK");  // how many soundings were fitted
  surveyWindow->action(SurveyCommand::EstimateAndInvert)->trigger();
  QApplication::processEvents();
  ASSERT_TRUE(driver.done());
  EXPECT_TRUE(driver.messages.back().startsWith("2 of 2 soundings fitted"))
      << driver.messages.back().toStdString();
  ASSERT_TRUE(surveyWindow->section());
  EXPECT_EQ(surveyWindow->section()->files[1], survey / "B.inverted.ZVR");
  EXPECT_TRUE(fs::exists(survey / "batch-summary.csv"));

  // A click on B's column, with an unsaved change in the main window.
  S().header.name.assign("Changed");
  S().layer.saved = core::kFalse;
  SoundingPlotWidget* section = surveyWindow->sectionWidget();
  section->grab();             // lays the section out
  driver.answerMessage("No");  // do not save the changed sounding
  QTest::mouseClick(section, Qt::LeftButton, {}, section->toDevice(7.0f, 3.0f).toPoint());
  QApplication::processEvents();
  ASSERT_TRUE(driver.done());
  EXPECT_EQ(program.file().soundingFile(), survey / "B.inverted.ZVR");
  EXPECT_EQ(S().header.name.trimmed(), "B");
}

}  // namespace
}  // namespace zeva::ui::qt
