#include "files/flat_ascii_import.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <fstream>
#include <new>
#include <system_error>

#include "core/record/data_type.h"
#include "core/record/reader_limits.h"
#include "files/geometric_factor.h"
#include "files/sounding_import.h"
#include "files/text_fields.h"
#include "files/text_input.h"

namespace zeva::files {

namespace {

constexpr std::size_t kLineLength = 256;

// The checks every importer makes before reading: the file exists, is a
// regular file (a folder, a device or a FIFO is not read) and is not empty.
// Fails with the message otherwise.
Result fileUsable(const std::filesystem::path& file) {
  const std::string name = file.string();
  std::error_code error;
  if (Result regular = checkRegularFile(file); !regular.ok) return regular;
  const auto size = std::filesystem::file_size(file, error);
  if (error || size < 1) return failedWith("FILE HAS NO LENGTH:" + name);
  return succeeded();
}

// The rows a scan accepts, with how many rows within the bounds hold a
// number in each column asked for, and the first row with a number in a
// used column that no float can hold (beyond 3.4E38, or a non-zero value
// below 1.2E-38; 0 when none). Reading stops at a line longer than any
// reader takes (its row number) or after more rows than a sounding may have.
struct RowScan {
  AcceptedRows rows;
  std::vector<int> numberCounts;
  int outOfRangeRow = 0;
  int lineTooLong = 0;
  bool tooManyRows = false;
};

// Reads `in` as acceptRows does (a number beyond the float range also
// rejects its row) and counts, per column, the rows within the bounds that
// hold a number there, so that a column no row holds can be named. The
// heading line of the program's own exports ("DATASET: " and the sounding's
// name, which may be a number) is never a row.
RowScan scanRows(std::istream& in, const std::vector<int>& columns, int firstRow, int lastRow) {
  RowScan scan;
  AcceptedRows& rows = scan.rows;
  scan.numberCounts.assign(columns.size(), 0);
  int highest = 0;
  for (int c : columns) highest = std::max(highest, c);
  std::string line;
  // One character more than is read tells whether the last word was cut.
  for (int row = 1;; ++row) {
    const files::LineRead read = files::readLine(in, line, kLineLength + 1);
    if (read == files::LineRead::End) break;
    if (read == files::LineRead::TooLong) {
      scan.lineTooLong = row;
      break;
    }
    if (trimmed(line).empty()) continue;
    if (firstRow > 0 && row < firstRow) continue;
    if (lastRow > 0 && row > lastRow) continue;
    if (line.size() > kLineLength) {
      // Only the first characters of a line are read; a number cut there is
      // not the number of the file.
      const auto separates = [](char ch) {
        return ch == ',' || static_cast<unsigned char>(ch) <= ' ';
      };
      const bool cut = !separates(line[kLineLength]) && !separates(line[kLineLength - 1]);
      line.resize(kLineLength);
      if (cut) {
        const auto last = std::find_if(line.rbegin(), line.rend(), separates);
        line.erase(static_cast<std::size_t>(line.rend() - last));
      }
    }
    blankUnprintable(line);
    std::replace(line.begin(), line.end(), ',', ' ');
    const auto words = splitWords(line);
    std::vector<float> values(static_cast<std::size_t>(highest), 0.0f);
    bool accepted = true;
    for (std::size_t k = 0; k < columns.size(); ++k) {
      const int c = columns[k];
      if (c <= 0) continue;
      const std::string_view word =
          static_cast<std::size_t>(c) <= words.size() ? words[static_cast<std::size_t>(c - 1)] : "";
      const auto value = parseDouble(word);
      if (!value) {
        // An infinite number is refused with its row, not taken as text.
        if (isInfiniteNumber(word)) {
          ++scan.numberCounts[k];
          if (scan.outOfRangeRow == 0) scan.outOfRangeRow = row;
        }
        accepted = false;
        continue;
      }
      ++scan.numberCounts[k];
      const double magnitude = std::fabs(*value);
      if (magnitude > static_cast<double>(FLT_MAX) ||
          (magnitude > 0.0 && magnitude < static_cast<double>(FLT_MIN))) {
        if (scan.outOfRangeRow == 0) scan.outOfRangeRow = row;
        accepted = false;
        continue;
      }
      values[static_cast<std::size_t>(c - 1)] = static_cast<float>(*value);
    }
    if (!accepted || firstWordOf(line) == "DATASET:") continue;
    if (rows.values.size() == static_cast<std::size_t>(core::limits::kMaxPoints)) {
      scan.tooManyRows = true;
      break;
    }
    rows.rowNumbers.push_back(row);
    rows.values.push_back(std::move(values));
  }
  return scan;
}

// A column an import reads, named as its messages name it.
struct UsedColumn {
  std::string_view name;
  int column;
};

// The rows of the file, or nothing after the reason was added to `read`.
std::optional<RowScan> readRows(const std::filesystem::path& file,
                                const std::vector<UsedColumn>& used, const ImportColumns& settings,
                                Result& read) {
  if (!read.take(fileUsable(file))) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    read.warning("CANNOT OPEN FILE: " + file.string());
    return std::nullopt;
  }
  std::vector<int> columns;
  for (const UsedColumn& u : used) columns.push_back(u.column);
  RowScan scan;
  try {
    scan = scanRows(in, columns, settings.firstRow, settings.lastRow);
  } catch (const std::bad_alloc&) {
    return RowScan{};
  }
  if (scan.lineTooLong > 0) {
    read.warning("LINE " + std::to_string(scan.lineTooLong) + " LONGER THAN " +
                 std::to_string(core::limits::kMaxLineBytes) +
                 " CHARACTERS IN FILE: " + file.string());
    return std::nullopt;
  }
  if (scan.tooManyRows) {
    read.warning("MORE THAN " + std::to_string(core::limits::kMaxPoints) +
                 " DATA ROWS IN FILE: " + file.string());
    return std::nullopt;
  }
  return scan;
}

float valueOf(const std::vector<float>& row, int column) {
  return column > 0 ? row[static_cast<std::size_t>(column - 1)] : 0.0f;
}

std::string inRow(int row, const std::filesystem::path& file) {
  return " IN ROW " + std::to_string(row) + ": " + file.string();
}

// Adds why no row was taken, naming each used column that no row holds as
// a number, or a number beyond the float range; true when there are no rows.
bool noRows(const RowScan& scan, const std::vector<UsedColumn>& used,
            const std::filesystem::path& file, Result& read) {
  if (scan.outOfRangeRow > 0) {
    read.warning("VALUE OUT OF RANGE" + inRow(scan.outOfRangeRow, file));
    return true;
  }
  if (!scan.rows.values.empty()) return false;
  std::string message = "NO DATA ROWS READ FROM FILE: " + file.string();
  for (std::size_t k = 0; k < used.size() && k < scan.numberCounts.size(); ++k)
    if (used[k].column > 0 && scan.numberCounts[k] == 0)
      message += "\nNO ROW HOLDS A NUMBER IN COLUMN " + std::to_string(used[k].column) + " (" +
                 std::string(used[k].name) + ")";
  read.warning(message);
  return true;
}

// The multiplier of TEM times to the stored milliseconds.
float temTimeScale(TemTimeUnit unit) {
  return unit == TemTimeUnit::Microseconds ? 0.001f : unit == TemTimeUnit::Seconds ? 1000.0f : 1.0f;
}

// Coil spacing and height of a two-coil reading: the row's columns, or the
// fixed geometry of the request where a column is not in use.
float coilSpacing(const FlatAsciiRequest& request, const ImportColumns& c,
                  const std::vector<float>& row) {
  return c.space > 0 ? valueOf(row, c.space) : request.fixedSpacing;
}
float coilHeight(const FlatAsciiRequest& request, const ImportColumns& c,
                 const std::vector<float>& row) {
  return c.height > 0 ? valueOf(row, c.height) : request.fixedHeight;
}

// The apparent resistivity of a row of voltage and current (the current
// column, else 1 A) by the geometric factor of the array.
double apparentResistivityOf(const FlatAsciiRequest& request, const ImportColumns& c,
                             const std::vector<float>& row) {
  const core::DataTypeText& type = request.header.dataType;
  const int mn = core::traitsOf(type).potentialSpacing ? c.mn : 0;
  const double amps = c.current > 0 ? static_cast<double>(valueOf(row, c.current)) : 1.0;
  const auto k = static_cast<float>(geometricFactor(type, valueOf(row, c.spacing),
                                                    mn > 0 ? valueOf(row, mn) : 0.0f,
                                                    request.header.dipoleLength));
  return static_cast<double>(k) * static_cast<double>(valueOf(row, c.resistivity)) / amps;
}

// Why the sounding cannot take a row (the message without its row), or
// nothing. Missing readings (1.0E10 and above) are positive and pass.
std::optional<std::string> rowProblem(const FlatAsciiRequest& request, const ImportColumns& c,
                                      const std::vector<float>& row) {
  const bool schlumberger = core::traitsOf(request.header.dataType).potentialSpacing;
  const auto positive = [](float v) { return v > 0.0f; };  // false for NaN too
  switch (request.kind) {
    case FlatAsciiKind::Resistivity:
    case FlatAsciiKind::ResistivityIp: {
      const float spacing = valueOf(row, c.spacing);
      if (!positive(spacing)) return "SPACING NOT POSITIVE";
      const int mn = schlumberger ? c.mn : 0;
      if (mn > 0) {
        const float m = valueOf(row, mn);
        if (!positive(m)) return "MN NOT POSITIVE";
        // AB/2 is half of AB, MN the full potential-electrode separation.
        if (m >= 2.0f * spacing) return "MN NOT SMALLER THAN AB";
      }
      if (!core::isSet(request.header.voltageAndCurrent)) {
        if (!positive(valueOf(row, c.resistivity))) return "RESISTIVITY NOT POSITIVE";
        break;
      }
      const double amps = c.current > 0 ? static_cast<double>(valueOf(row, c.current)) : 1.0;
      if (amps == 0.0) return "CURRENT IS ZERO";
      const double rho = apparentResistivityOf(request, c, row);
      if (std::fabs(rho) > static_cast<double>(FLT_MAX)) return "VALUE OUT OF RANGE";
      if (!(rho > 0.0) || !std::isfinite(rho)) return "RESISTIVITY NOT POSITIVE";
      break;
    }
    case FlatAsciiKind::MaxMin:
    case FlatAsciiKind::EmConductivity:
      if (!positive(valueOf(row, c.frequency))) return "FREQUENCY NOT POSITIVE";
      if (!positive(coilSpacing(request, c, row))) return "SPACING NOT POSITIVE";
      break;
    case FlatAsciiKind::Magnetotelluric: {
      if (!positive(valueOf(row, c.frequency))) return "FREQUENCY NOT POSITIVE";
      if (!positive(valueOf(row, c.resistivity))) return "RESISTIVITY NOT POSITIVE";
      const float phase = valueOf(row, c.modelResist);
      if (!(phase >= -180.0f && phase <= 180.0f)) return "PHASE OUTSIDE -180 TO 180";
      break;
    }
    case FlatAsciiKind::Tem: {
      const float time = valueOf(row, c.time) * temTimeScale(request.timeUnit);
      if (std::isinf(time)) return "VALUE OUT OF RANGE";
      if (!positive(time)) return "TIME NOT POSITIVE";
      break;
    }
    case FlatAsciiKind::WellLog:
    case FlatAsciiKind::Model:
      break;
  }
  return std::nullopt;
}

// The columns of a data import that depend on the array and the choices:
// MN (Schlumberger), current (voltage and current), 0 when not read.
struct DataColumns {
  int mn = 0;
  int current = 0;
  bool voltageAndCurrent = false;
};

// The columns a data importer reads, named as its messages name them; none
// for the well-log and model importers.
std::vector<UsedColumn> usedDataColumns(FlatAsciiKind kind, const ImportColumns& c,
                                        const DataColumns& data, bool schlumberger) {
  const std::string_view spacingName = schlumberger ? "AB/2" : "SPACING";
  const std::string_view resistivityName = data.voltageAndCurrent ? "VOLTAGE" : "RESISTIVITY";
  switch (kind) {
    case FlatAsciiKind::Resistivity:
      return {{spacingName, c.spacing},
              {resistivityName, c.resistivity},
              {"MN", data.mn},
              {"CURRENT", data.current}};
    case FlatAsciiKind::ResistivityIp:
      return {{spacingName, c.spacing},
              {resistivityName, c.resistivity},
              {"MN", data.mn},
              {"CURRENT", data.current},
              {"IP DATA", c.ipData}};
    case FlatAsciiKind::MaxMin:
      return {{"FREQUENCY", c.frequency},
              {"IN-PHASE", c.inPhase},
              {"QUADRATURE", c.quadrature},
              {"SPACE", c.space},
              {"HEIGHT", c.height}};
    case FlatAsciiKind::EmConductivity:
      return {{"FREQUENCY", c.frequency},
              {"SPACE", c.space},
              {"HEIGHT", c.height},
              {"CONDUCTIVITY", c.voltage}};
    case FlatAsciiKind::Magnetotelluric:
      return {{"FREQUENCY", c.frequency},
              {"RESISTIVITY", c.resistivity},
              {"PHASE", c.modelResist},
              {"RESISTIVITY ERROR", c.rhoError},
              {"PHASE ERROR", c.phaseError}};
    case FlatAsciiKind::Tem:
      return {{"TIME", c.time}, {"VOLTAGE", c.voltage}};
    case FlatAsciiKind::WellLog:
    case FlatAsciiKind::Model:
      break;
  }
  return {};
}

// The header of the imported sounding: the request's, named after the file,
// with the counts of `rows` readings of the importer's kind.
core::DataHeader importedHeader(const FlatAsciiRequest& request, const std::filesystem::path& file,
                                std::size_t rows, int mn) {
  core::DataHeader header = request.header;
  header.name.assign(soundingNameOf(file));
  header.NDATA = static_cast<std::int32_t>(rows);
  header.NSETS = 1;
  header.NSHIFT = 0;
  header.plotCount = 1;
  switch (request.kind) {
    case FlatAsciiKind::Resistivity:
      header.NCOMP = 1, header.NGEOM = mn > 0 ? 2 : 1;
      break;
    case FlatAsciiKind::ResistivityIp:
      // Voltage and current are turned into resistivities on reading; with
      // two data values their columns would overlap the IP values.
      header.NCOMP = 2, header.NGEOM = mn > 0 ? 2 : 1, header.voltageAndCurrent = core::kFalse;
      break;
    case FlatAsciiKind::MaxMin:
    case FlatAsciiKind::EmConductivity:
      header.NCOMP = 2, header.NGEOM = 3;
      break;
    case FlatAsciiKind::Magnetotelluric:
      header.NCOMP = 2, header.NGEOM = 1;
      break;
    case FlatAsciiKind::Tem:
      header.NCOMP = 1, header.NGEOM = 1;
      break;
    default:
      break;
  }
  if (request.kind == FlatAsciiKind::EmConductivity && header.mode != 3) header.mode = 2;
  return header;
}

// A resistivity reading, from a resistivity column or, with voltage and
// current, from the voltage and the array's geometric factor.
void storeResistivityRow(core::SoundingData& d, std::size_t i, const std::vector<float>& row,
                         const FlatAsciiRequest& request, const ImportColumns& c,
                         const DataColumns& data) {
  d.TIME(i, 0) = valueOf(row, c.spacing);
  if (data.mn > 0) d.TIME(i, 1) = valueOf(row, data.mn);
  if (data.voltageAndCurrent) {
    // The second column is the voltage; the resistivity follows from
    // the array's geometric factor.
    d.VOLTS(i, 0) = static_cast<float>(apparentResistivityOf(request, c, row));
    if (request.kind == FlatAsciiKind::Resistivity) {
      d.VOLTS(i, 1) = valueOf(row, c.resistivity);
      d.VOLTS(i, 2) = data.current > 0 ? valueOf(row, data.current) : 1.0f;
    }
  } else {
    d.VOLTS(i, 0) = valueOf(row, c.resistivity);
  }
  if (request.kind == FlatAsciiKind::ResistivityIp) d.VOLTS(i, 1) = valueOf(row, c.ipData);
}

// Row i of the imported data from an accepted row of the file; `mode` is
// the dipole mode of a conductivity meter's header.
void storeDataRow(core::SoundingData& d, std::size_t i, const std::vector<float>& row,
                  const FlatAsciiRequest& request, const ImportColumns& c, const DataColumns& data,
                  int mode) {
  switch (request.kind) {
    case FlatAsciiKind::Resistivity:
    case FlatAsciiKind::ResistivityIp:
      storeResistivityRow(d, i, row, request, c, data);
      break;
    case FlatAsciiKind::MaxMin:
      d.TIME(i, 0) = valueOf(row, c.frequency);
      d.TIME(i, 1) = coilSpacing(request, c, row);
      d.TIME(i, 2) = coilHeight(request, c, row);
      d.VOLTS(i, 0) = valueOf(row, c.inPhase);
      d.VOLTS(i, 1) = valueOf(row, c.quadrature);
      break;
    case FlatAsciiKind::EmConductivity:
      d.TIME(i, 0) = valueOf(row, c.frequency);
      d.TIME(i, 1) = coilSpacing(request, c, row);
      d.TIME(i, 2) = coilHeight(request, c, row);
      d.VOLTS(i, mode == 3 ? 1 : 0) = valueOf(row, c.voltage);
      break;
    case FlatAsciiKind::Magnetotelluric:
      d.TIME(i, 0) = valueOf(row, c.frequency);
      d.VOLTS(i, 0) = valueOf(row, c.resistivity);
      d.VOLTS(i, 1) = valueOf(row, c.modelResist);
      if (c.rhoError > 0) d.UVOLTS(i, 0) = valueOf(row, c.rhoError);
      if (c.phaseError > 0) d.UVOLTS(i, 1) = valueOf(row, c.phaseError);
      break;
    case FlatAsciiKind::Tem:
      d.TIME(i, 0) = valueOf(row, c.time) * temTimeScale(request.timeUnit);
      d.VOLTS(i, 0) = valueOf(row, c.voltage);
      break;
    default:
      break;
  }
}

}  // namespace

