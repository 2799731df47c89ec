#include "core/program/usf_import.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>

#include "core/program/shown_messages.h"
#include "files/usf_reader.h"

namespace zeva::core {

CommandResult importUsfSounding(ui::Toolkit& toolkit, UsfImportMemory& memory, Sounding& result) {
  const auto chosen =
      toolkit.chooseFileToOpen({files::kUsfFileTitle, files::kUsfFileFilter}, memory.lastFile);
  if (!chosen) return CommandStatus::Cancelled;
  if (*chosen != memory.lastFile) memory.proposedSounding = 1;
  memory.lastFile = *chosen;
  std::ifstream in;
  if (!shown(toolkit, files::openUsfFile(*chosen, in))) return CommandStatus::Failed;
  int count = 0;
  if (!shown(toolkit, files::readUsfSoundingCount(in, count))) return CommandStatus::Failed;
  std::array<char, 16> field{};
  std::snprintf(field.data(), field.size(), "%5d", count);
  const auto answer =
      toolkit.askNumber("Enter sounding number to read (1 to " + std::string(field.data()) + "): ",
                        memory.proposedSounding);
  if (!answer) return CommandStatus::Cancelled;
  const double rounded = std::nearbyint(*answer);
  const int number = rounded >= 1.0 && rounded <= count ? static_cast<int>(rounded) : 0;
  // The file is read again from its start: the main header, then the soundings up to the chosen.
  in.clear();
  in.seekg(0);
  if (!shown(toolkit, files::readUsfSounding(in, number, result))) return CommandStatus::Failed;
  memory.proposedSounding = number + 1;
  if (memory.proposedSounding > count) {
    memory.proposedSounding = 1;
    memory.lastFile.clear();
  }
  return CommandStatus::Done;
}

}  // namespace zeva::core
