// Soundings into and out of Python: the default and example soundings,
// native files, the imports of USF, EDI and flat ASCII files, and soundings
// made from arrays as the data editor of File, New makes them.

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <fstream>
#include <map>

#include "cli/flat_ascii_importer.h"
#include "core/program/example_soundings.h"
#include "core/program/new_sounding.h"
#include "core/program/shown_messages.h"
#include "core/record/data_type.h"
#include "files/edi_reader.h"
#include "files/flat_ascii_import.h"
#include "files/sounding_import.h"
#include "files/usf_reader.h"
#include "python/command_run.h"
#include "python/module_parts.h"

namespace py = pybind11;

namespace zeva::python {

namespace {

using SessionPtr = std::unique_ptr<SoundingSession>;

SessionPtr defaultSounding() {
  auto s = std::make_unique<SoundingSession>();
  s->program.startUp();
  return s;
}

SessionPtr readSounding(const std::string& path) {
  auto s = std::make_unique<SoundingSession>();
  runCommand(*s, [&](core::Program& p) { return p.file().openFile(path); });
  return s;
}

SessionPtr exampleSounding(const std::string& type) {
  auto s = std::make_unique<SoundingSession>();
  runCommand(*s, [&](core::Program& p) -> core::CommandResult {
    if (!core::makeExampleSounding(core::DataTypeText(type), p.current())) {
      p.toolkit().information("No example sounding for data type: " + type);
      return core::CommandStatus::Refused;
    }
    p.state().detectSegments();
    return core::CommandStatus::Done;
  });
  return s;
}

SessionPtr importUsf(const std::string& path, int number) {
  auto s = std::make_unique<SoundingSession>();
  s->toolkit.fileToOpen = path;
  s->toolkit.number = number;
  runCommand(*s, [](core::Program& p) { return p.exchange().importUsfData(); });
  s->toolkit.number.reset();
  return s;
}

std::vector<SessionPtr> importUsfAll(const std::string& path) {
  auto counter = std::make_unique<SoundingSession>();
  int count = 0;
  runCommand(*counter, [&](core::Program& p) {
    std::ifstream in;
    return core::doneIf(core::shown(p.toolkit(), files::openUsfFile(path, in)) &&
                        core::shown(p.toolkit(), files::readUsfSoundingCount(in, count)));
  });
  std::vector<SessionPtr> soundings;
  for (int n = 1; n <= count; ++n) soundings.push_back(importUsf(path, n));
  return soundings;
}

SessionPtr importEdi(const std::string& path, const std::optional<std::string>& mode) {
  const files::EdiMode chosen =
      !mode            ? files::EdiMode::Auto
      : *mode == "xy"  ? files::EdiMode::Xy
      : *mode == "yx"  ? files::EdiMode::Yx
      : *mode == "det" ? files::EdiMode::Determinant
      : *mode == "ssq" ? files::EdiMode::SumOfSquares
                       : throw py::value_error("mode must be 'xy', 'yx', 'det' or 'ssq'");
  auto s = std::make_unique<SoundingSession>();
  s->toolkit.fileToOpen = path;
  s->toolkit.number = static_cast<double>(chosen);  // the answer to the curve question
  runCommand(*s, [](core::Program& p) { return p.exchange().importEdiData(); });
  s->toolkit.number.reset();
  return s;
}

// The columns of a flat ASCII import: the settings' defaults with the
// optional columns not in use (as zeva-cli import-dat), changed by `given`.
settings::ImportColumns importColumns(const py::dict& given) {
  settings::ImportColumns c;
  c.mn = c.current = c.rhoError = c.phaseError = c.space = c.height = 0;
  const std::map<std::string, int*> named{{"spacing", &c.spacing},
                                          {"resistivity", &c.resistivity},
                                          {"mn", &c.mn},
                                          {"current", &c.current},
                                          {"ip", &c.ipData},
                                          {"frequency", &c.frequency},
                                          {"inphase", &c.inPhase},
                                          {"quadrature", &c.quadrature},
                                          {"space", &c.space},
                                          {"height", &c.height},
                                          {"voltage", &c.voltage},
                                          {"phase", &c.modelResist},
                                          {"rho_error", &c.rhoError},
                                          {"phase_error", &c.phaseError},
                                          {"time", &c.time}};
  for (auto [key, value] : given) {
    const auto name = key.cast<std::string>();
    const auto found = named.find(name);
    if (found == named.end()) throw py::key_error("no column named '" + name + "'");
    *found->second = value.cast<int>();
  }
  return c;
}

SessionPtr importDat(const std::string& path, const std::string& type, const py::dict& columns,
                     std::optional<int> firstRow, std::optional<int> lastRow,
                     bool voltageAndCurrent, const std::string& ipUnit, const std::string& timeUnit,
                     const std::string& voltageUnit, std::optional<float> fixedSpacing,
                     std::optional<float> fixedHeight, std::optional<int> mode) {
  settings::ImportColumns c = importColumns(columns);
  const auto kind = cli::importerOf(core::DataTypeText(type), columns.contains("ip"));
  auto s = std::make_unique<SoundingSession>();
  core::ImportChoices choices;
  choices.dataType = type;
  choices.voltageAndCurrent = voltageAndCurrent;
  choices.ipUnit = ipUnit;
  choices.temVoltageUnit = voltageUnit;
  if (timeUnit != "us" && timeUnit != "ms" && timeUnit != "s")
    throw py::value_error("time_unit must be 'us', 'ms' or 's'");
  choices.timeUnit = timeUnit == "us"  ? files::TemTimeUnit::Microseconds
                     : timeUnit == "s" ? files::TemTimeUnit::Seconds
                                       : files::TemTimeUnit::Milliseconds;
  choices.fixedSpacing = fixedSpacing;
  choices.fixedHeight = fixedHeight;
  choices.mode = mode;
  c.firstRow = firstRow.value_or(0);
  c.lastRow = lastRow.value_or(0);
  s->program.settings().columns = c;
  // The row bounds given are used: the questions whether to use them are answered yes.
  s->toolkit.confirm = true;
  s->toolkit.fileToOpen = path;
  runCommand(*s, [&](core::Program& p) -> core::CommandResult {
    if (!kind) {
      p.toolkit().information("Unknown data type: " + type);
      return core::CommandStatus::Refused;
    }
    return p.exchange().importFlatAsciiData(*kind, choices);
  });
  s->toolkit.confirm.reset();
  return s;
}

// The kind of File, New that makes soundings of this type, with `ncomp` values per reading.
std::optional<core::NewSoundingKind> newKindOf(const core::DataTypeText& type, std::size_t ncomp) {
  using core::NewSoundingKind;
  switch (core::familyOf(type)) {
    case core::Family::DcResistivity:
      return ncomp > 1 ? NewSoundingKind::DcIp : NewSoundingKind::Dc;
    case core::Family::MaxMin:
      return NewSoundingKind::MaxMin;
    case core::Family::EmConductivity:
      return NewSoundingKind::EmConductivity;
    case core::Family::Magnetotelluric:
      return NewSoundingKind::Mt;
    case core::Family::TimeDomainEm:
      return NewSoundingKind::Tem;
    case core::Family::Unknown:
      break;
  }
  return std::nullopt;
}

using FloatArray = py::array_t<float, py::array::c_style | py::array::forcecast>;
using BoolArray = py::array_t<bool, py::array::c_style | py::array::forcecast>;

// A 1-D array as one column.
FloatArray asTable(FloatArray a, const char* what) {
  if (a.ndim() == 1) return FloatArray::ensure(a.reshape({a.shape(0), py::ssize_t{1}}));
  if (a.ndim() != 2) throw py::value_error(std::string(what) + " must be a 1-D or 2-D array");
  return a;
}

SessionPtr newSounding(const std::string& type, const FloatArray& geometryIn,
                       const FloatArray& valuesIn, const std::optional<FloatArray>& errorsIn,
                       const std::optional<BoolArray>& maskIn,
                       const std::optional<std::string>& name, const std::string& ipUnit,
                       const std::string& lengthUnit, int mode, float dipoleLength,
                       const core::TemAcquisition& tem) {
  const FloatArray geometry = asTable(geometryIn, "geometry");
  const FloatArray values = asTable(valuesIn, "values");
  const auto rows = values.shape(0);
  const auto ncomp = static_cast<std::size_t>(values.shape(1));
  const auto kind = newKindOf(core::DataTypeText(type), ncomp);
  if (!kind) throw CommandFailed("Unknown data type: " + type);
  core::NewSoundingChoices choices;
  choices.dataType = type;
  choices.ipUnit = ipUnit;
  choices.lengthUnit = lengthUnit;
  choices.mode = mode;
  choices.dipoleLength = dipoleLength;
  choices.tem = tem;
  core::DataHeader header = core::newSoundingHeader(*kind, choices);
  header.NDATA = static_cast<std::int32_t>(rows);
  header.dipoleLength = dipoleLength;
  const auto check = [&](bool fits, const std::string& what, py::ssize_t cols) {
    if (!fits)
      throw py::value_error(what + " must have " + std::to_string(rows) + " rows and " +
                            std::to_string(cols) + " columns for " + type);
  };
  check(static_cast<std::size_t>(header.NCOMP) == ncomp, "values", header.NCOMP);
  check(geometry.shape(0) == rows && geometry.shape(1) == header.NGEOM, "geometry", header.NGEOM);
  core::Sounding entered;
  if (!files::beginImportedData(entered, header))
    throw CommandFailed("CANNOT ALLOCATE ARRAYS FOR " + std::to_string(rows) + " READINGS");
  if (*kind == core::NewSoundingKind::Tem) core::setFirstSweep(entered, tem);
  core::SoundingData& d = entered.data();
  const auto g = geometry.unchecked<2>();
  const auto v = values.unchecked<2>();
  for (py::ssize_t i = 0; i < rows; ++i) {
    const auto r = static_cast<std::size_t>(i);
    for (py::ssize_t j = 0; j < header.NGEOM; ++j) d.TIME(r, static_cast<std::size_t>(j)) = g(i, j);
    for (py::ssize_t j = 0; j < header.NCOMP; ++j)
      d.VOLTS(r, static_cast<std::size_t>(j)) = v(i, j);
  }
  if (errorsIn) {
    const FloatArray errors = asTable(*errorsIn, "errors");
    check(errors.shape(0) == rows && errors.shape(1) == header.NCOMP, "errors", header.NCOMP);
    const auto e = errors.unchecked<2>();
    for (py::ssize_t i = 0; i < rows; ++i)
      for (py::ssize_t j = 0; j < header.NCOMP; ++j)
        d.UVOLTS(static_cast<std::size_t>(i), static_cast<std::size_t>(j)) = e(i, j);
  }
  if (maskIn) {
    BoolArray mask = *maskIn;
    if (mask.ndim() == 1) mask = BoolArray::ensure(mask.reshape({mask.shape(0), py::ssize_t{1}}));
    check(mask.ndim() == 2 && mask.shape(0) == rows && mask.shape(1) == header.NCOMP, "mask",
          header.NCOMP);
    const auto k = mask.unchecked<2>();
    for (py::ssize_t i = 0; i < rows; ++i)
      for (py::ssize_t j = 0; j < header.NCOMP; ++j)
        d.LMASK(static_cast<std::size_t>(i), static_cast<std::size_t>(j)) = core::logical(k(i, j));
  }
  auto s = std::make_unique<SoundingSession>();
  s->program.startUp();  // the default model, prepared for the new data as File, New does
  runCommand(*s, [&](core::Program& p) -> core::CommandResult {
    if (const core::CommandResult entry = p.data().newSounding(entered); !entry) return entry;
    if (name) {
      p.S().header.name.assign(*name);
      p.SM().header.name.assign(*name);
    }
    return core::CommandStatus::Done;
  });
  return s;
}

}  // namespace

void addFileFunctions(py::module_& m) {
  m.def("default_sounding", &defaultSounding,
        "The built-in default Schlumberger sounding (zeva-cli's 'default').");
  m.def("example_sounding", &exampleSounding, py::arg("data_type"),
        "A small example sounding of a data type, as zeva-cli new --type writes it.");
  m.def("read", &readSounding, py::arg("path"), "Read a native .ZVR file.");
  m.def(
      "write",
      [](SoundingSession& s, const std::string& path) {
        runCommand(s, [&](core::Program& p) { return p.file().saveFileAs(path); });
      },
      py::arg("sounding"), py::arg("path"), "Write a sounding as a native .ZVR file.");
  m.def("import_usf", &importUsf, py::arg("path"), py::arg("sounding") = 1,
        "Import one sounding (numbered from 1) of a Universal Sounding Format file.");
  m.def("import_usf_all", &importUsfAll, py::arg("path"),
        "Import every sounding of a USF file, as a list.");
  m.def("import_edi", &importEdi, py::arg("path"), py::arg("mode") = py::none(),
        "Import MT data from a SEG standard EDI file. mode: 'xy', 'yx', 'det' (determinant "
        "invariant) or 'ssq' (sum of squares); default xy, or yx when the file has no xy.");
  m.def("import_dat", &importDat, py::arg("path"), py::arg("data_type"),
        py::arg("columns") = py::dict(), py::arg("first_row") = py::none(),
        py::arg("last_row") = py::none(), py::arg("voltage_current") = false,
        py::arg("ip_unit") = "(pfe)", py::arg("time_unit") = "ms",
        py::arg("voltage_unit") = "(nV/A-m^2)", py::arg("fixed_spacing") = py::none(),
        py::arg("fixed_height") = py::none(), py::arg("mode") = py::none(),
        "Import a flat ASCII column file as zeva-cli import-dat does. columns maps names to "
        "1-based column numbers: spacing, resistivity, mn, current, ip (imports resistivity and "
        "IP), frequency, inphase, quadrature, space, height, voltage, phase, rho_error, "
        "phase_error, time; the optional ones (mn, current, errors, space, height) are not "
        "used unless given.");
  m.def(
      "new_sounding",
      [](const std::string& type, const FloatArray& geometry, const FloatArray& values,
         const std::optional<FloatArray>& errors, const std::optional<BoolArray>& mask,
         const std::optional<std::string>& name, const std::string& ipUnit,
         const std::string& lengthUnit, int mode, float dipoleLength, std::pair<float, float> loop,
         std::pair<float, float> receiver, float current, int turns, float receiverArea, float ramp,
         float baseFrequency) {
        core::TemAcquisition tem;
        tem.loopSizeX = loop.first;
        tem.loopSizeY = loop.second;
        tem.coilX = receiver.first;
        tem.coilY = receiver.second;
        tem.current = current;
        tem.turns = turns;
        tem.receiverArea = receiverArea;
        tem.ramp = ramp;
        tem.baseFrequency = baseFrequency;
        return newSounding(type, geometry, values, errors, mask, name, ipUnit, lengthUnit, mode,
                           dipoleLength, tem);
      },
      py::arg("data_type"), py::arg("geometry"), py::arg("values"), py::arg("errors") = py::none(),
      py::arg("mask") = py::none(), py::kw_only(), py::arg("name") = py::none(),
      py::arg("ip_unit") = "(pfe)", py::arg("length_unit") = "(meters)", py::arg("mode") = 1,
      py::arg("dipole_length") = 0.0f, py::arg("loop") = std::pair<float, float>{100.0f, 100.0f},
      py::arg("receiver") = std::pair<float, float>{0.0f, 0.0f}, py::arg("current") = 1.0f,
      py::arg("turns") = 1, py::arg("receiver_area") = 1.0f, py::arg("ramp") = 0.0f,
      py::arg("base_frequency") = 0.0f,
      "A sounding of any data type from arrays, as File, New with the data editor makes it: "
      "geometry (ndata x ngeom; Schlumberger AB/2 and MN, MaxMin and EM conductivity "
      "frequency, spacing and height, MT frequency, TEM time), values (ndata x ncomp; two "
      "columns for resistivity and IP), errors and mask. The layered model is the default "
      "one; TEM soundings take the loop, receiver offset and first sweep.");
}

}  // namespace zeva::python
