#pragma once
// The options of the fitting verbs (invert, smooth, equivalence) that choose
// how residuals are weighed: by the error bars of the data (the sounding's
// error-weighting switch, kept in the file) and, for invert and smooth,
// robustly with Huber weights.

#include <CLI/CLI.hpp>

#include "core/survey/fitting_steps.h"

namespace zeva::cli {

struct FitOptions {
  bool weightErrors = false;
  bool noWeightErrors = false;
  bool robust = false;

  void add(CLI::App& command, bool withRobust = true) {
    auto* on = command.add_flag("--weight-errors", weightErrors,
                                "weigh each value by its error bar (kept in the sounding); the "
                                "fit minimised is the RMS of the error-normalised residuals");
    auto* off = command.add_flag("--no-weight-errors", noWeightErrors,
                                 "switch error weighting off (default: the sounding's switch)");
    on->excludes(off);
    if (withRobust)
      command.add_flag("--robust", robust,
                       "robust fit: iteratively reweighted with Huber weights, so outliers lose "
                       "influence without being masked");
  }

  // Sets the switches of the current sounding before the run.
  void apply(core::Program& program) const {
    std::optional<bool> errorWeighting;
    if (weightErrors) errorWeighting = true;
    if (noWeightErrors) errorWeighting = false;
    core::setFitWeighting(program, errorWeighting, robust);
  }
};

}  // namespace zeva::cli
