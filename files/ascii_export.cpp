#include "files/ascii_export.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/record/data_type.h"
#include "files/save_file.h"
#include "files/text_fields.h"

namespace zeva::files {

namespace {

const std::string kIndent(8, ' ');

std::string datasetLine(const core::Sounding& s, int set = 0) {
  const core::DataHeader& h = s.header;
  std::string line = kIndent + "DATASET: " + std::string(h.name.padded());
  if (set > 0) line += " SET:" + integerField(set, 5);
  line += " NORTH: " + fixedField(h.north, 12, 2) + " EAST: " + fixedField(h.east, 12, 2) +
          " ELEVATION: " + fixedField(h.elevation, 12, 2);
  return line;
}

std::string valueLine(std::size_t point, const std::vector<float>& values) {
  std::string line = kIndent + integerField(static_cast<long>(point), 5);
  for (float v : values) line += fixedField(v, 13, 6) + " ";
  return line;
}

// The column header and the values of each point of a data or synthetics file.
struct DataColumns {
  std::string header;
  std::vector<std::vector<float>> rows;
};

DataColumns dataColumns(const core::Sounding& s, bool synthetic, const SyntheticNoise* noise);

// The column header of a sounding without points: that of a one-point copy.
std::string headerOfEmpty(const core::Sounding& s, bool synthetic) {
  core::Sounding one;
  one.header = s.header;
  one.header.NDATA = 1;
  if (!one.allocateData()) return {};
  return dataColumns(one, synthetic, nullptr).header;
}

DataColumns dataColumns(const core::Sounding& s, bool synthetic, const SyntheticNoise* noise) {
  const core::DataHeader& h = s.header;
  const core::SoundingData& d = s.data();
  const auto ndata = static_cast<std::size_t>(std::max(h.NDATA, 0));
  auto time = [&](std::size_t i, std::size_t g) { return g < d.TIME.cols() ? d.TIME(i, g) : 0.0f; };
  auto value = [&](std::size_t i, std::size_t c) {
    const core::Matrix<float>& source = synthetic ? s.SVOLT : d.VOLTS;
    return c < source.cols() && i < source.rows() ? source(i, c) : 0.0f;
  };
  const core::Family family = core::familyOf(h.dataType);
  DataColumns out;
  for (std::size_t i = 0; i < ndata; ++i) {
    float f1 = 1.0f, f2 = 1.0f;
    if (noise != nullptr) {
      f1 = 1.0f + noise->percent / 100.0f * noise->deviate.next();
      f2 = 1.0f + noise->percent / 100.0f * noise->deviate.next();
    }
    const float v1 = value(i, 0) * f1;
    const float v2 = value(i, 1) * f2;
    std::vector<float> row;
    switch (family) {
      case core::Family::MaxMin:
        out.header = "NUMBER      SPACING    FREQUENCY       HEIGHT     IN-PHASE   QUADRATURE";
        row = {time(i, 1), time(i, 0), time(i, 2), v1, v2};
        break;
      case core::Family::EmConductivity:
        out.header = "NUMBER    FREQUENCY      SPACING       HEIGHT          HMD          VMD";
        row = {time(i, 0), time(i, 1), time(i, 2), v1, v2};
        break;
      case core::Family::Magnetotelluric: {
        const bool errors = !synthetic && std::ranges::any_of(d.UVOLTS.elements(),
                                                              [](float e) { return e != 0.0f; });
        out.header = errors
                         ? "NUMBER    FREQUENCY  RESISTIVITY        PHASE    RES ERROR  PHASE ERROR"
                         : "NUMBER    FREQUENCY  RESISTIVITY        PHASE ";
        row = {time(i, 0), v1, v2};
        if (errors)
          for (std::size_t c = 0; c < 2; ++c)
            row.push_back(c < d.UVOLTS.cols() ? d.UVOLTS(i, c) : 0.0f);
        break;
      }
      case core::Family::TimeDomainEm:
        out.header = "NUMBER         TIME      VOLTAGE";
        row = {time(i, 0), v1};
        break;
      default: {
        const bool mn = core::traitsOf(h.dataType).potentialSpacing && h.NGEOM > 1;
        const bool ip = h.NCOMP > 1;
        // Measured voltage and current belong to the data, not to synthetics.
        const bool vc = core::isSet(h.voltageAndCurrent) && !synthetic;
        out.header = mn ? "NUMBER         AB/2           MN  RESISTIVITY"
                        : "NUMBER      SPACING  RESISTIVITY";
        row = {time(i, 0)};
        if (mn) row.push_back(time(i, 1));
        row.push_back(v1);
        if (vc) {
          out.header += "      VOLTAGE      CURRENT";
          const auto ncomp = static_cast<std::size_t>(h.NCOMP);
          row.push_back(value(i, ncomp));
          row.push_back(value(i, ncomp + 1));
        }
        if (ip) {
          out.header += "     IP VALUE";
          row.push_back(v2);
        }
      }
    }
    out.rows.push_back(std::move(row));
  }
  if (ndata == 0) out.header = headerOfEmpty(s, synthetic);
  return out;
}

// Thicknesses of the layers above the half-space, from thicknesses or depths.
std::vector<float> thicknesses(const core::Sounding& s, const std::vector<float>& par) {
  const int nlayer = s.model.NLAYER, npk = std::max(s.model.NPK, 1);
  std::vector<float> h;
  float above = 0.0f;
  for (int j = 0; j + 1 < nlayer; ++j) {
    const auto k = static_cast<std::size_t>(nlayer * npk + j);
    const float stored = k < par.size() ? par[k] : 0.0f;
    if (core::isSet(s.model.depths)) {
      h.push_back(stored - above);
      above = stored;
    } else {
      h.push_back(stored);
    }
  }
  return h;
}

void writeModelLines(std::ostream& out, const core::Sounding& s, const std::vector<float>& par,
                     int conductanceDecimals) {
  const bool conductivity = core::traitsOf(s.header.dataType).conductivityModel;
  const int nlayer = s.model.NLAYER, npk = std::max(s.model.NPK, 1);
  const bool ip = npk >= 2;
  const bool feet = s.header.lengthUnit == "(feet)";
  const bool ohmFeet = s.header.resistivityUnit == "(Ohm-feet)";
  const std::vector<float> h = thicknesses(s, par);
  auto at = [&](int k) {
    return k >= 0 && static_cast<std::size_t>(k) < par.size() ? par[static_cast<std::size_t>(k)]
                                                              : 0.0f;
  };
  float depth = 0.0f;
  for (int j = 0; j < nlayer; ++j) {
    const float parameter = at(j);
    std::string line = kIndent + integerField(j + 1, 5) + fixedField(parameter, 13, 1);
    if (ip) line += fixedField(at(nlayer + j), 13, 1);
    if (j + 1 < nlayer) {
      const float thickness = h[static_cast<std::size_t>(j)];
      depth += thickness;
      const float rho = conductivity ? (parameter != 0.0f ? 1000.0f / parameter : 0.0f) : parameter;
      float conductance = rho != 0.0f ? thickness / rho : 0.0f;
      float resistance = thickness * rho;
      if (feet) {
        conductance *= 0.3048f, resistance *= 0.3048f;
        if (ohmFeet) resistance *= 0.3048f, conductance /= 0.3048f;
      }
      line += fixedField(thickness, 13, 1) + fixedField(depth, 13, 1) +
              fixedField(s.header.elevation - depth, 13, 1) +
              fixedField(conductance, 13, conductanceDecimals) + fixedField(resistance, 13, 1);
    }
    out << line << '\n';
  }
}

std::string modelHeader(const core::Sounding& s) {
  if (core::traitsOf(s.header.dataType).conductivityModel)
    return kIndent +
           "LAYER CONDUCTIVITY    THICKNESS        DEPTH    ELEVATION   LONG. COND.  T. RESIST.";
  if (s.model.NPK >= 2)
    return kIndent + "LAYER  RESISTIVITY   " + std::string(s.header.ipUnit.padded()) +
           "    THICKNESS        DEPTH    ELEVATION   LONG. COND.  T. RESIST.";
  return kIndent +
         "LAYER  RESISTIVITY    THICKNESS        DEPTH    ELEVATION   LONG. COND.  T. RESIST.";
}

}  // namespace

bool writeAsciiData(std::ostream& out, const core::Sounding& s, bool synthetic,
                    const SyntheticNoise* noise) {
  const DataColumns columns = dataColumns(s, synthetic, noise);
  out << datasetLine(s) << '\n';
  if (core::traitsOf(s.header.dataType).separationFactor())
    out << kIndent << "DIPOLE LENGTH: " << fixedField(s.header.dipoleLength, 8, 1) << '\n';
  out << std::string(7, ' ') << columns.header << '\n';
  for (std::size_t i = 0; i < columns.rows.size() && out; ++i)
    out << valueLine(i + 1, columns.rows[i]) << '\n';
  return static_cast<bool>(out);
}

bool writeAsciiModel(std::ostream& out, const core::Sounding& s) {
  out << datasetLine(s) << '\n' << modelHeader(s) << '\n';
  writeModelLines(out, s, s.M.PAR, 1);
  return static_cast<bool>(out);
}

bool writeEquivalentModels(std::ostream& out, const core::Sounding& s) {
  const std::size_t sets = s.EQUIVA.rows();
  for (std::size_t row = 0; row < sets && out; ++row) {
    std::vector<float> par(s.EQUIVA.cols());
    for (std::size_t k = 0; k < par.size(); ++k) par[k] = s.EQUIVA(row, k);
    out << datasetLine(s, static_cast<int>(row + 1)) << '\n' << modelHeader(s) << '\n';
    writeModelLines(out, s, par, 3);
  }
  return static_cast<bool>(out);
}

AsciiExportFile asciiExportFile(AsciiExportKind kind, const core::Sounding& s) {
  const bool model = kind == AsciiExportKind::Model || kind == AsciiExportKind::EquivalentModels;
  if (!model)
    return {"Flat ASCII Resistivity Data File", "Flat ASCII Resistivity Data File|*.DAT|"};
  if (core::traitsOf(s.header.dataType).conductivityModel)
    return {"Flat ASCII Conductivity Model File", "Flat ASCII Conductivity Model File|*.MDL|"};
  return {"Flat ASCII Resistivity Model File", "Flat ASCII Resistivity Model File|*.MDL|"};
}

Result exportAscii(const std::filesystem::path& file, AsciiExportKind kind, const core::Sounding& s,
                   const SyntheticNoise* noise) {
  const SaveResult saved = saveStream(file, [&](std::ostream& out) {
    switch (kind) {
      case AsciiExportKind::Data:
        return writeAsciiData(out, s, false);
      case AsciiExportKind::Synthetics:
        return writeAsciiData(out, s, true, noise);
      case AsciiExportKind::Model:
        return writeAsciiModel(out, s);
      case AsciiExportKind::EquivalentModels:
        return writeEquivalentModels(out, s);
    }
    return false;
  });
  if (saved.status == SaveStatus::CannotCreate)
    return failedWith("CANNOT OPEN FILE: " + file.string());
  if (!saved.saved()) return failedWith("ERROR WRITING FILE: " + file.string());
  return succeeded();
}

}  // namespace zeva::files
