#pragma once
// A layered model given as plain lists, as scripts and the model grid hand it
// to the program: resistivities, thicknesses or depths, optional IP
// parameters and the parameters to hold fixed.

#include <string_view>
#include <vector>

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

}  // namespace zeva::core
