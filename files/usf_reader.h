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

#include <istream>
#include <optional>
#include <string>
#include <string_view>

#include "core/record/sounding.h"
#include "ui/toolkit/toolkit.h"

namespace zeva::files {

inline constexpr std::string_view kUsfErrorTitle = "USF File Error";
inline constexpr std::string_view kUsfIdentification = "//USF: Universal Sounding Format";
inline constexpr ui::FileFilter kUsfFileFilter{"Universal Sounding Format File",
                                               "Universal Sounding Format File|*.USF|"};

// What the import remembers between calls: repeated imports from one file
// step through its soundings and wrap to a new file dialog after the last.
struct UsfImportMemory {
  std::string lastFile;
  int proposedSounding = 1;
};

// Reads sounding `number` (1-based) of a USF text into `sounding`, replacing
// its data header and data arrays; earlier soundings are stepped over.
// Returns false after showing the message of the failure.
bool readUsfSounding(std::istream& in, int number, core::Sounding& sounding, ui::Toolkit& toolkit);

// Reads the main header alone; the number of soundings, or empty after a message.
std::optional<int> readUsfSoundingCount(std::istream& in, ui::Toolkit& toolkit);

// The import command's part: file dialog, main header, the sounding-number
// prompt, and the reading of that sounding into `result` (a new record, so a
// failed import leaves the caller's sounding as it was). Returns 0 on
// success, -1 on failure or cancel.
int importUsf(ui::Toolkit& toolkit, UsfImportMemory& memory, core::Sounding& result);

}  // namespace zeva::files
