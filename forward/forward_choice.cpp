#include "forward/forward_choice.h"

#include <memory>

#include "core/record/data_type.h"
#include "forward/dc_resistivity_forward.h"
#include "forward/em_conductivity_forward.h"
#include "forward/ip_forward.h"
#include "forward/maxmin_forward.h"
#include "forward/mt_forward.h"
#include "forward/tem_forward.h"

namespace zeva::forward {

bool hasForwardModel(const core::Sounding& S) {
  return core::traitsOf(S.header.dataType).forward != core::ForwardKind::None;
}

ForwardRoutine chooseForwardRoutine(const core::Sounding& S, ui::Toolkit& toolkit) {
  // All five MT types ("Controlled Source MT", the sea-floor and the
  // xy/yx/invariant curves as well) take the MT routine, which computes the
  // sea-floor response for the sea-floor types; the loop TEM types take the
  // transient routine, the marine TEM types have none. Every other type is a
  // DC resistivity sounding, with IP when the layers carry IP parameters.
  switch (core::traitsOf(S.header.dataType).forward) {
    case core::ForwardKind::MaxMin:
      return {CalcMaxMin, toolkit};
    case core::ForwardKind::EmConductivity:
      return {emConductivityForward, toolkit};
    case core::ForwardKind::Magnetotelluric:
      return {[](core::Sounding& s, ui::Toolkit&) { mtForward(s); }, toolkit};
    case core::ForwardKind::TransientEm:
      return {temForward, toolkit};
    case core::ForwardKind::None: {
      auto told = std::make_shared<bool>(false);
      return [&toolkit, told](core::Sounding&) {
        if (*told) return;
        *told = true;
        toolkit.information(kNoForwardModelMessage);
      };
    }
    case core::ForwardKind::DcResistivity:
      break;
  }
  if (S.model.NPK > 1) return {ipForward, toolkit};
  return {dcResistivityForward, toolkit};
}

}  // namespace zeva::forward
