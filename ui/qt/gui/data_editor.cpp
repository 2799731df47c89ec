#include "ui/qt/gui/data_editor.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "core/record/data_type.h"
#include "files/geometric_factor.h"
#include "files/sounding_import.h"
#include "forward/tem_late_time.h"

namespace zeva::ui::qt {

namespace {

using core::Family;

QString numberText(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", static_cast<double>(value));
  return QString::fromLatin1(text);
}

QString fromStd(const std::string& text) { return QString::fromStdString(text); }

bool withVoltageAndCurrent(const core::DataHeader& h) {
  return core::familyOf(h.dataType) == Family::DcResistivity && core::isSet(h.voltageAndCurrent) &&
         h.NCOMP == 1;
}

// The sweep grid's columns: what each acquisition set of a TEM sounding
// carries.
enum SweepColumn { kLastGate, kFrequency, kCurrent, kTurns, kRamp, kArea, kDelay, kSweepColumns };

std::optional<float> numberIn(const QTableWidget* grid, int row, int column) {
  const QTableWidgetItem* item = grid->item(row, column);
  if (!item) return std::nullopt;
  bool ok = false;
  const float value = item->text().trimmed().toFloat(&ok);
  if (!ok || !std::isfinite(value)) return std::nullopt;
  return value;
}

QDoubleSpinBox* lengthBox(const QString& name, double value, QWidget* parent) {
  auto* box = new QDoubleSpinBox(parent);
  box->setObjectName(name);
  box->setRange(-1.0e6, 1.0e6);
  box->setDecimals(3);
  box->setValue(value);
  return box;
}

}  // namespace

QString geometryHeading(const core::DataHeader& header, int index) {
  const core::DataTypeTraits& type = core::traitsOf(header.dataType);
  const QString unit = " " + fromStd(header.lengthUnit.trimmed());
  switch (type.family) {
    case Family::DcResistivity:
      if (type.id == core::DataTypeId::Schlumberger) return (index == 0 ? "AB/2" : "MN") + unit;
      if (type.separationFactor())
        return index == 0 ? QString("n") : "Geometry " + QString::number(index + 1);
      return (index == 0 ? "Spacing" : "MN") + unit;
    case Family::MaxMin:
    case Family::EmConductivity:
      return index == 0 ? QString("Frequency (Hz)")
                        : (index == 1 ? "Coil Spacing" : "Height") + unit;
    case Family::Magnetotelluric:
      return "Frequency (Hz)";
    case Family::TimeDomainEm:
      return "Time (ms)";
    case Family::Unknown:
      break;
  }
  return QString("Geometry %1").arg(index + 1);
}

QString valueHeading(const core::DataHeader& header, int component) {
  const core::DataTypeTraits& type = core::traitsOf(header.dataType);
  switch (type.family) {
    case Family::DcResistivity:
      if (type.values == core::DataValues::Impedance && component == 0) return "Impedance (ohm)";
      return component == 0 ? "App. Resistivity " + fromStd(header.resistivityUnit.trimmed())
                            : "IP " + fromStd(header.ipUnit.trimmed());
    case Family::MaxMin:
      return component == 0 ? "In-Phase (%)" : "Quadrature (%)";
    case Family::EmConductivity:
      return component == 0 ? "Horizontal Dipoles (mS/m)" : "Vertical Dipoles (mS/m)";
    case Family::Magnetotelluric:
      // Curves come in pairs: resistivity and phase of each (xy, yx, invariant).
      return component % 2 == 0 ? "App. Resistivity (ohm-m)" : "Phase (deg)";
    case Family::TimeDomainEm:
      return "Voltage (" + fromStd(header.temVoltageUnit.trimmed()) + ")";
    case Family::Unknown:
      break;
  }
  return QString("Value %1").arg(component + 1);
}

DataEditor::DataEditor(const core::Sounding& sounding, ui::Toolkit& toolkit, QWidget* parent)
    : QDialog(parent), header_(sounding.header), toolkit_(toolkit) {
  setObjectName("dataEditor");
  setWindowTitle(tr("Data: %1 - %2")
                     .arg(fromStd(header_.name.trimmed()), fromStd(header_.dataType.trimmed())));
  auto* layout = new QVBoxLayout(this);

  // The dipole length enters the geometric factor of voltage and current.
  if (core::traitsOf(header_.dataType).dipoleLengthInFactor) addDipoleLength(layout);

  grid_ = new QTableWidget(this);
  grid_->setObjectName("dataGrid");
  buildColumns();
  fill(sounding);
  connect(grid_, &QTableWidget::cellChanged, this, [this](int row, int) {
    if (!filling_) updateComputed(row);
  });
  layout->addWidget(grid_, 3);

  addOperationButtons(layout);

  if (core::isTem(header_.dataType)) addLoopAndSweeps(layout, sounding);

  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(box, &QDialogButtonBox::accepted, this, &DataEditor::accept);
  connect(box, &QDialogButtonBox::rejected, this, &DataEditor::reject);
  layout->addWidget(box);
  resize(820, core::isTem(header_.dataType) ? 680 : 540);
}

void DataEditor::addDipoleLength(QVBoxLayout* layout) {
  auto* form = new QFormLayout;
  dipoleLength_ = lengthBox("dipoleLength", header_.dipoleLength, this);
  dipoleLength_->setMinimum(0.0);
  form->addRow(tr("&Dipole length a:"), dipoleLength_);
  layout->addLayout(form);
  connect(dipoleLength_, &QDoubleSpinBox::valueChanged, this, [this] {
    for (int row = 0; row < grid_->rowCount(); ++row) updateComputed(row);
  });
}

void DataEditor::addOperationButtons(QVBoxLayout* layout) {
  auto* buttons = new QGridLayout;
  struct Operation {
    const char* text;
    const char* name;
    void (DataEditor::*run)();
  };
  const Operation operations[] = {
      {"&Insert Row", "insertRow", &DataEditor::insertRow},
      {"A&dd Row", "appendRow", &DataEditor::appendRow},
      {"De&lete Row", "deleteRow", &DataEditor::deleteRow},
      {"Insert &Cell", "insertCell", &DataEditor::insertCell},
      {"Delete C&ell", "deleteCell", &DataEditor::deleteCell},
      {"Add &to Column...", "addToColumn", &DataEditor::addToColumn},
      {"M&ultiply Column...", "multiplyColumn", &DataEditor::multiplyColumn}};
  int position = 0;
  for (const Operation& op : operations) {
    auto* button = new QPushButton(tr(op.text), this);
    button->setObjectName(op.name);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, op.run);
    buttons->addWidget(button, position / 4, position % 4);
    ++position;
  }
  layout->addLayout(buttons);
}

