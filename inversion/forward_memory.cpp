#include "inversion/forward_memory.h"

#include <cmath>
#include <cstring>

#include "inversion/fit_weights.h"
#include "inversion/inversion_steps.h"

namespace zeva::inversion {

namespace {

using core::isSet;
using core::Sounding;

bool sameValues(const std::vector<float>& a, const std::vector<float>& b) {
  // Bit for bit: a model is the same only when every parameter is.
  return a.size() == b.size() &&
         (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0);
}

}  // namespace

bool ForwardMemory::Results::matches(const Sounding& S) const {
  return valid && model.NLAYER == S.model.NLAYER && model.NPK == S.model.NPK &&
         model.NPAR == S.model.NPAR && isSet(model.depths) == isSet(S.model.depths) &&
         isSet(errorWeighting) == isSet(S.layer.errorWeighting) && SVOLT.rows() == S.SVOLT.rows() &&
         SVOLT.cols() == S.SVOLT.cols() && sameValues(parameters, S.M.PAR);
}

bool ForwardMemory::restore(Sounding& S, const Results& results) {
  if (!results.matches(S)) return false;
  S.M.PAR = results.rewritten;
  S.SVOLT = results.SVOLT;
  S.layer.RMS = results.RMS;
  S.layer.PCTERR = results.PCTERR;
  // A robust fit reweighs between runs: the weighted fit is measured anew
  // under the weights of now.
  S.layer.weightedFit = weightedFitInUse(S) ? weightedFit(S) : results.weightedFit;
  S.layer.syntheticValid = core::kTrue;
  S.layer.saved = core::kFalse;
  ++skipped_;
  return true;
}

void ForwardMemory::run(Sounding& S, const forward::ForwardRoutine& forward) {
  if (restore(S, last_)) return;
  if (restore(S, kept_)) {
    last_ = kept_;
    return;
  }
  last_.valid = false;
  last_.parameters = S.M.PAR;
  runForward(S, forward);
  const float fit = S.layer.RMS;
  if (!isSet(S.layer.syntheticValid) || !(fit < forward::kRefusedFit) || std::isnan(fit)) return;
  last_.valid = true;
  last_.model = S.model;
  last_.errorWeighting = S.layer.errorWeighting;
  last_.rewritten = S.M.PAR;
  last_.SVOLT = S.SVOLT;
  last_.RMS = S.layer.RMS;
  last_.PCTERR = S.layer.PCTERR;
  last_.weightedFit = S.layer.weightedFit;
}

}  // namespace zeva::inversion
