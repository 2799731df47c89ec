#include "cli/profile_distances.h"

#include <algorithm>
#include <cmath>

namespace zeva::cli {

namespace {

std::vector<float> surveyOrder(std::size_t count) {
  std::vector<float> distances(count);
  for (std::size_t k = 0; k < count; ++k) distances[k] = static_cast<float>(k);
  return distances;
}

}  // namespace

std::vector<float> profileDistances(const std::vector<StationLocation>& stations) {
  const auto located = [](const StationLocation& s) {
    return s.east && s.north && std::isfinite(*s.east) && std::isfinite(*s.north);
  };
  if (stations.size() < 2 || !std::ranges::all_of(stations, located))
    return surveyOrder(stations.size());
  const auto east = [](const StationLocation& s) { return static_cast<double>(*s.east); };
  const auto north = [](const StationLocation& s) { return static_cast<double>(*s.north); };
  const double e0 = east(stations.front()), n0 = north(stations.front());
  const double de = east(stations.back()) - e0, dn = north(stations.back()) - n0;
  const double length = std::hypot(de, dn);
  if (!(length > 0.0)) return surveyOrder(stations.size());
  std::vector<float> distances;
  for (const StationLocation& s : stations)
    distances.push_back(static_cast<float>(((east(s) - e0) * de + (north(s) - n0) * dn) / length));
  return distances;
}

}  // namespace zeva::cli
