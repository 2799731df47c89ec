#include "cli/sounding_steps.h"

namespace zeva::cli {

std::optional<core::InversionRun> invertLayered(core::Program& program, bool single,
                                                core::InversionScope scope) {
  std::optional<core::InversionRun> run =
      single ? program.singleIteration(scope) : program.multipleIterations(scope);
  if (!run || run->status != 0) return std::nullopt;  // refused with a message, or logged
  return run;
}

bool estimateSmooth(core::Program& program, SmoothMethod method,
                    const core::SmoothDepthRange& range) {
  if ((method == SmoothMethod::Occam && !program.occamMode()) ||
      (method == SmoothMethod::Ridge && program.occamMode()))
    program.toggleOccam();
  return program.estimateSmoothModel(range);
}

}  // namespace zeva::cli
