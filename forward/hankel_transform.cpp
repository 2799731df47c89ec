#include "forward/hankel_transform.h"

#include <array>
#include <cmath>
#include <complex>
#include <cstdio>
#include <string>
#include <type_traits>

namespace zeva::forward {

namespace {

// Abscissa of filter point i for r = 1 is exp(0.2 i - kAbscissaOffset).
constexpr float kAbscissaOffset = 26.30668f;
// The DC transform places its start twenty points (a factor e^4) above B.
constexpr float kDcStartOffset = 30.302513f;
constexpr float kStepUp = 1.2214027f;    // exp(0.2)
constexpr float kStepDown = 0.8187308f;  // exp(-0.2)
constexpr int kDefaultStart = 141;
constexpr int kUpTestFromStep = 6;
constexpr int kDownTestFromStep = 5;
constexpr float kEmptyHistory = 1.0e30f;

// Start search: every 28th point from point 1, lambda growing by exp(5.6).
constexpr int kSearchPoints = 10;
constexpr int kSearchStride = 28;
constexpr float kSearchFirstAbscissa = 4.592112e-12f;  // exp(0.2 - 26.30668)
constexpr float kSearchStep = 270.4264f;               // exp(5.6)

constexpr int kMaxShift = 200;

float weightOf(const std::array<float, kFilterPoints>& weights, int point) {
  return weights[static_cast<std::size_t>(point - 1)];
}

float abscissa(int point, float r) {
  return std::exp(0.2f * static_cast<float>(point) - kAbscissaOffset) / r;
}

// The 1-based start point for B, or 0 when it lies off the table. The value is
// truncated toward zero, as an integer conversion of the expression would.
int startPoint(float B, float r, float offset) {
  if (!(B > 0.0f)) return kDefaultStart;
  const float position = (std::log(B * r) + offset) * 5.0f + 0.5f;
  if (!(position >= 1.0f && position < static_cast<float>(kFilterPoints + 1))) return 0;
  return static_cast<int>(position);
}

std::string formatValue(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.7G", static_cast<double>(value));
  return text;
}

// The size of a term as the stopping test compares it: the magnitude of a
// real term; the squared modulus of a complex one, in double precision, so
// that the test needs no square root and the squares neither overflow nor
// underflow.
struct RealSize {
  using Size = float;
  static Size of(float x) { return std::abs(x); }
  static Size scaled(float tol) { return tol; }
};
struct ComplexSize {
  using Size = double;
  static Size of(std::complex<float> x) {
    const double re = x.real(), im = x.imag();
    return re * re + im * im;
  }
  static Size scaled(float tol) { return double(tol) * double(tol); }
};
template <typename Value>
using SizeOf = std::conditional_t<std::is_same_v<Value, float>, RealSize, ComplexSize>;

enum class PassEnd { Converged, ZeroSum, PastUpperEnd };

template <typename Value>
struct PassResult {
  Value sum{};
  PassEnd end = PassEnd::Converged;
};

// One outward pass from point `start`. `termAt(point, lambda, delta)` gives
// the kernel value at a filter point reached by a step of `delta` (+1 up, -1
// down, 0 for the start point). Each direction tests its newest term and the
// two recorded before it against the running sum and the largest term met,
// from its 6th (up) or 5th (down) step on. `onLowerEnd` is told when the
// downward direction runs off the table; `stopAtUpperEnd` ends the whole pass
// when the upward one does.
template <typename Value, typename TermAt, typename OnLowerEnd>
PassResult<Value> outwardPass(const std::array<float, kFilterPoints>& weights, int start, float r,
                              float tol, bool stopAtUpperEnd, TermAt&& termAt,
                              OnLowerEnd&& onLowerEnd) {
  using Measure = SizeOf<Value>;
  using Size = typename Measure::Size;
  struct Direction {
    int point;
    float lambda;
    int step;
    int testFrom;
    float factor;
    int delta;
    Size newer;  // two-slot history of recorded term sizes
    Size older;
    bool active;
  };
  const Size empty = Measure::of(Value(kEmptyHistory));
  const Size tolerance = Measure::scaled(tol);
  const float lambda0 = abscissa(start, r);
  PassResult<Value> result;
  result.sum = weightOf(weights, start) * termAt(start, lambda0, 0);
  Size largest = Measure::of(result.sum);

  Direction up{start, lambda0, 0, kUpTestFromStep, kStepUp, 1, empty, empty, true};
  Direction down{start, lambda0, 0, kDownTestFromStep, kStepDown, -1, empty, empty, true};
  while (up.active || down.active) {
    for (Direction* d : {&up, &down}) {
      if (!d->active) continue;
      const int point = d->point + d->delta;
      if (point > kFilterPoints) {
        d->active = false;
        if (stopAtUpperEnd) {
          result.end = PassEnd::PastUpperEnd;
          return result;
        }
        continue;
      }
      if (point < 1) {
        d->active = false;
        onLowerEnd();
        continue;
      }
      d->point = point;
      d->lambda *= d->factor;
      const Value term = weightOf(weights, point) * termAt(point, d->lambda, d->delta);
      result.sum += term;
      const Size magnitude = Measure::of(term);
      if (magnitude > largest) largest = magnitude;
      if (++d->step < d->testFrom) continue;
      if (result.sum == Value{}) {
        result.end = PassEnd::ZeroSum;
        return result;
      }
      const Size limit = tolerance * Measure::of(result.sum);
      if (magnitude < limit && d->newer < limit && d->older < limit &&
          magnitude < tolerance * largest) {
        d->active = false;
        continue;
      }
      d->older = d->newer;
      d->newer = magnitude;
    }
  }
  return result;
}

// Point for QHANKL and the real transform; 0 with the message when off the table.
int checkedStart(float B, float r, ui::Toolkit& toolkit) {
  const int start = startPoint(B, r, kAbscissaOffset);
  if (start == 0) toolkit.information(offFilterEdgeText(B));
  return start;
}

bool usableDistance(float r) { return r > 0.0f && std::isfinite(r); }

}  // namespace

std::string offFilterEdgeText(float B) {
  return std::string(kStartingValueMessage) + formatValue(B) + std::string(kOffFilterEdgeMessage);
}

namespace {

// The DC transform with kernel values from `cache`; a missing one is computed
// with up to `batch` - 1 further points of its direction.
float cachedHankelJ0(BatchKernelRef kernel, int batch, float r, float& B, float tol, int ISHIFT,
                     HankelKernelCache& cache, ui::Toolkit& toolkit) {
  if (ISHIFT > kMaxShift || ISHIFT < -kMaxShift) {
    toolkit.information(std::string(kIllegalShiftMessage) + " " + std::to_string(ISHIFT));
    return 0.0f;
  }
  if (!usableDistance(r)) return 0.0f;

  // Kernel values by lambda: slot i - ISHIFT, wrapped into 1..283.
  const auto slotOf = [&](int point) -> float& {
    const int slot = ((point - ISHIFT - 1) % kFilterPoints + kFilterPoints) % kFilterPoints;
    return cache.slots[static_cast<std::size_t>(slot)];
  };
  const auto kernelAt = [&](int point, float lambda, int delta) {
    float& value = slotOf(point);
    if (value != 0.0f) return value;
    // The abscissae the pass will reach, multiplied up step by step as it
    // multiplies them.
    const float factor = delta > 0 ? kStepUp : kStepDown;
    std::array<float, kKernelBatch> lambdas{};
    std::array<int, kKernelBatch> points{};
    int count = 0;
    for (int p = point; count < batch; p += delta, lambda *= factor) {
      if (count > 0 && (delta == 0 || p < 1 || p > kFilterPoints || slotOf(p) != 0.0f)) break;
      points[static_cast<std::size_t>(count)] = p;
      lambdas[static_cast<std::size_t>(count++)] = lambda;
    }
    std::array<float, kKernelBatch> values{};
    kernel(lambdas.data(), values.data(), count);
    for (int k = 0; k < count; ++k)
      slotOf(points[static_cast<std::size_t>(k)]) = values[static_cast<std::size_t>(k)];
    return values[0];
  };

  bool searched = false;
  for (;;) {
    const int start = startPoint(B, r, kDcStartOffset);
    if (start == 0) toolkit.information(offFilterEdgeText(B));
    if (start != 0) {
      const PassResult<float> pass =
          outwardPass<float>(kJ0Weights, start, r, tol, false, kernelAt, [] {});
      if (pass.end == PassEnd::Converged) return pass.sum * kWeightScale / r;
    }
    if (searched) return 0.0f;
    searched = true;

    // Start search: the abscissa of the largest of ten terms spread over the
    // table becomes the new start.
    float lambda = kSearchFirstAbscissa / r;
    float best = 0.0f;
    float bestLambda = 0.0f;
    for (int k = 0; k < kSearchPoints; ++k, lambda *= kSearchStep) {
      const int point = 1 + kSearchStride * k;
      const float magnitude = std::abs(weightOf(kJ0Weights, point) * kernelAt(point, lambda, 0));
      if (magnitude > best) {
        best = magnitude;
        bestLambda = lambda;
      }
    }
    if (best == 0.0f) return 0.0f;
    B = bestLambda;
  }
}

}  // namespace

float adaptiveHankelJ0(KernelRef<float> kernel, float r, float& B, float tol, int ISHIFT,
                       HankelKernelCache& cache, ui::Toolkit& toolkit) {
  const auto one = [&](const float* lambda, float* values, int) { values[0] = kernel(lambda[0]); };
  return cachedHankelJ0(one, 1, r, B, tol, ISHIFT, cache, toolkit);
}

float adaptiveHankelJ0(BatchKernelRef kernel, float r, float& B, float tol, int ISHIFT,
                       HankelKernelCache& cache, ui::Toolkit& toolkit) {
  return cachedHankelJ0(kernel, kKernelBatch, r, B, tol, ISHIFT, cache, toolkit);
}

std::complex<float> QHANKL(KernelRef<std::complex<float>> kernel, int N, float r, float B,
                           float tol, ui::Toolkit& toolkit) {
  if (N != 0 && N != 1) {
    toolkit.information(kOrderNotAvailableMessage);
    return {};
  }
  if (!usableDistance(r)) return {};
  const int start = checkedStart(B, r, toolkit);
  if (start == 0) return {};
  const auto& weights = N == 0 ? kJ0Weights : kJ1Weights;
  const PassResult<std::complex<float>> pass = outwardPass<std::complex<float>>(
      weights, start, r, tol, true, [&](int, float lambda, int) { return kernel(lambda); },
      [&] { toolkit.information(kHighEdgeMessage); });
  switch (pass.end) {
    case PassEnd::ZeroSum:
      return {};
    case PassEnd::PastUpperEnd:
      toolkit.information(kLowEdgeMessage);
      toolkit.information(offFilterEdgeText(B));
      break;
    case PassEnd::Converged:
      break;
  }
  return pass.sum * kWeightScale / r;
}

float realHankel(KernelRef<float> kernel, int N, float r, float B, float& tol,
                 ui::Toolkit& toolkit) {
  if (tol <= 1.0e-8f) tol = 1.0e-7f;
  if (N != 0 && N != 1) {
    toolkit.information(kOrderNotAvailableMessage);
    return 0.0f;
  }
  if (!usableDistance(r)) return 0.0f;
  const int start = checkedStart(B, r, toolkit);
  if (start == 0) return 0.0f;
  const auto& weights = N == 0 ? kJ0Weights : kJ1Weights;
  const PassResult<float> pass = outwardPass<float>(
      weights, start, r, tol, false, [&](int, float lambda, int) { return kernel(lambda); }, [] {});
  if (pass.end == PassEnd::ZeroSum) return 0.0f;
  return pass.sum * kWeightScale / r;
}

}  // namespace zeva::forward
