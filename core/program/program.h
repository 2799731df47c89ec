#pragma once
// The program: one shared state (the current sounding, the view switches,
// the settings, the working folder and the toolkit) and the command groups
// that act on it, one for each menu or kind of work. The menus of the
// desktop program and the verbs of zeva-cli both call these commands, so
// both behave alike. Everything the user sees goes through the toolkit.
//
//   program.file().open();  program.inversions().multipleIterations();

#include <filesystem>
#include <iosfwd>

#include "core/program/command_result.h"
#include "core/program/data_commands.h"
#include "core/program/estimation_commands.h"
#include "core/program/exchange_commands.h"
#include "core/program/file_commands.h"
#include "core/program/inversion_commands.h"
#include "core/program/layer_commands.h"
#include "core/program/model_commands.h"
#include "core/program/program_state.h"
#include "core/program/undo_commands.h"
#include "core/program/view_commands.h"
#include "core/program/well_log_commands.h"

namespace zeva::core {

class Program {
 public:
  // `dataFolder` is the working folder at start (see ProgramState);
  // `debugLog` receives the "ERROR:" lines (may be null).
  explicit Program(ui::Toolkit& toolkit, std::filesystem::path dataFolder = {},
                   std::ostream* debugLog = nullptr);
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Builds the default sounding, detects its segments and shares its data
  // with the smooth instance, as at start-up; the undo history starts anew.
  void startUp();

  // The command groups.
  FileCommands& file() { return file_; }
  const FileCommands& file() const { return file_; }
  UndoCommands& history() { return history_; }
  const UndoCommands& history() const { return history_; }
  ExchangeCommands& exchange() { return exchange_; }
  DataCommands& data() { return data_; }
  ModelCommands& model() { return model_; }
  InversionCommands& inversions() { return inversions_; }
  EstimationCommands& estimation() { return estimation_; }
  const EstimationCommands& estimation() const { return estimation_; }
  ViewCommands& display() { return display_; }
  const ViewCommands& display() const { return display_; }
  LayerCommands& layers() { return layers_; }
  WellLogCommands& wells() { return wells_; }
  const WellLogCommands& wells() const { return wells_; }

  // The shared state, and the parts of it every caller uses.
  ProgramState& state() { return state_; }
  CurrentSounding& current() { return state_.current(); }
  const CurrentSounding& current() const { return state_.current(); }
  Sounding& S() { return state_.S(); }
  Sounding& SM() { return state_.SM(); }
  ViewSwitches& view() { return state_.view(); }
  ui::Toolkit& toolkit() { return state_.toolkit(); }
  settings::Settings& settings() { return state_.settings(); }
  const std::filesystem::path& dataFolder() const { return state_.dataFolder(); }

 private:
  ProgramState state_;
  FileCommands file_{state_};
  UndoCommands history_{state_};
  ExchangeCommands exchange_{state_, file_};
  DataCommands data_{state_};
  ModelCommands model_{state_};
  InversionCommands inversions_{state_};
  EstimationCommands estimation_{state_};
  ViewCommands display_{state_};
  LayerCommands layers_{state_};
  WellLogCommands wells_{state_, model_};
};

}  // namespace zeva::core