void DataEditor::addLoopAndSweeps(QVBoxLayout* layout, const core::Sounding& sounding) {
  auto* box = new QGroupBox(tr("Loop and sweeps"), this);
  auto* column = new QVBoxLayout(box);
  auto* form = new QFormLayout;
  const std::pair<const char*, float> geometry[] = {{"Loop side &x:", header_.loopSizeX},
                                                    {"Loop side &y:", header_.loopSizeY},
                                                    {"Coil offset x:", header_.coilX},
                                                    {"Coil offset y:", header_.coilY}};
  int k = 0;
  for (auto [label, value] : geometry) {
    loop_.push_back(lengthBox(QString("loop%1").arg(k++), value, box));
    form->addRow(tr(label), loop_.back());
  }
  column->addLayout(form);
  sweeps_ = new QTableWidget(box);
  sweeps_->setObjectName("sweepGrid");
  sweeps_->setColumnCount(kSweepColumns);
  sweeps_->setHorizontalHeaderLabels({"Last Gate", "Frequency (Hz)", "Current (A)", "Turns",
                                      "Ramp (us)", "Receiver Area (m^2)", "Delay (ms)"});
  sweeps_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  fillSweeps(sounding);
  column->addWidget(sweeps_);
  auto* sweepButtons = new QHBoxLayout;
  auto* add = new QPushButton(tr("Add &Sweep"), box);
  add->setObjectName("appendSweep");
  auto* remove = new QPushButton(tr("Delete S&weep"), box);
  remove->setObjectName("deleteSweep");
  for (QPushButton* b : {add, remove}) {
    b->setAutoDefault(false);
    sweepButtons->addWidget(b);
  }
  sweepButtons->addStretch();
  connect(add, &QPushButton::clicked, this, &DataEditor::appendSweep);
  connect(remove, &QPushButton::clicked, this, &DataEditor::deleteSweep);
  column->addLayout(sweepButtons);
  layout->addWidget(box, 2);
}

