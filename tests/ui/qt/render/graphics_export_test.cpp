// Graphics export read back by real readers: PNG and SVG through Qt's image
// and SVG readers, PDF through pdfinfo and pdftotext, DXF through ezdxf.

#include "ui/qt/render/graphics_export.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>

#include "present/plot_setup.h"
#include "present/recording_canvas.h"
#include "tests/support/test_support.h"

namespace zeva::ui::qt {
namespace {

// Standard output of a command, or empty when it cannot be run.
std::string run(const std::string& command) {
  std::string output;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return output;
  std::array<char, 512> buffer{};
  while (fgets(buffer.data(), static_cast<int>(buffer.size()), pipe.get())) output += buffer.data();
  return output;
}

bool available(const char* tool) { return tool[0] != '\0' && std::filesystem::exists(tool); }

struct DefaultSounding {
  core::CurrentSounding current;
  present::PlotSettings settings;
  DefaultSounding() {
    core::resetToDefault(current);
    present::SetUpPlots(current, settings);
  }
};

bool isFrameBlue(QRgb pixel) {
  return qBlue(pixel) > 160 && qRed(pixel) < 120 && qGreen(pixel) < 120;
}

TEST(PngExport, FrameLinesLandWhereThePageMapsThem) {
  test::TemporaryFolder folder;
  DefaultSounding d;
  const auto path = folder / "plots.png";
  ASSERT_EQ(ExportPlots(d.current, d.settings, path, GraphicsFormat::Png), "");
  QImage image;
  ASSERT_TRUE(image.load(QString::fromStdString(path.string())));
  EXPECT_EQ(image.width(), kPngWidth);
  EXPECT_EQ(image.height(), kPngHeight);
  // 150 pixels per page unit; y runs down from the top of the 8-unit page.
  const auto& g = d.current.dataFrames[0];
  const int bottom = static_cast<int>(150.0f * (8.0f - g.originY));
  const int middleX = static_cast<int>(150.0f * (g.originX + 2.0f));
  bool found = false;
  for (int dy = -2; dy <= 2; ++dy) found = found || isFrameBlue(image.pixel(middleX, bottom + dy));
  EXPECT_TRUE(found);
  EXPECT_EQ(image.pixel(5, 5), qRgb(255, 255, 255));
  EXPECT_FALSE(std::filesystem::exists(folder / "plots.png.part"));
}

TEST(SvgExport, QtsRendererReadsItAndDrawsTheFrames) {
  test::TemporaryFolder folder;
  DefaultSounding d;
  const auto path = folder / "plots.svg";
  ASSERT_EQ(ExportPlots(d.current, d.settings, path, GraphicsFormat::Svg), "");
  QSvgRenderer renderer(QString::fromStdString(path.string()));
  ASSERT_TRUE(renderer.isValid());
  QImage image(1000, 800, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    renderer.render(&painter);
  }
  const auto& m = d.current.modelFrames[0];
  // The model frame's left edge, 100 pixels per unit.
  const int x = static_cast<int>(100.0f * m.originX);
  const int y = static_cast<int>(100.0f * (8.0f - m.originY + 3.0f));
  bool found = false;
  for (int dx = -2; dx <= 2; ++dx) found = found || isFrameBlue(image.pixel(x + dx, y));
  EXPECT_TRUE(found);
  EXPECT_NE(run("grep -c '<text' " + path.string()), "0\n");
}

TEST(PdfExport, PdfinfoReadsOneLandscapePage) {
  if (!available(ZEVA_PDFINFO)) GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
  test::TemporaryFolder folder;
  DefaultSounding d;
  const auto path = folder / "plots.pdf";
  ASSERT_EQ(ExportPlots(d.current, d.settings, path, GraphicsFormat::Pdf), "");
  const std::string info = run(std::string(ZEVA_PDFINFO) + " " + path.string());
  EXPECT_NE(info.find("Pages:           1"), std::string::npos) << info;
  EXPECT_NE(info.find("842 x 595"), std::string::npos) << info;
  EXPECT_NE(info.find("Title:           Default Data"), std::string::npos) << info;
}

TEST(ReportPdf, DefaultSoundingReportHasTwoPagesWithFooters) {
  if (!available(ZEVA_PDFINFO) || !available(ZEVA_PDFTOTEXT))
    GTEST_SKIP() << "pdfinfo and pdftotext (poppler-utils) are not installed";
  test::TemporaryFolder folder;
  DefaultSounding d;
  present::ReportOptions options;
  options.userName = "Field Crew";
  const auto path = folder / "report.pdf";
  int pages = 0;
  ASSERT_EQ(WriteReportPdf(d.current, d.settings, options, path, &pages), "");
  EXPECT_EQ(pages, 2);
  const std::string info = run(std::string(ZEVA_PDFINFO) + " " + path.string());
  EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
  EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
  const std::string text = run(std::string(ZEVA_PDFTOTEXT) + " -layout " + path.string() + " -");
  std::size_t footers = 0;
  for (std::size_t at = text.find("Prepared for Field Crew"); at != std::string::npos;
       at = text.find("Prepared for Field Crew", at + 1))
    ++footers;
  EXPECT_EQ(footers, 2u);
  EXPECT_NE(text.find("Layered Model:"), std::string::npos);
  EXPECT_NE(text.find("NO DATA ARE MASKED"), std::string::npos);
  EXPECT_NE(text.find("Apparent Resistivity (ohm-m)"), std::string::npos);
}

TEST(DxfExport, EzdxfReadsTheLinesAndTextsThatWereDrawn) {
  // CMake names the interpreter that can import ezdxf, or nothing.
  if (std::string(ZEVA_EZDXF_PYTHON).empty()) GTEST_SKIP() << "python3-ezdxf is not installed";
  test::TemporaryFolder folder;
  DefaultSounding d;
  const auto path = folder / "plots.dxf";
  ASSERT_EQ(ExportPlots(d.current, d.settings, path, GraphicsFormat::Dxf), "");

  // The same picture on a recording canvas gives the expected counts.
  present::RecordingCanvas recording;
  {
    present::Plotter plotter(recording);
    present::DrawSoundingPage(plotter, d.current, d.settings);
    plotter.close();
  }
  const std::string script =
      "import sys, ezdxf\n"
      "doc = ezdxf.readfile(sys.argv[1])\n"
      "msp = doc.modelspace()\n"
      "auditor = doc.audit()\n"
      "texts = [t.dxf.text for t in msp.query('TEXT')]\n"
      "print(len(msp.query('LINE')), len(texts), len(auditor.errors))\n"
      "print('|'.join(texts))\n";
  const auto scriptPath = folder / "count.py";
  test::writeFile(scriptPath, script);
  const std::string output =
      run(std::string(ZEVA_EZDXF_PYTHON) + " " + scriptPath.string() + " " + path.string());
  std::istringstream in(output);
  std::size_t lines = 0, texts = 0, errors = 1;
  in >> lines >> texts >> errors;
  EXPECT_EQ(lines, recording.segments.size()) << output;
  EXPECT_EQ(texts, recording.texts.size()) << output;
  EXPECT_EQ(errors, 0u) << output;
  EXPECT_GT(lines, 100u);
  EXPECT_NE(output.find("|Spacing (m)|"), std::string::npos) << output;
  EXPECT_NE(output.find("Default Data"), std::string::npos) << output;
}

TEST(GraphicsFormat, ExtensionsNameTheFormats) {
  EXPECT_EQ(graphicsFormatOf("a/b.PNG"), GraphicsFormat::Png);
  EXPECT_EQ(graphicsFormatOf("b.svg"), GraphicsFormat::Svg);
  EXPECT_EQ(graphicsFormatOf("c.Pdf"), GraphicsFormat::Pdf);
  EXPECT_EQ(graphicsFormatOf("d.dxf"), GraphicsFormat::Dxf);
  EXPECT_EQ(graphicsFormatOf("e.wmf"), std::nullopt);
}

TEST(Export, AnUnwritableFolderGivesTheFileMessageAndLeavesNothing) {
  test::TemporaryFolder folder;
  DefaultSounding d;
  const auto path = folder / "missing" / "plots.dxf";
  EXPECT_EQ(ExportPlots(d.current, d.settings, path, GraphicsFormat::Dxf),
            "CANNOT OPEN FILE: " + path.string());
  EXPECT_EQ(ExportPlots(d.current, d.settings, folder / "missing" / "p.png", GraphicsFormat::Png),
            "CANNOT OPEN FILE: " + (folder / "missing" / "p.png").string());
  EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
}

TEST(Export, AnExistingFileIsReplaced) {
  test::TemporaryFolder folder;
  DefaultSounding d;
  const auto path = folder / "plots.dxf";
  test::writeFile(path, "old contents");
  ASSERT_EQ(ExportPlots(d.current, d.settings, path, GraphicsFormat::Dxf), "");
  EXPECT_EQ(test::readFile(path).rfind("0\nSECTION", 0), 0u);
}

}  // namespace
}  // namespace zeva::ui::qt
