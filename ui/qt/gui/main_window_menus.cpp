// The main window's menus, toolbar and popup entries, built from the
// program's command table: the entries with their texts, shortcuts, check
// marks and the rules that show or grey them; the handlers of the entries
// the window runs itself (dialogs, the plots' selection, the window's own
// state).

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <vector>

#include "core/program/command_table.h"
#include "files/flat_ascii_import.h"
#include "ui/qt/gui/main_window.h"
#include "ui/qt/gui/model_drag_controller.h"
#include "ui/qt/gui/new_sounding_dialog.h"
#include "ui/qt/render/program_graphics.h"

namespace zeva::ui::qt {

namespace {

using core::CommandId;

// One step of the menu bar's layout, in the order the entries appear.
struct MenuStep {
  enum Kind { Menu, Submenu, End, Entry, Separator, RecentFiles, WindowWide } kind;
  CommandId id = {};
  const char* title = nullptr;
  const char* objectName = nullptr;
};

constexpr MenuStep menu(const char* title) { return {MenuStep::Menu, {}, title}; }
constexpr MenuStep submenu(const char* title, const char* objectName = nullptr) {
  return {MenuStep::Submenu, {}, title, objectName};
}
constexpr MenuStep entry(CommandId id) { return {MenuStep::Entry, id}; }
constexpr MenuStep kEnd{MenuStep::End};
constexpr MenuStep kSeparator{MenuStep::Separator};

using C = CommandId;

// The menu bar, one step a line.
constexpr MenuStep kMenuLayout[] = {
    menu("&File"),
    submenu("&New", "newMenu"),
    entry(C::NewDc),
    entry(C::NewIp),
    entry(C::NewMaxMin),
    entry(C::NewEmConductivity),
    entry(C::NewMt),
    entry(C::NewTem),
    kSeparator,
    entry(C::NewModel),
    kEnd,
    kSeparator,
    entry(C::Open),
    entry(C::OpenSurvey),
    entry(C::Save),
    entry(C::SaveAs),
    {MenuStep::RecentFiles},
    kSeparator,
    submenu("&Import", "importMenu"),
    entry(C::ImportResistivity),
    entry(C::ImportResistivityIp),
    entry(C::ImportMaxMin),
    entry(C::ImportEmConductivity),
    entry(C::ImportMt),
    entry(C::ImportEdi),
    entry(C::ImportEmi),
    entry(C::ImportGeotoolsTbl),
    entry(C::ImportTem),
    entry(C::ImportKovatTem),
    kSeparator,
    entry(C::ImportAsciiModel),
    entry(C::ImportUsf),
    entry(C::ImportWellLog),
    kEnd,
    submenu("&Export"),
    entry(C::ExportAsciiData),
    entry(C::ExportAsciiSynthetics),
    entry(C::ExportSmoothSynthetics),
    entry(C::ExportAsciiModel),
    entry(C::ExportSmoothModel),
    entry(C::ExportEquivalentModels),
    entry(C::ExportUsf),
    kSeparator,
    entry(C::ExportDxf),
    entry(C::ExportSvg),
    entry(C::ExportPdf),
    entry(C::ExportPng),
    kEnd,
    entry(C::Print),
    kSeparator,
    entry(C::Exit),
    kEnd,
    menu("&Edit"),
    entry(C::Undo),
    entry(C::Redo),
    kSeparator,
    entry(C::EditData),
    entry(C::EditModel),
    entry(C::ShiftSegments),
    kEnd,
    menu("&View"),
    entry(C::Zoom),
    entry(C::Unzoom),
    kSeparator,
    entry(C::Layered),
    entry(C::Smooth),
    entry(C::Equivalence),
    entry(C::Bostick),
    entry(C::Niblett),
    entry(C::RedLine),
    entry(C::ModelOnData),
    entry(C::Voltage),
    entry(C::LinearTime),
    submenu("&Grid"),
    entry(C::MajorGridData),
    entry(C::MinorGridData),
    entry(C::MajorGridModel),
    entry(C::MinorGridModel),
    kEnd,
    kSeparator,
    entry(C::Properties),
    entry(C::FontType),
    kEnd,
    menu("&Calculate"),
    entry(C::Forward),
    submenu("&Inverse"),
    entry(C::Single),
    entry(C::SingleResistivity),
    entry(C::SingleIp),
    entry(C::Multiple),
    entry(C::MultipleResistivity),
    entry(C::MultipleIp),
    kEnd,
    kSeparator,
    entry(C::EstimateLayered),
    entry(C::EstimateSmooth),
    entry(C::Occam),
    entry(C::SmoothDepthRange),
    entry(C::WeightErrors),
    entry(C::AnalyzeEquivalence),
    kSeparator,
    entry(C::Transfer),
    kEnd,
    menu("&Help"),
    entry(C::Contents),
    entry(C::About),
    kEnd,
    // The equivalence of the smooth model has no menu entry; its shortcut
    // reaches it from anywhere in the window.
    {MenuStep::WindowWide, C::SmoothEquivalence},
};

QKeySequence keySequence(const core::Shortcut& shortcut) {
  using K = core::StandardKey;
  switch (shortcut.standard) {
    case K::Open:
      return QKeySequence::Open;
    case K::Save:
      return QKeySequence::Save;
    case K::Print:
      return QKeySequence::Print;
    case K::Quit:
      return QKeySequence::Quit;
    case K::Undo:
      return QKeySequence::Undo;
    case K::HelpContents:
      return QKeySequence::HelpContents;
    case K::None:
      break;
  }
  return QKeySequence(
      QString::fromLatin1(shortcut.keys.data(), static_cast<qsizetype>(shortcut.keys.size())),
      QKeySequence::PortableText);
}

}  // namespace

QAction* MainWindow::action(CommandId id) const {
  const auto found = actions_.find(id);
  return found == actions_.end() ? nullptr : found->second;
}

void MainWindow::runCommand(CommandId id) {
  const auto found = commands_.find(id);
  if (found != commands_.end()) runAction(found->second);
}

QAction* MainWindow::addCommand(CommandId id, const QString& text, std::function<void()> run,
                                const QKeySequence& shortcut) {
  auto* entry = new QAction(text, this);
  entry->setData(static_cast<int>(id));
  if (!shortcut.isEmpty()) entry->setShortcut(shortcut);
  connect(entry, &QAction::triggered, this, [this, id] { runCommand(id); });
  actions_[id] = entry;
  commands_[id] = std::move(run);
  return entry;
}

std::map<CommandId, std::function<void()>> MainWindow::windowCommands() {
  using K = core::NewSoundingKind;
  using files::FlatAsciiKind;
  std::map<CommandId, std::function<void()>> run;
  const std::pair<C, K> soundings[] = {
      {C::NewDc, K::Dc},         {C::NewIp, K::DcIp},
      {C::NewMaxMin, K::MaxMin}, {C::NewEmConductivity, K::EmConductivity},
      {C::NewMt, K::Mt},         {C::NewTem, K::Tem}};
  for (auto [id, kind] : soundings) run[id] = [this, kind = kind] { newSounding(kind); };
  run[C::NewModel] = [this] { newModel(); };
  const std::pair<C, FlatAsciiKind> imports[] = {
      {C::ImportResistivity, FlatAsciiKind::Resistivity},
      {C::ImportResistivityIp, FlatAsciiKind::ResistivityIp},
      {C::ImportMaxMin, FlatAsciiKind::MaxMin},
      {C::ImportEmConductivity, FlatAsciiKind::EmConductivity},
      {C::ImportMt, FlatAsciiKind::Magnetotelluric}};
  for (auto [id, kind] : imports)
    run[id] = [this, kind = kind] {
      std::ignore = program_.exchange().importFlatAsciiData(kind, {}, importDialogFor(this));
    };
  run[C::ImportTem] = [this] {
    // The sweeps and the loop of TEM data are not in the file: the data
    // editor follows the import.
    if (program_.exchange().importFlatAsciiData(FlatAsciiKind::Tem, {}, importDialogFor(this)))
      editData();
  };
  run[C::ImportWellLog] = [this] { importWellLog(); };
  run[C::OpenSurvey] = [this] { chooseSurvey(); };
  const std::pair<C, GraphicsFormat> pictures[] = {{C::ExportDxf, GraphicsFormat::Dxf},
                                                   {C::ExportSvg, GraphicsFormat::Svg},
                                                   {C::ExportPdf, GraphicsFormat::Pdf},
                                                   {C::ExportPng, GraphicsFormat::Png}};
  for (auto [id, format] : pictures)
    run[id] = [this, format = format] { exportGraphicsCommand(program_, format, plotSettings()); };
  run[C::Print] = [this] { print(); };
  run[C::Exit] = [this] { exitProgram(); };
  run[C::EditData] = [this] { editData(); };
  run[C::EditModel] = [this] { editModel(); };
  run[C::ShiftSegments] = [this] { shiftSegments(); };
  run[C::Properties] = [this] { showProperties(); };
  run[C::FontType] = [this] { chooseFont(); };
  run[C::Contents] = [this] { showHelp(); };
  run[C::About] = [this] { showAbout(); };
  for (C id : {C::DeleteLayer, C::SplitLayer, C::FixResistivity, C::FreeResistivity, C::FixBoundary,
               C::FreeBoundary, C::MaskPoint, C::UnmaskPoint})
    run[id] = [this, id] { drag_->runPopupCommand(id); };
  return run;
}

void MainWindow::buildMenus() {
  std::map<CommandId, std::function<void()>> windowRun = windowCommands();
  for (const core::CommandEntry& command : core::commandTable()) {
    std::function<void()> run = [this, &command] { core::runProgramCommand(command, program_); };
    if (const auto own = windowRun.find(command.id); own != windowRun.end()) run = own->second;
    QAction* entry = addCommand(
        command.id,
        QString::fromUtf8(command.label.data(), static_cast<qsizetype>(command.label.size())),
        std::move(run), keySequence(command.shortcut));
    entry->setCheckable(command.check != core::CommandCheck::None);
  }
  std::vector<QMenu*> open;
  for (const MenuStep& step : kMenuLayout) {
    switch (step.kind) {
      case MenuStep::Menu:
        open.push_back(menuBar()->addMenu(tr(step.title)));
        break;
      case MenuStep::Submenu:
        open.push_back(open.back()->addMenu(tr(step.title)));
        if (step.objectName) open.back()->setObjectName(step.objectName);
        break;
      case MenuStep::End:
        open.pop_back();
        break;
      case MenuStep::Entry:
        open.back()->addAction(action(step.id));
        break;
      case MenuStep::Separator:
        open.back()->addSeparator();
        break;
      case MenuStep::RecentFiles:
        addRecentFiles(open.back());
        break;
      case MenuStep::WindowWide:
        addAction(action(step.id));
        break;
    }
  }
}

void MainWindow::buildToolBar() {
  QToolBar* bar = addToolBar(tr("Commands"));
  bar->setObjectName("commandToolBar");
  bar->setMovable(false);
  auto* importButton = new QToolButton(bar);
  importButton->setText(tr("Import Data"));
  importButton->setToolTip(tr("Import Data"));
  importButton->setPopupMode(QToolButton::InstantPopup);
  importButton->setMenu(findChild<QMenu*>("importMenu"));
  auto* newButton = new QToolButton(bar);
  newButton->setText(tr("Create New Sounding"));
  newButton->setToolTip(tr("Create New Sounding"));
  newButton->setPopupMode(QToolButton::InstantPopup);
  newButton->setMenu(findChild<QMenu*>("newMenu"));
  bar->addWidget(newButton);
  bar->addWidget(importButton);
  const std::initializer_list<C> groups[] = {
      {C::Open, C::Save, C::Print}, {C::Forward, C::Single, C::Multiple}, {C::Zoom, C::Unzoom}};
  for (const auto& group : groups) {
    bar->addSeparator();
    for (C id : group)
      if (QAction* entry = action(id)) bar->addAction(entry);
  }
}

void MainWindow::updateMenusForType() {
  for (const core::CommandEntry& command : core::commandTable()) {
    if (command.rule == core::CommandRule::Always) continue;
    const core::CommandAvailability state = core::availability(command.rule, program_);
    QAction* entry = action(command.id);
    entry->setVisible(state.visible);
    entry->setEnabled(state.enabled);
  }
}

void MainWindow::updateChecks() {
  for (const core::CommandEntry& command : core::commandTable())
    if (const std::optional<bool> checked = core::checkMark(command, program_))
      action(command.id)->setChecked(*checked);
}

}  // namespace zeva::ui::qt
