#include "ui/qt/graph_range_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleValidator>
#include <QFormLayout>
#include <QLineEdit>

#include "present/graph_frame_drawing.h"

namespace zeva::qt {

bool editGraphRange(QWidget* parent, core::CurrentSounding& current, core::GraphPick pick,
                    ui::Toolkit& toolkit) {
  if (pick.graph < 0 || pick.graph > 1) return false;
  const auto& frames = pick.dataPlot ? current.dataFrames : current.modelFrames;
  const core::GraphFrame& g = frames[static_cast<std::size_t>(pick.graph)];
  const float left = present::frameLeft(g), bottom = present::frameBottom(g);
  const float ends[4] = {
      present::ValueX(left, g), present::ValueX(left + present::frameWidth(g), g),
      present::ValueY(bottom, g), present::ValueY(bottom + present::frameHeight(g), g)};

  QDialog dialog(parent);
  dialog.setObjectName("graphRangeDialog");
  dialog.setWindowTitle(QObject::tr("Graph Properties"));
  auto* form = new QFormLayout(&dialog);
  const char* labels[4] = {
      "Horizontal axis from:", "Horizontal axis to:", "Vertical axis from:", "Vertical axis to:"};
  QLineEdit* fields[4];
  for (int i = 0; i < 4; ++i) {
    fields[i] = new QLineEdit(QString::number(static_cast<double>(ends[i]), 'g', 5), &dialog);
    fields[i]->setObjectName(QStringLiteral("range%1").arg(i));
    fields[i]->setValidator(new QDoubleValidator(fields[i]));
    form->addRow(QObject::tr(labels[i]), fields[i]);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return false;
  float v[4];
  for (int i = 0; i < 4; ++i) v[i] = fields[i]->text().toFloat();
  if (core::setGraphRange(current, pick, v[0], v[1], v[2], v[3])) return true;
  toolkit.information(kRangeRefusedMessage);
  return false;
}

}  // namespace zeva::qt
