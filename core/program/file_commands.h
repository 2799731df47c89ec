#pragma once
// File, Open, Save and Save As of the native .ZVR file, with the question to
// save an unsaved sounding before a command replaces it.

#include <filesystem>
#include <string>
#include <string_view>

#include "core/program/command_result.h"
#include "core/program/program_state.h"

namespace zeva::core {

// Whether a character may stand in a file name on every system the files
// travel to, and a sounding name with the others left out (never empty).
bool isFileNameCharacter(char c);
std::string fileNameOfSounding(std::string_view name);

// A file is read into a record of its own that replaces the current sounding
// only when it was read whole; when a damaged file still gave readings and a
// model, the user may take them as a new unsaved sounding named after the
// file with a "*". A failed save leaves the name and the saved flag as they
// were.
class FileCommands {
 public:
  explicit FileCommands(ProgramState& state) : state_(state) {}

  // Asks to save an unsaved sounding: Yes saves and goes on, No goes on;
  // Cancel, or a save that did not get through, ends the command.
  CommandResult askToSave();

  CommandResult open();                                       // "&Open": ask to save, choose, read
  CommandResult openFile(const std::filesystem::path& file);  // read a named file as Open does
  // The file `name` + ".ZVR" (default: the sounding's own name) in the
  // working folder.
  CommandResult reload(std::string_view name = {});
  CommandResult save();  // "&Save": as Save As when the name cannot be a file name ("*")
  // "Save_&As", offering the name without the characters a file name cannot hold.
  CommandResult saveAs();
  CommandResult saveFileAs(const std::filesystem::path& file);
  // Reads a recovery file kept by an earlier run as a new, unsaved sounding
  // whose name ends in "*"; Failed, with the sounding unchanged, when it
  // cannot be read whole.
  CommandResult recover(const std::filesystem::path& file);

  // The native file last read or written (empty before any).
  const std::filesystem::path& soundingFile() const { return soundingFile_; }
  // The sounding name handed back by the last file action, for the settings file.
  const NameText& lastSoundingName() const { return lastSoundingName_; }

 private:
  void afterRead(bool afterReload, Logical modelOnDataBefore);
  CommandResult readNativeFile(const std::filesystem::path& file, bool afterReload);
  void offerReadablePart(const std::filesystem::path& file, CurrentSounding& read);

  ProgramState& state_;
  std::filesystem::path soundingFile_;
  NameText lastSoundingName_;
};

}  // namespace zeva::core
