#include "ui/qt/gui/column_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "core/record/data_type.h"
#include "files/ascii_export.h"

namespace zeva::ui::qt {

namespace {

using files::FlatAsciiKind;
using Columns = settings::ImportColumns;

// The most of a file the dialog shows.
constexpr qint64 kShownBytes = 1 << 20;
using Member = int Columns::*;

// Every column setting an importer may show, by the key the dialog uses.
const std::map<std::string, Member>& members() {
  static const std::map<std::string, Member> table = {{"spacing", &Columns::spacing},
                                                      {"resistivity", &Columns::resistivity},
                                                      {"mn", &Columns::mn},
                                                      {"current", &Columns::current},
                                                      {"ipData", &Columns::ipData},
                                                      {"frequency", &Columns::frequency},
                                                      {"inPhase", &Columns::inPhase},
                                                      {"quadrature", &Columns::quadrature},
                                                      {"space", &Columns::space},
                                                      {"height", &Columns::height},
                                                      {"voltage", &Columns::voltage},
                                                      {"modelResist", &Columns::modelResist},
                                                      {"rhoError", &Columns::rhoError},
                                                      {"phaseError", &Columns::phaseError},
                                                      {"time", &Columns::time},
                                                      {"wellDepth", &Columns::wellDepth},
                                                      {"wellResist", &Columns::wellResist},
                                                      {"distance", &Columns::distance}};
  return table;
}

bool isDc(FlatAsciiKind kind) {
  return kind == FlatAsciiKind::Resistivity || kind == FlatAsciiKind::ResistivityIp;
}

bool schlumberger(const files::FlatAsciiRequest& r) {
  return core::traitsOf(r.header.dataType).potentialSpacing;
}

bool voltageAndCurrent(const files::FlatAsciiRequest& r) {
  return isDc(r.kind) && core::isSet(r.header.voltageAndCurrent);
}

bool dipoleArray(const files::FlatAsciiRequest& r) {
  return isDc(r.kind) && core::traitsOf(r.header.dataType).separationFactor();
}

// The words of a column header, with the two-word names ("IP VALUE",
// "RES ERROR", "PHASE ERROR") kept together.
std::vector<std::string> headerWords(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string word; in >> word;) {
    if ((word == "VALUE" || word == "ERROR") && !words.empty())
      words.back() += " " + word;
    else
      words.push_back(word);
  }
  return words;
}

// The setting a named export column fills for an importer.
std::optional<Member> memberOfHeader(const std::string& name, const files::FlatAsciiRequest& r) {
  const bool dc = isDc(r.kind);
  if (name == "AB/2") return &Columns::spacing;
  if (name == "SPACING") return dc ? &Columns::spacing : &Columns::space;
  if (name == "MN") return &Columns::mn;
  if (name == "RESISTIVITY")
    return voltageAndCurrent(r) ? std::nullopt : std::optional<Member>(&Columns::resistivity);
  if (name == "VOLTAGE")
    return dc ? (voltageAndCurrent(r) ? std::optional<Member>(&Columns::resistivity) : std::nullopt)
              : std::optional<Member>(&Columns::voltage);
  if (name == "CURRENT") return &Columns::current;
  if (name == "IP VALUE") return &Columns::ipData;
  if (name == "FREQUENCY") return &Columns::frequency;
  if (name == "HEIGHT") return &Columns::height;
  if (name == "IN-PHASE") return &Columns::inPhase;
  if (name == "QUADRATURE") return &Columns::quadrature;
  if (name == "HMD") return &Columns::voltage;
  if (name == "PHASE") return &Columns::modelResist;
  if (name == "RES ERROR") return &Columns::rhoError;
  if (name == "PHASE ERROR") return &Columns::phaseError;
  if (name == "TIME") return &Columns::time;
  return std::nullopt;
}

}  // namespace

std::optional<Columns> columnsOfExportHeader(std::string_view text,
                                             const files::FlatAsciiRequest& request, Columns base) {
  std::istringstream in{std::string(text)};
  for (std::string line; std::getline(in, line);) {
    const std::vector<std::string> words = headerWords(line);
    if (words.size() < 2 || words.front() != "NUMBER") continue;
    // Optional columns the file lacks are left out.
    base.mn = base.current = base.rhoError = base.phaseError = 0;
    for (std::size_t i = 1; i < words.size(); ++i)
      if (const auto member = memberOfHeader(words[i], request))
        base.*(*member) = static_cast<int>(i) + 1;
    return base;
  }
  return std::nullopt;
}

Columns exportLayout(const files::FlatAsciiRequest& request, Columns base) {
  core::Sounding empty;
  empty.header = request.header;
  empty.header.NDATA = 0;
  std::ostringstream out;
  files::writeAsciiData(out, empty, false);
  return columnsOfExportHeader(out.str(), request, base).value_or(base);
}

