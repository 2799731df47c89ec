// The calculations, each run as zeva-cli's verb of the same name runs it, on
// a copy of the sounding that is returned.

#include <pybind11/stl.h>

#include "core/program/model_commands.h"
#include "core/survey/fitting_steps.h"
#include "python/command_run.h"
#include "python/module_parts.h"

namespace py = pybind11;

namespace zeva::python {

namespace {

using SessionPtr = std::unique_ptr<SoundingSession>;

// Runs `command` on a copy of `input` and returns the copy.
SessionPtr onCopy(SoundingSession& input,
                  const std::function<core::CommandResult(core::Program&)>& command) {
  SessionPtr s = input.copy();
  runCommand(*s, command);
  return s;
}

SessionPtr setModel(SoundingSession& input, std::vector<float> rho,
                    std::optional<std::vector<float>> thick,
                    std::optional<std::vector<float>> depth, std::vector<float> ip,
                    std::vector<int> fix) {
  if (thick && depth) throw py::value_error("give thick or depth, not both");
  core::LayeredModelRequest request;
  request.resistivity = std::move(rho);
  request.depths = depth.has_value();
  request.geometry = depth ? *depth : thick.value_or(std::vector<float>{});
  request.ip = std::move(ip);
  request.fixed = std::move(fix);
  return onCopy(input, [&](core::Program& p) { return p.model().setLayeredModel(request); });
}

SessionPtr invert(SoundingSession& input, bool single, bool resistivityOnly, bool ipOnly,
                  std::optional<int> iterations, std::optional<float> ratio,
                  std::optional<float> floor, std::optional<bool> weightErrors, bool robust) {
  if (resistivityOnly && ipOnly)
    throw py::value_error("resistivity_only and ip_only exclude each other");
  if (iterations && (*iterations < 0 || *iterations > 1000))
    throw py::value_error("iterations must be in 0 to 1000");
  if (ratio && (*ratio < 0.0f || *ratio > 10.0f)) throw py::value_error("ratio must be in 0 to 10");
  if (floor && (*floor < 0.0f || *floor > 1.0e6f))
    throw py::value_error("floor must be in 0 to 1e6");
  SessionPtr s = input.copy();
  s->lastRun.reset();
  s->fitSteps.clear();
  s->toolkit.takeStatus();
  runCommand(*s, [&](core::Program& p) {
    core::InversionSettings& settings = p.current().settings;
    if (iterations) settings.iterationLimit = *iterations;
    if (ratio) settings.improvementRatio = *ratio;
    if (floor) settings.fitFloorPercent = *floor;
    core::setFitWeighting(p, weightErrors, robust);
    const core::InversionScope scope = resistivityOnly ? core::InversionScope::ResistivityOnly
                                       : ipOnly        ? core::InversionScope::IpOnly
                                                       : core::InversionScope::All;
    const core::CommandValue<core::InversionRun> run = core::invertLayered(p, single, scope);
    s->lastRun.reset();
    if (run) s->lastRun = *run;
    return core::CommandResult(run);
  });
  s->fitSteps = s->toolkit.takeStatus();
  if (s->lastRun && s->lastRun->interrupted) warnAll({"Inversion interrupted"});
  return s;
}

SessionPtr smooth(SoundingSession& input, const std::optional<std::string>& method,
                  std::optional<float> zmin, std::optional<float> zmax,
                  std::optional<bool> weightErrors, bool robust) {
  if (method && *method != "occam" && *method != "ridge")
    throw py::value_error("method must be 'occam' or 'ridge'");
  if ((zmin && *zmin <= 0.0f) || (zmax && *zmax <= 0.0f))
    throw py::value_error("zmin and zmax must be positive depths in m");
  const core::SmoothMethod chosen = !method              ? core::SmoothMethod::AsSounding
                                    : *method == "occam" ? core::SmoothMethod::Occam
                                                         : core::SmoothMethod::Ridge;
  return onCopy(input, [&](core::Program& p) {
    core::setFitWeighting(p, weightErrors, robust);
    return core::estimateSmooth(p, chosen, core::SmoothDepthRange{zmin, zmax});
  });
}

SessionPtr equivalence(SoundingSession& input, bool ofSmooth, std::optional<bool> weightErrors) {
  return onCopy(input, [&](core::Program& p) {
    core::setFitWeighting(p, weightErrors, false);
    if (ofSmooth) p.SM().layer.errorWeighting = p.S().layer.errorWeighting;
    return ofSmooth ? p.estimation().analyzeSmoothEquivalence()
                    : p.estimation().analyzeEquivalence();
  });
}

SessionPtr transfer(SoundingSession& input, double noise, std::int32_t seed) {
  if (noise < 0.0 || noise > 1000.0) throw py::value_error("noise must be in 0 to 1000 percent");
  SessionPtr s = input.copy();
  s->program.inversions().seedTransferNoise(seed);
  s->toolkit.number = noise;
  runCommand(*s, [](core::Program& p) { return p.inversions().transferSyntheticToData(); });
  s->toolkit.number.reset();
  return s;
}

}  // namespace

void addCommandFunctions(py::module_& m) {
  m.def(
      "forward",
      [](SoundingSession& s) {
        return onCopy(s, [](core::Program& p) { return p.model().forwardModel(); });
      },
      py::arg("sounding"),
      "The synthetic data and fit of the layered model by the forward routine of the data "
      "type (Calculate, Forward; zeva-cli forward).");
  m.def("set_model", &setModel, py::arg("sounding"), py::arg("rho"), py::kw_only(),
        py::arg("thick") = py::none(), py::arg("depth") = py::none(),
        py::arg("ip") = std::vector<float>{}, py::arg("fix") = std::vector<int>{},
        "Replace the layered model: resistivities from the top down (the last the half-space), "
        "thicknesses or depths of all layers but the half-space, the IP parameter of every "
        "layer, and the parameters to hold fixed, numbered from 1 in model order "
        "(zeva-cli set-model).");
  m.def("invert", &invert, py::arg("sounding"), py::kw_only(), py::arg("single") = false,
        py::arg("resistivity_only") = false, py::arg("ip_only") = false,
        py::arg("iterations") = py::none(), py::arg("ratio") = py::none(),
        py::arg("floor") = py::none(), py::arg("weight_errors") = py::none(),
        py::arg("robust") = false,
        "Fit the layered model to the data (zeva-cli invert): one iteration with single, else "
        "the multiple-iteration run with the iteration limit, improvement ratio and fit floor "
        "(percent) given or of the sounding; weight_errors True or False sets the sounding's "
        "error weighting (None keeps it); robust reweighs residuals with Huber weights. "
        "Ctrl+C stops the run (KeyboardInterrupt).");
  m.def(
      "estimate",
      [](SoundingSession& s) {
        return onCopy(s, [](core::Program& p) { return p.estimation().estimateLayeredModel(); });
      },
      py::arg("sounding"),
      "Estimate a starting layered model from the data, with its forward response "
      "(zeva-cli estimate).");
  m.def("smooth", &smooth, py::arg("sounding"), py::kw_only(), py::arg("method") = py::none(),
        py::arg("zmin") = py::none(), py::arg("zmax") = py::none(),
        py::arg("weight_errors") = py::none(), py::arg("robust") = false,
        "A smooth model of many thin layers (zeva-cli smooth): method 'occam' or 'ridge' (None: "
        "the sounding's own choice) over the depth range of the data or from zmin to zmax (m).");
  m.def("equivalence", &equivalence, py::arg("sounding"), py::kw_only(), py::arg("smooth") = false,
        py::arg("weight_errors") = py::none(),
        "Equivalence analysis of the inverted layered model, or with smooth=True of the smooth "
        "model (zeva-cli equivalence); needs the resolution matrix of an inversion.");
  m.def("transfer", &transfer, py::arg("sounding"), py::arg("noise"), py::arg("seed") = 0,
        "Make the synthetic data the observed data with Gaussian noise of noise percent "
        "(zeva-cli transfer); seed 0 draws the desktop program's noise, other seeds other "
        "noise, the same for the same seed.");
  m.def(
      "shift",
      [](SoundingSession& s, int mode, int target) {
        return onCopy(s,
                      [&](core::Program& p) { return p.data().shiftDataSegments(mode, target); });
      },
      py::arg("sounding"), py::kw_only(), py::arg("mode") = 1, py::arg("target") = 1,
      "Shift the segments of Schlumberger data (zeva-cli shift): mode 1 to the long-spacing "
      "segment, 2 to the short-spacing one, 3 no shift; target 1 shifts the data, 2 the "
      "synthetics.");
}

}  // namespace zeva::python
