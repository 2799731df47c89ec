// zeva-cli smooth FILE|default [--occam | --ridge] [-o OUT.ZVR] [--json]: a
// smooth model of many thin layers with fixed boundaries (Calculate, Estimate
// Smooth Model), by Occam's inversion or ridge regression. Without either
// option the sounding's own Occam switch decides.

#include <CLI/CLI.hpp>
#include <memory>

#include "cli/sounding_command.h"

namespace zeva::cli {

void addSmoothCommand(CLI::App& app, CliContext& context) {
  auto occam = std::make_shared<bool>(false);
  auto ridge = std::make_shared<bool>(false);
  auto* command = addSoundingCommand(
      app, context, "smooth",
      "Estimate a smooth model of the sounding (a .ZVR file or 'default'); it appears under "
      "smooth_model of the JSON",
      [occam, ridge](core::Program& program) {
        if ((*occam && !program.occamMode()) || (*ridge && program.occamMode()))
          program.toggleOccam();
        return program.estimateSmoothModel();
      });
  auto* occamFlag = command->add_flag("--occam", *occam, "fit by Occam's inversion");
  auto* ridgeFlag = command->add_flag("--ridge", *ridge, "fit by ridge regression");
  occamFlag->excludes(ridgeFlag);
}

}  // namespace zeva::cli