FlatAsciiImporter flatAsciiImporter(FlatAsciiKind kind, const core::DataHeader& target, int npk) {
  switch (kind) {
    case FlatAsciiKind::Resistivity:
      return {"Flat ASCII Resistivity Data File", "Flat ASCII Resistivity Data File|*.DAT|",
              "CANNOT ALLOCATE ARRAY IN GTCOLSRES"};
    case FlatAsciiKind::ResistivityIp:
      return {"Flat ASCII Resistivity/IP Data File", "Flat ASCII Resistivity/IP Data File|*.DAT|",
              "CANNOT ALLOCATE ARRAY IN GTCOLSRESIP"};
    case FlatAsciiKind::MaxMin:
      return {"Flat ASCII MaxMin Data File", "Flat ASCII MaxMin Data File|*.DAT|",
              "CANNOT ALLOCATE ARRAY IN GTCOLSMM"};
    case FlatAsciiKind::EmConductivity:
      return {"Flat ASCII EM Conductivity Data File", "Flat ASCII EM Conductivity Data File|*.DAT|",
              "CANNOT ALLOCATE ARRAY IN GTCOLSEMS"};
    case FlatAsciiKind::Magnetotelluric:
      return {"Flat ASCII MT Data File", "Flat ASCII MT Data File|*.DAT|",
              "CANNOT ALLOCATE ARRAY IN GTCOLSMT"};
    case FlatAsciiKind::Tem:
      return {"Flat ASCII TEM Data File", "Flat ASCII TEM Data File|*.DAT|",
              "CANNOT ALLOCATE ARRAY IN GTCOLSTEM"};
    case FlatAsciiKind::WellLog:
      return {"Flat ASCII Well Log File", "Flat ASCII Well Log File|*.LOG|",
              "CANNOT ALLOCATE ARRAY IN GTCOLSLOG"};
    case FlatAsciiKind::Model:
      if (core::traitsOf(target.dataType).conductivityModel)
        return {"Flat ASCII Conductivity Model File", "Flat ASCII Conductivity Model File|*.MDL|",
                "CANNOT ALLOCATE ARRAY IN GTCOLSMOD"};
      if (npk > 1)
        return {"Flat ASCII Resistivity/IP Model File",
                "Flat ASCII Resistivity/IP Model File|*.MDL|",
                "CANNOT ALLOCATE ARRAY IN GTCOLSMOD"};
      return {"Flat ASCII Resistivity Model File", "Flat ASCII Resistivity Model File|*.MDL|",
              "CANNOT ALLOCATE ARRAY IN GTCOLSMOD"};
  }
  return {};
}

