#include "files/flat_ascii_import.h"

#include <algorithm>
#include <fstream>
#include <new>
#include <system_error>

#include "core/data_type.h"
#include "core/reader_limits.h"
#include "core/text_input.h"
#include "files/geometric_factor.h"
#include "files/sounding_import.h"
#include "files/text_fields.h"

namespace zeva::files {

namespace {

constexpr std::size_t kLineLength = 256;

// The checks every importer makes before reading: the file exists and is not
// empty. Shows the message and returns false otherwise.
bool fileUsable(const std::filesystem::path& file, ui::Toolkit& toolkit) {
  const std::string name = file.string();
  std::error_code error;
  if (!core::regularFileOrMessage(file, toolkit)) return false;
  const auto size = std::filesystem::file_size(file, error);
  if (error || size < 1) {
    toolkit.warning("FILE HAS NO LENGTH:" + name);
    return false;
  }
  return true;
}

// Where reading stopped early: at a line longer than the reader takes (its
// row number), or after more rows than a sounding may have.
struct RowLimits {
  int lineTooLong = 0;
  bool tooManyRows = false;
};

AcceptedRows acceptRowsWithin(std::istream& in, const std::vector<int>& columns, int firstRow,
                              int lastRow, RowLimits& limits);

std::optional<AcceptedRows> readRows(const std::filesystem::path& file,
                                     const std::vector<int>& columns,
                                     const settings::ImportColumns& settings,
                                     ui::Toolkit& toolkit) {
  if (!fileUsable(file, toolkit)) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    toolkit.warning("CANNOT OPEN FILE: " + file.string());
    return std::nullopt;
  }
  AcceptedRows rows;
  RowLimits limits;
  try {
    rows = acceptRowsWithin(in, columns, settings.firstRow, settings.lastRow, limits);
  } catch (const std::bad_alloc&) {
    return AcceptedRows{};
  }
  if (limits.lineTooLong > 0) {
    toolkit.warning("LINE " + std::to_string(limits.lineTooLong) + " LONGER THAN " +
                    std::to_string(core::limits::kMaxLineBytes) +
                    " CHARACTERS IN FILE: " + file.string());
    return std::nullopt;
  }
  if (limits.tooManyRows) {
    toolkit.warning("MORE THAN " + std::to_string(core::limits::kMaxPoints) +
                    " DATA ROWS IN FILE: " + file.string());
    return std::nullopt;
  }
  return rows;
}

float valueOf(const std::vector<float>& row, int column) {
  return column > 0 ? row[static_cast<std::size_t>(column - 1)] : 0.0f;
}

// A value computed from row `row` lies beyond single precision.
int outOfRange(int row, const std::filesystem::path& file, ui::Toolkit& toolkit) {
  toolkit.warning("VALUE OUT OF RANGE IN ROW " + std::to_string(row) +
                  " OF FILE: " + file.string());
  return -1;
}

bool noRows(const AcceptedRows& rows, const std::filesystem::path& file, ui::Toolkit& toolkit) {
  if (!rows.values.empty()) return false;
  toolkit.warning("NO DATA ROWS READ FROM FILE: " + file.string());
  return true;
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
      if (target.dataType == core::type::kEmConductivity)
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
  RowLimits ignored;
  return acceptRowsWithin(in, columns, firstRow, lastRow, ignored);
}

namespace {

// The heading line of the program's own exports ("DATASET: " and the
// sounding's name, which may be a number) is never a row.
AcceptedRows acceptRowsWithin(std::istream& in, const std::vector<int>& columns, int firstRow,
                              int lastRow, RowLimits& limits) {
  AcceptedRows rows;
  int highest = 0;
  for (int c : columns) highest = std::max(highest, c);
  std::string line;
  for (int row = 1;; ++row) {
    const core::LineRead read = core::readLine(in, line, kLineLength);
    if (read == core::LineRead::End) break;
    if (read == core::LineRead::TooLong) {
      limits.lineTooLong = row;
      break;
    }
    if (trimmed(line).empty()) continue;
    if (firstRow > 0 && row < firstRow) continue;
    if (lastRow > 0 && row > lastRow) continue;
    blankUnprintable(line);
    std::replace(line.begin(), line.end(), ',', ' ');
    const auto words = splitWords(line);
    if (static_cast<int>(words.size()) < highest) continue;
    std::vector<float> values(static_cast<std::size_t>(highest), 0.0f);
    bool accepted = true;
    for (int c : columns) {
      if (c <= 0) continue;
      const auto value = parseReal(words[static_cast<std::size_t>(c - 1)]);
      if (!value) {
        accepted = false;
        break;
      }
      values[static_cast<std::size_t>(c - 1)] = *value;
    }
    if (!accepted || firstWordOf(line) == "DATASET:") continue;
    if (rows.values.size() == static_cast<std::size_t>(core::limits::kMaxPoints)) {
      limits.tooManyRows = true;
      break;
    }
    rows.rowNumbers.push_back(row);
    rows.values.push_back(std::move(values));
  }
  return rows;
}

}  // namespace

std::string soundingNameOf(const std::filesystem::path& file) {
  const std::string name = file.filename().string();
  return name.substr(0, std::min<std::size_t>(name.find('.'), 24));
}

int readFlatAsciiData(const std::filesystem::path& file, const FlatAsciiRequest& request,
                      const settings::ImportColumns& c, core::Sounding& result,
                      ui::Toolkit& toolkit) {
  const core::DataTypeText& type = request.header.dataType;
  const bool schlumberger = type == core::type::kSchlumberger;
  const bool voltageAndCurrent = core::isSet(request.header.voltageAndCurrent);
  const int mn = schlumberger ? c.mn : 0;
  const int current = voltageAndCurrent ? c.current : 0;

  std::vector<int> columns;
  switch (request.kind) {
    case FlatAsciiKind::Resistivity:
      columns = {c.spacing, c.resistivity, mn, current};
      break;
    case FlatAsciiKind::ResistivityIp:
      columns = {c.spacing, c.resistivity, mn, current, c.ipData};
      break;
    case FlatAsciiKind::MaxMin:
      columns = {c.frequency, c.inPhase, c.quadrature, c.space, c.height};
      break;
    case FlatAsciiKind::EmConductivity:
      columns = {c.frequency, c.space, c.height, c.voltage};
      break;
    case FlatAsciiKind::Magnetotelluric:
      columns = {c.frequency, c.resistivity, c.modelResist, c.rhoError, c.phaseError};
      break;
    case FlatAsciiKind::Tem:
      columns = {c.time, c.voltage};
      break;
    case FlatAsciiKind::WellLog:
    case FlatAsciiKind::Model:
      return -1;
  }
  const auto rows = readRows(file, columns, c, toolkit);
  if (!rows || noRows(*rows, file, toolkit)) return -1;

  core::DataHeader header = request.header;
  header.name.assign(soundingNameOf(file));
  header.NDATA = static_cast<std::int32_t>(rows->values.size());
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
  if (!beginImportedData(result, header)) {
    toolkit.warning(flatAsciiImporter(request.kind).allocationMessage);
    return -1;
  }
  core::SoundingData& d = result.data();
  for (std::size_t i = 0; i < rows->values.size(); ++i) {
    const std::vector<float>& row = rows->values[i];
    switch (request.kind) {
      case FlatAsciiKind::Resistivity:
      case FlatAsciiKind::ResistivityIp: {
        d.TIME(i, 0) = valueOf(row, c.spacing);
        if (mn > 0) d.TIME(i, 1) = valueOf(row, mn);
        if (voltageAndCurrent) {
          // The second column is the voltage; the resistivity follows from
          // the array's geometric factor.
          const float volts = valueOf(row, c.resistivity);
          const float amps = current > 0 ? valueOf(row, current) : 1.0f;
          const double k = geometricFactor(type, d.TIME(i, 0), mn > 0 ? d.TIME(i, 1) : 0.0f,
                                           header.dipoleLength);
          const auto rho = core::limits::singlePrecision(amps != 0.0f ? k * volts / amps : 0.0);
          if (!rho) return outOfRange(rows->rowNumbers[i], file, toolkit);
          d.VOLTS(i, 0) = *rho;
          if (request.kind == FlatAsciiKind::Resistivity)
            d.VOLTS(i, 1) = volts, d.VOLTS(i, 2) = amps;
        } else {
          d.VOLTS(i, 0) = valueOf(row, c.resistivity);
        }
        if (request.kind == FlatAsciiKind::ResistivityIp) d.VOLTS(i, 1) = valueOf(row, c.ipData);
        break;
      }
      case FlatAsciiKind::MaxMin:
        d.TIME(i, 0) = valueOf(row, c.frequency);
        d.TIME(i, 1) = c.space > 0 ? valueOf(row, c.space) : request.fixedSpacing;
        d.TIME(i, 2) = c.height > 0 ? valueOf(row, c.height) : request.fixedHeight;
        d.VOLTS(i, 0) = valueOf(row, c.inPhase);
        d.VOLTS(i, 1) = valueOf(row, c.quadrature);
        break;
      case FlatAsciiKind::EmConductivity:
        d.TIME(i, 0) = valueOf(row, c.frequency);
        d.TIME(i, 1) = valueOf(row, c.space);
        d.TIME(i, 2) = valueOf(row, c.height);
        d.VOLTS(i, header.mode == 3 ? 1 : 0) = valueOf(row, c.voltage);
        break;
      case FlatAsciiKind::Magnetotelluric:
        d.TIME(i, 0) = valueOf(row, c.frequency);
        d.VOLTS(i, 0) = valueOf(row, c.resistivity);
        d.VOLTS(i, 1) = valueOf(row, c.modelResist);
        if (c.rhoError > 0) d.UVOLTS(i, 0) = valueOf(row, c.rhoError);
        if (c.phaseError > 0) d.UVOLTS(i, 1) = valueOf(row, c.phaseError);
        break;
      case FlatAsciiKind::Tem: {
        const double scale = request.timeUnit == TemTimeUnit::Microseconds ? 0.001
                             : request.timeUnit == TemTimeUnit::Seconds    ? 1000.0
                                                                           : 1.0;
        const auto time = core::limits::singlePrecision(valueOf(row, c.time) * scale);
        if (!time) return outOfRange(rows->rowNumbers[i], file, toolkit);
        d.TIME(i, 0) = *time;
        d.VOLTS(i, 0) = valueOf(row, c.voltage);
        break;
      }
      default:
        break;
    }
  }
  return 0;
}

int readWellLog(const std::filesystem::path& file, const settings::ImportColumns& c, WellLog& log,
                ui::Toolkit& toolkit) {
  const auto rows = readRows(file, {c.wellDepth, c.wellResist}, c, toolkit);
  if (!rows || noRows(*rows, file, toolkit)) return -1;
  WellLog read;
  for (std::size_t i = 0; i < rows->values.size(); ++i) {
    const auto& row = rows->values[i];
    const auto depth = core::limits::singlePrecision(valueOf(row, c.wellDepth) *
                                                     (c.depthTimes1000 ? 1000.0 : 1.0));
    if (!depth) return outOfRange(rows->rowNumbers[i], file, toolkit);
    read.depth.push_back(*depth);
    read.resistivity.push_back(valueOf(row, c.wellResist));
  }
  log = std::move(read);
  return 0;
}

int readFlatAsciiModel(const std::filesystem::path& file, const settings::ImportColumns& c, int npk,
                       ImportedModel& model, ui::Toolkit& toolkit) {
  npk = std::clamp(npk, 1, 2);
  // Without a resistivity column every non-blank line would be a layer.
  if (c.modelResist < 1) {
    toolkit.warning("NO COLUMN FOR RESISTIVITY: Model Resist Column=" +
                    std::to_string(c.modelResist));
    return -1;
  }
  // The thickness is optional on a row: the half-space line has none.
  std::vector<int> required{c.modelResist};
  if (npk > 1) required.push_back(c.ipData);
  const auto rows = readRows(file, required, c, toolkit);
  if (!rows || noRows(*rows, file, toolkit)) return -1;
  if (rows->values.size() > static_cast<std::size_t>(core::limits::kMaxLayers)) {
    toolkit.warning("MORE THAN " + std::to_string(core::limits::kMaxLayers) +
                    " LAYERS IN FILE: " + file.string());
    return -1;
  }
  for (std::size_t layer = 0; layer < rows->values.size(); ++layer) {
    if (valueOf(rows->values[layer], c.modelResist) > 0.0f) continue;
    toolkit.warning("RESISTIVITY NOT POSITIVE IN ROW " + std::to_string(rows->rowNumbers[layer]) +
                    " OF FILE: " + file.string());
    return -1;
  }
  // Read the thicknesses where the rows hold them.
  std::ifstream in(file, std::ios::binary);
  std::vector<int> withDistance = required;
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
  return 0;
}

bool askColumns(ui::Toolkit& toolkit, FlatAsciiKind kind, FlatAsciiRequest& request,
                settings::ImportColumns& columns) {
  settings::ImportColumns c = columns;
  const core::DataTypeText& type = request.header.dataType;
  const bool voltageAndCurrent = core::isSet(request.header.voltageAndCurrent);
  bool cancelled = false;
  auto ask = [&](std::string_view label, int& field) {
    if (cancelled) return;
    const auto answer = toolkit.askNumber(label, field);
    if (!answer) {
      cancelled = true;
      return;
    }
    field = static_cast<int>(std::clamp(*answer, -1.0e6, 1.0e6));
  };
  switch (kind) {
    case FlatAsciiKind::Resistivity:
    case FlatAsciiKind::ResistivityIp: {
      const bool schlumberger = type == core::type::kSchlumberger;
      ask(schlumberger ? "Column for AB/2:" : "Column for Spacing:", c.spacing);
      ask(voltageAndCurrent ? "Column for Voltage:" : "Column for Resistivity:", c.resistivity);
      if (schlumberger)
        ask("Column for MN:", c.mn);
      else
        c.mn = 0;
      if (voltageAndCurrent)
        ask("Column for Current:", c.current);
      else
        c.current = 0;
      if (kind == FlatAsciiKind::ResistivityIp) ask("Column for IP Data:", c.ipData);
      if (!cancelled && (type == core::type::kDipoleDipole || type == core::type::kPoleDipole)) {
        const auto a = toolkit.askNumber("Dipole Length:", request.header.dipoleLength);
        if (!a)
          cancelled = true;
        else
          request.header.dipoleLength = static_cast<float>(*a);
      }
      break;
    }
    case FlatAsciiKind::MaxMin:
      ask("Column for Frequency:", c.frequency);
      ask("Column for In-Phase:", c.inPhase);
      ask("Column for Quadrature:", c.quadrature);
      ask("Column for Space:", c.space);
      ask("Column for Height:", c.height);
      break;
    case FlatAsciiKind::EmConductivity:
      ask("Column for Frequency:", c.frequency);
      ask("Column for Space:", c.space);
      ask("Column for Height:", c.height);
      ask("Column for Conductivity:", c.voltage);
      break;
    case FlatAsciiKind::Magnetotelluric:
      ask("Column for Frequency:", c.frequency);
      ask("Column for Resistivity:", c.resistivity);
      ask("Column for Phase:", c.modelResist);
      ask("Column for Resistivity Error:", c.rhoError);
      ask("Column for Phase Error:", c.phaseError);
      break;
    case FlatAsciiKind::Tem: {
      ask("Column for Time:", c.time);
      ask("Column for Voltage:", c.voltage);
      int unit = static_cast<int>(request.timeUnit) + 1;
      ask("Time unit (1 microseconds, 2 milliseconds, 3 seconds):", unit);
      request.timeUnit = unit <= 1   ? TemTimeUnit::Microseconds
                         : unit == 2 ? TemTimeUnit::Milliseconds
                                     : TemTimeUnit::Seconds;
      break;
    }
    case FlatAsciiKind::WellLog:
      ask("Column for Depth:", c.wellDepth);
      ask("Column for Resistivity:", c.wellResist);
      if (!cancelled)
        c.depthTimes1000 = toolkit.yesNo("Multiply depths by 1000?", c.depthTimes1000);
      break;
    case FlatAsciiKind::Model:
      ask("Column for Distance:", c.distance);
      ask(type == core::type::kEmConductivity ? "Column for Conductivity:"
                                              : "Column for Resistivity:",
          c.modelResist);
      break;
  }
  // Each row bound: the field shows its size, the tick whether it is used.
  auto bound = [&](std::string_view label, std::string_view use, int& setting) {
    if (cancelled) return;
    int value = std::abs(setting);
    ask(label, value);
    if (cancelled) return;
    const bool ticked = toolkit.yesNo(use, setting > 0);
    setting = ticked ? std::abs(value) : -std::abs(value);
  };
  bound("First Row:", "Use the first row?", c.firstRow);
  bound("Last Row:", "Use the last row?", c.lastRow);
  if (cancelled) return false;
  columns = c;
  return true;
}

}  // namespace zeva::files
