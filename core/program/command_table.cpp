#include "core/program/command_table.h"

#include <algorithm>
#include <array>
#include <ostream>

#include "core/record/data_type.h"
#include "forward/forward_choice.h"

namespace zeva::core {

namespace {

using C = CommandId;
using R = CommandRule;
using K = StandardKey;
using V = ViewToggle;

constexpr CommandEntry toggle(C id, std::string_view label, V view, R rule = R::Always) {
  return {id, label, {}, rule, CommandCheck::View, view, nullptr};
}

const CommandEntry kCommands[] = {
    // File, New
    {C::NewDc, "DC Resistivty Sounding"},
    {C::NewIp, "Resistivty/&IP Sounding"},
    {C::NewMaxMin, "MaxMin Sounding"},
    {C::NewEmConductivity, "EM Conductivity Sounding"},
    {C::NewMt, "MT Sounding"},
    {C::NewTem, "TEM Sounding"},
    {C::NewModel, "&Model"},
    // File
    {C::Open, "&Open", {K::Open}, R::Always, {}, {}, [](Program& p) { finish(p.file().open()); }},
    {C::OpenSurvey, "Open Sur&vey..."},
    {C::Save, "&Save", {K::Save}, R::Always, {}, {}, [](Program& p) { finish(p.file().save()); }},
    {C::SaveAs,
     "Save_&As",
     {"Ctrl+Shift+S"},
     R::Always,
     {},
     {},
     [](Program& p) { finish(p.file().saveAs()); }},
    // File, Import
    {C::ImportResistivity, "DC &Resistivity Data"},
    {C::ImportResistivityIp, "DC Resistivity/&IP Data"},
    {C::ImportMaxMin, "&MaxMin Data"},
    {C::ImportEmConductivity, "EM Conductivity Data"},
    {C::ImportMt, "MT Data"},
    {C::ImportEdi,
     "MT Data from SEG standard &EDI file",
     {},
     R::Always,
     {},
     {},
     [](Program& p) { finish(p.exchange().importEdiData()); }},
    {C::ImportEmi,
     "MT Data from EM&I Data file",
     {},
     R::Always,
     {},
     {},
     [](Program& p) { finish(p.exchange().importUnsupported(UnsupportedImport::Emi)); }},
    {C::ImportGeotoolsTbl,
     "MT Data from &Geotools TBL file",
     {},
     R::Always,
     {},
     {},
     [](Program& p) { finish(p.exchange().importUnsupported(UnsupportedImport::GeotoolsTbl)); }},
    {C::ImportTem, "TEM Data"},
    {C::ImportKovatTem,
     "TEM Data from KOVAT .TEM file",
     {},
     R::Always,
     {},
     {},
     [](Program& p) { finish(p.exchange().importUnsupported(UnsupportedImport::KovatTem)); }},
    // Each command number has one entry; the model import and export share
    // their menu text but not their number.
    {C::ImportAsciiModel,
     "ASCII &Model File",
     {},
     R::Always,
     {},
     {},
     [](Program& p) { finish(p.exchange().importAsciiModel()); }},
    {C::ImportUsf,
     "&USF Data File",
     {},
     R::Always,
     {},
     {},
     [](Program& p) { finish(p.exchange().importUsfData()); }},
    {C::ImportWellLog, "Well Log File"},
    // File, Export
    {C::ExportAsciiData,
     "ASCII &Data File",
     {},
     R::Always,
     {},
     {},
     [](Program& p) { finish(p.exchange().exportAsciiData()); }},
    {C::ExportAsciiSynthetics,
     "ASCII &Synthetics File",
     {},
     R::Synthetics,
     {},
     {},
     [](Program& p) { finish(p.exchange().exportAsciiSynthetics()); }},
    {C::ExportSmoothSynthetics,
     "ASCII S&mooth Synthetics File",
     {},
     R::SmoothSynthetics,
     {},
     {},
     [](Program& p) { finish(p.exchange().exportSmoothSynthetics()); }},
    {C::ExportAsciiModel,
     "ASCII &Model File",
     {},
     R::Always,
     {},
     {},
     [](Program& p) { finish(p.exchange().exportAsciiModel()); }},
    {C::ExportSmoothModel,
     "&Smooth Model File",
     {},
     R::Always,
     {},
     {},
     [](Program& p) { finish(p.exchange().exportSmoothModel()); }},
    {C::ExportEquivalentModels,
     "&Equivalent Models File",
     {},
     R::Always,
     {},
     {},
     [](Program& p) { finish(p.exchange().exportEquivalentModels()); }},
    {C::ExportUsf,
     "&USF Data File",
     {},
     R::Always,
     {},
     {},
     [](Program& p) { finish(p.exchange().exportUsfData()); }},
    // SVG and PDF are this platform's vector formats in the places of the
    // metafile formats; PNG gives a picture for documents and web pages.
    {C::ExportDxf, "D&XF Graphics File"},
    {C::ExportSvg, "S&VG Graphics File"},
    {C::ExportPdf, "&PDF Graphics File"},
    {C::ExportPng, "P&NG Picture"},
    {C::Print, "&Print", {K::Print}},
    {C::Exit, "E&xit", {K::Quit}},
    // Edit
    {C::Undo,
     "&Undo",
     {K::Undo},
     R::CanUndo,
     {},
     {},
     [](Program& p) { finish(p.history().undo()); }},
    {C::Redo,
     "&Redo",
     {"Ctrl+Shift+Z"},
     R::CanRedo,
     {},
     {},
     [](Program& p) { finish(p.history().redo()); }},
    {C::EditData, "&Data"},
    {C::EditModel, "&Model"},
    {C::ShiftSegments, "&Shift Data Segments"},
    // View
    toggle(C::Zoom, "&Zoom", V::Zoom),
    {C::Unzoom, "&Unzoom", {}, R::Always, {}, {}, [](Program& p) { p.display().unzoom(); }},
    toggle(C::Layered, "&Layered", V::Layered),
    toggle(C::Smooth, "&Smooth", V::Smooth),
    toggle(C::Equivalence, "&Equivalence", V::Equivalence),
    toggle(C::Bostick, "Show Bostick Model", V::Bostick, R::MtData),
    toggle(C::Niblett, "Show Niblett Model", V::Niblett, R::MtData),
    toggle(C::RedLine, "Redline 10 ohm-m, 1 Hz", V::RedLine, R::MtData),
    toggle(C::ModelOnData, "&Model on Data", V::ModelOnData),
    toggle(C::Voltage, "&Voltage", V::Voltage, R::TemData),
    toggle(C::LinearTime, "L&inear Time Scale", V::LinearTime, R::TemData),
    toggle(C::MajorGridData, "Major Grid on &Data", V::MajorGridData),
    toggle(C::MinorGridData, "Minor Grid on D&ata", V::MinorGridData),
    toggle(C::MajorGridModel, "Major Grid on &Model", V::MajorGridModel),
    toggle(C::MinorGridModel, "Minor Grid on M&odel", V::MinorGridModel),
    {C::Properties, "&Properties"},
    {C::FontType, "Font Type"},
    // Calculate
    {C::Forward,
     "&Forward",
     {"F5"},
     R::ForwardModel,
     {},
     {},
     [](Program& p) { finish(p.model().forwardModel()); }},
    {C::Single,
     "&Single Iteration",
     {"F6"},
     R::ForwardModel,
     {},
     {},
     [](Program& p) { finish(p.inversions().singleIteration(InversionScope::All)); }},
    {C::SingleResistivity,
     "&Single Iteration for Resistivity Only",
     {},
     R::ForwardModelWithIp,
     {},
     {},
     [](Program& p) { finish(p.inversions().singleIteration(InversionScope::ResistivityOnly)); }},
    {C::SingleIp,
     "&Single Iteration for IP Only",
     {},
     R::ForwardModelWithIp,
     {},
     {},
     [](Program& p) { finish(p.inversions().singleIteration(InversionScope::IpOnly)); }},
    {C::Multiple,
     "&Multiple Iterations",
     {"F7"},
     R::ForwardModel,
     {},
     {},
     [](Program& p) { finish(p.inversions().multipleIterations(InversionScope::All)); }},
    {C::MultipleResistivity,
     "&Multiple Iteration for Resistivity Only",
     {},
     R::ForwardModelWithIp,
     {},
     {},
     [](Program& p) {
       finish(p.inversions().multipleIterations(InversionScope::ResistivityOnly));
     }},
    {C::MultipleIp,
     "&Multiple Iterations for IP Only",
     {},
     R::ForwardModelWithIp,
     {},
     {},
     [](Program& p) { finish(p.inversions().multipleIterations(InversionScope::IpOnly)); }},
    {C::EstimateLayered,
     "Estimate &Layered Model",
     {},
     R::ForwardModel,
     {},
     {},
     [](Program& p) { finish(p.estimation().estimateLayeredModel()); }},
    {C::EstimateSmooth,
     "Estimate &Smooth Model",
     {},
     R::ForwardModel,
     {},
     {},
     [](Program& p) {
       finish(p.estimation().estimateSmoothModel(p.estimation().smoothDepthRange()));
     }},
    {C::Occam,
     "&Occam's Inversion",
     {},
     R::Always,
     CommandCheck::Occam,
     {},
     [](Program& p) { p.estimation().toggleOccam(); }},
    {C::SmoothDepthRange,
     "Smooth Model &Depth Range...",
     {},
     R::Always,
     {},
     {},
     [](Program& p) { finish(p.estimation().chooseSmoothDepthRange()); }},
    {C::WeightErrors,
     "&Weight by Error Bars",
     {},
     R::Always,
     CommandCheck::ErrorWeighting,
     {},
     [](Program& p) { p.estimation().toggleErrorWeighting(); }},
    {C::AnalyzeEquivalence,
     "&Analyze Equivalence",
     {},
     R::ForwardModel,
     {},
     {},
     [](Program& p) { finish(p.estimation().analyzeEquivalence()); }},
    {C::Transfer,
     "&Transfer Synthetic to Data",
     {},
     R::Always,
     {},
     {},
     [](Program& p) { finish(p.inversions().transferSyntheticToData()); }},
    // Help
    {C::Contents, "&Contents", {K::HelpContents}},
    {C::About, "&About"},
    // Popup menus of the plots
    {C::DeleteLayer, "&Delete Layer"},
    {C::SplitLayer, "&Split Layer"},
    {C::FixResistivity, "Fix Layer Resistivity"},
    {C::FreeResistivity, "Free Layer Resistivity"},
    {C::FixBoundary, "Fix Layer Thickness/Depth"},
    {C::FreeBoundary, "Free Layer Thickness/Depth"},
    {C::MaskPoint, "&Mask Point"},
    {C::UnmaskPoint, "&Unmask Point"},
    // Reached by its shortcut from anywhere in the window.
    {C::SmoothEquivalence,
     "Analyze Smooth Equivalence",
     {"Ctrl+Shift+E"},
     R::ForwardModel,
     {},
     {},
     [](Program& p) { finish(p.estimation().analyzeSmoothEquivalence()); }},
};

}  // namespace

std::span<const CommandEntry> commandTable() { return kCommands; }

const CommandEntry* findCommand(CommandId id) {
  const auto found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                  [id](const CommandEntry& command) { return command.id == id; });
  return found == std::end(kCommands) ? nullptr : &*found;
}

