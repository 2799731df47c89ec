#include "forward/resistivity_transform.h"

#include <cmath>
#include <cstddef>

namespace zeva::forward {

namespace {

constexpr float kReplacementValue = 10.0f;
constexpr float kExponentLimit = 21.0f;

bool depthsIncrease(const std::vector<float>& PAR, std::size_t first, int count) {
  for (int j = 0; j + 1 < count; ++j)
    if (PAR[first + j] >= PAR[first + j + 1]) return false;
  return true;
}

}  // namespace

EarthStatus prepareLayeredEarth(core::Sounding& S, LayeredEarth& earth) {
  earth.resistivity.clear();
  earth.thickness.clear();
  const int nlayer = S.model.NLAYER;
  const int npk = S.model.NPK;
  if (nlayer < 1 || npk < 1) return EarthStatus::NoModel;
  const auto geometry = static_cast<std::size_t>(nlayer) * static_cast<std::size_t>(npk);
  const auto boundaries = static_cast<std::size_t>(nlayer - 1);
  std::vector<float>& PAR = S.M.PAR;
  if (PAR.size() < geometry + boundaries) return EarthStatus::NoModel;

  const bool depths = core::isSet(S.model.depths);
  if (depths && nlayer >= 3 && !depthsIncrease(PAR, geometry, nlayer - 1))
    return EarthStatus::DepthsRefused;

  for (int j = 0; j < nlayer; ++j)
    if (PAR[j] <= 0.0f) PAR[j] = kReplacementValue;
  for (std::size_t j = 0; j < boundaries; ++j)
    if (PAR[geometry + j] <= 0.0f) PAR[geometry + j] = kReplacementValue;
  // A depth replaced above may now lie below the next one; such a model has
  // no layer sequence either.
  if (depths && nlayer >= 3 && !depthsIncrease(PAR, geometry, nlayer - 1))
    return EarthStatus::DepthsRefused;

  earth.resistivity.assign(PAR.begin(), PAR.begin() + nlayer);
  earth.thickness.resize(boundaries);
  for (std::size_t j = 0; j < boundaries; ++j)
    earth.thickness[j] =
        depths && j > 0 ? PAR[geometry + j] - PAR[geometry + j - 1] : PAR[geometry + j];
  return EarthStatus::Ready;
}

float resistivityTransform(const LayeredEarth& earth, float lambda) {
  const std::size_t n = earth.resistivity.size();
  float T = earth.resistivity[n - 1];
  for (std::size_t j = n - 1; j-- > 0;) {
    const float rho = earth.resistivity[j];
    const float k = (rho - T) / (rho + T);
    const float u = -2.0f * lambda * earth.thickness[j];
    float f;
    if (u <= -kExponentLimit) {
      f = 1.0f;
    } else if (u > kExponentLimit) {
      f = -1.0f;
    } else {
      const float e = std::exp(u);
      f = (1.0f - k * e) / (1.0f + k * e);
    }
    T = rho * f;
  }
  return T;
}

}  // namespace zeva::forward
