#include "python/graphics/drawing_functions.h"

#include <pybind11/stl.h>

#include <algorithm>
#include <cstdlib>

#include "python/command_run.h"
#include "ui/qt/render/named_views.h"
#include "ui/qt/render/offscreen_session.h"
#include "ui/qt/render/program_graphics.h"

namespace py = pybind11;

namespace zeva::python {

namespace {

void checkNames(const std::vector<std::string>& given, const std::vector<std::string>& known,
                const char* what) {
  for (const std::string& name : given)
    if (std::ranges::find(known, name) == known.end())
      throw py::value_error("unknown " + std::string(what) + " '" + name + "'");
}

// The login name, for the footer "Prepared for ...".
std::string loginName() {
  for (const char* variable : {"USER", "LOGNAME", "USERNAME"})
    if (const char* value = std::getenv(variable); value && *value) return value;
  return {};
}

void plot(SoundingSession& input, const std::string& path,
          const std::optional<std::vector<std::string>>& views) {
  const auto format = ui::qt::graphicsFormatOf(path);
  if (!format) throw py::value_error("the output must end in .png, .svg, .pdf or .dxf");
  if (views) checkNames(*views, ui::qt::viewNames(), "view");
  auto s = input.copy();
  runCommand(*s, [&](core::Program& p) {
    if (views && !ui::qt::applyNamedViews(p, *views))
      return core::CommandResult(core::CommandStatus::Refused);
    ui::qt::OffscreenSession session;
    const present::PlotSettings settings = ui::qt::plotSettingsFor(p.view());
    ui::qt::setUpPlotsIfNeeded(p, settings, views.has_value());
    return core::doneIf(ui::qt::exportGraphicsFile(p, path, *format));
  });
}

int report(SoundingSession& input, const std::string& path,
           const std::optional<std::vector<std::string>>& sections,
           const std::optional<std::string>& user) {
  if (ui::qt::graphicsFormatOf(path) != ui::qt::GraphicsFormat::Pdf)
    throw py::value_error("the report is written as a .pdf file");
  if (sections) checkNames(*sections, ui::qt::reportSectionNames(), "section");
  present::ReportOptions options =
      sections ? ui::qt::reportOptionsNamed(*sections) : present::ReportOptions{};
  options.userName = user.value_or(loginName());
  auto s = input.copy();
  int pages = 0;
  runCommand(*s, [&](core::Program& p) {
    ui::qt::OffscreenSession session;
    const auto written = ui::qt::writeReportFile(p, path, options);
    pages = written.value_or(0);
    return core::doneIf(written.has_value());
  });
  return pages;
}

}  // namespace

void addDrawingFunctions(py::module_& m) {
  m.def("plot", &plot, py::arg("sounding"), py::arg("path"), py::kw_only(),
        py::arg("view") = py::none(),
        "Draw the data and model plots into a .png, .svg, .pdf or .dxf file (zeva-cli plot). "
        "view lists everything to show: layered, smooth, equivalence, bostick, niblett, "
        "model-on-data, grid, redline, voltage, linear-time; None keeps the sounding's own.");
  m.def("report", &report, py::arg("sounding"), py::arg("path"), py::kw_only(),
        py::arg("sections") = py::none(), py::arg("user") = py::none(),
        "Write the printed report as a PDF file (zeva-cli report) and return its page count. "
        "sections: plots, worksheet, data, model, bounds, resolution, smooth, smooth-bounds, "
        "smooth-resolution; None prints the default sections. user names the footer's "
        "'Prepared for'.");
}

}  // namespace zeva::python
