// zeva-cli smooth FILE|default [--occam | --ridge] [--zmin Z] [--zmax Z]
// [--weight-errors] [--robust] [-o OUT.ZVR] [--json]: a smooth model of many
// thin layers with fixed boundaries (Calculate, Estimate Smooth Model), by
// Occam's inversion or ridge regression. Without either option the
// sounding's own Occam switch decides. A fit that does not improve on its
// starting model fails (exit status 1) with a message.

#include <CLI/CLI.hpp>
#include <memory>

#include "cli/fit_options.h"
#include "cli/sounding_command.h"
#include "core/survey/fitting_steps.h"

namespace zeva::cli {

void addSmoothCommand(CLI::App& app, CliContext& context) {
  auto occam = std::make_shared<bool>(false);
  auto ridge = std::make_shared<bool>(false);
  auto zmin = std::make_shared<float>(0.0f);  // 0: from the data
  auto zmax = std::make_shared<float>(0.0f);
  auto fit = std::make_shared<FitOptions>();
  auto* command = addSoundingCommand(
      app, context, "smooth",
      "Estimate a smooth model of the sounding (a .ZVR file or 'default'); it appears under "
      "smooth_model of the JSON",
      [occam, ridge, zmin, zmax, fit](core::Program& program) {
        fit->apply(program);
        core::SmoothDepthRange range;
        if (*zmin > 0.0f) range.zmin = *zmin;
        if (*zmax > 0.0f) range.zmax = *zmax;
        const core::SmoothMethod method = *occam   ? core::SmoothMethod::Occam
                                          : *ridge ? core::SmoothMethod::Ridge
                                                   : core::SmoothMethod::AsSounding;
        return core::estimateSmooth(program, method, range);
      });
  auto* occamFlag = command->add_flag("--occam", *occam, "fit by Occam's inversion");
  auto* ridgeFlag = command->add_flag("--ridge", *ridge, "fit by ridge regression");
  occamFlag->excludes(ridgeFlag);
  command
      ->add_option("--zmin", *zmin,
                   "depth of the first layer boundary in m (default: from the data)")
      ->check(CLI::PositiveNumber);
  command->add_option("--zmax", *zmax, "depth the layer grid reaches in m (default: from the data)")
      ->check(CLI::PositiveNumber);
  fit->add(*command);
}

}  // namespace zeva::cli
