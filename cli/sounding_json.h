#pragma once
// The JSON form of the current sounding that `info --json` prints and other
// verbs print after their command. Scripts read these keys; keep them stable.

#include <nlohmann/json.hpp>

#include "core/record/current_sounding.h"

namespace zeva::cli {

// A float as the shortest decimal that reads back to the same float, so that
// 159.9f prints as 159.9; NaN and infinities become null.
nlohmann::json number(float value);

nlohmann::json modelJson(const core::Sounding& sounding);
// The smooth model with its fit: "pcterr", "rms" and "weighted_fit" of its
// synthetics (null while it is not computed), "computed" and its "title".
nlohmann::json smoothModelJson(const core::Sounding& SM);
// The robust fit of the last run: {"on": false}, or "on", the number of
// values Huber weights held below 1 ("downweighted") and the weights per
// reading and column ("weights").
nlohmann::json robustJson(const core::Sounding& S);
nlohmann::json soundingJson(const core::CurrentSounding& current);

}  // namespace zeva::cli
