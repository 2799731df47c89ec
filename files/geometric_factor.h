#pragma once
// Geometric factors of the electrode arrays: the K of rho_a = K V / I for a
// homogeneous half-space, with V and I in consistent units (mV and mA, or V
// and A). Spacings are those of the sounding's TIME columns.

#include "core/record/record_headers.h"

namespace zeva::files {

// `spacing` is TIME value 1 (AB/2, a, the dipole distance, or n for the
// dipole-dipole and pole-dipole arrays), `mn` TIME value 2 (the potential
// electrode separation MN of a Schlumberger sounding) and `dipoleLength` the
// dipole length a of the data header. Returns 0 when the geometry gives no
// factor (a zero MN or dipole length). Computed in double precision, so that
// the squares and cubes of large spacings do not overflow on the way.
double geometricFactor(const core::DataTypeText& type, float spacing, float mn, float dipoleLength);

}  // namespace zeva::files
