// zeva-cli report FILE|default -o OUT.pdf [--sections ...] [--user NAME]:
// writes the printed report of a sounding as a PDF file, offscreen. Without
// --sections the sections the settings file selects by default are printed.

#include <CLI/CLI.hpp>
#include <cstdlib>

#include "cli/cli_context.h"
#include "ui/qt/render/named_views.h"
#include "ui/qt/render/offscreen_session.h"
#include "ui/qt/render/program_graphics.h"

namespace zeva::cli {

namespace {

// The login name, for the footer "Prepared for ...".
std::string loginName() {
  for (const char* variable : {"USER", "LOGNAME", "USERNAME"})
    if (const char* value = std::getenv(variable); value && *value) return value;
  return {};
}

}  // namespace

void addReportCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand("report", kReportDescription);
  auto input = std::make_shared<std::string>();
  auto output = std::make_shared<std::string>();
  auto sections = std::make_shared<std::vector<std::string>>();
  auto user = std::make_shared<std::string>(loginName());
  command->add_option("input", *input, "sounding: FILE.ZVR or default")->required();
  command->add_option("-o,--output", *output, "PDF file to write")->required();
  command
      ->add_option("--sections", *sections,
                   "sections, comma-separated: plots, worksheet, data, model, bounds, "
                   "resolution, smooth, smooth-bounds, smooth-resolution")
      ->delimiter(',')
      ->check(CLI::IsMember(ui::qt::reportSectionNames()));
  command->add_option("--user", *user, "name for the footer \"Prepared for ...\"");
  command->callback([&context, input, output, sections, user] {
    if (ui::qt::graphicsFormatOf(*output) != ui::qt::GraphicsFormat::Pdf) {
      context.err << "zeva-cli: the report is written as a .pdf file\n";
      context.exitStatus = kUsageError;
      return;
    }
    if (!context.load(*input)) return;
    present::ReportOptions options =
        sections->empty() ? present::ReportOptions{} : ui::qt::reportOptionsNamed(*sections);
    options.userName = *user;
    ui::qt::OffscreenSession session;
    const auto pages = ui::qt::writeReportFile(context.program, *output, options);
    if (!pages) {
      context.exitStatus = kFailed;
      return;
    }
    context.out << *pages << (*pages == 1 ? " page" : " pages") << " written to " << *output
                << '\n';
  });
}

}  // namespace zeva::cli
