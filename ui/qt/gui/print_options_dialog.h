#pragma once
// The print options dialog of File, Print: which sections the printed report
// holds (the plots, the data listing, the layered and smooth models with
// their bounds and resolution, the voltage-and-current worksheet) and whom
// it is prepared for. The choices are remembered in the settings file.

#include <QDialog>
#include <vector>

#include "present/print_report.h"
#include "settings/settings.h"

class QCheckBox;
class QLineEdit;

namespace zeva::ui::qt {

class PrintOptionsDialog : public QDialog {
 public:
  PrintOptionsDialog(const present::ReportOptions& options, QWidget* parent = nullptr);

  present::ReportOptions options() const;

 private:
  std::vector<QCheckBox*> sections_;
  QLineEdit* userName_ = nullptr;
};

// The report sections chosen in the settings file, and back.
present::ReportOptions reportOptionsOf(const settings::DisplayFlags& flags);
void storeReportOptions(const present::ReportOptions& options, settings::DisplayFlags& flags);

}  // namespace zeva::ui::qt
