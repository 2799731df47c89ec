#include "files/geometric_factor.h"

#include <numbers>

#include "core/record/data_type.h"

namespace zeva::files {

double geometricFactor(const core::DataTypeText& type, float spacingValue, float mnValue,
                       float dipoleValue) {
  constexpr double pi = std::numbers::pi;
  const double spacing = spacingValue, mn = mnValue, dipoleLength = dipoleValue;
  const core::DataTypeId array = core::traitsOf(type).id;
  switch (array) {
    case core::DataTypeId::Schlumberger:
      // Potential electrodes at +-MN/2 between current electrodes at +-AB/2.
      if (mn <= 0.0) return 0.0;
      return pi * (spacing * spacing - 0.25 * mn * mn) / mn;
    case core::DataTypeId::Wenner:
    case core::DataTypeId::PolePole:
      return 2.0 * pi * spacing;
    case core::DataTypeId::DipoleDipole:
      return pi * dipoleLength * spacing * (spacing + 1.0) * (spacing + 2.0);
    case core::DataTypeId::PoleDipole:
      return 2.0 * pi * dipoleLength * spacing * (spacing + 1.0);
    // Ideal dipoles of length a at distance r: on the dipole axis the field
    // is twice that broadside, hence pi r^3 / a^2 and 2 pi r^3 / a^2.
    case core::DataTypeId::PolarDipole:
    case core::DataTypeId::Perpendicular: {
      if (dipoleLength <= 0.0) return 0.0;
      const double r3 = spacing * spacing * spacing;
      const bool polar = array == core::DataTypeId::PolarDipole;
      return (polar ? pi : 2.0 * pi) * r3 / (dipoleLength * dipoleLength);
    }
    case core::DataTypeId::GroundingImpedance:
      return 1.0;  // the impedance V / I itself
    default:
      return 0.0;
  }
}

}  // namespace zeva::files
