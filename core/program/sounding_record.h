#pragma once
// Whole copies of the current sounding. The record cannot be copied member by
// member (S and SM share their data), so a copy is taken as the bytes of the
// native file, which hold every object of the record exactly as it is in
// memory. Reads of files go into a record of their own and are moved into
// the current one only when they succeeded; the undo history and the
// recovery file keep such byte copies.

#include <string>
#include <string_view>

#include "core/record/current_sounding.h"
#include "ui/toolkit/toolkit.h"

namespace zeva::core {

// The record as native-file bytes. The saved flag is stored cleared, so two
// copies of the same sounding compare equal whether it was saved or not.
std::string recordBytes(CurrentSounding& record, ui::Toolkit& toolkit);

// Reads bytes of recordBytes into `record`, replacing all of it; the saved
// flag comes out cleared. False, with `record` unchanged, when the bytes do
// not hold a complete record.
bool restoreRecord(std::string_view bytes, CurrentSounding& record, ui::Toolkit& toolkit);

// Moves every object of `from` into `to`; S and SM of `to` then share the
// data that those of `from` shared. `from` is left empty.
void moveRecord(CurrentSounding& from, CurrentSounding& to);

}  // namespace zeva::core
