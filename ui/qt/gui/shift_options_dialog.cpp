#include "ui/qt/gui/shift_options_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QStringList>
#include <QVBoxLayout>
#include <algorithm>

namespace zeva::ui::qt {

ShiftOptionsDialog::ShiftOptionsDialog(int mode, int target, QWidget* parent) : QDialog(parent) {
  setObjectName("shiftDialog");
  setWindowTitle(QStringLiteral("Shift Data Options"));
  new QVBoxLayout(this);
  modes_ = addChoices(tr("Shift"),
                      {tr("Shift to match &long-spacing data"),
                       tr("Shift to match &short-spacing data"), tr("Do &not shift")},
                      mode);
  targets_ = addChoices(tr("Target"),
                        {tr("Shift the &data and reduce the number of points"),
                         tr("Shift the s&ynthetics to match the original data")},
                        target);
  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout()->addWidget(box);
}

QButtonGroup* ShiftOptionsDialog::addChoices(const QString& title, const QStringList& choices,
                                             int current) {
  auto* box = new QGroupBox(title, this);
  auto* column = new QVBoxLayout(box);
  auto* buttons = new QButtonGroup(box);
  for (int i = 0; i < choices.size(); ++i) {
    auto* button = new QRadioButton(choices[i], box);
    buttons->addButton(button, i + 1);
    button->setChecked(i + 1 == current);
    column->addWidget(button);
  }
  layout()->addWidget(box);
  return buttons;
}

int ShiftOptionsDialog::mode() const { return std::max(1, modes_->checkedId()); }

int ShiftOptionsDialog::target() const { return std::max(1, targets_->checkedId()); }

std::optional<std::pair<int, int>> askShiftOptions(QWidget* parent, int mode, int target) {
  ShiftOptionsDialog dialog(mode, target, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return std::pair{dialog.mode(), dialog.target()};
}

}  // namespace zeva::ui::qt
