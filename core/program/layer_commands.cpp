// The commands of the plots' popup menus and of mouse editing: deleting and
// splitting a layer, fixing and freeing a resistivity or a boundary, masking a
// data point, and the forward runs that follow a drag of the model.

#include "core/program/layer_commands.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

#include "core/program/model_commands.h"
#include "core/program/model_editing.h"
#include "forward/forward_choice.h"
#include "inversion/inversion_steps.h"

namespace zeva::core {

namespace {

// A layered model taken apart into its layers and boundaries, so that layers
// can be removed or inserted with their controls; the boundaries are held as
// depths whatever the model stores.
struct LayerRow {
  float value[2]{};
  float upper[2]{1.0e10f, 1.0e10f}, lower[2]{};
  Logical fixed[2]{}, limited[2]{};
};
struct BoundaryRow {
  float depth = 0.0f;
  float upper = 1.0e10f, lower = 0.0f;
  Logical fixed = kFalse, limited = kFalse;
};
struct ModelRows {
  std::vector<LayerRow> layers;
  std::vector<BoundaryRow> boundaries;
};

ModelRows rowsOf(const Sounding& S) {
  ModelRows rows;
  const int nlayer = S.NLAYER(), npk = std::clamp(S.NPK(), 1, 2);
  const LayeredModel& M = S.M;
  for (int i = 0; i < nlayer; ++i) {
    LayerRow row;
    for (int b = 0; b < npk; ++b) {
      const auto k = static_cast<std::size_t>(b * nlayer + i);
      row.value[b] = M.PAR[k];
      row.upper[b] = M.PARU[k];
      row.lower[b] = M.PARD[k];
      row.fixed[b] = M.LFIX[k];
      row.limited[b] = M.LMTP[k];
    }
    rows.layers.push_back(row);
  }
  float depth = 0.0f;
  for (int j = 0; j + 1 < nlayer; ++j) {
    const std::size_t k = S.geometryIndex(j);
    depth = isSet(S.model.depths) ? M.PAR[k] : depth + M.PAR[k];
    rows.boundaries.push_back({depth, M.PARU[k], M.PARD[k], M.LFIX[k], M.LMTP[k]});
  }
  return rows;
}

// Writes rows back into a copy of S with the new layer count; false when the
// arrays cannot be had.
bool buildFromRows(const Sounding& S, const ModelRows& rows, Sounding& result) {
  result = S;
  const int nlayer = static_cast<int>(rows.layers.size());
  const int npk = std::clamp(S.NPK(), 1, 2);
  result.model.NLAYER = nlayer;
  if (!result.allocateModel()) return false;
  LayeredModel& M = result.M;
  for (int i = 0; i < nlayer; ++i)
    for (int b = 0; b < npk; ++b) {
      const auto k = static_cast<std::size_t>(b * nlayer + i);
      const LayerRow& row = rows.layers[static_cast<std::size_t>(i)];
      M.PAR[k] = row.value[b];
      M.PARU[k] = row.upper[b];
      M.PARD[k] = row.lower[b];
      M.LFIX[k] = row.fixed[b];
      M.LMTP[k] = row.limited[b];
    }
  float above = 0.0f;
  for (int j = 0; j + 1 < nlayer; ++j) {
    const std::size_t k = result.geometryIndex(j);
    const BoundaryRow& row = rows.boundaries[static_cast<std::size_t>(j)];
    M.PAR[k] = isSet(S.model.depths) ? row.depth : row.depth - above;
    above = row.depth;
    M.PARU[k] = row.upper;
    M.PARD[k] = row.lower;
    M.LFIX[k] = row.fixed;
    M.LMTP[k] = row.limited;
  }
  result.layer.syntheticValid = kFalse;
  result.layer.resolutionValid = kFalse;
  result.layer.equivalenceValid = kFalse;
  result.layer.saved = kFalse;
  return true;
}

// The layer (not the half-space) whose loss changes the model least, and the
// neighbour it goes to: the one of closer log10 resistivity, which takes its
// place. A layer counts little when that contrast is small or when it is
// thin for its depth (a sounding resolves a layer by its thickness relative
// to its depth).
struct MergeChoice {
  std::size_t layer = 0;
  bool intoUpper = false;
};
MergeChoice leastNoticedMerge(const ModelRows& rows) {
  MergeChoice choice;
  float least = std::numeric_limits<float>::infinity();
  const auto contrast = [&](std::size_t a, std::size_t b) {
    const float step = std::fabs(std::log10(rows.layers[a].value[0] / rows.layers[b].value[0]));
    return std::isnan(step) ? 0.0f : step;
  };
  for (std::size_t i = 0; i + 1 < rows.layers.size(); ++i) {
    const float top = i == 0 ? 0.0f : rows.boundaries[i - 1].depth;
    const float bottom = rows.boundaries[i].depth;
    const float below = contrast(i, i + 1);
    const float above = i == 0 ? std::numeric_limits<float>::infinity() : contrast(i, i - 1);
    const float weight = bottom > 0.0f ? std::max(0.0f, bottom - top) / bottom : 0.0f;
    const float cost = std::min(above, below) * weight;
    if (cost < least) {
      least = cost;
      choice = {i, above < below};
    }
  }
  return choice;
}

// Zero-based layer of a per-layer parameter (any block), or -1.
int layerOf(const Sounding& S, int parameter) {
  const int nlayer = S.NLAYER(), perLayer = nlayer * std::max(1, S.NPK());
  if (nlayer <= 0 || parameter < 1 || parameter > perLayer) return -1;
  return (parameter - 1) % nlayer;
}

}  // namespace

// The rebuilt model replaces that of S and gets its synthetics.
CommandResult LayerCommands::adoptEditedModel(bool built, Sounding& changed) {
  if (!built) {
    state_.toolkit().warning(kModelAllocationMessage);
    return CommandStatus::Failed;
  }
  state_.S() = std::move(changed);
  state_.runForwardQuietly();
  state_.toolkit().requestRedraw();
  return CommandStatus::Done;
}

CommandResult LayerCommands::deleteLayer(int parameter) {
  const Sounding& S = state_.S();
  const int layer = layerOf(S, parameter);
  if (layer < 0) return CommandStatus::Refused;
  if (S.NLAYER() <= 1) {
    state_.toolkit().information(kSingleLayerDeleteMessage);
    return CommandStatus::Refused;
  }
  // The layer's bottom goes with it, so that the layer below takes its place
  // and every other boundary stays at its depth; the half-space gives up its
  // top instead, and the layer above becomes the half-space.
  const auto i = static_cast<std::size_t>(layer);
  const std::size_t boundary = std::min(i, static_cast<std::size_t>(S.NLAYER() - 2));
  ModelRows rows = rowsOf(S);
  rows.layers.erase(rows.layers.begin() + static_cast<std::ptrdiff_t>(i));
  rows.boundaries.erase(rows.boundaries.begin() + static_cast<std::ptrdiff_t>(boundary));
  Sounding changed;
  const bool built = buildFromRows(S, rows, changed);
  return adoptEditedModel(built, changed);
}

CommandResult LayerCommands::reduceLayers(int layers) {
  const Sounding& S = state_.S();
  if (S.NLAYER() <= std::max(1, layers)) return CommandStatus::Done;
  ModelRows rows = rowsOf(S);
  while (static_cast<int>(rows.layers.size()) > std::max(1, layers)) {
    const MergeChoice merge = leastNoticedMerge(rows);
    const auto i = static_cast<std::ptrdiff_t>(merge.layer);
    rows.layers.erase(rows.layers.begin() + i);
    rows.boundaries.erase(rows.boundaries.begin() + (merge.intoUpper ? i - 1 : i));
  }
  Sounding changed;
  const bool built = buildFromRows(S, rows, changed);
  return adoptEditedModel(built, changed);
}

CommandResult LayerCommands::splitLayer(int parameter, std::optional<float> atDepth) {
  const Sounding& S = state_.S();
  const int layer = layerOf(S, parameter);
  if (layer < 0) return CommandStatus::Refused;
  ModelRows rows = rowsOf(S);
  const int nlayer = S.NLAYER();
  const float top = layer == 0 ? 0.0f : rows.boundaries[static_cast<std::size_t>(layer - 1)].depth;
  const float bottom = layer + 1 < nlayer ? rows.boundaries[static_cast<std::size_t>(layer)].depth
                                          : std::numeric_limits<float>::infinity();
  // At the depth the user pointed at when it lies inside the layer, else in
  // the layer's middle on the logarithmic depth scale of the model plot.
  float depth = 0.0f;
  if (atDepth && *atDepth > top && *atDepth < bottom && std::isfinite(*atDepth)) {
    depth = *atDepth;
  } else if (std::isinf(bottom)) {
    depth = top > 0.0f ? 2.0f * top : 10.0f;
  } else {
    depth = top > 0.0f ? std::sqrt(top * bottom) : bottom / 2.0f;
  }
  // Both halves keep the layer's value and controls; the new boundary is free.
  const auto i = static_cast<std::size_t>(layer);
  const LayerRow copy = rows.layers[i];
  rows.layers.insert(rows.layers.begin() + static_cast<std::ptrdiff_t>(i) + 1, copy);
  BoundaryRow boundary;
  boundary.depth = depth;
  rows.boundaries.insert(rows.boundaries.begin() + static_cast<std::ptrdiff_t>(i), boundary);
  Sounding changed;
  const bool built = buildFromRows(S, rows, changed);
  return adoptEditedModel(built, changed);
}

CommandResult LayerCommands::setParameterFixed(int parameter, bool fixed, FixTarget target) {
  Sounding& S = state_.S();
  const int nlayer = S.NLAYER();
  const bool resistivity = parameter >= 1 && parameter <= nlayer;
  const bool boundary = isBoundaryParameter(S, parameter);
  if ((target == FixTarget::Resistivity && !resistivity) ||
      (target == FixTarget::Boundary && !boundary) ||
      static_cast<std::size_t>(parameter) > S.M.LFIX.size())
    return CommandStatus::Refused;
  S.M.LFIX[static_cast<std::size_t>(parameter - 1)] = logical(fixed);
  S.layer.resolutionValid = kFalse;
  S.layer.equivalenceValid = kFalse;
  S.layer.saved = kFalse;
  state_.toolkit().requestRedraw();
  return CommandStatus::Done;
}

CommandResult LayerCommands::setPointMasked(int point, int component, bool masked) {
  Sounding& S = state_.S();
  Matrix<Logical>& LMASK = S.data().LMASK;
  if (point < 1 || point > S.NDATA() || component < 1 || component > S.NCOMP() ||
      static_cast<std::size_t>(point) > LMASK.rows() ||
      static_cast<std::size_t>(component) > LMASK.cols())
    return CommandStatus::Refused;
  LMASK(point - 1, component - 1) = logical(masked);
  S.layer.saved = kFalse;
  // The fit leaves masked readings out; it is brought up to date with them.
  if (isSet(S.layer.syntheticValid)) state_.runForwardQuietly();
  state_.toolkit().requestRedraw();
  return CommandStatus::Done;
}

void LayerCommands::dragStep() { state_.runForwardQuietly(); }

void LayerCommands::finishModelDrag() {
  Sounding& S = state_.S();
  S.layer.resolutionValid = kFalse;
  S.layer.equivalenceValid = kFalse;
  S.layer.saved = kFalse;
  state_.runForwardQuietly();
  state_.toolkit().requestRedraw();
}

void LayerCommands::trace(std::string_view line) {
  if (traceMouse_) state_.writeDebugLine(line);
}

}  // namespace zeva::core
