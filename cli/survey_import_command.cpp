// zeva-cli survey-import SOURCE [-o FOLDER]: makes a survey. SOURCE is a
// folder (its .ZVR soundings, and its .EDI files imported into .ZVR files of
// the same name) or a USF file (every sounding written into FOLDER as
// STEM_NNN.ZVR). The soundings are listed in name order with their station,
// data type and location in FOLDER/survey.json. Native files already there
// are kept as they are; a file that cannot be read is left out with its
// message (exit status 1).

#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "cli/cli_context.h"
#include "core/survey/survey_import.h"

namespace zeva::cli {

namespace {

struct SurveyImportOptions {
  std::string source;
  std::string folder;
};

void importSurvey(CliContext& context, const SurveyImportOptions& o) {
  namespace fs = std::filesystem;
  const fs::path source(o.source);
  std::error_code error;
  const bool fromFolder = fs::is_directory(source, error);
  if (!fromFolder && o.folder.empty())
    return context.fail("survey-import: a USF file needs -o FOLDER for its soundings");
  const fs::path folder = o.folder.empty() ? source : fs::path(o.folder);
  if (!fs::is_directory(folder, error))
    return context.fail("survey-import: " + folder.string() + " is not a folder");
  if (fromFolder && !o.folder.empty() && !fs::equivalent(source, folder, error))
    return context.fail("survey-import: a folder is made a survey in place; leave out -o");

  const core::SurveyImport survey =
      fromFolder ? core::importSurveyFolder(folder) : core::importSurveyUsf(source, folder);
  for (const std::string& problem : survey.problems) context.err << problem << " (left out)\n";
  if (survey.stations.empty()) return context.fail("No readable soundings in " + o.source);
  std::string message;
  if (!core::writeSurveyIndex(folder, survey.stations, message)) return context.fail(message);
  context.out << survey.stations.size() << " soundings in "
              << (folder / core::kSurveyIndexName).string() << '\n';
  if (!survey.problems.empty()) context.exitStatus = kFailed;
}

}  // namespace

void addSurveyImportCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand(
      "survey-import",
      "Make a survey (survey.json) of a folder of .ZVR and .EDI files, or of every sounding of "
      "a USF file");
  auto o = std::make_shared<SurveyImportOptions>();
  command
      ->add_option("source", o->source,
                   "folder of .ZVR and .EDI soundings, or a USF file with many soundings")
      ->required()
      ->check(CLI::ExistingPath);
  command->add_option("-o,--output", o->folder,
                      "survey folder for the soundings of a USF file (an existing folder)");
  command->callback([&context, o] { importSurvey(context, *o); });
}

}  // namespace zeva::cli
