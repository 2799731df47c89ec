// zeva-cli plot FILE|default -o OUT.png|.svg|.pdf|.dxf [--view ...]: draws the
// data plot and the model plot of a sounding into a graphics file, offscreen.
// --view names everything to show; without it the sounding's own switches
// apply.

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"
#include "ui/qt/render/named_views.h"
#include "ui/qt/render/offscreen_session.h"
#include "ui/qt/render/program_graphics.h"

namespace zeva::cli {

void addPlotCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand("plot", kPlotDescription);
  auto input = std::make_shared<std::string>();
  auto output = std::make_shared<std::string>();
  auto views = std::make_shared<std::vector<std::string>>();
  command->add_option("input", *input, "sounding: FILE.ZVR or default")->required();
  command->add_option("-o,--output", *output, "graphics file: .png, .svg, .pdf or .dxf")
      ->required();
  command
      ->add_option("--view", *views,
                   "what to show, comma-separated: layered, smooth, equivalence, bostick, "
                   "niblett, model-on-data, grid, redline; for TEM data voltage (the gates as "
                   "received voltage) and linear-time")
      ->delimiter(',')
      ->check(CLI::IsMember(ui::qt::viewNames()));
  command->callback([&context, input, output, views] {
    const auto format = ui::qt::graphicsFormatOf(*output);
    if (!format) {
      context.err << "zeva-cli: the output must end in .png, .svg, .pdf or .dxf\n";
      context.exitStatus = kUsageError;
      return;
    }
    if (!context.load(*input)) return;
    if (!views->empty() && !ui::qt::applyNamedViews(context.program, *views)) {
      context.exitStatus = kFailed;
      return;
    }
    ui::qt::OffscreenSession session;
    const present::PlotSettings settings = ui::qt::plotSettingsFor(context.program.view());
    ui::qt::setUpPlotsIfNeeded(context.program, settings, !views->empty());
    if (!ui::qt::exportGraphicsFile(context.program, *output, *format))
      context.exitStatus = kFailed;
  });
}

}  // namespace zeva::cli
