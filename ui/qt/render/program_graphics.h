#pragma once
// The program's graphics export and print commands on Qt: the view switches
// of the program turned into plot settings, the plot set-up when the program
// asks for it, the graphics-file commands of the File menu (DXF; on this
// platform SVG and PDF take the places of CGM and WMF) and the printed report.

#include <filesystem>
#include <optional>

#include "core/program/program.h"
#include "present/sounding_plots.h"
#include "ui/qt/render/graphics_export.h"

class QPrinter;

namespace zeva::ui::qt {

// Plot settings showing what the program's view switches select.
present::PlotSettings plotSettingsFor(const core::ViewSwitches& view);

// Runs the plot set-up (autoscale) when the program asked for it or a frame
// the plots need has no scale yet; `force` runs it always.
void setUpPlotsIfNeeded(core::Program& program, const present::PlotSettings& settings,
                        bool force = false);

// Titles of the file dialogs of the graphics exports.
std::string_view graphicsDialogTitle(GraphicsFormat format);

// The graphics export command: asks for the file, then draws the plots into
// it (an existing file is replaced). False when cancelled or failed, after the
// message. Without `settings` the plots show what the view switches select.
bool exportGraphicsCommand(core::Program& program, GraphicsFormat format,
                           const std::optional<present::PlotSettings>& settings = std::nullopt);
// The same for a named file.
bool exportGraphicsFile(core::Program& program, const std::filesystem::path& path,
                        GraphicsFormat format,
                        const std::optional<present::PlotSettings>& settings = std::nullopt);

// The printed report written to a PDF file; the page count, or nothing after
// the message.
std::optional<int> writeReportFile(core::Program& program, const std::filesystem::path& path,
                                   const present::ReportOptions& options);
// The printed report on a printer the print dialog has set up; the page count.
int printReport(core::Program& program, QPrinter& printer, const present::ReportOptions& options,
                const std::optional<present::PlotSettings>& settings = std::nullopt);

}  // namespace zeva::ui::qt
