// The class zeva.Sounding. Its attributes are read-only copies; the
// functions of the module return new soundings and leave theirs as they were.

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include "cli/sounding_json.h"
#include "core/record/data_type.h"
#include "python/command_run.h"
#include "python/module_parts.h"
#include "python/sounding_arrays.h"
#include "python/sounding_session.h"

namespace py = pybind11;

namespace zeva::python {

namespace {

std::size_t count(int n) { return static_cast<std::size_t>(std::max(0, n)); }

// The model of S or SM: the parameter vector with its controls and the same
// parameters by kind.
py::dict modelDict(const core::Sounding& s) {
  const std::size_t nlayer = count(s.NLAYER());
  const std::size_t npk = count(s.NPK());
  std::span<const float> par = s.M.PAR;
  py::dict d;
  d["nlayer"] = s.NLAYER();
  d["npk"] = s.NPK();
  d["npar"] = s.NPAR();
  d["depths"] = core::isSet(s.model.depths);
  d["par"] = vectorArray(par);
  d["fixed"] = flagArray(s.M.LFIX);
  d["limited"] = flagArray(s.M.LMTP);
  d["lower"] = vectorArray(s.M.PARD);
  d["upper"] = vectorArray(s.M.PARU);
  if (par.size() >= nlayer * npk && nlayer > 0 && npk > 0) {
    d["resistivity"] = vectorArray(par.first(nlayer));
    py::array_t<float> ip = vectorArray(par.subspan(nlayer, nlayer * (npk - 1)));
    d["ip"] = ip.reshape({static_cast<py::ssize_t>(npk - 1), static_cast<py::ssize_t>(nlayer)});
    d[core::isSet(s.model.depths) ? "depth" : "thickness"] = vectorArray(par.subspan(nlayer * npk));
  }
  return d;
}

py::object equivalenceDict(const core::Sounding& s) {
  if (!core::isSet(s.layer.equivalenceValid)) return py::none();
  py::dict d;
  d["parmin"] = vectorArray(s.PARMIN);
  d["parmax"] = vectorArray(s.PARMAX);
  d["znmin"] = vectorArray(s.ZNMIN);
  d["znmax"] = vectorArray(s.ZNMAX);
  d["models"] = matrixArray(s.EQUIVA, s.EQUIVA.rows(), 0, s.EQUIVA.cols());
  d["fits"] = vectorArray(s.ERER);
  return d;
}

py::object infoDict(SoundingSession& s) {
  nlohmann::json json = cli::soundingJson(s.program.current());
  if (s.lastRun)
    json["inversion"] = {{"iterations", s.lastRun->iterations},
                         {"interrupted", s.lastRun->interrupted},
                         {"status", s.lastRun->status},
                         {"robust", cli::robustJson(s.program.S())}};
  return py::module_::import("json").attr("loads")(json.dump());
}

}  // namespace

void addSoundingClass(py::module_& m) {
  using Session = SoundingSession;
  py::class_<Session>(m, "Sounding",
                      "One sounding: its data, layered and smooth models, synthetics and the "
                      "results of inversion and equivalence analysis. The attributes are copies; "
                      "the functions of the module return new soundings.")
      .def_property_readonly(
          "name", [](Session& s) { return s.program.S().header.name.trimmed(); },
          "The sounding's name.")
      .def_property_readonly(
          "data_type", [](Session& s) { return s.program.S().header.dataType.trimmed(); },
          "The data type text, e.g. 'Schlumberger Array'.")
      .def_property_readonly(
          "ndata", [](Session& s) { return s.program.S().NDATA(); }, "Number of readings.")
      .def_property_readonly(
          "geometry",
          [](Session& s) {
            const auto& d = s.program.S().data();
            return matrixArray(d.TIME, count(s.program.S().NDATA()), 0, d.TIME.cols());
          },
          "Abscissae and geometry per reading (ndata x ngeom): AB/2 and MN, spacing, "
          "frequency or time.")
      .def_property_readonly(
          "values",
          [](Session& s) {
            const core::Sounding& S = s.program.S();
            return matrixArray(S.data().VOLTS, count(S.NDATA()), 0, count(S.NCOMP()));
          },
          "Observed values (ndata x ncomp).")
      .def_property_readonly(
          "errors",
          [](Session& s) {
            const core::Sounding& S = s.program.S();
            return matrixArray(S.data().UVOLTS, count(S.NDATA()), 0, count(S.NCOMP()));
          },
          "Error bars of the values (ndata x ncomp).")
      .def_property_readonly(
          "mask",
          [](Session& s) {
            const core::Sounding& S = s.program.S();
            return maskArray(S.data().LMASK, count(S.NDATA()), count(S.NCOMP()));
          },
          "True for masked readings, left out of every fit (ndata x ncomp).")
      .def_property_readonly(
          "synthetic",
          [](Session& s) -> py::object {
            const core::Sounding& S = s.program.S();
            if (!core::isSet(S.layer.syntheticValid)) return py::none();
            return matrixArray(S.SVOLT, count(S.NDATA()), 0, count(S.NCOMP()));
          },
          "Synthetic data of the layered model (ndata x ncomp), None until a forward run.")
      .def_property_readonly(
          "pcterr", [](Session& s) { return scalar(s.program.S().layer.PCTERR); },
          "Fit of the layered model in percent RMS, as zeva-cli prints it.")
      .def_property_readonly(
          "rms", [](Session& s) { return scalar(s.program.S().layer.RMS); },
          "Fit of the layered model as log10 RMS misfit.")
      .def_property_readonly(
          "weighted_fit", [](Session& s) -> py::object { return infoDict(s)["weighted_fit"]; },
          "RMS misfit in error bars under error weighting, else None.")
      .def_property_readonly(
          "model", [](Session& s) { return modelDict(s.program.S()); },
          "The layered model: 'par' with 'fixed', 'limited', 'lower', 'upper', and by kind "
          "'resistivity', 'ip' (one row per IP parameter kind) and 'thickness' or 'depth'.")
      .def_property_readonly(
          "smooth_model",
          [](Session& s) -> py::object {
            const core::Sounding& SM = s.program.SM();
            if (!SM.hasModel()) return py::none();
            py::dict d = modelDict(SM);
            const bool computed = core::isSet(SM.layer.syntheticValid);
            d["computed"] = computed;
            d["pcterr"] = computed ? scalar(SM.layer.PCTERR) : py::object(py::none());
            d["rms"] = computed ? scalar(SM.layer.RMS) : py::object(py::none());
            d["synthetic"] =
                computed
                    ? py::object(matrixArray(SM.SVOLT, count(SM.NDATA()), 0, count(SM.NCOMP())))
                    : py::object(py::none());
            return d;
          },
          "The smooth model in the form of 'model' with 'computed', 'pcterr', 'rms' and "
          "'synthetic', or None.")
      .def_property_readonly(
          "resolution",
          [](Session& s) -> py::object {
            const core::Sounding& S = s.program.S();
            if (!core::isSet(S.layer.resolutionValid)) return py::none();
            return vectorArray(S.RESOLV);
          },
          "The resolution matrix of the last inversion (packed triangle), or None.")
      .def_property_readonly(
          "equivalence", [](Session& s) { return equivalenceDict(s.program.S()); },
          "Equivalence of the layered model: 'parmin', 'parmax', 'znmin', 'znmax', 'models' "
          "(2 npar x npar) and 'fits' (% RMS), or None.")
      .def_property_readonly(
          "smooth_equivalence", [](Session& s) { return equivalenceDict(s.program.SM()); },
          "Equivalence of the smooth model in the same form, or None.")
      .def_property_readonly(
          "inversion",
          [](Session& s) -> py::object {
            if (!s.lastRun) return py::none();
            py::dict d;
            d["iterations"] = s.lastRun->iterations;
            d["interrupted"] = s.lastRun->interrupted;
            d["status"] = s.lastRun->status;
            d["fits"] = s.fitSteps;
            return d;
          },
          "How the last inversion ended: 'iterations', 'interrupted', 'status' and the status "
          "line of each iteration ('fits'), or None.")
      .def("info", &infoDict,
           "Everything zeva-cli info --json prints, as a dict (with 'inversion' after invert).")
      .def("copy", &Session::copy, "A whole copy of the sounding.")
      .def(
          "write",
          [](Session& s, const std::string& path) {
            runCommand(s, [&](core::Program& p) { return p.file().saveFileAs(path); });
          },
          py::arg("path"),
          "Write the sounding as a native .ZVR file (through a temporary file; a failed write "
          "leaves the old file as it was).")
      .def("__repr__", [](Session& s) {
        return "<zeva.Sounding '" + s.program.S().header.name.trimmed() + "', " +
               s.program.S().header.dataType.trimmed() + ", " +
               std::to_string(s.program.S().NDATA()) + " readings>";
      });
}

}  // namespace zeva::python
