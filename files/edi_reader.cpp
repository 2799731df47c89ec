#include "files/edi_reader.h"

#include <cfloat>
#include <cmath>
#include <fstream>
#include <optional>
#include <vector>

#include "files/edi_cross_powers.h"
#include "files/flat_ascii_import.h"
#include "files/mt_impedance.h"
#include "files/sounding_import.h"
#include "files/text_fields.h"
#include "files/text_input.h"

namespace zeva::files {

namespace {

constexpr std::array<const char*, 4> kElements{"XX", "XY", "YX", "YY"};

MtMode mtMode(EdiMode mode) {
  switch (mode) {
    case EdiMode::Yx:
      return MtMode::Yx;
    case EdiMode::Determinant:
      return MtMode::Determinant;
    case EdiMode::SumOfSquares:
      return MtMode::SumOfSquares;
    case EdiMode::Auto:
    case EdiMode::Xy:
      break;
  }
  return MtMode::Xy;
}

const char* modeLabel(MtMode mode) {
  switch (mode) {
    case MtMode::Xy:
      return "XY";
    case MtMode::Yx:
      return "YX";
    case MtMode::Determinant:
      return "DET";
    case MtMode::SumOfSquares:
      return "SSQ";
  }
  return "";
}

struct Point {
  float frequency, rho, phase, rhoError, phaseError;
};

// What the frequencies of a file give: the points, and how many frequencies
// were left out for a missing value; or the message that refuses the file.
struct Curve {
  MtMode mode = MtMode::Xy;
  std::vector<Point> points;
  int leftOut = 0;
  std::optional<std::string> refusal;
};

class EdiImport {
 public:
  EdiImport(const EdiDocument& document, const std::string& fileName)
      : document_(document), fileName_(fileName) {
    if (const auto it = document.head.find("EMPTY"); it != document.head.end())
      if (const auto value = parseDouble(firstWordOf(it->second))) empty_ = *value;
  }

  Curve read(EdiMode mode) {
    const EdiBlock* frequencies = document_.block("FREQ");
    const bool spectra = document_.block("SPECTRA") != nullptr;
    if (frequencies == nullptr || frequencies->values.empty()) {
      if (spectra) return fromSpectra(mode);
      return refused("EDI FILE HAS NO FREQUENCIES: " + fileName_);
    }
    if (auto bad = badWordIn(*frequencies)) return refused(*bad);
    n_ = frequencies->values.size();
    // The mode: for Auto xy when the file has it, else yx; impedances before
    // the resistivity and phase blocks, which some files carry instead.
    std::optional<std::pair<MtMode, bool>> source;  // mode, from impedances
    if (mode == EdiMode::Determinant || mode == EdiMode::SumOfSquares) {
      if (fullTensor()) source.emplace(mtMode(mode), true);
    } else {
      for (MtMode m : {MtMode::Xy, MtMode::Yx}) {
        if (mode != EdiMode::Auto && m != mtMode(mode)) continue;
        const std::string e = m == MtMode::Xy ? "XY" : "YX";
        if (complete("Z" + e + "R") && complete("Z" + e + "I"))
          source.emplace(m, true);
        else if (complete("RHO" + e) && complete("PHS" + e))
          source.emplace(m, false);
        if (source) break;
      }
    }
    if (!source) {
      if (spectra) return fromSpectra(mode);
      for (const EdiBlock& b : document_.blocks)
        if ((b.name.starts_with("Z") || b.name.starts_with("RHO") || b.name.starts_with("PHS")) &&
            b.section != "SPECTRASECT" && b.values.size() != n_)
          return refused("EDI BLOCK " + b.name +
                         " DOES NOT HOLD ONE VALUE PER FREQUENCY: " + fileName_);
      return refused(noModeMessage(mode));
    }
    return fromMtSection(*frequencies, source->first, source->second);
  }

