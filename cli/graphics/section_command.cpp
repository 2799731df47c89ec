// zeva-cli section FOLDER -o OUT.png|.svg|.pdf|.dxf [--model layered|smooth|lci]
// [--depth D]: draws the section of a survey's models into a graphics file,
// offscreen.

#include <CLI/CLI.hpp>
#include <map>

#include "cli/cli_context.h"
#include "cli/graphics_hand_over.h"
#include "core/survey/survey_section.h"
#include "ui/qt/render/graphics_export.h"
#include "ui/qt/render/offscreen_session.h"

namespace zeva::cli {

namespace {

const std::map<std::string, present::SectionModel> kModels{
    {"layered", present::SectionModel::Layered},
    {"smooth", present::SectionModel::Smooth},
    {"lci", present::SectionModel::Lci}};

}  // namespace

void addSectionCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand("section", kSectionDescription);
  auto folder = std::make_shared<std::string>();
  auto output = std::make_shared<std::string>();
  auto model = std::make_shared<present::SectionModel>(present::SectionModel::Layered);
  auto depth = std::make_shared<float>(0.0f);
  command->add_option("folder", *folder, "the survey folder")->required();
  command->add_option("-o,--output", *output, "graphics file: .png, .svg, .pdf or .dxf")
      ->required();
  command
      ->add_option("--model", *model,
                   "the models shown: layered (the batch results, else the soundings' own), "
                   "smooth or lci (the laterally constrained results)")
      ->transform(CLI::CheckedTransformer(kModels));
  command
      ->add_option("--depth", *depth,
                   "deepest depth shown (m); by default 1.5 times the "
                   "deepest top of a half-space")
      ->check(CLI::PositiveNumber);
  command->callback([&context, folder, output, model, depth] {
    const auto format = ui::qt::graphicsFormatOf(*output);
    if (!format) {
      context.err << "zeva-cli: the output must end in .png, .svg, .pdf or .dxf\n";
      context.exitStatus = kUsageError;
      return;
    }
    std::string error;
    std::optional<core::SurveySection> section = core::readSurveySection(*folder, *model, error);
    if (!section) return context.fail(error);
    for (const std::string& left : section->left) context.err << "left out: " << left << '\n';
    if (*depth > 0.0f) section->input.depth = *depth;
    ui::qt::OffscreenSession session;
    const std::string failure = ui::qt::ExportSection(section->input, *output, *format);
    if (!failure.empty()) context.fail(failure);
  });
}

}  // namespace zeva::cli
