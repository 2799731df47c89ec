#pragma once
// The one calling convention of every forward model. A forward routine takes
// the sounding (the working instance S or the smooth instance SM), reads the
// data geometry and the layered model from it, and writes back:
//   - SVOLT, the synthetic value of every data value, masked ones included;
//   - the fit, RMS (layer-header word 1) and PCTERR (word 2);
//   - the synthetic-valid flag (LSYNTH) set, and the saved flag cleared.
// A model the routine refuses (a depths-flag model whose depths do not
// increase) gets RMS = PCTERR = 1.0E10 and SVOLT(i,1) = 1.0E20, with LSYNTH
// left as it was; callers treat it as a very bad fit and go on. A routine may
// rewrite non-physical model values in place (zero or negative resistivities
// and thicknesses become 10.0), so callers must not assume PAR unchanged.
// Routines keep no state between calls: their work blocks live in the call,
// so a routine may be called any number of times with a changed PAR, and
// independent soundings may be modelled at the same time.

#include <concepts>
#include <functional>
#include <type_traits>
#include <utility>

#include "core/record/sounding.h"
#include "ui/toolkit/toolkit.h"

namespace zeva::forward {

// A forward routine as its callers hold it: bound to the toolkit that hears
// its messages. The routines of the data types can in addition be run with
// another toolkit, which lets several copies run at a time on their own
// soundings (the worker threads of the inversion, each collecting its
// messages for the caller to show). Any other callable on a sounding makes a
// routine that runs only on the caller's thread.
class ForwardRoutine {
 public:
  using WithMessages = std::function<void(core::Sounding&, ui::Toolkit&)>;

  ForwardRoutine() = default;
  // The routine `run`, telling its messages to `toolkit` when called on its
  // own; safe to run on several threads at a time with a toolkit each.
  ForwardRoutine(WithMessages run, ui::Toolkit& toolkit)
      : bound_([run, &toolkit](core::Sounding& S) { run(S, toolkit); }),
        withMessages_(std::move(run)) {}
  template <typename F>
  requires(!std::same_as<std::remove_cvref_t<F>, ForwardRoutine> &&
           std::is_invocable_v<F&, core::Sounding&>)
      ForwardRoutine(F&& run)  // NOLINT: converts from any routine on a sounding
      : bound_(std::forward<F>(run)) {}

  void operator()(core::Sounding& S) const { bound_(S); }
  explicit operator bool() const { return static_cast<bool>(bound_); }

  // True when the routine may run on other threads with toolkits of their own.
  bool runsOnWorkers() const { return static_cast<bool>(withMessages_); }
  // Runs the routine with its messages going to `messages` (runsOnWorkers()).
  void operator()(core::Sounding& S, ui::Toolkit& messages) const { withMessages_(S, messages); }

 private:
  std::function<void(core::Sounding&)> bound_;
  WithMessages withMessages_;
};

// Fit sentinels of the forward routines.
inline constexpr float kRefusedFit = 1.0e10f;        // RMS and PCTERR of a refused model
inline constexpr float kRefusedSynthetic = 1.0e20f;  // SVOLT(i,1) of a refused model
inline constexpr float kNotANumberFit = 1.0e20f;     // RMS and PCTERR after a NaN synthetic
inline constexpr float kMissingReading = 1.0e10f;    // observed values from here up are missing

}  // namespace zeva::forward