  std::string noModeMessage(EdiMode mode) const {
    switch (mode) {
      case EdiMode::Auto:
        break;
      case EdiMode::Xy:
      case EdiMode::Yx:
        return std::string("EDI FILE HAS NO ") + modeLabel(mtMode(mode)) +
               " IMPEDANCE OR RESISTIVITY: " + fileName_;
      case EdiMode::Determinant:
      case EdiMode::SumOfSquares:
        return "EDI FILE HAS NO FULL IMPEDANCE TENSOR: " + fileName_;
    }
    return "EDI FILE HAS NO XY OR YX IMPEDANCE OR RESISTIVITY: " + fileName_;
  }

 private:
  static Curve refused(std::string message) {
    Curve c;
    c.refusal = std::move(message);
    return c;
  }

  // A block of the impedance section (not of the spectra).
  const EdiBlock* block(const std::string& name) const {
    for (const EdiBlock& b : document_.blocks)
      if (b.name == name && b.section != "SPECTRASECT") return &b;
    return nullptr;
  }
  bool complete(const std::string& name) const {
    const EdiBlock* b = block(name);
    return b != nullptr && b->values.size() == n_;
  }
  bool fullTensor() const {
    for (const char* e : kElements)
      if (!complete(std::string("Z") + e + "R") || !complete(std::string("Z") + e + "I"))
        return false;
    return true;
  }
  std::optional<std::string> badWordIn(const EdiBlock& b) const {
    if (!b.badWord) return std::nullopt;
    return "ERROR READING EDI VALUE IN BLOCK " + b.name + " AT LINE " +
           std::to_string(b.badWord->first) + ": " + b.badWord->second;
  }
  bool missing(double value) const { return ediMissing(value, empty_); }

  // An error value of an optional block: empty when the block is absent or
  // short, or the value missing or negative (no error bar).
  std::optional<double> errorValue(const std::string& name, std::size_t i) const {
    const EdiBlock* b = block(name);
    if (b == nullptr || b->values.size() != n_ || b->badWord) return std::nullopt;
    const double v = b->values[i];
    if (missing(v) || v < 0.0) return std::nullopt;
    if (v > static_cast<double>(FLT_MAX) && !problem_)
      problem_ =
          "EDI VALUE OUT OF RANGE AT LINE " + std::to_string(b->valueLines[i]) + ": " + fileName_;
    return v;
  }

  // The frequency refused when it is not a positive single-precision number.
  std::optional<std::string> frequencyProblem(double hertz, int line) const {
    const std::string where = " AT LINE " + std::to_string(line) + ": " + fileName_;
    if (hertz <= 0.0) return "EDI FREQUENCY NOT POSITIVE" + where;
    if (hertz < static_cast<double>(FLT_MIN) || hertz > static_cast<double>(FLT_MAX))
      return "EDI FREQUENCY OUT OF RANGE" + where;
    return std::nullopt;
  }

  // Adds a point when each value fits the single-precision record.
  std::optional<std::string> add(Curve& curve, double hertz, const ApparentResistivity& a,
                                 int line) const {
    const auto fits = [](double v) {
      return std::isfinite(v) && std::fabs(v) <= static_cast<double>(FLT_MAX);
    };
    if (!fits(a.rho) || a.rho < static_cast<double>(FLT_MIN) || !fits(a.phase) ||
        !fits(a.rhoError) || !fits(a.phaseError))
      return "EDI VALUE OUT OF RANGE AT LINE " + std::to_string(line) + ": " + fileName_;
    curve.points.push_back({static_cast<float>(hertz), static_cast<float>(a.rho),
                            static_cast<float>(a.phase), static_cast<float>(a.rhoError),
                            static_cast<float>(a.phaseError)});
    return std::nullopt;
  }

