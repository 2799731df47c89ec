#include "files/edi_reader.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>
#include <map>
#include <numbers>
#include <optional>
#include <vector>

#include "core/text_input.h"
#include "files/flat_ascii_import.h"
#include "files/sounding_import.h"
#include "files/text_fields.h"

namespace zeva::files {

namespace {

constexpr std::size_t kLineLength = 1024;
// No survey has more frequencies than this; larger counts are damage.
constexpr std::size_t kMaxValues = 100000;
constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;

std::string upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::string unquoted(std::string_view value) {
  value = trimmed(value);
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
    value = value.substr(1, value.size() - 2);
  return std::string(trimmed(value));
}

struct EdiContent {
  std::map<std::string, std::string> head;            // keyword values of >HEAD and the sections
  std::map<std::string, std::vector<double>> blocks;  // data blocks by name
};

}  // namespace

int readEdi(std::istream& in, const std::string& name, core::Sounding& result,
            ui::Toolkit& toolkit) {
  EdiContent content;
  std::string line, block, section;
  bool sawHead = false;
  while (readBoundedLine(in, line, kLineLength)) {
    blankUnprintable(line);
    const std::string_view text = trimmed(line);
    if (text.empty()) continue;
    if (text.front() == '>') {
      // ">NAME options //count"; ">=NAME" opens a section; ">!...!" is a comment.
      std::string_view word = firstWordOf(text.substr(1));
      if (!word.empty() && word.front() == '!') continue;
      const bool isSection = !word.empty() && word.front() == '=';
      if (isSection) word.remove_prefix(1);
      const std::string key = upper(word);
      if (key == "END") break;
      if (key == "HEAD") sawHead = true;
      block.clear();
      section = key;
      if (!isSection && key != "HEAD" && key != "INFO" && !key.empty()) {
        block = key;
        content.blocks[block];  // present even when it holds no values
      }
      continue;
    }
    if (!sawHead) {
      toolkit.warning("FILE IS NOT AN EDI FILE: " + name);
      return -1;
    }
    if (!block.empty()) {
      std::vector<double>& values = content.blocks[block];
      for (std::string_view word : splitWords(text)) {
        const auto value = parseDouble(word);
        if (!value) {
          toolkit.warning("ERROR READING EDI VALUE IN BLOCK " + block + ": " + std::string(word));
          return -1;
        }
        if (values.size() >= kMaxValues) {
          toolkit.warning("EDI BLOCK " + block + " HAS TOO MANY VALUES: " + name);
          return -1;
        }
        values.push_back(*value);
      }
      continue;
    }
    if (section == "INFO") continue;
    const auto equals = text.find('=');
    if (equals != std::string_view::npos)
      content.head[upper(trimmed(text.substr(0, equals)))] = unquoted(text.substr(equals + 1));
  }
  if (!sawHead) {
    toolkit.warning("FILE IS NOT AN EDI FILE: " + name);
    return -1;
  }

  double empty = 1.0e32;
  if (auto it = content.head.find("EMPTY"); it != content.head.end())
    if (const auto value = parseDouble(firstWordOf(it->second))) empty = *value;
  auto isEmpty = [&](double v) {
    return !std::isfinite(v) || std::fabs(v) >= 0.999 * std::fabs(empty);
  };
  auto blockOf = [&](const std::string& key) -> const std::vector<double>* {
    const auto it = content.blocks.find(key);
    return it == content.blocks.end() ? nullptr : &it->second;
  };

  const std::vector<double>* frequencies = blockOf("FREQ");
  if (frequencies == nullptr || frequencies->empty()) {
    toolkit.warning("EDI FILE HAS NO FREQUENCIES: " + name);
    return -1;
  }
  const std::size_t n = frequencies->size();
  auto complete = [&](const std::string& key) {
    const auto* values = blockOf(key);
    return values != nullptr && values->size() == n;
  };
  auto sized = [&](const std::string& key) {
    const auto* values = blockOf(key);
    return values != nullptr && values->size() == n ? values : nullptr;
  };

  // The mode: xy when the file has it, else yx; impedances before the
  // resistivity and phase blocks, which some files carry instead.
  std::string mode;
  bool fromImpedance = false;
  for (const char* m : {"XY", "YX"}) {
    const std::string z = std::string("Z") + m;
    if (complete(z + "R") && complete(z + "I")) {
      mode = m, fromImpedance = true;
      break;
    }
    if (complete(std::string("RHO") + m) && complete(std::string("PHS") + m)) {
      mode = m;
      break;
    }
  }
  if (mode.empty()) {
    for (const auto& [key, values] : content.blocks)
      if ((key.starts_with("Z") || key.starts_with("RHO") || key.starts_with("PHS")) &&
          values.size() != n) {
        toolkit.warning("EDI BLOCK " + key + " DOES NOT HOLD ONE VALUE PER FREQUENCY: " + name);
        return -1;
      }
    toolkit.warning("EDI FILE HAS NO XY OR YX IMPEDANCE OR RESISTIVITY: " + name);
    return -1;
  }

  struct Point {
    float frequency, rho, phase, rhoError, phaseError;
  };
  std::vector<Point> points;
  for (std::size_t i = 0; i < n; ++i) {
    const double f = (*frequencies)[i];
    if (isEmpty(f) || f <= 0.0) continue;
    double rho = 0.0, phase = 0.0, rhoError = 0.0, phaseError = 0.0;
    if (fromImpedance) {
      const double re = (*blockOf("Z" + mode + "R"))[i], im = (*blockOf("Z" + mode + "I"))[i];
      if (isEmpty(re) || isEmpty(im)) continue;
      const double z2 = re * re + im * im;
      rho = 0.2 * z2 / f;
      // The yx impedance lies in the third quadrant; both curves are shown
      // in the first.
      phase = mode == "YX" ? std::atan2(-im, -re) : std::atan2(im, re);
      phase *= kDegreesPerRadian;
      if (const auto* variance = sized("Z" + mode + ".VAR");
          variance != nullptr && !isEmpty((*variance)[i]) && (*variance)[i] > 0.0 && z2 > 0.0) {
        const double relative = std::sqrt((*variance)[i] / z2);  // dZ / |Z|
        rhoError = 2.0 * relative * rho;
        phaseError = std::min(relative, 1.0) * kDegreesPerRadian;
      }
    } else {
      rho = (*blockOf("RHO" + mode))[i];
      phase = (*blockOf("PHS" + mode))[i];
      if (isEmpty(rho) || isEmpty(phase)) continue;
      if (mode == "YX" && phase < -90.0) phase += 180.0;
      if (const auto* e = sized("RHO" + mode + ".ERR"); e != nullptr && !isEmpty((*e)[i]))
        rhoError = (*e)[i];
      if (const auto* e = sized("PHS" + mode + ".ERR"); e != nullptr && !isEmpty((*e)[i]))
        phaseError = (*e)[i];
    }
    if (!std::isfinite(rho) || std::fabs(rho) > 3.0e38) continue;
    points.push_back({static_cast<float>(f), static_cast<float>(rho), static_cast<float>(phase),
                      static_cast<float>(rhoError), static_cast<float>(phaseError)});
  }
  if (points.empty()) {
    toolkit.warning("EDI FILE HAS NO XY OR YX IMPEDANCE OR RESISTIVITY: " + name);
    return -1;
  }

  core::DataHeader header = importedDataHeader(core::DataTypeText("Magnetotelluric Data"));
  const auto dataId = content.head.find("DATAID");
  header.name.assign(dataId != content.head.end() && !dataId->second.empty() ? dataId->second
                                                                             : name);
  header.description.assign("EDI " + mode);
  if (auto it = content.head.find("ELEV"); it != content.head.end())
    if (const auto value = parseReal(firstWordOf(it->second))) header.elevation = *value;
  header.NDATA = static_cast<std::int32_t>(points.size());
  header.NCOMP = 2;
  header.NGEOM = 1;
  if (!beginImportedData(result, header)) {
    toolkit.warning("CANNOT ALLOCATE ARRAY IN EDI READER");
    return -1;
  }
  core::SoundingData& d = result.data();
  for (std::size_t i = 0; i < points.size(); ++i) {
    d.TIME(i, 0) = points[i].frequency;
    d.VOLTS(i, 0) = points[i].rho;
    d.VOLTS(i, 1) = points[i].phase;
    d.UVOLTS(i, 0) = points[i].rhoError;
    d.UVOLTS(i, 1) = points[i].phaseError;
  }
  return 0;
}

int readEdiFile(const std::filesystem::path& file, core::Sounding& result, ui::Toolkit& toolkit) {
  const std::string name = file.string();
  std::error_code error;
  if (!core::regularFileOrMessage(file, toolkit)) return -1;
  if (std::filesystem::file_size(file, error) < 1 || error) {
    toolkit.warning("FILE HAS NO LENGTH:" + name);
    return -1;
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    toolkit.warning("CANNOT OPEN FILE: " + name);
    return -1;
  }
  return readEdi(in, soundingNameOf(file), result, toolkit);
}

}  // namespace zeva::files
