#include "core/program/new_sounding.h"

#include "core/record/data_type.h"
#include "files/sounding_import.h"

namespace zeva::core {

namespace {

Family familyOfKind(NewSoundingKind kind) {
  switch (kind) {
    case NewSoundingKind::Dc:
    case NewSoundingKind::DcIp:
      return Family::DcResistivity;
    case NewSoundingKind::MaxMin:
      return Family::MaxMin;
    case NewSoundingKind::EmConductivity:
      return Family::EmConductivity;
    case NewSoundingKind::Mt:
      return Family::Magnetotelluric;
    case NewSoundingKind::Tem:
      return Family::TimeDomainEm;
  }
  return Family::Unknown;
}

// Schlumberger readings carry the potential electrode spacing MN beside
// AB/2; the dipole arrays give n per reading and one dipole length a in the
// header; the other arrays have one spacing.
bool twoGeometryValues(const DataTypeText& type) { return traitsOf(type).potentialSpacing; }

}  // namespace

std::string_view newSoundingName(NewSoundingKind kind) {
  switch (kind) {
    case NewSoundingKind::Dc:
      return "New DC Data *";
    case NewSoundingKind::DcIp:
      return "New DC/IP Data *";
    case NewSoundingKind::MaxMin:
      return "New MaxMin Data *";
    case NewSoundingKind::EmConductivity:
      return "New EMS Data *";
    case NewSoundingKind::Mt:
      return "New MT Data *";
    case NewSoundingKind::Tem:
      return "New TEM Data *";
  }
  return "New Data *";
}

std::string_view defaultNewSoundingType(NewSoundingKind kind) {
  switch (kind) {
    case NewSoundingKind::Dc:
    case NewSoundingKind::DcIp:
      return type::kSchlumberger;
    case NewSoundingKind::MaxMin:
      return type::kHorizontalCoplanar;
    case NewSoundingKind::EmConductivity:
      return type::kEmConductivity;
    case NewSoundingKind::Mt:
      return type::kMagnetotelluric;
    case NewSoundingKind::Tem:
      return type::kCentralLoopTem;
  }
  return type::kSchlumberger;
}

bool newSoundingTypeAllowed(NewSoundingKind kind, std::string_view dataType) {
  if (dataType.size() > 20) return false;
  return familyOf(DataTypeText(dataType)) == familyOfKind(kind);
}

DataHeader newSoundingHeader(NewSoundingKind kind, const NewSoundingChoices& choices) {
  const std::string_view typeText = newSoundingTypeAllowed(kind, choices.dataType)
                                        ? std::string_view(choices.dataType)
                                        : defaultNewSoundingType(kind);
  DataHeader header = files::importedDataHeader(DataTypeText(typeText));
  header.name.assign(newSoundingName(kind));
  header.NDATA = 0;
  header.NSHIFT = 0;
  header.lengthUnit.assign(choices.lengthUnit == "(feet)" ? "(feet)" : "(meters)");
  switch (kind) {
    case NewSoundingKind::Dc:
      header.NCOMP = 1;
      header.NGEOM = twoGeometryValues(header.dataType) ? 2 : 1;
      header.voltageAndCurrent = logical(choices.voltageAndCurrent);
      header.dipoleLength = choices.dipoleLength;
      break;
    case NewSoundingKind::DcIp:
      // Voltage and current would overlap the IP column (two data values).
      header.NCOMP = 2;
      header.NGEOM = twoGeometryValues(header.dataType) ? 2 : 1;
      header.voltageAndCurrent = kFalse;
      header.ipUnit.assign(choices.ipUnit);
      header.dipoleLength = choices.dipoleLength;
      break;
    case NewSoundingKind::MaxMin:
      header.NCOMP = 2;
      header.NGEOM = 3;
      header.mode = choices.mode >= 1 && choices.mode <= 3 ? choices.mode : 1;
      break;
    case NewSoundingKind::EmConductivity:
      // Both dipole orientations: horizontal in column 1, vertical in 2.
      header.NCOMP = 2;
      header.NGEOM = 3;
      header.mode = 1;
      break;
    case NewSoundingKind::Mt:
      header.NCOMP = 2;
      header.NGEOM = 1;
      break;
    case NewSoundingKind::Tem:
      header.NCOMP = 1;
      header.NGEOM = 1;
      header.temVoltageUnit.assign(choices.temVoltageUnit);
      header.loopSizeX = choices.tem.loopSizeX;
      header.loopSizeY = choices.tem.loopSizeY;
      header.coilX = choices.tem.coilX;
      header.coilY = choices.tem.coilY;
      break;
  }
  return header;
}

void setFirstSweep(Sounding& S, const TemAcquisition& tem) {
  SoundingData& d = S.data();
  if (d.AMPS.empty() || d.NTURNS.empty() || d.AREA.empty() || d.RAMP.empty() || d.FREQ.empty())
    return;
  d.AMPS[0] = tem.current;
  d.NTURNS[0] = tem.turns;
  d.AREA[0] = tem.receiverArea;
  d.RAMP[0] = tem.ramp;
  d.FREQ[0] = tem.baseFrequency;
}

}  // namespace zeva::core
