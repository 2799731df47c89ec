#pragma once
// The data types the program knows. A data type is stored as the 20-character
// text in the data header, compared as a whole padded text (there is no
// numeric code in the files). The program looks the text up once in the
// traits table and asks the row whatever it needs to know about the type, so
// that each rule about data types is written in one place.

#include <cstdint>
#include <span>
#include <string_view>

#include "core/record/record_headers.h"

namespace zeva::core {

enum class Family { DcResistivity, MaxMin, EmConductivity, Magnetotelluric, TimeDomainEm, Unknown };

// One known data type: the electrode array of a DC sounding, the coil
// configuration of a MaxMin sounding, the source and setting of an MT
// sounding, the loop or wire arrangement of a TEM sounding.
enum class DataTypeId : std::uint8_t {
  Unknown,
  Schlumberger,
  Wenner,
  DipoleDipole,
  PoleDipole,
  PolePole,
  PolarDipole,
  Perpendicular,
  GroundingImpedance,
  HorizontalCoplanar,
  VerticalCoplanar,
  VerticalCoaxial,
  EmConductivity,
  Magnetotelluric,
  MtCurves,
  ControlledSourceMt,
  SeaFloorMtTe,
  SeaFloorMtTm,
  CentralLoopTem,
  CoincidentLoopTem,
  FixedLoopTem,
  FixedLoopRadialH,
  FixedLoopHorizH,
  CircularLoopRadH,
  MarineTemInline,
  MarineTemBSide,
};

// What the data curves are plotted against, and so the data plot's bottom
// axis.
enum class Abscissa : std::uint8_t {
  Spacing,           // the first geometry value: AB/2, electrode spacing or dipole distance
  SeparationFactor,  // n, in dipole lengths a, of the dipole-dipole and pole-dipole arrays
  MaxMinVariable,    // frequency, coil spacing or height, as the mode word says
  PenetrationDepth,  // effective penetration of each ground conductivity reading
  Frequency,         // magnetotelluric soundings
  GateTime,          // transient soundings
};

// The quantity each reading holds, and so its units.
enum class DataValues : std::uint8_t {
  ApparentResistivity,   // ohm-m (or ohm-feet), with IP as a second value
  Impedance,             // ohm: the grounding impedance V / I itself
  InPhaseQuadrature,     // per cent of the primary field
  ApparentConductivity,  // mS/m, horizontal then vertical dipoles
  ResistivityAndPhase,   // ohm-m and degrees, in pairs
  GateVoltage,           // the stored TEM voltage unit
};

// The forward routine that computes a type's synthetics.
enum class ForwardKind : std::uint8_t {
  DcResistivity,  // the electrode arrays (IP when the layers carry IP parameters)
  MaxMin,
  EmConductivity,
  Magnetotelluric,
  TransientEm,  // the loop TEM types
  None,         // the marine TEM types: converted to late-time resistivity only
};

// How the late-time conversion reads the field of a transient sounding.
enum class LateTimeField : std::uint8_t {
  None,        // not a transient sounding
  Coincident,  // one loop for source and receiver
  Vertical,    // vertical field of a loop (or grounded wire) source
  Radial,      // horizontal field along the radius from the loop centre
  Horizontal,  // horizontal field across it
};

struct DataTypeTraits {
  DataTypeId id = DataTypeId::Unknown;
  std::string_view text;  // stored spelling, without the padding
  Family family = Family::Unknown;
  Abscissa abscissa = Abscissa::Spacing;
  DataValues values = DataValues::ApparentResistivity;
  ForwardKind forward = ForwardKind::DcResistivity;
  LateTimeField lateTimeField = LateTimeField::None;
  // Each reading carries the potential electrode separation MN beside AB/2;
  // the jumps where MN changes are the segments that shifting levels.
  bool potentialSpacing = false;
  // The geometric factor that turns voltage and current into apparent
  // resistivity takes the data header's dipole length a: the dipole-dipole,
  // pole-dipole, polar dipole and perpendicular arrays.
  bool dipoleLengthInFactor = false;
  // The model's layer parameters are conductivities in mS/m.
  bool conductivityModel = false;
  // Measured on the sea floor: the MT response below a conductive sea.
  bool seaFloor = false;
  // The loop TEM types of the exchange file and of the view rules: central,
  // coincident and fixed loop.
  bool loopTem = false;

  // Readings give the separation factor n of two dipoles of the header's
  // dipole length a (dipole-dipole and pole-dipole): plotted against
  // n-spacing, the dipole length written with the data.
  bool separationFactor() const { return abscissa == Abscissa::SeparationFactor; }
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
std::span<const DataTypeTraits> knownDataTypes();

// The known type of a data-type text, or nullptr for an unknown text.
const DataTypeTraits* findDataType(const DataTypeText& text);

// The traits of a data-type text; an unknown text gets the row of
// DataTypeId::Unknown (family Unknown, plotted and modelled as a plain
// electrode array without a formula).
const DataTypeTraits& traitsOf(const DataTypeText& text);
const DataTypeTraits& traitsOf(DataTypeId id);

// The stored text of a known type.
std::string_view textOf(DataTypeId id);

Family familyOf(const DataTypeText& text);

bool isMaxMin(const DataTypeText& text);
bool isTem(const DataTypeText& text);
bool isMagnetotelluric(const DataTypeText& text);
bool isDcResistivity(const DataTypeText& text);

}  // namespace zeva::core
