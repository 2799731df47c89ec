// zeva-cli survey-import FOLDER: makes the folder's .ZVR soundings a survey,
// listing them in name order with their station, data type and location in
// FOLDER/survey.json. A file that cannot be read is left out with its
// message (exit status 1).

#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "cli/batch_sounding.h"
#include "cli/cli_context.h"

namespace zeva::cli {

namespace {

void importSurvey(CliContext& context, const std::filesystem::path& folder) {
  std::vector<SurveyStation> stations;
  bool skipped = false;
  for (const std::string& file : nativeFilesOf(folder)) {
    SurveyStation station{file, {}, {}, {}, {}, {}};
    std::string message;
    if (readSurveyStation(folder / file, station, message)) {
      stations.push_back(std::move(station));
    } else {
      context.err << file << " left out: " << message << '\n';
      skipped = true;
    }
  }
  if (stations.empty())
    return context.fail("No readable soundings (.ZVR files) in " + folder.string());
  std::string error;
  if (!writeSurveyIndex(folder, stations, error)) return context.fail(error);
  context.out << stations.size() << " soundings in " << (folder / kSurveyIndexName).string()
              << '\n';
  if (skipped) context.exitStatus = kFailed;
}

}  // namespace

void addSurveyImportCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand(
      "survey-import",
      "Index the .ZVR soundings of a folder as a survey (survey.json); USF files with many "
      "soundings and folders of EDI files are not read yet");
  auto folder = std::make_shared<std::string>();
  command->add_option("folder", *folder, "folder of .ZVR soundings")
      ->required()
      ->check(CLI::ExistingDirectory);
  command->callback([&context, folder] { importSurvey(context, *folder); });
}

}  // namespace zeva::cli
