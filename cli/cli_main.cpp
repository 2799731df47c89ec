#include <CLI/CLI.hpp>
#include <algorithm>
#include <exception>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>

#include "cli/cli_context.h"
#include "core/record/floating_point.h"

namespace zeva::cli {

namespace {

struct Verb {
  std::string_view name;
  void (*add)(CLI::App& app, CliContext& context);
};

// Every verb that does not draw, in the order the help lists them.
constexpr Verb kVerbs[] = {
    {"new", addNewCommand},
    {"info", addInfoCommand},
    {"save", addSaveCommand},
    {"forward", addForwardCommand},
    {"set-model", addSetModelCommand},
    {"shift", addShiftCommand},
    {"invert", addInvertCommand},
    {"transfer", addTransferCommand},
    {"estimate", addEstimateCommand},
    {"smooth", addSmoothCommand},
    {"equivalence", addEquivalenceCommand},
    {"import-usf", addImportUsfCommand},
    {"import-dat", addImportDatCommand},
    {"import-edi", addImportEdiCommand},
    {"import-model", addImportModelCommand},
    {"export", addExportCommand},
    {"survey-import", addSurveyImportCommand},
    {"batch", addBatchCommand},
    {"batch-merge", addBatchMergeCommand},
    {"lci", addLciCommand},
};

bool namesAVerb(std::string_view word) {
  return std::any_of(std::begin(kVerbs), std::end(kVerbs),
                     [word](const Verb& verb) { return verb.name == word; }) ||
         std::find(std::begin(kGraphicsVerbs), std::end(kGraphicsVerbs), word) !=
             std::end(kGraphicsVerbs);
}

// The verb whose options alone need building: the first argument names it
// and no later argument names any verb, so CLI11 never looks for a sibling.
// Building every verb's options costs more than most verbs' work; any other
// command line (help, version, a mistake) gets the whole set.
const Verb* soleVerbOf(int argc, char** argv) {
  if (argc < 2) return nullptr;
  const auto* verb = std::find_if(std::begin(kVerbs), std::end(kVerbs),
                                  [argv](const Verb& v) { return v.name == argv[1]; });
  if (verb == std::end(kVerbs)) return nullptr;
  for (int i = 2; i < argc; ++i)
    if (namesAVerb(argv[i])) return nullptr;
  return verb;
}

}  // namespace

int runZevaCli(int argc, char** argv, AddGraphicsVerbs addGraphicsVerbs) {
  core::flushDenormalsToZero();
  try {
    CliContext context(std::cout, std::cerr);
    CLI::App app{"ZEVA: one-dimensional interpretation of geophysical soundings", "zeva-cli"};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("zeva-cli ") + ZEVA_VERSION);
    if (const Verb* verb = soleVerbOf(argc, argv)) {
      verb->add(app, context);
    } else {
      for (const Verb& each : kVerbs) each.add(app, context);
      addGraphicsVerbs(app, context);
    }
    try {
      app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
      const int status = app.exit(error);
      return status == 0 ? kSuccess : kUsageError;
    }
    return context.exitStatus;
  } catch (const std::exception& error) {
    std::cerr << "zeva-cli: " << error.what() << '\n';
    return kFailed;
  }
}

}  // namespace zeva::cli
