#include "forward/lateral_roughness.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zeva::forward {

LayeredColumn layeredColumnOf(const core::Sounding& S) {
  LayeredColumn column;
  const int nl = S.NLAYER();
  if (nl < 1 || S.M.PAR.size() < S.geometryIndex(nl - 1)) return column;
  column.resistivity.assign(S.M.PAR.begin(), S.M.PAR.begin() + nl);
  float depth = 0.0f;
  for (int j = 0; j + 1 < nl; ++j) {
    const float value = S.M.PAR[S.geometryIndex(j)];
    depth = core::isSet(S.model.depths) ? value : depth + value;
    column.bottomDepth.push_back(depth);
  }
  return column;
}

float log10ResistivityAt(const LayeredColumn& column, float z) {
  std::size_t layer = 0;
  while (layer < column.bottomDepth.size() && column.bottomDepth[layer] <= z) ++layer;
  return std::log10(std::max(column.resistivity[layer], std::numeric_limits<float>::min()));
}

std::vector<float> logDepthGrid(float top, float bottom, int count) {
  std::vector<float> depths;
  if (count < 1 || !(top > 0.0f) || !(bottom > 0.0f)) return depths;
  const float first = std::log10(top), last = std::log10(bottom);
  for (int k = 0; k < count; ++k) {
    const float t = count == 1 ? 0.0f : static_cast<float>(k) / static_cast<float>(count - 1);
    depths.push_back(std::pow(10.0f, first + t * (last - first)));
  }
  return depths;
}

std::vector<float> roughnessDepthGrid(std::span<const LayeredColumn> columns) {
  float shallowest = std::numeric_limits<float>::max(), deepest = 0.0f;
  for (const LayeredColumn& column : columns) {
    for (float z : column.bottomDepth) {
      if (!(z > 0.0f) || !std::isfinite(z)) continue;
      shallowest = std::min(shallowest, z);
      deepest = std::max(deepest, z);
    }
  }
  if (deepest <= 0.0f) return {};
  return logDepthGrid(shallowest / 2.0f, deepest * 2.0f, 50);
}

float lateralRoughness(std::span<const LayeredColumn> columns, std::span<const float> depths) {
  double sum = 0.0;
  std::size_t terms = 0;
  for (std::size_t k = 0; k + 1 < columns.size(); ++k) {
    if (columns[k].resistivity.empty() || columns[k + 1].resistivity.empty()) continue;
    for (float z : depths) {
      const double d = static_cast<double>(log10ResistivityAt(columns[k], z)) -
                       static_cast<double>(log10ResistivityAt(columns[k + 1], z));
      sum += d * d;
      ++terms;
    }
  }
  return terms == 0 ? 0.0f : static_cast<float>(std::sqrt(sum / static_cast<double>(terms)));
}

}  // namespace zeva::forward
