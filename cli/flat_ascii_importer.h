#pragma once
// Which flat ASCII importer reads data of a data type: that of its family
// (resistivity with or without an IP column). Shared by zeva-cli's
// import-dat and the Python module's import.

#include <optional>

#include "core/record/data_type.h"
#include "files/flat_ascii_import.h"

namespace zeva::cli {

// The importer of the data type's family; nothing for an unknown type.
std::optional<files::FlatAsciiKind> importerOf(const core::DataTypeText& type, bool ip);

}  // namespace zeva::cli