void DataEditor::buildColumns() {
  columns_.clear();
  QStringList headings;
  for (int g = 0; g < header_.NGEOM; ++g) {
    columns_.push_back({Kind::Geometry, g});
    headings << geometryHeading(header_, g);
  }
  const bool vi = withVoltageAndCurrent(header_);
  if (vi) {
    columns_.push_back({Kind::Voltage, 0});
    columns_.push_back({Kind::Current, 0});
    headings << "Voltage"
             << "Current";
  }
  for (int c = 0; c < header_.NCOMP; ++c) {
    columns_.push_back({vi && c == 0 ? Kind::Computed : Kind::Value, c});
    columns_.push_back({Kind::Error, c});
    columns_.push_back({Kind::Mask, c});
    headings << valueHeading(header_, c) << "Error"
             << "Mask";
  }
  grid_->setColumnCount(static_cast<int>(columns_.size()));
  grid_->setHorizontalHeaderLabels(headings);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
}

void DataEditor::setNumber(int row, int column, float value) {
  auto* item = new QTableWidgetItem(numberText(value));
  if (columns_[static_cast<std::size_t>(column)].kind == Kind::Computed)
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
  grid_->setItem(row, column, item);
}

void DataEditor::setMask(int row, int column, bool masked) {
  auto* item = new QTableWidgetItem;
  item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  item->setCheckState(masked ? Qt::Checked : Qt::Unchecked);
  grid_->setItem(row, column, item);
}

void DataEditor::fill(const core::Sounding& sounding) {
  filling_ = true;
  const core::SoundingData& d = sounding.data();
  // A header whose counts the arrays do not hold shows the readings there are.
  const int rows = static_cast<int>(
      std::min<std::size_t>(static_cast<std::size_t>(std::max(0, header_.NDATA)), d.VOLTS.rows()));
  grid_->setRowCount(rows);
  for (int i = 0; i < rows; ++i) {
    for (std::size_t col = 0; col < columns_.size(); ++col) {
      const Column c = columns_[col];
      const int column = static_cast<int>(col);
      switch (c.kind) {
        case Kind::Geometry:
          setNumber(i, column, d.TIME(i, c.index));
          break;
        case Kind::Voltage:
          setNumber(i, column, d.VOLTS(i, 1));
          break;
        case Kind::Current:
          setNumber(i, column, d.VOLTS(i, 2));
          break;
        case Kind::Value:
        case Kind::Computed:
          setNumber(i, column, d.VOLTS(i, c.index));
          break;
        case Kind::Error:
          setNumber(i, column, d.UVOLTS(i, c.index));
          break;
        case Kind::Mask:
          setMask(i, column, core::isSet(d.LMASK(i, c.index)));
          break;
      }
    }
  }
  filling_ = false;
}

void DataEditor::fillSweeps(const core::Sounding& sounding) {
  const core::SoundingData& d = sounding.data();
  const std::size_t sets =
      std::min({static_cast<std::size_t>(std::max(1, header_.NSETS)), d.NSET.size(), d.FREQ.size(),
                d.AMPS.size(), d.NTURNS.size(), d.RAMP.size(), d.AREA.size(), d.TSHIFT.size()});
  sweeps_->setRowCount(static_cast<int>(sets));
  for (std::size_t k = 0; k < sets; ++k) {
    const float values[kSweepColumns] = {static_cast<float>(d.NSET[k]),
                                         d.FREQ[k],
                                         d.AMPS[k],
                                         static_cast<float>(d.NTURNS[k]),
                                         d.RAMP[k],
                                         d.AREA[k],
                                         d.TSHIFT[k]};
    for (int c = 0; c < kSweepColumns; ++c)
      sweeps_->setItem(static_cast<int>(k), c, new QTableWidgetItem(numberText(values[c])));
  }
  if (sets == 0) appendSweep();
}

bool DataEditor::numericColumn(int column) const {
  if (column < 0 || column >= static_cast<int>(columns_.size())) return false;
  const Kind kind = columns_[static_cast<std::size_t>(column)].kind;
  return kind != Kind::Mask && kind != Kind::Computed;
}

int DataEditor::columnOf(Kind kind) const {
  for (std::size_t col = 0; col < columns_.size(); ++col)
    if (columns_[col].kind == kind) return static_cast<int>(col);
  return -1;
}

