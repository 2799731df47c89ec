#pragma once
// Fixed-column ASCII exports of the current sounding, for people and for
// other programs: the observed data, the synthetic response of the layered or
// smooth model (optionally with Gaussian noise), the layered or smooth model
// with depths, elevations, longitudinal conductance and transverse
// resistance, and the equivalent models of an equivalence analysis.

#include <ostream>
#include <string_view>

#include "core/record/gaussian_deviate.h"
#include "core/record/sounding.h"
#include "ui/toolkit/toolkit.h"

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

// The export command's part: the save dialog with the matching title and
// filter, then the file. "CANNOT OPEN FILE: " when it cannot be created, and
// "ERROR WRITING FILE: " when a write fails. Returns 0 on success, -1 else.
int exportAscii(ui::Toolkit& toolkit, AsciiExportKind kind, const core::Sounding& sounding,
                std::string_view initialName, const SyntheticNoise* noise = nullptr);

}  // namespace zeva::files
