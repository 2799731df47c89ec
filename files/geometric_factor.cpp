#include "files/geometric_factor.h"

#include <numbers>

#include "core/data_type.h"

namespace zeva::files {

float geometricFactor(const core::DataTypeText& type, float spacing, float mn, float dipoleLength) {
  constexpr float pi = std::numbers::pi_v<float>;
  namespace t = core::type;
  if (type == t::kSchlumberger) {
    // Potential electrodes at +-MN/2 between current electrodes at +-AB/2.
    if (mn <= 0.0f) return 0.0f;
    return pi * (spacing * spacing - 0.25f * mn * mn) / mn;
  }
  if (type == t::kWenner || type == t::kPolePole) return 2.0f * pi * spacing;
  if (type == t::kDipoleDipole)
    return pi * dipoleLength * spacing * (spacing + 1.0f) * (spacing + 2.0f);
  if (type == t::kPoleDipole) return 2.0f * pi * dipoleLength * spacing * (spacing + 1.0f);
  // Ideal dipoles of length a at distance r: on the dipole axis the field is
  // twice that broadside, hence pi r^3 / a^2 and 2 pi r^3 / a^2.
  if (type == t::kPolarDipole || type == t::kPerpendicular) {
    if (dipoleLength <= 0.0f) return 0.0f;
    const float r3 = spacing * spacing * spacing;
    return (type == t::kPolarDipole ? pi : 2.0f * pi) * r3 / (dipoleLength * dipoleLength);
  }
  if (type == t::kGroundingImpedance) return 1.0f;  // the impedance V / I itself
  return 0.0f;
}

}  // namespace zeva::files
