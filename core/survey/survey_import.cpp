#include "core/survey/survey_import.h"

#include <fmt/format.h>

#include <algorithm>
#include <fstream>
#include <system_error>

#include "core/program/program.h"
#include "core/survey/batch_sounding.h"
#include "files/native_file.h"
#include "files/usf_reader.h"
#include "ui/toolkit/text_collector.h"

namespace zeva::core {

namespace fs = std::filesystem;

namespace {

bool hasExtension(const fs::path& path, std::string_view extension) {
  return std::ranges::equal(path.extension().string(), extension, [](char a, char b) {
    return std::toupper(static_cast<unsigned char>(a)) ==
           std::toupper(static_cast<unsigned char>(b));
  });
}

void addStation(const fs::path& folder, const std::string& file, SurveyImport& survey) {
  SurveyStation station{file, {}, {}, {}, {}, {}};
  std::string message;
  if (readSurveyStation(folder / file, station, message))
    survey.stations.push_back(std::move(station));
  else
    survey.problems.push_back(file + ": " + message);
}

// Imports one sounding through the program, answering its file chooser and
// its number question, and writes it as `target`. False with the reason.
template <typename Import>
bool importInto(const fs::path& source, double number, const fs::path& target, Import import,
                std::string& why) {
  ui::TextCollector toolkit;
  toolkit.fileToOpen = source.string();
  toolkit.number = number;
  Program program(toolkit);
  const bool done = import(program) && program.file().saveFileAs(target);
  why = toolkit.text();
  if (!done && why.empty()) why = "cannot be imported";
  return done;
}

std::string textOf(const files::Result& result) {
  std::string text;
  for (const files::Message& m : result.messages) text += (text.empty() ? "" : "; ") + m.text;
  return text.empty() ? "cannot be read" : text;
}

void sortByFile(SurveyImport& survey) {
  std::ranges::sort(survey.stations, {}, &SurveyStation::file);
}

}  // namespace

SurveyImport importSurveyFolder(const fs::path& folder) {
  SurveyImport survey;
  std::vector<std::string> native = nativeFilesOf(folder);
  std::vector<fs::path> edi;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
    if (entry.is_regular_file(error) && hasExtension(entry.path(), ".EDI"))
      edi.push_back(entry.path());
  std::ranges::sort(edi);
  for (const fs::path& file : edi) {
    const std::string name = file.stem().string() + std::string(files::kNativeFileExtension);
    if (fs::exists(folder / name, error)) continue;  // imported before: keep its work
    std::string why;
    if (importInto(
            file, 0.0, folder / name, [](Program& p) { return p.exchange().importEdiData(); }, why))
      native.push_back(name);
    else
      survey.problems.push_back(file.filename().string() + ": " + why);
  }
  for (const std::string& file : native) addStation(folder, file, survey);
  sortByFile(survey);
  return survey;
}

SurveyImport importSurveyUsf(const fs::path& usf, const fs::path& folder) {
  SurveyImport survey;
  std::ifstream in;
  int count = 0;
  files::Result read = files::openUsfFile(usf, in);
  if (read.ok) read = files::readUsfSoundingCount(in, count);
  if (!read.ok) {
    survey.problems.push_back(usf.filename().string() + ": " + textOf(read));
    return survey;
  }
  std::error_code error;
  for (int n = 1; n <= count; ++n) {
    const std::string name =
        fmt::format("{}_{:03}{}", usf.stem().string(), n, files::kNativeFileExtension);
    std::string why;
    if (!fs::exists(folder / name, error) &&
        !importInto(
            usf, n, folder / name, [](Program& p) { return p.exchange().importUsfData(); }, why)) {
      survey.problems.push_back(fmt::format("{} sounding {}: {}", usf.filename().string(), n, why));
      continue;
    }
    addStation(folder, name, survey);
  }
  sortByFile(survey);
  return survey;
}

}  // namespace zeva::core
