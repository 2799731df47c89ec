#pragma once
// Import of flat ASCII column files: one data point per line, values in
// numbered columns separated by blanks or commas. There is one importer per
// data family, one for well logs and one for layered models; all read the
// rows between the row bounds whose used columns all hold numbers, and skip
// the others (header lines, blank lines, short rows) without a message.
// Importers fill a new record, so a failed import changes nothing.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/record/sounding.h"
#include "files/import_columns.h"
#include "files/result.h"

namespace zeva::files {

enum class FlatAsciiKind {
  Resistivity,
  ResistivityIp,
  MaxMin,
  EmConductivity,
  Magnetotelluric,
  Tem,
  WellLog,
  Model
};

struct FlatAsciiImporter {
  std::string_view title;              // file dialog title
  std::string_view filter;             // "title|*.DAT|"
  std::string_view allocationMessage;  // shown when the arrays cannot be had
};

// Title, filter and allocation message of an importer; the model importer's
// depend on the sounding (conductivity models, IP models).
FlatAsciiImporter flatAsciiImporter(FlatAsciiKind kind, const core::DataHeader& target = {},
                                    int npk = 1);

// Time unit of TEM files, converted to the stored milliseconds.
enum class TemTimeUnit { Microseconds, Milliseconds, Seconds };

// What an import reads besides the column settings.
struct FlatAsciiRequest {
  FlatAsciiKind kind = FlatAsciiKind::Resistivity;
  // Data header of the sounding being imported: data type, voltage-and-current
  // flag, dipole length, units, mode; counts are set by the import.
  core::DataHeader header;
  TemTimeUnit timeUnit = TemTimeUnit::Milliseconds;
  // MaxMin geometry for a spacing or height column set to 0 or below.
  float fixedSpacing = 0.0f, fixedHeight = 0.0f;
};

// The rows of a file that an import accepts (1-based row numbers) with the
// values of the used columns; exposed for the well log and model importers.
struct AcceptedRows {
  std::vector<int> rowNumbers;
  std::vector<std::vector<float>> values;  // per row, values of columns 1..highest used
};
// Reads `in` with the row bounds (0 or below: no bound) and takes a row only
// when each of the `columns` that is positive holds a number.
AcceptedRows acceptRows(std::istream& in, const std::vector<int>& columns, int firstRow,
                        int lastRow);

// Reads a data file into `result`: its data header from the request (name from
// the file name), its data arrays from the accepted rows.
Result readFlatAsciiData(const std::filesystem::path& file, const FlatAsciiRequest& request,
                         const ImportColumns& columns, core::Sounding& result);

// A well log: depth and resistivity per accepted row.
struct WellLog {
  std::vector<float> depth, resistivity;
};
Result readWellLog(const std::filesystem::path& file, const ImportColumns& columns, WellLog& log);

// A layered model read from a column file: each accepted row is a layer, top
// down, with its resistivity (conductivity for EM conductivity soundings), its
// IP value when `npk` is 2, and its thickness in the distance column; the last
// row is the half-space and needs no thickness.
struct ImportedModel {
  core::ModelHeader header;
  std::vector<float> PAR;
};
Result readFlatAsciiModel(const std::filesystem::path& file, const ImportColumns& columns, int npk,
                          ImportedModel& model);

// The sounding name of an imported file: the file name up to its first ".",
// at most 24 characters.
std::string soundingNameOf(const std::filesystem::path& file);

}  // namespace zeva::files
