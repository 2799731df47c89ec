// zeva-cli equivalence FILE [--smooth] [--weight-errors] [-o OUT.ZVR] [--json]:
// the equivalence analysis of the inverted layered model (Calculate, Analyze
// Equivalence), or with --smooth of the smooth model, measuring models by the
// weighted fit under error weighting. Each needs the resolution matrix its
// inversion left; the ranges appear under "equivalence" (and
// "smooth_equivalence") of the JSON.

#include <CLI/CLI.hpp>
#include <memory>

#include "cli/fit_options.h"
#include "cli/sounding_command.h"

namespace zeva::cli {

void addEquivalenceCommand(CLI::App& app, CliContext& context) {
  auto smooth = std::make_shared<bool>(false);
  auto fit = std::make_shared<FitOptions>();
  auto* command = addSoundingCommand(
      app, context, "equivalence",
      "Analyse the equivalence of the inverted layered model, or of the smooth model",
      [smooth, fit](core::Program& program) {
        fit->apply(program);
        if (*smooth) program.SM().layer.errorWeighting = program.S().layer.errorWeighting;
        return *smooth ? program.estimation().analyzeSmoothEquivalence()
                       : program.estimation().analyzeEquivalence();
      });
  command->add_flag("--smooth", *smooth, "analyse the smooth model instead of the layered one");
  fit->add(*command, false);
}

}  // namespace zeva::cli
