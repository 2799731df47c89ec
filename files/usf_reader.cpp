#include "files/usf_reader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/record/data_type.h"
#include "core/record/reader_limits.h"
#include "files/sounding_import.h"
#include "files/text_fields.h"
#include "files/text_input.h"
#include "files/usf_units.h"

namespace zeva::files {

namespace {

using core::Family;

constexpr std::size_t kLineLength = 256;
constexpr std::size_t kMainHeaderLength = 82;  // 80 characters after the two skipped ones

enum class Role { Ignored, Geometry, Value, ErrorBar, Mask };

struct Column {
  Role role = Role::Ignored;
  int slot = 0;  // geometry index, or the index of the value a column belongs to
};

struct Vocabulary {
  std::string_view word;
  Role role;
  int slot;
};

// Column words of each block and where their values go.
constexpr std::array kEmConductivityColumns{
    Vocabulary{"INDEX", Role::Ignored, 0},    Vocabulary{"FREQUENCY", Role::Geometry, 0},
    Vocabulary{"SPACING", Role::Geometry, 1}, Vocabulary{"HEIGHT", Role::Geometry, 2},
    Vocabulary{"HMD", Role::Value, 0},        Vocabulary{"VMD", Role::Value, 1}};
constexpr std::array kTemColumns{
    Vocabulary{"INDEX", Role::Ignored, 0}, Vocabulary{"TIME", Role::Geometry, 0},
    Vocabulary{"WIDTH", Role::Geometry, 1}, Vocabulary{"VOLTAGE", Role::Value, 0}};
constexpr std::array kResistivityColumns{
    Vocabulary{"INDEX", Role::Ignored, 0}, Vocabulary{"SPACING", Role::Geometry, 0},
    Vocabulary{"MN", Role::Geometry, 1},   Vocabulary{"RESISTIVITY", Role::Value, 0},
    Vocabulary{"PFE", Role::Value, 1},     Vocabulary{"CHARGEABILITY", Role::Value, 1},
    Vocabulary{"PHASE", Role::Value, 1}};
constexpr std::array kMaxMinColumns{
    Vocabulary{"INDEX", Role::Ignored, 0},    Vocabulary{"FREQUENCY", Role::Geometry, 0},
    Vocabulary{"SPACING", Role::Geometry, 1}, Vocabulary{"HEIGHT", Role::Geometry, 2},
    Vocabulary{"INPHASE", Role::Value, 0},    Vocabulary{"QUADRATURE", Role::Value, 1}};
constexpr std::array kMagnetotelluricColumns{
    Vocabulary{"INDEX", Role::Ignored, 0}, Vocabulary{"FREQUENCY", Role::Geometry, 0},
    Vocabulary{"RESISTIVITY", Role::Value, 0}, Vocabulary{"PHASE", Role::Value, 1}};

enum class BlockKind { Resistivity, MaxMin, Magnetotelluric, EmConductivity, Tem };

// Other MT and transient types are read as resistivity blocks.
BlockKind blockKindOf(const core::DataTypeText& text) {
  const core::DataTypeTraits& type = core::traitsOf(text);
  if (type.family == Family::MaxMin) return BlockKind::MaxMin;
  if (type.id == core::DataTypeId::Magnetotelluric) return BlockKind::Magnetotelluric;
  if (type.family == Family::EmConductivity) return BlockKind::EmConductivity;
  if (type.loopTem) return BlockKind::Tem;
  return BlockKind::Resistivity;
}

using usf::kVoltageUnits;
using usf::VoltageUnit;

// A line is a keyword END line when its first word, without leading slashes
// and a trailing colon, is END. (Testing for the letters anywhere would end a
// header at a sounding name such as "BENDIGO 4".)
bool isEndLine(std::string_view line) {
  std::string_view word = firstWordOf(line);
  while (!word.empty() && word.front() == '/') word.remove_prefix(1);
  if (!word.empty() && word.back() == ':') word.remove_suffix(1);
  return word == "END";
}

// The data type of an ARRAY value: its first 20 characters without the
// blanks around them; the upper-case TEM names stand for the stored ones.
std::string usfDataType(std::string_view value) {
  std::string type(trimmed(trimmed(value).substr(0, 20)));
  if (type == "CENTRAL LOOP TEM") type = core::type::kCentralLoopTem;
  if (type == "COINCIDENT LOOP TEM") type = core::type::kCoincidentLoopTem;
  if (type == "FIXED LOOP TEM") type = core::type::kFixedLoopTem;
  return type;
}

// Why a stored row means nothing to the sounding, or nothing: a spacing,
// time or frequency that is not positive, a DC or MT resistivity that is not
// positive, an MT phase beyond half a turn. `columns` tells which columns the
// block has; the spacing of a DC array, the time of a TEM sweep and the
// frequency of an MT sounding are needed whether or not their column is there.
std::optional<std::string> rowProblem(const core::DataTypeText& type, BlockKind kind,
                                      const std::vector<Column>& columns,
                                      const std::array<float, 3>& geometry,
                                      const std::array<float, 2>& values) {
  const auto present = [&](Role role, int slot) {
    return std::ranges::any_of(columns,
                               [&](const Column& c) { return c.role == role && c.slot == slot; });
  };
  const auto positive = [](float v) { return v > 0.0f; };  // false for NaN too
  switch (core::familyOf(type)) {
    case Family::DcResistivity:
      if (!positive(geometry[0])) return "Spacing not positive";
      if (present(Role::Geometry, 1) && !positive(geometry[1])) return "MN not positive";
      if (!positive(values[0])) return "Resistivity not positive";
      break;
    case Family::TimeDomainEm:
      if (!positive(geometry[0])) return "Time not positive";
      break;
    case Family::Magnetotelluric:
      if (!positive(geometry[0])) return "Frequency not positive";
      if (!positive(values[0])) return "Resistivity not positive";
      // Other MT types are read as resistivity blocks, their phase in mrad.
      if (kind == BlockKind::Magnetotelluric && !(values[1] >= -180.0f && values[1] <= 180.0f))
        return "Phase outside -180 to 180";
      break;
    case Family::MaxMin:
    case Family::EmConductivity:
      // Every reading needs its frequency and coil spacing, from its columns
      // or, for MaxMin of one varying quantity, from the sounding header.
      if (!positive(geometry[0])) return "Frequency not positive";
      if (!positive(geometry[1])) return "Spacing not positive";
      break;
    case Family::Unknown:
      break;
  }
  return std::nullopt;
}

bool isBlankOrComment(std::string_view line) {
  const std::string_view text = trimmed(line);
  return text.empty() || line.front() == '!';
}

// The transmitter values of one TEM sweep.
struct SweepValues {
  float coilSize = 0.0f, current = 0.0f, frequency = 0.0f, ramp = 0.0f, delay = 0.0f;
  std::int32_t turns = 1;
};

// One sounding as it is read: the header fields and the data rows.
struct SoundingBeingRead {
  core::DataHeader header = importedDataHeader(core::DataTypeText());
  int points = 0;
  int sweeps = 1;
  std::vector<std::int32_t> turns{1};
  std::vector<float> current{0.0f}, ramp{0.0f}, frequency{0.0f}, coilSize{0.0f}, delay{0.0f};
  std::vector<std::int32_t> sweepEnd{0};
  float fixedSpacing = 0.0f, fixedHeight = 0.0f;  // MaxMin geometry held in the header

