#pragma once
// The data types the program knows. A data type is the 20-character text in
// the data header, compared as a whole padded text; there is no numeric code.

#include <span>
#include <string_view>

#include "core/record/record_headers.h"

namespace zeva::core {

enum class Family { DcResistivity, MaxMin, EmConductivity, Magnetotelluric, TimeDomainEm, Unknown };

struct DataTypeInfo {
  std::string_view text;
  Family family;
};

namespace type {
inline constexpr std::string_view kSchlumberger = "Schlumberger Array";
inline constexpr std::string_view kWenner = "Wenner Array";
inline constexpr std::string_view kDipoleDipole = "Dipole-Dipole Array";
inline constexpr std::string_view kPoleDipole = "Pole-Dipole Array";
inline constexpr std::string_view kPolePole = "Pole-Pole Array";
inline constexpr std::string_view kPolarDipole = "Polar Dipole Array";
inline constexpr std::string_view kPerpendicular = "Perpendicular Array";
inline constexpr std::string_view kGroundingImpedance = "Grounding Impedance";
inline constexpr std::string_view kHorizontalCoplanar = "Horizontal Coplanar";
inline constexpr std::string_view kVerticalCoplanar = "Vertical Coplanar";
inline constexpr std::string_view kVerticalCoaxial = "Vertical Coaxial";
inline constexpr std::string_view kEmConductivity = "EM Conductivity Data";
inline constexpr std::string_view kMagnetotelluric = "Magnetotelluric Data";
inline constexpr std::string_view kMtCurves = "MT Data xy, yx, inv.";
inline constexpr std::string_view kControlledSourceMt = "Controlled Source MT";
inline constexpr std::string_view kSeaFloorMtTe = "Sea Floor MT data TE";
inline constexpr std::string_view kSeaFloorMtTm = "Sea Floor MT data TM";
inline constexpr std::string_view kCentralLoopTem = "Central Loop TEM";
inline constexpr std::string_view kCoincidentLoopTem = "Coincident Loop TEM";
inline constexpr std::string_view kFixedLoopTem = "Fixed Loop TEM";
inline constexpr std::string_view kFixedLoopRadialH = "Fixed Loop Radial H";
inline constexpr std::string_view kFixedLoopHorizH = "Fixed Loop Horiz. H";
inline constexpr std::string_view kCircularLoopRadH = "Cicular Loop Rad. H";  // stored spelling
inline constexpr std::string_view kMarineTemInline = "Marine TEM Inline E";
inline constexpr std::string_view kMarineTemBSide = "Marine TEM B-Side E";
}  // namespace type

// Every known data type, in the order of the program's table.
std::span<const DataTypeInfo> knownDataTypes();

// The known type of a data-type text, or nullptr for an unknown text.
const DataTypeInfo* findDataType(const DataTypeText& text);
Family familyOf(const DataTypeText& text);

bool isMaxMin(const DataTypeText& text);
bool isTem(const DataTypeText& text);
bool isMagnetotelluric(const DataTypeText& text);
bool isDcResistivity(const DataTypeText& text);

}  // namespace zeva::core
