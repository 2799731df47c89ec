#include "forward/tem_units.h"

namespace zeva::forward {

namespace {

enum class Unit {
  MicrovoltPerAmpere,
  NanovoltPerAmpereSquareMetre,
  VoltPerSquareMetre,
  Field,
  Volt
};

// The unit texts, with the spellings the program's own dialogs and example
// soundings store beside those of the exchange files.
std::optional<Unit> unitOf(const core::UnitText& unit) {
  if (unit == "(uV/Amp)" || unit == "uV/Amp" || unit == "(uV/A)") return Unit::MicrovoltPerAmpere;
  if (unit == "(nV/A-m^2)" || unit == "nV/Am**2") return Unit::NanovoltPerAmpereSquareMetre;
  if (unit == "(uV/m^2)") return Unit::VoltPerSquareMetre;
  // A voltage per square metre of receiver is -dB/dt: nV/m^2 and nT/s agree.
  if (unit == "(nT/sec)" || unit == "(nV/m^2)") return Unit::Field;
  if (unit == "V/Amp") return Unit::Volt;
  return std::nullopt;
}

}  // namespace

std::optional<double> voltageScale(const core::UnitText& text, bool coincident,
                                   const SweepScale& s) {
  const std::optional<Unit> unit = unitOf(text);
  if (!unit) return std::nullopt;
  if (coincident) {
    const double square = s.turns * s.turns;
    switch (*unit) {
      case Unit::MicrovoltPerAmpere:
        return 1.0e6 * square;
      case Unit::Volt:
        return square;
      case Unit::NanovoltPerAmpereSquareMetre:
        if (s.loopSide > 0.0) return 1.0e9 * square / (s.loopSide * s.loopSide);
        return std::nullopt;
      default:
        return std::nullopt;
    }
  }
  switch (*unit) {
    case Unit::MicrovoltPerAmpere:
      return 1.0e6 * s.turns * s.receiverArea;
    case Unit::NanovoltPerAmpereSquareMetre:
      return 1.0e9 * s.turns;
    case Unit::VoltPerSquareMetre:
      return 1.0e6 * s.current * s.turns;
    case Unit::Field:
      return 1.0e9 * s.current * s.turns;
    case Unit::Volt:
      return std::nullopt;
  }
  return std::nullopt;
}

std::string unitRefusal(const core::UnitText& unit) {
  return "The TEM voltage unit \"" + unit.trimmed() +
         "\" cannot be modelled; the sounding is unchanged";
}

}  // namespace zeva::forward
