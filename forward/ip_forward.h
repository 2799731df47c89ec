#pragma once
// The induced-polarisation forward routine, by the perturbation of
// resistivities (Seigel, 1959, Geophysics 24, 547-565): the apparent
// resistivity of the model with every layer resistivity raised by its IP
// parameter, against that of the unperturbed model, gives the apparent IP
// effect. Both come from the DC resistivity routine, so every DC array has an
// IP response. VOLTS(i,2) and SVOLT(i,2) hold the IP effect in the sounding's
// IP unit: "(pfe)" percent frequency effect (scale 100), "(mSec)" or "(mRad)"
// (scale 1000).

#include "core/record/sounding.h"
#include "ui/toolkit/toolkit.h"

namespace zeva::forward {

// The IP forward routine (a ForwardRoutine with the toolkit bound). The model
// carries the IP parameter m_j of each layer in PAR(NLAYER + j).
void ipForward(core::Sounding& S, ui::Toolkit& toolkit);

}  // namespace zeva::forward
