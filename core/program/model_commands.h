#pragma once
// Commands that set or compute the layered model of S: a model given as
// plain lists, as scripts and the model grid hand it to the program
// (resistivities, thicknesses or depths, optional IP parameters and the
// parameters to hold fixed), and Calculate, "&Forward".

#include <string_view>
#include <vector>

#include "core/program/command_result.h"
#include "core/program/program_state.h"

namespace zeva::core {

struct LayeredModelRequest {
  std::vector<float> resistivity{};  // ohm-m, top down; the last is the half-space
  std::vector<float> geometry{};     // NLAYER - 1 thicknesses, or bottom depths
  bool depths = false;               // `geometry` holds depths
  std::vector<float> ip{};           // empty, or one IP parameter per layer
  std::vector<int> fixed{};          // 1-based indices into PAR
};

inline constexpr std::string_view kNoLayersMessage =
    "A layered model needs at least one layer resistivity";
inline constexpr std::string_view kGeometryCountMessage =
    "A model of n layers needs n - 1 thicknesses or depths";
inline constexpr std::string_view kIpCountMessage = "Give one IP parameter for every layer";
inline constexpr std::string_view kNonPositiveMessage =
    "Resistivities, thicknesses and depths must be positive numbers";
inline constexpr std::string_view kIpValueMessage = "IP parameters must be numbers";
inline constexpr std::string_view kDepthOrderMessage = "Depths must increase downward";
inline constexpr std::string_view kFixedIndexMessage =
    "Fixed parameters are numbered from 1 to the number of model parameters";
inline constexpr std::string_view kModelAllocationMessage = "CANNOT ALLOCATE MODEL ARRAYS";

class ModelCommands {
 public:
  explicit ModelCommands(ProgramState& state) : state_(state) {}

  // The synthetic data and fit of the layered model, by the forward routine
  // of the data type. Refused, with a message and the sounding unchanged,
  // for the marine TEM types (no forward model).
  CommandResult forwardModel();
  // Replaces the layered model of S (NLAYER, NPK and NPAR follow; limits
  // off), clearing the synthetic, resolution, equivalence and saved flags.
  // Refused, with a message and the model unchanged, when the lists do not
  // make a model.
  CommandResult setLayeredModel(const LayeredModelRequest& request);

 private:
  ProgramState& state_;
};

}  // namespace zeva::core
