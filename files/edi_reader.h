#pragma once
// Reader of magnetotelluric data in the SEG MT/EMAP data interchange standard
// (EDI): the >HEAD block with the empty-value sentinel, the >=MTSECT section,
// the frequencies and either the impedance blocks (>ZXYR, >ZXYI with their
// variances) or the apparent resistivity and phase blocks (>RHOXY, >PHSXY).
// One mode is taken, xy when the file holds it, else yx, and the sounding
// gets the frequency, apparent resistivity and phase of each frequency with
// their error bars. Impedances are in the standard's field units, mV/km/nT:
// rho_a = 0.2 |Z|^2 / f ohm-m (Cagniard).

#include <filesystem>
#include <istream>
#include <string>

#include "core/sounding.h"
#include "ui/toolkit.h"

namespace zeva::files {

inline constexpr ui::FileFilter kEdiFileFilter{"SEG Standard EDI File",
                                               "SEG Standard EDI File|*.EDI|"};

// Reads EDI text into a new "Magnetotelluric Data" sounding named `name`
// (the DATAID of the file when it has one). Returns 0 on success, -1 after
// showing why the file cannot be read.
int readEdi(std::istream& in, const std::string& name, core::Sounding& result,
            ui::Toolkit& toolkit);
int readEdiFile(const std::filesystem::path& file, core::Sounding& result, ui::Toolkit& toolkit);

}  // namespace zeva::files
