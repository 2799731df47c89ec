#pragma once
// Reads a native sounding file into the current sounding. Files start with the
// magic "ZEVA    " or "ZVRes   ", or (the oldest) directly with a "MAINHEAD"
// chunk. Unknown chunks are skipped after a warning, so files of later
// versions stay readable. A damaged or hostile file ends with one of the
// file's messages; it never makes the reader allocate much more than the file
// itself could fill, and never leaves a header whose counts disagree with its
// arrays.

#include <string_view>

#include "core/record/current_sounding.h"
#include "files/byte_stream.h"
#include "files/result.h"

namespace zeva::files {

// ok: "ENDFILE" was reached.
struct [[nodiscard]] ReadResult : Result {
  bool recordChanged = false;       // some chunk was read into the record
  core::NameText lastSoundingName;  // the sounding name at "ENDFILE"
};

// Reading replaces the sounding in place: after an error, what was read stays.
// `fileName` is used in messages only.
ReadResult readNativeFile(ByteSource& in, core::CurrentSounding& current,
                          std::string_view fileName);

}  // namespace zeva::files
