// The import and export commands of the program: USF, flat ASCII data of
// every family, SEG EDI, ASCII model import, and the ASCII data, synthetics,
// model and equivalent-model exports. Imports read into a new record; the
// current sounding changes only when the reading succeeded.

#include "core/program/exchange_commands.h"

#include <algorithm>
#include <cmath>

#include "core/program/column_questions.h"
#include "core/program/command_guard.h"
#include "core/program/inversion_commands.h"
#include "core/program/shown_messages.h"
#include "core/record/data_type.h"
#include "files/ascii_export.h"
#include "files/edi_reader.h"
#include "files/sounding_import.h"
#include "files/usf_reader.h"
#include "files/usf_writer.h"

namespace zeva::core {

namespace {

// The save dialog of an ASCII export, then the file.
CommandResult exportAsciiFile(ui::Toolkit& toolkit, files::AsciiExportKind kind,
                              const Sounding& sounding, std::string_view initialName,
                              const files::SyntheticNoise* noise = nullptr) {
  const files::AsciiExportFile file = files::asciiExportFile(kind, sounding);
  const auto chosen = toolkit.chooseFileToSave({file.title, file.filter}, initialName);
  if (!chosen) return CommandStatus::Cancelled;
  return doneIf(shown(toolkit, files::exportAscii(*chosen, kind, sounding, noise)));
}

// The family a flat ASCII importer reads, and the data type it gives when the
// current sounding is of another family.
struct ImportedKind {
  Family family;
  std::string_view defaultType;
};

ImportedKind importedKind(files::FlatAsciiKind kind) {
  switch (kind) {
    case files::FlatAsciiKind::MaxMin:
      return {Family::MaxMin, type::kHorizontalCoplanar};
    case files::FlatAsciiKind::EmConductivity:
      return {Family::EmConductivity, type::kEmConductivity};
    case files::FlatAsciiKind::Magnetotelluric:
      return {Family::Magnetotelluric, type::kMagnetotelluric};
    case files::FlatAsciiKind::Tem:
      return {Family::TimeDomainEm, type::kCentralLoopTem};
    default:
      return {Family::DcResistivity, type::kSchlumberger};
  }
}

}  // namespace

std::string ExchangeCommands::exportName(std::string_view extension) const {
  std::string name = state_.S().header.name.trimmed();
  name.erase(std::remove(name.begin(), name.end(), '*'), name.end());
  return name + std::string(extension);
}

CommandResult ExchangeCommands::importUsfData() {
  if (const CommandResult saved = file_.askToSave(); !saved) return saved;
  Sounding imported;
  const CommandResult read = guarded(
      state_.toolkit(), [&] { return importUsfSounding(state_.toolkit(), usfMemory_, imported); });
  if (!read) return read;
  state_.adoptData(imported);
  return CommandStatus::Done;
}

CommandResult ExchangeCommands::importFlatAsciiData(files::FlatAsciiKind kind,
                                                    const ImportChoices& choices,
                                                    const ImportDialog& dialog) {
  if (kind == files::FlatAsciiKind::WellLog || kind == files::FlatAsciiKind::Model)
    return CommandStatus::Refused;
  if (const CommandResult saved = file_.askToSave(); !saved) return saved;
  const auto [family, defaultType] = importedKind(kind);
  // The dialog of the family: its data type, then its units. Without a
  // dialog of the caller's the data type is asked as text.
  ImportChoices given = choices;
  if (dialog && !dialog(kind, given)) return CommandStatus::Cancelled;
  std::string typeText;
  if (given.dataType) {
    typeText = *given.dataType;
  } else {
    const DataTypeText& currentType = state_.S().header.dataType;
    const std::string proposed =
        familyOf(currentType) == family ? currentType.trimmed() : std::string(defaultType);
    const auto answer = state_.toolkit().askText("Data type:", proposed);
    if (!answer) return CommandStatus::Cancelled;
    typeText = *answer;
  }
  const DataTypeText type(typeText);
  if (typeText.size() > 20 || familyOf(type) != family) {
    state_.toolkit().warning("Data type not available for this import: " + typeText);
    return CommandStatus::Refused;
  }
  files::FlatAsciiRequest request;
  request.kind = kind;
  request.header = files::importedDataHeader(type);
  const DataHeader& old = state_.S().header;
  const bool sameType = old.dataType == type;
  request.header.dipoleLength = given.dipoleLength.value_or(sameType ? old.dipoleLength : 0.0f);
  request.header.lengthUnit = sameType ? old.lengthUnit : request.header.lengthUnit;
  if (given.lengthUnit) request.header.lengthUnit.assign(*given.lengthUnit);
  if (family == Family::DcResistivity)
    request.header.voltageAndCurrent =
        logical(given.voltageAndCurrent.value_or(sameType && isSet(old.voltageAndCurrent)));
  if (kind == files::FlatAsciiKind::ResistivityIp)
    request.header.ipUnit.assign(given.ipUnit.value_or(
        sameType && !old.ipUnit.isBlank() ? old.ipUnit.trimmed() : std::string("(pfe)")));
  if (family == Family::TimeDomainEm)
    request.header.temVoltageUnit.assign(given.temVoltageUnit.value_or(
        sameType && !old.temVoltageUnit.isBlank() ? old.temVoltageUnit.trimmed()
                                                  : std::string("(nV/A-m^2)")));
  request.header.mode =
      given.mode.value_or(sameType ? old.mode : (family == Family::MaxMin ? 1 : 2));
  if (given.timeUnit) request.timeUnit = *given.timeUnit;
  const bool maxMinSounding = isMaxMin(old.dataType) && old.NDATA > 0 && old.NGEOM >= 3;
  request.fixedSpacing =
      given.fixedSpacing.value_or(maxMinSounding ? state_.S().data().TIME(0, 1) : 0.0f);
  request.fixedHeight =
      given.fixedHeight.value_or(maxMinSounding ? state_.S().data().TIME(0, 2) : 0.0f);

  const files::FlatAsciiImporter importer = files::flatAsciiImporter(kind);
  const auto chosen =
      state_.toolkit().chooseFileToOpen({importer.title, importer.filter}, std::string_view{});
  if (!chosen) return CommandStatus::Cancelled;
  if (const CommandResult asked = state_.askImportColumns(*chosen, request); !asked) return asked;
  Sounding imported;
  if (!guarded(state_.toolkit(), [&] {
        return shown(state_.toolkit(), files::readFlatAsciiData(
                                           *chosen, request, state_.settings().columns, imported));
      }))
    return CommandStatus::Failed;
  state_.adoptData(imported);
  return CommandStatus::Done;
}

CommandResult ExchangeCommands::importEdiData() {
  if (const CommandResult saved = file_.askToSave(); !saved) return saved;
  // The curve of the impedance tensor a 1-D interpretation takes, numbered
  // as the prompt lists them; anything else is the first choice.
  const auto curve = state_.toolkit().askNumber(files::kEdiModePrompt, 0.0);
  if (!curve) return CommandStatus::Cancelled;
  const double choice = std::round(*curve);
  const files::EdiMode mode = choice >= 1.0 && choice <= 4.0
                                  ? static_cast<files::EdiMode>(static_cast<int>(choice))
                                  : files::EdiMode::Auto;
  const auto chosen = state_.toolkit().chooseFileToOpen(
      {files::kEdiFileTitle, files::kEdiFileFilter}, std::string_view{});
  if (!chosen) return CommandStatus::Cancelled;
  Sounding imported;
  if (!guarded(state_.toolkit(), [&] {
        return shown(state_.toolkit(), files::readEdiFile(*chosen, imported, mode));
      }))
    return CommandStatus::Failed;
  state_.adoptData(imported);
  return CommandStatus::Done;
}

CommandResult ExchangeCommands::importUnsupported(UnsupportedImport format) {
  switch (format) {
    case UnsupportedImport::Emi:
      state_.toolkit().information("MT data from EMI data files are not supported");
      break;
    case UnsupportedImport::GeotoolsTbl:
      state_.toolkit().information("MT data from Geotools TBL files are not supported");
      break;
    case UnsupportedImport::KovatTem:
      state_.toolkit().information("TEM data from KOVAT .TEM files are not supported");
      break;
  }
  return CommandStatus::Refused;
}

CommandResult ExchangeCommands::importAsciiModel() {
  Sounding& S = state_.S();
  const files::FlatAsciiImporter importer =
      files::flatAsciiImporter(files::FlatAsciiKind::Model, S.header, S.NPK());
  const auto chosen =
      state_.toolkit().chooseFileToOpen({importer.title, importer.filter}, std::string_view{});
  if (!chosen) return CommandStatus::Cancelled;
  files::FlatAsciiRequest request;
  request.kind = files::FlatAsciiKind::Model;
  request.header = S.header;
  if (const CommandResult asked = state_.askImportColumns(*chosen, request); !asked) return asked;
  files::ImportedModel model;
  if (!guarded(state_.toolkit(), [&] {
        return shown(state_.toolkit(),
                     files::readFlatAsciiModel(*chosen, state_.settings().columns, S.NPK(), model));
      }))
    return CommandStatus::Failed;
  const ModelHeader old = S.model;
  S.model.NLAYER = model.header.NLAYER;
  S.model.NPK = model.header.NPK;
  S.model.depths = kFalse;
  if (!S.allocateModel()) {
    S.model = old;
    state_.toolkit().warning(importer.allocationMessage);
    return CommandStatus::Failed;
  }
  S.M.PAR = model.PAR;
  S.layer.syntheticValid = S.layer.resolutionValid = S.layer.equivalenceValid = kFalse;
  S.layer.saved = kFalse;
  state_.requestAutoscale();
  state_.toolkit().requestRedraw();
  return CommandStatus::Done;
}

CommandResult ExchangeCommands::exportAsciiData() {
  return guarded(state_.toolkit(), [&] {
    return exportAsciiFile(state_.toolkit(), files::AsciiExportKind::Data, state_.S(),
                           exportName(".DAT"));
  });
}

CommandResult ExchangeCommands::exportAsciiSynthetics() {
  // Without a forward run the synthetics are not those of the model.
  if (!isSet(state_.S().layer.syntheticValid)) {
    state_.toolkit().information(kSyntheticNotValidMessage);
    return CommandStatus::Refused;
  }
  const auto percent = state_.toolkit().askNumber(kNoisePrompt, 0.0);
  if (!percent) return CommandStatus::Cancelled;
  const files::SyntheticNoise noise{exportNoise_, static_cast<float>(*percent)};
  return guarded(state_.toolkit(), [&] {
    return exportAsciiFile(state_.toolkit(), files::AsciiExportKind::Synthetics, state_.S(),
                           exportName(".DAT"), &noise);
  });
}

CommandResult ExchangeCommands::exportSmoothSynthetics() {
  if (!isSet(state_.current().SM.layer.syntheticValid) || !state_.current().SM.hasModel()) {
    state_.toolkit().information("Smooth model not available");
    return CommandStatus::Refused;
  }
  const auto percent = state_.toolkit().askNumber(kNoisePrompt, 0.0);
  if (!percent) return CommandStatus::Cancelled;
  const files::SyntheticNoise noise{exportNoise_, static_cast<float>(*percent)};
  return guarded(state_.toolkit(), [&] {
    return exportAsciiFile(state_.toolkit(), files::AsciiExportKind::Synthetics, state_.SM(),
                           exportName(".DAT"), &noise);
  });
}

CommandResult ExchangeCommands::exportAsciiModel() {
  return guarded(state_.toolkit(), [&] {
    return exportAsciiFile(state_.toolkit(), files::AsciiExportKind::Model, state_.S(),
                           exportName(".MDL"));
  });
}

CommandResult ExchangeCommands::exportSmoothModel() {
  const Sounding& SM = state_.SM();
  if (!isSet(SM.layer.syntheticValid) || SM.NLAYER() <= 0 || !SM.hasModel()) {
    state_.toolkit().information("Smooth model not available");
    return CommandStatus::Refused;
  }
  return guarded(state_.toolkit(), [&] {
    return exportAsciiFile(state_.toolkit(), files::AsciiExportKind::Model, SM, exportName(".MDL"));
  });
}

CommandResult ExchangeCommands::exportEquivalentModels() {
  const Sounding& S = state_.S();
  if (!isSet(S.layer.equivalenceValid) || S.NLAYER() <= 0) {
    state_.toolkit().information("Equivalent models not available");
    return CommandStatus::Refused;
  }
  return guarded(state_.toolkit(), [&] {
    return exportAsciiFile(state_.toolkit(), files::AsciiExportKind::EquivalentModels, S,
                           exportName(".MDL"));
  });
}

CommandResult ExchangeCommands::exportUsfData() {
  return guarded(state_.toolkit(), [&] {
    const auto chosen = state_.toolkit().chooseFileToSave(
        {files::kUsfFileTitle, files::kUsfFileFilter}, exportName(".USF"));
    if (!chosen) return CommandResult(CommandStatus::Cancelled);
    return doneIf(shown(state_.toolkit(), files::exportUsf(*chosen, state_.S())));
  });
}

}  // namespace zeva::core
