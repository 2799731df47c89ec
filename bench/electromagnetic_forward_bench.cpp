// Timing of the MT, MaxMin and EM conductivity forward routines on soundings
// of field size: 40 MT frequencies over 10 layers, 20 MaxMin and 20 EM
// conductivity readings over 5 layers. One iteration is one forward call, as
// an inversion makes it once per trial model.

#include <benchmark/benchmark.h>

#include <cmath>
#include <string_view>

#include "core/record/sounding.h"
#include "forward/em_conductivity_forward.h"
#include "forward/maxmin_forward.h"
#include "forward/mt_forward.h"
#include "tests/support/scripted_toolkit.h"

namespace {

using zeva::core::Sounding;

void setModel(Sounding& s, const float* resistivities, const float* thicknesses, int nlayer) {
  s.model.NLAYER = nlayer;
  s.model.NPK = 1;
  s.allocateModel();
  for (int j = 0; j < nlayer; ++j) s.M.PAR[static_cast<std::size_t>(j)] = resistivities[j];
  for (int j = 0; j + 1 < nlayer; ++j)
    s.M.PAR[static_cast<std::size_t>(nlayer + j)] = thicknesses[j];
}

Sounding mtSounding() {
  Sounding s;
  s.header.dataType.assign("Magnetotelluric Data");
  s.header.NDATA = 40;
  s.header.NCOMP = 2;
  s.header.NGEOM = 1;
  s.allocateData();
  for (std::size_t i = 0; i < 40; ++i) {
    s.data().TIME(i, 0) = std::pow(10.0f, -3.0f + 7.0f * static_cast<float>(i) / 39.0f);
    s.data().VOLTS(i, 0) = 100.0f;
    s.data().VOLTS(i, 1) = 45.0f;
  }
  const float rho[10] = {100, 30, 300, 10, 1000, 50, 5, 200, 20, 500};
  const float h[9] = {50, 100, 200, 300, 500, 800, 1500, 3000, 6000};
  setModel(s, rho, h, 10);
  return s;
}

Sounding coilSounding(std::string_view type, bool conductivity) {
  Sounding s;
  s.header.dataType.assign(type);
  s.header.NDATA = 20;
  s.header.NCOMP = 2;
  s.header.NGEOM = 3;
  s.header.mode = 1;
  s.allocateData();
  for (std::size_t i = 0; i < 20; ++i) {
    if (conductivity) {  // ground conductivity meters: 3.66 to 40 m, on the ground and at 1 m
      s.data().TIME(i, 0) = i % 2 == 0 ? 9800.0f : 1600.0f;
      s.data().TIME(i, 1) = 3.66f + 2.0f * static_cast<float>(i);
      s.data().TIME(i, 2) = i < 10 ? 0.0f : 1.0f;
    } else {  // MaxMin: 110 Hz to 56 kHz at 100 m
      s.data().TIME(i, 0) = 110.0f * std::pow(2.0f, static_cast<float>(i % 10));
      s.data().TIME(i, 1) = i < 10 ? 100.0f : 50.0f;
    }
    s.data().VOLTS(i, 0) = s.data().VOLTS(i, 1) = 10.0f;
  }
  const float resistivities[5] = {100, 20, 300, 10, 50};
  const float conductivities[5] = {10, 50, 3, 100, 20};
  const float h[4] = {3, 8, 15, 30};
  setModel(s, conductivity ? conductivities : resistivities, h, 5);
  return s;
}

void MtForward40Frequencies10Layers(benchmark::State& state) {
  Sounding s = mtSounding();
  for (auto _ : state) {
    zeva::forward::mtForward(s);
    benchmark::DoNotOptimize(s.SVOLT(0, 0));
  }
}

void SeaFloorMtForward40Frequencies10Layers(benchmark::State& state) {
  Sounding s = mtSounding();
  s.header.dataType.assign("Sea Floor MT data TE");
  s.header.waterDepth = 1000.0f;
  s.header.seaWaterResistivity = 0.3f;
  for (auto _ : state) {
    zeva::forward::mtForward(s);
    benchmark::DoNotOptimize(s.SVOLT(0, 0));
  }
}

void MaxMin20Readings5Layers(benchmark::State& state, std::string_view type) {
  Sounding s = coilSounding(type, false);
  zeva::test::ScriptedToolkit toolkit;
  for (auto _ : state) {
    zeva::forward::CalcMaxMin(s, toolkit);
    benchmark::DoNotOptimize(s.SVOLT(0, 0));
  }
}

void EmConductivity20Readings5Layers(benchmark::State& state) {
  Sounding s = coilSounding("EM Conductivity Data", true);
  zeva::test::ScriptedToolkit toolkit;
  for (auto _ : state) {
    zeva::forward::emConductivityForward(s, toolkit);
    benchmark::DoNotOptimize(s.SVOLT(0, 0));
  }
}

}  // namespace

BENCHMARK(MtForward40Frequencies10Layers)->Unit(benchmark::kMicrosecond);
BENCHMARK(SeaFloorMtForward40Frequencies10Layers)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(MaxMin20Readings5Layers, HorizontalCoplanar, "Horizontal Coplanar")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(MaxMin20Readings5Layers, VerticalCoplanar, "Vertical Coplanar")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(MaxMin20Readings5Layers, VerticalCoaxial, "Vertical Coaxial")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(EmConductivity20Readings5Layers)->Unit(benchmark::kMicrosecond);
