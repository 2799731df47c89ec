#pragma once
// The popup commands of the plots and the mouse editing of the model.
// `parameter` is the 1-based PAR index picked with the mouse.

#include <optional>
#include <string_view>

#include "core/program/command_result.h"
#include "core/program/program_state.h"

namespace zeva::core {

inline constexpr std::string_view kSingleLayerDeleteMessage =
    "Cannot delete layer from single layer model";

// Which parameters the fix and free commands of the popup menus act on.
enum class FixTarget { Resistivity, Boundary };

class LayerCommands {
 public:
  explicit LayerCommands(ProgramState& state) : state_(state) {}

  // "&Delete Layer" and "&Split Layer" act on a per-layer parameter's layer
  // (a split at `atDepth` when that lies inside the layer), then run the
  // forward routine; fixing and freeing act on a resistivity or a boundary
  // only and clear the resolution and equivalence; masking acts on a reading
  // within the data. Refused when the selection does not apply (after a
  // message where the user can do something about it).
  CommandResult deleteLayer(int parameter);
  CommandResult splitLayer(int parameter, std::optional<float> atDepth = std::nullopt);
  CommandResult setParameterFixed(int parameter, bool fixed, FixTarget target);
  CommandResult setPointMasked(int point, int component, bool masked);
  // Brings the layered model down to `layers` layers (at least 1), each time
  // giving the layer that matters least (of small contrast to a neighbour or
  // thin for its depth) to its neighbour of closer resistivity: a model close
  // to the one given in fewer layers, for fitting soundings of different
  // layer counts together. A model of no more layers is left as it is. The
  // forward routine runs after.
  CommandResult reduceLayers(int layers);

  // One step of a model drag: the synthetics follow the model. The release
  // then clears the resolution and equivalence and runs the forward once more.
  void dragStep();
  void finishModelDrag();
  // The mouse trace ("Rubber Model:", "Rubber Box:") goes to the debug log
  // while this is on.
  void setMouseTrace(bool on) { traceMouse_ = on; }
  void trace(std::string_view line);

 private:
  CommandResult adoptEditedModel(bool built, Sounding& changed);

  ProgramState& state_;
  bool traceMouse_ = false;
};

}  // namespace zeva::core
