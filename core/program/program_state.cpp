#include "core/program/program_state.h"

#include <ostream>
#include <string>

#include "core/program/column_questions.h"
#include "core/program/shown_messages.h"
#include "core/record/data_type.h"
#include "files/flat_ascii_import.h"
#include "files/text_input.h"
#include "forward/forward_choice.h"
#include "inversion/inversion_steps.h"
#include "inversion/segment_shifting.h"

namespace zeva::core {

namespace {

bool isConductivityType(const DataTypeText& type) { return traitsOf(type).conductivityModel; }

}  // namespace

ProgramState::ProgramState(ui::Toolkit& toolkit, std::filesystem::path dataFolder,
                           std::ostream* debugLog)
    : toolkit_(toolkit), dataFolder_(std::move(dataFolder)), debugLog_(debugLog) {}

void ProgramState::detectSegments() {
  if (!inversion::SHIFTP(current_.S)) toolkit_.warning(inversion::kShiftAllocationMessage);
  current_.S.shareDataWith(current_.SM);
}

void ProgramState::logError(int code) { writeDebugLine("ERROR:" + std::to_string(code)); }

void ProgramState::writeDebugLine(std::string_view line) {
  if (debugLog_) *debugLog_ << line << '\n' << std::flush;
}

void ProgramState::applyFileSwitchRules(bool afterReload) {
  const DataTypeText& type = current_.S.header.dataType;
  if (isMaxMin(type) || traitsOf(type).id == DataTypeId::Magnetotelluric) {
    current_.modelOnData = kFalse;
    view_.voltageView = view_.linearTime = false;
  } else if (traitsOf(type).loopTem) {
    current_.modelOnData = kFalse;
  } else if (afterReload ? current_.S.NPK() >= 2 : !isMagnetotelluric(type) && !isTem(type)) {
    // After the reload at start-up only models with IP parameters leave the
    // TEM voltage views; after Open every type without time-domain data does.
    view_.voltageView = view_.linearTime = false;
  }
}

void ProgramState::adoptData(Sounding& imported) {
  Sounding& S = current_.S;
  const bool wasConductivity = isConductivityType(S.header.dataType);
  S.header = imported.header;
  S.data() = std::move(imported.data());  // the storage SM shares
  S.SVOLT.resize(static_cast<std::size_t>(S.header.NDATA),
                 static_cast<std::size_t>(S.header.NCOMP));
  // The model carries conductivities (mS/m) for EM conductivity data and
  // resistivities otherwise.
  if (wasConductivity != isConductivityType(S.header.dataType))
    for (int j = 0; j < S.NLAYER() && j < static_cast<int>(S.M.PAR.size()); ++j) {
      float& value = S.M.PAR[static_cast<std::size_t>(j)];
      if (value != 0.0f) value = 1000.0f / value;
    }
  for (Sounding* s : {&current_.S, &current_.SM}) {
    s->layer.syntheticValid = s->layer.resolutionValid = s->layer.equivalenceValid = kFalse;
  }
  S.layer.saved = kFalse;
  // The switches follow the new data as after Open: no TEM voltage view
  // over other families, no model on MaxMin, MT or TEM data.
  applyFileSwitchRules(false);
  detectSegments();
  autoscalePending_ = true;
  toolkit_.requestRedraw();
}

void ProgramState::runForwardQuietly() {
  Sounding& S = current_.S;
  if (!S.hasModel() || S.NDATA() <= 0 || !forward::hasForwardModel(S)) return;
  inversion::runForward(S, forward::chooseForwardRoutine(S, toolkit_));
}

CommandResult ProgramState::askImportColumns(const std::filesystem::path& file,
                                             files::FlatAsciiRequest& request) {
  // The dialog shows the file: only a regular file is opened (a FIFO or a
  // device would never end).
  if (!shown(toolkit_, files::checkRegularFile(file))) return CommandStatus::Refused;
  const bool answered = columnDialog_
                            ? columnDialog_(file, request, settings_.columns)
                            : askColumns(toolkit_, request.kind, request, settings_.columns);
  return answered ? CommandStatus::Done : CommandStatus::Cancelled;
}

}  // namespace zeva::core
