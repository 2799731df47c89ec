#include "ui/qt/gui/print_options_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace zeva::ui::qt {

namespace {

// The report sections in the order the report prints them.
struct Section {
  const char* text;
  const char* name;
  bool present::ReportOptions::*flag;
};
constexpr Section kSections[] = {
    {"&Plots", "printPlots", &present::ReportOptions::plots},
    {"&Data listing", "printData", &present::ReportOptions::data},
    {"&Layered model", "printModel", &present::ReportOptions::layeredModel},
    {"Layered model &bounds", "printBounds", &present::ReportOptions::layeredBounds},
    {"Layered model &resolution", "printResolution", &present::ReportOptions::layeredResolution},
    {"&Smooth model", "printSmoothModel", &present::ReportOptions::smoothModel},
    {"Smooth model b&ounds", "printSmoothBounds", &present::ReportOptions::smoothBounds},
    {"Smooth model res&olution", "printSmoothResolution",
     &present::ReportOptions::smoothResolution},
    {"&Voltage and current worksheet", "printWorksheet", &present::ReportOptions::worksheet}};

}  // namespace

PrintOptionsDialog::PrintOptionsDialog(const present::ReportOptions& options, QWidget* parent)
    : QDialog(parent) {
  setObjectName("printOptionsDialog");
  setWindowTitle(tr("Print Options"));
  auto* layout = new QVBoxLayout(this);
  auto* box = new QGroupBox(tr("Print"), this);
  auto* column = new QVBoxLayout(box);
  for (const Section& section : kSections) {
    auto* check = new QCheckBox(tr(section.text), box);
    check->setObjectName(section.name);
    check->setChecked(options.*section.flag);
    column->addWidget(check);
    sections_.push_back(check);
  }
  layout->addWidget(box);
  auto* form = new QFormLayout;
  userName_ = new QLineEdit(QString::fromStdString(options.userName), this);
  userName_->setObjectName("preparedFor");
  userName_->setMaxLength(80);
  form->addRow(tr("Prepared &for:"), userName_);
  layout->addLayout(form);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

present::ReportOptions PrintOptionsDialog::options() const {
  present::ReportOptions options;
  for (std::size_t k = 0; k < sections_.size(); ++k)
    options.*kSections[k].flag = sections_[k]->isChecked();
  options.userName = userName_->text().toStdString();
  return options;
}

present::ReportOptions reportOptionsOf(const settings::DisplayFlags& flags) {
  present::ReportOptions options;
  options.plots = flags.printGraph;
  options.data = flags.printData;
  options.layeredModel = flags.printModel;
  options.layeredBounds = flags.printBounds;
  options.layeredResolution = flags.printResolution;
  options.smoothModel = flags.printSmoothModel;
  options.smoothBounds = flags.printSmoothBounds;
  options.smoothResolution = flags.printSmoothResolution;
  options.worksheet = flags.printWorksheet;
  return options;
}

void storeReportOptions(const present::ReportOptions& options, settings::DisplayFlags& flags) {
  flags.printGraph = options.plots;
  flags.printData = options.data;
  flags.printModel = options.layeredModel;
  flags.printBounds = options.layeredBounds;
  flags.printResolution = options.layeredResolution;
  flags.printSmoothModel = options.smoothModel;
  flags.printSmoothBounds = options.smoothBounds;
  flags.printSmoothResolution = options.smoothResolution;
  flags.printWorksheet = options.worksheet;
}

}  // namespace zeva::ui::qt
