// zeva-cli new [--type TYPE] -o FILE.ZVR: write a new sounding of a type.

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"
#include "core/program/example_soundings.h"
#include "core/record/data_type.h"

namespace zeva::cli {

void addNewCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand("new", "Write a new sounding of a data type");
  auto type = std::make_shared<std::string>(std::string(core::type::kSchlumberger));
  auto output = std::make_shared<std::string>();
  command->add_option("--type", *type, "data type text, e.g. \"Schlumberger Array\"")
      ->capture_default_str();
  command->add_option("-o,--output", *output, "native file to write")->required();
  command->callback([&context, type, output] {
    if (!core::makeExampleSounding(core::DataTypeText(*type), context.program.current())) {
      context.fail("No example sounding for data type: " + *type);
      return;
    }
    context.program.state().detectSegments();
    context.write(*output);
  });
}

}  // namespace zeva::cli
