#include "forward/tem_forward.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <optional>
#include <vector>

#include "core/record/data_type.h"
#include "forward/em_layer_recursion.h"
#include "forward/model_layers.h"
#include "forward/tem_fit.h"
#include "forward/tem_frequency_response.h"
#include "forward/tem_kernel_grid.h"
#include "forward/tem_late_time.h"
#include "forward/tem_loop_wire.h"
#include "forward/tem_step_response.h"
#include "forward/tem_units.h"
#include "forward/tem_waveform.h"

namespace zeva::forward {

namespace {

using core::Sounding;

struct Sweep {
  std::size_t end = 0;  // one past its last gate
  Waveform waveform;
  SweepScale scale;
};

// The sweeps in gate order; the last one also takes any gates after its end.
std::vector<Sweep> sweepsOf(const Sounding& S, std::size_t gates, double loopSide) {
  const auto& d = S.data();
  const std::size_t count = std::min<std::size_t>(
      {static_cast<std::size_t>(std::max(0, S.header.NSETS)), d.NSET.size(), d.AMPS.size(),
       d.NTURNS.size(), d.RAMP.size(), d.FREQ.size(), d.AREA.size()});
  std::vector<Sweep> sweeps;
  std::size_t next = 0;
  for (std::size_t k = 0; k < count; ++k) {
    const auto last = static_cast<std::size_t>(
        std::clamp<std::int64_t>(d.NSET[k], 0, static_cast<std::int64_t>(gates)));
    if (last <= next && k + 1 < count) continue;
    Sweep sweep;
    sweep.end = std::max(last, next);
    sweep.waveform.ramp = std::max(0.0, double(d.RAMP[k]) * 1.0e-6);
    sweep.waveform.baseFrequency = std::isfinite(d.FREQ[k]) ? double(d.FREQ[k]) : 0.0;
    sweep.scale.current = d.AMPS[k] != 0.0f ? std::fabs(double(d.AMPS[k])) : 1.0;
    sweep.scale.turns = d.NTURNS[k] > 0 ? double(d.NTURNS[k]) : 1.0;
    sweep.scale.receiverArea = d.AREA[k] > 0.0f ? double(d.AREA[k]) : 1.0;
    sweep.scale.loopSide = loopSide;
    sweeps.push_back(sweep);
    next = sweep.end;
  }
  if (sweeps.empty()) {
    Sweep single;
    single.scale.loopSide = loopSide;
    sweeps.push_back(single);
  }
  sweeps.back().end = gates;
  return sweeps;
}

// The wire points of the sounding's loop and receiver; empty when the loop
// has no size.
std::vector<WirePoint> wireOf(const Sounding& S) {
  const double lx = S.header.loopSizeX;
  const double ly = S.header.loopSizeY > 0.0f ? double(S.header.loopSizeY) : lx;
  if (!(lx > 0.0) || !std::isfinite(lx) || !std::isfinite(ly)) return {};
  const Point2 receiver{S.header.coilX, S.header.coilY};
  const double offset = std::hypot(receiver.x, receiver.y);
  const Point2 radial =
      offset > 0.0 ? Point2{receiver.x / offset, receiver.y / offset} : Point2{0.0, 0.0};
  switch (core::traitsOf(S.header.dataType).id) {
    case core::DataTypeId::CoincidentLoopTem:
      return squareSelfFlux(lx);
    case core::DataTypeId::FixedLoopRadialH:
      return rectangleHorizontalField(lx, ly, receiver, radial);
    case core::DataTypeId::FixedLoopHorizH:
      return rectangleHorizontalField(lx, ly, receiver, {1.0, 0.0});
    case core::DataTypeId::CircularLoopRadH: {
      const double a = S.header.loopSizeY > 0.0f ? std::sqrt(lx * ly / std::numbers::pi) : lx / 2.0;
      return circleHorizontalField(a, receiver, radial);
    }
    default:
      return rectangleVerticalField(lx, ly, receiver);
  }
}

std::optional<Gate> gateOf(const Sounding& S, std::size_t i) {
  const auto& d = S.data();
  Gate gate;
  gate.centre = double(d.TIME(i, 0)) * 1.0e-3;
  if (S.header.NGEOM > 1 && d.TIME.cols() > 1 && d.TIME(i, 1) > 0.0f)
    gate.width = double(d.TIME(i, 1)) * 1.0e-3;
  if (!(gate.centre > 0.0) || !std::isfinite(gate.centre) || !std::isfinite(gate.width))
    return std::nullopt;
  return gate;
}

}  // namespace

void temForward(Sounding& S, ui::Toolkit& toolkit) {
  const int nlayer = S.NLAYER();
  if (nlayer < 1 || S.NDATA() < 1 || !arraysHoldCounts(S, 1, 1)) return;
  const bool coincident =
      core::traitsOf(S.header.dataType).id == core::DataTypeId::CoincidentLoopTem;
  if (!voltageScale(S.header.temVoltageUnit, coincident, {1.0, 1.0, 1.0, 1.0})) {
    toolkit.information(unitRefusal(S.header.temVoltageUnit));
    return;
  }
  const std::vector<WirePoint> wire = wireOf(S);
  if (wire.empty()) {
    toolkit.information(kTemGeometryMessage);
    return;
  }
  if (!depthsIncrease(S, -std::numeric_limits<float>::infinity())) {
    markModelRefused(S);
    return;
  }
  EmLayerRecursion layers;
  if (!layers.setModel(S, EmLayerRecursion::LayerValues::Resistivity)) return;
  const float topResistivity = layerValue(S, 0);

  const auto gates = static_cast<std::size_t>(S.NDATA());
  const std::vector<Sweep> sweeps = sweepsOf(S, gates, S.header.loopSizeX);

  // Every gate's span of the step response, and the span of them all.
  std::vector<std::optional<Gate>> gateList(gates);
  double first = std::numeric_limits<double>::infinity(), last = 0.0;
  std::size_t begin = 0;
  for (const Sweep& sweep : sweeps) {
    for (std::size_t i = begin; i < sweep.end; ++i) {
      gateList[i] = gateOf(S, i);
      if (!gateList[i]) continue;
      const auto [from, to] = stepResponseSpan(*gateList[i], sweep.waveform);
      first = std::min(first, from);
      last = std::max(last, to);
    }
    begin = sweep.end;
  }

  std::vector<bool> modelled(gates, false);
  if (last > 0.0) {
    const KernelGrid grid(wire);
    const FrequencyResponse response(layers, topResistivity, grid, kLowestFrequencyTimes / last,
                                     kHighestFrequencyTimes / first);
    const StepResponse step(response, first, last);
    const std::function<double(double)> e = [&step](double t) { return step(t); };
    begin = 0;
    for (const Sweep& sweep : sweeps) {
      const double scale = *voltageScale(S.header.temVoltageUnit, coincident, sweep.scale);
      for (std::size_t i = begin; i < sweep.end; ++i) {
        S.SVOLT(i, 0) = 0.0f;
        if (!gateList[i]) continue;
        S.SVOLT(i, 0) = static_cast<float>(scale * gateResponse(e, *gateList[i], sweep.waveform));
        modelled[i] = true;
      }
      begin = sweep.end;
    }
  } else {
    for (std::size_t i = 0; i < gates; ++i) S.SVOLT(i, 0) = 0.0f;
  }
  fitTransient(S, modelled);
}

}  // namespace zeva::forward

