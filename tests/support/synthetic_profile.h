#pragma once
// A profile of Schlumberger soundings over a three-layer earth, made by the
// program as a user would make one: the default sounding's spacings, the
// station's model set, its forward response computed and transferred to the
// data with Gaussian noise. One program makes every station, so each draws
// its own part of one fixed noise sequence. A resistive cover lies over a
// conductor whose top is at the same depth everywhere and whose thickness
// grows steadily along the line, over a resistive basement. The tests of the
// laterally constrained inversion use it; it is a library of its own so that
// benchmarks can too.

#include <string>
#include <vector>

#include "core/record/sounding.h"

namespace zeva::test {

struct ProfileDesign {
  int stations = 40;
  float spacing = 25.0f;  // m between stations, the line running east
  float cover = 100.0f, conductor = 10.0f, basement = 300.0f;  // ohm-m
  float conductorTop = 20.0f;                                  // m
  float thinnest = 5.0f, thickest = 40.0f;  // conductor thickness at the first and last station
  float noisePercent = 3.0f;
};

struct ProfileStation {
  std::string name;  // also the file name without .ZVR
  float east = 0.0f;
  float conductorTop = 0.0f, conductorBottom = 0.0f;  // m, of the true earth
  core::Sounding sounding;                            // the noisy data, the true model
};

std::vector<ProfileStation> makeSyntheticProfile(const ProfileDesign& design = {});

}  // namespace zeva::test
