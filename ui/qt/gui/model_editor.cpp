#include "ui/qt/gui/model_editor.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>
#include <cstdio>

#include "core/record/data_type.h"

namespace zeva::ui::qt {

namespace {

QString numberText(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", static_cast<double>(value));
  return QString::fromLatin1(text);
}

}  // namespace

ModelEditor::ModelEditor(const core::Sounding& S, ui::Toolkit& toolkit,
                         std::function<bool(const core::LayeredModelRequest&)> apply,
                         std::function<void()> forward, QWidget* parent)
    : QDialog(parent), toolkit_(toolkit), apply_(std::move(apply)), forward_(std::move(forward)) {
  setWindowTitle(tr("Model: %1").arg(QString::fromStdString(S.header.name.trimmed())));
  // The grid offers the kinds of model the program takes: resistivity, or
  // resistivity with one IP parameter.
  npk_ = std::clamp(S.NPK(), 1, 2);
  const int layers = std::max(1, S.NLAYER());
  const bool conductivity = core::traitsOf(S.header.dataType).conductivityModel;

  grid_ = new QTableWidget(layers, npk_ + 1, this);
  grid_->setObjectName("modelGrid");
  QStringList headings{conductivity ? tr("Conductivity (mS/m)") : tr("Resistivity (ohm-m)")};
  if (npk_ > 1) headings << tr("IP ") + QString::fromStdString(S.header.ipUnit.trimmed());
  headings << (core::isSet(S.model.depths) ? tr("Depth") : tr("Thickness"));
  grid_->setHorizontalHeaderLabels(headings);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  const auto& PAR = S.M.PAR;
  const auto& LFIX = S.M.LFIX;
  auto parameter = [&](std::size_t k) { return k < PAR.size() ? PAR[k] : 10.0f; };
  auto fixed = [&](std::size_t k) { return k < LFIX.size() && core::isSet(LFIX[k]); };
  for (int layer = 0; layer < layers; ++layer) {
    for (int block = 0; block < npk_; ++block) {
      const auto k = static_cast<std::size_t>(block * S.NLAYER() + layer);
      setValue(layer, block, S.hasModel() ? parameter(k) : 100.0f, fixed(k));
    }
    if (layer < layers - 1) {
      const auto k = static_cast<std::size_t>(S.NPK() * S.NLAYER() + layer);
      setValue(layer, npk_, S.hasModel() ? parameter(k) : 10.0f, fixed(k));
    }
  }
  depths_ = new QCheckBox(tr("&Depths instead of thicknesses"), this);
  depths_->setChecked(core::isSet(S.model.depths));
  connect(depths_, &QCheckBox::toggled, this, [this](bool on) { switchGeometry(on); });

  auto* buttons = new QHBoxLayout;
  auto* add = new QPushButton(tr("&Add Layer"), this);
  auto* remove = new QPushButton(tr("De&lete Layer"), this);
  auto* run = new QPushButton(tr("&Forward"), this);
  run->setObjectName("forwardButton");
  for (QPushButton* b : {add, remove, run}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  connect(add, &QPushButton::clicked, this, &ModelEditor::addLayer);
  connect(remove, &QPushButton::clicked, this, &ModelEditor::deleteLayer);
  connect(run, &QPushButton::clicked, this, &ModelEditor::forwardRun);
  buttons->addStretch();
  buttons->addWidget(depths_);
  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(box, &QDialogButtonBox::accepted, this, &ModelEditor::accept);
  connect(box, &QDialogButtonBox::rejected, this, &ModelEditor::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_);
  layout->addLayout(buttons);
  layout->addWidget(box);
  resize(560, 420);
}

void ModelEditor::setValue(int row, int column, float value, bool fixed) {
  auto* item = new QTableWidgetItem(numberText(value));
  item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
  item->setCheckState(fixed ? Qt::Checked : Qt::Unchecked);
  item->setToolTip(tr("Checked: the parameter is fixed during inversion"));
  grid_->setItem(row, column, item);
}

void ModelEditor::switchGeometry(bool toDepths) {
  // Thickness column <-> bottom depths, top down.
  float depth = 0.0f;
  float previous = 0.0f;
  for (int row = 0; row + 1 < grid_->rowCount(); ++row) {
    QTableWidgetItem* item = grid_->item(row, npk_);
    if (!item) continue;
    const float value = item->text().toFloat();
    if (toDepths) {
      depth += value;
      item->setText(numberText(depth));
    } else {
      item->setText(numberText(value - previous));
      previous = value;
    }
  }
  grid_->setHorizontalHeaderItem(npk_,
                                 new QTableWidgetItem(toDepths ? tr("Depth") : tr("Thickness")));
}

void ModelEditor::addLayer() {
  // A new layer below the current one, copied from it.
  const int row = std::max(0, grid_->currentRow());
  const int rows = grid_->rowCount();
  grid_->insertRow(row + 1);
  for (int column = 0; column < npk_; ++column) {
    const QTableWidgetItem* source = grid_->item(row, column);
    setValue(row + 1, column, source ? source->text().toFloat() : 100.0f, false);
  }
  // The half-space stays last: the old last layer gets a thickness.
  const int geometryRow = row + 1 < rows ? row + 1 : row;
  const QTableWidgetItem* above = grid_->item(std::max(0, geometryRow - 1), npk_);
  const float thickness = depths_->isChecked() ? 0.0f : (above ? above->text().toFloat() : 10.0f);
  if (depths_->isChecked()) {
    const float top = geometryRow > 0 && above ? above->text().toFloat() : 0.0f;
    const QTableWidgetItem* below = grid_->item(geometryRow + 1, npk_);
    const float bottom = below ? below->text().toFloat() : 2.0f * std::max(top, 5.0f);
    setValue(geometryRow, npk_, 0.5f * (top + bottom), false);
  } else {
    setValue(geometryRow, npk_, thickness > 0.0f ? thickness : 10.0f, false);
  }
  delete grid_->takeItem(grid_->rowCount() - 1, npk_);
  grid_->setCurrentCell(row + 1, 0);
}

void ModelEditor::deleteLayer() {
  if (grid_->rowCount() <= 1) {
    toolkit_.information("Cannot delete layer from single layer model");
    return;
  }
  const int row = std::max(0, grid_->currentRow());
  grid_->removeRow(row);
  delete grid_->takeItem(grid_->rowCount() - 1, npk_);
}

std::optional<core::LayeredModelRequest> ModelEditor::request() const {
  core::LayeredModelRequest request;
  request.depths = depths_->isChecked();
  const int layers = grid_->rowCount();
  int index = 0;
  auto read = [&](int row, int column, std::vector<float>& into) {
    ++index;
    const QTableWidgetItem* item = grid_->item(row, column);
    bool ok = item != nullptr;
    const float value = ok ? item->text().trimmed().toFloat(&ok) : 0.0f;
    if (!ok || !std::isfinite(value)) return false;
    into.push_back(value);
    if (item->checkState() == Qt::Checked) request.fixed.push_back(index);
    return true;
  };
  // PAR order: every resistivity, every IP parameter, then the geometry.
  for (int row = 0; row < layers; ++row)
    if (!read(row, 0, request.resistivity)) return std::nullopt;
  if (npk_ > 1)
    for (int row = 0; row < layers; ++row)
      if (!read(row, 1, request.ip)) return std::nullopt;
  for (int row = 0; row + 1 < layers; ++row)
    if (!read(row, npk_, request.geometry)) return std::nullopt;
  return request;
}

bool ModelEditor::applyGrid() {
  const auto model = request();
  if (!model) {
    toolkit_.warning("Every cell of the model grid must hold a number");
    return false;
  }
  return apply_ && apply_(*model);
}

void ModelEditor::forwardRun() {
  if (applyGrid() && forward_) forward_();
}

void ModelEditor::accept() {
  if (applyGrid()) QDialog::accept();
}

}  // namespace zeva::ui::qt
