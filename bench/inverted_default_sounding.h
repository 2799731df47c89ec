#pragma once
// The default sounding as the pictures show it inverted: its Schlumberger
// data fitted by a five-layer model from a uniform start, with the
// equivalence analysis of the fit, so that a redraw carries synthetics,
// equivalent models and parameter ranges as well as the data.

#include "core/record/current_sounding.h"
#include "core/record/sounding.h"
#include "forward/dc_resistivity_forward.h"
#include "inversion/equivalence.h"
#include "inversion/layered_inversion.h"
#include "inversion/segment_shifting.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::bench {

inline void invertedDefaultSounding(core::CurrentSounding& current) {
  zeva::test::ScriptedToolkit toolkit;
  core::resetToDefault(current);
  inversion::SHIFTP(current.S);
  core::Sounding& S = current.S;
  S.model = core::ModelHeader{};
  S.model.NLAYER = 5;
  S.model.NPK = 1;
  S.allocateModel();
  S.M.PAR = {100.0f, 100.0f, 100.0f, 100.0f, 100.0f, 2.0f, 8.0f, 40.0f, 150.0f};
  current.S.shareDataWith(current.SM);
  const forward::ForwardRoutine dc = [&](core::Sounding& s) {
    forward::dcResistivityForward(s, toolkit);
  };
  inversion::RunMonitor monitor(toolkit);
  inversion::InvertMany(S, dc, current.settings, monitor, 1);
  inversion::AnalyzeEquivalence(S, dc, monitor);
}

}  // namespace zeva::bench
