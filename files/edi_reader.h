#pragma once
// Reader of magnetotelluric data in the SEG MT/EMAP data interchange standard
// (EDI). The impedances come from the >=MTSECT section (>ZXYR, >ZXYI ... with
// their variances), from its apparent resistivity and phase blocks (>RHOXY,
// >PHSXY with .ERR), or, in files that hold only spectra, from the
// >=SPECTRASECT cross-power matrices. One curve is taken for a 1-D
// interpretation: the xy or yx element, or a rotation invariant of the
// tensor. The sounding gets the frequency, apparent resistivity and phase of
// each frequency with their error bars, the station name and its location.

#include <filesystem>
#include <istream>
#include <string>
#include <string_view>

#include "core/record/sounding.h"
#include "files/edi_document.h"
#include "files/result.h"

namespace zeva::files {

inline constexpr std::string_view kEdiFileTitle = "SEG Standard EDI File";
inline constexpr std::string_view kEdiFileFilter = "SEG Standard EDI File|*.EDI|";

// The curve taken: Auto is xy when the file holds it, else yx. The numbers
// are those of the import's question.
enum class EdiMode { Auto = 0, Xy = 1, Yx = 2, Determinant = 3, SumOfSquares = 4 };
inline constexpr std::string_view kEdiModePrompt =
    "Curve of the impedance tensor (0 xy, or yx without xy; 1 xy; 2 yx; 3 determinant; 4 sum "
    "of squares):";

// Reads EDI text into a new "Magnetotelluric Data" sounding. `fileName` names
// the file in messages; the sounding is named by the station (DATAID, else
// the section's SECTID, else the file name up to its first "."). Frequencies
// with a missing value (NaN, INF, EMPTY) in a block that is used are left out
// with one warning giving their count. Fails with the reason when the file
// cannot be read.
Result readEdi(std::istream& in, const std::string& fileName, core::Sounding& result,
               EdiMode mode = EdiMode::Auto);
Result readEdiFile(const std::filesystem::path& file, core::Sounding& result,
                   EdiMode mode = EdiMode::Auto);

}  // namespace zeva::files
