#pragma once
// The well log beside the sounding: "Well Log File" reads one with the flat
// ASCII well-log importer; "&Set Layered Model" replaces the layered model by
// its step fit.

#include <string>
#include <string_view>

#include "core/program/command_result.h"
#include "core/program/model_commands.h"
#include "core/program/program_state.h"
#include "core/program/program_types.h"

namespace zeva::core {

inline constexpr std::string_view kNoWellLogMessage = "No well log has been read";
inline constexpr std::string_view kNoUsableLogMessage =
    "NO DEPTH AND POSITIVE RESISTIVITY IN WELL LOG: ";

class WellLogCommands {
 public:
  WellLogCommands(ProgramState& state, ModelCommands& model) : state_(state), model_(model) {}

  CommandResult importWellLog();
  void setWellLog(WellLog log, std::string name);
  const WellLog& wellLog() const { return wellLog_; }
  const std::string& wellLogName() const { return wellLogName_; }
  // The step fit with at most `layers` layers becomes the layered model.
  CommandResult setModelFromWellLog(int layers);

 private:
  ProgramState& state_;
  ModelCommands& model_;
  WellLog wellLog_;
  std::string wellLogName_;
};

}  // namespace zeva::core
