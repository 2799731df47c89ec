#pragma once
// The steps of one inversion iteration that other calculations (smooth models,
// equivalence analysis) share, and that the tests check one by one. Residual
// index k runs over the data columns, and within a column over the readings:
// k = c * NDATA + i (zero-based).

#include <span>

#include "core/record/matrix.h"
#include "core/record/sounding.h"
#include "forward/forward_routine.h"
#include "inversion/run_monitor.h"

namespace zeva::inversion {

// The fit the inversion minimises: RMS, or the weighted fit (layer-header
// word 3) under error weighting or in a robust fit.
float fitMeasure(const core::Sounding& S);

// Runs the forward routine. Under error weighting or in a robust fit the
// weighted fit (fit_weights.h) of the new synthetics follows, one measure
// for every data type, consistent with the weighted residuals the step is
// computed from.
void runForward(core::Sounding& S, const forward::ForwardRoutine& forward);
// The same on a worker thread: the routine's messages go to `messages`
// (forward.runsOnWorkers() must hold).
void runForward(core::Sounding& S, const forward::ForwardRoutine& forward, ui::Toolkit& messages);

// How the misfit of a data column is measured: as the fit of the forward
// routine measures it, so that the step the residuals give is a step
// towards a better fit. Log10: log10(|o / s|) (log columns); Relative:
// (o - s) / |o| (other columns); Absolute: o - s (MaxMin in-phase and
// quadrature in percent of the primary field, whose fit is the RMS
// difference); OffsetPhase: log10((|o| + 45) / (|s| + 45)) (MT phases);
// Transient: log10(|o / s|) with the wrong sign counted as a large misfit
// (TEM gate voltages, as forward/tem_fit.h measures them).
enum class ResidualForm { Log10, Relative, Absolute, OffsetPhase, Transient };
ResidualForm residualForm(const core::Sounding& S, int c);

// The misfit d of data value (i, c) before weighting, in the form of its
// column. False when the value takes no part in the fit (masked, missing,
// zero observed or synthetic, not a number).
bool residualOf(const core::Sounding& S, int i, int c, float& d);

// The derivative of the residual of value (i, c) with respect to log10 of a
// parameter, from the synthetics s0 before and s1 after a perturbation
// whose factor 1 / log10(p' / p) is F; 0 when it is not a number.
float residualDerivative(const core::Sounding& S, int i, int c, float s0, float s1, float F);

// True when the data and model arrays have the sizes the header counts give.
bool arraysMatchCounts(const core::Sounding& S);

// The residual of every data value: zero for masked values, missing readings,
// zero observed or synthetic values and non-numbers; log10(|o / s|) in a log
// column, (o - s) / |o| otherwise; times the residual's weight
// (fit_weights.h). `r` holds NDATA * NCOMP values.
void computeResiduals(const core::Sounding& S, std::span<float> r);

// The perturbed value of parameter j (zero-based) for its derivative, and the
// factor 1 / log10(perturbed / value) that turns differences into
// derivatives with respect to log10 of the parameter.
struct Perturbation {
  float value;
  float factor;
};
Perturbation derivativePerturbation(const core::Sounding& S, int j);

// The largest step of one iteration, in decades: any parameter, and the
// thicknesses and depths, whose large steps make the forward model jump
// between very different curves.
inline constexpr float kMaxStep = 3.0f;
inline constexpr float kMaxGeometryStep = 0.3f;

// Sets the model of S to start * 10^step, parameter by parameter: a step that
// is not a number counts as the largest, each is held within the largest
// steps above, a fixed parameter stays where it is (also when a roughness
// penalty couples it to free neighbours), and a parameter with limits is
// held within them.
void applyLogStep(core::Sounding& S, std::span<const float> start, std::span<const float> step);

// The progress dialog of one iteration: shown only when the derivatives are
// estimated to take more than 2 seconds; hidden when the object goes.
class IterationProgress {
 public:
  explicit IterationProgress(RunMonitor& monitor) : monitor_(monitor) {}
  ~IterationProgress();
  IterationProgress(const IterationProgress&) = delete;
  IterationProgress& operator=(const IterationProgress&) = delete;

  // After derivative run `done` of `total`.
  void derivativeRun(int done, int total);
  // When the search starts, and after trial `done`.
  void searchStart();
  void searchTrial(int done);
  bool shown() const { return shown_; }

 private:
  RunMonitor& monitor_;
  bool shown_ = false;
};

// Fills J (NDATA * NCOMP rows, NPAR columns) with the derivatives of the
// synthetics with respect to log10 of each free parameter, one forward run
// each, each row times its residual's weight; fixed parameters get a zero
// column. `startSynthetics` are the
// synthetics of the model (column by column). Limits of a parameter that lies
// outside them are cancelled. Returns false when the user interrupted; the
// parameter under perturbation is then restored.
// The runs are independent: with a routine that runs on workers and a pool
// of more than one thread they are made at the same time on copies of S,
// with the same result as one after the other (each run is the same
// computation on the same model). Progress, the routine's messages and the
// interrupt are handled on the calling thread, in the order of the
// parameters. The synthetics and fits of S are then those of the start
// model; made one after the other, those of the last perturbed model.
bool computeDerivatives(core::Sounding& S, const forward::ForwardRoutine& forward,
                        std::span<const float> startSynthetics, core::Matrix<float>& J,
                        RunMonitor& monitor, IterationProgress& progress);

}  // namespace zeva::inversion
