#include "files/geometric_factor.h"

#include <numbers>

#include "core/record/data_type.h"

namespace zeva::files {

double geometricFactor(const core::DataTypeText& type, float spacingValue, float mnValue,
                       float dipoleValue) {
  constexpr double pi = std::numbers::pi;
  const double spacing = spacingValue, mn = mnValue, dipoleLength = dipoleValue;
  namespace t = core::type;
  if (type == t::kSchlumberger) {
    // Potential electrodes at +-MN/2 between current electrodes at +-AB/2.
    if (mn <= 0.0) return 0.0;
    return pi * (spacing * spacing - 0.25 * mn * mn) / mn;
  }
  if (type == t::kWenner || type == t::kPolePole) return 2.0 * pi * spacing;
  if (type == t::kDipoleDipole)
    return pi * dipoleLength * spacing * (spacing + 1.0) * (spacing + 2.0);
  if (type == t::kPoleDipole) return 2.0 * pi * dipoleLength * spacing * (spacing + 1.0);
  // Ideal dipoles of length a at distance r: on the dipole axis the field is
  // twice that broadside, hence pi r^3 / a^2 and 2 pi r^3 / a^2.
  if (type == t::kPolarDipole || type == t::kPerpendicular) {
    if (dipoleLength <= 0.0) return 0.0;
    const double r3 = spacing * spacing * spacing;
    return (type == t::kPolarDipole ? pi : 2.0 * pi) * r3 / (dipoleLength * dipoleLength);
  }
  if (type == t::kGroundingImpedance) return 1.0;  // the impedance V / I itself
  return 0.0;
}

}  // namespace zeva::files
