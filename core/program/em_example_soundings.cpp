#include "core/program/em_example_soundings.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include "core/record/data_type.h"
#include "forward/em_conductivity_forward.h"
#include "forward/maxmin_forward.h"
#include "forward/mt_forward.h"
#include "forward/tem_forward.h"
#include "forward/tem_late_time.h"
#include "ui/toolkit/null_toolkit.h"

namespace zeva::core {

namespace {

struct Layers {
  std::vector<float> values;  // resistivities (ohm-m) or conductivities (mS/m)
  std::vector<float> thicknesses;
};

// A fresh sounding of the type in S, with its arrays allocated and the
// smooth instance set up as at start-up.
void begin(CurrentSounding& current, std::string_view type, std::string_view name, int ndata,
           int ncomp, int ngeom, int nsets) {
  Sounding& S = current.S;
  S.freeArrays();
  S.layer = LayerHeader{};
  S.header = DataHeader{};
  S.header.name.assign(name);
  S.header.dataType.assign(type);
  S.header.NDATA = ndata;
  S.header.NCOMP = ncomp;
  S.header.NGEOM = ngeom;
  S.header.NSETS = nsets;
  S.header.maskingOn = kTrue;
  S.header.resistivityUnit.assign("(ohm-m)");
  S.header.lengthUnit.assign("(meters)");
  S.allocateData();
  if (nsets > 0) S.data().NSET[0] = ndata;
  current.modelOnData = kFalse;

  resetSmoothModel(current);
}

void setModel(Sounding& S, const Layers& layers) {
  S.model = ModelHeader{};
  S.model.NLAYER = static_cast<int>(layers.values.size());
  S.model.NPK = 1;
  S.allocateModel();
  std::ranges::copy(layers.values, S.M.PAR.begin());
  std::ranges::copy(layers.thicknesses, S.M.PAR.begin() + S.model.NLAYER);
}

float threeFigures(float value) {
  if (value == 0.0f || !std::isfinite(value)) return value;
  const float scale = std::pow(10.0f, 2.0f - std::floor(std::log10(std::fabs(value))));
  return std::round(value * scale) / scale;
}

// The response of the reference earth becomes the observed data (three
// figures), the starting model replaces it, and the synthetics are cleared.
template <typename Forward>
void observe(Sounding& S, const Layers& reference, const Layers& start, Forward forward) {
  setModel(S, reference);
  forward(S);
  auto& d = S.data();
  for (std::size_t j = 0; j < S.SVOLT.cols(); ++j)
    for (std::size_t i = 0; i < S.SVOLT.rows(); ++i) d.VOLTS(i, j) = threeFigures(S.SVOLT(i, j));
  setModel(S, start);
  S.SVOLT.resize(S.SVOLT.rows(), S.SVOLT.cols());
  S.layer = LayerHeader{};
}

std::vector<float> logSpaced(float from, float to, int count) {
  std::vector<float> values;
  for (int i = 0; i < count; ++i)
    values.push_back(from *
                     std::pow(to / from, static_cast<float>(i) / static_cast<float>(count - 1)));
  return values;
}

void makeMt(CurrentSounding& current, const DataTypeTraits& type) {
  const bool seaFloor = type.seaFloor;
  const bool controlledSource = type.id == DataTypeId::ControlledSourceMt;
  const std::vector<float> frequencies = seaFloor           ? logSpaced(1.0e-4f, 0.1f, 16)
                                         : controlledSource ? logSpaced(1.0f, 1.0e4f, 17)
                                                            : logSpaced(1.0e-3f, 1.0e3f, 19);
  const int n = static_cast<int>(frequencies.size());
  begin(current, type.text, "MT Example*", n, 2, 1, 1);
  Sounding& S = current.S;
  if (seaFloor) {
    S.header.waterDepth = 1000.0f;
    S.header.seaWaterResistivity = 0.3f;
  }
  auto& d = S.data();
  std::ranges::copy(frequencies, d.TIME.column(0).begin());
  const Layers reference = seaFloor ? Layers{{2.0f, 20.0f, 1.0f}, {500.0f, 2000.0f}}
                                    : Layers{{100.0f, 10.0f, 1000.0f}, {500.0f, 2000.0f}};
  const Layers start = seaFloor ? Layers{{5.0f, 5.0f, 5.0f}, {400.0f, 1500.0f}}
                                : Layers{{100.0f, 100.0f, 100.0f}, {400.0f, 1500.0f}};
  observe(S, reference, start, [](Sounding& s) { forward::mtForward(s); });
  for (int i = 0; i < n; ++i) {
    const auto row = static_cast<std::size_t>(i);
    d.UVOLTS(row, 0) = threeFigures(0.05f * d.VOLTS(row, 0));
    d.UVOLTS(row, 1) = 1.5f;
  }
  d.LOGDAT[0] = kTrue;
}

void makeMaxMin(CurrentSounding& current, std::string_view type) {
  const int n = 10;
  begin(current, type, "MaxMin Example*", n, 2, 3, 1);
  Sounding& S = current.S;
  S.header.mode = 1;  // the frequency varies along the sounding
  auto& d = S.data();
  for (int i = 0; i < n; ++i) {
    const auto row = static_cast<std::size_t>(i);
    d.TIME(row, 0) = 110.0f * std::pow(2.0f, static_cast<float>(i));
    d.TIME(row, 1) = 100.0f;
    d.TIME(row, 2) = 0.0f;
  }
  ui::NullToolkit quiet;
  observe(S, Layers{{300.0f, 30.0f}, {40.0f}}, Layers{{100.0f, 100.0f}, {30.0f}},
          [&quiet](Sounding& s) { forward::CalcMaxMin(s, quiet); });
  for (auto& e : d.UVOLTS.elements()) e = 0.5f;
}

void makeEmConductivity(CurrentSounding& current) {
  struct Meter {
    float frequency, spacing, height;
  };
  constexpr Meter kReadings[] = {{9800.0f, 3.66f, 1.0f},
                                 {9800.0f, 3.66f, 0.0f},
                                 {6400.0f, 10.0f, 0.0f},
                                 {1600.0f, 20.0f, 0.0f},
                                 {400.0f, 40.0f, 0.0f}};
  const int n = static_cast<int>(std::size(kReadings));
  begin(current, type::kEmConductivity, "EM Conductivity Example*", n, 2, 3, 1);
  Sounding& S = current.S;
  S.header.mode = forward::kBothDipoles;
  S.header.resistivityUnit.assign("(mS/m)");
  auto& d = S.data();
  for (int i = 0; i < n; ++i) {
    const auto row = static_cast<std::size_t>(i);
    d.TIME(row, 0) = kReadings[i].frequency;
    d.TIME(row, 1) = kReadings[i].spacing;
    d.TIME(row, 2) = kReadings[i].height;
  }
  ui::NullToolkit quiet;
  observe(S, Layers{{20.0f, 80.0f, 10.0f}, {3.0f, 10.0f}},
          Layers{{30.0f, 30.0f, 30.0f}, {3.0f, 10.0f}},
          [&quiet](Sounding& s) { forward::emConductivityForward(s, quiet); });
  for (std::size_t i = 0; i < d.UVOLTS.size(); ++i)
    d.UVOLTS.elements()[i] = threeFigures(0.05f * std::fabs(d.VOLTS.elements()[i]));
  d.LOGDAT[0] = d.LOGDAT[1] = kTrue;
}

// Loop geometry of each TEM type: sides, receiver offsets.
struct TemGeometry {
  float Lx, Ly, x, y;
};

TemGeometry temGeometry(DataTypeId type) {
  switch (type) {
    // Receivers inside the loop, where the transient keeps its sign.
    case DataTypeId::FixedLoopTem:
    case DataTypeId::FixedLoopRadialH:
      return {300.0f, 300.0f, 100.0f, 0.0f};
    case DataTypeId::FixedLoopHorizH:
      return {300.0f, 300.0f, 50.0f, 0.0f};
    case DataTypeId::CircularLoopRadH:
      return {200.0f, 200.0f, 50.0f, 0.0f};
    case DataTypeId::MarineTemInline:
      return {0.0f, 250.0f, 1000.0f, 0.0f};
    case DataTypeId::MarineTemBSide:
      return {250.0f, 0.0f, 0.0f, 1000.0f};
    default:
      return {100.0f, 100.0f, 0.0f, 0.0f};  // central and coincident loops
  }
}

// The geometry, units and first sweep of a TEM example over `gates` (ms).
void beginTem(CurrentSounding& current, const DataTypeTraits& type,
              const std::vector<float>& gates) {
  begin(current, type.text, "TEM Example*", static_cast<int>(gates.size()), 1, 1, 1);
  Sounding& S = current.S;
  const TemGeometry g = temGeometry(type.id);
  S.header.loopSizeX = g.Lx;
  S.header.loopSizeY = g.Ly;
  S.header.coilX = g.x;
  S.header.coilY = g.y;
  const bool coincident = type.lateTimeField == LateTimeField::Coincident;
  S.header.temVoltageUnit.assign(coincident ? "(uV/A)" : "(nV/m^2)");
  auto& d = S.data();
  std::ranges::copy(gates, d.TIME.column(0).begin());
  d.AMPS[0] = coincident ? 1.0f : 10.0f;
  d.NTURNS[0] = 1;
  d.RAMP[0] = 50.0f;
  d.FREQ[0] = 2.5f;  // the last gate, 20 ms, lies within a quarter period
  d.AREA[0] = 100.0f;
  d.LOGDAT[0] = kTrue;
}

// The loop types the transient model knows: the response of a cover over a
// conductor on a resistive basement, 3 % error bars, and a uniform start.
void makeModelledTem(CurrentSounding& current, const DataTypeTraits& type) {
  beginTem(current, type, logSpaced(0.01f, 20.0f, 25));
  Sounding& S = current.S;
  ui::NullToolkit quiet;
  observe(S, Layers{{100.0f, 10.0f, 1000.0f}, {40.0f, 60.0f}},
          Layers{{100.0f, 100.0f, 100.0f}, {40.0f, 60.0f}},
          [&quiet](Sounding& s) { forward::temForward(s, quiet); });
  auto& d = S.data();
  for (std::size_t i = 0; i < S.SVOLT.rows(); ++i)
    d.UVOLTS(i, 0) = threeFigures(0.03f * std::fabs(d.VOLTS(i, 0)));
}

// The types without a transient model: gate voltages whose late-time
// apparent resistivity falls from 100 ohm-m at early time to 20 ohm-m late,
// as over a conductive basement; each voltage is found by bisection on the
// conversion itself, which falls monotonically with the voltage.
void makeLateTimeTem(CurrentSounding& current, const DataTypeTraits& type) {
  const std::vector<float> gates = logSpaced(0.1f, 20.0f, 20);
  beginTem(current, type, gates);
  Sounding& S = current.S;
  auto& d = S.data();
  std::vector<float> target(gates.size()), low(gates.size(), 1.0e-12f), high(gates.size(), 1.0e12f);
  for (std::size_t i = 0; i < gates.size(); ++i)
    target[i] = 20.0f + 80.0f / (1.0f + std::pow(gates[i] / 2.0f, 1.5f));
  std::vector<float> middle(gates.size()), rho(gates.size());
  for (int step = 0; step < 80; ++step) {
    for (std::size_t i = 0; i < gates.size(); ++i) middle[i] = std::sqrt(low[i] * high[i]);
    forward::lateTimeApparentResistivity(S, gates, middle, rho);
    for (std::size_t i = 0; i < gates.size(); ++i)
      (rho[i] > target[i] ? low[i] : high[i]) = middle[i];
  }
  for (std::size_t i = 0; i < gates.size(); ++i) {
    d.VOLTS(i, 0) = threeFigures(middle[i]);
    d.UVOLTS(i, 0) = threeFigures(0.03f * middle[i]);
  }
  setModel(S, Layers{{100.0f, 20.0f, 200.0f}, {50.0f, 150.0f}});
}

void makeTem(CurrentSounding& current, const DataTypeTraits& type) {
  if (type.forward == ForwardKind::TransientEm)
    makeModelledTem(current, type);
  else
    makeLateTimeTem(current, type);
}

}  // namespace

bool makeElectromagneticExample(const DataTypeText& type, CurrentSounding& current) {
  const DataTypeTraits* info = findDataType(type);
  if (!info) return false;
  switch (info->family) {
    case Family::Magnetotelluric:
      makeMt(current, *info);
      return true;
    case Family::MaxMin:
      makeMaxMin(current, info->text);
      return true;
    case Family::EmConductivity:
      makeEmConductivity(current);
      return true;
    case Family::TimeDomainEm:
      makeTem(current, *info);
      return true;
    default:
      return false;
  }
}

}  // namespace zeva::core
