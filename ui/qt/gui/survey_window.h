#pragma once
// The survey window: the section of a survey folder's models (layered,
// smooth or laterally constrained, chosen in the toolbar), and the batch
// commands over the survey with a progress dialog whose Cancel stops after
// the soundings in work. A click on a station opens the file whose model is
// drawn there in the main window.

#include <QMainWindow>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>

#include "core/survey/batch_sounding.h"
#include "core/survey/survey_section.h"
#include "present/section_plot.h"
#include "ui/qt/gui/qt_toolkit.h"

class QAction;
class QComboBox;
class QLabel;

namespace zeva::ui::qt {

class SoundingPlotWidget;

inline constexpr std::string_view kSurveyTitle = "Kelvorin Limited Survey";

enum class SurveyCommand { EstimateAndInvert, SmoothOccam, Reload, Close };

class SurveyWindow : public QMainWindow {
 public:
  // Runs a command with the main window's bookkeeping (busy guard, progress
  // and interrupt, redraw after it).
  using CommandRunner = std::function<void(const std::function<void()>&)>;
  using SoundingOpener = std::function<void(const std::filesystem::path&)>;

  SurveyWindow(QtToolkit& toolkit, CommandRunner runCommand, SoundingOpener openSounding,
               QWidget* parent = nullptr);

  // Shows the section of `folder`; false, after the message, when the folder
  // holds no soundings.
  bool openFolder(const std::filesystem::path& folder);
  void setModel(present::SectionModel model);
  present::SectionModel model() const { return model_; }
  // The section drawn (empty when the survey has no models of the kind).
  const std::optional<core::SurveySection>& section() const { return section_; }
  const std::filesystem::path& folder() const { return folder_; }

  QAction* action(SurveyCommand id) const { return actions_.at(id); }
  QComboBox* modelChooser() const { return chooser_; }
  SoundingPlotWidget* sectionWidget() const { return plot_; }
  // Opens the sounding of the station at `index` of the section.
  void openStation(int index);

 private:
  void addCommand(QMenu* menu, SurveyCommand id, const QString& text, std::function<void()> run);
  void reload();
  // Runs the batch on every sounding, on the latest result of each so that
  // no earlier result is lost, then draws the section anew.
  void runBatch(const core::BatchSteps& steps, const QString& title);
  void pressed(float pageX, float pageY);

  QtToolkit& toolkit_;
  CommandRunner runCommand_;
  SoundingOpener openSounding_;
  std::filesystem::path folder_;
  present::SectionModel model_ = present::SectionModel::Layered;
  std::optional<core::SurveySection> section_;
  present::SectionInput drawn_;  // what the widget paints
  present::SectionLayout layout_;
  SoundingPlotWidget* plot_ = nullptr;
  QComboBox* chooser_ = nullptr;
  QLabel* status_ = nullptr;
  std::map<SurveyCommand, QAction*> actions_;
};

}  // namespace zeva::ui::qt
