#include "core/program/column_questions.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "core/record/data_type.h"

namespace zeva::core {

using files::FlatAsciiKind;
using files::FlatAsciiRequest;
using files::ImportColumns;
using files::TemTimeUnit;

namespace {

// The questions of the column prompts, asked one after the other until one
// is cancelled; after that none is shown.
class ColumnQuestions {
 public:
  explicit ColumnQuestions(ui::Toolkit& toolkit) : toolkit_(toolkit) {}
  bool cancelled() const { return cancelled_; }

  // A column number, kept within a million either way.
  void ask(std::string_view label, int& field) {
    if (cancelled_) return;
    const auto answer = toolkit_.askNumber(label, field);
    if (!answer) {
      cancelled_ = true;
      return;
    }
    field = static_cast<int>(std::clamp(*answer, -1.0e6, 1.0e6));
  }
  void askLength(std::string_view label, float& length) {
    if (cancelled_) return;
    const auto answer = toolkit_.askNumber(label, length);
    if (!answer)
      cancelled_ = true;
    else
      length = static_cast<float>(*answer);
  }
  void askYesNo(std::string_view question, bool& value) {
    if (!cancelled_) value = toolkit_.yesNo(question, value);
  }
  // A row bound: the field shows its size, the tick whether it is used.
  void askBound(std::string_view label, std::string_view use, int& setting) {
    if (cancelled_) return;
    int value = std::abs(setting);
    ask(label, value);
    if (cancelled_) return;
    const bool ticked = toolkit_.yesNo(use, setting > 0);
    setting = ticked ? std::abs(value) : -std::abs(value);
  }

 private:
  ui::Toolkit& toolkit_;
  bool cancelled_ = false;
};

// The columns of a resistivity (and IP) file: MN only for Schlumberger, the
// current only with voltage and current, the dipole length of the dipole
// arrays.
void askResistivityColumns(ColumnQuestions& q, FlatAsciiKind kind, FlatAsciiRequest& request,
                           ImportColumns& c) {
  const core::DataTypeTraits& type = core::traitsOf(request.header.dataType);
  const bool voltageAndCurrent = core::isSet(request.header.voltageAndCurrent);
  const bool schlumberger = type.potentialSpacing;
  q.ask(schlumberger ? "Column for AB/2:" : "Column for Spacing:", c.spacing);
  q.ask(voltageAndCurrent ? "Column for Voltage:" : "Column for Resistivity:", c.resistivity);
  if (schlumberger)
    q.ask("Column for MN:", c.mn);
  else
    c.mn = 0;
  if (voltageAndCurrent)
    q.ask("Column for Current:", c.current);
  else
    c.current = 0;
  if (kind == FlatAsciiKind::ResistivityIp) q.ask("Column for IP Data:", c.ipData);
  if (type.separationFactor()) q.askLength("Dipole Length:", request.header.dipoleLength);
}

// The columns (and the importer's own choices) of each importer.
void askImporterColumns(ColumnQuestions& q, FlatAsciiKind kind, FlatAsciiRequest& request,
                        ImportColumns& c) {
  switch (kind) {
    case FlatAsciiKind::Resistivity:
    case FlatAsciiKind::ResistivityIp:
      askResistivityColumns(q, kind, request, c);
      break;
    case FlatAsciiKind::MaxMin:
      q.ask("Column for Frequency:", c.frequency);
      q.ask("Column for In-Phase:", c.inPhase);
      q.ask("Column for Quadrature:", c.quadrature);
      q.ask("Column for Space:", c.space);
      q.ask("Column for Height:", c.height);
      break;
    case FlatAsciiKind::EmConductivity:
      q.ask("Column for Frequency:", c.frequency);
      q.ask("Column for Space:", c.space);
      q.ask("Column for Height:", c.height);
      q.ask("Column for Conductivity:", c.voltage);
      break;
    case FlatAsciiKind::Magnetotelluric:
      q.ask("Column for Frequency:", c.frequency);
      q.ask("Column for Resistivity:", c.resistivity);
      q.ask("Column for Phase:", c.modelResist);
      q.ask("Column for Resistivity Error:", c.rhoError);
      q.ask("Column for Phase Error:", c.phaseError);
      break;
    case FlatAsciiKind::Tem: {
      q.ask("Column for Time:", c.time);
      q.ask("Column for Voltage:", c.voltage);
      int unit = static_cast<int>(request.timeUnit) + 1;
      q.ask("Time unit (1 microseconds, 2 milliseconds, 3 seconds):", unit);
      request.timeUnit = unit <= 1   ? TemTimeUnit::Microseconds
                         : unit == 2 ? TemTimeUnit::Milliseconds
                                     : TemTimeUnit::Seconds;
      break;
    }
    case FlatAsciiKind::WellLog:
      q.ask("Column for Depth:", c.wellDepth);
      q.ask("Column for Resistivity:", c.wellResist);
      q.askYesNo("Multiply depths by 1000?", c.depthTimes1000);
      break;
    case FlatAsciiKind::Model:
      q.ask("Column for Distance:", c.distance);
      q.ask(core::traitsOf(request.header.dataType).conductivityModel ? "Column for Conductivity:"
                                                                      : "Column for Resistivity:",
            c.modelResist);
      break;
  }
}

}  // namespace

bool askColumns(ui::Toolkit& toolkit, FlatAsciiKind kind, FlatAsciiRequest& request,
                ImportColumns& columns) {
  ImportColumns c = columns;
  ColumnQuestions q(toolkit);
  askImporterColumns(q, kind, request, c);
  q.askBound("First Row:", "Use the first row?", c.firstRow);
  q.askBound("Last Row:", "Use the last row?", c.lastRow);
  if (q.cancelled()) return false;
  columns = c;
  return true;
}

}  // namespace zeva::core