  Curve fromMtSection(const EdiBlock& frequencies, MtMode mode, bool fromImpedance) {
    Curve curve;
    curve.mode = mode;
    // Elements the curve needs: one for xy and yx, all four for the invariants.
    std::vector<int> needed;
    for (int k = 0; k < 4; ++k)
      if ((mode == MtMode::Xy && k == 1) || (mode == MtMode::Yx && k == 2) ||
          mode == MtMode::Determinant || mode == MtMode::SumOfSquares)
        needed.push_back(k);
    const std::string e = modeLabel(mode);
    std::vector<const EdiBlock*> used;
    if (fromImpedance) {
      for (int k : needed)
        for (const char* part : {"R", "I"})
          used.push_back(block(std::string("Z") + kElements[static_cast<std::size_t>(k)] + part));
    } else {
      used = {block("RHO" + e), block("PHS" + e)};
    }
    for (const EdiBlock* b : used)
      if (auto bad = badWordIn(*b)) return refused(*bad);

    for (std::size_t i = 0; i < n_; ++i) {
      const double hertz = frequencies.values[i];
      bool gap = missing(hertz);
      for (const EdiBlock* b : used) gap = gap || missing(b->values[i]);
      if (gap) {
        ++curve.leftOut;
        continue;
      }
      if (auto problem = frequencyProblem(hertz, frequencies.valueLines[i]))
        return refused(*problem);
      const int line = used.front()->valueLines[i];
      ApparentResistivity a;
      if (fromImpedance) {
        ImpedanceTensor t;
        for (std::size_t u = 0; u < needed.size(); ++u) {
          const auto k = static_cast<std::size_t>(needed[u]);
          t.Z[k] = {used[2 * u]->values[i], used[2 * u + 1]->values[i]};
          t.variance[k] = errorValue(std::string("Z") + kElements[k] + ".VAR", i);
        }
        const ModeImpedance z = modeImpedance(t, mode);
        if (std::norm(z.Z) == 0.0) {
          ++curve.leftOut;
          continue;
        }
        a = apparentResistivity(z, hertz, mode);
      } else {
        a.rho = used[0]->values[i];
        a.phase = used[1]->values[i];
        if (a.rho <= 0.0) {
          ++curve.leftOut;
          continue;
        }
        if (a.phase < -180.0 || a.phase > 180.0)
          return refused("EDI PHASE OUTSIDE -180 TO 180 AT LINE " +
                         std::to_string(used[1]->valueLines[i]) + ": " + fileName_);
        if (mode == MtMode::Yx && a.phase < -90.0) a.phase += 180.0;
        a.rhoError = errorValue("RHO" + e + ".ERR", i).value_or(0.0);
        a.phaseError = errorValue("PHS" + e + ".ERR", i).value_or(0.0);
      }
      if (problem_) return refused(*problem_);
      if (auto problem = add(curve, hertz, a, line)) return refused(*problem);
    }
    return curve;
  }

  Curve fromSpectra(EdiMode requested) {
    std::vector<SpectraFrequency> frequencies;
    if (auto problem = spectraImpedances(document_, fileName_, empty_, frequencies))
      return refused(*problem);
    Curve curve;
    curve.mode = mtMode(requested);
    for (const SpectraFrequency& f : frequencies) {
      if (missing(f.hertz) || !f.tensor) {
        ++curve.leftOut;
        continue;
      }
      if (auto problem = frequencyProblem(f.hertz, f.line)) return refused(*problem);
      const ModeImpedance z = modeImpedance(*f.tensor, curve.mode);
      if (std::norm(z.Z) == 0.0) {
        ++curve.leftOut;
        continue;
      }
      if (auto problem = add(curve, f.hertz, apparentResistivity(z, f.hertz, curve.mode), f.line))
        return refused(*problem);
    }
    return curve;
  }

