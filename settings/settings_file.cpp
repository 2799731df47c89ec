#include "settings/settings_file.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <istream>
#include <iterator>
#include <limits>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>
#include <type_traits>
#include <variant>
#include <vector>

#include "files/save_file.h"
#include "files/text_input.h"

namespace zeva::settings {

namespace {

// How a value is written: integers 5 wide, reals fixed 10.4 or scientific
// 13.4, logicals as T or F, texts padded to their field.
struct IntegerField {
  int* value;
};
struct FixedReal {
  float* value;
};
struct ScientificReal {
  float* value;
};
struct LogicalField {
  bool* value;
};
struct TextField {
  std::string* value;
  std::size_t width;
};
// A path of any length, written with its control characters escaped as
// captions are, and read from the whole line.
struct PathField {
  std::string* value;
};
using Field =
    std::variant<IntegerField, FixedReal, ScientificReal, LogicalField, TextField, PathField>;

struct Key {
  std::string_view text;  // includes the "="
  Field field;
  bool written = true;
};

struct Section {
  std::string_view title;
  std::vector<Key> keys;
  bool ordered = false;  // keys recognised only in sequence right after the title
};

// "Recent 1=" (the newest) to "Recent 8=".
std::vector<Key> recentFileKeys(std::array<std::string, kRecentFileCount>& files) {
  static const std::array<std::string, kRecentFileCount> names = [] {
    std::array<std::string, kRecentFileCount> keys;
    for (std::size_t i = 0; i < keys.size(); ++i) keys[i] = "Recent " + std::to_string(i + 1) + "=";
    return keys;
  }();
  std::vector<Key> keys;
  for (std::size_t i = 0; i < files.size(); ++i) keys.push_back({names[i], PathField{&files[i]}});
  return keys;
}

// The sections and keys in the order they are written. The table refers into
// `s`, so the same table reads and writes. Long because it is the whole file
// layout in one table, one line per key.
std::vector<Section> sectionsOf(Settings& s) {
  WindowPlacement& w = s.windows;
  ImportColumns& c = s.columns;
  DisplayFlags& f = s.flags;
  GraphTexts& g = s.graphs;
  return {
      {"[Directories]", {{"LastDir=", TextField{&s.lastDir, 80}}}, true},
      {"[Windows]",
       {{"Dialog X=", IntegerField{&w.dialogX}},
        {"Dialog Y=", IntegerField{&w.dialogY}},
        {"Window X=", IntegerField{&w.windowX}},
        {"Window Y=", IntegerField{&w.windowY}},
        {"Window W=", IntegerField{&w.windowW}},
        {"Window H=", IntegerField{&w.windowH}},
        {"Window State=", IntegerField{&w.windowState}},
        {"WellLog X=", IntegerField{&w.wellLogX}},
        {"WellLog Y=", IntegerField{&w.wellLogY}},
        {"WellLog W=", IntegerField{&w.wellLogW}},
        {"WellLog H=", IntegerField{&w.wellLogH}},
        {"WellLog State=", IntegerField{&w.wellLogState}}},
       true},
      {"[Data Input]",
       {{"Spacing Column=", IntegerField{&c.spacing}},
        {"Resistivity Column=", IntegerField{&c.resistivity}},
        {"MN Column=", IntegerField{&c.mn}},
        {"Current Column=", IntegerField{&c.current}},
        {"First Row=", IntegerField{&c.firstRow}},
        {"Last Row=", IntegerField{&c.lastRow}},
        {"Distance Column=", IntegerField{&c.distance}},
        {"Model Resist Column=", IntegerField{&c.modelResist}},
        {"Frequency Column=", IntegerField{&c.frequency}},
        {"In-Phase Column=", IntegerField{&c.inPhase}},
        {"Quadrature Column=", IntegerField{&c.quadrature}},
        {"Well Depth Column=", IntegerField{&c.wellDepth}},
        {"Well Resist Column=", IntegerField{&c.wellResist}},
        {"LX1000=", LogicalField{&c.depthTimes1000}},
        {"Rho Error Column=", IntegerField{&c.rhoError}},
        {"Phase Error Column=", IntegerField{&c.phaseError}},
        {"IP Data Column=", IntegerField{&c.ipData}},
        {"Time Column=", IntegerField{&c.time}},
        {"Voltage Column=", IntegerField{&c.voltage}},
        {"Space Column=", IntegerField{&c.space}},
        {"Height Column=", IntegerField{&c.height}}}},
      {"[Files]", {{"Last File=", TextField{&s.lastFile, 24}}}},
      {"[Flags]",
       {{"LZOOM=", LogicalField{&f.zoom}},
        {"LEQUIV=", LogicalField{&f.equivalence}},
        {"LAYERED=", LogicalField{&f.layered}},
        {"LSMOOTH=", LogicalField{&f.smooth}},
        {"LMODONDAT=", LogicalField{&f.modelOnData}},
        {"LGRIDJD=", LogicalField{&f.gridMajorData}},
        {"LGRIDND=", LogicalField{&f.gridMinorData}},
        {"LGRIDJM=", LogicalField{&f.gridMajorModel}},
        {"LGRIDNM=", LogicalField{&f.gridMinorModel}},
        {"LPGRAPH=", LogicalField{&f.printGraph}},
        {"LPDATA=", LogicalField{&f.printData}},
        {"LPMODEL=", LogicalField{&f.printModel}},
        {"LPBOUND=", LogicalField{&f.printBounds}},
        {"LPRESOLV=", LogicalField{&f.printResolution}},
        {"LPMODELS=", LogicalField{&f.printSmoothModel}},
        {"LPBOUNDS=", LogicalField{&f.printSmoothBounds}},
        {"LPRESOLVS=", LogicalField{&f.printSmoothResolution}},
        {"LPWORK=", LogicalField{&f.printWorksheet}},
        {"LBOSTICK=", LogicalField{&f.bostick}},
        {"LNIBLETT=", LogicalField{&f.niblett}},
        {"LREDLINE=", LogicalField{&f.redLine}},
        {"LGRIDJL=", LogicalField{&f.gridMajorLog}},
        {"LGRIDNL=", LogicalField{&f.gridMinorLog}},
        {"LGRIDJC=", LogicalField{&f.gridMajorConductance}},
        {"LGRIDNC=", LogicalField{&f.gridMinorConductance}}}},
      {"[Graphs]",
       {{"CLRES=", TextField{&g.resistivity, 40}},
        {"CLSPACE=", TextField{&g.spacing, 40}},
        {"CLRESM=", TextField{&g.modelResistivity, 40}},
        {"CLDEPT=", TextField{&g.depth, 40}},
        {"CLTIME=", TextField{&g.time, 40}},
        {"CLPER=", TextField{&g.period, 40}},
        {"CLFREQ=", TextField{&g.frequency, 40}},
        {"CLVOLT=", TextField{&g.voltage, 40}},
        {"CLPHAS=", TextField{&g.phase, 40}},
        {"CLINQD=", TextField{&g.inPhaseQuadrature, 40}},
        {"CLHITE=", TextField{&g.height, 40}},
        {"CLPFE=", TextField{&g.ipEffect, 40}},
        {"CLPFEM=", TextField{&g.ipEffectModel, 40}},
        {"CLNSPC=", TextField{&g.nSpacing, 40}},
        {"HICNAME=", FixedReal{&g.nameHeight}},
        {"HIDATV=", FixedReal{&g.dataVerticalHeight}},
        {"HIDATH=", FixedReal{&g.dataHorizontalHeight}},
        {"HIMODV=", FixedReal{&g.modelVerticalHeight}},
        {"HIMODH=", FixedReal{&g.modelHorizontalHeight}},
        {"OFFDATV=", FixedReal{&g.dataVerticalOffset}},
        {"OFFDATH=", FixedReal{&g.dataHorizontalOffset}},
        {"OFFMODV=", FixedReal{&g.modelVerticalOffset}},
        {"OFFMODH=", FixedReal{&g.modelHorizontalOffset}},
        {"OFFDATP=", FixedReal{&g.dataPlotOffset}, false},
        {"Line Width=", IntegerField{&g.lineWidth}}}},
      {"[Font]",
       {{"IFont=", IntegerField{&s.font.font}},
        {"IStyle=", IntegerField{&s.font.style}},
        {"FWidth=", ScientificReal{&s.font.width}},
        {"FHeight=", ScientificReal{&s.font.height}}}},
      {"[Recent Files]", recentFileKeys(s.recentFiles)},
  };
}

// The characters of a line that are read; the rest of a longer line is
// skipped. Wide enough for the longest key with the widest text field even
// when every character of the text is written escaped.
constexpr std::size_t kLineLength = 400;
// A line with a path (a recent file): the longest path a system takes.
constexpr std::size_t kPathLineLength = 4200;

std::string_view firstWord(std::string_view text) {
  const auto start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return {};
  const auto end = text.find_first_of(" \t", start);
  return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

std::optional<long> parseInteger(std::string_view word) {
  if (word.empty() || word.size() > 30) return std::nullopt;
  const std::string text(word);
  char* end = nullptr;
  errno = 0;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || errno == ERANGE || value < -2147483647L || value > 2147483647L)
    return std::nullopt;
  return value;
}

std::optional<float> parseReal(std::string_view word) {
  if (word.empty() || word.size() > 30) return std::nullopt;
  const std::string text(word);
  char* end = nullptr;
  const float value = std::strtof(text.c_str(), &end);
  if (*end != '\0' || !std::isfinite(value)) return std::nullopt;
  return value;
}

// "T", "F" and the forms ".TRUE.", "false" that a Fortran read also takes.
std::optional<bool> parseLogical(std::string_view word) {
  if (!word.empty() && word.front() == '.') word.remove_prefix(1);
  if (word.empty()) return std::nullopt;
  if (word.front() == 'T' || word.front() == 't') return true;
  if (word.front() == 'F' || word.front() == 'f') return false;
  return std::nullopt;
}

// Texts are written with their control characters (a carriage return or a
// line feed in a caption would end or split the line) as \xHH, and a
// backslash that would read as the start of such an escape as \x5C; every
// other character, a backslash of a Windows path among them, is written as
// it is.
bool isEscape(std::string_view text, std::size_t at) {
  return at + 3 < text.size() && text[at] == '\\' && text[at + 1] == 'x' &&
         std::isxdigit(static_cast<unsigned char>(text[at + 2])) &&
         std::isxdigit(static_cast<unsigned char>(text[at + 3]));
}

std::string escaped(std::string_view text) {
  std::string out;
  for (std::size_t k = 0; k < text.size(); ++k) {
    const auto c = static_cast<unsigned char>(text[k]);
    if (c < 32 || c == 127 || (c == '\\' && isEscape(text, k))) {
      std::array<char, 8> code{};
      std::snprintf(code.data(), code.size(), "\\x%02X", c);
      out += code.data();
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::string unescaped(std::string_view text) {
  std::string out;
  for (std::size_t k = 0; k < text.size(); ++k) {
    if (isEscape(text, k)) {
      out += static_cast<char>(std::stoi(std::string(text.substr(k + 2, 2)), nullptr, 16));
      k += 3;
    } else {
      out += text[k];
    }
  }
  return out;
}

std::string trimRight(std::string_view text) {
  const auto end = text.find_last_not_of(' ');
  return std::string(end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1));
}

// Applies the value after the key; false when a number or logical is damaged.
bool apply(const Key& key, std::string_view rest) {
  return std::visit(
      [&](auto&& field) -> bool {
        using F = std::decay_t<decltype(field)>;
        if constexpr (std::is_same_v<F, IntegerField>) {
          const auto value = parseInteger(firstWord(rest));
          if (!value) return false;
          *field.value = static_cast<int>(*value);
        } else if constexpr (std::is_same_v<F, FixedReal> || std::is_same_v<F, ScientificReal>) {
          const auto value = parseReal(firstWord(rest));
          if (!value) return false;
          *field.value = *value;
        } else if constexpr (std::is_same_v<F, LogicalField>) {
          const auto value = parseLogical(firstWord(rest));
          if (!value) return false;
          *field.value = *value;
        } else if constexpr (std::is_same_v<F, TextField>) {
          const std::string text = unescaped(rest);
          *field.value = trimRight(std::string_view(text).substr(0, field.width));
        } else {
          *field.value = trimRight(unescaped(rest));
        }
        return true;
      },
      key.field);
}

// The value follows the key where the key stands in the line.
std::optional<std::string_view> valueAfter(std::string_view line, std::string_view key) {
  const auto at = line.find(key);
  if (at == std::string_view::npos) return std::nullopt;
  return line.substr(at + key.size());
}

std::string formatField(const Field& field) {
  return std::visit(
      [](auto&& f) -> std::string {
        using F = std::decay_t<decltype(f)>;
        std::array<char, 64> buffer{};
        if constexpr (std::is_same_v<F, IntegerField>) {
          std::snprintf(buffer.data(), buffer.size(), "%5d", *f.value);
        } else if constexpr (std::is_same_v<F, FixedReal>) {
          // Fixed point while it fits the ten characters; larger values take
          // the same four decimals with an exponent, so the line stays short
          // enough to read back.
          const auto value = static_cast<double>(*f.value);
          if (std::snprintf(buffer.data(), buffer.size(), "%10.4f", value) > 10)
            std::snprintf(buffer.data(), buffer.size(), "%10.4E", value);
        } else if constexpr (std::is_same_v<F, ScientificReal>) {
          std::snprintf(buffer.data(), buffer.size(), "%13.4E", static_cast<double>(*f.value));
        } else if constexpr (std::is_same_v<F, LogicalField>) {
          return *f.value ? "T" : "F";
        } else if constexpr (std::is_same_v<F, TextField>) {
          const std::string_view value = *f.value;
          const std::string_view kept = value.substr(0, std::min(value.size(), f.width));
          std::string text = escaped(kept);
          if (text.size() < f.width) text.resize(f.width, ' ');
          return text;
        } else {
          return escaped(*f.value);  // a carriage return in a path must not end its line
        }
        return buffer.data();
      },
      field);
}

std::string statusField(int status) {
  std::array<char, 16> buffer{};
  std::snprintf(buffer.data(), buffer.size(), "%10d", status);
  return buffer.data();
}

}  // namespace

std::filesystem::path settingsPathFor(const char* xdgConfigHome, const char* home) {
  std::filesystem::path folder;
  if (xdgConfigHome != nullptr && *xdgConfigHome != '\0')
    folder = std::filesystem::path(xdgConfigHome) / "Kelvorin";
  else if (home != nullptr && *home != '\0')
    folder = std::filesystem::path(home) / ".config" / "Kelvorin";
  else
    return std::filesystem::path(kSettingsFileName);
  return folder / kSettingsFileName;
}

std::filesystem::path settingsPath() {
  std::filesystem::path path = settingsPathFor(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
  if (path.has_parent_path()) {
    std::error_code ignored;  // an unusable folder shows up when the file is opened
    std::filesystem::create_directories(path.parent_path(), ignored);
  }
  return path;
}

ReadOutcome readSettings(std::istream& in, Settings& settings) {
  std::vector<Section> sections = sectionsOf(settings);
  // The keys of an ordered section still expected, in order.
  const Section* ordered = nullptr;
  std::size_t expected = 0;
  bool damaged = false;
  // A damaged number or logical loses its own setting only.
  auto applyTo = [&](const Key& key, std::string_view rest) {
    if (!apply(key, rest)) damaged = true;
  };
  std::string raw;
  for (;;) {
    const files::LineRead read = files::readLine(in, raw, kPathLineLength);
    if (read == files::LineRead::End) break;
    if (read == files::LineRead::TooLong) {
      // No setting is that long: the line is damaged and loses its setting.
      in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
      damaged = true;
      if (ordered != nullptr && valueAfter(raw, ordered->keys[expected].text)) {
        if (++expected == ordered->keys.size()) ordered = nullptr;
      } else {
        ordered = nullptr;
      }
      continue;
    }
    // Paths are read from the whole line, every other key from its start.
    const std::string_view whole = raw;
    const std::string_view line = whole.substr(0, kLineLength);

    if (ordered != nullptr) {
      const Key& key = ordered->keys[expected];
      if (const auto rest = valueAfter(line, key.text)) {
        applyTo(key, *rest);
        if (++expected == ordered->keys.size()) ordered = nullptr;
        continue;
      }
      ordered = nullptr;  // not the expected key: an ordinary line
    }

    // A key at the start of the line is that line's key, whatever its value
    // holds (a caption may hold another key's text); other lines are
    // searched in the order of the table.
    const std::size_t indent = std::min(whole.find_first_not_of(' '), whole.size());
    const std::string_view start = line.substr(std::min(indent, line.size()));
    const Key* leading = nullptr;
    for (const Section& section : sections)
      for (const Key& key : section.keys)
        if (!section.ordered && start.starts_with(key.text)) leading = &key;
    if (leading != nullptr) {
      const bool path = std::holds_alternative<PathField>(leading->field);
      applyTo(*leading, (path ? whole.substr(indent) : start).substr(leading->text.size()));
      continue;
    }

    bool matched = false;
    for (const Section& section : sections) {
      if (line.find(section.title) != std::string_view::npos) {
        if (section.ordered) {
          ordered = &section;
          expected = 0;
        }
        matched = true;
        break;
      }
      if (section.ordered) continue;
      for (const Key& key : section.keys) {
        const bool path = std::holds_alternative<PathField>(key.field);
        if (const auto rest = valueAfter(path ? whole : line, key.text)) {
          applyTo(key, *rest);
          matched = true;
          break;
        }
      }
      if (matched) break;
    }
  }
  if (in.bad()) return ReadOutcome::ReadError;
  return damaged ? ReadOutcome::DamagedValue : ReadOutcome::Complete;
}

SettingsRead readSettingsFile(const std::filesystem::path& file, Settings& settings) {
  SettingsRead read;
  std::error_code exists;
  if (std::filesystem::exists(file, exists) && !files::isRegularFile(file)) {
    read.outcome = ReadOutcome::CannotOpen;
    read.warning(std::string(files::kCannotOpenFile) + file.string());
    return read;
  }
  errno = 0;
  std::ifstream in(file);
  if (!in) {
    read.outcome = ReadOutcome::CannotOpen;
    read.warning("ERROR OPENING " + file.string() + ": " + statusField(errno));
    return read;
  }
  read.outcome = readSettings(in, settings);
  if (read.outcome == ReadOutcome::ReadError)
    read.warning("ERROR READING " + file.string() + ": " + statusField(errno));
  read.ok = read.outcome == ReadOutcome::Complete;
  return read;
}

void writeSettings(std::ostream& out, const Settings& settings, std::string_view lastFile) {
  Settings copy = settings;
  copy.lastFile = std::string(lastFile);
  for (const Section& section : sectionsOf(copy)) {
    out << section.title << '\n';
    for (const Key& key : section.keys)
      if (key.written) out << key.text << formatField(key.field) << '\n';
    out << " \n";
  }
}

files::Result writeSettingsFile(const std::filesystem::path& file, const Settings& settings,
                                std::string_view lastFile) {
  std::filesystem::path temporary = file;
  temporary.replace_extension(".INW");
  bool opened = true;
  files::SaveOptions options;
  options.temporary = temporary;
  const files::SaveResult saved = files::saveFile(
      file,
      [&](const std::filesystem::path& path) {
        std::error_code error;
        const bool stale = std::filesystem::exists(path, error);
        // A stale file from an interrupted run is continued: the new lines
        // come after its lines and win when the file is read. When the run
        // stopped inside a line, that unfinished line is dropped, since a
        // damaged value would end reading before the new lines.
        if (stale) {
          std::ifstream old(path, std::ios::binary);
          const std::string bytes((std::istreambuf_iterator<char>(old)),
                                  std::istreambuf_iterator<char>());
          old.close();
          if (!bytes.empty() && bytes.back() != '\n') {
            const auto lastEnd = bytes.rfind('\n');
            std::filesystem::resize_file(path, lastEnd == std::string::npos ? 0 : lastEnd + 1,
                                         error);
          }
        }
        std::ofstream out(path, stale ? std::ios::app : std::ios::trunc);
        if (!out) {
          opened = false;
          return false;
        }
        writeSettings(out, settings, lastFile);
        out.close();
        return static_cast<bool>(out);
      },
      options);
  files::Result written;
  written.ok = saved.saved();
  if (saved.saved() || !opened) return written;
  if (saved.status == files::SaveStatus::WriteFailed)
    written.warning("ERROR WRITING " + temporary.string());
  else
    written.warning("ERROR WRITING " + file.string() + ": " + saved.error.message());
  return written;
}

}  // namespace zeva::settings
