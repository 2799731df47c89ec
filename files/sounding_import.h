#pragma once
// What every importer shares: the data header a newly imported sounding
// starts from and the allocation of its data arrays. Importers fill a new
// record; the current sounding is replaced only when an import succeeds.

#include "core/record/sounding.h"

namespace zeva::files {

// A data header of the given type with the usual units, masking on and one
// acquisition set; counts are zero.
core::DataHeader importedDataHeader(const core::DataTypeText& type);

// Whether misfits of data column `component` (zero-based) of this type are
// taken in log10: true for resistivities, conductivities and TEM voltages,
// false for IP values, phases and the MaxMin percentages, which may be zero
// or negative.
bool logarithmicMisfit(const core::DataTypeText& type, int component);

// Gives `sounding` the data header and allocates its data arrays for its
// counts (zero-filled, masks off, one turn per set, LOGDAT by type). False
// when the counts cannot be allocated; the arrays are then empty.
bool beginImportedData(core::Sounding& sounding, const core::DataHeader& header);

}  // namespace zeva::files
