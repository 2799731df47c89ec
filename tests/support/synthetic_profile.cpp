#include "tests/support/synthetic_profile.h"

#include <cstdio>

#include "core/program/model_commands.h"
#include "core/program/program.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::test {

namespace {

std::string stationName(int k) {
  char name[16];
  std::snprintf(name, sizeof name, "P%02d", k + 1);
  return name;
}

// Makes S the program's sounding, with data arrays of its own (copies share
// them, and the transfer writes into them) shared with the smooth instance.
void useSounding(core::Program& program, const core::Sounding& S) {
  program.S() = S;
  program.S().detachData();
  program.S().shareDataWith(program.SM());
}

}  // namespace

std::vector<ProfileStation> makeSyntheticProfile(const ProfileDesign& design) {
  ScriptedToolkit toolkit;
  core::Program program(toolkit);
  program.startUp();
  const core::Sounding blank = program.S();
  std::vector<ProfileStation> stations;
  for (int k = 0; k < design.stations; ++k) {
    const float t = design.stations > 1 ? static_cast<float>(k) / (design.stations - 1) : 0.0f;
    ProfileStation station;
    station.name = stationName(k);
    station.east = design.spacing * static_cast<float>(k);
    station.conductorTop = design.conductorTop;
    station.conductorBottom =
        design.conductorTop + design.thinnest + t * (design.thickest - design.thinnest);
    useSounding(program, blank);
    core::LayeredModelRequest model;
    model.resistivity = {design.cover, design.conductor, design.basement};
    model.geometry = {station.conductorTop, station.conductorBottom - station.conductorTop};
    toolkit.numbers.push_back(design.noisePercent);
    if (!program.model().setLayeredModel(model) || !program.model().forwardModel() ||
        !program.inversions().transferSyntheticToData())
      return {};
    core::Sounding& S = program.S();
    S.header.name.assign(station.name);
    S.header.east = station.east;
    S.header.north = 0.0f;
    station.sounding = S;
    station.sounding.detachData();
    stations.push_back(std::move(station));
  }
  return stations;
}

}  // namespace zeva::test
