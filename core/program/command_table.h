#pragma once
// The commands of the desktop program's main window: their numbers, menu
// texts (with the & of the mnemonic), shortcuts, the rule that shows or
// greys them for the current sounding, the check mark of the switches, and
// the command of the program an entry runs when it needs nothing of the
// window. The window builds its menus, toolbar and popups from this table
// and adds the handlers of the commands that bring dialogs of their own.

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <span>
#include <string_view>

#include "core/program/program.h"

namespace zeva::core {

// Command numbers as in the menu resource of the program's first versions
// (the toolbar sends the same numbers); numbers from 40200 on are entries of
// our own. The smooth model's equivalence has a shortcut and no menu entry.
enum class CommandId : int {
  NewDc = 40037,
  NewIp = 40067,
  NewMaxMin = 40039,
  NewEmConductivity = 40088,
  NewMt = 40062,
  NewTem = 40073,
  NewModel = 40034,
  Open = 40028,
  OpenSurvey = 40220,
  Save = 40020,
  SaveAs = 40021,
  ImportResistivity = 40015,
  ImportResistivityIp = 40066,
  ImportMaxMin = 40016,
  ImportEmConductivity = 40090,
  ImportMt = 40064,
  ImportEdi = 40040,
  ImportEmi = 40063,
  ImportGeotoolsTbl = 40065,
  ImportTem = 40086,
  ImportKovatTem = 40087,
  ImportAsciiModel = 40038,
  ImportUsf = 40096,
  ImportWellLog = 40074,
  ExportAsciiData = 40041,
  ExportAsciiSynthetics = 40017,
  ExportSmoothSynthetics = 40018,
  ExportAsciiModel = 40049,
  ExportSmoothModel = 40058,
  ExportEquivalentModels = 40165,
  ExportUsf = 40094,
  ExportDxf = 40059,
  ExportSvg = 40029,
  ExportPdf = 40030,
  ExportPng = 40201,
  Print = 40022,
  Exit = 40009,
  Undo = 40301,
  Redo = 40302,
  EditData = 40044,
  EditModel = 40045,
  ShiftSegments = 40001,
  Zoom = 40024,
  Unzoom = 40025,
  Layered = 40026,
  Smooth = 40019,
  Equivalence = 30106,
  Bostick = 40061,
  Niblett = 40050,
  RedLine = 40012,
  ModelOnData = 40042,
  Voltage = 40071,
  LinearTime = 40072,
  MajorGridData = 40053,
  MinorGridData = 40054,
  MajorGridModel = 40056,
  MinorGridModel = 40055,
  Properties = 40060,
  FontType = 40167,
  Forward = 40005,
  Single = 40010,
  SingleResistivity = 40089,
  SingleIp = 40091,
  Multiple = 40011,
  MultipleResistivity = 40092,
  MultipleIp = 40093,
  EstimateLayered = 40027,
  EstimateSmooth = 40013,
  Occam = 40014,
  SmoothDepthRange = 40210,
  WeightErrors = 40211,
  AnalyzeEquivalence = 40004,
  SmoothEquivalence = 1,
  Transfer = 40006,
  Contents = 40057,
  About = 40047,
  // The entries of the plots' popup menus; they act on what the mouse picked.
  DeleteLayer = 40031,
  SplitLayer = 40036,
  FixResistivity = 40099,
  FreeResistivity = 40100,
  FixBoundary = 40101,
  FreeBoundary = 40102,
  MaskPoint = 40097,
  UnmaskPoint = 40098,
  // The first of the recent files' entries; the others follow it.
  RecentFirst = 40310,
};

// The entry of the recent file at `index` (0 is the latest).
constexpr CommandId recentFileCommand(std::size_t index) {
  return static_cast<CommandId>(static_cast<int>(CommandId::RecentFirst) + static_cast<int>(index));
}

// Shortcuts the platform defines (they differ between systems) or, for the
// others, the keys in portable text ("Ctrl+Shift+S", "F5").
enum class StandardKey { None, Open, Save, Print, Quit, Undo, HelpContents };
struct Shortcut {
  constexpr Shortcut() = default;
  constexpr Shortcut(StandardKey key) : standard(key) {}
  constexpr Shortcut(const char* portableKeys) : keys(portableKeys) {}
  StandardKey standard = StandardKey::None;
  std::string_view keys;
};

// When an entry is shown and when it can be chosen.
enum class CommandRule {
  Always,
  ForwardModel,        // greyed for data without a forward model (TEM)
  ForwardModelWithIp,  // shown for models with IP parameters, greyed as ForwardModel
  TemData,             // shown for TEM data
  MtData,              // shown for MT data
  Synthetics,          // greyed unless the synthetics belong to the layered model
  SmoothSynthetics,    // greyed unless the smooth synthetics belong to the smooth model
  CanUndo,
  CanRedo
};

// Which check mark an entry carries.
enum class CommandCheck { None, View, Occam, ErrorWeighting };

struct CommandEntry {
  CommandId id;
  std::string_view label;
  Shortcut shortcut = {};
  CommandRule rule = CommandRule::Always;
  CommandCheck check = CommandCheck::None;
  ViewToggle toggle = ViewToggle::Zoom;  // the switch of a CommandCheck::View entry
  // The program's command the entry runs; null when the window runs it (it
  // needs a dialog, the window or what the mouse picked).
  void (*run)(Program&) = nullptr;
};

// Every command of the main window except the recent files, in the order of
// the menus; the popup entries and the menu-less ones last.
std::span<const CommandEntry> commandTable();
// The entry of `id`; null for the recent files.
const CommandEntry* findCommand(CommandId id);

struct CommandAvailability {
  bool visible = true;
  bool enabled = true;
};
CommandAvailability availability(CommandRule rule, const Program& program);
// The check mark of an entry; empty for entries without one.
std::optional<bool> checkMark(const CommandEntry& command, const Program& program);

// Runs the entry's command of the program (a view switch toggles); false,
// with nothing run, when the window runs the entry.
bool runProgramCommand(const CommandEntry& command, Program& program);

// "40005 &Forward", for test failures and logs.
std::ostream& operator<<(std::ostream& out, CommandId id);

}  // namespace zeva::core
