// zeva-cli forward FILE|default [-o OUT.ZVR] [--json]: the synthetic data and
// fit of the sounding's layered model, by the forward routine of its data type
// (Calculate, Forward). Schlumberger soundings read AB/2 from the first
// geometry column and the full potential-electrode separation MN from the
// second; their synthetics carry the segment steps of the data when the
// sounding's shift target asks for it. TEM data are refused with a message.

#include "cli/sounding_command.h"

namespace zeva::cli {

void addForwardCommand(CLI::App& app, CliContext& context) {
  addSoundingCommand(
      app, context, "forward",
      "Compute the synthetic data and fit of the layered model (a .ZVR file or 'default'). "
      "Schlumberger geometry: AB/2, then MN, the full potential-electrode separation",
      [](core::Program& program) { return program.model().forwardModel(); });
}

}  // namespace zeva::cli
