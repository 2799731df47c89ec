#include "files/usf_writer.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "core/record/data_type.h"
#include "files/save_file.h"
#include "files/text_fields.h"
#include "files/usf_reader.h"
#include "files/usf_units.h"

namespace zeva::files {

namespace {

// An unknown unit text is written as V/AM2 with its factor.
const usf::VoltageUnit& voltageUnitOf(const core::UnitText& unit) {
  for (const usf::VoltageUnit& known : usf::kVoltageUnits)
    if (unit == known.storedText) return known;
  return usf::kVoltageUnits[1];
}

// The shortest text of `fileValue` that the reader's conversion `toStored`
// turns back into `stored`; seventeen digits when none is shorter.
template <typename ToStored>
std::string exactText(double fileValue, float stored, ToStored toStored) {
  std::array<char, 64> buffer{};
  for (int digits = 9; digits <= 17; ++digits) {
    std::snprintf(buffer.data(), buffer.size(), "%.*G", digits, fileValue);
    const auto back = parseDouble(buffer.data());
    if (back && usf::singlePrecision(toStored(*back)) == stored) break;
  }
  return buffer.data();
}

class Lines {
 public:
  explicit Lines(std::ostream& out) : out_(out) {}
  void line(std::string_view text) { out_ << text << '\n'; }
  void keyword(std::string_view key, std::string_view value) {
    out_ << '/' << key << ": " << value << '\n';
  }
  void real(std::string_view key, float value) { keyword(key, realText(value)); }
  void integer(std::string_view key, long value) { keyword(key, std::to_string(value)); }
  void reals(std::string_view key, std::initializer_list<float> values) {
    std::string text;
    for (float v : values) text += (text.empty() ? "" : ", ") + realText(v);
    keyword(key, text);
  }

