// The native-file commands of the program: Open, Reload, Save and Save As,
// with the question to save an unsaved sounding before it is replaced.

#include <algorithm>

#include "core/data_type.h"
#include "core/program/command_guard.h"
#include "core/program/program.h"
#include "files/native_file.h"

namespace zeva::core {

namespace {

// A native-file action of the front end behind the command boundary; a
// failure keeps the last sounding name.
files::FileActionResult nativeAction(std::string_view action, CurrentSounding& current,
                                     const std::filesystem::path& folder, ui::Toolkit& toolkit,
                                     const NameText& lastSoundingName) {
  files::FileActionResult failed;
  failed.lastSoundingName = lastSoundingName;
  return guarded(
      toolkit, [&] { return files::nativeFileAction(action, current, folder, toolkit); }, failed);
}

bool frameWithoutScale(const GraphFrame& frame) {
  return frame.xCycleLength == 0.0f || frame.yCycleLength == 0.0f;
}

bool isLoopTem(const DataTypeText& type) {
  return type == type::kCentralLoopTem || type == type::kCoincidentLoopTem ||
         type == type::kFixedLoopTem;
}

}  // namespace

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
  if (isMaxMin(type) || type == type::kMagnetotelluric) {
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
    autoscalePending = true;
  current_.S.layer.saved = kTrue;
  detectSegments();
  toolkit_.requestRedraw();
}

bool Program::open() {
  if (!askToSave()) return false;
  const Logical modelOnDataBefore = current_.modelOnData;
  const auto result = nativeAction("Open", current_, dataFolder_, toolkit_, lastSoundingName);
  lastSoundingName = result.lastSoundingName;
  if (!result.success) return false;
  afterRead(false, modelOnDataBefore);
  return true;
}

bool Program::openFile(const std::filesystem::path& file) {
  const Logical modelOnDataBefore = current_.modelOnData;
  if (!guarded(toolkit_, [&] { return files::openNativeFile(file, current_, toolkit_); }))
    return false;
  lastSoundingName = current_.S.header.name;
  afterRead(false, modelOnDataBefore);
  return true;
}

bool Program::reload() {
  const Logical modelOnDataBefore = current_.modelOnData;
  const auto result = nativeAction("Reload", current_, dataFolder_, toolkit_, lastSoundingName);
  lastSoundingName = result.lastSoundingName;
  if (!result.success) return false;
  afterRead(true, modelOnDataBefore);
  return true;
}

bool Program::save() {
  if (current_.S.header.name.trimmed().find('*') != std::string::npos) return saveAs();
  const auto result = nativeAction("Save", current_, dataFolder_, toolkit_, lastSoundingName);
  if (result.success) lastSoundingName = result.lastSoundingName;
  return result.success;
}

bool Program::saveAs() {
  const auto result = nativeAction("SaveAs", current_, dataFolder_, toolkit_, lastSoundingName);
  if (result.success) lastSoundingName = result.lastSoundingName;
  toolkit_.requestRedraw();
  return result.success;
}

bool Program::saveFileAs(const std::filesystem::path& file) {
  if (!guarded(toolkit_, [&] { return files::saveNativeFileAs(file, current_, toolkit_); }))
    return false;
  lastSoundingName = current_.S.header.name;
  return true;
}

}  // namespace zeva::core