AcceptedRows acceptRows(std::istream& in, const std::vector<int>& columns, int firstRow,
                        int lastRow) {
  return scanRows(in, columns, firstRow, lastRow).rows;
}

std::string soundingNameOf(const std::filesystem::path& file) {
  const std::string name = file.filename().string();
  return name.substr(0, std::min<std::size_t>(name.find('.'), 24));
}

// A row whose values the sounding cannot take refuses the whole import with
// its row number (rowProblem), and when no row is taken the message names
// each used column that no row holds: a wrong column setting then shows
// itself instead of making a sounding of the wrong numbers.
Result readFlatAsciiData(const std::filesystem::path& file, const FlatAsciiRequest& request,
                         const ImportColumns& c, core::Sounding& result) {
  const bool schlumberger = core::traitsOf(request.header.dataType).potentialSpacing;
  const bool voltageAndCurrent = core::isSet(request.header.voltageAndCurrent);
  const int mn = schlumberger ? c.mn : 0;
  const int current = voltageAndCurrent ? c.current : 0;

  const DataColumns data{mn, current, voltageAndCurrent};
  const std::vector<UsedColumn> columns = usedDataColumns(request.kind, c, data, schlumberger);
  Result read;
  if (columns.empty()) return read;  // not a data importer
  const auto scan = readRows(file, columns, c, read);
  if (!scan || noRows(*scan, columns, file, read)) return read;
  const AcceptedRows& rows = scan->rows;
  for (std::size_t i = 0; i < rows.values.size(); ++i)
    if (const auto problem = rowProblem(request, c, rows.values[i]))
      return failedWith(*problem + inRow(rows.rowNumbers[i], file));

  const core::DataHeader header = importedHeader(request, file, rows.values.size(), mn);
  if (!beginImportedData(result, header))
    return failedWith(std::string(flatAsciiImporter(request.kind).allocationMessage));
  core::SoundingData& d = result.data();
  for (std::size_t i = 0; i < rows.values.size(); ++i)
    storeDataRow(d, i, rows.values[i], request, c, data, header.mode);
  return succeeded();
}

