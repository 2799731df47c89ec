#include "files/edi_cross_powers.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

#include "files/text_fields.h"

namespace zeva::files {

namespace {

enum Channel { HX, HY, EX, EY, kChannels };
constexpr std::array<const char*, kChannels> kChannelNames{"HX", "HY", "EX", "EY"};

// Measurement IDs are numbers such as 1004.001; "1004.0010" names the same.
bool sameId(std::string_view a, std::string_view b) {
  const auto x = parseDouble(a), y = parseDouble(b);
  if (x && y) return *x == *y;
  return trimmed(a) == trimmed(b);
}

std::optional<double> numberOption(const EdiBlock& block, const char* key) {
  const auto it = block.options.find(key);
  if (it == block.options.end()) return std::nullopt;
  return parseDouble(it->second);
}

// Position of each of HX, HY, EX, EY in the channel list; -1 when absent.
std::array<int, kChannels> channelPositions(const EdiDocument& document, const EdiSection& section,
                                            std::vector<std::string>& ids) {
  // The channel type of each measurement ID: from the measurement blocks,
  // then from the section's own HX=... keywords.
  std::vector<std::pair<std::string, std::string>> types;  // id, type
  std::vector<std::string> measured;
  for (const EdiBlock& b : document.blocks) {
    if (b.name != "HMEAS" && b.name != "EMEAS") continue;
    const auto id = b.options.find("ID");
    const auto type = b.options.find("CHTYPE");
    if (id == b.options.end()) continue;
    measured.push_back(id->second);
    if (type != b.options.end()) {
      std::string t = type->second;
      for (char& c : t) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      types.emplace_back(id->second, t);
    }
  }
  for (const char* name : kChannelNames)
    if (const auto it = section.keywords.find(name); it != section.keywords.end())
      types.insert(types.begin(), {it->second, name});
  ids = section.list.empty() ? measured : section.list;
  std::array<int, kChannels> position{-1, -1, -1, -1};
  for (int c = 0; c < kChannels; ++c)
    for (const auto& [id, type] : types) {
      if (type != kChannelNames[static_cast<std::size_t>(c)]) continue;
      for (std::size_t k = 0; k < ids.size() && position[static_cast<std::size_t>(c)] < 0; ++k)
        if (sameId(ids[k], id)) position[static_cast<std::size_t>(c)] = static_cast<int>(k);
      if (position[static_cast<std::size_t>(c)] >= 0) break;
    }
  return position;
}

// The impedance of one >SPECTRA block; empty for a missing value or
// magnetic powers that cannot be inverted.
std::optional<ImpedanceTensor> blockImpedance(const EdiBlock& block, std::size_t nchan,
                                              const std::array<int, kChannels>& at, double empty) {
  const auto m = [&](int row, int column) {
    return block.values[static_cast<std::size_t>(row) * nchan + static_cast<std::size_t>(column)];
  };
  for (int a : at)
    for (int b : at)
      if (ediMissing(m(a, b), empty)) return std::nullopt;
  // <X_k X_l*> of channels k and l.
  const auto cross = [&](int k, int l) -> Complex {
    if (k == l) return {m(k, k), 0.0};
    if (k < l) return {m(l, k), m(k, l)};
    return {m(k, l), -m(l, k)};
  };
  const Complex hxhx = cross(at[HX], at[HX]), hxhy = cross(at[HX], at[HY]);
  const Complex hyhx = cross(at[HY], at[HX]), hyhy = cross(at[HY], at[HY]);
  const Complex det = hxhx * hyhy - hxhy * hyhx;
  if (!(std::abs(det) > 1.0e-12 * std::abs(hxhx * hyhy)) || !std::isfinite(std::abs(det)))
    return std::nullopt;
  const std::array<std::array<Complex, 2>, 2> inverse{
      {{hyhy / det, -hxhy / det}, {-hyhx / det, hxhx / det}}};
  const std::array<int, 2> h{at[HX], at[HY]}, e{at[EX], at[EY]};
  ImpedanceTensor t;
  std::array<double, 2> unexplained{};
  for (int i = 0; i < 2; ++i) {
    for (int j = 0; j < 2; ++j) {
      Complex z = 0.0;
      for (int k = 0; k < 2; ++k) z += cross(e[i], h[k]) * inverse[k][j];
      t.Z[static_cast<std::size_t>(2 * i + j)] = z;
    }
    Complex r = cross(e[i], e[i]);
    for (int k = 0; k < 2; ++k) r -= t.Z[static_cast<std::size_t>(2 * i + k)] * cross(h[k], e[i]);
    unexplained[static_cast<std::size_t>(i)] = std::max(r.real(), 0.0);
  }
  for (const Complex& z : t.Z)
    if (!std::isfinite(z.real()) || !std::isfinite(z.imag())) return std::nullopt;
  if (const auto n = numberOption(block, "AVGT"); n && *n > 2.0)
    for (int i = 0; i < 2; ++i)
      for (int j = 0; j < 2; ++j)
        t.variance[static_cast<std::size_t>(2 * i + j)] =
            unexplained[static_cast<std::size_t>(i)] * inverse[j][j].real() / (*n - 2.0);
  auto angle = numberOption(block, "ROT");
  if (!angle) angle = numberOption(block, "ROTSPEC");
  if (angle && std::isfinite(*angle) && *angle != 0.0) return rotated(t, *angle);
  return t;
}

}  // namespace

std::optional<std::string> spectraImpedances(const EdiDocument& document,
                                             const std::string& fileName, double empty,
                                             std::vector<SpectraFrequency>& result) {
  result.clear();
  const EdiSection* section = document.sectionNamed("SPECTRASECT");
  if (section == nullptr) return "EDI FILE HAS NO FREQUENCIES: " + fileName;
  std::vector<std::string> ids;
  const std::array<int, kChannels> at = channelPositions(document, *section, ids);
  for (int c = 0; c < kChannels; ++c)
    if (at[static_cast<std::size_t>(c)] < 0)
      return std::string("EDI SPECTRA HAVE NO ") + kChannelNames[static_cast<std::size_t>(c)] +
             " CHANNEL: " + fileName;
  std::size_t nchan = ids.size();
  if (const auto it = section->keywords.find("NCHAN"); it != section->keywords.end())
    if (const auto n = parseInteger(firstWordOf(it->second)); n && *n > 0)
      nchan = static_cast<std::size_t>(*n);
  for (int c : at)
    if (static_cast<std::size_t>(c) >= nchan)
      return "EDI SPECTRA CHANNEL LIST DOES NOT MATCH NCHAN: " + fileName;

  for (const EdiBlock& block : document.blocks) {
    if (block.name != "SPECTRA") continue;
    const std::string where = " AT LINE " + std::to_string(block.line) + ": " + fileName;
    if (block.badWord)
      return "ERROR READING EDI VALUE IN BLOCK SPECTRA AT LINE " +
             std::to_string(block.badWord->first) + ": " + block.badWord->second;
    if (block.values.size() != nchan * nchan)
      return "EDI SPECTRA BLOCK DOES NOT HOLD NCHAN BY NCHAN VALUES" + where;
    const auto hertz = numberOption(block, "FREQ");
    if (!hertz) return "EDI SPECTRA BLOCK HAS NO FREQUENCY" + where;
    SpectraFrequency f;
    f.hertz = *hertz;
    f.line = block.line;
    f.tensor = blockImpedance(block, nchan, at, empty);
    result.push_back(f);
  }
  if (result.empty()) return "EDI FILE HAS NO FREQUENCIES: " + fileName;
  return std::nullopt;
}

}  // namespace zeva::files
