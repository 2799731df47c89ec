// The native-file commands of the program: Open, Reload, Save and Save As,
// with the question to save an unsaved sounding before it is replaced.
//
// A file is read into a record of its own, which replaces the current
// sounding only when the whole file was read: a damaged file leaves the
// sounding, its name and its saved flag as they were. The folder of the file
// last opened or saved is the working folder: Save writes there, the file
// dialogs start there, and the settings file remembers it.

#include "core/program/file_commands.h"

#include <algorithm>

#include "core/program/command_guard.h"
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

CommandResult FileCommands::askToSave() {
  const Sounding& S = state_.S();
  if (isSet(S.layer.saved)) return CommandStatus::Done;
  switch (state_.toolkit().yesNoCancel("Save " + S.header.name.trimmed() + "?")) {
    case ui::Answer::Yes:
    case ui::Answer::Ok:
      return save();
    case ui::Answer::No:
      return CommandStatus::Done;
    case ui::Answer::Cancel:
      break;
  }
  return CommandStatus::Cancelled;
}

void FileCommands::afterRead(bool afterReload, Logical modelOnDataBefore) {
  state_.applyFileSwitchRules(afterReload);
  const CurrentSounding& current = state_.current();
  if (std::ranges::any_of(current.dataFrames, frameWithoutScale) ||
      std::ranges::any_of(current.modelFrames, frameWithoutScale) ||
      current.modelOnData != modelOnDataBefore)
    state_.requestAutoscale();
  state_.detectSegments();
  state_.toolkit().requestRedraw();
}

CommandResult FileCommands::readNativeFile(const fs::path& file, bool afterReload) {
  ui::Toolkit& toolkit = state_.toolkit();
  CurrentSounding read;
  if (!guarded(toolkit, [&] { return shown(toolkit, files::openNativeFile(file, read)); })) {
    offerReadablePart(file, read);
    return CommandStatus::Failed;
  }
  CurrentSounding& current = state_.current();
  const Logical modelOnDataBefore = current.modelOnData;
  moveRecord(read, current);
  current.S.layer.saved = kTrue;
  state_.setDataFolder(absoluteFolderOf(file));
  soundingFile_ = state_.dataFolder() / file.filename();
  lastSoundingName_ = current.S.header.name;
  afterRead(afterReload, modelOnDataBefore);
  return CommandStatus::Done;
}

CommandResult FileCommands::recover(const fs::path& file) {
  ui::Toolkit& toolkit = state_.toolkit();
  CurrentSounding read;
  files::FileHandle handle(std::fopen(file.string().c_str(), "rb"));
  if (!handle) return CommandStatus::Failed;
  files::FileSource source(handle.get());
  if (!guarded(toolkit,
               [&] { return shown(toolkit, files::readNativeFile(source, read, file.string())); }))
    return CommandStatus::Failed;
  // Named with a "*", so that Save asks where: the kept sounding may differ
  // from every file of its name.
  std::string name = read.S.header.name.trimmed();
  std::erase(name, '*');
  read.S.header.name.assign(name.substr(0, 23) + "*");
  read.SM.header.name = read.S.header.name;
  CurrentSounding& current = state_.current();
  const Logical modelOnDataBefore = current.modelOnData;
  moveRecord(read, current);
  current.S.layer.saved = kFalse;
  soundingFile_.clear();
  afterRead(false, modelOnDataBefore);
  return CommandStatus::Done;
}

void FileCommands::offerReadablePart(const fs::path& file, CurrentSounding& read) {
  if (!holdsReadableSounding(read)) return;
  // Never under the damaged file's name: a later Save would overwrite it.
  const std::string name =
      files::soundingNameFromFile(file.filename().string()).substr(0, 23) + "*";
  if (!state_.toolkit().yesNo("Only part of " + file.filename().string() +
                                  " could be read. Open the part that was read as the new, "
                                  "unsaved sounding \"" +
                                  name + "\"?",
                              false))
    return;
  CurrentSounding& current = state_.current();
  const Logical modelOnDataBefore = current.modelOnData;
  read.S.header.name.assign(name);
  read.SM.header.name = read.S.header.name;
  if (read.SM.model.NPK <= 0) resetSmoothModel(read);
  moveRecord(read, current);
  current.S.layer.saved = kFalse;
  afterRead(false, modelOnDataBefore);
  state_.requestAutoscale();
}