namespace zeva::forward {

std::vector<float> lateTimeResistivityOfStoredUnit(const Sounding& S) {
  const auto gates = static_cast<std::size_t>(std::max(0, S.NDATA()));
  if (gates == 0 || !arraysHoldCounts(S, 1, 1)) return {};
  const bool coincident =
      core::traitsOf(S.header.dataType).id == core::DataTypeId::CoincidentLoopTem;
  const auto& d = S.data();
  std::vector<float> times(gates), volts(gates), rho(gates, 0.0f);
  std::size_t begin = 0;
  for (const Sweep& sweep : sweepsOf(S, gates, S.header.loopSizeX)) {
    const std::optional<double> stored =
        voltageScale(S.header.temVoltageUnit, coincident, sweep.scale);
    if (!stored) return {};
    const SweepScale& s = sweep.scale;
    const double wanted = coincident ? 1.0e6 * s.turns * s.turns : 1.0e9 * s.current * s.turns;
    for (std::size_t i = begin; i < sweep.end; ++i) {
      times[i] = d.TIME(i, 0);
      volts[i] = static_cast<float>(double(d.VOLTS(i, 0)) * wanted / *stored);
    }
    begin = sweep.end;
  }
  lateTimeApparentResistivity(S, times, volts, rho);
  return rho;
}

}  // namespace zeva::forward
