#include "files/sounding_import.h"

#include "core/record/data_type.h"

namespace zeva::files {

core::DataHeader importedDataHeader(const core::DataTypeText& type) {
  core::DataHeader header;
  header.dataType = type;
  header.NSETS = 1;
  header.maskingOn = core::kTrue;
  header.resistivityUnit.assign("(ohm-m)");
  header.lengthUnit.assign("(meters)");
  header.plotCount = 1;
  return header;
}

bool logarithmicMisfit(const core::DataTypeText& type, int component) {
  switch (core::familyOf(type)) {
    case core::Family::MaxMin:
      return false;
    case core::Family::EmConductivity:
    case core::Family::TimeDomainEm:
      return true;
    case core::Family::Magnetotelluric:
    case core::Family::DcResistivity:
    case core::Family::Unknown:
      return component == 0;
  }
  return component == 0;
}

bool beginImportedData(core::Sounding& sounding, const core::DataHeader& header) {
  sounding.header = header;
  if (!sounding.allocateData()) return false;
  core::SoundingData& d = sounding.data();
  for (std::size_t c = 0; c < d.LOGDAT.size(); ++c)
    d.LOGDAT[c] = core::logical(logarithmicMisfit(header.dataType, static_cast<int>(c)));
  for (std::size_t k = 0; k < d.KCALC.size(); ++k)
    d.KCALC[k] = static_cast<std::int32_t>(2 + 2 * (k % 5));
  for (auto& end : d.NSET) end = header.NDATA;
  return true;
}

}  // namespace zeva::files