Result readWellLog(const std::filesystem::path& file, const ImportColumns& c, WellLog& log) {
  const std::vector<UsedColumn> used{{"DEPTH", c.wellDepth}, {"RESISTIVITY", c.wellResist}};
  Result read;
  const auto scan = readRows(file, used, c, read);
  if (!scan || noRows(*scan, used, file, read)) return read;
  const AcceptedRows* rows = &scan->rows;
  WellLog values;
  for (std::size_t i = 0; i < rows->values.size(); ++i) {
    const auto& row = rows->values[i];
    const auto depth = core::limits::singlePrecision(
        static_cast<double>(valueOf(row, c.wellDepth)) * (c.depthTimes1000 ? 1000.0 : 1.0));
    if (!depth) return failedWith("VALUE OUT OF RANGE" + inRow(rows->rowNumbers[i], file));
    values.depth.push_back(*depth);
    values.resistivity.push_back(valueOf(row, c.wellResist));
  }
  log = std::move(values);
  return succeeded();
}

Result readFlatAsciiModel(const std::filesystem::path& file, const ImportColumns& c, int npk,
                          ImportedModel& model) {
  npk = std::clamp(npk, 1, 2);
  // Without a resistivity column every non-blank line would be a layer.
  if (c.modelResist < 1)
    return failedWith("NO COLUMN FOR RESISTIVITY: Model Resist Column=" +
                      std::to_string(c.modelResist));
  // The thickness is optional on a row: the half-space line has none.
  std::vector<UsedColumn> required{{"RESISTIVITY", c.modelResist}};
  if (npk > 1) required.push_back({"IP DATA", c.ipData});
  Result scanned;
  const auto scan = readRows(file, required, c, scanned);
  if (!scan || noRows(*scan, required, file, scanned)) return scanned;
  const AcceptedRows* rows = &scan->rows;
  if (rows->values.size() > static_cast<std::size_t>(core::limits::kMaxLayers))
    return failedWith("MORE THAN " + std::to_string(core::limits::kMaxLayers) +
                      " LAYERS IN FILE: " + file.string());
  for (std::size_t layer = 0; layer < rows->values.size(); ++layer)
    if (!(valueOf(rows->values[layer], c.modelResist) > 0.0f))
      return failedWith("RESISTIVITY NOT POSITIVE" + inRow(rows->rowNumbers[layer], file));
  // Read the thicknesses where the rows hold them.
  std::ifstream in(file, std::ios::binary);
  std::vector<int> withDistance;
  for (const UsedColumn& u : required) withDistance.push_back(u.column);
  withDistance.push_back(c.distance);
  const AcceptedRows thick = acceptRows(in, withDistance, c.firstRow, c.lastRow);

  const auto nlayer = static_cast<int>(rows->values.size());
  ImportedModel read;
  read.header.NLAYER = nlayer;
  read.header.NPK = npk;
  read.header.NPAR = core::parameterCount(nlayer, npk);
  read.PAR.assign(static_cast<std::size_t>(read.header.NPAR), 0.0f);
  std::size_t t = 0;
  for (int layer = 0; layer < nlayer; ++layer) {
    const auto& row = rows->values[static_cast<std::size_t>(layer)];
    read.PAR[static_cast<std::size_t>(layer)] = valueOf(row, c.modelResist);
    if (npk > 1) read.PAR[static_cast<std::size_t>(nlayer + layer)] = valueOf(row, c.ipData);
    if (layer == nlayer - 1) break;
    while (t < thick.rowNumbers.size() &&
           thick.rowNumbers[t] < rows->rowNumbers[static_cast<std::size_t>(layer)])
      ++t;
    const bool held = t < thick.rowNumbers.size() &&
                      thick.rowNumbers[t] == rows->rowNumbers[static_cast<std::size_t>(layer)];
    read.PAR[static_cast<std::size_t>(nlayer * npk + layer)] =
        held ? valueOf(thick.values[t], c.distance) : 0.0f;
  }
  model = std::move(read);
  return succeeded();
}

}  // namespace zeva::files
