// zeva-cli estimate FILE|default [-o OUT.ZVR] [--json]: a starting layered
// model estimated directly from DC resistivity data (Calculate, Estimate
// Layered Model), with its forward response; resistivity/IP soundings also
// get estimated IP parameters.

#include "cli/sounding_command.h"

namespace zeva::cli {

void addEstimateCommand(CLI::App& app, CliContext& context) {
  addSoundingCommand(
      app, context, "estimate",
      "Estimate a starting layered model from DC resistivity data (a .ZVR file or 'default')",
      [](core::Program& program) { return program.estimation().estimateLayeredModel(); });
}

}  // namespace zeva::cli
