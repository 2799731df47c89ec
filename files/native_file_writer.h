#pragma once
// Writes the current sounding as a native sounding file: the magic, then every
// chunk of the table in order, the conditional ones only when the sounding has
// them (voltage and current, shift segments, resolution, equivalence, a smooth
// model), and "ENDFILE" last.

#include "core/record/current_sounding.h"
#include "files/byte_stream.h"
#include "files/result.h"

namespace zeva::files {

// ok: ENDFILE was written.
struct [[nodiscard]] WriteResult : Result {
  core::NameText lastSoundingName;  // the sounding name, handed back after ENDFILE
};

// Stops at the first short write with "WRITE ERROR AT BYTE " + the position the
// file reached (8 digits) + ": " + the bytes of that write not written (right-
// aligned in 8), leaving the saved flag as it was. After ENDFILE the saved
// flag of S is set.
WriteResult writeNativeFile(ByteSink& out, core::CurrentSounding& current);

// The write-error text for a failure at `position` with `notWritten` bytes lost.
std::string writeErrorMessage(std::int64_t position, std::int64_t notWritten);

}  // namespace zeva::files
