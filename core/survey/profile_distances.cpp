#include "core/survey/profile_distances.h"

#include <algorithm>
#include <cmath>

namespace zeva::core {

std::vector<float> profileDistances(const std::vector<SurveyStation>& stations) {
  std::vector<float> distances(stations.size());
  const bool located = std::ranges::all_of(stations, [](const SurveyStation& s) {
    return s.east && s.north && std::isfinite(*s.east) && std::isfinite(*s.north);
  });
  if (located && stations.size() >= 2) {
    // In double: survey coordinates (UTM) carry more digits than a float.
    const auto east = [&](std::size_t i) { return static_cast<double>(*stations[i].east); };
    const auto north = [&](std::size_t i) { return static_cast<double>(*stations[i].north); };
    const std::size_t last = stations.size() - 1;
    const double de = east(last) - east(0), dn = north(last) - north(0);
    const double length = std::hypot(de, dn);
    if (length > 0.0) {
      for (std::size_t i = 0; i < stations.size(); ++i)
        distances[i] =
            static_cast<float>(((east(i) - east(0)) * de + (north(i) - north(0)) * dn) / length);
      return distances;
    }
  }
  for (std::size_t i = 0; i < stations.size(); ++i) distances[i] = static_cast<float>(i);
  return distances;
}

}  // namespace zeva::core
