#pragma once
// Writer of the Universal Sounding Format: the current sounding as a USF file
// holding one sounding, in the layout of its data family (resistivity with IP,
// MaxMin, EM conductivity or TEM with its sweeps). Magnetotelluric soundings
// have no USF layout; their file holds the main header only.

#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>

#include "core/record/sounding.h"
#include "files/result.h"

namespace zeva::files {

// Writes `sounding` as USF text. Returns false when the stream failed.
bool writeUsf(std::ostream& out, const core::Sounding& sounding);

// Whether `writeUsf` writes the sounding itself, not only the main header.
bool usfHoldsSounding(const core::Sounding& sounding);

// Writes `sounding` as the USF file `file`, replacing it only once the whole
// file was written. Errors are "USF File Error" messages; a sounding without
// a USF layout succeeds with a warning.
Result exportUsf(const std::filesystem::path& file, const core::Sounding& sounding);

}  // namespace zeva::files