  // One row per point: geometry, values, error bars, masks.
  int ngeom = 1, ncomp = 1;
  std::vector<std::array<float, 3>> geometry;
  std::vector<std::array<float, 2>> values, errors;
  std::vector<std::array<bool, 2>> masks;

  void resizeSweeps(int count) {
    const auto n = static_cast<std::size_t>(count);
    sweeps = count;
    turns.assign(n, 1);
    current.assign(n, 0.0f);
    ramp.assign(n, 0.0f);
    frequency.assign(n, 0.0f);
    coilSize.assign(n, 0.0f);
    delay.assign(n, 0.0f);
    sweepEnd.assign(n, 0);
  }
  SweepValues sweepValues(int sweep) const {
    const auto k = static_cast<std::size_t>(sweep);
    return {coilSize[k], current[k], frequency[k], ramp[k], delay[k], turns[k]};
  }
  void storeSweep(int sweep, const SweepValues& v) {
    const auto k = static_cast<std::size_t>(sweep);
    coilSize[k] = v.coilSize;
    current[k] = v.current;
    frequency[k] = v.frequency;
    ramp[k] = v.ramp;
    delay[k] = v.delay;
    turns[k] = v.turns;
  }
  void growSweeps(int count) {
    const auto n = static_cast<std::size_t>(count);
    sweeps = count;
    turns.resize(n, 1);
    for (auto* v : {&current, &ramp, &frequency, &coilSize, &delay}) v->resize(n, 0.0f);
    sweepEnd.resize(n, 0);
  }
};

// A reading's geometry with what the header of a MaxMin sounding of one
// varying quantity holds for all its readings.
std::array<float, 3> withFixedGeometry(const SoundingBeingRead& s, std::array<float, 3> geometry) {
  if (!core::isMaxMin(s.header.dataType)) return geometry;
  if (s.header.mode == 1) geometry[1] = s.fixedSpacing, geometry[2] = s.fixedHeight;
  if (s.header.mode == 2) geometry[0] = s.frequency[0], geometry[2] = s.fixedHeight;
  if (s.header.mode == 3) geometry[0] = s.frequency[0], geometry[1] = s.fixedSpacing;
  return geometry;
}

class UsfReader {
 public:
  UsfReader(std::istream& in, Result& messages) : in_(in), messages_(messages) {}

  std::optional<int> readMainHeader();
  // Reads the next sounding; `chosen` is false for soundings that are only
  // stepped over. Returns false after a failure message.
  bool readSounding(SoundingBeingRead& s, bool chosen);

 private:
  enum class BlockOutcome { Read, NoBlock, Failed };

