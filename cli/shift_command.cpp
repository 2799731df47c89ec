// zeva-cli shift FILE|default [--mode 1|2|3] [--target 1|2] -o OUT.ZVR:
// Edit, Shift Data Segments for scripts. Mode 1 matches the long-spacing
// segment, 2 the short-spacing one, 3 does not shift; target 1 joins the
// data into one curve, 2 leaves the data and shifts the synthetics.

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"

namespace zeva::cli {

void addShiftCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand("shift", "Shift Schlumberger data segments into line");
  auto input = std::make_shared<std::string>();
  auto output = std::make_shared<std::string>();
  auto mode = std::make_shared<int>(1);
  auto target = std::make_shared<int>(1);
  command->add_option("input", *input, "sounding: FILE.ZVR or default")->required();
  command
      ->add_option("--mode", *mode, "1 match long spacing, 2 match short spacing, 3 do not shift")
      ->check(CLI::Range(1, 3))
      ->capture_default_str();
  command
      ->add_option("--target", *target, "1 shift the data (fewer points), 2 shift the synthetics")
      ->check(CLI::Range(1, 2))
      ->capture_default_str();
  command->add_option("-o,--output", *output, "native file to write")->required();
  command->callback([&context, input, output, mode, target] {
    if (!context.load(*input)) return;
    if (!context.program.data().shiftDataSegments(*mode, *target)) {
      context.exitStatus = kFailed;
      return;
    }
    context.write(*output);
  });
}

}  // namespace zeva::cli
