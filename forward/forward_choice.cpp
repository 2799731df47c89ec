#include "forward/forward_choice.h"

#include "forward/dc_resistivity_forward.h"
#include "forward/ip_forward.h"

namespace zeva::forward {

ForwardRoutine chooseForwardRoutine(const core::Sounding& S, ui::Toolkit& toolkit) {
  // The routines of the other data families are matched by their type texts
  // first, in this order: the MaxMin coil configurations, "EM Conductivity
  // Data", then the magnetotelluric types. Every other type is a DC
  // resistivity sounding, with IP when the layers carry IP parameters.
  if (S.model.NPK > 1) return [&toolkit](core::Sounding& s) { ipForward(s, toolkit); };
  return [&toolkit](core::Sounding& s) { dcResistivityForward(s, toolkit); };
}

}  // namespace zeva::forward