  bool nextLine(std::string& raw, std::size_t limit = kLineLength);
  void pushBack(std::string raw) { pending_ = std::move(raw); }
  void error(std::string_view message);

  // Value readers: the value is the text after the first colon.
  bool readInteger(std::string_view line, std::int32_t& value);
  bool readReals(std::string_view line, std::span<float> values);
  bool readReal(std::string_view line, float& value);
  // One real times `factor`, rounded once; false only for a result beyond
  // single precision, which is reported and refuses the sounding.
  bool readScaled(std::string_view line, float& value, double factor);
  std::string readText(std::string_view rawLine, std::string_view line);

  bool readHeader(SoundingBeingRead& s);
  // The ARRAY line, only allowed first: the data type.
  bool readArray(std::string_view raw, bool firstLine, core::DataHeader& h);
  // SWEEPS: the sweep arrays sized anew; false for a count out of range.
  bool readSweepCount(std::string_view line, SoundingBeingRead& s);
  void readVoltageUnit(std::string_view raw, std::string_view line, core::DataHeader& h);
  // A transmitter keyword of a sweep into `v`: nothing when the line holds
  // none, false after a value that refuses the sounding.
  std::optional<bool> readSweepKeyword(std::string_view line, SweepValues& v);
  // A data block: its column header, then its rows up to END.
  BlockOutcome readBlock(SoundingBeingRead& s, BlockKind kind);
  // False after a message when POINTS is not positive or too large.
  bool checkPointCount(const SoundingBeingRead& s);
  // The next line that is neither blank nor a comment, raw and prepared.
  bool nextFilledLine(std::string& raw, std::string& line);
  // Rows of a conductivity-meter block: exactly POINTS lines.
  BlockOutcome readCountedRows(const std::vector<Column>& columns, SoundingBeingRead& s);
  // Rows of any other block up to its END line, TEM sweeps among them.
  BlockOutcome readRowsToEnd(const std::vector<Column>& columns, SoundingBeingRead& s,
                             BlockKind kind);
  // Ends the current sweep at a SWEEP_NUMBER line and reads the next sweep's
  // header.
  bool startSweep(SoundingBeingRead& s, int& sweep);
  // A row beyond POINTS is reported once and left out.
  bool addRow(std::string_view line, const std::vector<Column>& columns, SoundingBeingRead& s,
              BlockKind kind, int sweep);
  bool readColumnHeader(std::string_view line, std::span<const Vocabulary> vocabulary,
                        std::size_t maxWords, std::vector<Column>& columns);
  // Stores the words of a data line by the roles of the columns.
  // False after a value that cannot be stored.
  bool storeRow(std::string_view line, const std::vector<Column>& columns, SoundingBeingRead& s,
                BlockKind kind, int sweep);
  bool storable(double value, std::string_view word, float& stored);
  bool readSweepHeader(SoundingBeingRead& s, int sweep);

