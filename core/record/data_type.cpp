#include "core/record/data_type.h"

#include <array>

namespace zeva::core {

namespace {

using enum DataTypeId;
using A = Abscissa;
using V = DataValues;
using L = LateTimeField;
namespace t = type;
constexpr Family kDc = Family::DcResistivity;
constexpr Family kMaxMin = Family::MaxMin;
constexpr Family kMt = Family::Magnetotelluric;
constexpr Family kTem = Family::TimeDomainEm;
constexpr ForwardKind kMaxMinRoutine = ForwardKind::MaxMin;
constexpr ForwardKind kMtRoutine = ForwardKind::Magnetotelluric;
constexpr ForwardKind kTemRoutine = ForwardKind::TransientEm;
// The coincident loop keeps the late-time conversion only: the flux of a
// loop through itself is not yet modelled accurately at late time.
constexpr ForwardKind kNoRoutine = ForwardKind::None;

// clang-format off
constexpr std::array<DataTypeTraits, 25> kDataTypes{{
    {.id = Schlumberger, .text = t::kSchlumberger, .family = kDc, .potentialSpacing = true},
    {.id = Wenner, .text = t::kWenner, .family = kDc},
    {.id = DipoleDipole, .text = t::kDipoleDipole, .family = kDc, .abscissa = A::SeparationFactor,
     .dipoleLengthInFactor = true},
    {.id = PoleDipole, .text = t::kPoleDipole, .family = kDc, .abscissa = A::SeparationFactor,
     .dipoleLengthInFactor = true},
    {.id = PolePole, .text = t::kPolePole, .family = kDc},
    {.id = PolarDipole, .text = t::kPolarDipole, .family = kDc, .dipoleLengthInFactor = true},
    {.id = Perpendicular, .text = t::kPerpendicular, .family = kDc, .dipoleLengthInFactor = true},
    {.id = GroundingImpedance, .text = t::kGroundingImpedance, .family = kDc,
     .values = V::Impedance},
    {.id = HorizontalCoplanar, .text = t::kHorizontalCoplanar, .family = kMaxMin,
     .abscissa = A::MaxMinVariable, .values = V::InPhaseQuadrature, .forward = kMaxMinRoutine},
    {.id = VerticalCoplanar, .text = t::kVerticalCoplanar, .family = kMaxMin,
     .abscissa = A::MaxMinVariable, .values = V::InPhaseQuadrature, .forward = kMaxMinRoutine},
    {.id = VerticalCoaxial, .text = t::kVerticalCoaxial, .family = kMaxMin,
     .abscissa = A::MaxMinVariable, .values = V::InPhaseQuadrature, .forward = kMaxMinRoutine},
    {.id = EmConductivity, .text = t::kEmConductivity, .family = Family::EmConductivity,
     .abscissa = A::PenetrationDepth, .values = V::ApparentConductivity,
     .forward = ForwardKind::EmConductivity, .conductivityModel = true},
    {.id = Magnetotelluric, .text = t::kMagnetotelluric, .family = kMt, .abscissa = A::Frequency,
     .values = V::ResistivityAndPhase, .forward = kMtRoutine},
    {.id = MtCurves, .text = t::kMtCurves, .family = kMt, .abscissa = A::Frequency,
     .values = V::ResistivityAndPhase, .forward = kMtRoutine},
    {.id = ControlledSourceMt, .text = t::kControlledSourceMt, .family = kMt,
     .abscissa = A::Frequency, .values = V::ResistivityAndPhase, .forward = kMtRoutine},
    {.id = SeaFloorMtTe, .text = t::kSeaFloorMtTe, .family = kMt, .abscissa = A::Frequency,
     .values = V::ResistivityAndPhase, .forward = kMtRoutine, .seaFloor = true},
    {.id = SeaFloorMtTm, .text = t::kSeaFloorMtTm, .family = kMt, .abscissa = A::Frequency,
     .values = V::ResistivityAndPhase, .forward = kMtRoutine, .seaFloor = true},
    {.id = CentralLoopTem, .text = t::kCentralLoopTem, .family = kTem, .abscissa = A::GateTime,
     .values = V::GateVoltage, .forward = kTemRoutine, .lateTimeField = L::Vertical,
     .loopTem = true},
    {.id = CoincidentLoopTem, .text = t::kCoincidentLoopTem, .family = kTem,
     .abscissa = A::GateTime, .values = V::GateVoltage, .forward = kTemRoutine,
     .lateTimeField = L::Coincident, .loopTem = true},
    {.id = FixedLoopTem, .text = t::kFixedLoopTem, .family = kTem, .abscissa = A::GateTime,
     .values = V::GateVoltage, .forward = kTemRoutine, .lateTimeField = L::Vertical,
     .loopTem = true},
    {.id = FixedLoopRadialH, .text = t::kFixedLoopRadialH, .family = kTem,
     .abscissa = A::GateTime, .values = V::GateVoltage, .forward = kTemRoutine,
     .lateTimeField = L::Radial},
    {.id = FixedLoopHorizH, .text = t::kFixedLoopHorizH, .family = kTem, .abscissa = A::GateTime,
     .values = V::GateVoltage, .forward = kTemRoutine, .lateTimeField = L::Horizontal},
    {.id = CircularLoopRadH, .text = t::kCircularLoopRadH, .family = kTem,
     .abscissa = A::GateTime, .values = V::GateVoltage, .forward = kTemRoutine,
     .lateTimeField = L::Radial},
    {.id = MarineTemInline, .text = t::kMarineTemInline, .family = kTem, .abscissa = A::GateTime,
     .values = V::GateVoltage, .forward = kNoRoutine, .lateTimeField = L::Vertical},
    {.id = MarineTemBSide, .text = t::kMarineTemBSide, .family = kTem, .abscissa = A::GateTime,
     .values = V::GateVoltage, .forward = kNoRoutine, .lateTimeField = L::Vertical},
}};
// clang-format on

// An unknown text is taken as an electrode array without a formula: its
// synthetics are 0 and its curves are plotted against the first geometry
// value.
constexpr DataTypeTraits kUnknown{};

}  // namespace

std::span<const DataTypeTraits> knownDataTypes() { return kDataTypes; }

const DataTypeTraits* findDataType(const DataTypeText& text) {
  for (const DataTypeTraits& traits : kDataTypes)
    if (text == traits.text) return &traits;
  return nullptr;
}

const DataTypeTraits& traitsOf(const DataTypeText& text) {
  const DataTypeTraits* traits = findDataType(text);
  return traits ? *traits : kUnknown;
}

const DataTypeTraits& traitsOf(DataTypeId id) {
  for (const DataTypeTraits& traits : kDataTypes)
    if (traits.id == id) return traits;
  return kUnknown;
}

std::string_view textOf(DataTypeId id) { return traitsOf(id).text; }

Family familyOf(const DataTypeText& text) { return traitsOf(text).family; }

bool isMaxMin(const DataTypeText& text) { return familyOf(text) == Family::MaxMin; }
bool isTem(const DataTypeText& text) { return familyOf(text) == Family::TimeDomainEm; }
bool isMagnetotelluric(const DataTypeText& text) {
  return familyOf(text) == Family::Magnetotelluric;
}
bool isDcResistivity(const DataTypeText& text) { return familyOf(text) == Family::DcResistivity; }

}  // namespace zeva::core
