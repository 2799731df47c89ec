// Timing of the DC resistivity and IP forward routines: the default sounding
// (22 Schlumberger readings in five segments over seven layers of 15 ohm-m),
// a 40-point Schlumberger sounding over a 10-layer earth, and the IP routine
// (two DC runs) on the same 40 points. One iteration is one forward call, as
// an inversion makes it once per trial model.

#include <benchmark/benchmark.h>

#include <cmath>

#include "core/record/current_sounding.h"
#include "forward/dc_resistivity_forward.h"
#include "forward/ip_forward.h"
#include "inversion/segment_shifting.h"
#include "tests/support/scripted_toolkit.h"

namespace {

using zeva::core::Sounding;

// AB/2 from 1 m to 3 km, MN a tenth of AB/2 (five per decade is usual; this
// is a dense field sounding).
void fortyPointSchlumberger(Sounding& s, int npk) {
  s.header.dataType.assign("Schlumberger Array");
  s.header.NDATA = 40;
  s.header.NCOMP = npk > 1 ? 2 : 1;
  s.header.NGEOM = 2;
  s.header.ipUnit.assign("(pfe)");
  s.allocateData();
  for (std::size_t i = 0; i < 40; ++i) {
    const float spacing = std::pow(10.0f, 3.5f * static_cast<float>(i) / 39.0f);
    s.data().TIME(i, 0) = spacing;
    s.data().TIME(i, 1) = 0.1f * spacing;
    s.data().VOLTS(i, 0) = 100.0f;
    if (npk > 1) s.data().VOLTS(i, 1) = 5.0f;
  }
  const float rho[10] = {100, 30, 300, 10, 1000, 50, 5, 200, 20, 500};
  const float ip[10] = {1, 2, 5, 10, 0, 3, 20, 1, 8, 2};
  const float h[9] = {1, 2, 4, 6, 10, 15, 25, 40, 80};
  s.model.NLAYER = 10;
  s.model.NPK = npk;
  s.allocateModel();
  std::size_t k = 0;
  for (float v : rho) s.M.PAR[k++] = v;
  if (npk > 1)
    for (float v : ip) s.M.PAR[k++] = v;
  for (float v : h) s.M.PAR[k++] = v;
}

void DcForwardDefaultSounding(benchmark::State& state) {
  zeva::core::CurrentSounding current;
  zeva::core::resetToDefault(current);
  zeva::inversion::SHIFTP(current.S);
  zeva::test::ScriptedToolkit toolkit;
  for (auto _ : state) {
    zeva::forward::dcResistivityForward(current.S, toolkit);
    benchmark::DoNotOptimize(current.S.SVOLT(0, 0));
  }
}
BENCHMARK(DcForwardDefaultSounding)->Unit(benchmark::kMicrosecond);

void DcForwardFortyPointsTenLayers(benchmark::State& state) {
  Sounding s;
  fortyPointSchlumberger(s, 1);
  zeva::test::ScriptedToolkit toolkit;
  for (auto _ : state) {
    zeva::forward::dcResistivityForward(s, toolkit);
    benchmark::DoNotOptimize(s.SVOLT(0, 0));
  }
}
BENCHMARK(DcForwardFortyPointsTenLayers)->Unit(benchmark::kMicrosecond);

void IpForwardFortyPointsTenLayers(benchmark::State& state) {
  Sounding s;
  fortyPointSchlumberger(s, 2);
  zeva::test::ScriptedToolkit toolkit;
  for (auto _ : state) {
    zeva::forward::ipForward(s, toolkit);
    benchmark::DoNotOptimize(s.SVOLT(0, 1));
  }
}
BENCHMARK(IpForwardFortyPointsTenLayers)->Unit(benchmark::kMicrosecond);

}  // namespace
