#pragma once
// The column dialog of the flat ASCII importers: the file in a read-only
// text field beside the column fields of the importer (integers; 0 leaves
// an optional column out), the row bounds with their check boxes, and the
// importer's own choices (dipole length, TEM time unit, depths times 1000).
// A file the program's ASCII data export wrote is recognised by its column
// header and proposed with the export's columns; "Export Layout" proposes
// them for any file.

#include <QDialog>
#include <QString>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "files/flat_ascii_import.h"
#include "settings/settings.h"
#include "ui/toolkit/toolkit.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFormLayout;
class QPlainTextEdit;
class QSpinBox;
class QVBoxLayout;

namespace zeva::ui::qt {

// The columns of a column header of the ASCII data export ("NUMBER", then
// one name per column) for the importer `kind`, over `base`: the columns
// the header names are set, the optional ones it lacks are set to 0. Empty
// when no line of `text` is such a header.
std::optional<settings::ImportColumns> columnsOfExportHeader(std::string_view text,
                                                             const files::FlatAsciiRequest& request,
                                                             settings::ImportColumns base);

// The columns the program's ASCII data export writes for the request's data type.
settings::ImportColumns exportLayout(const files::FlatAsciiRequest& request,
                                     settings::ImportColumns base);

class ColumnDialog : public QDialog {
 public:
  // Shows `text` (the file's contents) and the settings of `columns`.
  ColumnDialog(const QString& title, const QString& text, const files::FlatAsciiRequest& request,
               const settings::ImportColumns& columns, QWidget* parent = nullptr);

  // The values after OK: unticked row bounds negated, the fields the data
  // type does not use set to 0.
  settings::ImportColumns columns() const;
  // The request with the dialog's dipole length, time unit and choices.
  files::FlatAsciiRequest request() const;

  QSpinBox* field(const std::string& key) const;
  QPlainTextEdit* fileView() const { return text_; }
  void useExportLayout();

 private:
  // The column fields of the importer, with its own choices.
  void addColumnFields(const settings::ImportColumns& columns);
  void addResistivityFields(const settings::ImportColumns& columns);
  void addField(const std::string& key, const QString& label, int value, bool enabled = true);
  // A row bound: the field shows its size, the box whether it is used.
  void addRowBound(const QString& label, const QString& name, int setting, QSpinBox*& field,
                   QCheckBox*& use);
  void addHintAndButtons(QVBoxLayout* side);
  void showColumns(const settings::ImportColumns& columns);

  files::FlatAsciiRequest request_;
  settings::ImportColumns base_;
  QPlainTextEdit* text_ = nullptr;
  std::map<std::string, QSpinBox*> fields_;
  QSpinBox* firstRow_ = nullptr;
  QSpinBox* lastRow_ = nullptr;
  QCheckBox* useFirst_ = nullptr;
  QCheckBox* useLast_ = nullptr;
  QDoubleSpinBox* dipoleLength_ = nullptr;
  QComboBox* timeUnit_ = nullptr;
  QCheckBox* times1000_ = nullptr;
  QFormLayout* form_ = nullptr;
};

// The Program's column dialog on the Qt side: reads the file (with the
// messages of an unreadable or empty file) and runs the dialog.
bool runColumnDialog(QWidget* parent, ui::Toolkit& toolkit, const std::filesystem::path& file,
                     files::FlatAsciiRequest& request, settings::ImportColumns& columns);

}  // namespace zeva::ui::qt
