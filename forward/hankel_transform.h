#pragma once
// Adaptive Hankel transforms on the 283-point digital filters of W. L. Anderson
// (1979), Geophysics 44(7), 1287-1305:
//   H(r) = integral_0^inf K(lambda) Jn(lambda r) dlambda.
// The filter sum is taken outward from a start abscissa, one point up and one
// down in turn, and each direction stops on its own once its terms have become
// negligible against the running sum; a smooth kernel thus needs far fewer
// than the 283 kernel evaluations. Three members share the tables and the
// stepping:
//   adaptiveHankelJ0  the DC resistivity transform: J0 only, real kernel, a
//                     kernel cache with lag shift and a start search;
//   QHANKL            complex kernels, J0 or J1 (MaxMin);
//   realHankel        real kernels, J0 or J1, with a tolerance floor
//                     (EM conductivity).
// Arithmetic is single precision throughout. The transforms keep no state:
// the kernel cache belongs to the caller. Their messages go to the toolkit.

#include <array>
#include <complex>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

#include "forward/hankel_filters.h"
#include "ui/toolkit/toolkit.h"

namespace zeva::forward {

// A non-owning reference to a kernel lambda -> K(lambda). The transforms call
// the kernel up to 283 times per abscissa; a function pointer with a context
// keeps that call cheap without moving the transforms into a header. The
// referenced callable must outlive the transform call (pass a local lambda).
template <typename Value>
class KernelRef {
 public:
  template <typename F>
  requires(!std::is_same_v<std::remove_cvref_t<F>, KernelRef> &&
           std::is_invocable_r_v<Value, F&, float>)
      KernelRef(F&& kernel)  // NOLINT: converts from any kernel callable
      : object_(const_cast<void*>(static_cast<const void*>(std::addressof(kernel)))),
        call_([](void* object, float lambda) -> Value {
          return (*static_cast<std::remove_reference_t<F>*>(object))(lambda);
        }) {}

  Value operator()(float lambda) const { return call_(object_, lambda); }

 private:
  void* object_;
  Value (*call_)(void*, float);
};

// A non-owning reference to a kernel of several abscissae at once:
// values[k] = K(lambda[k]) for k < count. The DC transform asks for up to
// kKernelBatch filter points of one direction in one call, so that a kernel
// can form them side by side; the sum takes the values in the same order as
// it would one by one.
inline constexpr int kKernelBatch = 8;
class BatchKernelRef {
 public:
  template <typename F>
  requires(!std::is_same_v<std::remove_cvref_t<F>, BatchKernelRef> &&
           std::is_invocable_v<F&, const float*, float*, int>)
      BatchKernelRef(F&& kernel)  // NOLINT: converts from any batch kernel callable
      : object_(const_cast<void*>(static_cast<const void*>(std::addressof(kernel)))),
        call_([](void* object, const float* lambda, float* values, int count) {
          (*static_cast<std::remove_reference_t<F>*>(object))(lambda, values, count);
        }) {}

  void operator()(const float* lambda, float* values, int count) const {
    call_(object_, lambda, values, count);
  }

 private:
  void* object_;
  void (*call_)(void*, const float*, float*, int);
};

// Kernel values of one transform, by filter point. A slot of exactly 0.0 is
// not computed yet. Clear it whenever the kernel or the distance changes in a
// way the lag shift does not describe (the DC routine clears it per point).
struct HankelKernelCache {
  std::array<float, kFilterPoints> slots{};
  void clear() { slots.fill(0.0f); }
};

// Messages of the transforms, as the user sees them.
inline constexpr std::string_view kIllegalShiftMessage = "ILLEGAL ISHIFT:";
inline constexpr std::string_view kStartingValueMessage = "STARTING VALUE G = ";
inline constexpr std::string_view kOffFilterEdgeMessage = " IS OFF FILTER EDGE";
inline constexpr std::string_view kOrderNotAvailableMessage =
    "HANKEL TRANSFORM NOT AVAILABLE- USE 0 OR 1";
inline constexpr std::string_view kLowEdgeMessage = "LOW EDGE OF FILTER (QHANKL)";
inline constexpr std::string_view kHighEdgeMessage = "HIGH EDGE OF FILTER (QHANKL)";

// "STARTING VALUE G = <B> IS OFF FILTER EDGE".
std::string offFilterEdgeText(float B);

// The J0 transform of the DC resistivity routine, for r > 0.
//  B       start abscissa (1/length); the filter point nearest
//          exp((ln(B r) + 30.302513) * 5 + 0.5) starts the sum, point 141
//          when B <= 0. When the start is off the table, or the sum comes out
//          exactly zero, a start search over ten points replaces B (written
//          back) and the sum is taken once more.
//  tol     relative tolerance of the stopping test.
//  ISHIFT  lag shift: kernel values are kept in cache slot i - ISHIFT
//          (wrapped into the table), so a caller stepping r by exp(0.2) can
//          reuse them; |ISHIFT| > 200 is refused with "ILLEGAL ISHIFT:".
// Returns 0.0 when the transform cannot be formed (refused shift, r <= 0,
// all start-search terms zero, or a second search needed).
float adaptiveHankelJ0(KernelRef<float> kernel, float r, float& B, float tol, int ISHIFT,
                       HankelKernelCache& cache, ui::Toolkit& toolkit);
// The same with a batch kernel: a kernel value missing from the cache is
// computed together with those of the next filter points in the direction
// of the step (up to kKernelBatch, on the abscissae the step will reach).
// The sum, its stopping and its result are those of the one-by-one form.
float adaptiveHankelJ0(BatchKernelRef kernel, float r, float& B, float tol, int ISHIFT,
                       HankelKernelCache& cache, ui::Toolkit& toolkit);

// The complex transform of order N (0 or 1), for r > 0. The start point is the
// one nearest lambda = B (point 141 when B <= 0); magnitudes are complex
// moduli. Running off the upper end of the table writes the low-edge and the
// off-edge messages and returns the partial sum; running off the lower end
// writes the high-edge message and ends that direction. A start off the table
// writes the off-edge message and gives 0, as do another N and a zero sum.
std::complex<float> QHANKL(KernelRef<std::complex<float>> kernel, int N, float r, float B,
                           float tol, ui::Toolkit& toolkit);

// The real transform of order N (0 or 1), for r > 0, started as QHANKL. A
// tolerance of 1.0E-8 or less is replaced by 1.0E-7 (written back). A start
// off the table writes the off-edge message and gives 0; another N writes
// "HANKEL TRANSFORM NOT AVAILABLE- USE 0 OR 1" and gives 0; a zero sum gives 0.
float realHankel(KernelRef<float> kernel, int N, float r, float B, float& tol,
                 ui::Toolkit& toolkit);

}  // namespace zeva::forward
