#pragma once
// The well-log window: a resistivity log against depth beside the layered
// model of the sounding, and the cumulative conductance of both, so that a
// model can be compared with a borehole and built from it. "&Set Layered
// Model" replaces the layered model by the log's least-squares step fit with
// the number of layers chosen in the window; the fit is also drawn as the
// conductance segments.

#include <QMainWindow>
#include <QRectF>
#include <filesystem>
#include <functional>
#include <map>

#include "core/program/program.h"
#include "core/program/well_log.h"
#include "present/plotter.h"
#include "ui/qt/render/graphics_export.h"

class QAction;
class QPainter;
class QSpinBox;

namespace zeva::ui::qt {

class SoundingPlotWidget;

inline constexpr std::string_view kWellLogTitle = "Kelvorin Limited Well Log Processing";

// The commands of the well-log window's menus, numbered as in the menu
// resource of the program's first versions.
enum class WellLogCommand : int {
  SetLayeredModel = 40076,
  Import = 40074,
  ExportModel = 40049,
  ExportPicture = 40059,
  Print = 40022,
  Close = 40075,
  ClearSegments = 40077,
  Log = 40078,
  Layered = 40085,
  Conductance = 40080,
  Segments = 40079,
  MajorGridLog = 40081,
  MinorGridLog = 40082,
  MajorGridConductance = 40083,
  MinorGridConductance = 40084
};

// What the window shows.
struct WellLogView {
  bool log = true;
  bool layered = true;
  bool conductance = true;
  bool segments = true;
  bool majorGridLog = false, minorGridLog = false;
  bool majorGridConductance = false, minorGridConductance = false;
};

// Draws the well-log picture (10 x 8 page) with the present primitives.
void DrawWellLogPage(present::Plotter& plotter, const core::Sounding& S, const core::WellLog& log,
                     const core::LogSegmentation& segments, const WellLogView& view,
                     const std::string& name);

class WellLogWindow : public QMainWindow {
 public:
  // `modelChanged` runs after the layered model was replaced (the main
  // window autoscales and redraws).
  WellLogWindow(core::Program& program, std::function<void()> modelChanged,
                QWidget* parent = nullptr);

  QAction* action(WellLogCommand id) const;
  void runCommand(WellLogCommand id);
  // The log was replaced: the segments are fitted again and the picture drawn.
  void logChanged();
  void setLayerCount(int layers);
  int layerCount() const;
  const core::LogSegmentation& segments() const { return segments_; }
  const WellLogView& view() const { return view_; }
  SoundingPlotWidget* plotWidget() const { return plots_; }
  // Writes the picture as PNG, SVG, PDF or DXF by the file's extension (PNG
  // when it has none of these); false after the message when it cannot.
  bool exportPictureTo(const std::filesystem::path& path);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  QAction* addCommand(QMenu* menu, WellLogCommand id, const QString& text,
                      std::function<void()> run);
  QAction* addToggle(QMenu* menu, WellLogCommand id, const QString& text, bool WellLogView::*flag);
  void toggleView(bool WellLogView::*flag);
  void exportPicture();
  void print();
  void paintPage(QPainter& painter, QRectF target);
  // Writes the picture in `format` to `file`; false when it could not.
  bool writePicture(const std::filesystem::path& file, GraphicsFormat format);
  void updateChecks();

  core::Program& program_;
  std::function<void()> modelChanged_;
  SoundingPlotWidget* plots_ = nullptr;
  QSpinBox* layers_ = nullptr;
  WellLogView view_;
  core::LogSegmentation segments_;
  std::map<WellLogCommand, QAction*> actions_;
  std::map<WellLogCommand, std::function<void()>> commands_;
  std::map<WellLogCommand, bool WellLogView::*> toggles_;
  bool placed_ = false;
};

}  // namespace zeva::ui::qt
