#pragma once
// Reader of the Universal Sounding Format (USF), the plain-text exchange
// format for soundings: a main header, then per sounding a header of keyword
// lines and a block of data columns. One chosen sounding of a file is read
// into a new record; format errors are shown in the "USF File Error" box with
// the line number.
//
// TEM times: a USF TIME is in seconds and TIME_DELAY in seconds; the stored
// gate time is (TIME + TIME_DELAY of the sweep) x 1000 ms, and the stored time
// delay keeps the file's seconds. The ramp does not enter the gate times; the
// writer applies the exact inverse, so TEM times survive a round trip.

#include <filesystem>
#include <fstream>
#include <istream>
#include <string>
#include <string_view>

#include "core/record/sounding.h"
#include "files/result.h"

namespace zeva::files {

inline constexpr std::string_view kUsfErrorTitle = "USF File Error";
inline constexpr std::string_view kUsfIdentification = "//USF: Universal Sounding Format";
inline constexpr std::string_view kUsfFileTitle = "Universal Sounding Format File";
inline constexpr std::string_view kUsfFileFilter = "Universal Sounding Format File|*.USF|";

// Opens a USF file: something other than a file (a folder, a device) is
// refused with "CANNOT OPEN FILE: ", a file that cannot be opened with
// "CANNOT OPEN FILE ".
Result openUsfFile(const std::filesystem::path& file, std::ifstream& in);

// Reads sounding `number` (1-based) of a USF text into `sounding`, replacing
// its data header and data arrays; earlier soundings are stepped over. The
// caller reads into a new record, so a failure leaves its sounding as it was.
Result readUsfSounding(std::istream& in, int number, core::Sounding& sounding);

// Reads the main header alone: the number of soundings into `count`.
Result readUsfSoundingCount(std::istream& in, int& count);

}  // namespace zeva::files
