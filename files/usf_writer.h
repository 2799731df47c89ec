#pragma once
// Writer of the Universal Sounding Format: the current sounding as a USF file
// holding one sounding, in the layout of its data family (resistivity with IP,
// MaxMin, EM conductivity or TEM with its sweeps). Magnetotelluric soundings
// have no USF layout; their file holds the main header only.

#include <ostream>
#include <string>
#include <string_view>

#include "core/record/sounding.h"
#include "ui/toolkit/toolkit.h"

namespace zeva::files {

// Writes `sounding` as USF text. Returns false when the stream failed.
bool writeUsf(std::ostream& out, const core::Sounding& sounding);

// Whether `writeUsf` writes the sounding itself, not only the main header.
bool usfHoldsSounding(const core::Sounding& sounding);

// The export command's part: the save dialog (starting at `initialName`), then
// the file. Errors are shown in the "USF File Error" box. Returns 0 on
// success, -1 on cancel or failure.
int exportUsf(ui::Toolkit& toolkit, const core::Sounding& sounding, std::string_view initialName);

}  // namespace zeva::files
