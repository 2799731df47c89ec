// The section of a survey folder: which file gives each kind of model, the
// distances along the profile and the reasons for no section.

#include "core/survey/survey_section.h"

#include <gtest/gtest.h>

#include "core/program/program.h"
#include "core/survey/profile_distances.h"
#include "tests/support/scripted_toolkit.h"
#include "tests/support/test_support.h"

namespace zeva::core {
namespace {

namespace fs = std::filesystem;

TEST(ProfileDistances, ProjectOntoTheLineThroughTheEndsOrCountInSurveyOrder) {
  // A 3-4-5 line: the middle station 2 m off it still lies 5 m along it.
  std::vector<SurveyStation> stations = {{"A", "A", "", 10.0f, 20.0f, {}},
                                         {"B", "B", "", 14.0f - 1.2f, 23.0f + 1.6f, {}},
                                         {"C", "C", "", 22.0f, 29.0f, {}}};
  const std::vector<float> along = profileDistances(stations);
  ASSERT_EQ(along.size(), 3u);
  EXPECT_FLOAT_EQ(along[0], 0.0f);
  EXPECT_NEAR(along[1], 5.0f, 1e-4f);
  EXPECT_NEAR(along[2], 15.0f, 1e-4f);
  stations[1].north.reset();
  EXPECT_EQ(profileDistances(stations), (std::vector<float>{0.0f, 1.0f, 2.0f}));
  stations[1].north = 0.0f;
  stations[2].east = 10.0f, stations[2].north = 20.0f;  // the ends coincide
  EXPECT_EQ(profileDistances(stations), (std::vector<float>{0.0f, 1.0f, 2.0f}));
}

TEST(SurveySection, DrawsTheLatestModelOfEachKindOrSaysWhyNot) {
  test::TemporaryFolder folder;
  std::string error;
  EXPECT_FALSE(readSurveySection(folder.path(), present::SectionModel::Layered, error));
  EXPECT_NE(error.find("no soundings"), std::string::npos) << error;

  test::ScriptedToolkit toolkit;
  Program program(toolkit);
  LayeredModelRequest model;
  model.resistivity = {100, 10, 1000};
  model.geometry = {5, 20};
  ASSERT_TRUE(program.model().setLayeredModel(model));
  ASSERT_TRUE(program.file().saveFileAs(folder / "A.ZVR"));
  ASSERT_TRUE(program.file().saveFileAs(folder / "B.ZVR"));
  model.resistivity = {100, 30, 1000};
  ASSERT_TRUE(program.model().setLayeredModel(model));
  ASSERT_TRUE(program.file().saveFileAs(folder / "B.inverted.ZVR"));

  const auto layered = readSurveySection(folder.path(), present::SectionModel::Layered, error);
  ASSERT_TRUE(layered) << error;
  ASSERT_EQ(layered->input.stations.size(), 2u);
  // No locations in the records: survey order, unit spacing.
  EXPECT_EQ(layered->input.stations[1].name, "B");
  EXPECT_EQ(layered->input.stations[1].distance, 1.0f);
  EXPECT_EQ(layered->files[0], folder / "A.ZVR");
  EXPECT_EQ(layered->files[1], folder / "B.inverted.ZVR");
  const std::vector<present::SectionLayer>& b = layered->input.stations[1].layers;
  ASSERT_EQ(b.size(), 3u);
  EXPECT_EQ(b[1].resistivity, 30.0f);
  EXPECT_EQ(b[1].thickness, 20.0f);

  EXPECT_FALSE(readSurveySection(folder.path(), present::SectionModel::Lci, error));
  EXPECT_NE(error.find("None of the 2 soundings"), std::string::npos) << error;
  EXPECT_NE(error.find("lci"), std::string::npos) << error;
}

}  // namespace
}  // namespace zeva::core