CommandResult FileCommands::open() {
  if (const CommandResult saved = askToSave(); !saved) return saved;
  ui::Toolkit& toolkit = state_.toolkit();
  const CommandValue<std::string> chosen = guardedChoice(toolkit, [&] {
    return toolkit.chooseFileToOpen(
        {files::kNativeFileTitle, files::kNativeFileFilter},
        files::defaultNativeFile(state_.current(), state_.dataFolder()).string());
  });
  if (!chosen) return chosen;
  return readNativeFile(state_.dataFolder() / *chosen, false);
}

CommandResult FileCommands::openFile(const fs::path& file) { return readNativeFile(file, false); }

CommandResult FileCommands::reload(std::string_view name) {
  const std::string file = (name.empty() ? state_.S().header.name.trimmed() : std::string(name)) +
                           std::string(files::kNativeFileExtension);
  return readNativeFile(state_.dataFolder() / file, true);
}

CommandResult FileCommands::save() {
  ui::Toolkit& toolkit = state_.toolkit();
  CurrentSounding& current = state_.current();
  const std::string name = current.S.header.name.trimmed();
  if (name.empty() || !std::ranges::all_of(name, isFileNameCharacter)) return saveAs();
  // A file whose name says more than the sounding name it gives ("B.v2.ZVR"
  // gives "B") is written again under its own name, never over "B.ZVR".
  if (!soundingFile_.empty() &&
      files::soundingNameFromFile(soundingFile_.filename().string()) == name &&
      soundingFile_.filename() != fs::path(name + std::string(files::kNativeFileExtension)))
    return saveFileAs(soundingFile_);
  const Logical savedBefore = current.S.layer.saved;
  const fs::path& folder = state_.dataFolder();
  if (!guarded(toolkit, [&] { return shown(toolkit, files::saveNativeFile(folder, current)); })) {
    current.S.layer.saved = savedBefore;
    return CommandStatus::Failed;
  }
  const fs::path written = files::defaultNativeFile(current, folder);
  soundingFile_ = files::findFileIgnoringCase(written).value_or(written);
  lastSoundingName_ = current.S.header.name;
  return CommandStatus::Done;
}

CommandResult FileCommands::saveAs() {
  ui::Toolkit& toolkit = state_.toolkit();
  const fs::path proposed =
      state_.dataFolder() / (fileNameOfSounding(state_.S().header.name.trimmed()) +
                             std::string(files::kNativeFileExtension));
  const CommandValue<std::string> chosen = guardedChoice(toolkit, [&] {
    return toolkit.chooseFileToSave({files::kNativeFileTitle, files::kNativeFileFilter},
                                    proposed.string());
  });
  toolkit.requestRedraw();
  if (!chosen) return chosen;
  fs::path target = state_.dataFolder() / *chosen;
  if (!target.has_extension()) target += files::kNativeFileExtension;
  return saveFileAs(target);
}

CommandResult FileCommands::saveFileAs(const fs::path& file) {
  ui::Toolkit& toolkit = state_.toolkit();
  const std::string base = file.filename().string();
  if (base.empty() || !std::ranges::all_of(base, isFileNameCharacter)) {
    toolkit.warning("A file name cannot hold the characters * ? \" < > | : \\ : " + base);
    return CommandStatus::Refused;
  }
  CurrentSounding& current = state_.current();
  const NameText nameBefore = current.S.header.name;
  const Logical savedBefore = current.S.layer.saved;
  if (!guarded(toolkit, [&] { return shown(toolkit, files::saveNativeFileAs(file, current)); })) {
    // The sounding keeps the name and state of before: nothing was saved.
    current.S.header.name = current.SM.header.name = nameBefore;
    current.S.layer.saved = savedBefore;
    return CommandStatus::Failed;
  }
  state_.setDataFolder(absoluteFolderOf(file));
  soundingFile_ = state_.dataFolder() / file.filename();
  lastSoundingName_ = current.S.header.name;
  return CommandStatus::Done;
}

}  // namespace zeva::core
