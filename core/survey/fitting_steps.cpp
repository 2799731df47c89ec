#include "core/survey/fitting_steps.h"

namespace zeva::core {

void setFitWeighting(Program& program, std::optional<bool> errorWeighting, bool robust) {
  Sounding& S = program.S();
  if (errorWeighting) S.layer.errorWeighting = *errorWeighting ? kTrue : kFalse;
  S.robust = robust;
  S.huberWeights.clear();
}

std::optional<InversionRun> invertLayered(Program& program, bool single, InversionScope scope) {
  std::optional<InversionRun> run =
      single ? program.singleIteration(scope) : program.multipleIterations(scope);
  if (!run || run->status != 0) return std::nullopt;  // refused with a message, or logged
  return run;
}

bool estimateSmooth(Program& program, SmoothMethod method, const SmoothDepthRange& range) {
  if ((method == SmoothMethod::Occam && !program.occamMode()) ||
      (method == SmoothMethod::Ridge && program.occamMode()))
    program.toggleOccam();
  return program.estimateSmoothModel(range);
}

}  // namespace zeva::core