std::optional<std::string> DataEditor::geometryFault(int row) const {
  const core::DataTypeTraits& type = core::traitsOf(header_.dataType);
  const Family family = type.family;
  float spacing = 0.0f;
  for (std::size_t col = 0; col < columns_.size(); ++col) {
    const Column c = columns_[col];
    if (c.kind != Kind::Geometry && c.kind != Kind::Current) continue;
    const float value = numberIn(grid_, row, static_cast<int>(col)).value_or(0.0f);
    const QString heading = grid_->horizontalHeaderItem(static_cast<int>(col))
                                ? grid_->horizontalHeaderItem(static_cast<int>(col))->text()
                                : QString::number(col + 1);
    const std::string where = "ROW " + std::to_string(row + 1) + ", COLUMN " +
                              std::to_string(col + 1) + " (" + heading.toStdString() + "): ";
    // The height of the coils above the ground may be zero; every spacing,
    // frequency, gate time and current must be above it.
    const bool height = (family == Family::MaxMin || family == Family::EmConductivity) &&
                        c.kind == Kind::Geometry && c.index == 2;
    // Other arrays than Schlumberger keep no MN of their own in a second column.
    if (family == Family::DcResistivity && c.kind == Kind::Geometry && c.index > 0 &&
        !type.potentialSpacing)
      continue;
    if (height ? value < 0.0f : value <= 0.0f)
      return where + (height ? "MUST NOT BE NEGATIVE" : "MUST BE A POSITIVE NUMBER");
    if (c.kind != Kind::Geometry) continue;
    if (c.index == 0) spacing = value;
    if (c.index == 1 && family == Family::DcResistivity && type.potentialSpacing &&
        value >= 2.0f * spacing)
      return where + "MN MUST BE BELOW AB";
  }
  return std::nullopt;
}

bool DataEditor::currentCellInside() const {
  const int row = grid_->currentRow(), column = grid_->currentColumn();
  return row >= 0 && row < grid_->rowCount() && column >= 0 && column < grid_->columnCount();
}

void DataEditor::updateComputed(int row) {
  if (!withVoltageAndCurrent(header_)) return;
  float spacing = 0.0f, mn = 0.0f, volts = 0.0f, amps = 0.0f;
  int computed = -1;
  for (std::size_t col = 0; col < columns_.size(); ++col) {
    const float value = numberIn(grid_, row, static_cast<int>(col)).value_or(0.0f);
    switch (columns_[col].kind) {
      case Kind::Geometry:
        (columns_[col].index == 0 ? spacing : mn) = value;
        break;
      case Kind::Voltage:
        volts = value;
        break;
      case Kind::Current:
        amps = value;
        break;
      case Kind::Computed:
        computed = static_cast<int>(col);
        break;
      default:
        break;
    }
  }
  if (computed < 0) return;
  const float a = dipoleLength_ ? static_cast<float>(dipoleLength_->value()) : header_.dipoleLength;
  const auto k = static_cast<float>(files::geometricFactor(header_.dataType, spacing, mn, a));
  filling_ = true;
  setNumber(row, computed, amps != 0.0f && k != 0.0f ? k * volts / amps : 0.0f);
  filling_ = false;
}

void DataEditor::fillBlankRow(int row) {
  filling_ = true;
  for (std::size_t col = 0; col < columns_.size(); ++col) {
    const Column c = columns_[col];
    if (c.kind == Kind::Mask) {
      setMask(row, static_cast<int>(col), false);
      continue;
    }
    const bool preset =
        c.kind == Kind::Geometry && static_cast<std::size_t>(c.index) < geometryDefaults_.size();
    setNumber(row, static_cast<int>(col),
              preset ? geometryDefaults_[static_cast<std::size_t>(c.index)] : 0.0f);
  }
  filling_ = false;
}

void DataEditor::insertRow() {
  if (!currentCellInside()) {
    toolkit_.information(kInsideGridMessage);
    return;
  }
  const int row = grid_->currentRow();
  grid_->insertRow(row);
  fillBlankRow(row);
  grid_->setCurrentCell(row, grid_->currentColumn());
}

void DataEditor::appendRow() {
  const int row = grid_->rowCount();
  grid_->setRowCount(row + 1);
  fillBlankRow(row);
  grid_->setCurrentCell(row, 0);
}

