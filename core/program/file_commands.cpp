// The native-file commands of the program: Open, Reload, Save and Save As,
// with the question to save an unsaved sounding before it is replaced.
//
// A file is read into a record of its own, which replaces the current
// sounding only when the whole file was read: a damaged file leaves the
// sounding, its name and its saved flag as they were. The folder of the file
// last opened or saved is the working folder: Save writes there, the file
// dialogs start there, and the settings file remembers it.

#include <algorithm>

#include "core/program/command_guard.h"
#include "core/program/program.h"
#include "core/program/shown_messages.h"
#include "core/program/sounding_record.h"
#include "core/record/data_type.h"
#include "files/native_file.h"
#include "files/native_file_reader.h"

namespace zeva::core {

namespace fs = std::filesystem;

namespace {

bool frameWithoutScale(const GraphFrame& frame) {
  return frame.xCycleLength == 0.0f || frame.yCycleLength == 0.0f;
}

bool isLoopTem(const DataTypeText& type) { return traitsOf(type).loopTem; }

bool anyNonZero(std::span<const float> values) {
  return std::ranges::any_of(values, [](float v) { return v != 0.0f; });
}

// A record that a damaged file left with readings and a model worth keeping.
bool holdsReadableSounding(const CurrentSounding& read) {
  const Sounding& S = read.S;
  return S.NDATA() > 0 && S.NPAR() > 0 && anyNonZero(S.data().TIME.elements()) &&
         anyNonZero(S.data().VOLTS.elements()) && anyNonZero(S.M.PAR);
}

fs::path absoluteFolderOf(const fs::path& file) {
  std::error_code ec;
  const fs::path full = fs::absolute(file, ec);
  return (ec ? file : full).parent_path();
}

}  // namespace

bool isFileNameCharacter(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 0x20 && u != 0x7f &&
         std::string_view("*?\"<>|/\\:").find(c) == std::string_view::npos;
}

std::string fileNameOfSounding(std::string_view name) {
  std::string clean;
  for (char c : name)
    if (isFileNameCharacter(c)) clean += c;
  while (!clean.empty() && (clean.back() == ' ' || clean.back() == '.')) clean.pop_back();
  while (!clean.empty() && clean.front() == ' ') clean.erase(clean.begin());
  return clean.empty() ? std::string("Sounding") : clean;
}

bool Program::askToSave() {
  if (isSet(current_.S.layer.saved)) return true;
  switch (toolkit_.yesNoCancel("Save " + current_.S.header.name.trimmed() + "?")) {
    case ui::Answer::Yes:
    case ui::Answer::Ok:
      return save();
    case ui::Answer::No:
      return true;
    case ui::Answer::Cancel:
      break;
  }
  return false;
}

void Program::applyFileSwitchRules(bool afterReload) {
  const DataTypeText& type = current_.S.header.dataType;
  if (isMaxMin(type) || traitsOf(type).id == DataTypeId::Magnetotelluric) {
    current_.modelOnData = kFalse;
    view_.voltageView = view_.linearTime = false;
  } else if (isLoopTem(type)) {
    current_.modelOnData = kFalse;
  } else if (afterReload ? current_.S.NPK() >= 2 : !isMagnetotelluric(type) && !isTem(type)) {
    // After the reload at start-up only models with IP parameters leave the
    // TEM voltage views; after Open every type without time-domain data does.
    view_.voltageView = view_.linearTime = false;
  }
}

void Program::afterRead(bool afterReload, Logical modelOnDataBefore) {
  applyFileSwitchRules(afterReload);
  const auto& frames = current_.dataFrames;
  const auto& models = current_.modelFrames;
  if (std::ranges::any_of(frames, frameWithoutScale) ||
      std::ranges::any_of(models, frameWithoutScale) || current_.modelOnData != modelOnDataBefore)
    autoscalePending_ = true;
  detectSegments();
  toolkit_.requestRedraw();
}

bool Program::readNativeFile(const fs::path& file, bool afterReload) {
  CurrentSounding read;
  if (!guarded(toolkit_, [&] { return shown(toolkit_, files::openNativeFile(file, read)); })) {
    offerReadablePart(file, read);
    return false;
  }
  const Logical modelOnDataBefore = current_.modelOnData;
  moveRecord(read, current_);
  current_.S.layer.saved = kTrue;
  dataFolder_ = absoluteFolderOf(file);
  soundingFile_ = dataFolder_ / file.filename();
  lastSoundingName_ = current_.S.header.name;
  afterRead(afterReload, modelOnDataBefore);
  return true;
}

bool Program::recover(const fs::path& file) {
  CurrentSounding read;
  files::FileHandle handle(std::fopen(file.string().c_str(), "rb"));
  if (!handle) return false;
  files::FileSource source(handle.get());
  if (!guarded(toolkit_,
               [&] { return shown(toolkit_, files::readNativeFile(source, read, file.string())); }))
    return false;
  // Named with a "*", so that Save asks where: the kept sounding may differ
  // from every file of its name.
  std::string name = read.S.header.name.trimmed();
  std::erase(name, '*');
  read.S.header.name.assign(name.substr(0, 23) + "*");
  read.SM.header.name = read.S.header.name;
  const Logical modelOnDataBefore = current_.modelOnData;
  moveRecord(read, current_);
  current_.S.layer.saved = kFalse;
  soundingFile_.clear();
  afterRead(false, modelOnDataBefore);
  return true;
}

void Program::offerReadablePart(const fs::path& file, CurrentSounding& read) {
  if (!holdsReadableSounding(read)) return;
  // Never under the damaged file's name: a later Save would overwrite it.
  const std::string name =
      files::soundingNameFromFile(file.filename().string()).substr(0, 23) + "*";
  if (!toolkit_.yesNo("Only part of " + file.filename().string() +
                          " could be read. Open the part that was read as the new, unsaved "
                          "sounding \"" +
                          name + "\"?",
                      false))
    return;
  const Logical modelOnDataBefore = current_.modelOnData;
  read.S.header.name.assign(name);
  read.SM.header.name = read.S.header.name;
  if (read.SM.model.NPK <= 0) resetSmoothModel(read);
  moveRecord(read, current_);
  current_.S.layer.saved = kFalse;
  afterRead(false, modelOnDataBefore);
  autoscalePending_ = true;
}

bool Program::open() {
  if (!askToSave()) return false;
  const std::optional<std::string> chosen = guarded(toolkit_, [&] {
    return toolkit_.chooseFileToOpen({files::kNativeFileTitle, files::kNativeFileFilter},
                                     files::defaultNativeFile(current_, dataFolder_).string());
  });
  if (!chosen) return false;
  return readNativeFile(dataFolder_ / *chosen, false);
}

bool Program::openFile(const fs::path& file) { return readNativeFile(file, false); }

bool Program::reload(std::string_view name) {
  const std::string file = (name.empty() ? current_.S.header.name.trimmed() : std::string(name)) +
                           std::string(files::kNativeFileExtension);
  return readNativeFile(dataFolder_ / file, true);
}

bool Program::save() {
  const std::string name = current_.S.header.name.trimmed();
  if (name.empty() || !std::ranges::all_of(name, isFileNameCharacter)) return saveAs();
  // A file whose name says more than the sounding name it gives ("B.v2.ZVR"
  // gives "B") is written again under its own name, never over "B.ZVR".
  if (!soundingFile_.empty() &&
      files::soundingNameFromFile(soundingFile_.filename().string()) == name &&
      soundingFile_.filename() != fs::path(name + std::string(files::kNativeFileExtension)))
    return saveFileAs(soundingFile_);
  const Logical savedBefore = current_.S.layer.saved;
  if (!guarded(toolkit_,
               [&] { return shown(toolkit_, files::saveNativeFile(dataFolder_, current_)); })) {
    current_.S.layer.saved = savedBefore;
    return false;
  }
  soundingFile_ = files::findFileIgnoringCase(files::defaultNativeFile(current_, dataFolder_))
                      .value_or(files::defaultNativeFile(current_, dataFolder_));
  lastSoundingName_ = current_.S.header.name;
  return true;
}

bool Program::saveAs() {
  const fs::path proposed = dataFolder_ / (fileNameOfSounding(current_.S.header.name.trimmed()) +
                                           std::string(files::kNativeFileExtension));
  const std::optional<std::string> chosen = guarded(toolkit_, [&] {
    return toolkit_.chooseFileToSave({files::kNativeFileTitle, files::kNativeFileFilter},
                                     proposed.string());
  });
  toolkit_.requestRedraw();
  if (!chosen) return false;
  fs::path target = dataFolder_ / *chosen;
  if (!target.has_extension()) target += files::kNativeFileExtension;
  return saveFileAs(target);
}

bool Program::saveFileAs(const fs::path& file) {
  const std::string base = file.filename().string();
  if (base.empty() || !std::ranges::all_of(base, isFileNameCharacter)) {
    toolkit_.warning("A file name cannot hold the characters * ? \" < > | : \\ : " + base);
    return false;
  }
  const NameText nameBefore = current_.S.header.name;
  const Logical savedBefore = current_.S.layer.saved;
  if (!guarded(toolkit_,
               [&] { return shown(toolkit_, files::saveNativeFileAs(file, current_)); })) {
    // The sounding keeps the name and state of before: nothing was saved.
    current_.S.header.name = current_.SM.header.name = nameBefore;
    current_.S.layer.saved = savedBefore;
    return false;
  }
  dataFolder_ = absoluteFolderOf(file);
  soundingFile_ = dataFolder_ / file.filename();
  lastSoundingName_ = current_.S.header.name;
  return true;
}

}  // namespace zeva::core
