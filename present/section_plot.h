#pragma once
// The section of a survey: the 1-D models of its soundings side by side,
// each a column of colour-filled layers centred on its station and reaching
// half-way to the neighbours, resistivity coloured by its logarithm against
// distance along the profile and depth downwards, with a colour bar in
// ohm-m, the data fit of each sounding above and the stations named.

#include <optional>
#include <string>
#include <vector>

#include "present/canvas.h"

namespace zeva::present {

struct SectionLayer {
  float resistivity = 0.0f;  // ohm-m
  float thickness = 0.0f;    // m; the last layer (the half-space) has none
};

struct SectionStation {
  std::string name;
  float distance = 0.0f;  // along the profile, m
  std::vector<SectionLayer> layers;
  std::optional<float> fitPercent;  // the data fit of the model, when known
};

enum class SectionModel { Layered, Smooth, Lci };

struct SectionInput {
  std::vector<SectionStation> stations;  // by increasing distance
  SectionModel model = SectionModel::Layered;
  std::optional<float> depth;  // deepest depth shown; by default from the models
  std::string survey;          // the survey's name for the title
};

// The depth the section reaches: the option when given, else 1.5 times the
// median over the stations of the top of the half-space (100 m for
// half-spaces only).
float sectionDepth(const SectionInput& input);

// The colour of a resistivity on a scale running from `lowLog10` (red, the
// conductors) through yellow, green and cyan to `highLog10` (blue).
Rgb resistivityColour(float log10Resistivity, float lowLog10, float highLog10);

// Where the section was drawn, in page units: the GUI maps clicks to
// stations with it.
struct SectionLayout {
  float left = 0.0f, right = 0.0f, top = 0.0f, bottom = 0.0f;  // the section's frame
  std::vector<float> columnLeft, columnRight;                  // the column of each station
  // The station whose column holds page point (x, y) of the section or of the
  // names and fits above it; -1 elsewhere.
  int stationAt(float x, float y) const;
};

inline constexpr float kSectionPageWidth = 10.0f;
inline constexpr float kSectionPageHeight = 8.0f;

// Draws the section on a new white 10 x 8 page and ends the page. With no
// stations the page says so.
SectionLayout DrawSection(Canvas& canvas, const SectionInput& input);

// "Layered models", "Smooth models" or "Laterally constrained models".
std::string sectionModelTitle(SectionModel model);

}  // namespace zeva::present