CommandAvailability availability(CommandRule rule, const Program& program) {
  const CurrentSounding& current = program.current();
  const Sounding& S = current.S;
  switch (rule) {
    case R::Always:
      return {};
    case R::ForwardModel:
      return {true, forward::hasForwardModel(S)};
    case R::ForwardModelWithIp:
      return {S.NPK() > 1, forward::hasForwardModel(S)};
    case R::TemData:
      return {isTem(S.header.dataType), true};
    case R::MtData:
      return {familyOf(S.header.dataType) == Family::Magnetotelluric, true};
    case R::Synthetics:
      return {true, isSet(S.layer.syntheticValid)};
    case R::SmoothSynthetics:
      return {true, isSet(current.SM.layer.syntheticValid)};
    case R::CanUndo:
      return {true, program.history().canUndo()};
    case R::CanRedo:
      return {true, program.history().canRedo()};
  }
  return {};
}

std::optional<bool> checkMark(const CommandEntry& command, const Program& program) {
  switch (command.check) {
    case CommandCheck::None:
      return std::nullopt;
    case CommandCheck::View:
      return program.display().viewChecked(command.toggle);
    case CommandCheck::Occam:
      return program.estimation().occamMode();
    case CommandCheck::ErrorWeighting:
      return program.estimation().errorWeighting();
  }
  return std::nullopt;
}

bool runProgramCommand(const CommandEntry& command, Program& program) {
  if (command.run) {
    command.run(program);
    return true;
  }
  if (command.check == CommandCheck::View) {
    finish(program.display().toggleView(command.toggle));
    return true;
  }
  return false;
}

std::ostream& operator<<(std::ostream& out, CommandId id) {
  out << static_cast<int>(id);
  if (const CommandEntry* command = findCommand(id)) out << ' ' << command->label;
  return out;
}

}  // namespace zeva::core