void DataEditor::deleteRow() {
  if (!currentCellInside()) {
    toolkit_.information(kInsideGridMessage);
    return;
  }
  grid_->removeRow(grid_->currentRow());
}

// A reading missing from one column is put right by inserting a cell: the
// column moves down by one from the current row, a new row at the end takes
// its last value.
void DataEditor::insertCell() {
  if (!currentCellInside() || !numericColumn(grid_->currentColumn())) {
    toolkit_.information(kInsideGridMessage);
    return;
  }
  const int row = grid_->currentRow(), column = grid_->currentColumn();
  const int last = grid_->rowCount();
  grid_->setRowCount(last + 1);
  fillBlankRow(last);
  filling_ = true;
  for (int r = last; r > row; --r)
    setNumber(r, column, numberIn(grid_, r - 1, column).value_or(0.0f));
  setNumber(row, column, 0.0f);
  filling_ = false;
  for (int r = row; r <= last; ++r) updateComputed(r);
}

// The opposite: the column moves up by one into the current row, and its
// last cell becomes zero.
void DataEditor::deleteCell() {
  if (!currentCellInside() || !numericColumn(grid_->currentColumn())) {
    toolkit_.information(kInsideGridMessage);
    return;
  }
  const int row = grid_->currentRow(), column = grid_->currentColumn();
  const int rows = grid_->rowCount();
  filling_ = true;
  for (int r = row; r + 1 < rows; ++r)
    setNumber(r, column, numberIn(grid_, r + 1, column).value_or(0.0f));
  setNumber(rows - 1, column, 0.0f);
  filling_ = false;
  for (int r = row; r < rows; ++r) updateComputed(r);
}

void DataEditor::changeColumn(const char* prompt, double initial, bool multiply) {
  int column = grid_->currentColumn();
  const bool computed = currentCellInside() && column >= 0 &&
                        columns_[static_cast<std::size_t>(column)].kind == Kind::Computed;
  if (!currentCellInside() || (!numericColumn(column) && !computed)) {
    toolkit_.information(kInsideGridMessage);
    return;
  }
  const auto amount = toolkit_.askNumber(prompt, initial);
  if (!amount) return;
  const auto by = static_cast<float>(*amount);
  // The computed resistivity follows from voltage and current: it changes
  // through the voltage, which is proportional to it.
  const int voltage = computed ? columnOf(Kind::Voltage) : -1;
  filling_ = true;
  for (int row = 0; row < grid_->rowCount(); ++row) {
    const float value = numberIn(grid_, row, column).value_or(0.0f);
    const float changed = multiply ? value * by : value + by;
    if (voltage < 0) {
      setNumber(row, column, changed);
    } else if (value != 0.0f) {
      setNumber(row, voltage, numberIn(grid_, row, voltage).value_or(0.0f) * changed / value);
    }
  }
  filling_ = false;
  for (int row = 0; row < grid_->rowCount(); ++row) updateComputed(row);
}

void DataEditor::addToColumn() { changeColumn("Add to column", 0.0, false); }

void DataEditor::multiplyColumn() { changeColumn("Multiply column by", 1.0, true); }

void DataEditor::appendSweep() {
  if (!sweeps_) return;
  const int row = sweeps_->rowCount();
  sweeps_->setRowCount(row + 1);
  // A new sweep ends at the last reading, with one turn and one ampere.
  const float values[kSweepColumns] = {
      static_cast<float>(grid_->rowCount()), 0.0f, 1.0f, 1.0f, 0.0f, 0.0f, 0.0f};
  for (int c = 0; c < kSweepColumns; ++c)
    sweeps_->setItem(row, c, new QTableWidgetItem(numberText(values[c])));
}

void DataEditor::deleteSweep() {
  if (!sweeps_) return;
  const int row = sweeps_->currentRow();
  if (row < 0 || sweeps_->rowCount() <= 1) {
    toolkit_.information("A TEM sounding keeps at least one sweep");
    return;
  }
  sweeps_->removeRow(row);
}

