#pragma once
// The column dialog of a flat ASCII importer asked through the toolkit's
// prompts, for the command-line tool and wherever no dialog of the caller's
// is given.

#include "files/flat_ascii_import.h"
#include "files/import_columns.h"
#include "ui/toolkit/toolkit.h"

namespace zeva::core {

// One number per column field (labelled as the dialog labels them), the row
// bounds with their tick (an unticked bound is stored negated, remembered but
// not used), the TEM time unit. False when the user cancels; the settings
// then keep their old values.
bool askColumns(ui::Toolkit& toolkit, files::FlatAsciiKind kind, files::FlatAsciiRequest& request,
                files::ImportColumns& columns);

}  // namespace zeva::core
