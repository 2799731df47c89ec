#pragma once
// Calculate, Inverse: "&Single Iteration" and "&Multiple Iterations" of the
// layered inversion, over all parameters or restricted to the resistivity or
// the IP part, and "&Transfer Synthetic to Data".

#include <cstdint>
#include <string_view>

#include "core/program/command_result.h"
#include "core/program/program_state.h"
#include "core/program/program_types.h"
#include "core/record/gaussian_deviate.h"

namespace zeva::core {

// The parameters an inversion command may change: all of them, or only the
// resistivity part (layer resistivities and thicknesses) or the IP part.
enum class InversionScope { All, ResistivityOnly, IpOnly };

inline constexpr std::string_view kSyntheticNotValidMessage =
    "Sythetic data not valid. Please do forward model";
inline constexpr std::string_view kNoisePrompt = "Add random noise to Synthetic (%)";
inline constexpr std::string_view kNoDataOrModelMessage =
    "Inversion needs data and a layered model";
inline constexpr std::string_view kNoIpMessage =
    "IP inversion needs IP data and a model with IP parameters";

class InversionCommands {
 public:
  explicit InversionCommands(ProgramState& state) : state_(state) {}

  // The runs use the forward routine of the data type; a restricted run
  // holds the other parameters fixed and masks the other data columns for
  // the run (the user's fixes and masks are put back afterwards) and makes
  // at most three iterations. Refused with a message when the sounding
  // cannot be inverted.
  CommandValue<InversionRun> singleIteration(InversionScope scope = InversionScope::All);
  CommandValue<InversionRun> multipleIterations(InversionScope scope = InversionScope::All);
  // The synthetics become the data, with the Gaussian noise in percent the
  // user asks for.
  CommandResult transferSyntheticToData();
  // Starts the noise of the transfers anew from `seed` (a run starts from 0),
  // so that scripted studies can draw independent noise for each sounding.
  void seedTransferNoise(std::int32_t seed);

 private:
  CommandResult inversionPossible(InversionScope scope);
  CommandValue<InversionRun> runInversion(InversionScope scope, bool many);

  ProgramState& state_;
  // The noise of Transfer Synthetic to Data: one sequence through the run.
  GaussianDeviate transferNoise_;
};

}  // namespace zeva::core