bool DataEditor::writeSweeps(core::Sounding& target) {
  core::SoundingData& d = target.data();
  const int sets = sweeps_->rowCount();
  std::int32_t previous = 0;
  for (int k = 0; k < sets; ++k) {
    float values[kSweepColumns];
    for (int c = 0; c < kSweepColumns; ++c) {
      const auto value = numberIn(sweeps_, k, c);
      if (!value) {
        toolkit_.warning("NOT A NUMBER IN SWEEP " + std::to_string(k + 1) + ", COLUMN " +
                         std::to_string(c + 1));
        return false;
      }
      values[c] = *value;
    }
    // The last sweep ends at the last reading whatever its cell says, so
    // that readings added or deleted above need no second edit.
    const auto last = k == sets - 1 ? target.header.NDATA
                                    : static_cast<std::int32_t>(std::lround(values[kLastGate]));
    if (k == sets - 1) sweeps_->item(k, kLastGate)->setText(QString::number(last));
    if (last <= previous || last > target.header.NDATA) {
      toolkit_.warning("THE LAST GATES OF THE SWEEPS MUST RISE TO THE LAST READING " +
                       std::to_string(target.header.NDATA));
      return false;
    }
    previous = last;
    const auto index = static_cast<std::size_t>(k);
    d.NSET[index] = last;
    d.FREQ[index] = values[kFrequency];
    d.AMPS[index] = values[kCurrent];
    d.NTURNS[index] =
        std::max<std::int32_t>(1, static_cast<std::int32_t>(std::lround(values[kTurns])));
    d.RAMP[index] = values[kRamp];
    d.AREA[index] = values[kArea];
    d.TSHIFT[index] = values[kDelay];
  }
  return forward::checkSweepFrequencies(target, toolkit_);
}

bool DataEditor::writeTo(core::Sounding& target) {
  const int rows = grid_->rowCount();
  if (rows < 1) {
    toolkit_.warning("A sounding needs at least one reading");
    return false;
  }
  core::DataHeader header = header_;
  header.NDATA = rows;
  header.NSHIFT = 0;
  if (sweeps_) header.NSETS = std::max(1, sweeps_->rowCount());
  if (dipoleLength_) header.dipoleLength = static_cast<float>(dipoleLength_->value());
  if (loop_.size() == 4) {
    header.loopSizeX = static_cast<float>(loop_[0]->value());
    header.loopSizeY = static_cast<float>(loop_[1]->value());
    header.coilX = static_cast<float>(loop_[2]->value());
    header.coilY = static_cast<float>(loop_[3]->value());
  }
  if (!files::beginImportedData(target, header)) {
    toolkit_.warning("CANNOT ALLOCATE ARRAYS FOR " + std::to_string(rows) + " READINGS");
    return false;
  }
  if (dipoleLength_ && core::traitsOf(header.dataType).dipoleLengthInFactor &&
      header.dipoleLength <= 0.0f) {
    toolkit_.warning("THE DIPOLE LENGTH MUST BE A POSITIVE NUMBER");
    return false;
  }
  core::SoundingData& d = target.data();
  for (int i = 0; i < rows; ++i) {
    for (std::size_t col = 0; col < columns_.size(); ++col) {
      const Column c = columns_[col];
      if (c.kind == Kind::Mask) {
        const QTableWidgetItem* item = grid_->item(i, static_cast<int>(col));
        d.LMASK(i, c.index) = core::logical(item && item->checkState() == Qt::Checked);
        continue;
      }
      const auto value = numberIn(grid_, i, static_cast<int>(col));
      if (!value) {
        toolkit_.warning("NOT A NUMBER IN ROW " + std::to_string(i + 1) + ", COLUMN " +
                         std::to_string(col + 1));
        return false;
      }
      switch (c.kind) {
        case Kind::Geometry:
          d.TIME(i, c.index) = *value;
          break;
        case Kind::Voltage:
          d.VOLTS(i, 1) = *value;
          break;
        case Kind::Current:
          d.VOLTS(i, 2) = *value;
          break;
        case Kind::Value:
        case Kind::Computed:
          d.VOLTS(i, c.index) = *value;
          break;
        case Kind::Error:
          d.UVOLTS(i, c.index) = *value;
          break;
        case Kind::Mask:
          break;
      }
    }
    if (const auto fault = geometryFault(i)) {
      grid_->setCurrentCell(i, 0);
      toolkit_.warning(*fault);
      return false;
    }
  }
  if (sweeps_) return writeSweeps(target);
  return true;
}

void DataEditor::accept() {
  if (writeTo(result_)) QDialog::accept();
}

}  // namespace zeva::ui::qt
