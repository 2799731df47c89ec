#pragma once
// Where the stations of a survey lie along its profile: the distance of each
// from the first station, measured along the straight line through the first
// and the last (the end stations, in survey order). Stations off the line
// count by their projection onto it. Without locations (a station without
// east or north, or every station at the same place, as soundings made
// without one are) the stations follow in survey order at unit spacing.

#include <optional>
#include <vector>

namespace zeva::cli {

struct StationLocation {
  std::optional<float> east, north;
};

std::vector<float> profileDistances(const std::vector<StationLocation>& stations);

}  // namespace zeva::cli
