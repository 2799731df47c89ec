#include "ui/qt/gui/new_sounding_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>

#include "core/record/data_type.h"
#include "files/flat_ascii_import.h"

namespace zeva::ui::qt {

namespace {

QString text(std::string_view value) {
  return QString::fromLatin1(value.data(), static_cast<qsizetype>(value.size()));
}

QDoubleSpinBox* numberBox(const QString& name, double value, QWidget* parent) {
  auto* box = new QDoubleSpinBox(parent);
  box->setObjectName(name);
  box->setRange(0.0, 1.0e6);
  box->setDecimals(3);
  box->setValue(value);
  return box;
}

QComboBox* choiceBox(const QString& name, const QStringList& items, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  box->addItems(items);
  return box;
}

QString titleOf(core::NewSoundingKind kind) {
  using K = core::NewSoundingKind;
  switch (kind) {
    case K::Dc:
      return QObject::tr("New DC Resistivity Sounding");
    case K::DcIp:
      return QObject::tr("New Resistivity/IP Sounding");
    case K::MaxMin:
      return QObject::tr("New MaxMin Sounding");
    case K::EmConductivity:
      return QObject::tr("New EM Conductivity Sounding");
    case K::Mt:
      return QObject::tr("New MT Sounding");
    case K::Tem:
      return QObject::tr("New TEM Sounding");
  }
  return QObject::tr("New Sounding");
}

}  // namespace

NewSoundingDialog::NewSoundingDialog(core::NewSoundingKind kind, QWidget* parent, bool forImport)
    : QDialog(parent), kind_(kind) {
  using K = core::NewSoundingKind;
  setObjectName(forImport ? "importDialog" : "newSoundingDialog");
  setWindowTitle(forImport ? tr("Import Data") : titleOf(kind));
  auto* form = new QFormLayout(this);
  type_ = choiceBox("dataType", {}, this);
  switch (kind) {
    case K::Dc:
    case K::DcIp:
      for (auto t : {core::type::kWenner, core::type::kSchlumberger, core::type::kDipoleDipole,
                     core::type::kPoleDipole, core::type::kPolePole})
        type_->addItem(text(t));
      type_->setCurrentIndex(1);
      form->addRow(tr("&Array:"), type_);
      if (kind == K::DcIp) {
        ipUnit_ = choiceBox("ipUnit", {"(pfe)", "(mSec)", "(mRad)"}, this);
        form->addRow(tr("&IP unit:"), ipUnit_);
      } else {
        voltageAndCurrent_ = new QCheckBox(tr("Enter &voltage and current"), this);
        voltageAndCurrent_->setObjectName("voltageAndCurrent");
        form->addRow(voltageAndCurrent_);
      }
      // The column dialog of an import asks for the dipole length itself.
      if (!forImport) {
        dipoleLength_ = numberBox("dipoleLength", 10.0, this);
        form->addRow(tr("&Dipole length (dipole arrays):"), dipoleLength_);
      }
      break;
    case K::MaxMin:
      for (auto t : {core::type::kHorizontalCoplanar, core::type::kVerticalCoplanar,
                     core::type::kVerticalCoaxial})
        type_->addItem(text(t));
      form->addRow(tr("&Coil configuration:"), type_);
      varying_ = choiceBox("varying", {tr("Frequency"), tr("Spacing"), tr("Height")}, this);
      form->addRow(tr("&Sounding varies:"), varying_);
      frequency_ = numberBox("frequency", 1760.0, this);
      spacing_ = numberBox("spacing", 100.0, this);
      height_ = numberBox("height", 0.0, this);
      // An import reads the frequencies from the file; spacing and height
      // stand for columns the file does not have.
      if (!forImport) form->addRow(tr("&Frequency (Hz):"), frequency_);
      frequency_->setVisible(!forImport);
      form->addRow(tr("S&pacing:"), spacing_);
      form->addRow(tr("&Height:"), height_);
      break;
    case K::EmConductivity:
      type_->addItem(text(core::type::kEmConductivity));
      form->addRow(tr("Data type:"), type_);
      break;
    case K::Mt:
      type_->addItem(text(core::type::kMagnetotelluric));
      form->addRow(tr("Data type:"), type_);
      break;
    case K::Tem:
      type_->addItems({text(core::type::kCentralLoopTem), text(core::type::kCoincidentLoopTem)});
      form->addRow(tr("&Loop:"), type_);
      voltageUnit_ = choiceBox("voltageUnit", {"uV/Amp", "nV/Am**2", "V/Amp"}, this);
      voltageUnit_->setCurrentIndex(1);
      form->addRow(tr("&Voltage unit:"), voltageUnit_);
      // The editor that follows an import asks for these itself.
      if (!forImport) addTemAcquisition(form);
      break;
  }
  lengthUnit_ = choiceBox("lengthUnit", {"(meters)", "(feet)"}, this);
  form->addRow(tr("&Units:"), lengthUnit_);
  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
  form->addRow(box);
}

void NewSoundingDialog::addTemAcquisition(QFormLayout* form) {
  const core::TemAcquisition start;
  const std::pair<const char*, float> fields[] = {{"Loop side &x:", start.loopSizeX},
                                                  {"Loop side &y (0: square):", start.loopSizeY},
                                                  {"Receiver offset x:", start.coilX},
                                                  {"Receiver offset y:", start.coilY},
                                                  {"C&urrent (A):", start.current},
                                                  {"&Turns:", static_cast<float>(start.turns)},
                                                  {"&Receiver area (m^2):", start.receiverArea},
                                                  {"Ra&mp (us):", start.ramp},
                                                  {"&Base frequency (Hz):", start.baseFrequency}};
  int k = 0;
  for (auto [label, value] : fields) {
    tem_.push_back(numberBox(QString("tem%1").arg(k++), value, this));
    form->addRow(tr(label), tem_.back());
  }
  // Offsets may lie on either side of the loop centre.
  for (QDoubleSpinBox* offset : {tem_[2], tem_[3]}) offset->setMinimum(-1.0e6);
  tem_[5]->setDecimals(0);
  tem_[5]->setMinimum(1.0);
}

core::NewSoundingChoices NewSoundingDialog::choices() const {
  core::NewSoundingChoices c;
  c.dataType = type_->currentText().toStdString();
  c.lengthUnit = lengthUnit_->currentText().toStdString();
  if (ipUnit_) c.ipUnit = ipUnit_->currentText().toStdString();
  if (voltageAndCurrent_) c.voltageAndCurrent = voltageAndCurrent_->isChecked();
  if (dipoleLength_) c.dipoleLength = static_cast<float>(dipoleLength_->value());
  if (varying_) c.mode = varying_->currentIndex() + 1;
  if (voltageUnit_) c.temVoltageUnit = voltageUnit_->currentText().toStdString();
  if (tem_.size() == 9) {
    const auto v = [this](std::size_t k) { return static_cast<float>(tem_[k]->value()); };
    c.tem = {v(0), v(1), v(2), v(3), v(4), static_cast<std::int32_t>(tem_[5]->value()),
             v(6), v(7), v(8)};
  }
  return c;
}

core::DataHeader NewSoundingDialog::header() const {
  return core::newSoundingHeader(kind_, choices());
}

std::vector<float> NewSoundingDialog::geometryDefaults() const {
  if (!frequency_) return {};
  return {static_cast<float>(frequency_->value()), static_cast<float>(spacing_->value()),
          static_cast<float>(height_->value())};
}

core::ImportChoices NewSoundingDialog::importChoices() const {
  using K = core::NewSoundingKind;
  const core::NewSoundingChoices c = choices();
  core::ImportChoices given;
  given.dataType = c.dataType;
  given.lengthUnit = c.lengthUnit;
  switch (kind_) {
    case K::Dc:
    case K::DcIp:
      if (voltageAndCurrent_) given.voltageAndCurrent = c.voltageAndCurrent;
      if (ipUnit_) given.ipUnit = c.ipUnit;
      break;
    case K::MaxMin:
      given.mode = c.mode;
      given.fixedSpacing = static_cast<float>(spacing_->value());
      given.fixedHeight = static_cast<float>(height_->value());
      break;
    case K::Tem:
      given.temVoltageUnit = c.temVoltageUnit;
      break;
    case K::EmConductivity:
    case K::Mt:
      break;
  }
  return given;
}

core::ImportDialog importDialogFor(QWidget* parent) {
  return [parent](files::FlatAsciiKind kind, core::ImportChoices& given) {
    using F = files::FlatAsciiKind;
    using K = core::NewSoundingKind;
    std::optional<K> family;
    switch (kind) {
      case F::Resistivity:
        family = K::Dc;
        break;
      case F::ResistivityIp:
        family = K::DcIp;
        break;
      case F::MaxMin:
        family = K::MaxMin;
        break;
      case F::Tem:
        family = K::Tem;
        break;
      case F::EmConductivity:
        given.dataType = std::string(core::type::kEmConductivity);
        return true;
      case F::Magnetotelluric:
        given.dataType = std::string(core::type::kMagnetotelluric);
        return true;
      default:
        return true;
    }
    NewSoundingDialog dialog(*family, parent, /*forImport=*/true);
    if (dialog.exec() != QDialog::Accepted) return false;
    given = dialog.importChoices();
    return true;
  };
}

}  // namespace zeva::ui::qt