ColumnDialog::ColumnDialog(const QString& title, const QString& text,
                           const files::FlatAsciiRequest& request, const Columns& columns,
                           QWidget* parent)
    : QDialog(parent), request_(request), base_(columns) {
  setObjectName("columnDialog");
  setWindowTitle(title);
  auto* layout = new QHBoxLayout(this);
  text_ = new QPlainTextEdit(this);
  text_->setObjectName("columnFileView");
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  text_->setPlainText(text);
  text_->setMinimumWidth(480);
  layout->addWidget(text_, 1);

  auto* side = new QVBoxLayout;
  form_ = new QFormLayout;
  side->addLayout(form_);
  layout->addLayout(side);

  addColumnFields(columns);
  addRowBound(tr("First Row:"), "firstRow", columns.firstRow, firstRow_, useFirst_);
  addRowBound(tr("Last Row:"), "lastRow", columns.lastRow, lastRow_, useLast_);
  addHintAndButtons(side);

  // A file of the program's own export is read with the export's columns.
  if (const auto exported = columnsOfExportHeader(text.toStdString(), request_, columns))
    showColumns(*exported);
  resize(900, 520);
}

void ColumnDialog::addColumnFields(const Columns& columns) {
  switch (request_.kind) {
    case FlatAsciiKind::Resistivity:
    case FlatAsciiKind::ResistivityIp:
      addResistivityFields(columns);
      break;
    case FlatAsciiKind::MaxMin:
      addField("frequency", tr("Column for Frequency:"), columns.frequency);
      addField("inPhase", tr("Column for In-Phase:"), columns.inPhase);
      addField("quadrature", tr("Column for Quadrature:"), columns.quadrature);
      addField("space", tr("Column for Space:"), columns.space);
      addField("height", tr("Column for Height:"), columns.height);
      break;
    case FlatAsciiKind::EmConductivity:
      addField("frequency", tr("Column for Frequency:"), columns.frequency);
      addField("space", tr("Column for Space:"), columns.space);
      addField("height", tr("Column for Height:"), columns.height);
      addField("voltage", tr("Column for Conductivity:"), columns.voltage);
      break;
    case FlatAsciiKind::Magnetotelluric:
      addField("frequency", tr("Column for Frequency:"), columns.frequency);
      addField("resistivity", tr("Column for Resistivity:"), columns.resistivity);
      addField("modelResist", tr("Column for Phase:"), columns.modelResist);
      addField("rhoError", tr("Column for Resistivity Error:"), columns.rhoError);
      addField("phaseError", tr("Column for Phase Error:"), columns.phaseError);
      break;
    case FlatAsciiKind::Tem:
      addField("time", tr("Column for Time:"), columns.time);
      addField("voltage", tr("Column for Voltage:"), columns.voltage);
      timeUnit_ = new QComboBox(this);
      timeUnit_->setObjectName("timeUnit");
      timeUnit_->addItems({tr("Microseconds"), tr("Milliseconds"), tr("Seconds")});
      timeUnit_->setCurrentIndex(static_cast<int>(request_.timeUnit));
      form_->addRow(tr("Time Unit:"), timeUnit_);
      break;
    case FlatAsciiKind::WellLog:
      addField("wellDepth", tr("Column for Depth:"), columns.wellDepth);
      addField("wellResist", tr("Column for Resistivity:"), columns.wellResist);
      times1000_ = new QCheckBox(tr("Multiply depths by 1000"), this);
      times1000_->setObjectName("depthTimes1000");
      times1000_->setChecked(columns.depthTimes1000);
      form_->addRow(times1000_);
      break;
    case FlatAsciiKind::Model:
      addField("distance", tr("Column for Distance:"), columns.distance);
      addField("modelResist",
               core::traitsOf(request_.header.dataType).conductivityModel
                   ? tr("Column for Conductivity:")
                   : tr("Column for Resistivity:"),
               columns.modelResist);
      break;
  }
}

void ColumnDialog::addResistivityFields(const Columns& columns) {
  const bool sch = schlumberger(request_);
  const bool vc = voltageAndCurrent(request_);
  addField("spacing", sch ? tr("Column for AB/2:") : tr("Column for Spacing:"), columns.spacing);
  addField("resistivity", vc ? tr("Column for Voltage:") : tr("Column for Resistivity:"),
           columns.resistivity);
  addField("mn", tr("Column for MN:"), sch ? columns.mn : 0, sch);
  addField("current", tr("Column for Current:"), vc ? columns.current : 0, vc);
  if (request_.kind == FlatAsciiKind::ResistivityIp)
    addField("ipData", tr("Column for IP Data:"), columns.ipData);
  if (dipoleArray(request_)) {
    dipoleLength_ = new QDoubleSpinBox(this);
    dipoleLength_->setObjectName("dipoleLength");
    dipoleLength_->setRange(0.0, 1.0e6);
    dipoleLength_->setDecimals(3);
    dipoleLength_->setValue(request_.header.dipoleLength);
    form_->addRow(tr("Dipole Length:"), dipoleLength_);
  }
}

