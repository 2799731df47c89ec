#include "ui/qt/render/program_graphics.h"

#include <algorithm>
#include <string>

#include "present/plot_setup.h"

namespace zeva::ui::qt {

namespace {

bool frameWithoutScale(const core::GraphFrame& g) {
  return g.xCycles == 0 || g.yCycles == 0 || g.xCycleLength == 0.0f || g.yCycleLength == 0.0f;
}

std::string_view extensionOf(GraphicsFormat format) {
  switch (format) {
    case GraphicsFormat::Png:
      return ".PNG";
    case GraphicsFormat::Svg:
      return ".SVG";
    case GraphicsFormat::Pdf:
      return ".PDF";
    case GraphicsFormat::Dxf:
      return ".DXF";
  }
  return "";
}

std::string_view filterOf(GraphicsFormat format) {
  switch (format) {
    case GraphicsFormat::Png:
      return "PNG picture|*.PNG|";
    case GraphicsFormat::Svg:
      return "SVG graphics file|*.SVG|";
    case GraphicsFormat::Pdf:
      return "PDF graphics file|*.PDF|";
    case GraphicsFormat::Dxf:
      return "DXF graphics file|*.DXF|";
  }
  return "";
}

}  // namespace

present::PlotSettings plotSettingsFor(const core::ViewSwitches& view) {
  present::PlotSettings settings;
  settings.view = view;
  return settings;
}

void setUpPlotsIfNeeded(core::Program& program, const present::PlotSettings& settings, bool force) {
  core::CurrentSounding& current = program.current();
  const int dataGraphs = present::dataGraphCount(current.S);
  const int modelGraphs = present::modelGraphCount(current.S);
  bool missing = false;
  for (int k = 0; k < dataGraphs && k < 2; ++k)
    missing = missing || frameWithoutScale(current.dataFrames[static_cast<std::size_t>(k)]);
  for (int k = 0; k < modelGraphs && k < 2; ++k)
    missing = missing || frameWithoutScale(current.modelFrames[static_cast<std::size_t>(k)]);
  if (force || missing || program.state().autoscalePending()) {
    present::SetUpPlots(current, settings);
    program.state().clearAutoscale();
  }
}

std::string_view graphicsDialogTitle(GraphicsFormat format) {
  switch (format) {
    case GraphicsFormat::Png:
      return "PNG picture";
    case GraphicsFormat::Svg:
      return "SVG graphics file";
    case GraphicsFormat::Pdf:
      return "PDF graphics file";
    case GraphicsFormat::Dxf:
      return "DXF graphics file";
  }
  return "";
}

bool exportGraphicsFile(core::Program& program, const std::filesystem::path& path,
                        GraphicsFormat format, const std::optional<present::PlotSettings>& chosen) {
  const present::PlotSettings settings = chosen ? *chosen : plotSettingsFor(program.view());
  setUpPlotsIfNeeded(program, settings);
  const std::string message = ExportPlots(program.current(), settings, path, format);
  if (message.empty()) return true;
  program.toolkit().information(message);
  return false;
}

bool exportGraphicsCommand(core::Program& program, GraphicsFormat format,
                           const std::optional<present::PlotSettings>& settings) {
  const std::string initial = program.S().header.name.trimmed() + std::string(extensionOf(format));
  const auto chosen = program.toolkit().chooseFileToSave(
      ui::FileFilter{graphicsDialogTitle(format), filterOf(format)}, initial);
  if (!chosen) return false;
  return exportGraphicsFile(program, *chosen, format, settings);
}

std::optional<int> writeReportFile(core::Program& program, const std::filesystem::path& path,
                                   const present::ReportOptions& options) {
  const present::PlotSettings settings = plotSettingsFor(program.view());
  setUpPlotsIfNeeded(program, settings);
  int pages = 0;
  const std::string message = WriteReportPdf(program.current(), settings, options, path, &pages);
  if (!message.empty()) {
    program.toolkit().information(message);
    return std::nullopt;
  }
  return pages;
}

int printReport(core::Program& program, QPrinter& printer, const present::ReportOptions& options,
                const std::optional<present::PlotSettings>& chosen) {
  const present::PlotSettings settings = chosen ? *chosen : plotSettingsFor(program.view());
  setUpPlotsIfNeeded(program, settings);
  return PrintReportOn(printer, program.current(), settings, options);
}

}  // namespace zeva::ui::qt
