#pragma once
// Fixed-column ASCII exports of the current sounding, for people and for
// other programs: the observed data, the synthetic response of the layered or
// smooth model (optionally with Gaussian noise), the layered or smooth model
// with depths, elevations, longitudinal conductance and transverse
// resistance, and the equivalent models of an equivalence analysis.

#include <filesystem>
#include <ostream>
#include <string_view>

#include "core/record/gaussian_deviate.h"
#include "core/record/sounding.h"
#include "files/result.h"

namespace zeva::files {

// Noise multiplied into exported synthetics: each point draws two factors
// 1 + (percent / 100) g from the generator, for its first and second value.
struct SyntheticNoise {
  core::GaussianDeviate& deviate;
  float percent = 0.0f;
};

// The data file: observed values, or with `synthetic` the synthetic response
// (SVOLT) times the noise factors when `noise` is given.
bool writeAsciiData(std::ostream& out, const core::Sounding& sounding, bool synthetic,
                    const SyntheticNoise* noise = nullptr);
// The model file of the sounding's model (layered for S, smooth for SM).
bool writeAsciiModel(std::ostream& out, const core::Sounding& sounding);
// Every equivalent model of the equivalence results, one set after another.
bool writeEquivalentModels(std::ostream& out, const core::Sounding& sounding);

enum class AsciiExportKind { Data, Synthetics, Model, EquivalentModels };

// The title and filter of the save dialog of an export.
struct AsciiExportFile {
  std::string_view title;
  std::string_view filter;
};
AsciiExportFile asciiExportFile(AsciiExportKind kind, const core::Sounding& sounding);

// Writes the export as the file `file`, replacing it only once the whole file
// was written: "CANNOT OPEN FILE: " when it cannot be created, "ERROR WRITING
// FILE: " when a write fails.
Result exportAscii(const std::filesystem::path& file, AsciiExportKind kind,
                   const core::Sounding& sounding, const SyntheticNoise* noise = nullptr);

}  // namespace zeva::files