void ColumnDialog::addRowBound(const QString& label, const QString& name, int setting,
                               QSpinBox*& field, QCheckBox*& use) {
  field = new QSpinBox(this);
  field->setObjectName(name);
  field->setRange(0, 99999999);
  field->setValue(std::abs(setting));
  use = new QCheckBox(tr("Use"), this);
  use->setObjectName(name + "Used");
  use->setChecked(setting > 0);
  auto* row = new QHBoxLayout;
  row->addWidget(field, 1);
  row->addWidget(use);
  form_->addRow(label, row);
}

void ColumnDialog::addHintAndButtons(QVBoxLayout* side) {
  auto* hint = new QLabel(tr("Rows are counted from 1 in the file; 0 leaves an optional column "
                             "out. Rows whose columns do not all hold numbers are skipped."),
                          this);
  hint->setWordWrap(true);
  side->addWidget(hint);
  side->addStretch(1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  QPushButton* layoutButton = buttons->addButton(tr("Export Layout"), QDialogButtonBox::ResetRole);
  layoutButton->setObjectName("exportLayoutButton");
  layoutButton->setToolTip(tr("The columns of the program's own ASCII data export"));
  connect(layoutButton, &QPushButton::clicked, this, [this] { useExportLayout(); });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  side->addWidget(buttons);
}

void ColumnDialog::addField(const std::string& key, const QString& label, int value, bool enabled) {
  auto* box = new QSpinBox(this);
  box->setObjectName(QString::fromStdString(key) + "Column");
  box->setRange(0, 256);
  box->setValue(std::max(value, 0));
  box->setEnabled(enabled);
  form_->addRow(label, box);
  fields_[key] = box;
}

void ColumnDialog::showColumns(const Columns& columns) {
  for (auto& [key, box] : fields_)
    if (box->isEnabled()) box->setValue(std::max(columns.*members().at(key), 0));
}

void ColumnDialog::useExportLayout() { showColumns(exportLayout(request(), base_)); }

QSpinBox* ColumnDialog::field(const std::string& key) const {
  const auto found = fields_.find(key);
  return found == fields_.end() ? nullptr : found->second;
}

Columns ColumnDialog::columns() const {
  Columns c = base_;
  for (const auto& [key, box] : fields_) c.*members().at(key) = box->value();
  c.firstRow = useFirst_->isChecked() ? firstRow_->value() : -firstRow_->value();
  c.lastRow = useLast_->isChecked() ? lastRow_->value() : -lastRow_->value();
  if (times1000_) c.depthTimes1000 = times1000_->isChecked();
  return c;
}

files::FlatAsciiRequest ColumnDialog::request() const {
  files::FlatAsciiRequest r = request_;
  if (dipoleLength_) r.header.dipoleLength = static_cast<float>(dipoleLength_->value());
  if (timeUnit_) r.timeUnit = static_cast<files::TemTimeUnit>(timeUnit_->currentIndex());
  return r;
}

bool runColumnDialog(QWidget* parent, ui::Toolkit& toolkit, const std::filesystem::path& file,
                     files::FlatAsciiRequest& request, Columns& columns) {
  const QString name = QString::fromStdString(file.string());
  QFile in(name);
  if (QFileInfo(name).size() < 1) {
    toolkit.information("FILE HAS NO LENGTH:" + file.string());
    return false;
  }
  if (!in.open(QIODevice::ReadOnly)) {
    toolkit.information("CANNOT OPEN FILE: " + file.string());
    return false;
  }
  // The file is shown to read off its columns: its start is enough, and a
  // huge file must not fill the memory.
  QString text = QString::fromLocal8Bit(in.read(kShownBytes));
  if (in.size() > kShownBytes)
    text += QStringLiteral("\n[... the first %1 of %2 bytes are shown]")
                .arg(kShownBytes)
                .arg(in.size());
  const files::FlatAsciiImporter importer =
      files::flatAsciiImporter(request.kind, request.header, request.header.NCOMP);
  ColumnDialog dialog(
      QString::fromUtf8(importer.title.data(), static_cast<qsizetype>(importer.title.size())), text,
      request, columns, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  columns = dialog.columns();
  request = dialog.request();
  return true;
}

}  // namespace zeva::ui::qt
