#include "forward/tem_waveform.h"

#include <algorithm>
#include <cmath>

#include "forward/gauss_legendre.h"

namespace zeva::forward {

namespace {

// Panels of the averages in log time: no longer than this in ln t.
constexpr double kPanelLength = 0.5;
// Earlier half cycles are added until they lie this many times the latest
// gate time back; with the last two partial sums averaged, the remainder of
// the alternating series is then well below 1.0E-3 of the gate.
constexpr double kRepetitionReach = 20.0;
constexpr int kMaxHalfCycles = 400;

// The mean of f over [a, b] (0 < a < b), by Gauss-Legendre panels in ln t.
template <typename F>
double meanOver(double a, double b, F&& f) {
  const double lnA = std::log(a), lnB = std::log(b);
  const int panels = std::max(1, static_cast<int>(std::ceil((lnB - lnA) / kPanelLength)));
  const double h = (lnB - lnA) / panels;
  double sum = 0.0;
  for (int p = 0; p < panels; ++p) {
    const double centre = lnA + h * (p + 0.5);
    for (std::size_t k = 0; k < kGaussNodes.size(); ++k) {
      const double t = std::exp(centre + h / 2.0 * kGaussNodes[k]);
      sum += kGaussWeights[k] * h / 2.0 * t * f(t);
    }
  }
  return sum / (b - a);
}

int earlierHalfCycles(double latest, const Waveform& waveform) {
  if (!(waveform.baseFrequency > 0.0)) return 0;
  const double half = 0.5 / waveform.baseFrequency;
  return std::clamp(static_cast<int>(std::ceil(kRepetitionReach * latest / half)), 1,
                    kMaxHalfCycles);
}

double gateStart(const Gate& gate) {
  // A gate cannot open before the current is off.
  return std::max(gate.centre - gate.width / 2.0, gate.centre * 1.0e-3);
}

}  // namespace

std::pair<double, double> stepResponseSpan(const Gate& gate, const Waveform& waveform) {
  const double first = gate.width > 0.0 ? gateStart(gate) : gate.centre;
  const double end = gate.centre + std::max(0.0, gate.width) / 2.0;
  double last = end + std::max(0.0, waveform.ramp);
  const int cycles = earlierHalfCycles(end, waveform);
  if (cycles > 0) {
    const double half = 0.5 / waveform.baseFrequency;
    last = std::max(last, end + cycles * half + half / 2.0 + std::max(0.0, waveform.ramp));
  }
  return {first, last};
}

double gateResponse(const std::function<double(double)>& e, const Gate& gate,
                    const Waveform& waveform) {
  const double R = std::max(0.0, waveform.ramp);
  const auto ramped = [&](double t) { return R > 0.0 ? meanOver(t, t + R, e) : e(t); };
  const double end = gate.centre + std::max(0.0, gate.width) / 2.0;
  const int cycles = earlierHalfCycles(end, waveform);
  const double half = cycles > 0 ? 0.5 / waveform.baseFrequency : 0.0;

  // The half cycle in progress and `cycles` earlier ones, alternating in sign.
  const auto recorded = [&](double t) {
    if (cycles == 0) return ramped(t);
    double sum = 0.0, term = 0.0;
    for (int k = 0; k <= cycles; ++k) {
      const double shift = k * half;
      term = ramped(t + shift) - e(t + shift + half / 2.0);
      sum += (k % 2 == 0) ? term : -term;
    }
    // The mean of the last two partial sums (Euler's averaging).
    return sum - ((cycles % 2 == 0) ? term : -term) / 2.0;
  };
  if (!(gate.width > 0.0)) return recorded(gate.centre);
  return meanOver(gateStart(gate), end, recorded);
}

}  // namespace zeva::forward
