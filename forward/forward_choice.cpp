#include "forward/forward_choice.h"

#include <memory>

#include "core/record/data_type.h"
#include "forward/dc_resistivity_forward.h"
#include "forward/em_conductivity_forward.h"
#include "forward/ip_forward.h"
#include "forward/maxmin_forward.h"
#include "forward/mt_forward.h"

namespace zeva::forward {

bool hasForwardModel(const core::Sounding& S) { return !core::isTem(S.header.dataType); }

ForwardRoutine chooseForwardRoutine(const core::Sounding& S, ui::Toolkit& toolkit) {
  // The routines of the other data families are matched by their type texts
  // first, in this order: the MaxMin coil configurations, "EM Conductivity
  // Data", then the magnetotelluric types. Every other type is a DC
  // resistivity sounding, with IP when the layers carry IP parameters.
  // All five MT types ("Controlled Source MT", the sea-floor and the
  // xy/yx/invariant curves as well) take the MT routine, which computes the
  // sea-floor response for the sea-floor types; TEM types have none.
  const core::Family family = core::familyOf(S.header.dataType);
  if (family == core::Family::MaxMin) return {CalcMaxMin, toolkit};
  if (family == core::Family::EmConductivity) return {emConductivityForward, toolkit};
  if (family == core::Family::Magnetotelluric)
    return {[](core::Sounding& s, ui::Toolkit&) { mtForward(s); }, toolkit};
  if (family == core::Family::TimeDomainEm) {
    auto told = std::make_shared<bool>(false);
    return [&toolkit, told](core::Sounding&) {
      if (*told) return;
      *told = true;
      toolkit.information(kNoForwardModelMessage);
    };
  }
  if (S.model.NPK > 1) return {ipForward, toolkit};
  return {dcResistivityForward, toolkit};
}

}  // namespace zeva::forward
