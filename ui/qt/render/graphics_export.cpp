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
#include <system_error>

#include "present/dxf_canvas.h"
#include "present/plotter.h"
#include "ui/qt/render/painter_canvas.h"

namespace zeva::qt {

namespace {

constexpr std::string_view kCannotOpen = "CANNOT OPEN FILE: ";
constexpr int kPdfResolution = 600;

QString toQString(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

// The file is written under a temporary name beside the final one and moved
// into place when complete.
std::filesystem::path temporaryFor(const std::filesystem::path& path) {
  std::filesystem::path temporary = path;
  temporary += ".part";
  return temporary;
}

std::string moveIntoPlace(const std::filesystem::path& temporary,
                          const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (!error) return {};
  std::filesystem::remove(temporary, error);
  return std::string(kCannotOpen) + path.string();
}

std::string failed(const std::filesystem::path& temporary, const std::filesystem::path& path) {
  std::error_code ignored;
  std::filesystem::remove(temporary, ignored);
  return std::string(kCannotOpen) + path.string();
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
  const std::filesystem::path temporary = temporaryFor(path);
  switch (format) {
    case GraphicsFormat::Png: {
      QImage image(kPngWidth, kPngHeight, QImage::Format_RGB32);
      image.fill(Qt::white);
      {
        QPainter painter(&image);
        PaintPlots(painter, QRectF(0, 0, kPngWidth, kPngHeight), current, settings);
      }
      if (!image.save(toQString(temporary), "PNG")) return failed(temporary, path);
      break;
    }
    case GraphicsFormat::Svg: {
      QSvgGenerator svg;
      svg.setFileName(toQString(temporary));
      svg.setSize(QSize(1000, 800));
      svg.setViewBox(QRectF(0, 0, 1000, 800));
      svg.setTitle(QString::fromStdString(current.S.header.name.trimmed()));
      QPainter painter;
      if (!painter.begin(&svg)) return failed(temporary, path);
      PaintPlots(painter, QRectF(0, 0, 1000, 800), current, settings);
      if (!painter.end()) return failed(temporary, path);
      break;
    }
    case GraphicsFormat::Pdf: {
      QPdfWriter pdf(toQString(temporary));
      pdf.setResolution(kPdfResolution);
      pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                    QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
      pdf.setTitle(QString::fromStdString(current.S.header.name.trimmed()));
      pdf.setCreator(QStringLiteral("ZEVA"));
      QPainter painter;
      if (!painter.begin(&pdf)) return failed(temporary, path);
      const QRect page = pdf.pageLayout().paintRectPixels(pdf.resolution());
      PaintPlots(painter, QRectF(0, 0, page.width(), page.height()), current, settings);
      if (!painter.end()) return failed(temporary, path);
      break;
    }
    case GraphicsFormat::Dxf: {
      present::DxfCanvas dxf;
      drawPlotPage(dxf, current, settings);
      std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
      if (!out) return failed(temporary, path);
      dxf.write(out);
      out.close();
      if (!out) return failed(temporary, path);
      break;
    }
  }
  return moveIntoPlace(temporary, path);
}

std::string WriteReportPdf(core::CurrentSounding& current, const present::PlotSettings& settings,
                           const present::ReportOptions& options, const std::filesystem::path& path,
                           int* pages) {
  const std::filesystem::path temporary = temporaryFor(path);
  int count = 0;
  {
    QPdfWriter pdf(toQString(temporary));
    pdf.setResolution(kPdfResolution);
    setReportLayout(pdf);
    pdf.setTitle(QString::fromStdString(current.S.header.name.trimmed()));
    pdf.setCreator(QStringLiteral("ZEVA"));
    QPainter painter;
    if (!painter.begin(&pdf)) return failed(temporary, path);
    const QRect page = pdf.pageLayout().paintRectPixels(pdf.resolution());
    PainterCanvas canvas(painter, QRectF(0, 0, page.width(), page.height()),
                         [&pdf] { pdf.newPage(); });
    canvas.setTextFamily(QString::fromStdString(settings.fontFamily));
    present::Plotter plotter(canvas);
    count = present::PrintReport(plotter, current, settings, options);
    if (!painter.end()) return failed(temporary, path);
  }
  if (pages) *pages = count;
  return moveIntoPlace(temporary, path);
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

}  // namespace zeva::qt
