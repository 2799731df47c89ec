#include "ui/qt/render/graphics_export.h"

#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <fstream>
#include <functional>
#include <system_error>

#include "files/save_file.h"
#include "present/dxf_canvas.h"
#include "present/plotter.h"
#include "ui/qt/render/painter_canvas.h"

namespace zeva::ui::qt {

namespace {

constexpr std::string_view kCannotOpen = "CANNOT OPEN FILE: ";
constexpr int kPdfResolution = 600;

using PageDrawing = std::function<void(present::Canvas&)>;

QString toQString(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

// The message every failure to write a graphics file shows.
std::string outcome(const files::SaveResult& saved, const std::filesystem::path& path) {
  return saved.saved() ? std::string() : std::string(kCannotOpen) + path.string();
}

void drawPlotPage(present::Canvas& canvas, core::CurrentSounding& current,
                  const present::PlotSettings& settings) {
  present::Plotter plotter(canvas);
  present::DrawSoundingPage(plotter, current, settings);
  plotter.close();
}

// A4 portrait with a 10 mm margin for PDF reports.
void setReportLayout(QPagedPaintDevice& device) {
  device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                   QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
}

// Draws one 10 x 8 page into a graphics file at `file`; false when the file
// could not be written. `title` names the picture in SVG and PDF files.
bool writePage(const PageDrawing& draw, const std::string& title, const std::string& fontFamily,
               const std::filesystem::path& file, GraphicsFormat format) {
  const auto paint = [&](QPainter& painter, QRectF target) {
    PainterCanvas canvas(painter, target);
    canvas.setTextFamily(QString::fromStdString(fontFamily));
    draw(canvas);
  };
  switch (format) {
    case GraphicsFormat::Png: {
      QImage image(kPngWidth, kPngHeight, QImage::Format_RGB32);
      image.fill(Qt::white);
      {
        QPainter painter(&image);
        paint(painter, QRectF(0, 0, kPngWidth, kPngHeight));
      }
      return image.save(toQString(file), "PNG");
    }
    case GraphicsFormat::Svg: {
      QSvgGenerator svg;
      svg.setFileName(toQString(file));
      svg.setSize(QSize(1000, 800));
      svg.setViewBox(QRectF(0, 0, 1000, 800));
      svg.setTitle(QString::fromStdString(title));
      QPainter painter;
      if (!painter.begin(&svg)) return false;
      paint(painter, QRectF(0, 0, 1000, 800));
      return painter.end();
    }
    case GraphicsFormat::Pdf: {
      QPdfWriter pdf(toQString(file));
      pdf.setResolution(kPdfResolution);
      pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                    QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
      pdf.setTitle(QString::fromStdString(title));
      pdf.setCreator(QStringLiteral("ZEVA"));
      QPainter painter;
      if (!painter.begin(&pdf)) return false;
      const QRect page = pdf.pageLayout().paintRectPixels(pdf.resolution());
      paint(painter, QRectF(0, 0, page.width(), page.height()));
      return painter.end();
    }
    case GraphicsFormat::Dxf: {
      present::DxfCanvas dxf;
      draw(dxf);
      std::ofstream out(file, std::ios::binary | std::ios::trunc);
      if (!out) return false;
      dxf.write(out);
      out.close();
      return static_cast<bool>(out);
    }
  }
  return false;
}

std::string exportPage(const PageDrawing& draw, const std::string& title,
                       const std::string& fontFamily, const std::filesystem::path& path,
                       GraphicsFormat format) {
  return outcome(files::saveFile(path,
                                 [&](const std::filesystem::path& temporary) {
                                   return writePage(draw, title, fontFamily, temporary, format);
                                 }),
                 path);
}

}  // namespace

std::optional<GraphicsFormat> graphicsFormatOf(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  std::ranges::transform(extension, extension.begin(),
                         [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".png") return GraphicsFormat::Png;
  if (extension == ".svg") return GraphicsFormat::Svg;
  if (extension == ".pdf") return GraphicsFormat::Pdf;
  if (extension == ".dxf") return GraphicsFormat::Dxf;
  return std::nullopt;
}

void PaintPlots(QPainter& painter, QRectF target, core::CurrentSounding& current,
                const present::PlotSettings& settings, double minimumTextPixels) {
  PainterCanvas canvas(painter, target);
  canvas.setMinimumTextPixels(minimumTextPixels);
  canvas.setTextFamily(QString::fromStdString(settings.fontFamily));
  drawPlotPage(canvas, current, settings);
}

std::string ExportPlots(core::CurrentSounding& current, const present::PlotSettings& settings,
                        const std::filesystem::path& path, GraphicsFormat format) {
  return exportPage([&](present::Canvas& canvas) { drawPlotPage(canvas, current, settings); },
                    current.S.header.name.trimmed(), settings.fontFamily, path, format);
}

std::string ExportSection(const present::SectionInput& section, const std::filesystem::path& path,
                          GraphicsFormat format) {
  return exportPage([&](present::Canvas& canvas) { present::DrawSection(canvas, section); },
                    present::sectionModelTitle(section.model) + " - " + section.survey, {}, path,
                    format);
}

std::string WriteReportPdf(core::CurrentSounding& current, const present::PlotSettings& settings,
                           const present::ReportOptions& options, const std::filesystem::path& path,
                           int* pages) {
  const files::SaveResult saved =
      files::saveFile(path, [&](const std::filesystem::path& temporary) {
        QPdfWriter pdf(toQString(temporary));
        pdf.setResolution(kPdfResolution);
        setReportLayout(pdf);
        pdf.setTitle(QString::fromStdString(current.S.header.name.trimmed()));
        pdf.setCreator(QStringLiteral("ZEVA"));
        QPainter painter;
        if (!painter.begin(&pdf)) return false;
        const QRect page = pdf.pageLayout().paintRectPixels(pdf.resolution());
        PainterCanvas canvas(painter, QRectF(0, 0, page.width(), page.height()),
                             [&pdf] { pdf.newPage(); });
        canvas.setTextFamily(QString::fromStdString(settings.fontFamily));
        present::Plotter plotter(canvas);
        const int count = present::PrintReport(plotter, current, settings, options);
        if (!painter.end()) return false;
        if (pages) *pages = count;
        return true;
      });
  return outcome(saved, path);
}

int PrintReportOn(QPrinter& printer, core::CurrentSounding& current,
                  const present::PlotSettings& settings, const present::ReportOptions& options) {
  QPainter painter;
  if (!painter.begin(&printer)) return 0;
  const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
  PainterCanvas canvas(painter, QRectF(0, 0, page.width(), page.height()),
                       [&printer] { printer.newPage(); });
  canvas.setTextFamily(QString::fromStdString(settings.fontFamily));
  present::Plotter plotter(canvas);
  const int pages = present::PrintReport(plotter, current, settings, options);
  painter.end();
  return pages;
}

}  // namespace zeva::ui::qt
