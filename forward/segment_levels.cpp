#include "forward/segment_levels.h"

#include <algorithm>

#include "core/record/data_type.h"

namespace zeva::forward {

int segmentReadingCount(const core::Sounding& S) {
  const auto& d = S.data();
  if (d.TIME.cols() < 1 || d.VOLTS.cols() < 1) return 0;
  const std::size_t rows = std::min(d.TIME.rows(), d.VOLTS.rows());
  return static_cast<int>(
      std::min<std::size_t>(rows, static_cast<std::size_t>(std::max(0, S.NDATA()))));
}

void applySegmentLevelsToSynthetics(core::Sounding& S, bool cumulative) {
  const auto& d = S.data();
  const int nshift = std::min<int>(S.header.NSHIFT, static_cast<int>(d.shiftBreak.size()));
  if (nshift < 1 || !core::traitsOf(S.header.dataType).potentialSpacing) return;
  const int n = segmentReadingCount(S);
  if (S.SVOLT.cols() < 1 || static_cast<int>(S.SVOLT.rows()) < n) return;

  float P = 1.0f;
  for (int s = 0; s < nshift; ++s) {
    const float factor = d.shiftFactor[s];
    const int last = std::min(d.shiftBreak[s], n);
    for (int i = 0; i < last; ++i) S.SVOLT(static_cast<std::size_t>(i), 0) *= factor;
    if (cumulative) P *= factor;
  }
  if (cumulative)
    for (int i = 0; i < n; ++i) S.SVOLT(static_cast<std::size_t>(i), 0) /= P;
}

}  // namespace zeva::forward
