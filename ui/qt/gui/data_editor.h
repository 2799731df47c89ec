#pragma once
// The data editor: a spreadsheet of the readings of one sounding, with a
// column per geometry value (spacings, frequencies, gate times), then per
// data value its value, error bar and mask, and for DC soundings entered as
// voltage and current those two with the apparent resistivity computed from
// them by the array's geometric factor. Rows can be inserted, appended and
// deleted, single cells inserted into or deleted from a column, and a
// constant added to or multiplied into a column. TEM soundings have a second
// grid of sweeps (last gate, repetition frequency, current, turns, ramp,
// receiver area, delay) and the loop geometry; their repetition frequencies
// are checked against the last gate of each sweep. The editor works on a
// record of its own; the caller takes it on OK.

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "core/record/sounding.h"
#include "ui/toolkit/toolkit.h"

class QDoubleSpinBox;
class QTableWidget;
class QVBoxLayout;

namespace zeva::ui::qt {

inline constexpr std::string_view kInsideGridMessage = "Must be inside data grid to insert cell";

class DataEditor : public QDialog {
 public:
  // Edits a copy of the header and data of `sounding` (its counts, type and
  // flags decide the columns).
  DataEditor(const core::Sounding& sounding, ui::Toolkit& toolkit, QWidget* parent = nullptr);

  // Writes the grid into `target`: the data header with the new NDATA and
  // NSETS and freshly allocated data arrays. False, with a message, when the
  // grid does not make a sounding (a value that is not a number, no
  // readings, sweeps whose last gates do not rise to the last reading, a
  // sweep that fails the repetition-frequency check).
  bool writeTo(core::Sounding& target);
  // The record built by the last successful OK.
  core::Sounding& result() { return result_; }

  QTableWidget* grid() const { return grid_; }
  QTableWidget* sweepGrid() const { return sweeps_; }
  // Geometry values new rows start with (the fixed coil geometry of MaxMin).
  void setGeometryDefaults(std::vector<float> values) { geometryDefaults_ = std::move(values); }

  // Row, cell and column operations of the editor's buttons; those that
  // need a cell say so when none is current.
  void insertRow();
  void appendRow();
  void deleteRow();
  void insertCell();
  void deleteCell();
  void addToColumn();
  void multiplyColumn();
  void appendSweep();
  void deleteSweep();

  void accept() override;

 private:
  enum class Kind { Geometry, Value, Error, Mask, Voltage, Current, Computed };
  struct Column {
    Kind kind;
    int index;  // geometry or data-value index
  };
  // The dipole length of a dipole array, above the grid.
  void addDipoleLength(QVBoxLayout* layout);
  // The row and cell operations under the grid.
  void addOperationButtons(QVBoxLayout* layout);
  // The loop geometry and sweep table of a TEM sounding.
  void addLoopAndSweeps(QVBoxLayout* layout, const core::Sounding& sounding);
  void buildColumns();
  void fill(const core::Sounding& sounding);
  void fillSweeps(const core::Sounding& sounding);
  void setNumber(int row, int column, float value);
  void setMask(int row, int column, bool masked);
  void fillBlankRow(int row);
  void updateComputed(int row);
  bool numericColumn(int column) const;
  int columnOf(Kind kind) const;
  // What makes the geometry of a row impossible (a spacing, MN, frequency,
  // gate time or current that is not positive, MN not below AB), naming
  // the row and the column; empty when the row is sound.
  std::optional<std::string> geometryFault(int row) const;
  bool currentCellInside() const;
  void changeColumn(const char* prompt, double initial, bool multiply);
  bool writeSweeps(core::Sounding& target);

  core::DataHeader header_;
  ui::Toolkit& toolkit_;
  QTableWidget* grid_ = nullptr;
  QTableWidget* sweeps_ = nullptr;  // TEM only
  QDoubleSpinBox* dipoleLength_ = nullptr;
  std::vector<QDoubleSpinBox*> loop_;  // TEM: loop sides and coil offsets
  std::vector<Column> columns_;
  core::Sounding result_;
  bool filling_ = false;
  std::vector<float> geometryDefaults_;
};

// Heading of a data-value column and of a geometry column of a data type.
QString valueHeading(const core::DataHeader& header, int component);
QString geometryHeading(const core::DataHeader& header, int index);

}  // namespace zeva::ui::qt
