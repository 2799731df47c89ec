#include "ui/qt/gui/survey_window.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusBar>
#include <QToolBar>

#include "core/survey/batch_summary.h"
#include "core/survey/result_batch.h"
#include "core/survey/survey_index.h"
#include "ui/qt/gui/sounding_plot_widget.h"
#include "ui/qt/render/painter_canvas.h"

namespace zeva::ui::qt {

namespace {

using present::SectionModel;

QString fromStd(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

SurveyWindow::SurveyWindow(QtToolkit& toolkit, CommandRunner runCommand,
                           SoundingOpener openSounding, QWidget* parent)
    : QMainWindow(parent),
      toolkit_(toolkit),
      runCommand_(std::move(runCommand)),
      openSounding_(std::move(openSounding)) {
  setObjectName("surveyWindow");
  setWindowTitle(fromStd(std::string(kSurveyTitle)));
  plot_ = new SoundingPlotWidget(
      [this](QPainter& painter, QRectF target) {
        PainterCanvas canvas(painter, target);
        layout_ = present::DrawSection(canvas, drawn_);
      },
      [](float, float, bool) {}, this);
  plot_->setMouseHandlers({[this](QMouseEvent& event, float x, float y) {
                             if (event.button() == Qt::LeftButton) pressed(x, y);
                           },
                           {},
                           {},
                           {}});
  plot_->setToolTip(tr("Click a station to open its sounding"));
  setCentralWidget(plot_);

  QMenu* survey = menuBar()->addMenu(tr("&Survey"));
  addCommand(survey, SurveyCommand::EstimateAndInvert, tr("&Estimate + Invert"), [this] {
    core::BatchSteps steps;
    steps.estimate = steps.invert = true;
    runBatch(steps, tr("Estimating and inverting the survey's layered models"));
  });
  addCommand(survey, SurveyCommand::SmoothOccam, tr("&Smooth (Occam)"), [this] {
    core::BatchSteps steps;
    steps.smooth = true;
    steps.smoothMethod = core::SmoothMethod::Occam;
    runBatch(steps, tr("Fitting the survey's smooth models (Occam)"));
  });
  survey->addSeparator();
  addCommand(survey, SurveyCommand::Reload, tr("&Reload"), [this] { reload(); });
  addCommand(survey, SurveyCommand::Close, tr("&Close"), [this] { close(); });

  QToolBar* bar = addToolBar(tr("Section"));
  bar->setObjectName("sectionToolBar");
  bar->setMovable(false);
  bar->addWidget(new QLabel(tr("Models: "), bar));
  chooser_ = new QComboBox(bar);
  chooser_->setObjectName("modelChooser");
  chooser_->addItem(tr("Layered"), static_cast<int>(SectionModel::Layered));
  chooser_->addItem(tr("Smooth"), static_cast<int>(SectionModel::Smooth));
  chooser_->addItem(tr("LCI"), static_cast<int>(SectionModel::Lci));
  connect(chooser_, &QComboBox::activated, this, [this](int index) {
    setModel(static_cast<SectionModel>(chooser_->itemData(index).toInt()));
  });
  bar->addWidget(chooser_);
  status_ = new QLabel(this);
  statusBar()->addWidget(status_, 1);
  resize(1000, 760);
}

void SurveyWindow::addCommand(QMenu* menu, SurveyCommand id, const QString& text,
                              std::function<void()> run) {
  QAction* entry = menu->addAction(text);
  connect(entry, &QAction::triggered, this, std::move(run));
  actions_[id] = entry;
}

bool SurveyWindow::openFolder(const std::filesystem::path& folder) {
  std::string error;
  const std::optional<std::vector<core::SurveyStation>> stations =
      core::surveyStations(folder, error);
  if (!stations || stations->empty()) {
    toolkit_.warning(error.empty() ? folder.string() +
                                         " holds no soundings (no survey.json and no .ZVR files)"
                                   : error);
    return false;
  }
  folder_ = folder;
  reload();
  return true;
}

void SurveyWindow::setModel(SectionModel model) {
  model_ = model;
  chooser_->setCurrentIndex(chooser_->findData(static_cast<int>(model)));
  reload();
}

void SurveyWindow::reload() {
  std::string error;
  section_ = core::readSurveySection(folder_, model_, error);
  drawn_ = section_ ? section_->input : present::SectionInput{};
  drawn_.model = model_;
  if (!section_) drawn_.survey = folder_.filename().string();
  QString status = fromStd(error);
  if (section_ && !section_->left.empty())
    status = tr("%1 of %2 soundings drawn; left out: %3")
                 .arg(section_->input.stations.size())
                 .arg(section_->input.stations.size() + section_->left.size())
                 .arg(fromStd(section_->left.front()) +
                      (section_->left.size() > 1 ? QStringLiteral(", ...") : QString()));
  status_->setText(status);
  setWindowTitle(fromStd(std::string(kSurveyTitle) + " [" + folder_.string() + "]"));
  plot_->update();
}

void SurveyWindow::pressed(float pageX, float pageY) {
  const int index = layout_.stationAt(pageX, pageY);
  if (index >= 0) openStation(index);
}

void SurveyWindow::openStation(int index) {
  if (!section_ || index < 0 || static_cast<std::size_t>(index) >= section_->files.size()) return;
  openSounding_(section_->files[static_cast<std::size_t>(index)]);
}

void SurveyWindow::runBatch(const core::BatchSteps& steps, const QString& title) {
  runCommand_([&] {
    std::string error;
    const std::optional<std::vector<core::SurveyStation>> stations =
        core::surveyStations(folder_, error);
    if (!stations || stations->empty()) {
      toolkit_.warning(error.empty() ? folder_.string() + " holds no soundings" : error);
      return;
    }
    const std::size_t total = stations->size();
    std::size_t done = 0;
    toolkit_.showProgress(title.toStdString());
    const core::BatchRun run = core::runBatchOnResults(
        folder_, *stations, steps, 0,
        [&](const core::BatchOutcome& outcome) {
          ++done;
          toolkit_.setProgress(static_cast<double>(done) / static_cast<double>(total),
                               tr("%1 of %2 soundings done (%3)")
                                   .arg(done)
                                   .arg(total)
                                   .arg(fromStd(outcome.station.station))
                                   .toStdString());
        },
        [&] { return toolkit_.pollInterrupt(); });
    toolkit_.hideProgress();
    std::string summaryError;
    const bool summary = core::writeBatchSummary(folder_, run.outcomes, summaryError);
    reload();
    QString text = tr("%1 of %2 soundings fitted.")
                       .arg(total - static_cast<std::size_t>(run.failed))
                       .arg(total);
    if (run.interrupted)
      text += tr(" Stopped: the soundings not started were left as they were.");
    else if (run.failed > 0)
      text += tr(" Why the others failed is in batch-summary.csv.");
    if (!summary) text += QStringLiteral(" ") + fromStd(summaryError);
    toolkit_.information(text.toStdString());
  });
}

}  // namespace zeva::ui::qt