  const EdiDocument& document_;
  const std::string& fileName_;
  double empty_ = 1.0e32;
  std::size_t n_ = 0;
  // An error value that no record can hold, met while reading a frequency.
  mutable std::optional<std::string> problem_;
};

// The station: DATAID of the head, else the SECTID of the data section.
std::string stationName(const EdiDocument& document) {
  if (const auto it = document.head.find("DATAID"); it != document.head.end())
    if (!trimmed(it->second).empty()) return std::string(trimmed(it->second));
  for (const char* name : {"MTSECT", "SPECTRASECT"})
    if (const EdiSection* s = document.sectionNamed(name))
      if (const auto it = s->keywords.find("SECTID"); it != s->keywords.end())
        if (!trimmed(it->second).empty()) return std::string(trimmed(it->second));
  return {};
}

// A coordinate of the head, else of the measurement definitions.
std::optional<float> coordinate(const EdiDocument& document,
                                std::initializer_list<const char*> keys,
                                std::initializer_list<const char*> referenceKeys) {
  const auto valueOf = [](const EdiKeywords& keywords, const char* key) -> std::optional<float> {
    const auto it = keywords.find(key);
    if (it == keywords.end()) return std::nullopt;
    const auto value = ediCoordinate(it->second);
    if (!value || std::fabs(*value) > 1.0e30) return std::nullopt;
    return static_cast<float>(*value);
  };
  for (const char* key : keys)
    if (const auto v = valueOf(document.head, key)) return v;
  if (const EdiSection* s = document.sectionNamed("DEFINEMEAS"))
    for (const char* key : referenceKeys)
      if (const auto v = valueOf(s->keywords, key)) return v;
  return std::nullopt;
}

}  // namespace

Result readEdi(std::istream& in, const std::string& fileName, core::Sounding& result,
               EdiMode mode) {
  EdiDocument document;
  if (const auto problem = parseEdi(in, fileName, document)) return failedWith(*problem);
  EdiImport import(document, fileName);
  const Curve curve = import.read(mode);
  if (curve.refusal) return failedWith(*curve.refusal);
  if (curve.points.empty()) return failedWith(import.noModeMessage(mode));
  Result read;
  if (curve.leftOut > 0)
    read.warning(std::to_string(curve.leftOut) +
                 (curve.leftOut == 1 ? " FREQUENCY" : " FREQUENCIES") +
                 " WITH MISSING VALUES LEFT OUT OF EDI FILE: " + fileName);

  core::DataHeader header = importedDataHeader(core::DataTypeText("Magnetotelluric Data"));
  const std::string station = stationName(document);
  header.name.assign(station.empty() ? soundingNameOf(fileName) : station);
  header.description.assign(std::string("EDI ") + modeLabel(curve.mode));
  if (const auto v = coordinate(document, {"LONG", "LON"}, {"REFLONG", "REFLON"})) header.east = *v;
  if (const auto v = coordinate(document, {"LAT"}, {"REFLAT"})) header.north = *v;
  if (const auto v = coordinate(document, {"ELEV"}, {"REFELEV"})) header.elevation = *v;
  header.NDATA = static_cast<std::int32_t>(curve.points.size());
  header.NCOMP = 2;
  header.NGEOM = 1;
  if (!beginImportedData(result, header)) {
    read.warning("CANNOT ALLOCATE ARRAY IN EDI READER");
    return read;
  }
  core::SoundingData& d = result.data();
  for (std::size_t i = 0; i < curve.points.size(); ++i) {
    const Point& p = curve.points[i];
    d.TIME(i, 0) = p.frequency;
    d.VOLTS(i, 0) = p.rho;
    d.VOLTS(i, 1) = p.phase;
    d.UVOLTS(i, 0) = p.rhoError;
    d.UVOLTS(i, 1) = p.phaseError;
  }
  read.ok = true;
  return read;
}

Result readEdiFile(const std::filesystem::path& file, core::Sounding& result, EdiMode mode) {
  const std::string name = file.string();
  std::error_code error;
  if (Result regular = checkRegularFile(file); !regular.ok) return regular;
  if (std::filesystem::file_size(file, error) < 1 || error)
    return failedWith("FILE HAS NO LENGTH:" + name);
  std::ifstream in(file, std::ios::binary);
  if (!in) return failedWith("CANNOT OPEN FILE: " + name);
  return readEdi(in, name, result, mode);
}

}  // namespace zeva::files