  std::istream& in_;
  Result& messages_;
  int lineNumber_ = 0;
  std::optional<std::string> pending_;
  bool unitReported_ = false;
  bool overflowReported_ = false;  // rows beyond POINTS, once per block
  // A line too long to read was reported: the file is refused and every
  // later message would only repeat it.
  bool stopped_ = false;
};

// Values are parsed on the prepared line with commas as blanks.
std::string valueLine(std::string line) {
  std::replace(line.begin(), line.end(), ',', ' ');
  return line;
}

std::optional<std::string_view> afterColon(std::string_view line) {
  const auto colon = line.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  return line.substr(colon + 1);
}

bool UsfReader::nextLine(std::string& raw, std::size_t limit) {
  if (pending_) {
    raw = std::move(*pending_);
    pending_.reset();
    return true;
  }
  if (stopped_) return false;
  const files::LineRead read = files::readLine(in_, raw, limit);
  if (read == files::LineRead::End) return false;
  ++lineNumber_;
  if (read == files::LineRead::TooLong) {
    error("Line longer than " + std::to_string(core::limits::kMaxLineBytes) + " characters");
    stopped_ = true;
    return false;
  }
  blankUnprintable(raw);
  return true;
}

void UsfReader::error(std::string_view message) {
  if (stopped_) return;
  std::array<char, 16> number{};
  std::snprintf(number.data(), number.size(), "%6d", lineNumber_);
  messages_.error(kUsfErrorTitle,
                  "Error at line " + std::string(number.data()) + "\r\n" + std::string(message));
}

bool UsfReader::readInteger(std::string_view line, std::int32_t& value) {
  const auto rest = afterColon(line);
  if (!rest) return true;
  const std::string_view word = firstWordOf(*rest).substr(0, 30);
  if (word.empty()) {
    value = 0;
    return true;
  }
  const auto parsed = parseInteger(word);
  if (!parsed) {
    error("Error reading integer value: " + std::string(word));
    return false;
  }
  value = *parsed;
  return true;
}

bool UsfReader::readReal(std::string_view line, float& value) {
  return readReals(line, std::span<float>(&value, 1));
}

bool UsfReader::readReals(std::string_view line, std::span<float> values) {
  const auto rest = afterColon(line);
  if (!rest) return true;
  const auto words = splitWords(*rest);
  for (std::size_t k = 0; k < values.size(); ++k) {
    if (k >= words.size()) {
      values[k] = 0.0f;
      continue;
    }
    const std::string_view word = words[k].substr(0, 30);
    const auto parsed = parseReal(word);
    if (!parsed) {
      error("Error reading floating point value: " + std::string(word));
      return false;
    }
    values[k] = *parsed;
  }
  return true;
}

bool UsfReader::readScaled(std::string_view line, float& value, double factor) {
  const auto rest = afterColon(line);
  if (!rest) return true;
  const std::string_view word = firstWordOf(*rest).substr(0, 30);
  if (word.empty()) {
    value = 0.0f;
    return true;
  }
  const auto parsed = parseDouble(word);
  if (!parsed) {  // reported, and reading goes on as for every other value
    error("Error reading floating point value: " + std::string(word));
    return true;
  }
  return storable(*parsed * factor, word, value);
}

bool UsfReader::storable(double value, std::string_view word, float& stored) {
  const auto single = usf::singlePrecision(value);
  if (!single) {
    error("Floating point value out of range: " + std::string(word));
    return false;
  }
  stored = *single;
  return true;
}

// A quoted value keeps its blanks and commas, so it is taken from the line
// before commas became blanks; the opening quote must not stand directly
// after the colon, nor the closing one directly after the opening one.
std::string UsfReader::readText(std::string_view rawLine, std::string_view line) {
  if (const auto rest = afterColon(rawLine)) {
    const auto open = rest->find('"');
    if (open != std::string_view::npos && open > 0) {
      const auto close = rest->find('"', open + 1);
      if (close != std::string_view::npos && close > open + 1)
        return std::string(rest->substr(open + 1, close - open - 1));
    }
  }
  const auto rest = afterColon(line);
  const std::string_view word = rest ? firstWordOf(*rest) : std::string_view{};
  return word == "\"\"" ? std::string() : std::string(word);  // an empty quoted text
}

std::optional<int> UsfReader::readMainHeader() {
  std::string raw;
  if (files::readLine(in_, raw, kMainHeaderLength - 2) != files::LineRead::Line) {
    ++lineNumber_;
    error("File is not USF format");
    return std::nullopt;
  }
  ++lineNumber_;
  const std::string_view identification =
      std::string_view(raw).substr(0, raw.find_last_not_of(' ') + 1);
  if (identification != kUsfIdentification) {
    error("File is not USF format");
    return std::nullopt;
  }
  std::optional<int> soundings;
  while (nextLine(raw, kMainHeaderLength)) {
    const std::string line = valueLine(raw.size() > 2 ? raw.substr(2) : std::string());
    if (trimmed(line).empty() || line.front() == '!') continue;
    if (line.find("SOUNDINGS") != std::string::npos) {
      std::int32_t count = 0;
      if (!readInteger(line, count)) return std::nullopt;
      soundings = count;
      continue;
    }
    if (trimmed(line) == "END" && line.front() == 'E') {
      if (!soundings) {
        error("Main header does not give the number of soundings");
        return std::nullopt;
      }
      return soundings;
    }
  }
  error("Premature end of file while reading main header");
  return std::nullopt;
}

std::optional<bool> UsfReader::readSweepKeyword(std::string_view line, SweepValues& v) {
  auto has = [&](std::string_view keyword) {
    return line.find("/" + std::string(keyword)) != std::string::npos;
  };
  if (has("COIL_SIZE"))
    readReal(line, v.coilSize);
  else if (has("CURRENT"))
    readReal(line, v.current);
  else if (has("FREQUENCY"))
    readReal(line, v.frequency);
  else if (has("RAMP_TIME"))
    return readScaled(line, v.ramp, usf::kRampFactor);
  else if (has("TIME_DELAY"))
    readReal(line, v.delay);
  else if (has("LOOP_TURNS"))
    readInteger(line, v.turns);
  else
    return std::nullopt;
  return true;
}

bool UsfReader::readArray(std::string_view raw, bool firstLine, core::DataHeader& h) {
  if (!firstLine) {
    error("ARRAY keyword not permitted except for first line in sounding header");
    return false;
  }
  // The data type keeps its commas ("MT Data xy, yx, inv.").
  const auto rest = afterColon(raw);
  if (rest) {
    const std::string type = usfDataType(*rest);
    if (core::findDataType(core::DataTypeText(type)) == nullptr) {
      error("Data type not recognized: " + std::string(trimmed(*rest)));
      return false;
    }
    h.dataType.assign(type);
  }
  return true;
}

bool UsfReader::readSweepCount(std::string_view line, SoundingBeingRead& s) {
  std::int32_t sweeps = s.sweeps;
  if (readInteger(line, sweeps)) {
    if (sweeps < 1 || sweeps > core::limits::kMaxSweeps) {
      error("Cannot allocate data arrays");
      return false;
    }
    s.resizeSweeps(sweeps);
  }
  return true;
}

void UsfReader::readVoltageUnit(std::string_view raw, std::string_view line, core::DataHeader& h) {
  if (!afterColon(line)) return;
  const std::string unit = readText(raw, line);
  const auto known = std::ranges::find(kVoltageUnits, unit, &VoltageUnit::fileText);
  if (known == kVoltageUnits.end()) {
    error("Voltage units not recognized: " + unit);
    h.temVoltageUnit.assign("(nV/A-m^2)");
  } else {
    h.temVoltageUnit.assign(known->storedText);
  }
}

bool UsfReader::readHeader(SoundingBeingRead& s) {
  // Values of sweep 1 held until the header ends, since SWEEPS may come
  // later and sizes the sweep arrays anew.
  SweepValues first;
  bool firstLine = true;
  std::string raw;
  for (;;) {
    if (!nextLine(raw)) {
      error("end of file while trying to read line");
      return false;
    }
    const std::string line = valueLine(raw);
    if (isEndLine(line)) break;
    if (isBlankOrComment(line)) continue;
    const bool wasFirst = firstLine;
    firstLine = false;
    auto has = [&](std::string_view keyword) {
      return line.find("/" + std::string(keyword)) != std::string::npos;
    };
    core::DataHeader& h = s.header;
    if (has("ARRAY")) {
      if (!readArray(raw, wasFirst, h)) return false;
    } else if (has("COIL_LOCATION")) {
      std::array<float, 2> v{h.coilX, h.coilY};
      readReals(line, v);
      h.coilX = v[0], h.coilY = v[1];
    } else if (has("DATE")) {
      readInteger(line, h.date);
    } else if (has("DAYTIME")) {
      readReal(line, h.timeOfDay);
    } else if (has("AZIMUTH")) {
      readReal(line, h.azimuth);
    } else if (has("LOCATION")) {
      std::array<float, 3> v{h.east, h.north, h.elevation};
      readReals(line, v);
      h.east = v[0], h.north = v[1], h.elevation = v[2];
    } else if (has("LOOP_SIZE")) {
      std::array<float, 2> v{h.loopSizeX, h.loopSizeY};
      readReals(line, v);
      h.loopSizeX = v[0], h.loopSizeY = v[1];
    } else if (has("POINTS")) {
      readInteger(line, s.points);
    } else if (has("SOUNDING_NUMBER")) {
      std::int32_t ignored = 0;
      readInteger(line, ignored);
    } else if (has("SOUNDING_NAME")) {
      if (afterColon(line)) h.name.assign(readText(raw, line));
    } else if (has("LENGTH_UNITS")) {
      if (afterColon(line)) h.lengthUnit.assign(readText(raw, line) == "FEET" ? "(feet)" : "(m)");
    } else if (has("SWEEPS")) {
      if (!readSweepCount(line, s)) return false;
    } else if (has("VOLTAGE_UNITS")) {
      readVoltageUnit(raw, line, h);
    } else if (const auto read = readSweepKeyword(line, first)) {
      if (!*read) return false;
    } else if (has("DIPOLE_LENGTH")) {
      readReal(line, h.dipoleLength);
    } else if (has("SPACING")) {
      readReal(line, s.fixedSpacing);
    } else if (has("HEIGHT")) {
      readReal(line, s.fixedHeight);
    }
  }
  s.storeSweep(0, first);  // the ramp already in microseconds
  return true;
}

bool UsfReader::readColumnHeader(std::string_view line, std::span<const Vocabulary> vocabulary,
                                 std::size_t maxWords, std::vector<Column>& columns) {
  columns.clear();
  auto words = splitWords(line);
  if (words.size() > maxWords) words.resize(maxWords);
  for (std::string_view word : words) {
    Column column;
    const Column* previous = columns.empty() ? nullptr : &columns.back();
    const Column* beforePrevious = columns.size() < 2 ? nullptr : &columns[columns.size() - 2];
    if (word == "ERROR_BAR" || word == "MASK") {
      const Role own = word == "MASK" ? Role::Mask : Role::ErrorBar;
      const Role other = word == "MASK" ? Role::ErrorBar : Role::Mask;
      if (previous != nullptr && previous->role == Role::Value) {
        column = {own, previous->slot};
      } else if (previous != nullptr && previous->role == other && beforePrevious != nullptr &&
                 beforePrevious->role == Role::Value) {
        column = {own, previous->slot};
      } else {
        error(word == "MASK" ? "Mask does not follow data value or error bar"
                             : "Error bar does not follow data value or mask");
      }
    } else {
      const auto known = std::ranges::find(vocabulary, word, &Vocabulary::word);
      if (known == vocabulary.end())
        error("Unrecognized data header keyword: " + std::string(word));
      else
        column = {known->role, known->slot};
    }
    columns.push_back(column);
  }
  // Trailing columns that store nothing need not be read.
  while (!columns.empty() && columns.back().role == Role::Ignored) columns.pop_back();
  return true;
}

bool UsfReader::storeRow(std::string_view line, const std::vector<Column>& columns,
                         SoundingBeingRead& s, BlockKind kind, int sweep) {
  // Values in the file's units and the words they came from, for messages.
  std::array<double, 3> geometry{};
  std::array<double, 2> values{}, errors{};
  std::array<std::string_view, 3> geometryWords{};
  std::array<std::string_view, 2> valueWords{}, errorWords{};
  std::array<bool, 2> masks{};
  const auto words = splitWords(line);
  for (std::size_t k = 0; k < columns.size(); ++k) {
    const Column& column = columns[k];
    if (column.role == Role::Ignored) continue;
    const std::string_view word = k < words.size() ? words[k].substr(0, 30) : std::string_view{};
    const auto slot = static_cast<std::size_t>(column.slot);
    if (column.role == Role::Mask) {
      if (word.empty()) continue;
      const auto parsed = parseInteger(word);
      if (!parsed)
        error("Error reading integer value: " + std::string(word));
      else
        masks[slot] = *parsed != 0;
      continue;
    }
    double value = 0.0;
    if (!word.empty()) {
      const auto parsed = parseDouble(word);
      if (!parsed)
        error("Error reading floating point value: " + std::string(word));
      else
        value = *parsed;
    }
    if (column.role == Role::Geometry) geometry[slot] = value, geometryWords[slot] = word;
    if (column.role == Role::Value) values[slot] = value, valueWords[slot] = word;
    if (column.role == Role::ErrorBar) errors[slot] = value, errorWords[slot] = word;
  }
  if (kind == BlockKind::Tem) {
    geometry[0] = usf::storedTime(geometry[0], s.delay[static_cast<std::size_t>(sweep)]);
    const auto unit =
        std::ranges::find(kVoltageUnits, std::string_view(s.header.temVoltageUnit.trimmed()),
                          &VoltageUnit::storedText);
    if (unit == kVoltageUnits.end()) {
      // Once per block: the unit is the same for every point.
      if (!unitReported_)
        error("Voltage units not recognized: " + s.header.temVoltageUnit.trimmed());
      unitReported_ = true;
    } else {
      values[0] *= unit->factor;
    }
  }
  std::array<float, 3> storedGeometry{};
  std::array<float, 2> storedValues{}, storedErrors{};
  for (std::size_t k = 0; k < 3; ++k)
    if (!storable(geometry[k], geometryWords[k], storedGeometry[k])) return false;
  for (std::size_t k = 0; k < 2; ++k)
    if (!storable(values[k], valueWords[k], storedValues[k]) ||
        !storable(errors[k], errorWords[k], storedErrors[k]))
      return false;
  if (const auto problem = rowProblem(s.header.dataType, kind, columns,
                                      withFixedGeometry(s, storedGeometry), storedValues)) {
    error(*problem);
    return false;
  }
  s.geometry.push_back(storedGeometry);
  s.values.push_back(storedValues);
  s.errors.push_back(storedErrors);
  s.masks.push_back(masks);
  return true;
}

bool UsfReader::readSweepHeader(SoundingBeingRead& s, int sweep) {
  SweepValues values = s.sweepValues(sweep);
  std::string raw;
  for (;;) {
    if (!nextLine(raw)) {
      error("end of file while trying to read line");
      return false;
    }
    const std::string line = valueLine(raw);
    if (isEndLine(line)) {
      s.storeSweep(sweep, values);
      return true;
    }
    if (isBlankOrComment(line)) continue;
    if (const auto read = readSweepKeyword(line, values); read && !*read) return false;
  }
}

// The column words of each block kind and how many words a header line may
// hold.
std::pair<std::span<const Vocabulary>, std::size_t> vocabularyOf(BlockKind kind) {
  switch (kind) {
    case BlockKind::EmConductivity:
      return {kEmConductivityColumns, 64};
    case BlockKind::Tem:
      return {kTemColumns, 5};
    case BlockKind::Resistivity:
      return {kResistivityColumns, 64};
    case BlockKind::MaxMin:
      return {kMaxMinColumns, 64};
    case BlockKind::Magnetotelluric:
      return {kMagnetotelluricColumns, 64};
  }
  return {kResistivityColumns, 64};
}

// What the columns of a block tell about the sounding: its geometry and
// value counts, the dipole mode of a conductivity meter, the varying quantity
// of a MaxMin sounding and the unit of a resistivity block's IP column.
void describeFromColumns(SoundingBeingRead& s, BlockKind kind, const std::vector<Column>& columns,
                         std::string_view headerLine) {
  auto present = [&](Role role, int slot) {
    return std::ranges::any_of(columns,
                               [&](const Column& c) { return c.role == role && c.slot == slot; });
  };
  switch (kind) {
    case BlockKind::EmConductivity: {
      s.ngeom = 3, s.ncomp = 2;
      const bool hmd = present(Role::Value, 0), vmd = present(Role::Value, 1);
      if (hmd && vmd)
        s.header.mode = 1;
      else if (hmd)
        s.header.mode = 2;
      else if (vmd)
        s.header.mode = 3;
      break;
    }
    case BlockKind::Tem:
      s.ngeom = present(Role::Geometry, 1) ? 2 : 1, s.ncomp = 1;
      break;
    case BlockKind::Resistivity:
      s.ngeom = present(Role::Geometry, 1) ? 2 : 1;
      s.ncomp = present(Role::Value, 1) ? 2 : 1;
      for (std::size_t k = 0; k < columns.size(); ++k) {
        if (columns[k].role != Role::Value || columns[k].slot != 1) continue;
        const std::string_view word = splitWords(headerLine)[k];
        s.header.ipUnit.assign(word == "PHASE"           ? "(mRad)"
                               : word == "CHARGEABILITY" ? "(mSec)"
                                                         : "(pfe)");
      }
      break;
    case BlockKind::MaxMin: {
      s.ngeom = 3, s.ncomp = 2;
      const bool f = present(Role::Geometry, 0), x = present(Role::Geometry, 1),
                 z = present(Role::Geometry, 2);
      s.header.mode = f && !x && !z ? 1 : x && !f && !z ? 2 : z && !f && !x ? 3 : 0;
      break;
    }
    case BlockKind::Magnetotelluric:
      s.ngeom = 1, s.ncomp = 2;
      break;
  }
}

// Every sweep from `sweep` on ends at the rows read so far.
void endSweepsFrom(SoundingBeingRead& s, int sweep) {
  for (int k = sweep; k < s.sweeps; ++k)
    s.sweepEnd[static_cast<std::size_t>(k)] = static_cast<std::int32_t>(s.values.size());
}

bool UsfReader::checkPointCount(const SoundingBeingRead& s) {
  if (s.points <= 0) {
    error("Cannot read data unles there is a positive number of values");
    return false;
  }
  if (s.points > core::limits::kMaxPoints) {
    error("More points than " + std::to_string(core::limits::kMaxPoints) + ": " +
          std::to_string(s.points));
    return false;
  }
  return true;
}

bool UsfReader::nextFilledLine(std::string& raw, std::string& line) {
  for (;;) {
    if (!nextLine(raw)) {
      error("end of file while trying to read line");
      return false;
    }
    line = valueLine(raw);
    if (!isBlankOrComment(line)) return true;
  }
}

bool UsfReader::addRow(std::string_view line, const std::vector<Column>& columns,
                       SoundingBeingRead& s, BlockKind kind, int sweep) {
  if (static_cast<int>(s.values.size()) >= s.points) {
    if (!overflowReported_) error("Attempt to read beyond allocated data");
    overflowReported_ = true;
    return true;
  }
  return storeRow(line, columns, s, kind, sweep);
}

UsfReader::BlockOutcome UsfReader::readCountedRows(const std::vector<Column>& columns,
                                                   SoundingBeingRead& s) {
  std::string raw;
  // Exactly POINTS lines follow, blank ones included.
  while (static_cast<int>(s.values.size()) < s.points) {
    if (!nextLine(raw)) {
      error("end of file while trying to read line");
      return BlockOutcome::Failed;
    }
    const std::string line = valueLine(raw);
    if (isEndLine(line)) break;  // fewer lines than POINTS: the block ends here
    if (!addRow(line, columns, s, BlockKind::EmConductivity, 0)) return BlockOutcome::Failed;
  }
  if (static_cast<int>(s.values.size()) == s.points) {
    while (nextLine(raw))
      if (isEndLine(valueLine(raw))) return BlockOutcome::Read;
    error("end of file while trying to read line");
    return BlockOutcome::Failed;
  }
  return BlockOutcome::Read;
}

bool UsfReader::startSweep(SoundingBeingRead& s, int& sweep) {
  endSweepsFrom(s, sweep);
  ++sweep;
  // More sweeps than SWEEPS announced: the arrays grow with the data.
  if (sweep >= s.sweeps) {
    if (sweep >= core::limits::kMaxSweeps) {
      error("Cannot allocate data arrays");
      return false;
    }
    s.growSweeps(sweep + 1);
  }
  return readSweepHeader(s, sweep);
}

UsfReader::BlockOutcome UsfReader::readRowsToEnd(const std::vector<Column>& columns,
                                                 SoundingBeingRead& s, BlockKind kind) {
  int sweep = 0;
  std::string raw;
  for (;;) {
    if (!nextLine(raw)) {
      error("end of file while trying to read line");
      return BlockOutcome::Failed;
    }
    const std::string line = valueLine(raw);
    if (isEndLine(line)) break;
    if (isBlankOrComment(line)) continue;
    if (kind == BlockKind::Tem && line.find("SWEEP_NUMBER") != std::string::npos) {
      if (!startSweep(s, sweep)) return BlockOutcome::Failed;
      continue;
    }
    if (!addRow(line, columns, s, kind, sweep)) return BlockOutcome::Failed;
  }
  endSweepsFrom(s, sweep);
  return BlockOutcome::Read;
}

UsfReader::BlockOutcome UsfReader::readBlock(SoundingBeingRead& s, BlockKind kind) {
  if (!checkPointCount(s)) return BlockOutcome::Failed;
  std::string raw, line;
  if (!nextFilledLine(raw, line)) return BlockOutcome::Failed;
  // A keyword line where the column header should be: this sounding has no
  // data block and the line belongs to what follows.
  if (firstWordOf(line).starts_with("/")) {
    pushBack(raw);
    return BlockOutcome::NoBlock;
  }
  const auto [vocabulary, maxWords] = vocabularyOf(kind);
  unitReported_ = false;
  overflowReported_ = false;
  std::vector<Column> columns;
  readColumnHeader(line, vocabulary, maxWords, columns);
  describeFromColumns(s, kind, columns, line);
  if (kind == BlockKind::EmConductivity) return readCountedRows(columns, s);
  return readRowsToEnd(columns, s, kind);
}

bool UsfReader::readSounding(SoundingBeingRead& s, bool chosen) {
  if (!readHeader(s)) return false;
  const BlockOutcome outcome = readBlock(s, blockKindOf(s.header.dataType));
  if (outcome == BlockOutcome::Failed) return false;
  if (!chosen) return true;
  if (s.header.dataType.isBlank()) {
    error("Sounding header has no ARRAY keyword");
    return false;
  }
  if (outcome == BlockOutcome::NoBlock) {
    error("No data block follows the sounding header");
    return false;
  }
  if (s.values.empty()) {
    error("Data block holds no data points");
    return false;
  }
  return true;
}

// Moves a sounding that was read into the record.
bool fill(const SoundingBeingRead& s, core::Sounding& sounding) {
  core::DataHeader header = s.header;
  header.NDATA = static_cast<std::int32_t>(s.values.size());
  header.NCOMP = s.ncomp;
  header.NGEOM = s.ngeom;
  header.NSETS = s.sweeps;
  header.NSHIFT = 0;
  header.voltageAndCurrent = core::kFalse;
  if (!beginImportedData(sounding, header)) return false;
  core::SoundingData& d = sounding.data();
  for (std::size_t i = 0; i < s.values.size(); ++i) {
    const std::array<float, 3> geometry = withFixedGeometry(s, s.geometry[i]);
    for (int g = 0; g < s.ngeom; ++g)
      d.TIME(i, static_cast<std::size_t>(g)) = geometry[static_cast<std::size_t>(g)];
    for (int c = 0; c < s.ncomp; ++c) {
      const auto k = static_cast<std::size_t>(c);
      d.VOLTS(i, k) = s.values[i][k];
      d.UVOLTS(i, k) = s.errors[i][k];
      d.LMASK(i, k) = core::logical(s.masks[i][k]);
    }
  }
  d.AMPS = s.current;
  d.RAMP = s.ramp;
  d.FREQ = s.frequency;
  d.AREA = s.coilSize;
  d.TSHIFT = s.delay;
  d.NTURNS = s.turns;
  d.NSET = s.sweepEnd;
  for (int k = 0; k < s.sweeps; ++k) d.KCALC[static_cast<std::size_t>(k)] = 2 + 2 * (k % 5);
  if (blockKindOf(header.dataType) != BlockKind::Tem) d.NSET.assign(d.NSET.size(), header.NDATA);
  return true;
}

std::optional<SoundingBeingRead> readChosen(UsfReader& reader, int number, int count,
                                            Result& messages) {
  if (number < 1 || number > count) {
    messages.warning("Sounding out of range.");
    return std::nullopt;
  }
  for (int k = 1; k <= number; ++k) {
    SoundingBeingRead s;
    if (!reader.readSounding(s, k == number)) return std::nullopt;
    if (k == number) return s;
  }
  return std::nullopt;
}

}  // namespace

Result openUsfFile(const std::filesystem::path& file, std::ifstream& in) {
  std::error_code missing;
  if (std::filesystem::exists(file, missing) && !files::isRegularFile(file))
    return failedWith(std::string(files::kCannotOpenFile) + file.string());
  in.open(file, std::ios::binary);
  if (!in) return failedWith("CANNOT OPEN FILE " + file.string());
  return succeeded();
}

Result readUsfSoundingCount(std::istream& in, int& count) {
  Result read;
  UsfReader reader(in, read);
  const auto soundings = reader.readMainHeader();
  if (!soundings) return read;
  count = *soundings;
  read.ok = true;
  return read;
}

Result readUsfSounding(std::istream& in, int number, core::Sounding& sounding) {
  Result read;
  UsfReader reader(in, read);
  const auto count = reader.readMainHeader();
  if (!count) return read;
  const auto s = readChosen(reader, number, *count, read);
  if (!s) return read;
  if (!fill(*s, sounding)) {
    read.error(kUsfErrorTitle, "Cannot allocate data arrays");
    return read;
  }
  read.ok = true;
  return read;
}

}  // namespace zeva::files
