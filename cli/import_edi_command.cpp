// zeva-cli import-edi FILE.EDI [--mode xy|yx|det|ssq] -o OUT.ZVR: import the
// MT data of a SEG standard EDI file, one curve of its impedance tensor, and
// write them as a native file.

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"
#include "files/edi_reader.h"

namespace zeva::cli {

void addImportEdiCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand("import-edi", "Import MT data from a SEG standard EDI file");
  auto input = std::make_shared<std::string>();
  auto output = std::make_shared<std::string>();
  command->add_option("input", *input, "EDI file")->required();
  command->add_option("-o,--output", *output, "native file to write")->required();
  auto mode = std::make_shared<std::string>();
  command
      ->add_option("--mode", *mode,
                   "curve of the impedance tensor: xy, yx, det (determinant invariant) or ssq "
                   "(sum-of-squares invariant); default xy, or yx when the file has no xy")
      ->check(CLI::IsMember({"xy", "yx", "det", "ssq"}));
  command->callback([&context, input, output, mode] {
    context.toolkit.fileToOpen = *input;
    const files::EdiMode chosen = *mode == "xy"    ? files::EdiMode::Xy
                                  : *mode == "yx"  ? files::EdiMode::Yx
                                  : *mode == "det" ? files::EdiMode::Determinant
                                  : *mode == "ssq" ? files::EdiMode::SumOfSquares
                                                   : files::EdiMode::Auto;
    context.toolkit.number = static_cast<double>(chosen);  // the answer to the curve question
    if (!context.program.exchange().importEdiData()) {
      context.exitStatus = kFailed;
      return;
    }
    context.write(*output);
  });
}

}  // namespace zeva::cli
