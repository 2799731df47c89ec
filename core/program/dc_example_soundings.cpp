#include "core/program/dc_example_soundings.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/record/data_type.h"
#include "forward/dc_resistivity_forward.h"
#include "ui/toolkit/null_toolkit.h"

namespace zeva::core {

namespace {

// The reference earth of the data and the starting model of every example.
constexpr float kReferenceResistivity[] = {200.0f, 20.0f, 1000.0f};
constexpr float kReferenceThickness[] = {5.0f, 15.0f};
constexpr float kStartResistivity = 100.0f;

bool separationFactors(const DataTypeText& type) { return traitsOf(type).separationFactor(); }

std::vector<float> abscissae(const DataTypeText& type) {
  if (separationFactors(type)) return {1, 2, 3, 4, 5, 6, 7, 8};
  std::vector<float> spacings;  // six per decade from 1 m to 1 km
  for (int i = 0; i <= 18; ++i) spacings.push_back(std::pow(10.0f, static_cast<float>(i) / 6.0f));
  return spacings;
}

void setLayers(Sounding& S, const float* rho, const float* thickness, int nlayer) {
  S.model = ModelHeader{};
  S.model.NLAYER = nlayer;
  S.model.NPK = 1;
  S.allocateModel();
  std::copy_n(rho, nlayer, S.M.PAR.begin());
  std::copy_n(thickness, nlayer - 1, S.M.PAR.begin() + nlayer);
}

float threeFigures(float value) {
  if (value == 0.0f || !std::isfinite(value)) return value;
  const float scale = std::pow(10.0f, 2.0f - std::floor(std::log10(std::fabs(value))));
  return std::round(value * scale) / scale;
}

}  // namespace

bool makeDcResistivityExample(const DataTypeText& type, CurrentSounding& current) {
  // Schlumberger's example is the default sounding; grounding impedance has
  // no array formula to compute data from.
  const DataTypeTraits& traits = traitsOf(type);
  if (traits.family != Family::DcResistivity || traits.id == DataTypeId::Schlumberger ||
      traits.id == DataTypeId::GroundingImpedance)
    return false;

  const std::vector<float> spacings = abscissae(type);
  const int n = static_cast<int>(spacings.size());
  Sounding& S = current.S;
  S.freeArrays();
  S.layer = LayerHeader{};
  S.header = DataHeader{};
  S.header.name.assign(type.trimmed().substr(0, type.trimmed().find(' ')) + " Example*");
  S.header.dataType = type;
  S.header.NDATA = n;
  S.header.NCOMP = 1;
  S.header.NGEOM = 1;
  S.header.NSETS = 1;
  S.header.maskingOn = kTrue;
  S.header.resistivityUnit.assign("(ohm-m)");
  S.header.lengthUnit.assign("(meters)");
  S.header.ipUnit.assign("(pfe)");
  if (separationFactors(type)) S.header.dipoleLength = 10.0f;
  S.allocateData();
  auto& d = S.data();
  std::ranges::copy(spacings, d.TIME.column(0).begin());
  d.NSET[0] = n;
  d.LOGDAT[0] = kTrue;

  // The reference earth's response, to three figures, becomes the data.
  ui::NullToolkit quiet;
  setLayers(S, kReferenceResistivity, kReferenceThickness, 3);
  forward::dcResistivityForward(S, quiet);
  for (int i = 0; i < n; ++i) {
    const auto row = static_cast<std::size_t>(i);
    d.VOLTS(row, 0) = threeFigures(S.SVOLT(row, 0));
    d.UVOLTS(row, 0) = threeFigures(0.03f * d.VOLTS(row, 0));
  }
  const float start[] = {kStartResistivity, kStartResistivity, kStartResistivity};
  setLayers(S, start, kReferenceThickness, 3);
  S.SVOLT.resize(S.SVOLT.rows(), S.SVOLT.cols());
  S.layer = LayerHeader{};

  resetSmoothModel(current);
  current.modelOnData = kFalse;
  return true;
}

}  // namespace zeva::core
