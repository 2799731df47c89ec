#pragma once
// Forward runs remembered by model. A calculation (one multiple-iteration
// run, one equivalence analysis) comes back to models it has computed
// already: the start of each iteration is the model the previous one ended
// with, the adopted model is the best trial, the analysis ends on the model
// it started from. A memory keeps the results of the last run and of one run
// the caller chose to keep, and puts them back instead of running the
// forward model again. The data and the forward routine must not change
// while a memory is in use; the memory belongs to one calculation.

#include <vector>

#include "core/record/matrix.h"
#include "core/record/sounding.h"
#include "forward/forward_routine.h"

namespace zeva::inversion {

class ForwardMemory {
 public:
  // Runs the forward model on S (runForward) unless the model of S is one
  // remembered; its synthetics, fits and (rewritten) parameters are then
  // put back. Refused models and runs without synthetics are not
  // remembered.
  void run(core::Sounding& S, const forward::ForwardRoutine& forward);
  // Keeps the results of the last run (the best trial so far), besides the
  // last run itself.
  void keepLast() { kept_ = last_; }
  // Runs saved by the memory.
  int skipped() const { return skipped_; }

 private:
  struct Results {
    bool valid = false;
    core::ModelHeader model{};
    core::Logical errorWeighting{};
    std::vector<float> parameters;  // as the run found them
    std::vector<float> rewritten;   // as the run left them
    core::Matrix<float> SVOLT;
    float RMS = 0.0f, PCTERR = 0.0f, weightedFit = 0.0f;
    bool matches(const core::Sounding& S) const;
  };
  bool restore(core::Sounding& S, const Results& results);

  Results last_, kept_;
  int skipped_ = 0;
};

}  // namespace zeva::inversion
