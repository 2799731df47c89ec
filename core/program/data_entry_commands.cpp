// The commands that take readings typed into the data editor: a new
// sounding of File, New, and the edited data of Edit, Data.

#include "core/program/data_commands.h"
#include "core/record/data_type.h"

namespace zeva::core {

namespace {

inline constexpr std::string_view kNoReadingsMessage = "A sounding needs at least one reading";

// The data arrays hold what the header counts say.
bool arraysMatchCounts(const Sounding& s) {
  const SoundingData& d = s.data();
  const auto ndata = static_cast<std::size_t>(s.header.NDATA);
  const auto ncomp = static_cast<std::size_t>(s.header.NCOMP);
  return d.TIME.rows() == ndata && d.TIME.cols() == static_cast<std::size_t>(s.header.NGEOM) &&
         d.VOLTS.rows() == ndata && d.VOLTS.cols() >= ncomp && d.UVOLTS.rows() == ndata &&
         d.UVOLTS.cols() == ncomp && d.LMASK.rows() == ndata && d.LMASK.cols() == ncomp;
}

}  // namespace

CommandResult DataCommands::newSounding(Sounding& entered) {
  if (entered.header.NDATA < 1 || entered.header.NCOMP < 1) {
    state_.toolkit().warning(kNoReadingsMessage);
    return CommandStatus::Refused;
  }
  if (!arraysMatchCounts(entered)) {
    state_.toolkit().warning("THE READINGS DO NOT MATCH THE DATA HEADER");
    return CommandStatus::Refused;
  }
  state_.adoptData(entered);
  return CommandStatus::Done;
}

CommandResult DataCommands::replaceData(Sounding& edited) {
  const NameText name = state_.S().header.name;
  if (const CommandResult adopted = newSounding(edited); !adopted) return adopted;
  state_.S().header.name = name;
  state_.SM().header.name = name;
  return CommandStatus::Done;
}

}  // namespace zeva::core
