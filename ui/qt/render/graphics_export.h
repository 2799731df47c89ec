#pragma once
// Graphics export of the plots and the printed report: the same pen-plotter
// drawing rendered to PNG (raster), SVG and PDF (vector) through Qt, to DXF
// through the DXF canvas, and to a printer. The desktop program's File menu
// and zeva-cli call these.

#include <QPainter>
#include <QRectF>
#include <filesystem>
#include <optional>
#include <string>

#include "core/record/current_sounding.h"
#include "present/print_report.h"
#include "present/section_plot.h"
#include "present/sounding_plots.h"

class QPrinter;

namespace zeva::ui::qt {

enum class GraphicsFormat { Png, Svg, Pdf, Dxf };

// The format named by a file's extension (case-insensitive), if any.
std::optional<GraphicsFormat> graphicsFormatOf(const std::filesystem::path& path);

// Size of PNG pictures of the 10 x 8 plot page, in pixels.
inline constexpr int kPngWidth = 1500;
inline constexpr int kPngHeight = 1200;

// Draws both plots of the current sounding into a graphics file. The file is
// written beside its final name and moved into place when complete, so that a
// failure leaves an existing file untouched. Returns the message to show on
// failure, empty on success.
std::string ExportPlots(core::CurrentSounding& current, const present::PlotSettings& settings,
                        const std::filesystem::path& path, GraphicsFormat format);

// Draws the section of a survey into a graphics file, as ExportPlots the plots.
std::string ExportSection(const present::SectionInput& section, const std::filesystem::path& path,
                          GraphicsFormat format);

// Paints both plots into a rectangle of any painter (the main window's plot
// area, a printer page).
void PaintPlots(QPainter& painter, QRectF target, core::CurrentSounding& current,
                const present::PlotSettings& settings, double minimumTextPixels = 0.0);

// Writes the printed report as a PDF file (A4 portrait); returns the message
// to show on failure, empty on success. `pages` receives the page count.
std::string WriteReportPdf(core::CurrentSounding& current, const present::PlotSettings& settings,
                           const present::ReportOptions& options, const std::filesystem::path& path,
                           int* pages = nullptr);

// Prints the report on a printer the caller has set up (the print dialog);
// returns the page count.
int PrintReportOn(QPrinter& printer, core::CurrentSounding& current,
                  const present::PlotSettings& settings, const present::ReportOptions& options);

}  // namespace zeva::ui::qt