 private:
  std::ostream& out_;
};

std::string quotedName(const core::NameText& name) {
  std::string text = name.trimmed();
  for (char& c : text)
    if (c == '"') c = '\'';
  return '"' + text + '"';
}

std::string lengthUnits(const core::DataHeader& h) {
  return h.lengthUnit == "(feet)" ? "FEET" : "M";
}

// One data line: the point number and the values, separated by ", ".
std::string dataLine(std::size_t point, const std::vector<std::string>& values) {
  std::string text = std::to_string(point);
  for (const std::string& v : values) text += ", " + v;
  return text;
}

std::string maskText(core::Logical mask) { return core::isSet(mask) ? "1" : "0"; }

void writeColumns(Lines& out, const std::vector<std::string_view>& columns) {
  std::string text;
  for (std::string_view c : columns) text += (text.empty() ? "" : ", ") + std::string(c);
  out.line(text);
}

// The first lines of every sounding header: the array and when it was taken.
void writeIdentification(Lines& out, const core::DataHeader& h) {
  out.keyword("ARRAY", h.dataType.padded());
  out.real("AZIMUTH", h.azimuth);
  out.integer("DATE", h.date);
  out.real("DAYTIME", h.timeOfDay);
}

// Where the sounding is, its size and name, in the order of the EM and TEM
// headers.
void writePlaceAndName(Lines& out, const core::DataHeader& h) {
  out.reals("LOCATION", {h.east, h.north, h.elevation});
  out.integer("POINTS", h.NDATA);
  out.keyword("SOUNDING_NAME", quotedName(h.name));
  out.keyword("LENGTH_UNITS", lengthUnits(h));
}

void writeResistivity(Lines& out, const core::Sounding& s) {
  const core::DataHeader& h = s.header;
  const core::SoundingData& d = s.data();
  writeIdentification(out, h);
  const core::DataTypeTraits& type = core::traitsOf(h.dataType);
  if (type.separationFactor()) out.real("DIPOLE_LENGTH", h.dipoleLength);
  out.reals("LOCATION", {h.east, h.north, h.elevation});
  out.keyword("LENGTH_UNITS", lengthUnits(h));
  out.integer("POINTS", h.NDATA);
  out.keyword("SOUNDING_NAME", quotedName(h.name));
  out.line("/END");
  out.line(" ");
  const bool ip = h.NCOMP > 1;
  const bool mn = type.potentialSpacing && h.NGEOM > 1;
  std::vector<std::string_view> columns{"INDEX", "SPACING", "RESISTIVITY"};
  if (ip)
    columns.push_back(h.ipUnit == "(mRad)"   ? "PHASE"
                      : h.ipUnit == "(mSec)" ? "CHARGEABILITY"
                                             : "PFE");
  if (mn) columns.push_back("MN");
  writeColumns(out, columns);
  for (std::size_t i = 0; i < static_cast<std::size_t>(h.NDATA); ++i) {
    std::vector<std::string> values{realText(d.TIME(i, 0)), realText(d.VOLTS(i, 0))};
    if (ip) values.push_back(realText(d.VOLTS(i, 1)));
    if (mn) values.push_back(realText(d.TIME(i, 1)));
    out.line(dataLine(i + 1, values));
  }
}

void writeMaxMin(Lines& out, const core::Sounding& s) {
  const core::DataHeader& h = s.header;
  const core::SoundingData& d = s.data();
  writeIdentification(out, h);
  writePlaceAndName(out, h);
  // The fixed geometry is that of point 1; the varying quantity is a column.
  std::vector<std::string_view> varying{"FREQUENCY", "SPACING", "HEIGHT"};
  std::vector<std::size_t> varyingColumn{0, 1, 2};
  const bool any = h.NDATA > 0 && d.TIME.cols() >= 3;
  auto fixed = [&](std::string_view key, std::size_t column) {
    out.real(key, any ? d.TIME(0, column) : 0.0f);
  };
  switch (h.mode) {
    case 1:
      fixed("SPACING", 1), fixed("HEIGHT", 2), varying = {"FREQUENCY"}, varyingColumn = {0};
      break;
    case 2:
      fixed("FREQUENCY", 0), fixed("HEIGHT", 2), varying = {"SPACING"}, varyingColumn = {1};
      break;
    case 3:
      fixed("FREQUENCY", 0), fixed("SPACING", 1), varying = {"HEIGHT"}, varyingColumn = {2};
      break;
    default:
      break;
  }
  out.line("/END");
  out.line(" ");
  std::vector<std::string_view> columns{"INDEX"};
  columns.insert(columns.end(), varying.begin(), varying.end());
  columns.push_back("INPHASE");
  columns.push_back("QUADRATURE");
  writeColumns(out, columns);
  for (std::size_t i = 0; i < static_cast<std::size_t>(h.NDATA); ++i) {
    std::vector<std::string> values;
    for (std::size_t column : varyingColumn)
      values.push_back(realText(column < d.TIME.cols() ? d.TIME(i, column) : 0.0f));
    values.push_back(realText(d.VOLTS(i, 0)));
    values.push_back(realText(d.VOLTS.cols() > 1 ? d.VOLTS(i, 1) : 0.0f));
    out.line(dataLine(i + 1, values));
  }
}

void writeEmConductivity(Lines& out, const core::Sounding& s) {
  const core::DataHeader& h = s.header;
  const core::SoundingData& d = s.data();
  writeIdentification(out, h);
  writePlaceAndName(out, h);
  out.line("/END");
  out.line(" ");
  std::vector<std::size_t> components;
  std::vector<std::string_view> columns{"INDEX", "FREQUENCY", "SPACING", "HEIGHT"};
  if (h.mode != 3) components.push_back(0);
  if (h.mode != 2) components.push_back(1);
  for (std::size_t c : components) {
    columns.push_back(c == 0 ? "HMD" : "VMD");
    columns.push_back("ERROR_BAR");
    columns.push_back("MASK");
  }
  writeColumns(out, columns);
  for (std::size_t i = 0; i < static_cast<std::size_t>(h.NDATA); ++i) {
    std::vector<std::string> values;
    for (std::size_t g = 0; g < 3; ++g)
      values.push_back(realText(g < d.TIME.cols() ? d.TIME(i, g) : 0.0f));
    for (std::size_t c : components) {
      const bool held = c < d.VOLTS.cols();
      values.push_back(realText(held ? d.VOLTS(i, c) : 0.0f));
      values.push_back(realText(held ? d.UVOLTS(i, c) : 0.0f));
      values.push_back(held ? maskText(d.LMASK(i, c)) : "0");
    }
    out.line(dataLine(i + 1, values));
  }
}

float perSet(const std::vector<float>& values, std::size_t k) {
  return k < values.size() ? values[k] : 0.0f;
}

void writeSweepValues(Lines& out, const core::SoundingData& d, std::size_t k) {
  out.real("COIL_SIZE", perSet(d.AREA, k));
  out.real("CURRENT", perSet(d.AMPS, k));
  out.integer("LOOP_TURNS", k < d.NTURNS.size() ? d.NTURNS[k] : 1);
  const float ramp = perSet(d.RAMP, k);
  out.keyword("RAMP_TIME", exactText(static_cast<double>(ramp) / usf::kRampFactor, ramp,
                                     [](double file) { return file * usf::kRampFactor; }));
  out.real("FREQUENCY", perSet(d.FREQ, k));
  out.real("TIME_DELAY", perSet(d.TSHIFT, k));
}

void writeTem(Lines& out, const core::Sounding& s) {
  const core::DataHeader& h = s.header;
  const core::SoundingData& d = s.data();
  const usf::VoltageUnit& unit = voltageUnitOf(h.temVoltageUnit);
  writeIdentification(out, h);
  out.reals("COIL_LOCATION", {h.coilX, h.coilY});
  out.reals("LOOP_SIZE", {h.loopSizeX, h.loopSizeY});
  writeSweepValues(out, d, 0);
  writePlaceAndName(out, h);
  const std::size_t sweeps =
      std::max<std::size_t>(1, static_cast<std::size_t>(std::max(h.NSETS, 0)));
  out.integer("SWEEPS", static_cast<long>(sweeps));
  out.keyword("VOLTAGE_UNITS", unit.fileText);
  out.line("/END");
  out.line(" ");
  writeColumns(out, {"INDEX", "TIME", "VOLTAGE", "MASK"});
  std::size_t sweep = 0;
  for (std::size_t i = 0; i < static_cast<std::size_t>(h.NDATA); ++i) {
    // A new sweep starts after the last point of the one before.
    while (sweep + 1 < sweeps && sweep < d.NSET.size() &&
           static_cast<std::int64_t>(i) >= d.NSET[sweep]) {
      ++sweep;
      out.line(" ");
      out.integer("SWEEP_NUMBER", static_cast<long>(sweep + 1));
      writeSweepValues(out, d, sweep);
      out.line("/END");
      out.line(" ");
    }
    const float delay = perSet(d.TSHIFT, sweep), time = d.TIME(i, 0), volts = d.VOLTS(i, 0);
    const std::string timeText = exactText(usf::fileTime(time, delay), time, [delay](double file) {
      return usf::storedTime(file, delay);
    });
    const std::string voltsText = exactText(static_cast<double>(volts) / unit.factor, volts,
                                            [&unit](double file) { return file * unit.factor; });
    out.line(dataLine(i + 1, {timeText, voltsText, maskText(d.LMASK(i, 0))}));
  }
}

}  // namespace

bool usfHoldsSounding(const core::Sounding& sounding) {
  return core::traitsOf(sounding.header.dataType).id != core::DataTypeId::Magnetotelluric;
}

bool writeUsf(std::ostream& out, const core::Sounding& sounding) {
  Lines lines(out);
  lines.line(kUsfIdentification);
  lines.line("//SOUNDINGS: 1");
  lines.line("//END");
  lines.line(" ");
  const core::DataTypeTraits& type = core::traitsOf(sounding.header.dataType);
  if (type.family == core::Family::MaxMin) {
    writeMaxMin(lines, sounding);
  } else if (type.family == core::Family::EmConductivity) {
    writeEmConductivity(lines, sounding);
  } else if (type.id == core::DataTypeId::Magnetotelluric) {
    return static_cast<bool>(out);
  } else if (type.loopTem) {
    writeTem(lines, sounding);
  } else {
    writeResistivity(lines, sounding);
  }
  lines.line("/END");
  lines.line(" ");
  return static_cast<bool>(out);
}

Result exportUsf(const std::filesystem::path& file, const core::Sounding& sounding) {
  Result written;
  const std::string name = file.string();
  const SaveResult saved =
      saveStream(file, [&](std::ostream& out) { return writeUsf(out, sounding); });
  if (!saved.saved()) {
    written.error(kUsfErrorTitle, "Error at line      0\r\n" +
                                      std::string(saved.status == SaveStatus::CannotCreate
                                                      ? "CANNOT OPEN FILE :"
                                                      : "ERROR WRITING FILE :") +
                                      name);
    return written;
  }
  if (!usfHoldsSounding(sounding))
    written.warning("Magnetotelluric data have no USF layout; only the file header was written");
  written.ok = true;
  return written;
}

}  // namespace zeva::files
