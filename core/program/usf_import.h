#pragma once
// The import of one sounding of a USF file: the file dialog, the question
// which of its soundings, then the reading. Repeated imports from one file
// step through its soundings and wrap to a new file dialog after the last.

#include <string>

#include "core/program/command_result.h"
#include "core/record/sounding.h"
#include "ui/toolkit/toolkit.h"

namespace zeva::core {

// What the import remembers between calls.
struct UsfImportMemory {
  std::string lastFile;
  int proposedSounding = 1;
};

// Reads the chosen sounding into `result`, a new record, so that a failed
// import leaves the caller's sounding as it was. Cancelled when the user
// cancels; Failed after the messages of the failure.
CommandResult importUsfSounding(ui::Toolkit& toolkit, UsfImportMemory& memory, Sounding& result);

}  // namespace zeva::core
