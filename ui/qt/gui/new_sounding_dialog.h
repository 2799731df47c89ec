#pragma once
// The dialogs of File, New for each family of soundings: the electrode array
// (and IP unit, or readings as voltage and current) of a DC sounding, the
// coil configuration with the fixed frequency, spacing and height of a
// MaxMin sounding, the loop type, voltage unit, loop, receiver offset and
// first sweep of a TEM sounding, and the
// length unit. They give the data header the new sounding starts with and
// the geometry new readings start with.

#include <QDialog>
#include <optional>
#include <vector>

#include "core/program/new_sounding.h"
#include "core/program/program.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFormLayout;

namespace zeva::ui::qt {

class NewSoundingDialog : public QDialog {
 public:
  // `forImport`: the dialog of a flat ASCII import of the family, which
  // reads the frequencies from the file and leaves the dipole length to the
  // column dialog.
  explicit NewSoundingDialog(core::NewSoundingKind kind, QWidget* parent = nullptr,
                             bool forImport = false);

  core::NewSoundingChoices choices() const;
  // The header the choices make (counts of the family, no readings).
  core::DataHeader header() const;
  // Geometry values a new reading starts with (MaxMin: frequency, spacing,
  // height); empty for the other families.
  std::vector<float> geometryDefaults() const;
  // The choices as the flat ASCII import takes them.
  core::ImportChoices importChoices() const;

 private:
  void addTemAcquisition(QFormLayout* form);

  core::NewSoundingKind kind_;
  QComboBox* type_ = nullptr;
  QComboBox* ipUnit_ = nullptr;
  QComboBox* varying_ = nullptr;
  QComboBox* voltageUnit_ = nullptr;
  QComboBox* lengthUnit_ = nullptr;
  QCheckBox* voltageAndCurrent_ = nullptr;
  QDoubleSpinBox* frequency_ = nullptr;
  QDoubleSpinBox* spacing_ = nullptr;
  QDoubleSpinBox* height_ = nullptr;
  QDoubleSpinBox* dipoleLength_ = nullptr;
  // TEM: loop sides, receiver offset, then current, turns, receiver area,
  // ramp and base frequency of the first sweep.
  std::vector<QDoubleSpinBox*> tem_;
};

// The dialog of a flat ASCII import (File, Import) for the main window: the
// family's choices, or for EM conductivity and MT data their one data type.
core::ImportDialog importDialogFor(QWidget* parent);

}  // namespace zeva::ui::qt
