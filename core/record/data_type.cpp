#include "core/record/data_type.h"

#include <array>

namespace zeva::core {

namespace {

constexpr std::array kDataTypes{
    DataTypeInfo{type::kSchlumberger, Family::DcResistivity},
    DataTypeInfo{type::kWenner, Family::DcResistivity},
    DataTypeInfo{type::kDipoleDipole, Family::DcResistivity},
    DataTypeInfo{type::kPoleDipole, Family::DcResistivity},
    DataTypeInfo{type::kPolePole, Family::DcResistivity},
    DataTypeInfo{type::kPolarDipole, Family::DcResistivity},
    DataTypeInfo{type::kPerpendicular, Family::DcResistivity},
    DataTypeInfo{type::kGroundingImpedance, Family::DcResistivity},
    DataTypeInfo{type::kHorizontalCoplanar, Family::MaxMin},
    DataTypeInfo{type::kVerticalCoplanar, Family::MaxMin},
    DataTypeInfo{type::kVerticalCoaxial, Family::MaxMin},
    DataTypeInfo{type::kEmConductivity, Family::EmConductivity},
    DataTypeInfo{type::kMagnetotelluric, Family::Magnetotelluric},
    DataTypeInfo{type::kMtCurves, Family::Magnetotelluric},
    DataTypeInfo{type::kControlledSourceMt, Family::Magnetotelluric},
    DataTypeInfo{type::kSeaFloorMtTe, Family::Magnetotelluric},
    DataTypeInfo{type::kSeaFloorMtTm, Family::Magnetotelluric},
    DataTypeInfo{type::kCentralLoopTem, Family::TimeDomainEm},
    DataTypeInfo{type::kCoincidentLoopTem, Family::TimeDomainEm},
    DataTypeInfo{type::kFixedLoopTem, Family::TimeDomainEm},
    DataTypeInfo{type::kFixedLoopRadialH, Family::TimeDomainEm},
    DataTypeInfo{type::kFixedLoopHorizH, Family::TimeDomainEm},
    DataTypeInfo{type::kCircularLoopRadH, Family::TimeDomainEm},
    DataTypeInfo{type::kMarineTemInline, Family::TimeDomainEm},
    DataTypeInfo{type::kMarineTemBSide, Family::TimeDomainEm},
};

}  // namespace

std::span<const DataTypeInfo> knownDataTypes() { return kDataTypes; }

const DataTypeInfo* findDataType(const DataTypeText& text) {
  for (const DataTypeInfo& info : kDataTypes)
    if (text == info.text) return &info;
  return nullptr;
}

Family familyOf(const DataTypeText& text) {
  const DataTypeInfo* info = findDataType(text);
  return info ? info->family : Family::Unknown;
}

bool isMaxMin(const DataTypeText& text) { return familyOf(text) == Family::MaxMin; }
bool isTem(const DataTypeText& text) { return familyOf(text) == Family::TimeDomainEm; }
bool isMagnetotelluric(const DataTypeText& text) { return familyOf(text) == Family::Magnetotelluric; }
bool isDcResistivity(const DataTypeText& text) { return familyOf(text) == Family::DcResistivity; }

}  // namespace zeva::core
