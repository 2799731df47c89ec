// The import and export commands of the program: USF, flat ASCII data of
// every family, SEG EDI, ASCII model import, and the ASCII data, synthetics,
// model and equivalent-model exports. Imports read into a new record; the
// current sounding changes only when the reading succeeded.

#include <algorithm>
#include <cmath>

#include "core/program/column_questions.h"
#include "core/program/command_guard.h"
#include "core/program/program.h"
#include "core/program/shown_messages.h"
#include "core/record/data_type.h"
#include "files/ascii_export.h"
#include "files/edi_reader.h"
#include "files/sounding_import.h"
#include "files/text_input.h"
#include "files/usf_reader.h"
#include "files/usf_writer.h"

namespace zeva::core {

namespace {

bool isConductivityType(const DataTypeText& type) { return traitsOf(type).conductivityModel; }

// The save dialog of an ASCII export, then the file.
bool exportAsciiFile(ui::Toolkit& toolkit, files::AsciiExportKind kind, const Sounding& sounding,
                     std::string_view initialName, const files::SyntheticNoise* noise = nullptr) {
  const files::AsciiExportFile file = files::asciiExportFile(kind, sounding);
  const auto chosen = toolkit.chooseFileToSave({file.title, file.filter}, initialName);
  if (!chosen) return false;
  return shown(toolkit, files::exportAscii(*chosen, kind, sounding, noise));
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

void Program::adoptImportedData(Sounding& imported) {
  Sounding& S = current_.S;
  const bool wasConductivity = isConductivityType(S.header.dataType);
  S.header = imported.header;
  S.data() = std::move(imported.data());  // the storage SM shares
  S.SVOLT.resize(static_cast<std::size_t>(S.header.NDATA),
                 static_cast<std::size_t>(S.header.NCOMP));
  // The model carries conductivities (mS/m) for EM conductivity data and
  // resistivities otherwise.
  if (wasConductivity != isConductivityType(S.header.dataType))
    for (int j = 0; j < S.NLAYER() && j < static_cast<int>(S.M.PAR.size()); ++j) {
      float& value = S.M.PAR[static_cast<std::size_t>(j)];
      if (value != 0.0f) value = 1000.0f / value;
    }
  for (Sounding* s : {&current_.S, &current_.SM}) {
    s->layer.syntheticValid = s->layer.resolutionValid = s->layer.equivalenceValid = kFalse;
  }
  S.layer.saved = kFalse;
  // The switches follow the new data as after Open: no TEM voltage view
  // over other families, no model on MaxMin, MT or TEM data.
  applyFileSwitchRules(false);
  detectSegments();
  autoscalePending_ = true;
  toolkit_.requestRedraw();
}

std::string Program::exportName(std::string_view extension) const {
  std::string name = current_.S.header.name.trimmed();
  name.erase(std::remove(name.begin(), name.end(), '*'), name.end());
  return name + std::string(extension);
}

bool Program::askImportColumns(const std::filesystem::path& file,
                               files::FlatAsciiRequest& request) {
  // The dialog shows the file: only a regular file is opened (a FIFO or a
  // device would never end).
  if (!shown(toolkit_, files::checkRegularFile(file))) return false;
  if (columnDialog_) return columnDialog_(file, request, settings_.columns);
  return askColumns(toolkit_, request.kind, request, settings_.columns);
}

bool Program::importUsfData() {
  if (!askToSave()) return false;
  Sounding imported;
  if (!guarded(toolkit_, [&] { return importUsfSounding(toolkit_, usfMemory_, imported); }))
    return false;
  adoptImportedData(imported);
  return true;
}

bool Program::importFlatAsciiData(files::FlatAsciiKind kind, const ImportChoices& choices,
                                  const ImportDialog& dialog) {
  if (kind == files::FlatAsciiKind::WellLog || kind == files::FlatAsciiKind::Model) return false;
  if (!askToSave()) return false;
  const auto [family, defaultType] = importedKind(kind);
  // The dialog of the family: its data type, then its units. Without a
  // dialog of the caller's the data type is asked as text.
  ImportChoices given = choices;
  if (dialog && !dialog(kind, given)) return false;
  std::string typeText;
  if (given.dataType) {
    typeText = *given.dataType;
  } else {
    const DataTypeText& currentType = current_.S.header.dataType;
    const std::string proposed =
        familyOf(currentType) == family ? currentType.trimmed() : std::string(defaultType);
    const auto answer = toolkit_.askText("Data type:", proposed);
    if (!answer) return false;
    typeText = *answer;
  }
  const DataTypeText type(typeText);
  if (typeText.size() > 20 || familyOf(type) != family) {
    toolkit_.warning("Data type not available for this import: " + typeText);
    return false;
  }
  files::FlatAsciiRequest request;
  request.kind = kind;
  request.header = files::importedDataHeader(type);
  const DataHeader& old = current_.S.header;
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
      given.fixedSpacing.value_or(maxMinSounding ? current_.S.data().TIME(0, 1) : 0.0f);
  request.fixedHeight =
      given.fixedHeight.value_or(maxMinSounding ? current_.S.data().TIME(0, 2) : 0.0f);

  const files::FlatAsciiImporter importer = files::flatAsciiImporter(kind);
  const auto chosen =
      toolkit_.chooseFileToOpen({importer.title, importer.filter}, std::string_view{});
  if (!chosen) return false;
  if (!shown(toolkit_, files::checkRegularFile(*chosen))) return false;
  if (!askImportColumns(*chosen, request)) return false;
  Sounding imported;
  if (!guarded(toolkit_, [&] {
        return shown(toolkit_,
                     files::readFlatAsciiData(*chosen, request, settings_.columns, imported));
      }))
    return false;
  adoptImportedData(imported);
  return true;
}

bool Program::importEdiData() {
  if (!askToSave()) return false;
  // The curve of the impedance tensor a 1-D interpretation takes, numbered
  // as the prompt lists them; anything else is the first choice.
  const auto curve = toolkit_.askNumber(files::kEdiModePrompt, 0.0);
  if (!curve) return false;
  const double choice = std::round(*curve);
  const files::EdiMode mode = choice >= 1.0 && choice <= 4.0
                                  ? static_cast<files::EdiMode>(static_cast<int>(choice))
                                  : files::EdiMode::Auto;
  const auto chosen =
      toolkit_.chooseFileToOpen({files::kEdiFileTitle, files::kEdiFileFilter}, std::string_view{});
  if (!chosen) return false;
  Sounding imported;
  if (!guarded(toolkit_,
               [&] { return shown(toolkit_, files::readEdiFile(*chosen, imported, mode)); }))
    return false;
  adoptImportedData(imported);
  return true;
}

bool Program::importUnsupported(UnsupportedImport format) {
  switch (format) {
    case UnsupportedImport::Emi:
      toolkit_.information("MT data from EMI data files are not supported");
      break;
    case UnsupportedImport::GeotoolsTbl:
      toolkit_.information("MT data from Geotools TBL files are not supported");
      break;
    case UnsupportedImport::KovatTem:
      toolkit_.information("TEM data from KOVAT .TEM files are not supported");
      break;
  }
  return false;
}

bool Program::importAsciiModel() {
  Sounding& S = current_.S;
  const files::FlatAsciiImporter importer =
      files::flatAsciiImporter(files::FlatAsciiKind::Model, S.header, S.NPK());
  const auto chosen =
      toolkit_.chooseFileToOpen({importer.title, importer.filter}, std::string_view{});
  if (!chosen) return false;
  if (!shown(toolkit_, files::checkRegularFile(*chosen))) return false;
  files::FlatAsciiRequest request;
  request.kind = files::FlatAsciiKind::Model;
  request.header = S.header;
  if (!askImportColumns(*chosen, request)) return false;
  files::ImportedModel model;
  if (!guarded(toolkit_, [&] {
        return shown(toolkit_,
                     files::readFlatAsciiModel(*chosen, settings_.columns, S.NPK(), model));
      }))
    return false;
  const ModelHeader old = S.model;
  S.model.NLAYER = model.header.NLAYER;
  S.model.NPK = model.header.NPK;
  S.model.depths = kFalse;
  if (!S.allocateModel()) {
    S.model = old;
    toolkit_.warning(importer.allocationMessage);
    return false;
  }
  S.M.PAR = model.PAR;
  S.layer.syntheticValid = S.layer.resolutionValid = S.layer.equivalenceValid = kFalse;
  S.layer.saved = kFalse;
  autoscalePending_ = true;
  toolkit_.requestRedraw();
  return true;
}

bool Program::exportAsciiData() {
  return guarded(toolkit_, [&] {
    return exportAsciiFile(toolkit_, files::AsciiExportKind::Data, current_.S, exportName(".DAT"));
  });
}

bool Program::exportAsciiSynthetics() {
  // Without a forward run the synthetics are not those of the model.
  if (!isSet(current_.S.layer.syntheticValid)) {
    toolkit_.information(kSyntheticNotValidMessage);
    return false;
  }
  const auto percent = toolkit_.askNumber(kNoisePrompt, 0.0);
  if (!percent) return false;
  const files::SyntheticNoise noise{exportNoise_, static_cast<float>(*percent)};
  return guarded(toolkit_, [&] {
    return exportAsciiFile(toolkit_, files::AsciiExportKind::Synthetics, current_.S,
                           exportName(".DAT"), &noise);
  });
}

bool Program::exportSmoothSynthetics() {
  if (!isSet(current_.SM.layer.syntheticValid) || !current_.SM.hasModel()) {
    toolkit_.information("Smooth model not available");
    return false;
  }
  const auto percent = toolkit_.askNumber(kNoisePrompt, 0.0);
  if (!percent) return false;
  const files::SyntheticNoise noise{exportNoise_, static_cast<float>(*percent)};
  return guarded(toolkit_, [&] {
    return exportAsciiFile(toolkit_, files::AsciiExportKind::Synthetics, current_.SM,
                           exportName(".DAT"), &noise);
  });
}

bool Program::exportAsciiModel() {
  return guarded(toolkit_, [&] {
    return exportAsciiFile(toolkit_, files::AsciiExportKind::Model, current_.S, exportName(".MDL"));
  });
}

bool Program::exportSmoothModel() {
  const Sounding& SM = current_.SM;
  if (!isSet(SM.layer.syntheticValid) || SM.NLAYER() <= 0 || !SM.hasModel()) {
    toolkit_.information("Smooth model not available");
    return false;
  }
  return guarded(toolkit_, [&] {
    return exportAsciiFile(toolkit_, files::AsciiExportKind::Model, SM, exportName(".MDL"));
  });
}

bool Program::exportEquivalentModels() {
  const Sounding& S = current_.S;
  if (!isSet(S.layer.equivalenceValid) || S.NLAYER() <= 0) {
    toolkit_.information("Equivalent models not available");
    return false;
  }
  return guarded(toolkit_, [&] {
    return exportAsciiFile(toolkit_, files::AsciiExportKind::EquivalentModels, S,
                           exportName(".MDL"));
  });
}

bool Program::exportUsfData() {
  return guarded(toolkit_, [&] {
    const auto chosen = toolkit_.chooseFileToSave({files::kUsfFileTitle, files::kUsfFileFilter},
                                                  exportName(".USF"));
    return chosen && shown(toolkit_, files::exportUsf(*chosen, current_.S));
  });
}

}  // namespace zeva::core
