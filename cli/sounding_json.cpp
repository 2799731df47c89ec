#include "cli/sounding_json.h"

#include <charconv>
#include <cmath>
#include <string>

#include "core/record/data_type.h"
#include "forward/tem_late_time.h"
#include "inversion/fit_weights.h"
#include "inversion/smooth_model.h"

namespace zeva::cli {

using nlohmann::json;

json number(float value) {
  if (!std::isfinite(value)) return nullptr;
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::stod(std::string(text, result.ptr));
}

namespace {

json numbers(std::span<const float> values) {
  json list = json::array();
  for (float v : values) list.push_back(number(v));
  return list;
}

json flags(std::span<const core::Logical> values) {
  json list = json::array();
  for (core::Logical v : values) list.push_back(core::isSet(v));
  return list;
}

// One list per reading with the values of its first `columns` columns.
template <typename T, typename Convert>
json perReading(const core::Matrix<T>& m, std::size_t firstColumn, std::size_t columns,
                std::size_t readings, Convert convert) {
  json rows = json::array();
  for (std::size_t i = 0; i < std::min(readings, m.rows()); ++i) {
    json row = json::array();
    for (std::size_t j = firstColumn; j < std::min(firstColumn + columns, m.cols()); ++j)
      row.push_back(convert(m(i, j)));
    rows.push_back(row);
  }
  return rows;
}

// The ranges of the equivalence analysis: per parameter, per layer boundary,
// the 2 NPAR equivalent models (rows of EQUIVA) and their fits.
json equivalenceJson(const core::Sounding& s) {
  json models = json::array();
  for (std::size_t i = 0; i < s.EQUIVA.rows(); ++i) {
    json row = json::array();
    for (std::size_t j = 0; j < s.EQUIVA.cols(); ++j) row.push_back(number(s.EQUIVA(i, j)));
    models.push_back(row);
  }
  return {{"parmin", numbers(s.PARMIN)},
          {"parmax", numbers(s.PARMAX)},
          {"znmin", numbers(s.ZNMIN)},
          {"znmax", numbers(s.ZNMAX)},
          {"models", models},
          {"fits", numbers(s.ERER)}};
}

}  // namespace

json modelJson(const core::Sounding& s) {
  return {
      {"nlayer", s.model.NLAYER},   {"npk", s.model.NPK},
      {"npar", s.model.NPAR},       {"depths", core::isSet(s.model.depths)},
      {"par", numbers(s.M.PAR)},    {"fixed", flags(s.M.LFIX)},
      {"limited", flags(s.M.LMTP)}, {"lower", numbers(s.M.PARD)},
      {"upper", numbers(s.M.PARU)},
  };
}

json smoothModelJson(const core::Sounding& SM) {
  json result = modelJson(SM);
  const bool computed = core::isSet(SM.layer.syntheticValid);
  result["computed"] = computed;
  result["title"] = std::string(inversion::smoothModelTitle(SM));
  result["pcterr"] = computed ? number(SM.layer.PCTERR) : json(nullptr);
  result["rms"] = computed ? number(SM.layer.RMS) : json(nullptr);
  result["weighted_fit"] =
      computed && inversion::weightedFitInUse(SM) ? number(SM.layer.weightedFit) : json(nullptr);
  return result;
}

json robustJson(const core::Sounding& S) {
  if (!S.robust) return {{"on", false}};
  const auto ndata = static_cast<std::size_t>(std::max(0, S.NDATA()));
  const auto ncomp = static_cast<std::size_t>(std::max(0, S.NCOMP()));
  json weights = json::array();
  if (S.huberWeights.size() == ndata * ncomp) {
    for (std::size_t i = 0; i < ndata; ++i) {
      json row = json::array();
      for (std::size_t c = 0; c < ncomp; ++c) row.push_back(number(S.huberWeights[c * ndata + i]));
      weights.push_back(row);
    }
  }
  return {{"on", true}, {"downweighted", inversion::downweightedCount(S)}, {"weights", weights}};
}

json soundingJson(const core::CurrentSounding& current) {
  const core::Sounding& S = current.S;
  const core::Sounding& SM = current.SM;
  const auto& d = S.data();
  const auto ndata = static_cast<std::size_t>(std::max(0, S.NDATA()));
  const auto ncomp = static_cast<std::size_t>(std::max(0, S.NCOMP()));
  const auto toNumber = [](float v) { return number(v); };
  const auto toFlag = [](core::Logical v) { return core::isSet(v); };

  json shifts = json::array();
  for (std::size_t s = 0; s < d.shiftBreak.size() && s < d.shiftFactor.size(); ++s)
    shifts.push_back({d.shiftBreak[s], number(d.shiftFactor[s])});

  const bool syntheticValid = core::isSet(S.layer.syntheticValid);
  json result = {
      {"name", S.header.name.trimmed()},
      {"data_type", S.header.dataType.trimmed()},
      {"ndata", S.header.NDATA},
      {"ncomp", S.header.NCOMP},
      {"ngeom", S.header.NGEOM},
      {"nsets", S.header.NSETS},
      {"saved", core::isSet(S.layer.saved)},
      {"time", perReading(d.TIME, 0, d.TIME.cols(), ndata, toNumber)},
      {"volts", perReading(d.VOLTS, 0, ncomp, ndata, toNumber)},
      {"uvolts", perReading(d.UVOLTS, 0, ncomp, ndata, toNumber)},
      {"mask", perReading(d.LMASK, 0, ncomp, ndata, toFlag)},
      {"masking_on", core::isSet(S.header.maskingOn)},
      {"nshift", S.header.NSHIFT},
      {"shifts", shifts},
      {"synthetic_valid", syntheticValid},
      {"synthetic",
       syntheticValid ? perReading(S.SVOLT, 0, ncomp, ndata, toNumber) : json(nullptr)},
      {"rms", number(S.layer.RMS)},
      {"pcterr", number(S.layer.PCTERR)},
      {"error_weighting", core::isSet(S.layer.errorWeighting)},
      {"weighted_fit", syntheticValid && inversion::weightedFitInUse(S)
                           ? number(S.layer.weightedFit)
                           : json(nullptr)},
      {"model", modelJson(S)},
      {"smooth_model", SM.hasModel() ? smoothModelJson(SM) : json(nullptr)},
      {"resolution_valid", core::isSet(S.layer.resolutionValid)},
      {"equivalence_valid", core::isSet(S.layer.equivalenceValid)},
  };
  if (core::isSet(S.header.voltageAndCurrent) && d.VOLTS.cols() >= ncomp + 2) {
    result["voltage"] = numbers(d.VOLTS.column(1).first(std::min(ndata, d.VOLTS.rows())));
    result["current"] = numbers(d.VOLTS.column(2).first(std::min(ndata, d.VOLTS.rows())));
  }
  if (core::isSet(S.layer.resolutionValid)) result["resolution"] = numbers(S.RESOLV);
  if (core::isSet(S.layer.equivalenceValid)) result["equivalence"] = equivalenceJson(S);
  if (SM.hasModel() && core::isSet(SM.layer.equivalenceValid))
    result["smooth_equivalence"] = equivalenceJson(SM);
  // TEM data are shown as late-time apparent resistivity, one value per gate.
  if (core::isTem(S.header.dataType))
    result["late_time_rho"] = numbers(forward::lateTimeApparentResistivity(S));
  return result;
}

}  // namespace zeva::cli
