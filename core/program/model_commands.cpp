// Commands that change or compute the layered model of S: replacing the model
// from plain lists, and "&Forward" with the forward routine of the data type.

#include "core/program/model_commands.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "forward/forward_choice.h"
#include "inversion/inversion_steps.h"

namespace zeva::core {

namespace {

bool positiveNumber(float v) { return std::isfinite(v) && v > 0.0f; }

// The message that refuses the model, or an empty view when it is usable.
std::string_view refusal(const LayeredModelRequest& request) {
  const std::size_t nlayer = request.resistivity.size();
  if (nlayer < 1) return kNoLayersMessage;
  if (request.geometry.size() != nlayer - 1) return kGeometryCountMessage;
  if (!request.ip.empty() && request.ip.size() != nlayer) return kIpCountMessage;
  if (!std::ranges::all_of(request.resistivity, positiveNumber) ||
      !std::ranges::all_of(request.geometry, positiveNumber))
    return kNonPositiveMessage;
  if (!std::ranges::all_of(request.ip, [](float v) { return std::isfinite(v); }))
    return kIpValueMessage;
  if (request.depths && std::ranges::adjacent_find(request.geometry, std::greater_equal<>()) !=
                            request.geometry.end())
    return kDepthOrderMessage;
  const int npar = parameterCount(static_cast<int>(nlayer), request.ip.empty() ? 1 : 2);
  if (!std::ranges::all_of(request.fixed, [npar](int k) { return k >= 1 && k <= npar; }))
    return kFixedIndexMessage;
  return {};
}

}  // namespace

CommandResult ModelCommands::setLayeredModel(const LayeredModelRequest& request) {
  if (const std::string_view message = refusal(request); !message.empty()) {
    state_.toolkit().information(message);
    return CommandStatus::Refused;
  }
  // The new model is built on a copy (sharing the data), so that a failed
  // allocation leaves the old one in place.
  Sounding trial = state_.S();
  trial.model.NLAYER = static_cast<int>(request.resistivity.size());
  trial.model.NPK = request.ip.empty() ? 1 : 2;
  trial.model.depths = logical(request.depths);
  if (!trial.allocateModel()) {
    state_.toolkit().warning(kModelAllocationMessage);
    return CommandStatus::Failed;
  }
  std::vector<float>& PAR = trial.M.PAR;
  auto next = std::ranges::copy(request.resistivity, PAR.begin()).out;
  next = std::ranges::copy(request.ip, next).out;
  std::ranges::copy(request.geometry, next);
  // Limits are off; the bounds are left wide open should the user turn them on.
  std::ranges::fill(trial.M.PARD, 0.0f);
  std::ranges::fill(trial.M.PARU, 1.0e10f);
  for (const int k : request.fixed) trial.M.LFIX[static_cast<std::size_t>(k - 1)] = kTrue;

  Sounding& S = state_.S();
  S = std::move(trial);
  S.layer.syntheticValid = kFalse;
  S.layer.resolutionValid = kFalse;
  S.layer.equivalenceValid = kFalse;
  S.layer.saved = kFalse;
  state_.toolkit().requestRedraw();
  return CommandStatus::Done;
}

CommandResult ModelCommands::forwardModel() {
  Sounding& S = state_.S();
  if (!forward::hasForwardModel(S)) {
    state_.toolkit().information(forward::kNoForwardModelMessage);
    return CommandStatus::Refused;
  }
  inversion::runForward(S, forward::chooseForwardRoutine(S, state_.toolkit()));
  state_.toolkit().requestRedraw();
  return CommandStatus::Done;
}

}  // namespace zeva::core
