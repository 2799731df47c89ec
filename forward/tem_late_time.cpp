#include "forward/tem_late_time.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/record/data_type.h"

namespace zeva::forward {

namespace {

using core::Sounding;

constexpr float kMu0 = 1.2566e-6f;
constexpr float kTwoThirds = 0.666667f;  // exponent of the loop formulas
constexpr float kCoincidentTwoThirds = 0.6666667f;
// 20 pi^(3/2) x 1.0E-9: the late-time vertical field of a loop of moment m,
// dBz/dt = m mu0^(5/2) sigma^(3/2) / (20 pi^(3/2) t^(5/2)), for volts in nV.
constexpr float kLoopConstant = 1.1136656e-7f;
// 64 pi x 1.0E-9: the late-time horizontal (radial) field constant, nV.
constexpr float kRadialConstant = 2.010619e-7f;

// One set of gates: zero-based first gate and one past the last.
struct GateSet {
  std::size_t first = 0, end = 0;
  float rampMs = 0.0f;
  float turnsTimesCurrent = 1.0f;
  float receiverArea = 0.0f;
};

// The sets of the sounding in gate order. A set whose last index does not
// move on is empty; indices past the data are clipped. A sounding without
// sets is one set of all gates, its voltages taken per ampere and turn.
std::vector<GateSet> gateSets(const Sounding& S, std::size_t gates) {
  const auto& d = S.data();
  std::vector<GateSet> sets;
  const std::size_t nsets =
      std::min<std::size_t>({static_cast<std::size_t>(std::max(0, S.header.NSETS)), d.NSET.size(),
                             d.AMPS.size(), d.NTURNS.size(), d.RAMP.size(), d.AREA.size()});
  if (nsets == 0) {
    sets.push_back({0, gates, 0.0f, 1.0f, 0.0f});
    return sets;
  }
  std::size_t next = 0;
  for (std::size_t k = 0; k < nsets; ++k) {
    const std::size_t last = static_cast<std::size_t>(
        std::clamp<std::int64_t>(d.NSET[k], 0, static_cast<std::int64_t>(gates)));
    if (last <= next) continue;
    // A current or turn count that was never recorded (0) means the voltages
    // are already normalised by it.
    const float current = d.AMPS[k] != 0.0f ? std::fabs(d.AMPS[k]) : 1.0f;
    const float turns = d.NTURNS[k] > 0 ? static_cast<float>(d.NTURNS[k]) : 1.0f;
    sets.push_back({next, last, d.RAMP[k] * 0.001f, turns * current, d.AREA[k]});
    next = last;
  }
  return sets;
}

float withSignOf(float magnitude, float voltage) { return voltage < 0.0f ? -magnitude : magnitude; }

bool usable(float value) { return std::isfinite(value) && value > 0.0f; }

// Coincident loop of side L: the late-time series of the half-space voltage
// in x = V t / (2513.2 L), corrected for gate width and ramp.
void coincidentLoop(const Sounding& S, std::span<const float> times, std::span<const float> volts,
                    std::span<float> rho, const std::vector<GateSet>& sets) {
  const float L = S.header.loopSizeX;
  if (!usable(L)) return;
  const float scale =
      S.header.temVoltageUnit == "V/Amp" ? 1.0e6f : 1.0f;  // to microvolts per ampere
  const bool sirotem = S.header.description == "Sirotem";
  const auto& d = S.data();
  const bool widths = S.header.NGEOM > 1 && d.TIME.cols() > 1;
  for (const GateSet& set : sets) {
    for (std::size_t i = set.first; i < set.end; ++i) {
      const float V = volts[i];
      if (V == 0.0f) {
        rho[i] = 0.0f;
        continue;
      }
      float t = times[i];
      if (!usable(t)) continue;
      if (widths && i < d.TIME.rows()) {
        // The effective time of a wide gate lies later than its centre; a
        // Sirotem gate well past the ramp is measured from the ramp's middle.
        const float w = d.TIME(i, 1);
        if (w > t / 2.0f) t += 0.05f * w;
        if (sirotem && t > 0.8f * set.rampMs) t -= set.rampMs / 2.0f;
        if (w > t / 2.0f) t += 0.07f * w;
      }
      const float x = std::fabs(scale * V) * t / (2513.2f * L);
      const float y = std::pow(x, kCoincidentTwoThirds);
      const double yd = y;
      const double P =
          1.71 +
          yd * (2.381 +
                yd * (6.492 +
                      yd * (20.88 +
                            yd * (71.9 +
                                  yd * (255.9 + yd * (955.9 + yd * (3378.0 + yd * 12361.0)))))));
      float u = y * static_cast<float>(P * P);
      if (u >= 2.8f)
        u += 0.004018f * std::pow(u, 4.01364f);
      else if (u >= 1.4f)
        u += 0.001635f * std::pow(u, 4.892f);
      const float value = 1.0e-4f * L * L / (t * u);
      if (std::isfinite(value)) rho[i] = withSignOf(value, V);
    }
  }
}

enum class FieldMode { Loop, Radial, Horizontal };

// Loop geometry of the non-coincident types: the field mode, the length B
// and distance r of the formulas, and whether the receiver lies outside a
// proper loop (both sides positive).
struct LoopGeometry {
  FieldMode mode = FieldMode::Loop;
  float B = 0.0f, r = 0.0f;
  bool outside = false;
};

LoopGeometry loopGeometry(const Sounding& S) {
  const float Lx = S.header.loopSizeX, Ly = S.header.loopSizeY;
  const float x = S.header.coilX, y = S.header.coilY;
  LoopGeometry g;
  g.outside = Lx > 0.0f && Ly > 0.0f && (std::fabs(x) > Lx / 2.0f || std::fabs(y) > Ly / 2.0f);
  const core::LateTimeField field = core::traitsOf(S.header.dataType).lateTimeField;
  if (field == core::LateTimeField::Radial || field == core::LateTimeField::Horizontal) {
    g.mode = field == core::LateTimeField::Horizontal ? FieldMode::Horizontal : FieldMode::Radial;
    g.r = std::hypot(x, y);
    g.B = Lx * Ly;
  } else if (Lx <= 0.0f) {
    // One side only: a line source of length Ly at perpendicular offset x,
    // whose late-time field is that of a loop of area Ly |x| / 2.
    g.r = std::fabs(x) / 2.0f;
    g.B = Ly;
  } else if (Ly <= 0.0f) {
    g.r = std::fabs(y) / 2.0f;
    g.B = Lx;
  } else {
    g.r = (std::fabs(Ly / 2.0f - y) + std::fabs(y + Ly / 2.0f) + std::fabs(Lx / 2.0f - x) +
           std::fabs(x + Lx / 2.0f)) /
          2.0f;
    g.B = std::sqrt(Lx * Ly);
  }
  return g;
}

// The late-time formulas of the loop types, in the field mode of the
// geometry. `receiverNormalised` divides each voltage by the set's receiver
// area first (the grounded-wire receivers record the coil voltage).
void loopTypes(const Sounding& S, std::span<const float> times, std::span<const float> volts,
               std::span<float> rho, const std::vector<GateSet>& sets, const LoopGeometry& g,
               bool receiverNormalised) {
  const float Lx = S.header.loopSizeX, Ly = S.header.loopSizeY;
  // The geometric factor each formula needs must be positive.
  float factor = 0.0f;
  switch (g.mode) {
    case FieldMode::Radial:
      factor = g.B * g.r;
      break;
    case FieldMode::Horizontal:
      factor = g.outside ? g.B * g.r : g.B;
      break;
    case FieldMode::Loop:
      factor = g.outside ? Lx * Ly : g.B * g.r;
      break;
  }
  if (!usable(factor)) return;

  for (const GateSet& set : sets) {
    const float area = receiverNormalised && set.receiverArea > 0.0f ? set.receiverArea : 1.0f;
    for (std::size_t i = set.first; i < set.end; ++i) {
      const float t = times[i];
      if (!(t > 0.0f)) continue;
      const float q = kMu0 / (0.001f * t);  // mu0 / t, t in seconds
      const float NI = set.turnsTimesCurrent;
      const float D = std::fabs(volts[i]) / area + 1.0e-30f;
      float value = 0.0f;
      switch (g.mode) {
        case FieldMode::Radial:
          value = std::sqrt(NI * q * q * q * factor / (kRadialConstant * D));
          break;
        case FieldMode::Horizontal:
          value = g.outside ? std::sqrt(NI * q * q * q * factor / (kRadialConstant * D))
                            : NI * q * q * factor / (kRadialConstant * D);
          break;
        case FieldMode::Loop:
          value = std::pow(NI * std::pow(q, 2.5f) * factor / (kLoopConstant * D), kTwoThirds);
          break;
      }
      if (std::isfinite(value)) rho[i] = withSignOf(value, volts[i]);
    }
  }
}

}  // namespace

void lateTimeApparentResistivity(const Sounding& S, std::span<const float> gateTimes,
                                 std::span<const float> voltages, std::span<float> rho) {
  const std::size_t gates = std::min({gateTimes.size(), voltages.size(), rho.size(),
                                      static_cast<std::size_t>(std::max(0, S.NDATA()))});
  const auto sets = gateSets(S, gates);
  if (S.header.description == "LOTEM Generic") {
    // LOTEM: a grounded wire of length Lx along x (or Ly along y) with the
    // receiver at perpendicular offset |y| (or |x|). At late time the vertical
    // field of a wire element ds is that of a loop of moment I ds p / 2
    // (Strack, 1992), so the loop formula applies with B r = ds p / 2; both
    // sides positive make the source a loop as for the other types. The
    // receiver voltage is taken per unit receiver area AREA of the set.
    LoopGeometry g = loopGeometry(S);
    g.mode = FieldMode::Loop;
    loopTypes(S, gateTimes, voltages, rho, sets, g, true);
  } else if (core::traitsOf(S.header.dataType).lateTimeField == core::LateTimeField::Coincident) {
    coincidentLoop(S, gateTimes, voltages, rho, sets);
  } else {
    loopTypes(S, gateTimes, voltages, rho, sets, loopGeometry(S), false);
  }
}

std::vector<float> lateTimeApparentResistivity(const Sounding& S) {
  const auto& d = S.data();
  const std::size_t gates =
      std::min({d.TIME.rows(), d.VOLTS.rows(), static_cast<std::size_t>(std::max(0, S.NDATA()))});
  std::vector<float> rho(gates, 0.0f);
  if (d.TIME.cols() < 1 || d.VOLTS.cols() < 1) return rho;
  lateTimeApparentResistivity(S, d.TIME.column(0).first(gates), d.VOLTS.column(0).first(gates),
                              rho);
  return rho;
}

std::optional<std::string> sweepFrequencyProblem(const Sounding& S) {
  const auto& d = S.data();
  const std::size_t nsets = std::min(
      {static_cast<std::size_t>(std::max(0, S.header.NSETS)), d.NSET.size(), d.FREQ.size()});
  const std::size_t gates =
      d.TIME.cols() > 0 ? std::min(d.TIME.rows(), static_cast<std::size_t>(std::max(0, S.NDATA())))
                        : 0;
  for (std::size_t k = 0; k < nsets; ++k) {
    const std::int32_t last = d.NSET[k];
    if (last < 1 || (k > 0 && last <= d.NSET[k - 1])) continue;
    if (static_cast<std::size_t>(last) > gates) continue;  // a set beyond the data has no last gate
    const float lastGateMs = d.TIME(static_cast<std::size_t>(last - 1), 0);
    if (!(lastGateMs > 0.0f)) continue;
    // The last gate must lie within a quarter of the repetition period.
    const float fmax = 250.0f / lastGateMs;
    if (d.FREQ[k] > fmax) {
      char text[160];
      std::snprintf(text, sizeof text,
                    "FOR SWEEP %5d, REPETITION FREQUENCY %10.3f\n IS GREATER THAN MAX ALLOWABLE "
                    "FREQUENCY %10.3f",
                    static_cast<int>(k + 1), static_cast<double>(d.FREQ[k]),
                    static_cast<double>(fmax));
      return std::string(text);
    }
  }
  return std::nullopt;
}

bool checkSweepFrequencies(const Sounding& S, ui::Toolkit& toolkit) {
  const auto problem = sweepFrequencyProblem(S);
  if (!problem) return true;
  toolkit.warning(*problem);
  return false;
}

}  // namespace zeva::forward
