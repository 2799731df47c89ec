#include "core/survey/fitting_steps.h"

namespace zeva::core {

void setFitWeighting(Program& program, std::optional<bool> errorWeighting, bool robust) {
  Sounding& S = program.S();
  if (errorWeighting) S.layer.errorWeighting = *errorWeighting ? kTrue : kFalse;
  S.robust = robust;
  S.huberWeights.clear();
}

CommandValue<InversionRun> invertLayered(Program& program, bool single, InversionScope scope) {
  InversionCommands& inversions = program.inversions();
  CommandValue<InversionRun> run =
      single ? inversions.singleIteration(scope) : inversions.multipleIterations(scope);
  if (run && run->status != 0) return CommandStatus::Failed;  // the code is in the debug log
  return run;
}

CommandResult estimateSmooth(Program& program, SmoothMethod method, const SmoothDepthRange& range) {
  EstimationCommands& estimation = program.estimation();
  if ((method == SmoothMethod::Occam && !estimation.occamMode()) ||
      (method == SmoothMethod::Ridge && estimation.occamMode()))
    estimation.toggleOccam();
  return estimation.estimateSmoothModel(range);
}

}  // namespace zeva::core
