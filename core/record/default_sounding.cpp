#include <algorithm>
#include <array>

#include "core/record/current_sounding.h"
#include "core/record/data_type.h"

namespace zeva::core {

namespace {

// AB/2 and MN of the default sounding (the second column holds the full
// potential-electrode separation, which the forward model halves): five
// segments, each new segment repeating the last spacing of the one before at
// a larger MN.
constexpr std::array<float, 22> kHalfSpacing{4,  5,   7,   10,  10,  15,  20,  30,  40,  40,  50,
                                             70, 100, 150, 200, 200, 300, 400, 500, 500, 700, 909};
constexpr std::array<float, 22> kPotentialSpacing{
    0.8f, 0.8f, 0.8f, 0.8f, 1.5f,  1.5f,  1.5f,  1.5f,  1.5f,  7.6f,  7.6f,
    7.6f, 7.6f, 7.6f, 7.6f, 30.3f, 30.3f, 30.3f, 30.3f, 90.9f, 90.9f, 90.9f};
constexpr std::array<float, 22> kApparentResistivity{
    159.9f, 84.5f, 68.5f, 61.6f, 58.0f, 74.4f, 73.2f, 98.7f, 100.5f, 81.9f, 85.6f,
    89.0f,  94.1f, 69.7f, 49.6f, 48.7f, 36.7f, 26.2f, 20.9f, 25.4f,  27.6f, 37.0f};
constexpr std::array<float, 22> kVoltage{72.0f,  26.0f,  10.0f, 4.4f,  7.8f,  3.8f, 1.75f, 1.1f,
                                         0.6f,   2.5f,   3.25f, 2.6f,  1.14f, 0.3f, 0.15f, 0.59f,
                                         0.205f, 0.095f, 0.05f, 0.12f, 0.11f, 0.09f};
constexpr std::array<float, 22> kCurrent{28, 30, 28, 28, 28, 24, 20, 21, 20, 20,  39,
                                         59, 50, 40, 50, 50, 52, 60, 62, 61, 101, 104};
constexpr std::array<float, 6> kThickness{1.0f, 3.5f, 5.0f, 10.0f, 75.0f, 200.0f};
constexpr int kLayers = 7;
constexpr float kResistivity = 15.0f;

}  // namespace

void resetSmoothModel(CurrentSounding& current) {
  Sounding& SM = current.SM;
  SM.layer = current.S.layer;
  SM.model = ModelHeader{};
  SM.model.NPK = 1;
  SM.model.NPAR = 0;
  SM.model.LROUGH = kTrue;  // Occam's inversion until the user chooses ridge regression
  SM.allocateModelForStoredCounts();
  current.S.shareDataWith(SM);
}

void resetToDefault(CurrentSounding& current) {
  Sounding& S = current.S;
  S.freeArrays();
  S.layer = LayerHeader{};
  S.layer.saved = kTrue;
  S.header = DataHeader{};
  S.header.name.assign("Default Data");
  S.header.dataType.assign(type::kSchlumberger);
  S.header.NDATA = static_cast<int>(kHalfSpacing.size());
  S.header.NCOMP = 1;
  S.header.NGEOM = 2;
  S.header.NSETS = 1;
  S.header.voltageAndCurrent = kTrue;
  S.header.maskingOn = kTrue;
  S.header.resistivityUnit.assign("(ohm-m)");
  S.header.lengthUnit.assign("(meters)");
  S.allocateData();

  SoundingData& d = S.data();
  std::ranges::copy(kHalfSpacing, d.TIME.column(0).begin());
  std::ranges::copy(kPotentialSpacing, d.TIME.column(1).begin());
  std::ranges::copy(kApparentResistivity, d.VOLTS.column(0).begin());
  std::ranges::copy(kVoltage, d.VOLTS.column(1).begin());
  std::ranges::copy(kCurrent, d.VOLTS.column(2).begin());
  d.LOGDAT[0] = kTrue;
  d.NSET[0] = S.header.NDATA;

  S.model = ModelHeader{};
  S.model.NLAYER = kLayers;
  S.model.NPK = 1;
  S.allocateModel();
  std::fill_n(S.M.PAR.begin(), kLayers, kResistivity);
  std::ranges::copy(kThickness, S.M.PAR.begin() + kLayers);

  resetSmoothModel(current);
}

}  // namespace zeva::core
